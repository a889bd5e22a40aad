#include "readercontrol.h"

#include "base/appsettings.h"
#include "pdf/pdfservice.h"
#include "presentation/logo.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/scrollview.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolBar>

#include <cmath>

namespace {

constexpr double MaxZoom = 8.0;
constexpr double MinZoom = 0.1;
constexpr double ZoomStep = 1.25;

QSize devicePixels(const QSize &logical, qreal ratio)
{
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

QList<QRectF> rectsOnPage(const QList<SearchHit> &hits, int page)
{
    QList<QRectF> rects;
    for (const SearchHit &hit : hits) {
        if (hit.page == page)
            rects += hit.rects;
    }
    return rects;
}

} // namespace

ReaderControl::ReaderControl(PdfService *service, Show *show, Presentation *presentation, ThumbnailModel *thumbnails,
                             AppSettings *settings, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_show(show)
    , m_presentation(presentation)
    , m_thumbnails(thumbnails)
    , m_settings(settings)
{
    m_show->setReader(this);
    connect(m_show, &Show::changed, this, &ReaderControl::onShowChanged);
    connect(m_service, &PdfService::rendered, this, &ReaderControl::deliver);
    connect(m_service, &PdfService::renderFailed, this,
            [this](const QString &channel, int, const QString &) { deliverFailure(channel); });
}

void ReaderControl::setThumbnailView(ThumbnailView *view)
{
    m_thumbnailView = view;
    // The reader's own list: a click turns the reader, the list stays where it is.
    connect(view, &ThumbnailView::clicked, this,
            [this](const QModelIndex &index) { showReaderPage(index.row(), false, false); });
}

bool ReaderControl::hasDocument() const
{
    return m_service->pageCount() > 0;
}

bool ReaderControl::twoPages() const
{
    return m_twoPagesBox && m_twoPagesBox->isChecked();
}

QList<QAction *> ReaderControl::addToolBarItems(QToolBar *toolBar)
{
    QList<QAction *> items;
    items << toolBar->addSeparator();

    m_previousAction = toolBar->addAction(QString(QChar(0x25C0)));
    m_previousAction->setToolTip(tr("Previous page"));
    m_previousAction->setIconText(QString(QChar(0x25C0)));
    m_nextAction = toolBar->addAction(QString(QChar(0x25B6)));
    m_nextAction->setToolTip(tr("Next page"));
    // They step as the Previous and Next slide actions do; the window connects them.
    items << m_previousAction << m_nextAction;

    m_pageBox = new QSpinBox(toolBar);
    m_pageBox->setObjectName(QStringLiteral("pageBox"));
    m_pageBox->setRange(1, 1);
    m_pageBox->setPrefix(tr("Page "));
    // A typed number counts once complete: typing 25 must not show page 2 on the way.
    m_pageBox->setKeyboardTracking(false);
    items << toolBar->addWidget(m_pageBox);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) { m_show->choosePage(value - 1); });

    m_pageCountLabel = new QLabel(tr("/ %1").arg(0), toolBar);
    m_pageCountLabel->setObjectName(QStringLiteral("pageCountLabel"));
    items << toolBar->addWidget(m_pageCountLabel);

    QAction *zoomOut = toolBar->addAction(QString(QChar(0x2212)));
    zoomOut->setToolTip(tr("Zoom out"));
    QAction *zoomInAction = toolBar->addAction(QStringLiteral("+"));
    zoomInAction->setToolTip(tr("Zoom in"));
    items << zoomOut << zoomInAction;
    connect(zoomOut, &QAction::triggered, this, &ReaderControl::zoomOut);
    connect(zoomInAction, &QAction::triggered, this, &ReaderControl::zoomIn);

    m_zoomModeBox = new QComboBox(toolBar);
    m_zoomModeBox->setObjectName(QStringLiteral("zoomMode"));
    m_zoomModeBox->addItems({tr("Fit page"), tr("Fit width"), tr("Custom zoom")});
    items << toolBar->addWidget(m_zoomModeBox);
    connect(m_zoomModeBox, &QComboBox::currentIndexChanged, this, [this] { updateReader(); });

    m_zoomLabel = new QLabel(QStringLiteral("100%"), toolBar);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    items << toolBar->addWidget(m_zoomLabel);

    QAction *rotateAction = toolBar->addAction(tr("Rotate"));
    rotateAction->setToolTip(tr("Rotate the page"));
    items << rotateAction;
    connect(rotateAction, &QAction::triggered, this, &ReaderControl::rotate);

