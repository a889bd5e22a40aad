// Long documents: time to the first frame against the page count, and the output's wait
// behind a large reader render.
#include "bench.h"

#include "pdf/pdfservice.h"
#include "pdfgen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int LongPages = 3000;
constexpr int VerifyRuns = 5;
constexpr int BehindRuns = 11;
const QSize OutputSize(1920, 1080);

// Generated once per run and shared by the benches below; empty when it could not be written.
QString generatedText(int pages)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(u"text-%1.pdf"_s.arg(pages));
    if (!QFileInfo::exists(path) && !PdfGen::writeTextDocument(path, pages).isEmpty())
        return QString();
    return path;
}

double msOf(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

// Wall time of one whole run of `program` beside this one; negative when it did not exit with 0.
// Settings and log go to a directory of their own; `errors`, when given, gets standard error.
double processRunMs(const QString &program, const QStringList &arguments, QByteArray *errors = nullptr,
                    const QString &logRules = QString())
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    if (!logRules.isEmpty())
        environment.insert(u"QT_LOGGING_RULES"_s, logRules);
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!errors)
        process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1.0;
    const double ms = msOf(clock.nsecsElapsed());
    if (errors)
        *errors = process.readAllStandardError();
    return ms;
}

double verifyRunMs(const QString &path)
{
    return processRunMs(u"olvanti-vivuderidazi"_s, {u"--verify"_s, path});
}

// The pixel size of the first frame a `--verify` run renders, read from its render log.
QSize verifyFrameSize(const QString &path)
{
    QByteArray errors;
    if (processRunMs(u"olvanti-vivuderidazi"_s, {u"--verify"_s, path}, &errors, u"olvanti.pdf.debug=true"_s) < 0)
        return QSize();
    static const QRegularExpression line(u"Page 1 delivered at (\\d+)x(\\d+) on output"_s);
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(errors));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

// Start to first frame as a whole process: `--verify` against the bare reference program that
// loads the same file and renders the same page at the same pixel size, in turns; medians.
void benchStartToFirstFrame(const Bench::Document &doc)
{
    const QString name = u"start_to_first_frame"_s;
    const QString path = doc.path;
    const QSize frame = verifyFrameSize(path);
    if (frame.isEmpty()) {
        Bench::report(name, doc, 0, {{u"error"_s, u"no frame size in the verify log"_s}});
        return;
    }
    const QStringList bare{path, QString::number(frame.width()), QString::number(frame.height())};
    QList<double> ours;
    QList<double> reference;
    for (int run = 0; run < 3 * VerifyRuns; ++run) {
        ours.append(verifyRunMs(path));
        reference.append(processRunMs(u"olvanti-bare-frame"_s, bare));
    }
    if (ours.contains(-1.0) || reference.contains(-1.0)) {
        Bench::report(name, doc, 0, {{u"error"_s, u"a run failed"_s}});
        return;
    }
    const double our = Bench::percentile(ours, 50);
    const double bareMs = Bench::percentile(reference, 50);
    Bench::report(name, doc, 0,
                  {{u"frame"_s, u"%1x%2"_s.arg(frame.width()).arg(frame.height())},
                   {u"p50_ms"_s, our},
                   {u"bare_p50_ms"_s, bareMs},
                   {u"ratio"_s, our / bareMs},
                   {u"runs"_s, 3 * VerifyRuns}});
}

// Medians of `runs` runs on each path, taken in turns so that a busy moment of the machine
// falls on all of them alike; empty when a run failed.
QList<double> verifyMs(const QStringList &paths, int runs)
{
    QList<QList<double>> samples(paths.size());
    for (int run = 0; run < runs; ++run) {
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const double ms = verifyRunMs(paths.at(i));
            if (ms < 0)
                return {};
            samples[i].append(ms);
        }
    }
    QList<double> medians;
    for (const QList<double> &times : std::as_const(samples))
        medians.append(Bench::percentile(times, 50));
    return medians;
}

