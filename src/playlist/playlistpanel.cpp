#include "playlistpanel.h"

#include "playlist/playlist.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

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

PlaylistPanel::PlaylistPanel(Playlist *playlist, const IconButtonFactory &iconButton, QWidget *parent)
    : QWidget(parent)
    , m_playlist(playlist)
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
    files->addWidget(iconButton(4, QStringLiteral("playlistOpenFile"), tr("Open playlist...")));
    files->addWidget(iconButton(5, QStringLiteral("playlistSaveFile"), tr("Save playlist...")));
    files->addWidget(iconButton(6, QStringLiteral("playlistExport"), tr("Export with PDFs...")));
    files->addWidget(iconButton(7, QStringLiteral("playlistImport"), tr("Import package...")));
    files->addStretch();
    files->addWidget(iconButton(8, QStringLiteral("playlistBack"), tr("Back")));
    body->addLayout(files);
    body->addWidget(textButton(QStringLiteral("playlistAdd"), tr("+ Add PDFs...")));
    auto *edits = new QHBoxLayout;
    edits->addWidget(textButton(QStringLiteral("playlistUp"), QString(QChar(0x25B2)), tr("Move up")));
    edits->addWidget(textButton(QStringLiteral("playlistDown"), QString(QChar(0x25BC)), tr("Move down")));
    edits->addWidget(textButton(QStringLiteral("playlistRemove"), tr("Remove")));
    edits->addWidget(textButton(QStringLiteral("playlistClear"), tr("Clear")));
    body->addLayout(edits);
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("playlistList"));
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    body->addWidget(m_list, 1);
    layout->addWidget(m_body, 1);
    layout->addStretch(0);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this] { Q_EMIT entryActivated(m_list->currentRow()); });
    connect(m_playlist, &Playlist::changed, this, &PlaylistPanel::refresh);

    setCollapsed(true, true);
}

void PlaylistPanel::setCollapsed(bool collapsed, bool animated)
{
    if (collapsed == m_collapsed && m_animation)
        return;
    const bool running = m_animation && m_animation->state() == QAbstractAnimation::Running;
    if (collapsed && !m_collapsed && !running)
        m_expandedWidth = std::max(180, width());
    m_collapsed = collapsed;
    m_toggle->setArrowType(collapsed ? Qt::RightArrow : Qt::LeftArrow);
    m_toggle->setToolTip(collapsed ? tr("Show PLAYLIST") : tr("Hide PLAYLIST"));

    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setDuration(200);
        m_animation->setEasingCurve(QEasingCurve::OutCubic);
        connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            const int w = value.toInt();
            setFixedWidth(w);
            setSplitterWidth(w);
        });
        connect(m_animation, &QVariantAnimation::finished, this, &PlaylistPanel::applyFinalState);
    }
    m_animation->stop();
    if (!animated || !window()->isVisible()) {
        applyFinalState();
        return;
    }
    m_body->show();
    m_title->show();
    m_verticalTitle->hide();
    m_body->setMinimumWidth(m_expandedWidth - 4);
    setFixedWidth(width());
    m_animation->setStartValue(width());
    m_animation->setEndValue(collapsed ? CollapsedWidth : m_expandedWidth);
    m_animation->start();
}

void PlaylistPanel::applyFinalState()
{
    m_body->setMinimumWidth(0);
    m_body->setVisible(!m_collapsed);
    m_title->setVisible(!m_collapsed);
    m_verticalTitle->setVisible(m_collapsed);
    if (m_collapsed) {
        setFixedWidth(CollapsedWidth);
    } else {
        setMinimumWidth(160);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
    setSplitterWidth(m_collapsed ? CollapsedWidth : m_expandedWidth);
    refresh();
}

void PlaylistPanel::setSplitterWidth(int width)
{
    auto *splitter = qobject_cast<QSplitter *>(parentWidget());
    if (!splitter || splitter->count() < 3 || splitter->widget(0) != this)
        return;
    QList<int> sizes = splitter->sizes();
    const int total = sizes.at(0) + sizes.at(2);
    sizes[0] = width;
    sizes[2] = std::max(1, total - width);
    splitter->setSizes(sizes);
}

void PlaylistPanel::refresh()
{
    const int row = m_list->currentRow();
    m_list->clear();
    const QStringList &files = m_playlist->files();
    for (int i = 0; i < files.size(); ++i) {
        const QString &path = files.at(i);
        const bool current = i == m_playlist->currentIndex();
        const bool missing = !QFileInfo(path).isFile();
        const QString text = QStringLiteral("%1%2. %3%4")
                                 .arg(current ? QString(QChar(0x25B6)) + QLatin1Char(' ') : QString())
                                 .arg(i + 1)
                                 .arg(QFileInfo(path).fileName(), missing ? tr("  (missing)") : QString());
        auto *item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, path);
        const int minutes = m_playlist->minutesFor(path);
        if (minutes > 0)
            item->setData(Qt::UserRole + 1, QString(QChar(0x23F1) + QLatin1Char(' ') + tr("%1 min").arg(minutes)));
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
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
}