    m_twoPagesBox = new QCheckBox(tr("Two pages"), toolBar);
    m_twoPagesBox->setObjectName(QStringLiteral("twoPages"));
    items << toolBar->addWidget(m_twoPagesBox);
    connect(m_twoPagesBox, &QCheckBox::toggled, this, [this] {
        updateReader();
        m_show->readerLayoutChanged();
    });

    m_scrollBox = new QCheckBox(tr("Scroll"), toolBar);
    m_scrollBox->setObjectName(QStringLiteral("scrollMode"));
    m_scrollBox->setToolTip(tr("Scroll through all pages instead of switching them one by one"));
    items << toolBar->addWidget(m_scrollBox);
    connect(m_scrollBox, &QCheckBox::toggled, this, [this](bool on) {
        if (m_settings)
            m_settings->setReaderScroll(on);
        applyReaderMode();
    });
    return items;
}

QWidget *ReaderControl::createReaderPage(QWidget *outputWindow)
{
    m_outputWindow = outputWindow;
    m_stack = new QStackedWidget;
    m_stack->setObjectName(QStringLiteral("readerStack"));

    m_pageArea = new QScrollArea;
    m_pageArea->setObjectName(QStringLiteral("readerPageArea"));
    m_pageArea->setAlignment(Qt::AlignCenter);
    m_container = new QWidget;
    auto *row = new QHBoxLayout(m_container);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (int i = 0; i < 2; ++i) {
        m_canvas[i] = new PageCanvas(m_container);
        m_canvas[i]->setObjectName(i == 0 ? QStringLiteral("readerCanvas") : QStringLiteral("readerCanvas2"));
        row->addWidget(m_canvas[i]);
    }
    m_canvas[1]->hide();
    m_pageArea->setWidget(m_container);
    m_stack->addWidget(m_pageArea);

    m_welcome = new PageCanvas(m_pageArea->viewport());
    m_welcome->setObjectName(QStringLiteral("readerWelcome"));
    m_welcome->setLogo(Logo::pixmap());
    m_welcome->setGeometry(m_pageArea->viewport()->rect());
    m_pageArea->viewport()->installEventFilter(this);

    m_scrollView = new ScrollView(m_service, QStringLiteral("scroll"));
    m_scrollView->setObjectName(QStringLiteral("scroll"));
    m_stack->addWidget(m_scrollView);
    connect(m_scrollView, &ScrollView::currentPageChanged, this, &ReaderControl::onScrollPageChanged);
    connect(m_scrollView, &ScrollView::layoutChanged, this, [this] {
        updateZoomLabel(m_scrollView->scaleForPage(m_currentPage));
        syncOutputMirror();
    });
    connect(m_scrollView, &ScrollView::positionChanged, this, [this] {
        if (m_mirror && m_mirror->isVisible())
            m_mirror->setPosition(m_scrollView->position());
    });

    m_mirror = new ScrollView(m_service, QStringLiteral("out"), outputWindow);
    m_mirror->setObjectName(QStringLiteral("out"));
    m_mirror->setMirrorMode(true);
    m_mirror->hide();
    return m_stack;
}

bool ReaderControl::eventFilter(QObject *watched, QEvent *event)
{
    if (m_pageArea && watched == m_pageArea->viewport() && event->type() == QEvent::Resize) {
        m_welcome->setGeometry(m_pageArea->viewport()->rect());
        Q_EMIT viewportResized();
    }
    return QObject::eventFilter(watched, event);
}

void ReaderControl::updateZoomLabel(double scale)
{
    if (!m_zoomLabel)
        return;
    m_zoomLabel->setText(QStringLiteral("%1%").arg(qRound(scale * 72.0 / 96.0 * 100.0)));
}

