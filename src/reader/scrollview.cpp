#include "scrollview.h"

#include "pdf/pdfservice.h"
#include "presentation/pagecanvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

ScrollView::ScrollView(PdfService *service, const QString &prefix, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_service(service)
    , m_prefix(prefix)
    , m_timer(new QTimer(this))
{
    // A frame would show as a border on the output display.
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(48);
    horizontalScrollBar()->setSingleStep(48);
    setFocusPolicy(Qt::StrongFocus);

    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(8);
    connect(m_timer, &QTimer::timeout, this, &ScrollView::animationTick);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ScrollView::onVerticalBarMoved);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        viewport()->update();
        Q_EMIT positionChanged();
    });
    // Never ask for pages of a document that is gone, whoever forgets to reset the view.
    connect(m_service, &PdfService::closed, this, &ScrollView::resetDocument);
    // Sizes of a long document arrive after it has loaded; the same pages stay in view.
    connect(m_service, &PdfService::pageSizesChanged, this, [this] { relayout(false); });
}

ScrollView::~ScrollView() = default;

QString ScrollView::channel(int page) const
{
    return QStringLiteral("%1:%2").arg(m_prefix).arg(page);
}

void ScrollView::resetDocument()
{
    cancelRequests();
    m_images.clear();
    m_highlights.clear();
    m_currentPage = 0;
    m_pendingPage = -1;
    m_hasPendingPosition = false;
    m_layout.clear();
    stopAnimation();
    m_position = 0.0;
    relayout(true);
}

void ScrollView::setViewMode(int mode, double zoom, int rotation, bool twoPages)
{
    if (mode == m_zoomMode && zoom == m_zoom && rotation == m_rotation && twoPages == m_twoPages)
        return;
    const bool spreadsChanged = twoPages != m_twoPages;
    m_zoomMode = mode;
    m_zoom = zoom;
    m_rotation = rotation;
    m_twoPages = twoPages;
    relayout(spreadsChanged);
}

void ScrollView::setGaps(int margin, int rowGap, int spreadGap)
{
    if (margin == m_margin && rowGap == m_rowGap && spreadGap == m_spreadGap)
        return;
    m_margin = margin;
    m_rowGap = rowGap;
    m_spreadGap = spreadGap;
    relayout(false);
}

void ScrollView::setMirrorMode(bool on)
{
    if (on == m_mirror)
        return;
    m_mirror = on;
    setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setFocusPolicy(on ? Qt::NoFocus : Qt::StrongFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents, on);
    relayout(false);
}

void ScrollView::setHighlights(const QList<SearchHit> &hits)
{
    m_highlights.clear();
    for (const SearchHit &hit : hits)
        m_highlights[hit.page].append(hit.rects);
    viewport()->update();
}

void ScrollView::setPageImage(int page, const QImage &image)
{
    // A reply for a page no longer wanted is not kept: at high zoom one page is tens of MB.
    if (!m_requested.contains(page))
        return;
    m_images.insert(page, image);
    const QRectF visible(horizontalScrollBar()->value(), m_position, viewport()->width(), viewport()->height());
    if (visible.intersects(QRectF(m_layout.pageRect(page))))
        viewport()->update();
}

void ScrollView::cancelRequests()
{
    for (auto it = m_requested.cbegin(); it != m_requested.cend(); ++it)
        m_service->cancel(channel(it.key()));
    m_requested.clear();
}

int ScrollView::verticalMaximum() const
{
    return verticalScrollBar()->maximum();
}

void ScrollView::relayout(bool keepCurrentPage)
{
    // Scroll bars appearing or vanishing resize the viewport from inside a layout; lay out
    // once more afterwards instead of nesting.
    if (m_inRelayout) {
        m_relayoutAgain = true;
        m_relayoutAgainKeeps = m_relayoutAgainKeeps || keepCurrentPage;
        return;
    }
    applyLayout(keepCurrentPage);
    for (int round = 0; round < 3 && m_relayoutAgain; ++round) {
        const bool keep = m_relayoutAgainKeeps;
        m_relayoutAgain = false;
        m_relayoutAgainKeeps = false;
        applyLayout(keep);
    }
    m_relayoutAgain = false;
    m_relayoutAgainKeeps = false;
}

void ScrollView::applyLayout(bool keepCurrentPage)
{
    const double fraction = m_layout.fractionAt(m_position);
    stopAnimation();

    QList<QSizeF> sizes;
    const int pages = m_service->pageCount();
    sizes.reserve(pages);
    for (int page = 0; page < pages; ++page)
        sizes.append(m_service->pageSize(page));
    ScrollLayoutOptions options;
    options.zoomMode = m_zoomMode;
    options.zoom = m_zoom;
    options.rotation = m_rotation;
    options.twoPages = m_twoPages;
    options.margin = m_margin;
    options.rowGap = m_rowGap;
    options.spreadGap = m_spreadGap;
    options.viewport = viewport()->size();
    m_layout.build(sizes, options);

    const QSize view = viewport()->size();
    {
        QScopedValueRollback<bool> programmatic(m_programmatic, true);
        verticalScrollBar()->setRange(0, std::max(m_layout.contentHeight() - view.height(), 0));
        verticalScrollBar()->setPageStep(view.height());
        horizontalScrollBar()->setRange(0, std::max(m_layout.contentWidth() - view.width(), 0));
        horizontalScrollBar()->setPageStep(view.width());
    }
    cancelRequests();

    {
        QScopedValueRollback<bool> inRelayout(m_inRelayout, true);
        double y = m_layout.positionOf(fraction);
        if (keepCurrentPage && m_currentPage >= 0 && m_currentPage < m_layout.pageCount())
            y = m_layout.rowStart(m_layout.rowOfPage(m_currentPage));
        setScrollPosition(y);
    }
    requestVisiblePages();
    viewport()->update();
    Q_EMIT layoutChanged();
}

