#pragma once

#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class PdfService;

// The benchmark program: each bench file registers functions that measure one document
// and print their figures through Bench::report.
namespace Bench {

struct Document
{
    QString path;      // the PDF to measure
    QString label;     // what the "doc" field says
    bool generated = false;
    QString searchWord; // --search WORD, or empty for the built-in words
};

using Function = std::function<void(const Document &)>;

// Registers a bench under `name`; `wantsDeck` picks the generated 16:9 deck rather than
// the long text document when no path was given on the command line.
struct Registration
{
    Registration(const char *name, bool wantsDeck, Function function);
};

// Prints {"bench": name, "doc": doc.label, "pages": pages, ...figures} on one line.
void report(const QString &name, const Document &doc, int pages, const QJsonObject &figures);

// Runs the event loop until `done` holds; false after `timeoutMs`.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 60000);

// Loads `path` into `service` and waits for it; false when it did not load.
bool opened(PdfService &service, const QString &path);

// Milliseconds the engine alone takes to render `page` of `path` fitted into `target`, as the
// service makes it (annotations, white behind the page), outside the service and its cache;
// negative when it cannot. The document stays open for later calls.
double bareRenderMs(const QString &path, int page, const QSize &target);
// Closes those documents, so that the next bare render meets the engine as a fresh one does.
void forgetBareDocuments();

// Statistics over samples in milliseconds.
double percentile(QList<double> samples, double p);

} // namespace Bench