void ReaderControl::updateReader()
{
    if (!m_stack)
        return;
    const int mode = qBound(0, m_zoomModeBox->currentIndex(), 2);
    if (m_scrollMode) {
        m_scrollView->setViewMode(mode, m_zoom, m_rotation, twoPages());
        m_scrollView->setHighlights(m_hits);
        syncOutputMirror();
        updateZoomLabel(m_scrollView->scaleForPage(m_currentPage));
        return;
    }
    if (!hasDocument())
        return;

    const int pages = m_service->pageCount();
    const bool two = twoPages() && pages > m_currentPage + 1;
    m_canvas[1]->setVisible(two);
    QSizeF pageSize = m_service->pageSize(m_currentPage);
    if (m_rotation % 2 == 1)
        pageSize.transpose();
    if (pageSize.isEmpty())
        return;

    const QSize available = m_pageArea->viewport()->size() - QSize(20, 20);
    const double width = std::max(80, two ? available.width() - 8 : available.width());
    const double height = std::max(60, available.height());
    const double divisor = two ? 2.0 : 1.0;
    double scale = m_zoom * 96.0 / 72.0;
    if (mode == FitPage)
        scale = std::min(width / divisor / pageSize.width(), height / pageSize.height());
    else if (mode == FitWidth)
        scale = width / divisor / pageSize.width();

    const QSize canvasSize(std::max(80, int(pageSize.width() * scale)), std::max(60, int(pageSize.height() * scale)));
    for (PageCanvas *canvas : m_canvas)
        canvas->setFixedSize(canvasSize);
    m_container->setFixedSize((two ? 2 : 1) * canvasSize.width() + (two ? 6 : 0), canvasSize.height());
    updateZoomLabel(scale);

    const QSize target = devicePixels(canvasSize, m_canvas[0]->devicePixelRatioF());
    m_service->render(QStringLiteral("reader"), m_currentPage, target, m_rotation, RenderPriority::Reader);
    if (two)
        m_service->render(QStringLiteral("reader2"), m_currentPage + 1, target, m_rotation, RenderPriority::ReaderSecond);
    else
        m_service->cancel(QStringLiteral("reader2"));

    m_service->findHitRects(m_currentPage);
    if (two)
        m_service->findHitRects(m_currentPage + 1);
    m_canvas[0]->setHighlights(rectsOnPage(m_hits, m_currentPage), m_service->pageSize(m_currentPage), m_rotation);
    m_canvas[1]->setHighlights(rectsOnPage(m_hits, m_currentPage + 1), m_service->pageSize(m_currentPage + 1),
                               m_rotation);
}

void ReaderControl::showReaderPage(int page, bool smooth, bool centredReveal)
{
    if (!hasDocument())
        return;
    const int clamped = qBound(0, page, m_service->pageCount() - 1);
    if (!m_scrollMode && clamped != m_currentPage) {
        // The old page must not linger at the new page's size.
        for (PageCanvas *canvas : m_canvas)
            canvas->setImage(QImage(), false, 1);
    }
    m_currentPage = clamped;
    m_show->readerPageChanged(m_currentPage);
    showCurrentPage(centredReveal);
    // With the output shown the live mark belongs to the audience's page.
    if (!m_show->outputShown())
        m_thumbnails->setLivePage(m_currentPage);
    if (m_scrollMode)
        m_scrollView->goToPage(m_currentPage, smooth);
    else
        updateReader();
}

void ReaderControl::onScrollPageChanged(int page)
{
    updateZoomLabel(m_scrollView->scaleForPage(page));
    if (page == m_currentPage || !m_scrollMode)
        return;
    m_currentPage = page;
    showCurrentPage(true);
    m_thumbnails->setLivePage(m_currentPage);
    m_show->readerPageChanged(m_currentPage);
}

void ReaderControl::onShowChanged(Show::Changes what)
{
    if (what & (Show::ModeChanged | Show::OutputChanged | Show::DocumentChanged | Show::BlackoutChanged))
        applyReaderMode();
    if (!hasDocument())
        return;
    if (m_show->presenting()) {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setValue(std::max(1, m_presentation->currentPage() + 1));
        return;
    }
    // Reading page by page with the output on, the reader shows what the audience sees.
    const int shown = m_presentation->shownPage();
    if (m_show->outputShown() && !m_scrollMode && shown >= 0 && shown != m_currentPage
        && (what & (Show::LiveChanged | Show::PageChanged | Show::ModeChanged | Show::OutputChanged)))
        showReaderPage(shown);
    if (what & Show::ModeChanged) {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setValue(m_currentPage + 1);
    }
}

void ReaderControl::showCurrentPage(bool centredReveal)
{
    {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setValue(m_currentPage + 1);
    }
    if (m_thumbnailView) {
        m_thumbnailView->setCurrentIndex(m_thumbnails->index(m_currentPage));
        m_thumbnailView->revealPage(m_currentPage, centredReveal);
    }
}

void ReaderControl::applyReaderMode()
{
    if (!m_stack)
        return;
    const bool on = m_scrollBox->isChecked() && hasDocument();
    if (const bool routed = on && !m_show->presenting(); routed != m_routerScrolling) {
        m_routerScrolling = routed;
        Q_EMIT scrollReadingChanged(routed);
    }
    if (on != m_scrollMode) {
        m_scrollMode = on;
        if (on) {
            m_stack->setCurrentWidget(m_scrollView);
            updateReader();
            m_scrollView->goToPage(m_currentPage, false);
        } else {
            m_scrollView->cancelRequests();
            m_stack->setCurrentWidget(m_pageArea);
            showReaderPage(m_currentPage);
        }
    }
    syncOutputMirror();
}

