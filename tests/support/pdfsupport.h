#pragma once

#include "pdf/pdfservice.h"
#include "pdfgen.h"

#include <QSignalSpy>
#include <QStringList>

#include <functional>
#include <memory>

namespace PdfTest {

// Writes a fixture into the scratch folder; `write` returns an error text.
QString fixture(const QString &name, const std::function<QString(const QString &path)> &write);
// The same for generated pages, and for pages as hand-written producers make them.
QString fixture(const QString &name, const QList<PdfGen::Page> &pages);
QString fixture(const QString &name, const QList<PdfGen::BarePage> &pages, PdfGen::Layout layout);

// Every signal of one service, caught in order of arrival.
struct Spies final
{
    explicit Spies(PdfService *s)
        : loaded(s, &PdfService::loaded), closed(s, &PdfService::closed), failed(s, &PdfService::failed)
        , rendered(s, &PdfService::rendered), renderFailed(s, &PdfService::renderFailed)
        , found(s, &PdfService::searchFinished)
    {
    }
    QSignalSpy loaded, closed, failed, rendered, renderFailed, found;
};

// 40 pages of 960 x 540 points, except the first (612 x 792) and page 20 (300 x 400).
QString mixedSizeDocument();

// A service with `path` loaded; the test run stops when it does not load. Without the text
// reader process the worker reads every page itself.
std::unique_ptr<PdfService> loadedService(const QString &path, bool textReader = true);

// Blocks this thread, delivering nothing, until the worker has run every job posted so far;
// their replies are then waiting in this thread's queue.
bool waitForWorker(PdfService &service);
// Waits for the worker as above, then delivers the replies.
bool drainWorker(PdfService &service);

// Keeps the worker busy until the returned handle is dropped, so jobs posted meanwhile queue
// up behind it.
std::shared_ptr<void> holdWorker(PdfService &service);

// Descriptors of this process open on `path`: the engine keeps the file open exactly as long
// as its document lives, which makes a leaked document visible.
int openHandles(const QString &path);

// The hits of a search for `text`, once it has ended; the test run stops when it does not end.
QList<SearchHit> searchAll(PdfService &service, const QString &text, bool *truncated = nullptr);

} // namespace PdfTest
