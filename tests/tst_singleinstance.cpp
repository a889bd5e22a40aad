#include "app/singleinstance.h"
#include "testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// This test process is the running instance; the real executable, started beside it in the same
// runtime folder, is the later start.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!m_running.handOver({})); }

    void laterStartHandsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QList<QStringList>>("handedOver"); // one list per hand-over

        const QString files = QFileInfo(TestEnvironment::instance().path(u"x"_s)).absolutePath();
        QTest::newRow("several documents in order, relative ones made absolute")
            << QStringList{u"/b.opack"_s, u"a.oplaylist"_s} << QList<QStringList>{{u"/b.opack"_s, files + u"/a.oplaylist"_s}};
        QTest::newRow("no document brings the window to the front") << QStringList() << QList<QStringList>{{}};
        QTest::newRow("verify run stays on its own")
            << QStringList{u"--verify"_s, TestEnvironment::instance().deck(2)} << QList<QStringList>();
    }

    void laterStartHandsOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QList<QStringList>, handedOver);
        QSignalSpy received(&m_running, &SingleInstance::handedOver);
        QProcess later;
        QSignalSpy finished(&later, &QProcess::finished);
        later.setWorkingDirectory(QFileInfo(TestEnvironment::instance().path(u"x"_s)).absolutePath());
        later.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments);

        // The later start waits for our answer, so this event loop has to keep running.
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QList<QStringList> got;
        for (const QVariantList &signal : std::as_const(received))
            got.append(signal.at(0).toStringList());
        QCOMPARE(got, handedOver);
    }

    void eachClientIsAnsweredOrDroppedAndServiceGoesOn_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QVariant>("handed"); // the paths handed over; none: the client is dropped unanswered
        QTest::newRow("not JSON") << QByteArray("open /etc/passwd\n") << QVariant();
        QTest::newRow("JSON object instead of a list") << QByteArray("{\"path\":\"/a.pdf\"}\n") << QVariant();
        QTest::newRow("endless line") << QByteArray((1 << 20) + 2, 'x') << QVariant();
        QTest::newRow("half a message, then silence") << QByteArray("[\"/a.pdf\"") << QVariant();
        QStringList flood;
        for (int i = 0; i < 20000; ++i)
            flood.append(u"/nowhere/missing-%1.pdf"_s.arg(i));
        QTest::newRow("a flood of paths: the first hundred absolute ones")
            << SingleInstance::writeMessage(flood + QStringList{u"relative.pdf"_s}) << QVariant(flood.mid(0, 100));
    }

    void eachClientIsAnsweredOrDroppedAndServiceGoesOn()
    {
        QFETCH(QByteArray, request);
        QFETCH(QVariant, handed);
        QSignalSpy received(&m_running, &SingleInstance::handedOver);
        if (handed.isValid())
            QTest::ignoreMessage(QtWarningMsg, "19900 more documents of one hand-over were left out");
        QLocalSocket client;
        QSignalSpy gone(&client, &QLocalSocket::disconnected);
        client.connectToServer(SingleInstance::serverName());
        QVERIFY(client.waitForConnected(5000));
        client.write(request);
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, SingleInstance::ClientTimeoutMs + 2000);
        QCOMPARE(client.readAll(), handed.isValid() ? QByteArray("ok\n") : QByteArray());
        QCOMPARE(received, handed.isValid() ? QList<QVariantList>{{handed}} : QList<QVariantList>());
        // The service goes on.
        QLocalSocket next;
        next.connectToServer(SingleInstance::serverName());
        next.write(SingleInstance::writeMessage({u"/talk.pdf"_s}));
        QTRY_VERIFY(next.canReadLine());
        QCOMPARE(next.readLine(), QByteArray("ok\n"));
    }

    // Neither the runtime folder nor the temporary one the toolkit falls back to can be had.
    void unusableRuntimeFolderFallsBackToAPrivateOne()
    {
        const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray tmpBefore = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(TestEnvironment::instance().path(u"no/such/folder"_s)));
        qputenv("TMPDIR", QFile::encodeName(TestEnvironment::instance().deck(1)));
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtimeBefore);
            tmpBefore.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpBefore);
        });
        const QString folder = SingleInstance::runtimeFolder();
        QVERIFY2(folder.startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + u'/'), qPrintable(folder));
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);

        // The lock is held but nobody listens: the start waits half a second at most (the
        // bound leaves room for a busy machine, not for waiting out a retry).
        QLockFile held(folder + u"/OlvantiVIVuderidazi.lock"_s);
        QVERIFY(held.tryLock(0));
        SingleInstance later;
        QElapsedTimer clock;
        clock.start();
        QTest::ignoreMessage(QtWarningMsg, "The running instance does not answer; starting another one");
        QVERIFY(!later.handOver({u"/talk.pdf"_s}));
        QVERIFY2(clock.elapsed() < SingleInstance::ConnectTimeoutMs + 1500, qPrintable(QString::number(clock.elapsed())));
    }

private:
    SingleInstance m_running;
};

OLVANTI_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
