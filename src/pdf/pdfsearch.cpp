#include "pdfservice.h"

#include "pdfworker.h"
#include "textmatch.h"

#include <QElapsedTimer>
#include <QPdfDocument>
#include <QPdfLink>
#include <QPdfSearchModel>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

// State shared by the steps of one search; each posted step holds the step function strongly,
// the state only weakly, so the function dies with the last queued step.
struct SearchJob
{
    explicit SearchJob(const QString &searched)
        : text(searched)
        , match(searched)
    {
    }

    PdfWorker *worker = nullptr;
    QString text;
    PdfService::Generation loadCounter;
    PdfService::Generation searchCounter;
    std::shared_ptr<std::atomic<quint64>> stepCounter;
    std::shared_ptr<std::atomic<bool>> readerActive;
    // While the text reader works up from the first page, the worker reads from the last one
    // down; the two meet somewhere in the middle.
    int unreadTail = -1;
    quint64 loadGeneration = 0;
    quint64 searchGeneration = 0;
    TextMatch match;
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
// Longest stretch of searching pages whose text is known before other jobs get their turn.
constexpr qint64 StepMs = 8;

// The first `results` hits on `page`, without their rectangles, which are found once the page
// is shown. The engine reports matches in page order without overlap, so the n-th result is
// the n-th occurrence in the page text.
QList<SearchHit> pageHits(int page, const QString &pageText, const QString &text, qsizetype results)
{
    QList<SearchHit> hits;
    qsizetype next = 0;
    for (qsizetype i = 0; i < results; ++i) {
        const qsizetype start = pageText.indexOf(text, next, Qt::CaseInsensitive);
        if (start >= 0)
            next = start + text.size();
        hits.append(SearchHit{page, {}, hitContext(pageText, start, text)});
    }
    return hits;
}

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

// Puts `pageHits` in the place of the hits on their page; the engine's answer stands should it
// count otherwise than the text did, within the hit limit.
void replacePageHits(QList<SearchHit> &hits, int page, const QList<SearchHit> &pageHits)
{
    const auto first = std::find_if(hits.begin(), hits.end(), [page](const SearchHit &hit) { return hit.page == page; });
    if (first == hits.end())
        return;
    const auto last = std::find_if(first, hits.end(), [page](const SearchHit &hit) { return hit.page != page; });
    const qsizetype at = first - hits.begin();
    const qsizetype room = PdfService::SearchHitLimit - (hits.size() - (last - first));
    hits.erase(first, last);
    hits.insert(at, std::min(room, pageHits.size()), SearchHit());
    std::copy_n(pageHits.cbegin(), std::min(room, pageHits.size()), hits.begin() + at);
}

} // namespace

