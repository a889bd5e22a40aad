#include "pdf/pdfservice.h"
#include "pdfsupport.h"
#include "testenv.h"
#include "windowtest.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace PdfTest;

namespace {

const QString Damaged = u"The PDF is damaged, unsupported, or contains no pages."_s;
const QString NotFound = u"The file was not found or cannot be read."_s;
const QString NeedsPassword = u"PDF requires a valid password."_s;
const QString Changed =
    u"The file was changed on disk after it was opened; pages not shown yet cannot be shown. Open it again."_s;

} // namespace

class TestPdfService final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadEndsInLoadedOrFailed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("pages"); // 0: the load fails
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("passwordRequired");
        QTest::addColumn<int>("engineCode");

        TestEnvironment &env = TestEnvironment::instance();
        const QString encrypted = env.encryptedDocument(u"secret"_s);
        QTest::newRow("text document") << env.textDocument(5) << QString() << 5 << QString() << false << 0;
        QTest::newRow("right password") << encrypted << u"secret"_s << 3 << QString() << false << 0;
        QTest::newRow("missing file") << env.path(u"nowhere.pdf"_s) << QString() << 0 << NotFound << false << 3;
        QTest::newRow("damaged file") << env.damagedDocument() << QString() << 0 << Damaged << false << 4;
        QTest::newRow("no pages") << env.zeroPageDocument() << QString() << 0 << Damaged << false << 0;
        QTest::newRow("wrong password") << encrypted << u"Secret"_s << 0 << NeedsPassword << true << 5;
        QTest::newRow("password missing") << encrypted << QString() << 0 << NeedsPassword << true << 5;
        // Opening a pipe nobody writes to would hold the worker for good.
        const QString pipe = env.path(u"pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString special = u"\"%1\" is a pipe, socket or device, not a file that can be opened."_s;
        QTest::newRow("a pipe") << pipe << QString() << 0 << special.arg(u"pipe.pdf"_s) << false << 3;
        QTest::newRow("an endless device") << u"/dev/zero"_s << QString() << 0 << special.arg(u"zero"_s) << false << 3;
        QTest::newRow("a folder") << QFileInfo(pipe).absolutePath() << QString() << 0
                                  << u"\"files\" is a folder, not a file."_s << false << 3;
    }

    void loadEndsInLoadedOrFailed()
    {
        QFETCH(QString, path);
        QFETCH(QString, password);
        QFETCH(int, pages);
        QFETCH(QString, message);
        QFETCH(bool, passwordRequired);
        QFETCH(int, engineCode);

        PdfService service;
        Spies spy(&service);
        if (pages == 0)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(u"PDF load failed (engine code %1)"_s.arg(engineCode)));
        service.load(path, password);
        QCOMPARE(service.pageCount(), 0);

        QTRY_COMPARE(spy.loaded.size() + spy.failed.size(), 1);
        QCOMPARE(service.pageCount(), pages);
        // A failed load keeps the path, so the operator can retry with a password.
        QCOMPARE(service.filePath(), QFileInfo(path).absoluteFilePath());
        if (pages > 0) {
            QCOMPARE(spy.loaded.at(0).at(0).toInt(), pages);
            service.render(u"reader"_s, 0, QSize(300, 0), 0, RenderPriority::Reader);
            QCOMPARE(spy.renderFailed.at(0).at(2).toString(), u"Invalid render dimensions."_s);
        } else {
            QCOMPARE(spy.failed.at(0), (QVariantList{message, passwordRequired}));
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
        QTest::addColumn<bool>("changes"); // some page differs from the first
        QTest::addColumn<bool>("textReader"); // sizes read by the text reader process, else by the worker

        TestEnvironment &env = TestEnvironment::instance();
        QTest::newRow("one size throughout: nothing to redo") << env.textDocument(300) << false << true;
        QTest::newRow("first page unlike the rest") << mixedSizeDocument() << true << true;
        QTest::newRow("first page unlike the rest, read by the worker") << mixedSizeDocument() << true << false;
    }

    void sizesArriveAfterTheFirstFrame()
    {
        QFETCH(QString, path);
        QFETCH(bool, changes);
        QFETCH(bool, textReader);

        PdfService service;
        service.setTextReaderEnabled(textReader);
        Spies spy(&service);
        QSignalSpy sizes(&service, &PdfService::pageSizesChanged);
        const int last = path.endsWith(u"mixed.pdf"_s) ? 39 : 299;
        bool knownAtLoad = true;
        QSizeF lastAtLoad;
        // The output asks for a page whose size is not known yet, from inside `loaded`.
        connect(&service, &PdfService::loaded, this, [&] {
            knownAtLoad = service.pageSizeKnown(last);
            lastAtLoad = service.pageSize(last);
            service.render(u"output"_s, last, QSize(480, 480), 0, RenderPriority::Output, RenderShape::Whole);
        });
        service.load(path);
        QTRY_COMPARE(spy.rendered.size(), 1);
        QVERIFY(!knownAtLoad);
        QCOMPARE(lastAtLoad, service.pageSize(0));
        // Fitted to the page's own size, never to the stand-in's.
        const QSizeF real = changes ? QSizeF(960, 540) : QSizeF(612, 792);
        QCOMPARE(spy.rendered.at(0).at(2).value<QImage>().size(), PdfService::renderSize(real, QSize(480, 480)));

        QTRY_VERIFY(service.allPageSizesKnown());
        QCOMPARE(service.pageSize(last), real);
        QCOMPARE(service.pageSize(0), changes ? QSizeF(612, 792) : real);
        if (changes)
            QCOMPARE(service.pageSize(20), QSizeF(300, 400));
        QCOMPARE(sizes.isEmpty(), !changes);
        QCOMPARE(service.pageSize(last + 1), QSizeF());

        // Known now, so the same request is a cache hit.
        const quint64 jobs = service.renderJobCount();
        service.render(u"again"_s, last, QSize(480, 480), 0, RenderPriority::Output);
        QTRY_COMPARE(spy.rendered.size(), 2);
        QCOMPARE(service.renderJobCount(), jobs);
    }

    // The audience's first page rendered with the load: its size known at `loaded`, its request
    // a cache hit with the pixels a render job makes.
    void theFirstFrameComesWithTheLoad()
    {
        const QString path = mixedSizeDocument();
        QImage made[2];
        for (const bool withLoad : {false, true}) {
            PdfService service;
            Spies spy(&service);
            QSignalSpy jobs(&service, &PdfService::renderStarted);
            bool knownAtLoad = false;
            connect(&service, &PdfService::loaded, this, [&] {
                knownAtLoad = service.pageSizeKnown(39);
                service.render(u"output"_s, 39, QSize(480, 480), 0, RenderPriority::Output, RenderShape::Whole);
            });
            if (withLoad)
                service.load(path, QString(), {u"output"_s, -2, QSize(480, 480)});
            else
                service.load(path);
            QTRY_COMPARE(spy.rendered.size(), 1);
            QCOMPARE(knownAtLoad, withLoad);
            QCOMPARE(jobs.size(), 1);
            QCOMPARE(jobs.at(0).at(1).toInt(), 39);
            made[withLoad] = spy.rendered.at(0).at(2).value<QImage>();
        }
        QCOMPARE(made[1], made[0]);
    }

    void overtakenLoadNeverReports_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second"); // empty: closed instead
        QTest::addColumn<bool>("firstDoneOnWorker");

        TestEnvironment &env = TestEnvironment::instance();
        for (bool done : {false, true}) {
            const char *when = done ? "first already read" : "first still queued";
            QTest::addRow("two documents, %s", when) << env.textDocument(200) << env.deck(3) << done;
            QTest::addRow("failing file, then a good one, %s", when) << env.path(u"gone.pdf"_s) << env.deck(3) << done;
            QTest::addRow("close, %s", when) << env.textDocument(200) << QString() << done;
        }
    }

    void overtakenLoadNeverReports()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, firstDoneOnWorker);

        PdfService service;
        Spies spy(&service);
        service.load(first);
        if (firstDoneOnWorker)
            QVERIFY(waitForWorker(service)); // its reply is waiting here, undelivered
        if (second.isEmpty())
            service.close();
        else
            service.load(second);
        QCOMPARE(spy.closed.size(), 2);
        QCOMPARE(service.filePath(), second.isEmpty() ? QString() : QFileInfo(second).absoluteFilePath());

        if (!second.isEmpty())
            QTRY_COMPARE(spy.loaded.size(), 1);
        QVERIFY(drainWorker(service));
        QCOMPARE(spy.loaded.size() + spy.failed.size(), second.isEmpty() ? 0 : 1);
        QCOMPARE(service.pageCount(), second.isEmpty() ? 0 : 3);
        // No size of the overtaken document lands on the new one.
        if (!second.isEmpty())
            QTRY_COMPARE(service.pageSize(2), QSizeF(960, 540));
        QCOMPARE(openHandles(first), 0);
    }

    void loadLeavesNothingOfThePreviousDocument_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("replyInFlight");

        const QString other = TestEnvironment::instance().textDocument(12);
        QTest::newRow("another document, renders delivered") << other << false;
        QTest::newRow("another document, render reply in flight") << other << true;
        QTest::newRow("the same file again, render reply in flight")
            << TestEnvironment::instance().textDocument(5) << true;
    }

    void loadLeavesNothingOfThePreviousDocument()
    {
        QFETCH(QString, second);
        QFETCH(bool, replyInFlight);

        const QString first = TestEnvironment::instance().textDocument(5);
        auto service = loadedService(first);
        Spies spy(service.get());
        QCOMPARE(openHandles(first), 1);
        service->render(u"output"_s, 0, QSize(300, 400), 0, RenderPriority::Output, RenderShape::Whole);
        service->render(u"preload"_s, 1, QSize(300, 400), 0, RenderPriority::Preload, RenderShape::Whole);
        if (replyInFlight)
            QVERIFY(waitForWorker(*service)); // page 1 rendered, page 2 still waiting
        else
            QTRY_COMPARE(spy.rendered.size(), 2);

        // Same page sizes, so the same cache keys, but maybe other content.
        service->load(second);
        QTRY_COMPARE(spy.loaded.size(), 1);
        QCOMPARE(openHandles(second), 1);
        if (second != first)
            QCOMPARE(openHandles(first), 0);
        spy.rendered.clear();
        service->render(u"output"_s, 0, QSize(300, 400), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(spy.rendered.size(), 1);
        QVERIFY(drainWorker(*service));
        QCOMPARE(channels(spy.rendered), QStringList{u"output"_s});
        QCOMPARE(service->renderJobCount(), quint64(replyInFlight ? 2 : 3));
    }

    void hugeDamagedLoadLetsGoAtOnce_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("another document opens") << u"load"_s;
        QTest::newRow("service ends, as at quit") << u"destroy"_s;
    }

    void hugeDamagedLoadLetsGoAtOnce()
    {
        QFETCH(QString, then);
        // Two GiB of zeros after the header, sparse on disk: the engine would scan it for a minute.
        const QString huge = fixture(u"huge.pdf"_s, [](const QString &path) {
            QFile file(path);
            const bool made = file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4\n") == 9 && file.resize(2LL << 30);
            return made ? QString() : file.errorString();
        });
        auto service = std::make_unique<PdfService>();
        service->load(huge);
        QTRY_COMPARE(openHandles(huge), 1); // the engine is at it
        QElapsedTimer clock;
        clock.start();
        if (then == u"destroy"_s)
            service.reset();
        else
            service->load(TestEnvironment::instance().deck(2));
        QVERIFY(!service || waitForWorker(*service));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(openHandles(huge), 0);
    }

    void aFileCutUnderTheDocumentFailsWithOneMessage()
    {
        const QString path = WindowTest::copyOf(TestEnvironment::instance().deck(4), u"changing.pdf"_s);
        auto service = loadedService(path);
        Spies spy(service.get());
        service->render(u"output"_s, 0, QSize(480, 270), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(spy.rendered.size(), 1);
        QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));

        QTest::ignoreMessage(QtWarningMsg, "The open PDF was changed on disk; no further pages are rendered");
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        for (int page : {1, 2, 3})
            service->render(u"page%1"_s.arg(page), page, QSize(480, 270), 0, RenderPriority::Reader);
        QTRY_COMPARE(spy.renderFailed.size(), 3);
        for (const QVariantList &failure : std::as_const(spy.renderFailed))
            QCOMPARE(failure.at(2).toString(), Changed);
        // What was made before the change still comes from the cache.
        service->render(u"output"_s, 0, QSize(480, 270), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(spy.rendered.size(), 2);
    }

    void destructionWaitsAndReleasesEverything_data()
    {
        QTest::addColumn<QString>("busyWith");
        QTest::newRow("rendering") << u"render"_s;
        QTest::newRow("loading") << u"load"_s;
        QTest::newRow("searching") << u"search"_s;
    }

    void destructionWaitsAndReleasesEverything()
    {
        QFETCH(QString, busyWith);
        // Destroying a running thread aborts; a job touching a dead service or document warns
        // or crashes. None of that may happen.
        QTest::failOnWarning(QRegularExpression(u".*"_s));

        const QString path = TestEnvironment::instance().textDocument(1000);
        auto service = std::make_unique<PdfService>();
        Spies spy(service.get());
        service->load(path);
        if (busyWith != u"load"_s)
            QTRY_COMPARE(spy.loaded.size(), 1);
        if (busyWith == u"render"_s) {
            // About 16 million pixels, so the worker is still at it when the service goes.
            service->render(u"output"_s, 0, QSize(100000, 100000), 0, RenderPriority::Output, RenderShape::Whole);
            QCOMPARE(service->renderJobCount(), quint64(1));
        } else if (busyWith == u"search"_s) {
            service->search(u"common"_s);
        }
        QPointer<QThread> thread = service->workerThread();
        QVERIFY(thread->isRunning());

        service.reset();
        QVERIFY(thread.isNull());
        QCOMPARE(openHandles(path), 0);
        QCOMPARE(spy.rendered.size() + spy.found.size(), 0);
    }
};

OLVANTI_TEST_MAIN(TestPdfService)
#include "tst_pdfservice.moc"