void benchVerify(const Bench::Document &doc)
{
    const QString name = u"verify"_s;
    if (!doc.generated) {
        const QList<double> ms = verifyMs({doc.path}, VerifyRuns);
        Bench::report(name, doc, 0, {{u"p50_ms"_s, ms.value(0, -1.0)}, {u"runs"_s, VerifyRuns}});
        return;
    }
    const QString one = generatedText(1);
    const QString many = generatedText(LongPages);
    if (one.isEmpty() || many.isEmpty()) {
        Bench::report(name, doc, 0, {{u"error"_s, u"cannot generate documents"_s}});
        return;
    }
    const QList<double> ms = verifyMs({one, many}, 3 * VerifyRuns);
    const double oneMs = ms.value(0, -1.0);
    const double manyMs = ms.value(1, -1.0);
    const Bench::Document longDoc{many, u"generated-text-%1"_s.arg(LongPages), true, QString()};
    Bench::report(name, longDoc, LongPages,
                  {{u"one_page_p50_ms"_s, oneMs},
                   {u"long_p50_ms"_s, manyMs},
                   {u"ratio"_s, oneMs > 0 ? manyMs / oneMs : -1.0},
                   {u"runs"_s, 3 * VerifyRuns}});
}

// From load() to the first "output" image of page 1 on a long generated document.
void benchFirstOutputLong(const Bench::Document &doc)
{
    if (!doc.generated)
        return;
    const QString path = generatedText(LongPages);
    QList<double> samples;
    int pages = 0;
    for (int run = 0; run < VerifyRuns; ++run) {
        PdfService service;
        bool delivered = false;
        QObject::connect(&service, &PdfService::loaded, &service,
                         [&] { service.render(u"output"_s, 0, OutputSize, 0, RenderPriority::Output, RenderShape::Whole); });
        QObject::connect(&service, &PdfService::rendered, &service, [&] { delivered = true; });
        QElapsedTimer clock;
        clock.start();
        service.load(path);
        if (path.isEmpty() || !Bench::waitUntil([&] { return delivered; })) {
            Bench::report(u"first_output"_s, doc, 0, {{u"error"_s, u"no frame"_s}});
            return;
        }
        samples.append(msOf(clock.nsecsElapsed()));
        pages = service.pageCount();
    }
    const Bench::Document longDoc{path, u"generated-text-%1"_s.arg(LongPages), true, QString()};
    Bench::report(u"first_output"_s, longDoc, pages,
                  {{u"p50_ms"_s, Bench::percentile(samples, 50)}, {u"runs"_s, VerifyRuns}});
}

// One search of `word` from start to finish: total time and time to the first hits shown.
struct SearchTimes
{
    double ms = -1;
    double firstHitsMs = -1;
    qsizetype hits = 0;
};

SearchTimes timeSearch(PdfService &service, const QString &word)
{
    SearchTimes times;
    QElapsedTimer clock;
    bool done = false;
    const auto progress = QObject::connect(&service, &PdfService::searchProgress, &service, [&] {
        if (times.firstHitsMs < 0)
            times.firstHitsMs = msOf(clock.nsecsElapsed());
    });
    const auto finished = QObject::connect(&service, &PdfService::searchFinished, &service,
                                           [&](const QList<SearchHit> &hits) {
                                               times.ms = msOf(clock.nsecsElapsed());
                                               if (times.firstHitsMs < 0 && !hits.isEmpty())
                                                   times.firstHitsMs = times.ms;
                                               times.hits = hits.size();
                                               done = true;
                                           });
    clock.start();
    service.search(word);
    Bench::waitUntil([&] { return done; });
    QObject::disconnect(progress);
    QObject::disconnect(finished);
    return times;
}

// A search, then the same search again on the same document.
void benchSearchRepeat(const Bench::Document &doc)
{
    const QString name = u"search_repeat"_s;
    if (!doc.generated && doc.searchWord.isEmpty())
        return;
    PdfService service;
    if (!Bench::opened(service, doc.path))
        return;
    const QStringList words = doc.generated ? QStringList{u"common"_s, u"pagemarker777"_s} : QStringList{doc.searchWord};
    for (const QString &word : words) {
        const SearchTimes first = timeSearch(service, word);
        QList<double> repeats;
        for (int run = 0; run < VerifyRuns; ++run)
            repeats.append(timeSearch(service, word).ms);
        const double repeat = Bench::percentile(repeats, 50);
        Bench::report(name, doc, service.pageCount(),
                      {{u"word"_s, word},
                       {u"hits"_s, qint64(first.hits)},
                       {u"first_ms"_s, first.ms},
                       {u"first_hits_shown_ms"_s, first.firstHitsMs},
                       {u"repeat_p50_ms"_s, repeat},
                       {u"speedup"_s, repeat > 0 ? first.ms / repeat : -1.0}});
    }
}

