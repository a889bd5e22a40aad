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
    const int turns = normalizedRotation(rotation);
    QSizeF points = m_pageSizes.at(page);
    if (turns % 2 == 1)
        points.transpose();
    const QSize size = renderSize(points, target);
    if (size.isEmpty()) {
        Q_EMIT renderFailed(channel, page, tr("Invalid render dimensions."));
        return;
    }
    RenderRequest request;
    request.channel = channel;
    request.key = QStringLiteral("%1/%2/%3/%4").arg(page).arg(size.width()).arg(size.height()).arg(turns);
    request.page = page;
    request.rotation = turns;
    request.priority = priority;
    request.size = size;
    request.number = ++m_requestCounter;
    request.generation = m_loadGeneration->load();
    m_latest.insert(channel, request.number);
    m_pending.insert(channel, request);
    pump();
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
    const RenderRequest request = best.value();
    m_pending.erase(best);
    m_renderBusy = true;

    if (const QImage *cached = m_cache.object(request.key)) {
        // Delivered from the event loop all the same, so a consumer never gets its image
        // from inside its own render() call.
        const QImage image = *cached;
        QMetaObject::invokeMethod(
            this, [this, request, image] { onRenderReply(request, image, true); }, Qt::QueuedConnection);
        return;
    }

    ++m_renderJobs;
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    postToWorker([this, worker, counter, request] {
        QImage image;
        QPdfDocument *document = worker->document();
        if (counter->load() == request.generation && document) {
            QPdfDocumentRenderOptions options;
            options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
            options.setRotation(engineRotation(request.rotation));
            const QImage rendered = document->render(request.page, request.size, options);
            if (!rendered.isNull()) {
                // Every delivered page is opaque on white, whatever the engine left transparent.
                image = QImage(rendered.size(), QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.drawImage(0, 0, rendered);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, request, image] { onRenderReply(request, image, false); }, Qt::QueuedConnection);
    });
}

void PdfService::onRenderReply(const RenderRequest &request, const QImage &image, bool fromCache)
{
    m_renderBusy = false;
    if (request.generation == m_loadGeneration->load()) {
        // Kept even when superseded or cancelled, so the work is not lost.
        if (!fromCache && !image.isNull() && image.sizeInBytes() <= CacheBytes)
            m_cache.insert(request.key, new QImage(image), image.sizeInBytes());
        if (m_latest.value(request.channel) == request.number) {
            if (image.isNull()) {
                qCWarning(lcPdf, "PDF render failed on page %d", request.page + 1);
                Q_EMIT renderFailed(request.channel, request.page,
                                    tr("Could not render page %1. Previous output retained.").arg(request.page + 1));
            } else {
                Q_EMIT rendered(request.channel, request.page, image);
            }
        }
    }
    pump();
}
