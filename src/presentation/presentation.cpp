#include "presentation.h"

#include "pdf/pdfservice.h"
#include "presentationlog.h"

#include <QPainter>

#include <algorithm>
#include <utility>

Presentation::Presentation(PdfService *service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
    connect(m_service, &PdfService::closed, this, &Presentation::onClosed);
    connect(m_service, &PdfService::loaded, this, &Presentation::onLoaded);
    connect(m_service, &PdfService::rendered, this, &Presentation::onRendered);
    connect(m_service, &PdfService::renderFailed, this, &Presentation::onRenderFailed);
    m_preloadTimer.setSingleShot(true);
    m_preloadTimer.setInterval(PreloadDelayMs);
    connect(&m_preloadTimer, &QTimer::timeout, this, &Presentation::preloadNext);
}

bool Presentation::twoPageActive() const
{
    return m_twoPageOutput && m_pendingPage >= 0 && m_pendingPage + 1 < m_service->pageCount();
}

QSize Presentation::pageBox() const
{
    return pageBox(twoPageActive());
}

QSize Presentation::pageBox(bool twoPages) const
{
    QSize box = m_outputSize;
    if (twoPages)
        box.setWidth(std::max(m_outputSize.width() / 2, 1));
    if (m_fitWidth)
        box.setHeight(PdfService::MaxRenderSide);
    return box;
}

PdfService::FirstRender Presentation::firstRender(int startPage) const
{
    // Two pages side by side depend on the page count, which only the load tells.
    if (m_twoPageOutput)
        return {};
    return {outputChannel(), startPage == -2 ? -2 : std::max(startPage, 0), pageBox(false)};
}

void Presentation::showPage(int page)
{
    m_pendingPage = page;
    m_firstReady = m_secondReady = false;
    m_firstImage = m_secondImage = QImage();
    m_service->render(outputChannel(), page, pageBox(), 0, RenderPriority::Output, RenderShape::Whole);
    // A synchronous failure of the first page has already given up this page.
    if (twoPageActive())
        m_service->render(secondPageChannel(), page + 1, pageBox(), 0, RenderPriority::OutputSecond,
                            RenderShape::Whole);
    else
        m_service->cancel(secondPageChannel());
}

void Presentation::step(int delta)
{
    goToPage(shownPage() + delta);
}

void Presentation::next()
{
    step(1);
}

void Presentation::previous()
{
    step(-1);
}

void Presentation::goToPage(int page)
{
    const int count = m_service->pageCount();
    if (count > 0)
        m_currentPage = std::clamp(page, 0, count - 1);
    if (m_currentPage >= 0)
        showPage(m_currentPage);
}

void Presentation::reshow()
{
    if (shownPage() >= 0)
        showPage(shownPage());
}

void Presentation::setOutputSize(const QSize &size)
{
    if (size.isEmpty() || size == m_outputSize)
        return;
    m_outputSize = size;
    reshow();
}

void Presentation::setTwoPageOutput(bool on)
{
    if (on == m_twoPageOutput)
        return;
    m_twoPageOutput = on;
    reshow();
}

void Presentation::setFitWidth(bool on)
{
    if (on == m_fitWidth)
        return;
    m_fitWidth = on;
    reshow();
}

void Presentation::onLoaded(int pages)
{
    // The start page is the first render job of the document: nothing the audience will not
    // see goes to the worker ahead of it.
    const int start = std::exchange(m_startPage, -1);
    goToPage(start == -2 ? pages - 1 : std::max(start, 0));
}

void Presentation::onClosed()
{
    m_livePage = m_currentPage = m_pendingPage = -1;
    m_startPage = -1;
    m_firstReady = m_secondReady = false;
    m_firstImage = m_secondImage = QImage();
    // The preview belongs to the document; the audience's frame may stay for the next one.
    requestPreview();
    if (!m_keepFrameOnClose)
        clearFrame();
    Q_EMIT changed();
}

void Presentation::clearFrame()
{
    m_keepFrameOnClose = false;
    m_crossing = 0;
    m_framePage = -1;
    m_frameAnimated = false;
    m_frame = QImage();
    Q_EMIT frameReady(QImage());
    requestPreview();
}

