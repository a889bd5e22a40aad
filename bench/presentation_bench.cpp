// Slide changes and transition frames at 1920 x 1080: what the audience waits for.
#include "bench.h"

#include "pdf/pdfservice.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonObject>
#include <QMetaEnum>
#include <QVariantAnimation>

#include <algorithm>
#include <ctime>
#include <functional>

namespace {

const QSize OutputSize(1920, 1080);
const QString PreloadChannel = QStringLiteral("preload");
constexpr int MinJumps = 30;

using Bench::forgetBareDocuments;
using Bench::waitUntil;

double ms(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

// CPU time of the whole process (the raster engine spreads large draws over a thread pool):
// the painting's own cost, apart from the other processes on the machine.
qint64 processCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A presentation on a loaded document that records when each frame and preload arrive.
struct Stage
{
    PdfService service;
    Presentation presentation{&service};
    QElapsedTimer clock;
    qint64 frameAt = -1;
    quint64 jobsAtFrame = 0;
    int preloaded = -1;

    Stage()
    {
        presentation.setOutputSize(OutputSize);
        QObject::connect(&presentation, &Presentation::frameReady, &presentation, [this](const QImage &image) {
            if (image.isNull())
                return;
            frameAt = clock.nsecsElapsed();
            jobsAtFrame = service.renderJobCount();
        });
        QObject::connect(&service, &PdfService::rendered, &presentation,
                         [this](const QString &channel, int page, const QImage &) {
                             if (channel == PreloadChannel)
                                 preloaded = page;
                         });
    }

    bool load(const QString &path)
    {
        service.load(path);
        return waitUntil([this] { return presentation.livePage() == 0 && presentation.pendingPage() < 0; });
    }

    // Times one change of the live page to `page`, made by `change`; -1 on a timeout.
    double timeChange(int page, const std::function<void()> &change, bool *servedFromCache)
    {
        const quint64 jobs = service.renderJobCount();
        frameAt = -1;
        clock.start();
        change();
        if (!waitUntil([&] { return frameAt >= 0 && presentation.livePage() == page; }))
            return -1.0;
        *servedFromCache = jobsAtFrame == jobs;
        return ms(frameAt);
    }

    bool preloadLanded(int page)
    {
        return waitUntil([&] { return preloaded == page; });
    }
};

void slideChangeHit(const Bench::Document &doc)
{
    Stage stage;
    if (!stage.load(doc.path))
        return;
    const int pages = stage.service.pageCount();
    const int steps = qMin(200, pages - 1);
    QList<double> samples;
    int hits = 0;
    for (int step = 0; step < steps; ++step) {
        const int next = stage.presentation.livePage() + 1;
        // The operator's cadence: the next page has been preloaded by the time of the press.
        if (!stage.preloadLanded(next))
            break;
        bool hit = false;
        const double latency = stage.timeChange(next, [&] { stage.presentation.next(); }, &hit);
        if (latency < 0)
            break;
        samples.append(latency);
        hits += hit ? 1 : 0;
    }
    Bench::report(QStringLiteral("slide_change_hit"), doc, pages,
                  {{QStringLiteral("steps"), int(samples.size())},
                   {QStringLiteral("cache_hits"), hits},
                   {QStringLiteral("p50_ms"), Bench::percentile(samples, 50)},
                   {QStringLiteral("p95_ms"), Bench::percentile(samples, 95)}});
}

// Jumps to pages never shown before, each on a fresh stage. With `settle` each jump starts
// from an idle queue, so the time is the page's own; without, it follows the previous frame at
// once, while that frame's preload would be under way.
// With `bare`, each jump is followed by the engine's bare render of the same page, so that both
// meet the machine in the same state.
QList<double> farJumps(const Bench::Document &doc, const QList<int> &targets, bool settle, int *misses,
                       QList<double> *bare = nullptr)
{
    Stage stage;
    QList<double> samples;
    if (!stage.load(doc.path))
        return samples;
    const int pages = stage.service.pageCount();
    for (const int page : targets) {
        const int live = stage.presentation.livePage();
        if (settle && live + 1 < pages && !stage.preloadLanded(live + 1))
            break;
        bool hit = false;
        const double latency = stage.timeChange(page, [&] { stage.presentation.goToPage(page); }, &hit);
        if (latency < 0)
            break;
        samples.append(latency);
        *misses += hit ? 0 : 1;
        if (bare)
            bare->append(Bench::bareRenderMs(doc.path, page, OutputSize));
    }
    return samples;
}

// The median of each sample over its partner.
double pairRatio(const QList<double> &samples, const QList<double> &partners)
{
    QList<double> ratios;
    for (qsizetype i = 0; i < std::min(samples.size(), partners.size()); ++i) {
        if (partners.at(i) > 0)
            ratios.append(samples.at(i) / partners.at(i));
    }
    return Bench::percentile(ratios, 50);
}

void slideChangeMiss(const Bench::Document &doc)
{
    PdfService probe;
    if (!Bench::opened(probe, doc.path))
        return;
    const int pages = probe.pageCount();
    // Every other page from the end backwards: none of them is ever the preloaded one, and
    // the page a jump's frame preloads has not been rendered before, so back to back the next
    // jump meets that preload if it was started at once.
    QList<int> targets;
    for (int page = pages - 1; page >= 2 && targets.size() < 50; page -= 2)
        targets.append(page);

    int misses = 0;
    int backToBackMisses = 0;
    QList<double> renders;
    QList<double> samples;
    QList<double> backToBack;
    // A short deck has few such pages: its jumps are made again on fresh stages and a fresh
    // bare document, each time missing the cache as the first time did.
    const int rounds = targets.isEmpty() ? 0 : std::max<int>(1, (MinJumps + targets.size() - 1) / targets.size());
    for (int round = 0; round < rounds; ++round) {
        forgetBareDocuments();
        samples += farJumps(doc, targets, true, &misses, &renders);
        backToBack += farJumps(doc, targets, false, &backToBackMisses);
    }
    const double render = std::max(Bench::percentile(renders, 50), 1e-9);
    Bench::report(QStringLiteral("slide_change_miss"), doc, pages,
                  {{QStringLiteral("jumps"), int(samples.size())},
                   {QStringLiteral("misses"), misses},
                   {QStringLiteral("p50_ms"), Bench::percentile(samples, 50)},
                   {QStringLiteral("p95_ms"), Bench::percentile(samples, 95)},
                   {QStringLiteral("render_p50_ms"), Bench::percentile(renders, 50)},
                   {QStringLiteral("ratio"), Bench::percentile(samples, 50) / render},
                   // Each jump against the bare render right after it: steadier on a busy machine.
                   {QStringLiteral("pair_ratio"), pairRatio(samples, renders)},
                   {QStringLiteral("back_to_back_misses"), backToBackMisses},
                   {QStringLiteral("back_to_back_p50_ms"), Bench::percentile(backToBack, 50)},
                   {QStringLiteral("back_to_back_ratio"), Bench::percentile(backToBack, 50) / render}});
}

void transitionPaint(const Bench::Document &doc)
{
    // Two real pages at the output size.
    PdfService service;
    if (!Bench::opened(service, doc.path))
        return;
    const int pages = service.pageCount();
    QList<QImage> images;
    QObject::connect(&service, &PdfService::rendered, &service,
                     [&](const QString &, int, const QImage &image) { images.append(image); });
    for (int page = 0; page < qMin(2, pages); ++page) {
        service.render(QStringLiteral("bench"), page, OutputSize, 0, RenderPriority::Output);
        if (!waitUntil([&] { return images.size() > page; }))
            return;
    }
    if (images.size() == 1)
        images.append(images.first());

    PageCanvas canvas;
    canvas.resize(OutputSize);
    canvas.show();
    auto *animation = canvas.findChild<QVariantAnimation *>();
    // The window system's surface: opaque 32-bit.
    QImage surface(OutputSize, QImage::Format_RGB32);
    const QMetaEnum effects = QMetaEnum::fromType<PageCanvas::Transition>();
    for (int index = 0; index < effects.keyCount(); ++index) {
        const auto effect = PageCanvas::Transition(effects.value(index));
        canvas.setTransition(effect, 1000);
        QList<double> samples;
        QList<double> cpu;
        for (int frame = 0; frame < 40; ++frame) {
            canvas.setImage(images.at(frame % 2), false, 1);
            canvas.setImage(images.at((frame + 1) % 2), true, frame % 4 < 2 ? 1 : -1);
            if (animation->state() == QAbstractAnimation::Running) {
                animation->pause();
                animation->setCurrentTime(25 + frame * 950 / 40);
            }
            QElapsedTimer clock;
            clock.start();
            const qint64 cpuStart = processCpuNanoseconds();
            canvas.render(&surface);
            cpu.append(ms(processCpuNanoseconds() - cpuStart));
            samples.append(ms(clock.nsecsElapsed()));
        }
        Bench::report(QStringLiteral("transition_paint"), doc, pages,
                      {{QStringLiteral("effect"), QString::fromLatin1(effects.key(index))},
                       {QStringLiteral("frames"), int(samples.size())},
                       {QStringLiteral("p50_ms"), Bench::percentile(samples, 50)},
                       {QStringLiteral("p95_ms"), Bench::percentile(samples, 95)},
                       {QStringLiteral("cpu_p50_ms"), Bench::percentile(cpu, 50)},
                       {QStringLiteral("cpu_p95_ms"), Bench::percentile(cpu, 95)}});
    }
}

const Bench::Registration hitBench("slide_change_hit", true, slideChangeHit);
const Bench::Registration missBench("slide_change_miss", true, slideChangeMiss);
const Bench::Registration paintBench("transition_paint", true, transitionPaint);

} // namespace
