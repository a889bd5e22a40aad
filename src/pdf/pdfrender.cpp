#include "pdfservice.h"

#include "pdflog.h"
#include "pdfworker.h"
#include "textreader.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

QPdfDocumentRenderOptions::Rotation engineRotation(int quarterTurns)
{
    switch (quarterTurns) {
    case 1:
        return QPdfDocumentRenderOptions::Rotation::Clockwise90;
    case 2:
        return QPdfDocumentRenderOptions::Rotation::Clockwise180;
    case 3:
        return QPdfDocumentRenderOptions::Rotation::Clockwise270;
    default:
        return QPdfDocumentRenderOptions::Rotation::None;
    }
}

bool servedBefore(const PdfService::RenderRequest &a, const PdfService::RenderRequest &b)
{
    return a.priority > b.priority || (a.priority == b.priority && a.number < b.number);
}

// What to ask of the engine for a band so that it lines up with the whole-page picture.
// A clipped render lays the page out on its size cut to whole points, then scales it by
// scaled / points * (clip - 1) / image along each axis; the two integers are chosen so that
// the product comes as near as it can to the whole picture's scale.
struct BandScale
{
    int scaled = 0;
    int clip = 0;
};

BandScale bandScale(int whole, double points, int image)
{
    const double wanted = double(whole) * points / std::floor(points) * image;
    BandScale best{whole, image + 1};
    double bestError = std::abs(double(whole) * image - wanted);
    for (int span = std::max(1, image - 6); span <= image + 6; ++span) {
        const int scaled = int(std::lround(wanted / span));
        const double error = std::abs(double(scaled) * span - wanted);
        if (scaled > 0 && error < bestError) {
            best = {scaled, span + 1};
            bestError = error;
        }
    }
    return best;
}

// A pixel with white behind it, as the painter's "destination over" gives it: the colour
// made premultiplied, plus white for what its alpha leaves.
QRgb onWhite(QRgb pixel, bool straight)
{
    const uint alpha = qAlpha(pixel);
    if (alpha == 255)
        return pixel;
    const uint back = 255 - alpha;
    return ((straight ? qPremultiply(pixel) : pixel) + (back << 16 | back << 8 | back)) | 0xff000000u;
}

} // namespace

void PdfService::opaqueOnWhite(QImage &image)
{
    const QImage::Format format = image.format();
    if (format == QImage::Format_ARGB32 || format == QImage::Format_ARGB32_Premultiplied) {
        // The painter's general path takes several times this, on three threads, and nearly every
        // pixel of a page is opaque or empty: eight at a time while they all are one or the other.
        const bool straight = format == QImage::Format_ARGB32;
        constexpr quint64 Alphas = 0xff000000ff000000ull;
        const int width = image.width();
        const int height = image.height();
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                quint64 pairs[4];
                std::memcpy(pairs, line + x, sizeof pairs);
                if ((pairs[0] & pairs[1] & pairs[2] & pairs[3] & Alphas) == Alphas)
                    continue;
                if (((pairs[0] | pairs[1] | pairs[2] | pairs[3]) & Alphas) == 0) {
                    std::fill(line + x, line + x + 8, 0xffffffffu);
                    continue;
                }
                for (int i = x; i < x + 8; ++i)
                    line[i] = onWhite(line[i], straight);
            }
            for (; x < width; ++x)
                line[x] = onWhite(line[x], straight);
        }
    } else {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(image.rect(), Qt::white);
    }
    if (!image.reinterpretAsFormat(QImage::Format_RGB32))
        image = image.convertToFormat(QImage::Format_RGB32);
}

QString PdfService::cacheKey(int page, const QSize &size, int turns)
{
    return QStringLiteral("%1/%2/%3/%4").arg(page).arg(size.width()).arg(size.height()).arg(turns);
}

QSize PdfService::renderSize(const QSizeF &pagePoints, const QSize &target)
{
    if (pagePoints.isEmpty() || target.isEmpty() || !std::isfinite(pagePoints.width())
        || !std::isfinite(pagePoints.height()))
        return QSize();
    const QSizeF fitted = pagePoints.scaled(QSizeF(target), Qt::KeepAspectRatio);
    const double factor = std::min({1.0, MaxRenderSide / fitted.width(), MaxRenderSide / fitted.height(),
                                    std::sqrt(double(MaxRenderArea) / (fitted.width() * fitted.height()))});
    return QSize(std::max(1, int(fitted.width() * factor)), std::max(1, int(fitted.height() * factor)));
}

void PdfService::render(const QString &channel, int page, const QSize &target, int rotation, RenderPriority priority,
                        RenderShape shape)
{
    if (page < 0 || page >= pageCount()) {
        Q_EMIT renderFailed(channel, page, tr("Invalid page requested."));
        return;
    }
    RenderRequest request;
    request.channel = channel;
    request.page = page;
    request.rotation = normalizedRotation(rotation);
    request.priority = priority;
    request.shape = shape;
    request.target = target;
    if (pageSizeKnown(page))
        fitToPage(request);
    // A page not measured yet is measured by the worker, so the output never waits for sizes.
    if (target.isEmpty() || (pageSizeKnown(page) && request.size.isEmpty())) {
        Q_EMIT renderFailed(channel, page, tr("Invalid render dimensions."));
        return;
    }
    request.number = ++m_requestCounter;
    request.generation = m_loadGeneration->load();
    m_latest.insert(channel, request.number);
    m_pending.insert(channel, request);
    pump();
}