// Typing on in the search box: each longer text looks only where the shorter one was found.
// Against the same text searched on a document nothing was searched on yet.
void benchSearchRefine(const Bench::Document &doc)
{
    if (!doc.generated)
        return;
    const QStringList texts{u"pagemarker7"_s, u"pagemarker77"_s, u"pagemarker777"_s};
    PdfService typing;
    if (!Bench::opened(typing, doc.path))
        return;
    QList<SearchTimes> refined;
    for (const QString &text : texts)
        refined.append(timeSearch(typing, text));
    for (qsizetype i = 1; i < texts.size(); ++i) {
        PdfService fresh;
        if (!Bench::opened(fresh, doc.path))
            return;
        const SearchTimes whole = timeSearch(fresh, texts.at(i));
        Bench::report(u"search_refine"_s, doc, fresh.pageCount(),
                      {{u"from"_s, texts.at(i - 1)},
                       {u"word"_s, texts.at(i)},
                       {u"hits"_s, qint64(refined.at(i).hits)},
                       {u"refined_ms"_s, refined.at(i).ms},
                       {u"unrefined_ms"_s, whole.ms},
                       {u"speedup"_s, refined.at(i).ms > 0 ? whole.ms / refined.at(i).ms : -1.0}});
    }
}

// An output request made while a reader page at high zoom (16 MP) is being rendered: how long
// the audience waits, against the same output render on an idle queue.
void benchOutputBehindReader(const Bench::Document &doc)
{
    const QString name = u"output_behind_reader"_s;
    PdfService service;
    if (!Bench::opened(service, doc.path) || service.pageCount() < 2)
        return;
    QList<double> behind;
    QList<double> bare;
    for (int run = 0; run < BehindRuns; ++run) {
        const int page = 1 + run % (service.pageCount() - 1);
        // A size of its own each run, so a short deck's repeated page is never a cache hit.
        const QSize target = OutputSize - QSize(2 * run, 2 * run);
        QElapsedTimer clock;
        double outputMs = -1;
        bool readerDone = false;
        const auto connection = QObject::connect(&service, &PdfService::rendered, &service,
                                                 [&](const QString &channel) {
                                                     if (channel == u"output"_s)
                                                         outputMs = msOf(clock.nsecsElapsed());
                                                     else
                                                         readerDone = true;
                                                 });
        service.render(u"reader"_s, 0, QSize(4000 + run, 4000 + run), 0, RenderPriority::Reader);
        // Let the reader job reach the worker first, as when the operator zooms in.
        QCoreApplication::processEvents();
        clock.start();
        service.render(u"output"_s, page, target, 0, RenderPriority::Output, RenderShape::Whole);
        Bench::waitUntil([&] { return outputMs >= 0 && readerDone; });
        QObject::disconnect(connection);
        behind.append(outputMs);
        // The same page by the engine alone, never from the service's cache.
        bare.append(Bench::bareRenderMs(doc.path, page, target));
    }
    Bench::report(name, doc, service.pageCount(),
                  {{u"p50_ms"_s, Bench::percentile(behind, 50)},
                   {u"max_ms"_s, Bench::percentile(behind, 100)},
                   {u"bare_p50_ms"_s, Bench::percentile(bare, 50)},
                   {u"over_bare_ms"_s, Bench::percentile(behind, 50) - Bench::percentile(bare, 50)},
                   {u"runs"_s, BehindRuns}});
}

const Bench::Registration outputBehindReaderBench("output_behind_reader", true, benchOutputBehindReader);
const Bench::Registration searchRepeatBench("search_repeat", false, benchSearchRepeat);
const Bench::Registration searchRefineBench("search_refine", false, benchSearchRefine);
const Bench::Registration verifyBench("verify", false, benchVerify);
const Bench::Registration startToFrameBench("start_to_first_frame", true, benchStartToFirstFrame);
const Bench::Registration firstOutputLongBench("first_output", false, benchFirstOutputLong);

} // namespace