void Presentation::onRendered(const QString &channel, int page, const QImage &image)
{
    if (m_pendingPage < 0 && channel != previewChannel())
        return;
    // Made for an older, larger output size; the resize has asked for the page again.
    const QSize box = pageBox();
    if (image.width() > box.width() || image.height() > box.height())
        return;
    if (channel == previewChannel()) {
        if (page == m_previewPage)
            Q_EMIT previewReady(image);
        return;
    }
    if (channel == outputChannel() && page == m_pendingPage) {
        m_firstImage = image;
        m_firstReady = true;
        commit();
    } else if (channel == secondPageChannel() && page == m_pendingPage + 1) {
        m_secondImage = image;
        m_secondReady = true;
        commit();
    }
}

void Presentation::setPreviewSize(const QSize &size)
{
    m_previewSize = size;
    requestPreview();
}

void Presentation::setTalkEnd(int page)
{
    if (page == m_talkEnd)
        return;
    m_talkEnd = page;
    requestPreview();
}

int Presentation::previewPage() const
{
    if (m_talkEnd >= 0 && shownPage() == m_talkEnd)
        return -1;
    const int next = shownPage() + 1;
    return m_service->pageCount() > 0 && next < m_service->pageCount() ? next : -1;
}

void Presentation::requestPreview()
{
    const int page = previewPage();
    if (page < 0 || m_previewSize.isEmpty()) {
        m_service->cancel(previewChannel());
        if (m_previewPage != -1) {
            m_previewPage = -1;
            m_previewAsked = QSize();
            Q_EMIT previewReady(QImage());
        }
        return;
    }
    // Every frame would otherwise ask again for the page the preview already has.
    if (page == m_previewPage && m_previewSize == m_previewAsked)
        return;
    m_previewPage = page;
    m_previewAsked = m_previewSize;
    m_service->render(previewChannel(), page, m_previewSize, 0, RenderPriority::Next);
}

void Presentation::onRenderFailed(const QString &channel, int page, const QString &message)
{
    if (channel == previewChannel()) {
        m_previewPage = -1;
        m_previewAsked = QSize();
        Q_EMIT previewReady(QImage());
    } else if (channel == secondPageChannel() && m_pendingPage >= 0) {
        qCWarning(lcPresentation, "Second output page %d failed; showing the first page alone", page + 1);
        m_secondImage = QImage();
        m_secondReady = true;
        commit();
    } else if (channel == outputChannel()) {
        m_pendingPage = -1;
        Q_EMIT error(message);
        Q_EMIT changed();
        requestPreview();
    }
}

void Presentation::commit()
{
    if (!m_firstReady)
        return;
    const bool twoPages = twoPageActive();
    if (twoPages && !m_secondReady)
        return;

    QImage frame = m_firstImage;
    if (twoPages && !m_secondImage.isNull()) {
        const int width = m_outputSize.width();
        const int height = m_outputSize.height();
        frame = QImage(m_outputSize, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::black);
        QPainter painter(&frame);
        // The pages meet at the vertical centre line, each centred vertically.
        painter.drawImage(width / 2 - m_firstImage.width(), (height - m_firstImage.height()) / 2, m_firstImage);
        painter.drawImage(width / 2, (height - m_secondImage.height()) / 2, m_secondImage);
    } else if (frame.height() > m_outputSize.height()) {
        // Fit width: the middle of the page, cut at top and bottom.
        frame = frame.copy(0, (frame.height() - m_outputSize.height()) / 2, frame.width(), m_outputSize.height());
    }

    m_keepFrameOnClose = false;
    m_livePage = m_pendingPage;
    m_pendingPage = -1;
    m_firstImage = m_secondImage = QImage();
    m_frame = frame;
    const int crossing = std::exchange(m_crossing, 0);
    m_frameAnimated = m_framePage >= 0 && (m_livePage != m_framePage || crossing != 0);
    m_frameDirection = crossing != 0 ? crossing : (m_livePage < m_framePage ? -1 : 1);
    m_framePage = m_livePage;
    Q_EMIT frameReady(m_frame);

    requestPreview();
    m_preloadTimer.start();
}

void Presentation::preloadNext()
{
    // The next page lands in the cache at exactly the size the "output" request of a step asks for
    // (with nothing pending the page box is the single-page one).
    if (m_pendingPage < 0 && !m_twoPageOutput && m_livePage >= 0 && m_livePage + 1 < m_service->pageCount())
        m_service->render(preloadChannel(), m_livePage + 1, pageBox(), 0, RenderPriority::Preload,
                            RenderShape::Whole);
}