void PdfService::fitToPage(RenderRequest &request) const
{
    const QSizeF points = m_pageSizes.at(request.page);
    request.size = renderSize(request.rotation % 2 == 1 ? points.transposed() : points, request.target);
    request.key = request.size.isEmpty() ? QString() : cacheKey(request.page, request.size, request.rotation);
}

void PdfService::cancel(const QString &channel)
{
    m_pending.remove(channel);
    m_latest.remove(channel);
}

void PdfService::pump()
{
    if (m_renderBusy || m_announcingLoad || pageCount() == 0)
        return;
    // A band made for a request nobody waits for any more would be wasted work.
    if (m_banding
        && (m_banding->request.generation != m_loadGeneration->load()
            || m_latest.value(m_banding->request.channel) != m_banding->request.number))
        m_banding.reset();
    if (m_pending.isEmpty() && !m_banding) {
        if (m_reader)
            m_reader->setPaused(false);
        extractTextInBackground();
        return;
    }
    // The text reader stops while the engine renders, so a render has a core to itself.
    if (m_reader)
        m_reader->setPaused(true);
    auto best = m_pending.cbegin();
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (servedBefore(*it, *best))
            best = it;
    }
    // A banded render goes on unless something more urgent came in meanwhile.
    if (m_banding && (best == m_pending.cend() || !servedBefore(*best, m_banding->request))) {
        postBand();
        return;
    }
    RenderRequest request = best.value();
    m_pending.erase(best);
    m_renderBusy = true;
    // Its size may have arrived while it waited; then the cache may already hold it.
    if (request.key.isEmpty() && pageSizeKnown(request.page))
        fitToPage(request);

    if (const QImage *cached = m_cache.object(request.key)) {
        // Delivered from the event loop all the same, so a consumer never gets its image
        // from inside its own render() call; only the load's own picture, asked for while
        // the load was announced, goes out at once (see onLoadReply).
        const QImage image = *cached;
        if (std::exchange(m_deliverHitNow, false)) {
            onRenderReply(request, image, true, QSizeF());
            return;
        }
        QMetaObject::invokeMethod(
            this, [this, request, image] { onRenderReply(request, image, true, QSizeF()); }, Qt::QueuedConnection);
        return;
    }

    ++m_renderJobs;
    Q_EMIT renderStarted(request.channel, request.page);
    if (startsBanding(request)) {
        m_banding = Banding{request, std::make_shared<QImage>(), 0};
        postBand();
        return;
    }
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    postToWorker([this, worker, counter, request] {
        QImage image;
        QSizeF measured;
        QPdfDocument *document = worker->document();
        if (counter->load() == request.generation && document && !worker->sourceChanged()) {
            QSize size = request.size;
            if (size.isEmpty()) {
                // A page the engine cannot measure has no area, as the size collection counts it.
                measured = document->pagePointSize(request.page);
                if (!measured.isValid())
                    measured = QSizeF(0, 0);
                size = renderSize(request.rotation % 2 == 1 ? measured.transposed() : measured, request.target);
            }
            image = renderWhole(document, request.page, size, request.rotation);
        }
        // Pages read from a file cut or rewritten under the document come out blank or wrong.
        const bool changed = worker->sourceChanged();
        if (changed)
            image = QImage();
        QMetaObject::invokeMethod(
            this,
            [this, request, image, measured, changed] { onRenderReply(request, image, false, measured, changed); },
            Qt::QueuedConnection);
    });
}

QImage PdfService::renderWhole(QPdfDocument *document, int page, const QSize &size, int rotation)
{
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    options.setRotation(engineRotation(rotation));
    QImage image = size.isEmpty() ? QImage() : document->render(page, size, options);
    if (!image.isNull())
        opaqueOnWhite(image);
    return image;
}

