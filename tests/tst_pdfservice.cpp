#include "pdf/pdfservice.h"
#include "pdfgen.h"
#include "testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Damaged = u"The PDF is damaged, unsupported, or contains no pages."_s;
const QString NotFound = u"The file was not found or cannot be read."_s;
const QString NeedsPassword = u"PDF requires a valid password."_s;

// Descriptors of this process open on `path`: the engine keeps the file open exactly as long
// as its document lives, which makes a leaked document visible.
int openHandles(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    const QFileInfoList fds =
        QDir(u"/proc/self/fd"_s).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fd : fds) {
        if (fd.symLinkTarget() == target)
            ++count;
    }
    return count;
}

// Runs `function` on the worker thread after every job posted to it so far.
void onWorker(PdfService &service, std::function<void()> function)
{
    auto *probe = new QObject;
    probe->moveToThread(service.workerThread());
    QMetaObject::invokeMethod(
        probe,
        [probe, function] {
            function();
            probe->deleteLater();
        },
        Qt::QueuedConnection);
}

// Blocks this thread, without delivering anything, until the worker has run every job posted
// so far; their replies are then waiting in this thread's queue.
bool waitForWorker(PdfService &service)
{
    auto done = std::make_shared<QSemaphore>();
    onWorker(service, [done] { done->release(); });
    return done->tryAcquire(1, 10000);
}

// Waits for the worker as above and then delivers the replies.
bool drainWorker(PdfService &service)
{
    if (!waitForWorker(service))
        return false;
    QCoreApplication::sendPostedEvents();
    return true;
}

// Keeps the worker busy until destroyed, so jobs posted meanwhile queue up behind it.
class WorkerHold final
{
public:
    explicit WorkerHold(PdfService &service)
    {
        onWorker(service, [gate = m_gate] { gate->acquire(); });
    }
    ~WorkerHold() { m_gate->release(); }

private:
    std::shared_ptr<QSemaphore> m_gate = std::make_shared<QSemaphore>();
};

QString otherDeck()
{
    static const QString path = [] {
        const QString file = TestEnvironment::instance().path(u"other-deck.pdf"_s);
        const QString error = PdfGen::writeDeck(file, 3, u"Another talk"_s);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return file;
    }();
    return path;
}

QString widePageDocument()
{
    static const QString path = [] {
        const QString file = TestEnvironment::instance().path(u"wide-page.pdf"_s);
        PdfGen::Page page;
        page.sizePt = QSizeF(200, 100);
        page.title = u"W"_s;
        const QString error = PdfGen::writePdf(file, {page});
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return file;
    }();
    return path;
}

} // namespace