void ScrollView::requestVisiblePages()
{
    if (m_layout.isEmpty() || !isVisible())
        return;
    const QList<ScrollRow> &rows = m_layout.rows();
    const int n = m_layout.pagesPerRow();
    const double bottom = m_position + viewport()->height();
    const int firstRow = m_layout.rowAt(m_position);
    int lastRow = firstRow;
    while (lastRow + 1 < rows.size() && rows.at(lastRow + 1).top < bottom)
        ++lastRow;
    const int firstVisible = rows.at(firstRow).firstPage;
    const int lastVisible = rows.at(lastRow).firstPage + rows.at(lastRow).count - 1;

    const double ratio = devicePixelRatioF();
    const int first = std::max(firstVisible - n, 0);
    const int last = std::min(m_layout.pageCount() - 1, lastVisible + n);
    for (int page = first; page <= last; ++page) {
        const QRect rect = m_layout.pageRect(page);
        const QSize wanted(int(std::lround(rect.width() * ratio)), int(std::lround(rect.height() * ratio)));
        const auto known = m_requested.constFind(page);
        if (known != m_requested.cend() && *known == wanted)
            continue;
        m_requested.insert(page, wanted);
        const bool visible = page >= firstVisible && page <= lastVisible;
        // The mirror is the audience's view: its pages come whole.
        m_service->render(channel(page), page, wanted, m_rotation,
                          visible ? RenderPriority::Reader : RenderPriority::ScrollAhead,
                          m_mirror ? RenderShape::Whole : RenderShape::Bands);
    }

    // Pages off the requested rows are let go at once, so memory stays bounded at any zoom and
    // document length; the service's cache has them should the reader come back.
    for (auto it = m_requested.begin(); it != m_requested.end();) {
        if (it.key() < first || it.key() > last) {
            m_service->cancel(channel(it.key()));
            it = m_requested.erase(it);
        } else {
            ++it;
        }
    }
    m_images.removeIf([first, last](const QHash<int, QImage>::iterator it) {
        return it.key() < first || it.key() > last;
    });
}

void ScrollView::updateCurrentPage()
{
    if (m_layout.isEmpty() || m_inRelayout || m_mirror)
        return;
    const QList<ScrollRow> &rows = m_layout.rows();
    const double bottom = m_position + viewport()->height();
    int best = m_layout.rowAt(m_position);
    double bestVisible = -1.0;
    for (int row = best; row < rows.size() && rows.at(row).top < bottom; ++row) {
        const ScrollRow &r = rows.at(row);
        const double visible = std::min(bottom, double(r.top + r.height)) - std::max(double(r.top), m_position);
        if (visible > bestVisible) {
            bestVisible = visible;
            best = row;
        }
    }
    setCurrentPage(m_layout.pagesPerRow() * best);
}

void ScrollView::setCurrentPage(int page)
{
    if (page == m_currentPage)
        return;
    m_currentPage = page;
    Q_EMIT currentPageChanged(page);
}

void ScrollView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_mirror ? QColor(Qt::black) : palette().color(QPalette::Window));
    if (m_layout.isEmpty())
        return;
    const double offset = (m_animating || m_following) ? m_position : std::round(m_position);
    painter.translate(-horizontalScrollBar()->value(), -offset);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QList<ScrollRow> &rows = m_layout.rows();
    const double bottom = offset + viewport()->height();
    for (int row = m_layout.rowAt(offset); row < rows.size() && rows.at(row).top < bottom; ++row) {
        const ScrollRow &r = rows.at(row);
        if (r.top + r.height < offset)
            continue;
        for (int page = r.firstPage; page < r.firstPage + r.count; ++page) {
            const QRect rect = m_layout.pageRect(page);
            const auto image = m_images.constFind(page);
            if (image == m_images.cend()) {
                painter.fillRect(rect, m_mirror ? Qt::black : Qt::white);
                continue;
            }
            painter.drawImage(QRectF(rect), *image);
            const auto marks = m_highlights.constFind(page);
            // A hit's rectangles are found once its page is shown.
            if (marks != m_highlights.cend() && marks->isEmpty())
                m_service->findHitRects(page);
            if (marks != m_highlights.cend())
                PageCanvas::drawHighlights(&painter, QRectF(rect), *marks, m_service->pageSize(page), m_rotation);
        }
    }
}

void ScrollView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout(false);
}

void ScrollView::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    relayout(false);
    if (m_pendingPage >= 0) {
        const int page = m_pendingPage;
        m_pendingPage = -1;
        if (isVisible() && !m_layout.isEmpty()) {
            // goToPage already announced the page while hidden; announce only a change.
            setCurrentPage(std::clamp(page, 0, m_layout.pageCount() - 1));
            stopAnimation();
            m_explicitPage = true;
            setScrollPosition(m_layout.rowStart(m_layout.rowOfPage(m_currentPage)));
        }
    }
    if (m_hasPendingPosition)
        setPosition(m_pendingPosition);
}

void ScrollView::hideEvent(QHideEvent *event)
{
    QAbstractScrollArea::hideEvent(event);
    if (m_animating) {
        const double goal = m_spring.target();
        stopAnimation();
        setScrollPosition(goal);
    }
    cancelRequests();
}