void PdfService::onRenderReply(const RenderRequest &request, const QImage &image, bool fromCache,
                               const QSizeF &measured, bool changed)
{
    m_renderBusy = false;
    if (request.generation == m_loadGeneration->load()) {
        // Kept even when superseded or cancelled, so the work is not lost.
        // A page measured only by the worker is keyed by the size it came out at.
        if (!fromCache && !image.isNull() && image.sizeInBytes() <= CacheBytes)
            m_cache.insert(request.key.isEmpty() ? cacheKey(request.page, image.size(), request.rotation) : request.key,
                           new QImage(image), image.sizeInBytes());
        if (m_latest.value(request.channel) == request.number) {
            if (changed) {
                // Every page fails from now on, with one message that the window shows once.
                if (!std::exchange(m_changeReported, true))
                    qCWarning(lcPdf, "The open PDF was changed on disk; no further pages are rendered");
                Q_EMIT renderFailed(request.channel, request.page,
                                    tr("The file was changed on disk after it was opened; pages not shown yet cannot "
                                       "be shown. Open it again."));
            } else if (image.isNull()) {
                qCWarning(lcPdf, "PDF render failed on page %d", request.page + 1);
                // A page measured only now may turn out to have no area, which a known size says at once.
                Q_EMIT renderFailed(request.channel, request.page,
                                    measured.isValid() && measured.isEmpty()
                                        ? tr("Invalid render dimensions.")
                                        : tr("Could not render page %1. Previous output retained.").arg(request.page + 1));
            } else {
                qCDebug(lcPdf, "Page %d delivered at %dx%d on %s", request.page + 1, image.width(), image.height(),
                        qPrintable(request.channel));
                Q_EMIT rendered(request.channel, request.page, image);
            }
        }
        // After the delivery: a consumer that lays out again on new sizes asks anew, from the cache.
        if (measured.isValid())
            onPageSizes(request.generation, request.page, {measured});
    }
    pump();
}

bool PdfService::startsBanding(const RenderRequest &request) const
{
    // A page measured only at render time is made whole; that happens just after a load.
    return !request.size.isEmpty() && qint64(request.size.width()) * request.size.height() > BandingArea
           && request.shape == RenderShape::Bands;
}

void PdfService::postBand()
{
    m_renderBusy = true;
    Banding &banding = *m_banding;
    const RenderRequest request = banding.request;
    // Bands run across the page as the engine lays it out; the turn comes once the picture is whole.
    const QSize upright = request.rotation % 2 == 1 ? request.size.transposed() : request.size;
    // The first band is thin, so an output request that comes just after a zoom waits little;
    // later ones are sized by how long the first took.
    const int usual = int(std::clamp<qint64>(BandArea / upright.width(), 1, upright.height()));
    const int rows = banding.rows > 0 ? banding.rows : std::max(1, usual / 8);
    const int top = banding.nextRow;
    const int height = std::min(rows, upright.height() - top);
    banding.nextRow += height;
    const bool last = banding.nextRow >= upright.height();
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    postToWorker([this, worker, counter, request, image = banding.image, upright, top, height, last] {
        QElapsedTimer clock;
        clock.start();
        QPdfDocument *document = worker->document();
        bool ok = counter->load() == request.generation && document && !worker->sourceChanged();
        // Left unfilled: every row is written by its band, and no band waits for a whole picture
        // to be cleared first.
        if (ok && image->isNull()) {
            *image = QImage(upright, QImage::Format_RGB32);
            ok = !image->isNull();
        }
        if (ok) {
            const QSizeF points = document->pagePointSize(request.page);
            ok = points.width() >= 1 && points.height() >= 1;
            if (ok) {
                const BandScale across = bandScale(upright.width(), points.width(), upright.width());
                const BandScale down = bandScale(upright.height(), points.height(), height);
                QPdfDocumentRenderOptions options;
                options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
                options.setScaledSize(QSize(across.scaled, down.scaled));
                options.setScaledClipRect(QRect(0, top, across.clip, down.clip));
                QImage band = document->render(request.page, QSize(upright.width(), height), options);
                ok = !band.isNull() && band.width() == upright.width() && band.height() == height;
                if (ok) {
                    opaqueOnWhite(band);
                    const qsizetype bytes = qsizetype(upright.width()) * 4;
                    for (int row = 0; row < height; ++row)
                        std::memcpy(image->scanLine(top + row), band.constScanLine(row), bytes);
                }
            }
        }
        // A band read from a changed file may be wrong: the picture is given up.
        const bool changed = worker->sourceChanged();
        QImage finished;
        if (ok && last && !changed)
            finished = request.rotation == 0 ? *image : image->transformed(QTransform().rotate(90 * request.rotation));
        QMetaObject::invokeMethod(
            this,
            [this, request, finished, done = last || !ok || changed, changed, height, spent = clock.nsecsElapsed()] {
                onBandReply(request, finished, done, changed, height, spent);
            },
            Qt::QueuedConnection);
    });
}

void PdfService::onBandReply(const RenderRequest &request, const QImage &image, bool finished, bool changed,
                             int rows, qint64 nanoseconds)
{
    if (!finished && m_banding && m_banding->request.number == request.number) {
        // An output request waits for one band at most: bands are sized to take about BandMs,
        // between an eighth of the usual and the usual.
        const QSize upright = request.rotation % 2 == 1 ? request.size.transposed() : request.size;
        const int usual = int(std::clamp<qint64>(BandArea / std::max(1, upright.width()), 1, upright.height()));
        const qint64 wanted = qint64(rows) * BandMs * 1000000 / std::max<qint64>(1, nanoseconds);
        m_banding->rows = int(std::clamp<qint64>(wanted, std::max(1, usual / 8), usual));
    }
    if (!finished) {
        m_renderBusy = false;
        pump();
        return;
    }
    if (m_banding && m_banding->request.number == request.number)
        m_banding.reset();
    // A whole picture, or a band that failed, ends the request as a single render would.
    onRenderReply(request, image, false, QSizeF(), changed);
}
