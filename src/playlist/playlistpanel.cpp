#include "playlistpanel.h"

#include "playlist/playlist.h"
#include "playlist/playlistdelegate.h"
#include "playlist/playlistmodel.h"
#include "playlist/undohistory.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
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
        // The application's font made bold: the same as the bold captions, so the window
        // loads no font of its own for it.
        QFont font = QApplication::font();
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

    m_model = new PlaylistModel(m_playlist, this);
    m_list = new QListView;
    m_list->setObjectName(QStringLiteral("playlistList"));
    m_list->setModel(m_model);
    // Every row is as high as the first: the view never measures a long playlist row by row.
    m_list->setUniformItemSizes(true);
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

    connect(m_list, &QListView::doubleClicked, this, [this] { Q_EMIT entryActivated(selectedRow()); });
    connect(m_model, &QAbstractItemModel::rowsAboutToBeMoved, this, [this] { m_rowBeforeMove = selectedRow(); });
    // The list finishes its own bookkeeping of the move first.
    connect(m_model, &QAbstractItemModel::rowsMoved, this,
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
    return m_list->currentIndex().row();
}

void PlaylistPanel::selectRow(int row)
{
    m_list->setCurrentIndex(m_model->index(row, 0));
}

QStringList PlaylistPanel::rowPaths() const
{
    return m_model->rowPaths();
}

void PlaylistPanel::refresh()
{
    const int row = selectedRow();
    m_model->reload();
    selectRow(row);
}
