#include "app/singleinstance.h"
#include "testenv.h"

#include <QDir>
#include <QFileOpenEvent>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// This test process is the running instance; the real executable, started beside it in the same
// runtime folder, is the later start.
class TestSingleInstance : public QObject
{
    Q_OBJECT

public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::FileOpen) {
            m_opened.append(static_cast<QFileOpenEvent *>(event)->file());
            return true;
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(!m_running.handOver({}));
        qApp->installEventFilter(this);
    }

    void init() { m_opened.clear(); }

    void laterStartHandsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("activations");

        const QString files = QFileInfo(TestEnvironment::instance().path(u"x"_s)).absolutePath();
        QTest::newRow("relative path made absolute") << QStringList{u"talk.pdf"_s} << QStringList{files + u"/talk.pdf"_s} << 1;
        QTest::newRow("several documents in order")
            << QStringList{u"/b.opack"_s, u"a.oplaylist"_s} << QStringList{u"/b.opack"_s, files + u"/a.oplaylist"_s} << 1;
        QTest::newRow("no document brings the window to the front") << QStringList() << QStringList() << 1;
        QTest::newRow("verify run stays on its own")
            << QStringList{u"--verify"_s, TestEnvironment::instance().deck(2)} << QStringList() << 0;
    }

    void laterStartHandsOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        QFETCH(int, activations);
        QSignalSpy activated(&m_running, &SingleInstance::activationRequested);
        QProcess later;
        QSignalSpy finished(&later, &QProcess::finished);
        later.setWorkingDirectory(QFileInfo(TestEnvironment::instance().path(u"x"_s)).absolutePath());
        later.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments);

        // The later start waits for our answer, so this event loop has to keep running.
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(activated.size(), activations);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_opened, opened);
    }

    void malformedRequestIsDroppedAndServiceGoesOn_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("not JSON") << QByteArray("open /etc/passwd\n");
        QTest::newRow("JSON object instead of a list") << QByteArray("{\"path\":\"/a.pdf\"}\n");
        QTest::newRow("endless line") << QByteArray((1 << 20) + 2, 'x');
    }

    void malformedRequestIsDroppedAndServiceGoesOn()
    {
        QFETCH(QByteArray, request);
        QLocalSocket client;
        QSignalSpy gone(&client, &QLocalSocket::disconnected);
        client.connectToServer(SingleInstance::serverName());
        QVERIFY(client.waitForConnected(5000));
        client.write(request);

        QTRY_COMPARE(gone.size(), 1);
        QCOMPARE(client.readAll(), QByteArray());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_opened, QStringList());
    }

private:
    SingleInstance m_running;
    QStringList m_opened;
};

OLVANTI_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
