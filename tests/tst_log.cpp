#include "app/messagelog.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int LinesPerWriter = 3000;

// What a child process of this test logs, so that its standard error can be read whole and a
// fatal message ends the child only.
void playScene(const QByteArray &scene)
{
    if (scene == "message") {
        qt_message_output(QtMsgType(qEnvironmentVariableIntValue("OLVANTI_TEST_TYPE")), QMessageLogContext(),
                          qEnvironmentVariable("OLVANTI_TEST_TEXT"));
    } else if (scene == "blocked") {
        qInfo("still fits"); // the line is 36 bytes
        qInfo("would pass twice the limit");
        qInfo("also kept out");
    } else if (scene == "search") {
        const QLoggingCategory search("qt.pdf.search");
        qCWarning(search) << "not found in context" << "text of a page";
        qWarning("a line of our own");
    } else if (scene == "threads") {
        const auto writer = [](char name) {
            return std::thread([name] {
                for (int i = 0; i < LinesPerWriter; ++i)
                    qInfo("writer %c line %04d of a message long enough to be written in pieces", name, i);
            });
        };
        std::thread a = writer('A'), b = writer('B');
        a.join();
        b.join();
    }
}

// Started again as a child: play the scene into the named log before any test runs.
[[maybe_unused]] const bool s_child = [] {
    const QByteArray log = qgetenv("OLVANTI_TEST_LOG");
    if (log.isEmpty())
        return false;
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    MessageLog::install(QFile::decodeName(log));
    playScene(qgetenv("OLVANTI_TEST_SCENE"));
    std::_Exit(0);
}();

struct Played
{
    QByteArray errors; // what the child wrote to standard error
    bool crashed = true;
};

// Plays `scene` in a child process of this test that logs into `log`.
Played play(const QString &log, const QString &scene, const QStringList &environment = {})
{
    QProcess child;
    child.setEnvironment(QProcess::systemEnvironment() + environment
                         << u"OLVANTI_TEST_LOG="_s + log << u"OLVANTI_TEST_SCENE="_s + scene);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(120000))
        return {};
    return {child.readAllStandardError(), child.exitStatus() == QProcess::CrashExit};
}

const QRegularExpression LinePattern(u"^(\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}Z) \\[(\\d)\\] (.*)\\n$"_s,
                                     QRegularExpression::DotMatchesEverythingOption);

using PlaylistTest::readBytes;
using PlaylistTest::writeBytes;

// One line of filler text, `size` bytes long.
QByteArray filler(qint64 size)
{
    return QByteArray(size - 1, 'x') + '\n';
}

} // namespace

