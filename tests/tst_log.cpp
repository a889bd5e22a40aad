#include "app/messagelog.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Started again as a child by the fatal test: log one fatal message into the named log and
// die before any test runs.
[[maybe_unused]] const bool s_fatalChild = [] {
    const QByteArray path = qgetenv("OLVANTI_TEST_FATAL_LOG");
    if (path.isEmpty())
        return false;
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    MessageLog::install(QFile::decodeName(path));
    qFatal("fatal message from the child");
    return true;
}();

const QRegularExpression LinePattern(u"^(\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}Z) \\[(\\d)\\] (.*)\\n$"_s,
                                     QRegularExpression::DotMatchesEverythingOption);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendTo(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(data), data.size());
}

// One line of filler text, `size` bytes long.
QByteArray filler(qint64 size)
{
    return QByteArray(size - 1, 'x') + '\n';
}

// Routes messages to a log and standard error into a file while alive; take() restores both.
class CapturedLog final
{
public:
    explicit CapturedLog(const QString &log)
        : m_errors(log + u".stderr"_s)
    {
        m_savedError = ::dup(STDERR_FILENO);
        const int fd = ::open(QFile::encodeName(m_errors).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
        m_previous = MessageLog::install(log);
    }
    ~CapturedLog() { take(); }

    // What the handler wrote to standard error.
    QByteArray take()
    {
        if (m_savedError >= 0) {
            qInstallMessageHandler(m_previous);
            ::dup2(m_savedError, STDERR_FILENO);
            ::close(m_savedError);
            m_savedError = -1;
        }
        return readAll(m_errors);
    }

private:
    QString m_errors;
    int m_savedError = -1;
    QtMessageHandler m_previous = nullptr;
};

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
        appendTo(log, full);

        MessageLog::append(log, "first\n");
        QVERIFY2(!QFile::exists(old), "exactly 2 MiB is not rotated");
        QCOMPARE(readAll(log), full + "first\n");

        MessageLog::append(log, "second\n");
        QCOMPARE(readAll(old), full + "first\n");
        QCOMPARE(readAll(log), QByteArray("second\n"));

        appendTo(log, full);
        MessageLog::append(log, "third\n");
        QCOMPARE(readAll(old), "second\n" + full);
        QCOMPARE(readAll(log), QByteArray("third\n"));
        QCOMPARE(QDir(QFileInfo(log).path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({u"presenter.log"_s, u"presenter.log.1"_s}));
    }

    void blockedRotationStopsAtTwiceTheLimit()
    {
        const QString log = freshLog(u"blocked"_s);
        // A non-empty folder with the old log's name can be neither removed nor replaced.
        QVERIFY(QDir().mkpath(log + u".1/inside"_s));
        const QByteArray big = filler(2 * MessageLog::RotationLimit - 60);
        appendTo(log, big);
        CapturedLog captured(log);
        qInfo("still fits");  // the line is 36 bytes
        qInfo("would pass twice the limit");
        qInfo("also kept out");
        const QByteArray errors = captured.take();

        const QByteArray kept = readAll(log);
        QCOMPARE(kept.size(), big.size() + 36);
        QVERIFY(kept.endsWith("] still fits\n"));
        // Standard error loses nothing and hears of the full log once.
        for (const char *text : {"still fits", "would pass twice the limit", "also kept out"})
            QVERIFY2(errors.contains(text), errors.constData());
        QCOMPARE(errors.count("cannot be rotated"), 1);
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
    }

    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(int, number);
        const QString log = freshLog(u"format"_s);
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-999);
        CapturedLog captured(log);
        qt_message_output(QtMsgType(type), QMessageLogContext(), text);
        const QByteArray errors = captured.take();
        const QDateTime after = QDateTime::currentDateTimeUtc();

        const QByteArray line = readAll(log);
        QCOMPARE(errors, line);
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
        CapturedLog captured(log);
        const QLoggingCategory search("qt.pdf.search");
        qCWarning(search) << "not found in context" << "text of a page";
        qWarning("a line of our own");
        QVERIFY(!QByteArray(readAll(log) + captured.take()).contains("text of a page"));
        QVERIFY(readAll(log).contains("a line of our own"));
    }

    void concurrentWritersProduceWholeLines()
    {
        constexpr int perThread = 3000;
        const QString log = freshLog(u"threads"_s);
        // Both writers cross the rotation limit at the same time: exactly one rotation may happen.
        const QByteArray full = filler(MessageLog::RotationLimit);
        appendTo(log, full);
        CapturedLog captured(log);
        auto writer = [](char name) {
            return std::unique_ptr<QThread>(QThread::create([name] {
                for (int i = 0; i < perThread; ++i)
                    qInfo("writer %c line %04d of a message long enough to be written in pieces", name, i);
            }));
        };
        const auto a = writer('A'), b = writer('B');
        a->start();
        b->start();
        QVERIFY(a->wait(120000) && b->wait(120000));
        QCOMPARE(captured.take().count('\n'), 2 * perThread);

        const QByteArray old = readAll(log + u".1"_s);
        QVERIFY(old.startsWith(full));
        const QList<QByteArray> lines = QByteArray(old.mid(full.size()) + readAll(log)).split('\n');
        QCOMPARE(lines.size(), 2 * perThread + 1);
        QVERIFY(lines.last().isEmpty());
        static const QRegularExpression message(u"^\\S+Z \\[4\\] writer ([AB]) line (\\d{4}) of a message long enough to be written in pieces$"_s);
        int next[2] = {0, 0};
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = message.match(QString::fromUtf8(lines.at(i)));
            QVERIFY2(match.hasMatch(), lines.at(i).constData());
            QCOMPARE(match.captured(2).toInt(), next[match.captured(1) == u"B"_s ? 1 : 0]++);
        }
    }

    void fatalReachesFileAndStandardErrorBeforeAbort()
    {
        const QString log = freshLog(u"fatal"_s);
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << u"OLVANTI_TEST_FATAL_LOG="_s + log);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));

        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QByteArray line = readAll(log);
        const QRegularExpressionMatch match = LinePattern.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        QCOMPARE(match.captured(2), u"3"_s);
        QCOMPARE(match.captured(3), u"fatal message from the child"_s);
        QVERIFY(child.readAllStandardError().contains(line));
    }
};

OLVANTI_TEST_MAIN(TestLog)
#include "tst_log.moc"
