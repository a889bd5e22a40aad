#include "playlist/playlistmodel.h"

#include "playlist/playlist.h"
#include "playlist/playlistdelegate.h"

#include <QColor>
#include <QFileInfo>
#include <QFont>

namespace {

QString clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PlaylistModel::PlaylistModel(Playlist *playlist, QObject *parent)
    : QAbstractListModel(parent)
    , m_playlist(playlist)
{
    reload();
}

void PlaylistModel::reload()
{
    beginResetModel();
    m_rows = m_playlist->files();
    m_missing.clear();
    endResetModel();
}

bool PlaylistModel::isMissing(const QString &path) const
{
    auto it = m_missing.constFind(path);
    if (it == m_missing.cend())
        it = m_missing.insert(path, !QFileInfo(path).isFile());
    return it.value();
}

int PlaylistModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QString PlaylistModel::text(int row, const QString &path, bool current) const
{
    QString text = (current ? QString(QChar(0x25B6)) + QLatin1Char(' ') : QString()) + QString::number(row + 1)
                   + QStringLiteral(". ") + QFileInfo(path).fileName();
    if (isMissing(path))
        text += tr("  (missing)");
    if (const int end = m_playlist->endPageFor(path); end > 0)
        text += tr("  (ends at page %1)").arg(end);
    return text;
}

QVariant PlaylistModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const QString &path = m_rows.at(row);
    // After a drag and before the playlist follows, the marks still belong to the files.
    const bool current = row == m_playlist->currentIndex() && m_playlist->files().value(row) == path;
    switch (role) {
    case Qt::DisplayRole:
        return text(row, path, current);
    case PathRole:
    case Qt::ToolTipRole:
        return path;
    case Qt::ForegroundRole:
        if (isMissing(path))
            return QColor(QStringLiteral("#FF6B6B"));
        return current ? QVariant(QColor(QStringLiteral("#FF9C45"))) : QVariant();
    case Qt::FontRole:
        if (current) {
            QFont font;
            font.setWeight(QFont::Bold);
            return font;
        }
        return {};
    case PlaylistDelegate::ChipRole: {
        // Once a talk was shown, the time it really took, against its countdown.
        const int minutes = m_playlist->minutesFor(path);
        const int shown = m_playlist->shownSeconds(path);
        if (shown >= 0)
            return minutes > 0 ? clock(shown) + QStringLiteral(" / ") + clock(minutes * 60) : clock(shown);
        if (minutes > 0)
            return QString(QChar(0x23F1) + QLatin1Char(' ') + tr("%1 min").arg(minutes));
        return {};
    }
    case PlaylistDelegate::OverRole: {
        const int minutes = m_playlist->minutesFor(path);
        return minutes > 0 && m_playlist->shownSeconds(path) > minutes * 60;
    }
    default:
        return {};
    }
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex &index) const
{
    // Rows are dropped between rows, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

Qt::DropActions PlaylistModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

bool PlaylistModel::moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                             const QModelIndex &destinationParent, int destinationChild)
{
    if (sourceParent.isValid() || destinationParent.isValid() || count < 1 || sourceRow < 0
        || sourceRow + count > m_rows.size() || destinationChild < 0 || destinationChild > m_rows.size()
        || (destinationChild >= sourceRow && destinationChild <= sourceRow + count))
        return false;
    if (!beginMoveRows(sourceParent, sourceRow, sourceRow + count - 1, destinationParent, destinationChild))
        return false;
    const QStringList moved = m_rows.mid(sourceRow, count);
    m_rows.remove(sourceRow, count);
    const int at = destinationChild > sourceRow ? destinationChild - count : destinationChild;
    for (int i = 0; i < count; ++i)
        m_rows.insert(at + i, moved.at(i));
    endMoveRows();
    return true;
}