void ReaderControl::syncOutputMirror()
{
    if (!m_mirror)
        return;
    QWidget *output = m_outputWindow;
    const bool shown = m_scrollMode && hasDocument() && !m_show->presenting() && output && output->isVisible()
                       && !m_show->blackout();
    if (!shown) {
        m_mirror->hide();
        m_scrollView->setStepLimit(0);
        return;
    }
    m_mirror->setGeometry(output->rect());
    if (m_mirror->isHidden())
        m_mirror->show();
    const int readerWidth = m_scrollView->viewport()->width();
    const double k = readerWidth < 1 ? 1.0 : double(output->width()) / readerWidth;
    m_mirror->setGaps(0, std::max(int(std::lround(12 * k)), 2), int(std::lround(6 * k)));
    m_mirror->setViewMode(qBound(0, m_zoomModeBox->currentIndex(), 2), k * m_zoom, m_rotation, twoPages());
    const double mirrorScale = m_mirror->scaleForPage(m_currentPage);
    if (mirrorScale > 0) {
        m_scrollView->setStepLimit(int(std::lround(m_scrollView->scaleForPage(m_currentPage)
                                                   * m_mirror->viewport()->height() / mirrorScale)));
    }
    m_mirror->setPosition(m_scrollView->position());
}

void ReaderControl::zoomIn()
{
    m_zoom = std::min(m_zoom * ZoomStep, MaxZoom);
    setZoomMode(CustomZoom);
}

void ReaderControl::zoomOut()
{
    m_zoom = std::max(m_zoom / ZoomStep, MinZoom);
    setZoomMode(CustomZoom);
}

void ReaderControl::setZoomMode(int mode)
{
    if (m_zoomModeBox->currentIndex() == mode)
        updateReader();
    else
        m_zoomModeBox->setCurrentIndex(mode); // updates through its signal
}

void ReaderControl::rotate()
{
    m_rotation = (m_rotation + 1) % 4;
    updateReader();
}

void ReaderControl::documentLoaded(int pages)
{
    m_pageBox->setRange(1, std::max(1, pages));
    m_pageCountLabel->setText(tr("/ %1").arg(pages));
    m_scrollView->resetDocument();
    m_mirror->resetDocument();
    applyReaderMode();
}

void ReaderControl::documentClosed()
{
    m_hits.clear();
    m_rotation = 0;
    for (PageCanvas *canvas : m_canvas) {
        canvas->setImage(QImage(), false, 1);
        canvas->setHighlights({}, QSizeF(), 0);
    }
    m_scrollView->resetDocument();
    m_mirror->resetDocument();
    {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setRange(1, 1);
    }
    m_pageCountLabel->setText(tr("/ %1").arg(0));
    m_currentPage = 0;
    applyReaderMode();
}

void ReaderControl::setSearchHits(const QList<SearchHit> &hits)
{
    m_hits = hits;
    updateReader();
}

void ReaderControl::deliver(const QString &channel, int page, const QImage &image)
{
    if (channel == QLatin1String("reader")) {
        m_canvas[0]->setImage(image, false, 1);
    } else if (channel == QLatin1String("reader2")) {
        m_canvas[1]->setImage(image, false, 1);
    } else if (channel.startsWith(QLatin1String("scroll:"))) {
        m_scrollView->setPageImage(page, image);
    } else if (channel.startsWith(QLatin1String("out:"))) {
        m_mirror->setPageImage(page, image);
    }
}

void ReaderControl::deliverFailure(const QString &channel)
{
    if (channel == QLatin1String("reader"))
        m_canvas[0]->setImage(QImage(), false, 1);
    else if (channel == QLatin1String("reader2"))
        m_canvas[1]->setImage(QImage(), false, 1);
}

bool ReaderControl::scrollAtTop() const
{
    const double base = m_scrollView->isAnimating() ? m_scrollView->target() : m_scrollView->scrollPosition();
    return base <= 0.5;
}

bool ReaderControl::scrollAtEnd() const
{
    const double base = m_scrollView->isAnimating() ? m_scrollView->target() : m_scrollView->scrollPosition();
    return base >= m_scrollView->verticalMaximum() - 0.5;
}

void ReaderControl::stepScreens(int direction)
{
    m_scrollView->stepScreen(direction);
}

void ReaderControl::stepLines(int direction)
{
    m_scrollView->stepLines(direction);
}

void ReaderControl::scrollToEdge(bool last)
{
    m_scrollView->scrollToEdge(last, true);
}
