// Memory of the continuous reader at 800 % zoom: every page image is tens of megabytes, so
// what the view keeps while scrolling decides the process size.
#include "bench.h"

#include "pdf/pdfservice.h"
#include "reader/scrollview.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QScrollBar>

#include <algorithm>
#include <functional>

namespace {

constexpr double Zoom = 8.0;
constexpr int PagesToScroll = 30;
// The reader's area in a 1280 x 850 main window.
const QSize Viewport(1075, 780);

bool waitUntil(const std::function<bool()> &done, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM"), or -1.
double statusMiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1.0;
    const QByteArray prefix = field + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1.0;
}

// Starts the peak over again, so earlier benches do not count.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

void zoomedScroll(const Bench::Document &doc)
{
    PdfService service;
    if (!Bench::opened(service, doc.path))
        return;
    ScrollView view(&service, QStringLiteral("scroll"));
    QObject::connect(&service, &PdfService::rendered, &view, [&view](const QString &channel, int page, const QImage &image) {
        if (channel.startsWith(QLatin1String("scroll:")))
            view.setPageImage(page, image);
    });
    view.resize(Viewport);
    view.resetDocument();
    view.setViewMode(2, Zoom, 0, false);
    view.show();

    const bool peakReset = resetPeak();
    const double before = statusMiB("VmRSS");
    const ScrollLayout &layout = view.pageLayout();
    const int pages = std::min(PagesToScroll, layout.pageCount());
    const int end = pages < layout.pageCount() ? layout.rowStart(pages) : view.verticalMaximum();
    // Screen by screen, as the operator pages through, each screen painted before the next.
    bool complete = true;
    for (int y = 0; complete && y <= end; y += view.viewport()->height()) {
        view.verticalScrollBar()->setValue(y);
        const int top = layout.rowAt(y);
        const int bottom = layout.rowAt(y + view.viewport()->height() - 1);
        complete = waitUntil([&] { return view.hasPageImage(top) && view.hasPageImage(bottom); });
    }
    Bench::report(QStringLiteral("reader_zoom_memory"), doc, service.pageCount(),
                  {{QStringLiteral("zoomPercent"), Zoom * 100},
                   {QStringLiteral("pagesScrolled"), pages},
                   {QStringLiteral("complete"), complete},
                   {QStringLiteral("rssBeforeMiB"), qRound(before)},
                   {QStringLiteral("peakRssMiB"), qRound(statusMiB("VmHWM"))},
                   {QStringLiteral("peakSinceStart"), !peakReset},
                   {QStringLiteral("limitMiB"), 400}});
}

const Bench::Registration registration("reader_zoom_memory", false, zoomedScroll);

} // namespace
