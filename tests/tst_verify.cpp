#include "testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The real executable in a home of its own, as an operator would start it.
class AppRun final
{
public:
    AppRun()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const QString dir = m_home.filePath(QString::fromLatin1(name).toLower());
            QDir().mkpath(dir);
            environment.insert(QString::fromLatin1(name), dir);
        }
        const QString runtime = m_home.filePath(u"runtime"_s);
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime);
        environment.insert(u"HOME"_s, m_home.path());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_process.setProcessEnvironment(environment);
    }

    bool run(const QStringList &arguments, int timeoutMs = 60000)
    {
        QElapsedTimer clock;
        clock.start();
        m_process.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments);
        const bool finished = m_process.waitForFinished(timeoutMs);
        m_elapsedMs = clock.elapsed();
        if (!finished)
            m_process.kill();
        return finished && m_process.exitStatus() == QProcess::NormalExit;
    }

    int exitCode() const { return m_process.exitCode(); }
    qint64 elapsedMs() const { return m_elapsedMs; }
    QByteArray standardOutput() { return m_process.readAllStandardOutput(); }
    QByteArray standardError() { return m_process.readAllStandardError(); }

    QString dataDir(const QString &application) const
    {
        return m_home.filePath(u"xdg_data_home/Olvanti/"_s + application);
    }

    // Anything the operator's own identity would have left behind.
    QStringList normalTraces() const
    {
        QStringList found;
        for (const QString &path : {m_home.filePath(u"xdg_config_home/Olvanti/OlvantiVIVuderidazi.conf"_s),
                                    dataDir(u"OlvantiVIVuderidazi"_s)}) {
            if (QFileInfo::exists(path))
                found << path;
        }
        return found;
    }

private:
    QTemporaryDir m_home;
    QProcess m_process;
    qint64 m_elapsedMs = 0;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestVerify : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renderablePdfPasses()
    {
        AppRun app;
        QVERIFY(app.run({u"--verify"_s, TestEnvironment::instance().deck(3)}));

        QCOMPARE(app.exitCode(), 0);
        QVERIFY2(app.elapsedMs() < 20000, qPrintable(QString::number(app.elapsedMs())));
        QVERIFY(QFileInfo(app.dataDir(u"OlvantiVIVuderidaziDiagnostics/logs"_s)).isDir());
        QCOMPARE(app.normalTraces(), QStringList());
    }

    // One slow run covers both: the valid positional document must not rescue a missing one.
    void missingPdfTimesOutIgnoringThePositionalDocument()
    {
        AppRun app;
        const QString missing = TestEnvironment::instance().path(u"no-such-file.pdf"_s);
        QVERIFY(app.run({u"--verify"_s, missing, TestEnvironment::instance().deck(3)}));

        QCOMPARE(app.exitCode(), 2);
        QVERIFY2(app.elapsedMs() >= 20000, qPrintable(QString::number(app.elapsedMs())));
        const QString log = QString::fromUtf8(readAll(app.dataDir(u"OlvantiVIVuderidaziDiagnostics/logs/presenter.log"_s)));
        static const QRegularExpression timedOut(u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ \\[2\\] Diagnostic PDF rendering timed out$"_s,
                                                 QRegularExpression::MultilineOption);
        QVERIFY2(timedOut.match(log).hasMatch(), qPrintable(log));
        QVERIFY(app.standardError().contains("[2] Diagnostic PDF rendering timed out\n"));
        QCOMPARE(app.normalTraces(), QStringList());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");

        QTest::newRow("verify without a value is a parse error")
            << QStringList({u"--verify"_s}) << 1 << QString() << u"Missing value after '--verify'."_s;
        QTest::newRow("version names the application")
            << QStringList({u"--version"_s}) << 0 << u"OlvantiVIVuderidazi 0.7"_s << QString();
        QTest::newRow("help describes program, document and verify")
            << QStringList({u"--help"_s}) << 0
            << u"Olvanti PDF reader and presentation system|[document]|--verify <pdf>|render the first live frame"_s
            << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        AppRun app;
        QVERIFY(app.run(arguments, 30000));

        QCOMPARE(app.exitCode(), exitCode);
        const QString out = QString::fromUtf8(app.standardOutput());
        const QString err = QString::fromUtf8(app.standardError());
        for (const QString &expected : output.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(out.contains(expected), qPrintable(out));
        if (!errors.isEmpty())
            QVERIFY2(err.contains(errors), qPrintable(err));
        QCOMPARE(app.normalTraces(), QStringList());
    }
};

OLVANTI_TEST_MAIN(TestVerify)
#include "tst_verify.moc"
