#include "pdfsupport.h"

#include "pdf/pdfservice.h"
#include "pdfgen.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSemaphore>

namespace {

// Runs `function` on the worker thread after every job posted to it so far.
void onWorker(PdfService &service, const std::function<void()> &function)
{
    auto *probe = new QObject;
    probe->moveToThread(service.workerThread());
    QMetaObject::invokeMethod(probe, [probe, function] { function(); probe->deleteLater(); }, Qt::QueuedConnection);
}

} // namespace

namespace PdfTest {

QString fixture(const QString &name, const std::function<QString(const QString &path)> &write)
{
    const QString path = TestEnvironment::instance().path(name);
    if (const QString error = write(path); !error.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(name), qPrintable(error));
    return path;
}

QString fixture(const QString &name, const QList<PdfGen::Page> &pages)
{
    return fixture(name, [&pages](const QString &path) { return PdfGen::writePdf(path, pages); });
}

QString fixture(const QString &name, const QList<PdfGen::BarePage> &pages, PdfGen::Layout layout)
{
    return fixture(name, [&](const QString &path) { return PdfGen::writeBarePages(path, pages, layout); });
}

QString mixedSizeDocument()
{
    QList<PdfGen::Page> pages(40, PdfGen::Page{QSizeF(960, 540), {}, {}});
    pages.first().sizePt = QSizeF(612, 792);
    pages[20].sizePt = QSizeF(300, 400);
    return fixture(QStringLiteral("mixed.pdf"), pages);
}

std::unique_ptr<PdfService> loadedService(const QString &path, bool textReader)
{
    auto service = std::make_unique<PdfService>();
    service->setTextReaderEnabled(textReader);
    QSignalSpy loaded(service.get(), &PdfService::loaded);
    service->load(path);
    if (!loaded.wait(10000))
        qFatal("cannot load %s", qPrintable(path));
    return service;
}

bool waitForWorker(PdfService &service)
{
    auto done = std::make_shared<QSemaphore>();
    onWorker(service, [done] { done->release(); });
    return done->tryAcquire(1, 10000);
}

bool drainWorker(PdfService &service)
{
    const bool done = waitForWorker(service);
    QCoreApplication::sendPostedEvents();
    return done;
}

std::shared_ptr<void> holdWorker(PdfService &service)
{
    auto gate = std::make_shared<QSemaphore>();
    onWorker(service, [gate] { gate->acquire(); });
    return std::shared_ptr<void>(nullptr, [gate](void *) { gate->release(); });
}

int openHandles(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath(); // empty for a missing file
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        count += !target.isEmpty() && fd.symLinkTarget() == target;
    return count;
}

QList<SearchHit> searchAll(PdfService &service, const QString &text, bool *truncated)
{
    QSignalSpy found(&service, &PdfService::searchFinished);
    service.search(text);
    if (found.isEmpty() && !found.wait(30000))
        qFatal("the search for %s never ended", qPrintable(text));
    if (truncated)
        *truncated = found.at(0).at(1).toBool();
    return found.at(0).at(0).value<QList<SearchHit>>();
}

} // namespace PdfTest
