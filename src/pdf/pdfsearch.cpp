#include "pdfservice.h"

#include "pdfworker.h"

#include <QPdfDocument>
#include <QPdfLink>
#include <QPdfSearchModel>
#include <QPointer>
#include <QTimer>

namespace {

// State shared by the steps of one search; each posted step holds the step function strongly,
// the state only weakly, so the function dies with the last queued step.
struct SearchJob
{
    PdfService *service = nullptr;
    PdfWorker *worker = nullptr;
    QString text;
    PdfService::Generation loadCounter;
    PdfService::Generation searchCounter;
    std::shared_ptr<std::atomic<quint64>> stepCounter;
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
    job->stepCounter = m_searchSteps;
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
        ++*job->stepCounter;
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
        QMetaObject::invokeMethod(
            service,
            [service, loadGen = job->loadGeneration, searchGen = job->searchGeneration, hits = job->hits] {
                service->onSearchReply(loadGen, searchGen, hits);
            },
            Qt::QueuedConnection);
    };
    job->step = step;
    postToWorker([step] { (*step)(0); });
}

void PdfService::onSearchReply(quint64 loadGeneration, quint64 searchGeneration, const QList<SearchHit> &hits)
{
    if (m_loadGeneration->load() != loadGeneration || m_searchGeneration->load() != searchGeneration)
        return;
    Q_EMIT searchFinished(hits, hits.size() >= SearchHitLimit);
}
