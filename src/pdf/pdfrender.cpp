#include "pdfservice.h"

#include "pdflog.h"
#include "pdfworker.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>

#include <algorithm>
#include <cmath>

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

QString cacheKey(int page, const QSize &size, int turns)
{
    return QStringLiteral("%1/%2/%3/%4").arg(page).arg(size.width()).arg(size.height()).arg(turns);
}

} // namespace

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

void PdfService::render(const QString &channel, int page, const QSize &target, int rotation, int priority)
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
    if (m_renderBusy || m_pending.isEmpty() || pageCount() == 0)
        return;
    auto best = m_pending.cbegin();
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (it->priority > best->priority || (it->priority == best->priority && it->number < best->number))
            best = it;
    }
    RenderRequest request = best.value();
    m_pending.erase(best);
    m_renderBusy = true;
    // Its size may have arrived while it waited; then the cache may already hold it.
    if (request.key.isEmpty() && pageSizeKnown(request.page))
        fitToPage(request);

    if (const QImage *cached = m_cache.object(request.key)) {
        // Delivered from the event loop all the same, so a consumer never gets its image
        // from inside its own render() call.
        const QImage image = *cached;
        QMetaObject::invokeMethod(
            this, [this, request, image] { onRenderReply(request, image, true, QSizeF()); }, Qt::QueuedConnection);
        return;
    }

    ++m_renderJobs;
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    postToWorker([this, worker, counter, request] {
        QImage image;
        QSizeF measured;
        QPdfDocument *document = worker->document();
        if (counter->load() == request.generation && document) {
            QSize size = request.size;
            if (size.isEmpty()) {
                // A page the engine cannot measure has no area, as the size collection counts it.
                measured = document->pagePointSize(request.page);
                if (!measured.isValid())
                    measured = QSizeF(0, 0);
                size = renderSize(request.rotation % 2 == 1 ? measured.transposed() : measured, request.target);
            }
            QPdfDocumentRenderOptions options;
            options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
            options.setRotation(engineRotation(request.rotation));
            const QImage rendered = size.isEmpty() ? QImage() : document->render(request.page, size, options);
            if (!rendered.isNull()) {
                // Every delivered page is opaque on white, whatever the engine left transparent.
                image = QImage(rendered.size(), QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.drawImage(0, 0, rendered);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, request, image, measured] { onRenderReply(request, image, false, measured); },
            Qt::QueuedConnection);
    });
}

void PdfService::onRenderReply(const RenderRequest &request, const QImage &image, bool fromCache,
                               const QSizeF &measured)
{
    m_renderBusy = false;
    if (request.generation == m_loadGeneration->load()) {
        // Kept even when superseded or cancelled, so the work is not lost.
        // A page measured only by the worker is keyed by the size it came out at.
        if (!fromCache && !image.isNull() && image.sizeInBytes() <= CacheBytes)
            m_cache.insert(request.key.isEmpty() ? cacheKey(request.page, image.size(), request.rotation) : request.key,
                           new QImage(image), image.sizeInBytes());
        if (m_latest.value(request.channel) == request.number) {
            if (image.isNull()) {
                qCWarning(lcPdf, "PDF render failed on page %d", request.page + 1);
                // A page measured only now may turn out to have no area, which a known size says at once.
                Q_EMIT renderFailed(request.channel, request.page,
                                    measured.isValid() && measured.isEmpty()
                                        ? tr("Invalid render dimensions.")
                                        : tr("Could not render page %1. Previous output retained.").arg(request.page + 1));
            } else {
                Q_EMIT rendered(request.channel, request.page, image);
            }
        }
        // After the delivery: a consumer that lays out again on new sizes asks anew, from the cache.
        if (measured.isValid())
            onPageSizes(request.generation, request.page, {measured});
    }
    pump();
}