class TestLog : public QObject
{
    Q_OBJECT

private:
    QString freshLog(const QString &name)
    {
        const QString dir = TestEnvironment::instance().path(name);
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        return dir + u"/presenter.log"_s;
    }

private Q_SLOTS:
    void rotationAboveTheLimitKeepsOneOldGeneration()
    {
        const QString log = freshLog(u"rotation"_s);
        const QString old = log + u".1"_s;
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeBytes(log, full);
        MessageLog::append(log, "first\n");
        QVERIFY2(!QFile::exists(old), "exactly 2 MiB is not rotated");
        QCOMPARE(readBytes(log), full + "first\n");

        MessageLog::append(log, "second\n");
        QCOMPARE(readBytes(old), full + "first\n");
        QCOMPARE(readBytes(log), QByteArray("second\n"));

        writeBytes(log, readBytes(log) + full);
        MessageLog::append(log, "third\n");
        QCOMPARE(readBytes(old), "second\n" + full);
        QCOMPARE(readBytes(log), QByteArray("third\n"));
        QCOMPARE(QDir(QFileInfo(log).path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({u"presenter.log"_s, u"presenter.log.1"_s}));
    }

    void blockedRotationStopsAtTwiceTheLimit()
    {
        const QString log = freshLog(u"blocked"_s);
        // A non-empty folder with the old log's name can be neither removed nor replaced.
        QVERIFY(QDir().mkpath(log + u".1/inside"_s));
        const QByteArray big = filler(2 * MessageLog::RotationLimit - 60);
        writeBytes(log, big);
        const Played child = play(log, u"blocked"_s);
        QVERIFY(!child.crashed);

        const QByteArray kept = readBytes(log);
        QCOMPARE(kept.size(), big.size() + 36);
        QVERIFY(kept.endsWith("] still fits\n"));
        // Standard error loses nothing and hears of the full log once.
        for (const char *text : {"still fits", "would pass twice the limit", "also kept out"})
            QVERIFY2(child.errors.contains(text), child.errors.constData());
        QCOMPARE(child.errors.count("cannot be rotated"), 1);
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");

        QTest::newRow("debug is 0") << int(QtDebugMsg) << u"a debug message"_s << 0;
        QTest::newRow("critical is 2") << int(QtCriticalMsg) << u"a critical message"_s << 2;
        QTest::newRow("warning is 1, UTF-8 text round-trips") << int(QtWarningMsg) << u"Grüße – 日本語 ✓ «€»"_s << 1;
        QTest::newRow("info is 4, placeholders stay literal") << int(QtInfoMsg) << u"50% done, %1 %2 %3 left"_s << 4;
        QTest::newRow("fatal is 3, written before the abort") << int(QtFatalMsg) << u"fatal message"_s << 3;
    }

    // The line reaches the log and standard error alike; a fatal one before the abort.
    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(int, number);
        const QString log = freshLog(u"format"_s);
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-999);
        const Played child = play(log, u"message"_s,
                                  {u"OLVANTI_TEST_TYPE=%1"_s.arg(type), u"OLVANTI_TEST_TEXT="_s + text});
        const QDateTime after = QDateTime::currentDateTimeUtc();
        QCOMPARE(child.crashed, type == QtFatalMsg);

        const QByteArray line = readBytes(log);
        QCOMPARE(child.errors, line);
        const QRegularExpressionMatch match = LinePattern.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        const QDateTime time = QDateTime::fromString(match.captured(1), Qt::ISODate);
        QVERIFY(time >= before && time <= after);
        QCOMPARE(match.captured(2).toInt(), number);
        QCOMPARE(match.captured(3), text);
    }

    void pdfSearchNeverLogsDocumentText()
    {
        const QString log = freshLog(u"search"_s);
        const Played child = play(log, u"search"_s);
        QVERIFY(!QByteArray(readBytes(log) + child.errors).contains("text of a page"));
        QVERIFY(readBytes(log).contains("a line of our own"));
    }

    void concurrentWritersProduceWholeLines()
    {
        const QString log = freshLog(u"threads"_s);
        // Both writers cross the rotation limit at the same time: exactly one rotation may happen.
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeBytes(log, full);
        const Played child = play(log, u"threads"_s);
        QVERIFY(!child.crashed);
        QCOMPARE(child.errors.count('\n'), 2 * LinesPerWriter);

        const QByteArray old = readBytes(log + u".1"_s);
        QVERIFY(old.startsWith(full));
        const QList<QByteArray> lines = QByteArray(old.mid(full.size()) + readBytes(log)).split('\n');
        QCOMPARE(lines.size(), 2 * LinesPerWriter + 1);
        QVERIFY(lines.last().isEmpty());
        static const QRegularExpression message(u"^\\S+Z \\[4\\] writer ([AB]) line (\\d{4}) of a message long enough to be written in pieces$"_s);
        int next[2] = {0, 0};
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = message.match(QString::fromUtf8(lines.at(i)));
            QVERIFY2(match.hasMatch(), lines.at(i).constData());
            QCOMPARE(match.captured(2).toInt(), next[match.captured(1) == u"B"_s ? 1 : 0]++);
        }
    }
};

OLVANTI_TEST_MAIN(TestLog)
#include "tst_log.moc"
