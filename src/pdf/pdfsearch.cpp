#include "pdfservice.h"

#include "pdfworker.h"

#include <QElapsedTimer>
#include <QPdfDocument>
#include <QPdfLink>
#include <QPdfSearchModel>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

// State shared by the steps of one search; each posted step holds the step function strongly,
// the state only weakly, so the function dies with the last queued step.
struct SearchJob
{
    PdfWorker *worker = nullptr;
    QString text;
    PdfService::Generation loadCounter;
    PdfService::Generation searchCounter;
    std::shared_ptr<std::atomic<quint64>> stepCounter;
    quint64 loadGeneration = 0;
    quint64 searchGeneration = 0;
    QPointer<QPdfSearchModel> model;
    // The pages to look at, in order; every page when empty.
    QList<int> pages;
    QList<SearchHit> hits;
    qsizetype reported = 0;
    QElapsedTimer sinceReport;
    std::weak_ptr<std::function<void(int)>> step;

    bool stale() const
    {
        return loadCounter->load() != loadGeneration || searchCounter->load() != searchGeneration;
    }

    // Posts the hits to the service, as a progress report or as the final result.
    std::function<void(const QList<SearchHit> &, bool)> post;

    void report(bool finished)
    {
        reported = hits.size();
        sinceReport.start();
        post(hits, finished);
    }
};

// Characters of page text kept on each side of a match.
constexpr qsizetype ContextChars = 40;

// The page text before a match found at `start` in `pageText`, the search text as entered, and
// the page text after it, with every run of white space as one blank; the search text alone when
// the match could not be placed (start -1). The search model's own before and after texts can
// repeat the match or belong to another one, so they are not used.
QString hitContext(const QString &pageText, qsizetype start, const QString &text)
{
    if (start < 0)
        return text;
    static const QRegularExpression space(QStringLiteral("\\s+"));
    qsizetype from = std::max<qsizetype>(0, start - ContextChars);
    if (pageText.at(from).isLowSurrogate())
        ++from;
    QString before = pageText.mid(from, start - from).replace(space, QStringLiteral(" "));
    QString after = pageText.mid(start + text.size(), ContextChars).replace(space, QStringLiteral(" "));
    if (!after.isEmpty() && after.back().isHighSurrogate())
        after.chop(1);
    if (before.startsWith(u' '))
        before.remove(0, 1);
    if (after.endsWith(u' '))
        after.chop(1);
    return before + text + after;
}

// The first hits are shown at once, later ones a few times a second.
constexpr qint64 ProgressIntervalMs = 150;

qsizetype resultBytes(const QList<SearchHit> &hits)
{
    qsizetype bytes = 0;
    for (const SearchHit &hit : hits)
        bytes += qsizetype(sizeof(SearchHit)) + hit.context.size() * 2 + hit.rects.size() * qsizetype(sizeof(QRectF));
    return bytes;
}

// Each character lowered on its own, as the engine compares them; no text grows or shrinks.
QString lowered(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = c.toLower();
    return result;
}

// A finished search whose text lies inside `text` found every page `text` can be on: each match
// of the longer text holds a match of the shorter one, letter case aside. The pages of the one
// with the fewest; none when no such search is known or its hits were cut at the limit.
std::optional<QList<int>> pagesToSearch(QCache<QString, QList<SearchHit>> &known, const QString &text)
{
    const QString wanted = lowered(text);
    std::optional<QList<int>> best;
    for (const QString &shorter : known.keys()) {
        const QList<SearchHit> *hits = known.object(shorter);
        if (!hits || hits->size() >= PdfService::SearchHitLimit || !wanted.contains(lowered(shorter)))
            continue;
        QList<int> pages;
        for (const SearchHit &hit : *hits) {
            if (pages.isEmpty() || pages.constLast() != hit.page)
                pages.append(hit.page);
        }
        if (!best || pages.size() < best->size())
            best = pages;
    }
    return best;
}

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
    job->worker = m_worker;
    job->text = text;
    job->loadCounter = m_loadGeneration;
    job->searchCounter = m_searchGeneration;
    job->stepCounter = m_searchSteps;
    job->loadGeneration = loadGeneration;
    job->searchGeneration = searchGeneration;
    job->post = [this, loadGeneration, searchGeneration](const QList<SearchHit> &hits, bool finished) {
        QMetaObject::invokeMethod(
            this, [=, this] { onSearchReply(loadGeneration, searchGeneration, hits, finished); }, Qt::QueuedConnection);
    };

    auto step = std::make_shared<std::function<void(int)>>();
    *step = [job](int index) {
        QPdfDocument *document = job->worker->document();
        if (job->stale() || !document) {
            delete job->model.data();
            return;
        }
        const int steps = job->pages.isEmpty() ? document->pageCount() : int(job->pages.size());
        const int page = job->pages.isEmpty() ? index : job->pages.at(index);
        if (!job->model) {
            job->model = new QPdfSearchModel(job->worker);
            job->model->setDocument(document);
            job->model->setSearchString(job->text);
        }
        ++*job->stepCounter;
        const QList<QPdfLink> results = job->model->resultsOnPage(page);
        const QString pageText = results.isEmpty() ? QString() : job->worker->pageText(page);
        // The engine reports matches in page order without overlap, so the n-th result is the
        // n-th occurrence in the page text.
        qsizetype next = 0;
        for (const QPdfLink &result : results) {
            if (job->hits.size() >= SearchHitLimit)
                break;
            const qsizetype start = pageText.indexOf(job->text, next, Qt::CaseInsensitive);
            if (start >= 0)
                next = start + job->text.size();
            job->hits.append(SearchHit{page, result.rectangles(), hitContext(pageText, start, job->text)});
        }
        if (index + 1 < steps && job->hits.size() < SearchHitLimit) {
            if (job->hits.size() > job->reported && (job->reported == 0 || job->sinceReport.hasExpired(ProgressIntervalMs)))
                job->report(false);
            // One page per event, so renders posted meanwhile are served between pages.
            if (auto next = job->step.lock())
                QTimer::singleShot(0, job->worker, [next, index] { (*next)(index + 1); });
            return;
        }
        delete job->model.data();
        job->worker->searchResults().insert(job->text, new QList<SearchHit>(job->hits), resultBytes(job->hits));
        job->report(true);
    };
    job->step = step;
    postToWorker([job, step] {
        // The same text again on the same document: the answer is known.
        QCache<QString, QList<SearchHit>> &known = job->worker->searchResults();
        if (const QList<SearchHit> *hits = known.object(job->text); hits && !job->stale()) {
            job->hits = *hits;
            job->report(true);
            return;
        }
        // A refined search looks only where the shorter text was found.
        if (const std::optional<QList<int>> pages = pagesToSearch(known, job->text)) {
            if (pages->isEmpty()) {
                known.insert(job->text, new QList<SearchHit>, 0);
                if (!job->stale())
                    job->report(true);
                return;
            }
            job->pages = *pages;
        }
        (*step)(0);
    });
}

void PdfService::onSearchReply(quint64 loadGeneration, quint64 searchGeneration, const QList<SearchHit> &hits,
                               bool finished)
{
    if (m_loadGeneration->load() != loadGeneration || m_searchGeneration->load() != searchGeneration)
        return;
    if (finished)
        Q_EMIT searchFinished(hits, hits.size() >= SearchHitLimit);
    else
        Q_EMIT searchProgress(hits);
}
