// Search against the text-extraction tools of other PDF engines, a search made a while after
// opening, and a page-by-page check that searching the kept page text counts as the engine does.
#include "bench.h"

#include "pdf/pdfservice.h"
#include "pdf/textmatch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QPdfDocument>
#include <QPdfSearchModel>
#include <QPdfSelection>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int PeerRuns = 3;
constexpr int OpenedForMs = 10000;

double msOf(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// Processor time of this process and of the children it has reaped, in milliseconds: what a
// run cost, whatever else the machine was doing.
double cpuMs()
{
    double ms = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        ms += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    return ms;
}

// The word searched in `doc`: the one given, else one that the generated documents hold.
QString wordFor(const Bench::Document &doc)
{
    return doc.searchWord.isEmpty() ? u"common"_s : doc.searchWord;
}

// From load() on a fresh service to the end of a search for `word`, after `waitMs` of being open.
double loadAndSearchMs(const QString &path, const QString &word, int waitMs, qsizetype *hits, double *searchMs,
                       quint64 *workerPages = nullptr)
{
    PdfService service;
    QElapsedTimer clock;
    clock.start();
    if (!Bench::opened(service, path))
        return -1;
    if (waitMs > 0)
        Bench::waitUntil([&] { return clock.hasExpired(waitMs); }, waitMs + 1000);
    bool done = false;
    QElapsedTimer searchClock;
    QObject::connect(&service, &PdfService::searchFinished, &service, [&](const QList<SearchHit> &found) {
        *hits = found.size();
        done = true;
    });
    searchClock.start();
    service.search(word);
    if (!Bench::waitUntil([&] { return done; }, 300000))
        return -1;
    *searchMs = msOf(searchClock);
    if (workerPages)
        *workerPages = service.textExtractionCount();
    return msOf(clock);
}

// Wall time of a whole shell pipeline; negative when it failed.
double pipelineMs(const QString &command)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(u"sh"_s, {u"-c"_s, command});
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return msOf(clock);
}

QString quoted(const QString &text)
{
    return u"'"_s + QString(text).replace(u"'"_s, u"'\\''"_s) + u"'"_s;
}

// First search of a whole document, ours against `pdftotext | grep` and `mutool draw | grep`,
// whole runs in turns; medians and their ratios.
void searchAgainstPeers(const Bench::Document &doc)
{
    const QString name = u"search_peers"_s;
    const QString word = wordFor(doc);
    const bool poppler = !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty();
    const bool mupdf = !QStandardPaths::findExecutable(u"mutool"_s).isEmpty();
    const QString grep = u" | grep -ic -- "_s + quoted(word);
    QList<double> ours, popplerMs, mupdfMs, oursCpu, popplerCpu, mupdfCpu;
    qsizetype hits = 0;
    quint64 workerPages = 0;
    for (int run = 0; run < PeerRuns; ++run) {
        double searchMs = 0;
        double cpu = cpuMs();
        ours.append(loadAndSearchMs(doc.path, word, 0, &hits, &searchMs, &workerPages));
        oursCpu.append(cpuMs() - cpu);
        if (poppler) {
            cpu = cpuMs();
            popplerMs.append(pipelineMs(u"pdftotext "_s + quoted(doc.path) + u" -"_s + grep));
            popplerCpu.append(cpuMs() - cpu);
        }
        if (mupdf) {
            cpu = cpuMs();
            mupdfMs.append(pipelineMs(u"mutool draw -F txt -o - "_s + quoted(doc.path) + grep));
            mupdfCpu.append(cpuMs() - cpu);
        }
    }
    const double our = Bench::percentile(ours, 50);
    // Pages the worker read itself; the text reader process read the others.
    QJsonObject figures{{u"word"_s, word}, {u"hits"_s, qint64(hits)}, {u"ms"_s, our}, {u"runs"_s, PeerRuns},
                        {u"worker_pages"_s, qint64(workerPages)}, {u"cpu_ms"_s, Bench::percentile(oursCpu, 50)}};
    if (poppler) {
        figures.insert(u"pdftotext_ms"_s, Bench::percentile(popplerMs, 50));
        figures.insert(u"ratio_pdftotext"_s, our / Bench::percentile(popplerMs, 50));
        figures.insert(u"pdftotext_cpu_ms"_s, Bench::percentile(popplerCpu, 50));
    }
    if (mupdf) {
        figures.insert(u"mutool_ms"_s, Bench::percentile(mupdfMs, 50));
        figures.insert(u"ratio_mutool"_s, our / Bench::percentile(mupdfMs, 50));
        figures.insert(u"mutool_cpu_ms"_s, Bench::percentile(mupdfCpu, 50));
    }
    Bench::report(name, doc, 0, figures);
}

