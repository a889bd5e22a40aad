#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QString configDir() { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Olvanti"_s; }
QString dataDir() { return qEnvironmentVariable("XDG_DATA_HOME") + u"/Olvanti"_s; }

} // namespace

class TestVerify : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Runs as a script starts them without a display: none is needed, only the diagnostics are left behind.
    void everyRunEndsWithItsOwnCode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output"); // a "[2]" line on stderr and in the diagnostics log
        TestEnvironment &env = TestEnvironment::instance();
        const QString pipe = env.path(u"verify-pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // The broken page first: the document loads, but its first frame can never be made.
        const QString brokenFirst = env.path(u"broken-first.pdf"_s);
        PlaylistTest::writeBytes(brokenFirst, PlaylistTest::readBytes(env.brokenPageDocument())
                                                  .replace("[3 0 R 9 0 R 4 0 R]", "[9 0 R 3 0 R 4 0 R]"));
        const QByteArray refused("[2] Diagnostic PDF could not be opened\n");
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QByteArray("Olvanti PDF reader and presentation system");
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QByteArray("OlvantiVIVuderidazi 0.7\n");
        QTest::newRow("no value: a parse error, not a crash") << QStringList{u"--verify"_s} << 1
                                                              << QByteArray("Missing value after '--verify'.");
        // Code 2 would mean it sat out the time-out; its own code means it stopped at the refusal.
        QTest::newRow("damaged file") << QStringList{u"--verify"_s, env.damagedDocument()} << 3 << refused;
        QTest::newRow("pipe") << QStringList{u"--verify"_s, pipe} << 3 << refused;
        QTest::newRow("first page cannot be rendered") << QStringList{u"--verify"_s, brokenFirst} << 3 << refused;
        // The valid positional document must not rescue a missing one.
        QTest::newRow("missing file times out")
            << QStringList{u"--verify"_s, env.path(u"no-such-file.pdf"_s), env.deck(3)} << 2
            << QByteArray("[2] Diagnostic PDF rendering timed out\n");
    }

    void everyRunEndsWithItsOwnCode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, output);
        // The real executable, started in this test's own home from a clean slate.
        QDir(configDir()).removeRecursively();
        QDir(dataDir()).removeRecursively();
        QElapsedTimer clock;
        clock.start();
        const ProgramRun app = runProgram(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments,
                                          {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s});
        const qint64 elapsed = clock.elapsed();

        QTEST(app.code, "exitCode");
        const bool logged = output.startsWith("[2]");
        QVERIFY2((logged ? app.err : app.out + app.err).contains(output), app.err.constData());
        if (logged) {
            QFile log(dataDir() + u"/OlvantiVIVuderidaziDiagnostics/logs/presenter.log"_s);
            QVERIFY(log.open(QIODevice::ReadOnly) && log.readAll().contains(output));
        }
        if (app.code == 2)
            QVERIFY2(elapsed >= 20000, qPrintable(QString::number(elapsed)));
        // Nothing left in the organisation's folders but the diagnostics identity's own files.
        QStringList traces = QDir(configDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                             + QDir(dataDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        traces.removeIf([](const QString &name) { return name.startsWith(u"OlvantiVIVuderidaziDiagnostics"_s); });
        QCOMPARE(traces, QStringList());
    }
};

OLVANTI_TEST_MAIN(TestVerify)
#include "tst_verify.moc"
