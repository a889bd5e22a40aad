#include "bench.h"

#include "app/startup.h"
#include "pdf/pdfservice.h"
#include "pdfgen.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace Bench {

namespace {

struct Entry
{
    QString name;
    bool wantsDeck;
    Function function;
};

QList<Entry> &registry()
{
    static QList<Entry> entries;
    return entries;
}

} // namespace

Registration::Registration(const char *name, bool wantsDeck, Function function)
{
    registry().append({QString::fromLatin1(name), wantsDeck, std::move(function)});
}

void report(const QString &name, const Document &doc, int pages, const QJsonObject &figures)
{
    QJsonObject line{{QStringLiteral("bench"), name}, {QStringLiteral("doc"), doc.label}, {QStringLiteral("pages"), pages}};
    for (auto it = figures.begin(); it != figures.end(); ++it)
        line.insert(it.key(), it.value());
    QTextStream(stdout) << QJsonDocument(line).toJson(QJsonDocument::Compact) << Qt::endl;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the loop now and then, so the deadline is seen even when nothing arrives.
    QTimer tick;
    tick.start(50);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool opened(PdfService &service, const QString &path)
{
    service.load(path);
    return waitUntil([&service] { return service.pageCount() > 0; });
}

namespace {

QHash<QString, std::shared_ptr<QPdfDocument>> &bareDocuments()
{
    static QHash<QString, std::shared_ptr<QPdfDocument>> documents;
    return documents;
}

} // namespace

void forgetBareDocuments()
{
    bareDocuments().clear();
}

double bareRenderMs(const QString &path, int page, const QSize &target)
{
    std::shared_ptr<QPdfDocument> &document = bareDocuments()[path];
    if (!document) {
        document = std::make_shared<QPdfDocument>();
        if (document->load(path) != QPdfDocument::Error::None)
            return -1;
    }
    QElapsedTimer clock;
    clock.start();
    const QSize size = PdfService::renderSize(document->pagePointSize(page), target);
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    QImage image = size.isEmpty() ? QImage() : document->render(page, size, options);
    if (image.isNull())
        return -1;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    painter.fillRect(image.rect(), Qt::white);
    painter.end();
    return double(clock.nsecsElapsed()) / 1e6;
}

double percentile(QList<double> samples, double p)
{
    if (samples.isEmpty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const double rank = p / 100.0 * double(samples.size() - 1);
    const qsizetype low = qsizetype(std::floor(rank));
    const qsizetype high = qMin(low + 1, samples.size() - 1);
    return samples.at(low) + (samples.at(high) - samples.at(low)) * (rank - double(low));
}

} // namespace Bench

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Memory as the product keeps it, so render times include what that costs.
    keepPicturesOutOfTheHeap();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Olvanti benchmarks: one JSON object per line."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("search"), QStringLiteral("Word to search for in the given PDFs."), QStringLiteral("word")});
    parser.addOption({QStringLiteral("only"), QStringLiteral("Run only the benches whose name contains this text."), QStringLiteral("name")});
    parser.addPositionalArgument(QStringLiteral("pdf"), QStringLiteral("PDF files to measure instead of generated ones."), QStringLiteral("[pdf...]"));
    parser.process(app);

    const QString only = parser.value(QStringLiteral("only"));
    const auto selected = [&](const Bench::Entry &e) { return only.isEmpty() || e.name.contains(only); };

    if (!parser.positionalArguments().isEmpty()) {
        for (const QString &path : parser.positionalArguments()) {
            Bench::Document doc{QFileInfo(path).absoluteFilePath(), QFileInfo(path).fileName(), false,
                                parser.value(QStringLiteral("search"))};
            for (const Bench::Entry &entry : Bench::registry())
                if (selected(entry))
                    entry.function(doc);
        }
        return 0;
    }

    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("text-1000.pdf"));
    // Long enough for fifty far jumps to pages never shown before.
    const QString deck = dir.filePath(QStringLiteral("deck-100.pdf"));
    for (const QString &error : {PdfGen::writeTextDocument(text, 1000), PdfGen::writeDeck(deck, 100)}) {
        if (!error.isEmpty()) {
            QTextStream(stderr) << "cannot generate documents: " << error << Qt::endl;
            return 1;
        }
    }
    const Bench::Document textDoc{text, QStringLiteral("generated-text-1000"), true, QString()};
    const Bench::Document deckDoc{deck, QStringLiteral("generated-deck-100"), true, QString()};
    for (const Bench::Entry &entry : Bench::registry())
        if (selected(entry))
            entry.function(entry.wantsDeck ? deckDoc : textDoc);
    return 0;
}
