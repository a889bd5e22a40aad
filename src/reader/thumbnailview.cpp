#include "thumbnailview.h"

#include "reader/thumbnaildelegate.h"
#include "reader/thumbnailmodel.h"

#include <QPropertyAnimation>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

ThumbnailView::ThumbnailView(ThumbnailModel *model, int mode, QWidget *parent)
    : QListView(parent)
    , m_model(model)
    , m_delegate(new ThumbnailDelegate(this))
    , m_mode(mode == Strip || mode == Grid ? mode : List)
{
    setModel(model);
    setItemDelegate(m_delegate);
    setViewMode(QListView::ListMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Fixed);
    setWrapping(false);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Selecting the reader's page must not jump the list there: revealPage animates it.
    setAutoScroll(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The cells take their size from the viewport, so the scroll bar along the strip is always
    // shown: one that came and went with the content would change the viewport, the cells and
    // the content again, without end.
    if (m_mode == Grid) {
        setViewMode(QListView::IconMode);
        setFlow(QListView::LeftToRight);
        setWrapping(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else if (m_mode == Strip) {
        setFlow(QListView::LeftToRight);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        setFlow(QListView::TopToBottom);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }

    m_revealAnimation = new QPropertyAnimation(stripScrollBar(), "value", this);
    m_revealAnimation->setDuration(300);
    m_revealAnimation->setEasingCurve(QEasingCurve::OutCubic);

    connect(model, &QAbstractItemModel::modelReset, this, &ThumbnailView::fitCells);
}

ThumbnailView::~ThumbnailView() = default;

QScrollBar *ThumbnailView::stripScrollBar() const
{
    return m_mode == Strip ? horizontalScrollBar() : verticalScrollBar();
}

void ThumbnailView::fitCells()
{
    const QSize port = viewport()->size();
    if (port.isEmpty() || !isVisible())
        return;
    const double aspect = m_model->pageAspect();
    int w = 0;
    int h = 0;
    QSize cell;
    if (m_mode == Grid) {
        // Columns of about 220 pixels; its pictures come at the size the strip asked for,
        // so opening the grid of a long document renders nothing again.
        const int columns = std::max(2, port.width() / 220);
        w = std::max(port.width() / columns - 14, 40);
        h = std::max(int(w / aspect), 24);
        cell = QSize(port.width() / columns, h + 36);
    } else if (m_mode == List) {
        w = std::max(port.width() - 14, 40);
        h = std::max(int(w / aspect), 24);
        cell = QSize(port.width(), h + 36);
    } else {
        h = std::max(port.height() - 36, 30);
        w = std::max(int(h * aspect), 30);
        cell = QSize(w + 14, port.height());
    }
    if (cell != m_delegate->cellSize()) {
        m_delegate->setCellSize(cell);
        setGridSize(cell);
        scheduleDelayedItemsLayout();
    }
    const double ratio = devicePixelRatioF();
    if (m_mode != Grid)
        m_model->setViewSize(this, QSize(int(std::lround(w * ratio)), int(std::lround(h * ratio))));
}

void ThumbnailView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    fitCells();
}

void ThumbnailView::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    QTimer::singleShot(0, this, &ThumbnailView::fitCells);
}

void ThumbnailView::hideEvent(QHideEvent *event)
{
    QListView::hideEvent(event);
    // A hidden view no longer needs thumbnails at its size.
    m_model->setViewSize(this, QSize());
}

void ThumbnailView::revealPage(int page, bool centred)
{
    if (page < 0 || page >= m_model->rowCount())
        return;
    m_revealPage = page;
    m_revealCentred = centred;
    revealStep(page, centred);
    // Again once a pending item layout has settled.
    QTimer::singleShot(0, this, [this, page, centred] { revealStep(page, centred); });
    QTimer::singleShot(120, this, [this, page, centred] { revealStep(page, centred); });
}

void ThumbnailView::revealStep(int page, bool centred)
{
    if (page != m_revealPage || centred != m_revealCentred || page >= m_model->rowCount())
        return;
    executeDelayedItemsLayout();
    QScrollBar *bar = stripScrollBar();
    const int from = bar->value();
    scrollTo(m_model->index(page), centred ? QAbstractItemView::PositionAtCenter : QAbstractItemView::EnsureVisible);
    const int to = bar->value();
    bar->setValue(from);
    if (to == from)
        return;
    if (isVisible() && bar->maximum() > 0) {
        if (m_revealAnimation->state() == QAbstractAnimation::Running && m_revealAnimation->endValue().toInt() == to)
            return;
        m_revealAnimation->stop();
        m_revealAnimation->setStartValue(from);
        m_revealAnimation->setEndValue(to);
        m_revealAnimation->start();
        return;
    }
    bar->setValue(to);
}

void ThumbnailView::wheelEvent(QWheelEvent *event)
{
    m_revealAnimation->stop();
    const QPoint angle = event->angleDelta();
    if (m_mode == Strip && angle.y() != 0 && angle.x() == 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - angle.y());
        event->accept();
        return;
    }
    QListView::wheelEvent(event);
}
