#include "pdfservice.h"

#include "pdflog.h"
#include "pdfworker.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QPdfLink>
#include <QPdfSearchModel>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcPdf, "olvanti.pdf")

namespace {

QString loadErrorMessage(int code)
{
    switch (QPdfDocument::Error(code)) {
    case QPdfDocument::Error::FileNotFound:
        return PdfService::tr("The file was not found or cannot be read.");
    case QPdfDocument::Error::IncorrectPassword:
        return PdfService::tr("PDF requires a valid password.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return PdfService::tr("Unsupported PDF encryption.");
    default:
        return PdfService::tr("The PDF is damaged, unsupported, or contains no pages.");
    }
}

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

// State shared by the steps of one search; each posted step holds the step function strongly,
// the state only weakly, so the function dies with the last queued step.
struct SearchJob
{
    PdfService *service = nullptr;
    PdfWorker *worker = nullptr;
    QString text;
    PdfService::Generation loadCounter;
    PdfService::Generation searchCounter;
    quint64 loadGeneration = 0;
    quint64 searchGeneration = 0;
    QPointer<QPdfSearchModel> model;
    QList<SearchHit> hits;
    std::weak_ptr<std::function<void(int)>> step;

    bool stale() const
    {
        return loadCounter->load() != loadGeneration || searchCounter->load() != searchGeneration;
    }
};

} // namespace

PdfService::PdfService(QObject *parent)
    : QObject(parent)
    , m_worker(new PdfWorker)
    , m_loadGeneration(std::make_shared<std::atomic<quint64>>(0))
    , m_searchGeneration(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<SearchHit>("SearchHit");
    qRegisterMetaType<QList<SearchHit>>("QList<SearchHit>");
    m_cache.setMaxCost(CacheBytes);
    m_thread.setObjectName(QStringLiteral("PdfWorker"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::InheritPriority);
}

PdfService::~PdfService()
{
    // Running jobs see the new generations at their next check and stop.
    ++*m_loadGeneration;
    ++*m_searchGeneration;
    m_thread.quit();
    m_thread.wait();
}

void PdfService::postToWorker(std::function<void()> job)
{
    QMetaObject::invokeMethod(m_worker, std::move(job), Qt::QueuedConnection);
}

void PdfService::load(const QString &path, const QString &password)
{
    close();
    const quint64 generation = m_loadGeneration->load();
    m_filePath = QFileInfo(path).absoluteFilePath();
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    const QString file = m_filePath;
    postToWorker([this, worker, counter, generation, file, password] {
        if (counter->load() != generation)
            return;
        auto *document = new QPdfDocument(worker);
        worker->setDocument(document);
        document->setPassword(password);
        const QPdfDocument::Error error = document->load(file);
        QList<QSizeF> sizes;
        if (error == QPdfDocument::Error::None) {
            const int pages = document->pageCount();
            sizes.reserve(pages);
            for (int page = 0; page < pages; ++page) {
                if (counter->load() != generation)
                    return;
                sizes.append(document->pagePointSize(page));
            }
        }
        QMetaObject::invokeMethod(
            this, [this, generation, sizes, code = int(error)] { onLoadReply(generation, sizes, code); },
            Qt::QueuedConnection);
    });
}

void PdfService::onLoadReply(quint64 generation, const QList<QSizeF> &sizes, int errorCode)
{
    if (m_loadGeneration->load() != generation)
        return;
    if (errorCode == int(QPdfDocument::Error::None) && !sizes.isEmpty()) {
        m_pageSizes = sizes;
        Q_EMIT loaded(pageCount());
        pump();
        return;
    }
    qCWarning(lcPdf, "PDF load failed (engine code %d)", errorCode);
    Q_EMIT failed(loadErrorMessage(errorCode), errorCode == int(QPdfDocument::Error::IncorrectPassword));
}

void PdfService::close()
{
    ++*m_loadGeneration;
    ++*m_searchGeneration;
    m_pageSizes.clear();
    m_filePath.clear();
    // A job in flight keeps the busy flag; its stale reply clears it.
    m_pending.clear();
    m_latest.clear();
    m_cache.clear();
    PdfWorker *worker = m_worker;
    postToWorker([worker] { worker->setDocument(nullptr); });
    Q_EMIT closed();
}

QSize PdfService::renderSize(const QSizeF &pagePoints, const QSize &target)
{
    if (pagePoints.isEmpty() || target.isEmpty() || !std::isfinite(pagePoints.width())
        || !std::isfinite(pagePoints.height()))
        return QSize();
    const QSizeF fitted = pagePoints.scaled(QSizeF(target), Qt::KeepAspectRatio);
    if (fitted.isEmpty())
        return QSize();
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
                // Every delivered page is opaque on white, whatever the engine's format.
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
        // Kept even when superseded, so the work is not lost.
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

void PdfService::search(const QString &text)
{
    const quint64 searchGeneration = ++*m_searchGeneration;
    const quint64 loadGeneration = m_loadGeneration->load();
    if (pageCount() == 0 || text.isEmpty()) {
        Q_EMIT searchFinished({}, false);
        return;
    }

    auto job = std::make_shared<SearchJob>();
    job->service = this;
    job->worker = m_worker;
    job->text = text;
    job->loadCounter = m_loadGeneration;
    job->searchCounter = m_searchGeneration;
    job->loadGeneration = loadGeneration;
    job->searchGeneration = searchGeneration;

    auto step = std::make_shared<std::function<void(int)>>();
    *step = [job](int page) {
        QPdfDocument *document = job->worker->document();
        if (job->stale() || !document) {
            delete job->model.data();
            return;
        }
        if (!job->model) {
            job->model = new QPdfSearchModel(job->worker);
            job->model->setDocument(document);
            job->model->setSearchString(job->text);
        }
        const QList<QPdfLink> results = job->model->resultsOnPage(page);
        for (const QPdfLink &result : results) {
            if (job->hits.size() >= SearchHitLimit)
                break;
            job->hits.append(SearchHit{page, result.rectangles(),
                                       result.contextBefore() + job->text + result.contextAfter()});
        }
        if (page + 1 < document->pageCount() && job->hits.size() < SearchHitLimit) {
            // One page per event, so renders posted meanwhile are served between pages.
            if (auto next = job->step.lock())
                QTimer::singleShot(0, job->worker, [next, page] { (*next)(page + 1); });
            return;
        }
        delete job->model.data();
        PdfService *service = job->service;
        const QList<SearchHit> hits = job->hits;
        const quint64 loadGen = job->loadGeneration;
        const quint64 searchGen = job->searchGeneration;
        QMetaObject::invokeMethod(
            service,
            [service, hits, loadGen, searchGen] {
                if (service->m_loadGeneration->load() == loadGen && service->m_searchGeneration->load() == searchGen)
                    Q_EMIT service->searchFinished(hits, hits.size() >= SearchHitLimit);
            },
            Qt::QueuedConnection);
    };
    job->step = step;
    postToWorker([step] { (*step)(0); });
}