class TestPdfService final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsDocument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSizeF>("firstPageSize");

        TestEnvironment &env = TestEnvironment::instance();
        QTest::newRow("text document") << env.textDocument(5) << QString() << 5 << QSizeF(612, 792);
        QTest::newRow("deck") << env.deck(3) << QString() << 3 << QSizeF(960, 540);
        QTest::newRow("encrypted, right password") << env.encryptedDocument(u"secret"_s) << u"secret"_s << 3
                                                   << QSizeF(612, 792);
    }

    void loadsDocument()
    {
        QFETCH(QString, path);
        QFETCH(QString, password);
        QFETCH(int, pages);
        QFETCH(QSizeF, firstPageSize);

        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy failed(&service, &PdfService::failed);
        QSignalSpy closed(&service, &PdfService::closed);
        service.load(path, password);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(service.pageCount(), 0);
        QCOMPARE(service.filePath(), QFileInfo(path).absoluteFilePath());

        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(loaded.at(0).at(0).toInt(), pages);
        QCOMPARE(failed.size(), 0);
        QCOMPARE(service.pageCount(), pages);
        QCOMPARE(service.pageSize(0), firstPageSize);
        QCOMPARE(service.pageSize(pages), QSizeF());
    }

    void reportsLoadFailure_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("passwordRequired");
        QTest::addColumn<int>("engineCode");

        TestEnvironment &env = TestEnvironment::instance();
        QTest::newRow("missing file") << env.path(u"nowhere.pdf"_s) << QString() << NotFound << false << 3;
        QTest::newRow("damaged file") << env.damagedDocument() << QString() << Damaged << false << 4;
        QTest::newRow("no pages") << env.zeroPageDocument() << QString() << Damaged << false << 0;
        QTest::newRow("wrong password") << env.encryptedDocument(u"secret"_s) << u"Secret"_s << NeedsPassword
                                        << true << 5;
        QTest::newRow("password missing") << env.encryptedDocument(u"secret"_s) << QString() << NeedsPassword
                                          << true << 5;
    }

    void reportsLoadFailure()
    {
        QFETCH(QString, path);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(bool, passwordRequired);
        QFETCH(int, engineCode);

        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy failed(&service, &PdfService::failed);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(u"PDF load failed (engine code %1)"_s.arg(engineCode)));
        service.load(path, password);

        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), message);
        QCOMPARE(failed.at(0).at(1).toBool(), passwordRequired);
        QCOMPARE(loaded.size(), 0);
        QCOMPARE(service.pageCount(), 0);
        // The failed state keeps the path, so the operator can retry with a password.
        QCOMPARE(service.filePath(), QFileInfo(path).absoluteFilePath());
    }

    void onlyTheLastLoadReports_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("pages"); // 0: the second load fails
        QTest::addColumn<bool>("firstDoneOnWorker");

        TestEnvironment &env = TestEnvironment::instance();
        for (bool done : {false, true}) {
            const char *when = done ? ", first already read" : ", first still queued";
            QTest::addRow("two documents%s", when) << env.textDocument(5) << env.deck(3) << 3 << done;
            QTest::addRow("failing file, then a good one%s", when) << env.path(u"gone.pdf"_s) << env.deck(3) << 3
                                                                   << done;
            QTest::addRow("good file, then a failing one%s", when) << env.textDocument(5)
                                                                   << env.path(u"gone.pdf"_s) << 0 << done;
        }
    }

    void onlyTheLastLoadReports()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, pages);
        QFETCH(bool, firstDoneOnWorker);

        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy failed(&service, &PdfService::failed);
        QSignalSpy closed(&service, &PdfService::closed);
        if (pages == 0)
            QTest::ignoreMessage(QtWarningMsg, "PDF load failed (engine code 3)");
        service.load(first);
        if (firstDoneOnWorker)
            QVERIFY(waitForWorker(service)); // its reply is waiting here, undelivered
        service.load(second);
        QCOMPARE(closed.size(), 2);

        QTRY_COMPARE(loaded.size() + failed.size(), 1);
        QVERIFY(drainWorker(service));
        if (pages > 0) {
            QCOMPARE(loaded.size(), 1);
            QCOMPARE(loaded.at(0).at(0).toInt(), pages);
        } else {
            QCOMPARE(failed.size(), 1);
            QCOMPARE(failed.at(0).at(0).toString(), NotFound);
        }
        QCOMPARE(loaded.size() + failed.size(), 1);
        QCOMPARE(service.filePath(), QFileInfo(second).absoluteFilePath());
    }

    void closeDuringLoadEndsTheLoad_data()
    {
        QTest::addColumn<bool>("loadDoneOnWorker");
        QTest::newRow("load still queued") << false;
        QTest::newRow("document already read") << true;
    }

    void closeDuringLoadEndsTheLoad()
    {
        QFETCH(bool, loadDoneOnWorker);

        const QString path = TestEnvironment::instance().textDocument(200);
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy failed(&service, &PdfService::failed);
        QSignalSpy closed(&service, &PdfService::closed);
        service.load(path);
        if (loadDoneOnWorker)
            QVERIFY(waitForWorker(service));
        service.close();
        QCOMPARE(closed.size(), 2);
        QCOMPARE(service.pageCount(), 0);
        QCOMPARE(service.filePath(), QString());

        QVERIFY(drainWorker(service));
        QCOMPARE(loaded.size(), 0);
        QCOMPARE(failed.size(), 0);
        QCOMPARE(service.pageCount(), 0);
        QCOMPARE(openHandles(path), 0);
    }

    void closeEmptiesState()
    {
        const QString path = TestEnvironment::instance().textDocument(5);
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy closed(&service, &PdfService::closed);
        service.load(path);
        QTRY_COMPARE(loaded.size(), 1);

        service.close();
        QCOMPARE(closed.size(), 2);
        QCOMPARE(service.pageCount(), 0);
        QCOMPARE(service.pageSize(0), QSizeF());
        QCOMPARE(service.filePath(), QString());
        QTRY_COMPARE(openHandles(path), 0);
    }

    void loadReleasesPreviousDocument()
    {
        const QString first = TestEnvironment::instance().textDocument(5);
        const QString second = TestEnvironment::instance().deck(3);
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        service.load(first);
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(openHandles(first), 1);

        service.load(second);
        QTRY_COMPARE(loaded.size(), 2);
        QCOMPARE(openHandles(first), 0);
        QCOMPARE(openHandles(second), 1);

        // Loading the same file again must not keep the old copy either.
        service.load(second);
        QTRY_COMPARE(loaded.size(), 3);
        QCOMPARE(openHandles(second), 1);
    }

    void finishedRenderOfOldDocumentIsNotCached()
    {
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy rendered(&service, &PdfService::rendered);
        service.load(TestEnvironment::instance().deck(3));
        QTRY_COMPARE(loaded.size(), 1);
        service.render(u"output"_s, 0, QSize(480, 270), 0, 100);
        QVERIFY(waitForWorker(service)); // rendered, reply not yet delivered

        // Same page size, so the same cache key, but other content.
        service.load(otherDeck());
        QTRY_COMPARE(loaded.size(), 2);
        service.render(u"output"_s, 0, QSize(480, 270), 0, 100);
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(service.renderJobCount(), quint64(2));
    }

    void finishedSearchIsDroppedWhenOvertaken_data()
    {
        QTest::addColumn<QString>("overtakenBy");
        QTest::newRow("newer search") << u"search"_s;
        QTest::newRow("close") << u"close"_s;
        QTest::newRow("load") << u"load"_s;
    }

    void finishedSearchIsDroppedWhenOvertaken()
    {
        QFETCH(QString, overtakenBy);

        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy found(&service, &PdfService::searchFinished);
        service.load(TestEnvironment::instance().textDocument(1));
        QTRY_COMPARE(loaded.size(), 1);
        service.search(u"common"_s);
        QVERIFY(waitForWorker(service)); // one page: searched, result not yet delivered

        if (overtakenBy == u"search"_s)
            service.search(u"nowhere"_s);
        else if (overtakenBy == u"close"_s)
            service.close();
        else
            service.load(TestEnvironment::instance().textDocument(1));
        QVERIFY(drainWorker(service));
        if (overtakenBy == u"search"_s) {
            QCOMPARE(found.size(), 1);
            QVERIFY(found.at(0).at(0).value<QList<SearchHit>>().isEmpty());
        } else {
            QCOMPARE(found.size(), 0);
        }
    }

    void cancelledSearchExaminesNoFurtherPage_data()
    {
        QTest::addColumn<QString>("cancelledBy");
        QTest::newRow("empty text") << u"empty"_s;
        QTest::newRow("newer search") << u"search"_s;
        QTest::newRow("load") << u"load"_s;
    }

    void cancelledSearchExaminesNoFurtherPage()
    {
        QFETCH(QString, cancelledBy);

        const QString path = TestEnvironment::instance().textDocument(1000);
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        QSignalSpy found(&service, &PdfService::searchFinished);
        service.load(path);
        QTRY_COMPARE(loaded.size(), 1);
        {
            // The first step of the search runs only after it has been cancelled.
            WorkerHold hold(service);
            service.search(u"common"_s);
            if (cancelledBy == u"empty"_s)
                service.search(QString());
            else if (cancelledBy == u"search"_s)
                service.search(u"pagemarker1000"_s);
            else
                service.load(path);
        }
        QVERIFY(waitForWorker(service));
        if (cancelledBy != u"search"_s) {
            QCOMPARE(service.searchStepCount(), quint64(0));
            QTRY_COMPARE(loaded.size(), cancelledBy == u"load"_s ? 2 : 1);
            service.search(u"pagemarker1000"_s);
        }
        QTRY_VERIFY(!found.isEmpty() && !found.constLast().at(0).value<QList<SearchHit>>().isEmpty());
        QCOMPARE(service.searchStepCount(), quint64(1000));
    }

    void destructionWaitsAndReleasesEverything_data()
    {
        QTest::addColumn<QString>("busyWith");
        QTest::newRow("rendering") << u"render"_s;
        QTest::newRow("loading") << u"load"_s;
        QTest::newRow("searching") << u"search"_s;
        QTest::newRow("idle") << QString();
    }

    void destructionWaitsAndReleasesEverything()
    {
        QFETCH(QString, busyWith);
        // Destroying a running thread aborts; a job touching a dead service or document warns
        // or crashes. None of that may happen.
        QTest::failOnWarning(QRegularExpression(u".*"_s));

        const QString path = busyWith == u"render"_s ? widePageDocument()
                                                     : TestEnvironment::instance().textDocument(1000);
        auto service = std::make_unique<PdfService>();
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        service->load(path);
        if (busyWith != u"load"_s)
            QTRY_COMPARE(loaded.size(), 1);
        if (busyWith == u"render"_s) {
            // About 16 million pixels, so the worker is still at it when the service goes.
            service->render(u"output"_s, 0, QSize(100000, 100000), 0, 100);
            QCOMPARE(service->renderJobCount(), quint64(1));
        } else if (busyWith == u"search"_s) {
            service->search(u"common"_s);
        }
        QPointer<QThread> thread = service->workerThread();
        QVERIFY(thread->isRunning());

        service.reset();
        QVERIFY(thread.isNull());
        QCOMPARE(openHandles(path), 0);
        QCOMPARE(rendered.size(), 0);
        QCOMPARE(found.size(), 0);
    }
};

OLVANTI_TEST_MAIN(TestPdfService)
#include "tst_pdfservice.moc"
