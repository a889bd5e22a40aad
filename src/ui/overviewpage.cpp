#include "ui/overviewpage.h"

#include "playlist/playlist.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"
#include "show/show.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

OverviewPage::OverviewPage(ThumbnailModel *thumbnails, Show *show, Playlist *playlist, QWidget *parent)
    : QWidget(parent)
    , m_show(show)
    , m_playlist(playlist)
    , m_title(new QLabel(this))
    , m_grid(new ThumbnailView(thumbnails, ThumbnailView::Grid, this))
    , m_talks(new QListWidget(this))
{
    setObjectName(QStringLiteral("overview"));
    // The input router leaves arrows, Enter and Escape to it, as to a dialog.
    setProperty("keepsChooserKeys", true);
    m_title->setObjectName(QStringLiteral("overviewTitle"));
    m_grid->setObjectName(QStringLiteral("overviewGrid"));
    m_talks->setObjectName(QStringLiteral("overviewTalks"));
    m_talks->setMaximumWidth(260);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    auto *row = new QHBoxLayout;
    row->addWidget(m_talks);
    row->addWidget(m_grid, 1);
    layout->addLayout(row, 1);

    connect(m_grid, &QAbstractItemView::activated, this, [this](const QModelIndex &index) { choosePage(index.row()); });
    connect(m_talks, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { chooseTalk(m_talks->row(item)); });
}

void OverviewPage::start(int page)
{
    const QString document = m_show->documentPath();
    m_title->setText(tr("OVERVIEW  -  %1  -  Enter shows the page, Escape goes back")
                         .arg(QFileInfo(document).fileName().toHtmlEscaped()));
    m_talks->clear();
    const QStringList files = m_playlist->files();
    for (const QString &path : files)
        m_talks->addItem(QFileInfo(path).fileName());
    m_talks->setVisible(!files.isEmpty());
    m_talks->setCurrentRow(int(files.indexOf(document)));
    m_grid->setCurrentIndex(m_grid->model()->index(std::max(page, 0), 0));
    m_grid->revealPage(page, true);
    m_grid->setFocus();
}

void OverviewPage::keyPressEvent(QKeyEvent *event)
{
    // Enter reaches the lists' `activated`, which passes the key on here as well.
    if (event->key() == Qt::Key_Escape)
        Q_EMIT finished();
    else
        QWidget::keyPressEvent(event);
}

void OverviewPage::choosePage(int page)
{
    Q_EMIT finished();
    if (page >= 0)
        m_show->jumpTo(page);
}

void OverviewPage::chooseTalk(int row)
{
    Q_EMIT finished();
    if (row >= 0)
        m_show->jumpToEntry(row, 0);
}
