#include "playlistpanel.h"

#include "playlist/playlist.h"
#include "playlist/playlistdelegate.h"
#include "playlist/undohistory.h"

#include <QFontDatabase>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The panel's title when collapsed: the text turned to read from bottom to top.
class VerticalLabel final : public QWidget
{
public:
    explicit VerticalLabel(const QString &text, QWidget *parent = nullptr)
        : QWidget(parent)
        , m_text(text)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(boldFont());
        return QSize(metrics.height() + 8, metrics.horizontalAdvance(m_text) + 16);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(boldFont());
        painter.setPen(QColor(QStringLiteral("#FF9C45")));
        painter.translate(0, height());
        painter.rotate(-90);
        painter.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, m_text);
    }

private:
    static QFont boldFont()
    {
        // The desktop's own font, as the collapsed panel's title has always been drawn.
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setWeight(QFont::Bold);
        return font;
    }

    QString m_text;
};

QPushButton *textButton(const QString &objectName, const QString &text, const QString &toolTip = QString())
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    return button;
}

} // namespace

PlaylistPanel::PlaylistPanel(Playlist *playlist, UndoHistory *history, const IconButtonFactory &iconButton,
                             QWidget *parent)
    : QWidget(parent)
    , m_playlist(playlist)
    , m_history(history)
{
    setObjectName(QStringLiteral("playlistPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto *header = new QHBoxLayout;
    m_toggle = new QToolButton;
    m_toggle->setObjectName(QStringLiteral("playlistToggle"));
    m_toggle->setAutoRaise(true);
    m_toggle->setFocusPolicy(Qt::NoFocus);
    m_toggle->setArrowType(Qt::LeftArrow);
    connect(m_toggle, &QToolButton::clicked, this, [this] { setCollapsed(!m_collapsed, true); });
    m_title = new QLabel(tr("PLAYLIST"));
    m_title->setObjectName(QStringLiteral("playlistTitle"));
    header->addWidget(m_toggle);
    header->addWidget(m_title);
    header->addStretch();
    layout->addLayout(header);

    m_verticalTitle = new VerticalLabel(tr("PLAYLIST"));
    m_verticalTitle->setObjectName(QStringLiteral("playlistVerticalTitle"));
    layout->addWidget(m_verticalTitle, 0, Qt::AlignHCenter);

    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("playlistBody"));
    auto *body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    auto *files = new QHBoxLayout;
    files->addWidget(commandButton(iconButton(IconKind::OpenPlaylist, QStringLiteral("playlistOpenFile"), tr("Open playlist...")),
                                   Command::OpenFile));
    files->addWidget(commandButton(iconButton(IconKind::SavePlaylist, QStringLiteral("playlistSaveFile"), tr("Save playlist...")),
                                   Command::SaveFile));
    files->addWidget(commandButton(iconButton(IconKind::ExportPackage, QStringLiteral("playlistExport"), tr("Export with PDFs...")),
                                   Command::Export));
    files->addWidget(commandButton(iconButton(IconKind::ImportPackage, QStringLiteral("playlistImport"), tr("Import package...")),
                                   Command::Import));
    files->addStretch();
    m_back = commandButton(iconButton(IconKind::Back, QStringLiteral("playlistBack"), tr("Back")), Command::Back);
    files->addWidget(m_back);
    body->addLayout(files);
    body->addWidget(commandButton(textButton(QStringLiteral("playlistAdd"), tr("+ Add PDFs...")), Command::Add));
    auto *edits = new QHBoxLayout;
    edits->addWidget(commandButton(textButton(QStringLiteral("playlistUp"), QString(QChar(0x25B2)), tr("Move up")),
                                   Command::MoveUp));
    edits->addWidget(commandButton(
        textButton(QStringLiteral("playlistDown"), QString(QChar(0x25BC)), tr("Move down")), Command::MoveDown));
    edits->addWidget(commandButton(textButton(QStringLiteral("playlistRemove"), tr("Remove")), Command::Remove));
    edits->addWidget(commandButton(textButton(QStringLiteral("playlistClear"), tr("Clear")), Command::Clear));
    body->addLayout(edits);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("playlistList"));
    m_delegate = new PlaylistDelegate(m_list);
    // Posted, so the dialog does not run inside the list's mouse handling.
    m_delegate->setChipClicked([this](int row) {
        QTimer::singleShot(0, this, [this, row] { openFileCountdownDialog(row); });
    });
    m_list->setItemDelegate(m_delegate);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    body->addWidget(m_list, 1);
    layout->addWidget(m_body, 1);
    layout->addStretch(0);

    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Q_EMIT entryActivated(m_list->currentRow()); });
    connect(m_list->model(), &QAbstractItemModel::rowsAboutToBeMoved, this,
            [this] { m_rowBeforeMove = m_list->currentRow(); });
    // The list finishes its own bookkeeping of the move first.
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this,
            [this] { QTimer::singleShot(0, this, [this] { Q_EMIT reorderRequested(); }); });
    connect(m_playlist, &Playlist::changed, this, &PlaylistPanel::refresh);
    connect(m_history, &UndoHistory::changed, this, &PlaylistPanel::refreshBackButton);
    refreshBackButton();

    // The window is not shown yet, so the strip applies at once.
    setCollapsed(true, true);
}