void PdfService::search(const QString &text)
{
    const quint64 searchGeneration = ++*m_searchGeneration;
    const quint64 loadGeneration = m_loadGeneration->load();
    m_searchText = text;
    m_hits.clear();
    m_pagesWithoutRects.clear();
    m_searching = false;
    if (pageCount() == 0 || text.isEmpty()) {
        Q_EMIT searchFinished({}, false);
        return;
    }

    auto job = std::make_shared<SearchJob>(text);
    job->worker = m_worker;
    job->loadCounter = m_loadGeneration;
    job->searchCounter = m_searchGeneration;
    job->stepCounter = m_searchSteps;
    job->readerActive = m_readerActive;
    job->loadGeneration = loadGeneration;
    job->searchGeneration = searchGeneration;
    job->post = [this, loadGeneration, searchGeneration](const QList<SearchHit> &hits, bool finished) {
        QMetaObject::invokeMethod(
            this, [=, this] { onSearchReply(loadGeneration, searchGeneration, hits, finished); }, Qt::QueuedConnection);
    };

    auto step = std::make_shared<std::function<void(int)>>();
    *step = [job](int index) {
        QPdfDocument *document = job->worker->document();
        if (job->stale() || !document)
            return;
        const int steps = job->pages.isEmpty() ? document->pageCount() : int(job->pages.size());
        QElapsedTimer clock;
        clock.start();
        // Pages whose text is known cost little; one the engine must read ends the step, so
        // renders posted meanwhile are served between such pages.
        bool extracted = false;
        const auto pageAt = [&job](int i) { return job->pages.isEmpty() ? i : job->pages.at(i); };
        if (job->unreadTail < 0)
            job->unreadTail = steps - 1;
        for (; index < steps && job->hits.size() < SearchHitLimit && !extracted && !clock.hasExpired(StepMs); ++index) {
            const int page = pageAt(index);
            extracted = !job->worker->hasPageText(page);
            if (extracted && job->readerActive->load()) {
                while (job->unreadTail > index && job->worker->hasPageText(pageAt(job->unreadTail)))
                    --job->unreadTail;
                if (job->unreadTail > index) {
                    job->worker->pageText(pageAt(job->unreadTail--));
                    break;
                }
            }
            ++*job->stepCounter;
            const QString pageText = job->worker->pageText(page);
            const int results = job->match.count(pageText);
            job->hits += pageHits(page, pageText, job->text, std::min<qsizetype>(results, SearchHitLimit - job->hits.size()));
        }
        if (index < steps && job->hits.size() < SearchHitLimit) {
            if (job->hits.size() > job->reported && (job->reported == 0 || job->sinceReport.hasExpired(ProgressIntervalMs)))
                job->report(false);
            if (auto next = job->step.lock())
                QTimer::singleShot(0, job->worker, [next, index] { (*next)(index); });
            return;
        }
        job->worker->searchResults().insert(job->text, new QList<SearchHit>(job->hits), resultBytes(job->hits));
        job->report(true);
    };
    job->step = step;
    // Reading ahead waits while the operator's search reads the pages itself.
    m_searching = true;
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
    if (!finished) {
        Q_EMIT searchProgress(hits);
        return;
    }
    m_searching = false;
    m_hits = hits;
    for (const SearchHit &hit : hits) {
        if (hit.rects.isEmpty())
            m_pagesWithoutRects.insert(hit.page);
    }
    Q_EMIT searchFinished(hits, hits.size() >= SearchHitLimit);
    pump();
}

void PdfService::findHitRects(int page)
{
    if (!m_pagesWithoutRects.remove(page))
        return;
    PdfWorker *worker = m_worker;
    const Generation loadCounter = m_loadGeneration;
    const Generation searchCounter = m_searchGeneration;
    const quint64 loadGeneration = loadCounter->load();
    const quint64 searchGeneration = searchCounter->load();
    postToWorker([this, worker, loadCounter, searchCounter, loadGeneration, searchGeneration, page, text = m_searchText] {
        QPdfDocument *document = worker->document();
        if (!document || loadCounter->load() != loadGeneration || searchCounter->load() != searchGeneration)
            return;
        // The engine's own search of this one page gives the rectangles, in the order of the hits.
        QPdfSearchModel model;
        model.setDocument(document);
        model.setSearchString(text);
        const QList<QPdfLink> results = model.resultsOnPage(page);
        QList<SearchHit> hits = pageHits(page, worker->pageText(page), text, results.size());
        for (qsizetype i = 0; i < hits.size(); ++i)
            hits[i].rects = results.at(i).rectangles();
        if (QList<SearchHit> *known = worker->searchResults().object(text))
            replacePageHits(*known, page, hits);
        QMetaObject::invokeMethod(
            this, [=, this] { onHitRects(loadGeneration, searchGeneration, page, hits); }, Qt::QueuedConnection);
    });
}

void PdfService::onHitRects(quint64 loadGeneration, quint64 searchGeneration, int page, const QList<SearchHit> &hits)
{
    if (m_loadGeneration->load() != loadGeneration || m_searchGeneration->load() != searchGeneration)
        return;
    replacePageHits(m_hits, page, hits);
    Q_EMIT searchHitsUpdated(m_hits);
}
