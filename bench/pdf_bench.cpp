#include "bench.h"

#include "pdf/pdfservice.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int TimeoutMs = 120000;
constexpr int ReloadRuns = 5;
constexpr int CacheHitSamples = 200;
constexpr int ThroughputPages = 50;
const QSize OutputSize(1920, 1080);

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Calls `start`, then runs an event loop until one of the service's `stops` signals fires; false when
// none did within the time limit.
template<typename... Signals>
bool runUntil(PdfService &service, const std::function<void()> &start, Signals... stops)
{
    QEventLoop loop;
    bool fired = false;
    QList<QMetaObject::Connection> connections;
    (connections.append(QObject::connect(&service, stops, &loop, [&] {
         fired = true;
         loop.quit();
     })),
     ...);
    start();
    if (!fired) {
        QTimer::singleShot(TimeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    for (const QMetaObject::Connection &connection : connections)
        QObject::disconnect(connection);
    return fired;
}

// Loads `path`; returns the milliseconds from load() to `loaded`, or a negative value after
// reporting the failure.
double loadDocument(PdfService &service, const QString &bench, const Bench::Document &doc)
{
    QString error;
    const auto connection = QObject::connect(&service, &PdfService::failed, &service,
                                             [&error](const QString &message) { error = message; });
    QElapsedTimer timer;
    const bool done = runUntil(
        service, [&] {
            timer.start();
            service.load(doc.path);
        }, &PdfService::loaded, &PdfService::failed);
    const double ms = msSince(timer);
    QObject::disconnect(connection);
    if (done && error.isEmpty())
        return ms;
    Bench::report(bench, doc, 0, {{u"error"_s, done ? error : u"timed out"_s}});
    return -1;
}

// Renders one page on the "output" channel; returns the milliseconds to delivery or a
// negative value.
double renderOutput(PdfService &service, int page)
{
    bool ok = false;
    const auto connection = QObject::connect(&service, &PdfService::rendered, &service,
                                             [&ok](const QString &, int, const QImage &image) { ok = !image.isNull(); });
    QElapsedTimer timer;
    const bool done = runUntil(
        service, [&] {
            timer.start();
            service.render(u"output"_s, page, OutputSize, 0, RenderPriority::Output, RenderShape::Whole);
        },
        &PdfService::rendered, &PdfService::renderFailed);
    const double ms = msSince(timer);
    QObject::disconnect(connection);
    return done && ok ? ms : -1;
}

void reportRenderFailure(const QString &bench, const Bench::Document &doc, int pages, int page)
{
    Bench::report(bench, doc, pages, {{u"error"_s, u"page %1 could not be rendered"_s.arg(page + 1)}});
}

// Registers `function` for the long text document and for the deck; documents given on the
// command line are measured once.
struct OnBoth
{
    OnBoth(const char *name, const Bench::Function &function)
        : text(name, false, function)
        , deck(name, true, [function](const Bench::Document &doc) {
            if (doc.generated)
                function(doc);
        })
    {
    }
    Bench::Registration text;
    Bench::Registration deck;
};

void benchLoad(const Bench::Document &doc)
{
    const QString name = u"load"_s;
    PdfService service;
    const double first = loadDocument(service, name, doc);
    if (first < 0)
        return;
    QList<double> reloads;
    for (int run = 0; run < ReloadRuns; ++run) {
        const double ms = loadDocument(service, name, doc);
        if (ms < 0)
            return;
        reloads.append(ms);
    }
    Bench::report(name, doc, service.pageCount(),
                  {{u"ms"_s, first}, {u"p50_ms"_s, Bench::percentile(reloads, 50)}, {u"reloads"_s, ReloadRuns}});
}

void benchFirstOutput(const Bench::Document &doc)
{
    const QString name = u"first_output"_s;
    PdfService service;
    QElapsedTimer total;
    total.start();
    if (loadDocument(service, name, doc) < 0)
        return;
    const double render = renderOutput(service, 0);
    const double ms = msSince(total);
    if (render < 0)
        return reportRenderFailure(name, doc, service.pageCount(), 0);
    Bench::report(name, doc, service.pageCount(), {{u"ms"_s, ms}, {u"render_ms"_s, render}});
}

void benchCacheHit(const Bench::Document &doc)
{
    const QString name = u"cache_hit"_s;
    PdfService service;
    if (loadDocument(service, name, doc) < 0)
        return;
    if (renderOutput(service, 0) < 0)
        return reportRenderFailure(name, doc, service.pageCount(), 0);
    const quint64 jobs = service.renderJobCount();
    QList<double> samples;
    for (int i = 0; i < CacheHitSamples; ++i) {
        const double ms = renderOutput(service, 0);
        if (ms < 0)
            return reportRenderFailure(name, doc, service.pageCount(), 0);
        samples.append(ms);
    }
    Bench::report(name, doc, service.pageCount(),
                  {{u"p50_ms"_s, Bench::percentile(samples, 50)},
                   {u"p95_ms"_s, Bench::percentile(samples, 95)},
                   {u"samples"_s, CacheHitSamples},
                   {u"worker_jobs"_s, qint64(service.renderJobCount() - jobs)}});
}

void benchRenderThroughput(const Bench::Document &doc)
{
    const QString name = u"render_throughput"_s;
    PdfService service;
    if (loadDocument(service, name, doc) < 0)
        return;
    const int pages = qMin(ThroughputPages, service.pageCount());
    QList<double> samples;
    QElapsedTimer total;
    total.start();
    for (int page = 0; page < pages; ++page) {
        const double ms = renderOutput(service, page);
        if (ms < 0)
            return reportRenderFailure(name, doc, service.pageCount(), page);
        samples.append(ms);
    }
    const double ms = msSince(total);
    Bench::report(name, doc, service.pageCount(),
                  {{u"rendered_pages"_s, pages},
                   {u"pages_per_s"_s, pages / (ms / 1000.0)},
                   {u"p50_ms"_s, Bench::percentile(samples, 50)},
                   {u"p95_ms"_s, Bench::percentile(samples, 95)}});
}

void searchFor(PdfService &service, const Bench::Document &doc, const QString &word)
{
    QList<SearchHit> hits;
    bool truncated = false;
    const auto connection = QObject::connect(&service, &PdfService::searchFinished, &service,
                                             [&](const QList<SearchHit> &found, bool limited) {
                                                 hits = found;
                                                 truncated = limited;
                                             });
    QElapsedTimer timer;
    const bool done =
        runUntil(
        service,
        [&] {
            timer.start();
            service.search(word);
        },
        &PdfService::searchFinished);
    const double ms = msSince(timer);
    QObject::disconnect(connection);
    if (!done) {
        Bench::report(u"search"_s, doc, service.pageCount(), {{u"word"_s, word}, {u"error"_s, u"timed out"_s}});
        return;
    }
    Bench::report(u"search"_s, doc, service.pageCount(),
                  {{u"word"_s, word}, {u"ms"_s, ms}, {u"hits"_s, hits.size()}, {u"truncated"_s, truncated}});
}

void benchSearch(const Bench::Document &doc)
{
    const QString name = u"search"_s;
    if (!doc.generated && doc.searchWord.isEmpty()) {
        Bench::report(name, doc, 0, {{u"note"_s, u"skipped: no --search word given"_s}});
        return;
    }
    PdfService service;
    if (loadDocument(service, name, doc) < 0)
        return;
    if (!doc.generated) {
        searchFor(service, doc, doc.searchWord);
        return;
    }
    // A word on every page, then one on a single page near the end: both scan the whole document.
    searchFor(service, doc, u"common"_s);
    searchFor(service, doc, u"pagemarker777"_s);
}

const OnBoth loadBench("load", benchLoad);
const OnBoth firstOutputBench("first_output", benchFirstOutput);
const Bench::Registration cacheHitBench("cache_hit", true, benchCacheHit);
const OnBoth renderThroughputBench("render_throughput", benchRenderThroughput);
const Bench::Registration searchBench("search", false, benchSearch);

} // namespace
