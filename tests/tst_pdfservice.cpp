#include "pdfsupport.h"
#include "windowtest.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace PdfTest;

class TestPdfService final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadEndsInLoadedOrFailed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("pages"); // 0: the load fails
        QTest::addColumn<QVariantList>("failure"); // message, password required
        QTest::addColumn<int>("engineCode");

        TestEnvironment &env = TestEnvironment::instance();
        const QString encrypted = env.encryptedDocument(u"secret"_s);
        const auto fails = [](const QString &message) { return QVariantList{message, false}; };
        const QVariantList damaged = fails(u"The PDF is damaged, unsupported, or contains no pages."_s);
        QTest::newRow("text document") << env.textDocument(5) << QString() << 5 << QVariantList() << 0;
        QTest::newRow("right password") << encrypted << u"secret"_s << 3 << QVariantList() << 0;
        QTest::newRow("missing file") << env.path(u"nowhere.pdf"_s) << QString() << 0
                                      << fails(u"The file was not found or cannot be read."_s) << 3;
        QTest::newRow("damaged file") << env.damagedDocument() << QString() << 0 << damaged << 4;
        QTest::newRow("no pages") << env.zeroPageDocument() << QString() << 0 << damaged << 0;
        QTest::newRow("wrong password") << encrypted << u"Secret"_s << 0
                                        << QVariantList{u"PDF requires a valid password."_s, true} << 5;
        // Opening a pipe nobody writes to would hold the worker for good.
        const QString pipe = env.path(u"pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString special = u"\"%1\" is a pipe, socket or device, not a file that can be opened."_s;
        QTest::newRow("a pipe") << pipe << QString() << 0 << fails(special.arg(u"pipe.pdf"_s)) << 3;
        QTest::newRow("an endless device") << u"/dev/zero"_s << QString() << 0 << fails(special.arg(u"zero"_s)) << 3;
        QTest::newRow("a folder") << QFileInfo(pipe).absolutePath() << QString() << 0
                                  << fails(u"\"files\" is a folder, not a file."_s) << 3;
    }

    void loadEndsInLoadedOrFailed()
    {
        QFETCH(QString, path);
        QFETCH(QString, password);
        QFETCH(int, pages);
        QFETCH(int, engineCode);

        PdfService service;
        Spies spy(&service);
        if (pages == 0)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(u"PDF load failed (engine code %1)"_s.arg(engineCode)));
        service.load(path, password);

        QTRY_COMPARE(spy.loaded.size() + spy.failed.size(), 1);
        QCOMPARE(service.pageCount(), pages);
        // A failed load keeps the path, so the operator can retry with a password.
        QCOMPARE(service.filePath(), QFileInfo(path).absoluteFilePath());
        QTEST(spy.failed.value(0), "failure");
        if (pages > 0) {
            QCOMPARE(spy.loaded.at(0).at(0).toInt(), pages);
            service.render(u"reader"_s, 0, QSize(300, 0), 0, RenderPriority::Reader);
            QCOMPARE(spy.renderFailed.at(0).at(2).toString(), u"Invalid render dimensions."_s);
        }

        // Pages outside the document are refused at once; after a failure that is every page.
        spy.renderFailed.clear();
        for (int page : {-1, pages})
            service.render(u"reader"_s, page, QSize(300, 400), 0, RenderPriority::Reader);
        QCOMPARE(spy.renderFailed.size(), 2);
        QCOMPARE(spy.renderFailed.at(1), (QVariantList{u"reader"_s, pages, u"Invalid page requested."_s}));
        QCOMPARE(service.renderJobCount(), quint64(0));
    }

    void sizesArriveAfterTheFirstFrame_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("textReader"); // sizes read by the text reader process, else by the worker
        QTest::addColumn<bool>("withLoad"); // the output's page asked for with the load

        TestEnvironment &env = TestEnvironment::instance();
        QTest::newRow("one size throughout: nothing to redo") << env.textDocument(300) << true << false;
        QTest::newRow("first page unlike the rest") << mixedSizeDocument() << true << false;
        QTest::newRow("first page unlike the rest, read by the worker") << mixedSizeDocument() << false << false;
        // Rendered by the load itself: its size known at `loaded`, its request a cache hit.
        QTest::newRow("the first frame comes with the load") << mixedSizeDocument() << true << true;
    }

    void sizesArriveAfterTheFirstFrame()
    {
        QFETCH(QString, path);
        QFETCH(bool, textReader);
        QFETCH(bool, withLoad);

        PdfService service;
        service.setTextReaderEnabled(textReader);
        Spies spy(&service);
        QSignalSpy sizes(&service, &PdfService::pageSizesChanged);
        QSignalSpy jobs(&service, &PdfService::renderStarted);
        const bool changes = path.endsWith(u"mixed.pdf"_s); // some page differs from the first
        const int last = changes ? 39 : 299;
        bool knownAtLoad = true;
        QSizeF lastAtLoad;
        // The output asks for the last page, whose size is not known yet, from inside `loaded`.
        connect(&service, &PdfService::loaded, this, [&] {
            knownAtLoad = service.pageSizeKnown(last);
            lastAtLoad = service.pageSize(last);
            service.render(u"output"_s, last, QSize(480, 480), 0, RenderPriority::Output, RenderShape::Whole);
        });
        service.load(path, QString(), withLoad ? PdfService::FirstRender{u"output"_s, -2, QSize(480, 480)}
                                               : PdfService::FirstRender());
        QTRY_COMPARE(spy.rendered.size(), 1);
        const QSizeF real = changes ? QSizeF(960, 540) : QSizeF(612, 792);
        QCOMPARE(knownAtLoad, withLoad);
        QCOMPARE(lastAtLoad, withLoad ? real : service.pageSize(0));
        // Fitted to the page's own size, never to the stand-in's.
        const QImage image = spy.rendered.at(0).at(2).value<QImage>();
        QCOMPARE(image.size(), PdfService::renderSize(real, QSize(480, 480)));
        // One job either way, whose picture is opaque on white as every job's.
        QCOMPARE(jobs, (QList<QVariantList>{{u"output"_s, last}}));
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QCOMPARE(image.pixel(image.width() / 2, image.height() / 2), qRgb(255, 255, 255));

        QTRY_VERIFY(service.allPageSizesKnown());
        QCOMPARE(service.pageSize(last), real);
        QCOMPARE(service.pageSize(0), changes ? QSizeF(612, 792) : real);
        if (changes)
            QCOMPARE(service.pageSize(20), QSizeF(300, 400));
        QCOMPARE(sizes.isEmpty(), !changes);
        QCOMPARE(service.pageSize(last + 1), QSizeF());

        // Known now, so the same request is a cache hit.
        service.render(u"again"_s, last, QSize(480, 480), 0, RenderPriority::Output);
        QTRY_COMPARE(spy.rendered.size(), 2);
        QCOMPARE(jobs.size(), 1);
    }

    void loadLeavesNothingOfThePreviousDocument_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second"); // empty: closed instead
        QTest::addColumn<QString>("stage"); // of the first when the second comes
        QTest::addColumn<int>("pages"); // of the second

        TestEnvironment &env = TestEnvironment::instance();
        for (const QString &stage : {u"queued"_s, u"read"_s}) {
            const char *at = stage == u"read"_s ? "already read" : "still queued";
            QTest::addRow("two documents, first %s", at) << env.textDocument(200) << env.deck(3) << stage << 3;
            QTest::addRow("failing file, then a good one, %s", at) << env.path(u"gone.pdf"_s) << env.deck(3) << stage << 3;
            QTest::addRow("close, first %s", at) << env.textDocument(200) << QString() << stage << 0;
        }
        // Same page sizes, so the same cache keys, but maybe other content.
        const QString five = env.textDocument(5);
        const QString twelve = env.textDocument(12);
        QTest::newRow("another document, renders delivered") << five << twelve << u"delivered"_s << 12;
        QTest::newRow("another document, render reply in flight") << five << twelve << u"in flight"_s << 12;
        QTest::newRow("the same file again, render reply in flight") << five << five << u"in flight"_s << 5;
    }

    // No report, picture, cache entry or open file of the previous document outlives a load,
    // whether it was still loading, or showing with a render under way.
    void loadLeavesNothingOfThePreviousDocument()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, stage);

        PdfService service;
        Spies spy(&service);
        service.load(first);
        if (stage == u"read"_s)
            QVERIFY(waitForWorker(service)); // its reply is waiting here, undelivered
        if (stage == u"delivered"_s || stage == u"in flight"_s) {
            QTRY_COMPARE(spy.loaded.size(), 1);
            spy.loaded.clear();
            service.render(u"output"_s, 0, QSize(300, 400), 0, RenderPriority::Output, RenderShape::Whole);
            service.render(u"preload"_s, 1, QSize(300, 400), 0, RenderPriority::Preload, RenderShape::Whole);
            if (stage == u"in flight"_s)
                QVERIFY(waitForWorker(service)); // page 1 rendered, page 2 still waiting
            else
                QTRY_COMPARE(spy.rendered.size(), 2);
            spy.rendered.clear();
        }
        const quint64 jobs = service.renderJobCount();
        if (second.isEmpty())
            service.close();
        else
            service.load(second);
        QCOMPARE(spy.closed.size(), 2);
        QCOMPARE(service.filePath(), second.isEmpty() ? QString() : QFileInfo(second).absoluteFilePath());

        if (!second.isEmpty()) {
            QTRY_COMPARE(spy.loaded.size(), 1);
            service.render(u"output"_s, 0, QSize(300, 400), 0, RenderPriority::Output, RenderShape::Whole);
            QTRY_COMPARE(spy.rendered.size(), 1);
        }
        QVERIFY(drainWorker(service));
        QCOMPARE(spy.loaded.size() + spy.failed.size(), second.isEmpty() ? 0 : 1);
        QTEST(service.pageCount(), "pages");
        QCOMPARE(spy.rendered.size(), second.isEmpty() ? 0 : 1);
        QCOMPARE(spy.rendered.value(0).value(0).toString(), second.isEmpty() ? QString() : u"output"_s);
        // The new document's page is a job of its own; the old one's waiting preload is none.
        QCOMPARE(service.renderJobCount(), jobs + (second.isEmpty() ? 0 : 1));
        QCOMPARE(openHandles(first), first == second ? 1 : 0);
    }

    void aFileCutUnderTheDocumentFailsWithOneMessage()
    {
        const QString path = WindowTest::copyOf(TestEnvironment::instance().deck(4), u"changing.pdf"_s);
        // Without the text reader, whose own notice of the cut file would race the check below.
        auto service = loadedService(path, false);
        Spies spy(service.get());
        service->render(u"output"_s, 0, QSize(480, 270), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(spy.rendered.size(), 1);
        QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));

        QTest::ignoreMessage(QtWarningMsg, "The open PDF was changed on disk; no further pages are rendered");
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        for (int page : {1, 2, 3})
            service->render(u"page%1"_s.arg(page), page, QSize(480, 270), 0, RenderPriority::Reader);
        QTRY_COMPARE(spy.renderFailed.size(), 3);
        const QString changed =
            u"The file was changed on disk after it was opened; pages not shown yet cannot be shown. Open it again."_s;
        QCOMPARE(spy.renderFailed,
                 (QList<QVariantList>{{u"page1"_s, 1, changed}, {u"page2"_s, 2, changed}, {u"page3"_s, 3, changed}}));
        // What was made before the change still comes from the cache.
        service->render(u"output"_s, 0, QSize(480, 270), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(spy.rendered.size(), 2);
    }

    void busyWorkerLetsGoAtOnce_data()
    {
        QTest::addColumn<QString>("busyWith");
        QTest::addColumn<bool>("destroy"); // as at quit; else another document opens

        QTest::newRow("destroyed while rendering") << u"render"_s << true;
        QTest::newRow("destroyed while searching") << u"search"_s << true;
        QTest::newRow("destroyed while loading a huge damaged file") << u"load"_s << true;
        QTest::newRow("another document opens over a huge damaged file") << u"load"_s << false;
    }

    void busyWorkerLetsGoAtOnce()
    {
        QFETCH(QString, busyWith);
        QFETCH(bool, destroy);
        // None may happen: a running thread destroyed aborts; a job on a dead service or document warns or crashes.
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        // Two GiB of zeros after the header, sparse on disk: the engine would scan it for a minute.
        const QString path = busyWith != u"load"_s ? TestEnvironment::instance().textDocument(1000)
                                                   : fixture(u"huge.pdf"_s, [](const QString &path) {
            QFile file(path);
            const bool made = file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4\n") == 9 && file.resize(2LL << 30);
            return made ? QString() : file.errorString();
        });
        auto service = std::make_unique<PdfService>();
        Spies spy(service.get());
        service->load(path);
        if (busyWith == u"load"_s)
            QTRY_COMPARE(openHandles(path), 1); // the engine is at it
        else
            QTRY_COMPARE(spy.loaded.size(), 1);
        if (busyWith == u"render"_s) {
            // About 16 million pixels, so the worker is still at it when the service goes.
            service->render(u"output"_s, 0, QSize(100000, 100000), 0, RenderPriority::Output, RenderShape::Whole);
            QCOMPARE(service->renderJobCount(), quint64(1));
        } else if (busyWith == u"search"_s) {
            service->search(u"common"_s);
        }
        QElapsedTimer clock;
        clock.start();
        if (destroy) {
            service.reset();
        } else {
            service->load(TestEnvironment::instance().deck(2));
            QVERIFY(waitForWorker(*service));
        }
        if (busyWith == u"load"_s)
            QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(openHandles(path), 0);
        QCOMPARE(spy.rendered.size() + spy.found.size(), 0);
    }
};

OLVANTI_TEST_MAIN(TestPdfService)
#include "tst_pdfservice.moc"