// A search started ten seconds after the document was opened.
void searchAfterOpening(const Bench::Document &doc)
{
    qsizetype hits = 0;
    double searchMs = -1;
    loadAndSearchMs(doc.path, wordFor(doc), OpenedForMs, &hits, &searchMs);
    Bench::report(u"search_after_open"_s, doc, 0,
                  {{u"word"_s, wordFor(doc)}, {u"open_ms"_s, OpenedForMs}, {u"ms"_s, searchMs}, {u"hits"_s, qint64(hits)}});
}

// Resident memory in MiB of this process, or -1.
double residentMiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Resident memory once the document is open and every page size is known, against before.
void memoryAfterSizes(const Bench::Document &doc)
{
    const double before = residentMiB();
    PdfService service;
    QElapsedTimer clock;
    clock.start();
    if (!Bench::opened(service, doc.path) || !Bench::waitUntil([&] { return service.allPageSizesKnown(); }, 120000))
        return;
    const double sizesMs = msOf(clock);
    Bench::report(u"memory_after_sizes"_s, doc, service.pageCount(),
                  {{u"rss_before_mib"_s, before}, {u"rss_mib"_s, residentMiB()}, {u"sizes_ms"_s, sizesMs}});
}

// Every page: the engine's own count of matches against the count in the page's kept text.
void searchSameAnswers(const Bench::Document &doc)
{
    QPdfDocument document;
    if (document.load(doc.path) != QPdfDocument::Error::None)
        return;
    QStringList words{u"the"_s, u"e"_s, u"of the"_s, u"-"_s, u"."_s, u"a "_s, u" in"_s, u"и"_s, u"на"_s, u"的"_s, u"中文"_s, u"fi"_s};
    if (!doc.searchWord.isEmpty())
        words.prepend(doc.searchWord);
    QList<QString> texts;
    for (int page = 0; page < document.pageCount(); ++page)
        texts.append(document.getAllText(page).text());
    for (const QString &word : std::as_const(words)) {
        const TextMatch match(word);
        QPdfSearchModel model;
        model.setDocument(&document);
        model.setSearchString(word);
        qint64 engine = 0;
        qint64 ours = 0;
        QList<int> differing;
        for (int page = 0; page < document.pageCount(); ++page) {
            const qsizetype a = model.resultsOnPage(page).size();
            const int b = match.count(texts.at(page));
            engine += a;
            ours += b;
            if (a != b)
                differing.append(page + 1);
        }
        QString pages;
        for (int page : std::as_const(differing).first(std::min<qsizetype>(differing.size(), 10)))
            pages += QString::number(page) + u' ';
        Bench::report(u"search_same_answers"_s, doc, document.pageCount(),
                      {{u"word"_s, word},
                       {u"engine_hits"_s, engine},
                       {u"kept_text_hits"_s, ours},
                       {u"pages_differing"_s, differing.size()},
                       {u"first_differing"_s, pages.trimmed()}});
    }
}

const Bench::Registration peersBench("search_peers", false, searchAgainstPeers);
const Bench::Registration afterOpenBench("search_after_open", false, searchAfterOpening);
const Bench::Registration sameBench("search_same_answers", false, searchSameAnswers);
const Bench::Registration memoryBench("memory_after_sizes", false, memoryAfterSizes);

} // namespace