QPushButton *PlaylistPanel::commandButton(QPushButton *button, Command command)
{
    connect(button, &QPushButton::clicked, this, [this, command] { Q_EMIT commandRequested(command); });
    return button;
}

void PlaylistPanel::refreshBackButton()
{
    m_back->setEnabled(!m_history->isEmpty());
    m_back->setToolTip(m_history->backToolTip());
}

int PlaylistPanel::selectedRow() const
{
    return m_list->currentRow();
}

void PlaylistPanel::selectRow(int row)
{
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
    else
        m_list->setCurrentItem(nullptr);
}

QStringList PlaylistPanel::rowPaths() const
{
    QStringList paths;
    for (int row = 0; row < m_list->count(); ++row)
        paths << m_list->item(row)->data(Qt::UserRole).toString();
    return paths;
}

void PlaylistPanel::refresh()
{
    const int row = m_list->currentRow();
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const QStringList &files = m_playlist->files();
    const QString marker = QString(QChar(0x25B6)) + QLatin1Char(' ');
    for (int i = 0; i < files.size(); ++i) {
        const QString &path = files.at(i);
        const bool current = i == m_playlist->currentIndex();
        const bool missing = !QFileInfo(path).isFile();
        const QString text = (current ? marker : QString()) + QString::number(i + 1) + QStringLiteral(". ")
                             + QFileInfo(path).fileName() + (missing ? tr("  (missing)") : QString());
        auto *item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, path);
        const int minutes = m_playlist->minutesFor(path);
        const int shown = m_playlist->shownSeconds(path);
        // Once a talk was shown, the time it really took, against its countdown.
        const auto clock = [](int seconds) {
            return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
        };
        if (shown >= 0)
            item->setData(PlaylistDelegate::ChipRole, minutes > 0 ? clock(shown) + QStringLiteral(" / ") + clock(minutes * 60)
                                                                  : clock(shown));
        else if (minutes > 0)
            item->setData(PlaylistDelegate::ChipRole,
                          QString(QChar(0x23F1) + QLatin1Char(' ') + tr("%1 min").arg(minutes)));
        item->setData(PlaylistDelegate::OverRole, minutes > 0 && shown > minutes * 60);
        if (const int end = m_playlist->endPageFor(path); end > 0)
            item->setText(text + tr("  (ends at page %1)").arg(end));
        item->setToolTip(path);
        if (missing)
            item->setForeground(QColor(QStringLiteral("#FF6B6B")));
        else if (current)
            item->setForeground(QColor(QStringLiteral("#FF9C45")));
        if (current) {
            QFont font = item->font();
            font.setWeight(QFont::Bold);
            item->setFont(font);
        }
    }
    selectRow(row);
}
