#include "playlist/playlistfile.h"

#include "playlist/playlistfile_p.h"
#include "storage/safesave.h"

#include "base/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const auto FormatKey = "format"_L1;
const auto FormatName = "OlvantiPlaylist"_L1;

} // namespace

int PlaylistFileDetail::minutesFromJson(const QJsonValue &value)
{
    if (!value.isDouble())
        return 0;
    const double minutes = value.toDouble();
    if (minutes != std::trunc(minutes) || minutes <= 0)
        return 0;
    return minutes >= Limits::MaxEntryMinutes ? Limits::MaxEntryMinutes : int(minutes);
}

int PlaylistFileDetail::endPageFromJson(const QJsonValue &value)
{
    const double page = value.isDouble() ? value.toDouble() : 0;
    return page >= 1 && page <= std::numeric_limits<int>::max() && page == std::trunc(page) ? int(page) : 0;
}

PlaylistFileDetail::CopyResult PlaylistFileDetail::copyChunks(QIODevice &from, SafeSave &to, qint64 count,
                                                              const std::function<bool(qint64)> &advance)
{
    QByteArray buffer;
    while (count > 0) {
        buffer.resize(qMin(count, ChunkSize));
        const qint64 got = from.read(buffer.data(), buffer.size());
        if (got <= 0)
            return CopyResult::SourceEnded;
        if (!to.write(buffer.constData(), got))
            return CopyResult::WriteFailed;
        count -= got;
        if (advance && !advance(got))
            return CopyResult::Cancelled;
    }
    return CopyResult::Done;
}

QString PlaylistFile::writeJsonPlaylist(const QString &filePath, const QList<PlaylistEntry> &entries)
{
    const QDir base(QFileInfo(filePath).absolutePath());
    QJsonArray items;
    for (const PlaylistEntry &entry : entries) {
        QJsonObject item{{u"path"_s, entry.path}, {u"relative"_s, base.relativeFilePath(entry.path)}};
        if (entry.minutes > 0)
            item.insert(u"minutes"_s, qMin(entry.minutes, int(Limits::MaxEntryMinutes)));
        if (entry.endPage > 0)
            item.insert(u"endPage"_s, entry.endPage);
        items.append(item);
    }
    const QJsonObject top{{FormatKey, FormatName}, {u"version"_s, 1}, {u"items"_s, items}};

    // Indented while the reader takes it; a longer list goes without the indentation, and one
    // the reader would refuse even so is not written at all.
    QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
    if (bytes.size() > PlaylistFileDetail::MaxJsonBytes)
        bytes = QJsonDocument(top).toJson(QJsonDocument::Compact);
    if (bytes.size() > PlaylistFileDetail::MaxJsonBytes)
        return tr("The playlist is too long for a playlist file: %1 MiB at most.")
            .arg(PlaylistFileDetail::MaxJsonBytes / (1024 * 1024));
    const QString reason = SafeSave::save(filePath, bytes);
    if (reason.isEmpty())
        return {};
    qCWarning(lcPlaylist) << "cannot save playlist file" << filePath << reason;
    return tr("The playlist file could not be written: %1").arg(reason);
}

QString PlaylistFile::cancelledText()
{
    return tr("Cancelled.");
}

QString PlaylistFile::readJsonPlaylist(const QString &filePath, QList<PlaylistEntry> &entries, const Progress &progress)
{
    entries.clear();
    QFile file;
    if (QString reason; !RegularFile::open(file, filePath, &reason))
        return tr("The playlist file could not be read: %1").arg(reason);
    // A longer file is cut here and then fails to parse, which is the intended refusal.
    const QByteArray data = file.read(PlaylistFileDetail::MaxJsonBytes);

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    const QJsonObject top = document.object();
    if (parseError.error != QJsonParseError::NoError || !document.isObject()
        || top.value(FormatKey).toString() != FormatName) {
        qCInfo(lcPlaylist) << "not a playlist file" << filePath << parseError.errorString();
        return tr("This is not an Olvanti playlist file.");
    }

    const QDir base(QFileInfo(filePath).absolutePath());
    const QJsonArray items = top.value(u"items"_s).toArray();
    const qint64 count = items.size();
    for (qint64 n = 0; n < count; ++n) {
        // Each entry costs a look at the disk; a long list is told about and can stop.
        if (progress && n % 256 == 0 && !progress(n, count)) {
            entries.clear();
            return cancelledText();
        }
        const QJsonObject item = items.at(n).toObject();
        QString path = item.value(u"path"_s).toString();
        const QString relative = item.value(u"relative"_s).toString();
        // A hand-written relative path means the playlist's folder, not wherever the program
        // was started.
        if (!path.isEmpty() && QDir::isRelativePath(path) && !path.contains(QChar::Null))
            path = QDir::cleanPath(base.absoluteFilePath(path));
        if (!QFileInfo(path).isFile() && !relative.isEmpty()) {
            // The relative form carries ".." segments; clean them so the same file always has
            // the same path in the playlist.
            const QString moved = QDir::cleanPath(base.absoluteFilePath(relative));
            if (QFileInfo(moved).isFile())
                path = moved;
        }
        // A NUL cannot be part of any file name, and the file system layer leaves such a path
        // as it is, relative or not.
        if (path.isEmpty() || path.contains(QChar::Null))
            continue;
        entries.append({QFileInfo(path).absoluteFilePath(), PlaylistFileDetail::minutesFromJson(item.value(u"minutes"_s)),
                        PlaylistFileDetail::endPageFromJson(item.value(u"endPage"_s))});
    }
    return {};
}

QString PlaylistFileDetail::safeName(const QString &text, const QString &fallback)
{
    QString name = QFileInfo(text).fileName();
    for (QChar &c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 32)
            c = u'_';
    }
    if (name.isEmpty() || name == "."_L1 || name == ".."_L1)
        return fallback;
    return name;
}

QString PlaylistFileDetail::truncatedUtf8(const QString &text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        used += QStringView(text).mid(end, length).toUtf8().size();
        if (used > bytes)
            break;
        end += length;
    }
    return text.left(end);
}

QString PlaylistFileDetail::fitFileName(const QString &prefix, const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString suffix = dot > 0 && name.size() - dot <= 16 ? name.mid(dot) : QString();
    const qsizetype room = MaxNameBytes - prefix.toUtf8().size() - suffix.toUtf8().size();
    return prefix + truncatedUtf8(name.chopped(suffix.size()), room) + suffix;
}

QString PlaylistFile::safeEntryName(const QString &storedName)
{
    return PlaylistFileDetail::safeName(storedName, u"document.pdf"_s);
}
