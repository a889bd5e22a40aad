#include "app/messagelog.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
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

void writeAll(const QString &path, const QByteArray &data, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    QVERIFY(file.open(mode));
    QCOMPARE(file.write(data), data.size());
}

// Whole lines of filler text, `size` bytes in all.
QByteArray filler(qint64 size)
{
    QByteArray data(size, 'x');
    for (qint64 i = 63; i < size; i += 64)
        data[i] = '\n';
    if (size > 0)
        data[size - 1] = '\n';
    return data;
}

// Sends standard error into a file while alive, so the test can read what the handler wrote.
class StandardErrorCapture final
{
public:
    explicit StandardErrorCapture(const QString &path)
        : m_path(path)
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StandardErrorCapture() { restore(); }

    QByteArray take()
    {
        restore();
        return readAll(m_path);
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    QString m_path;
    int m_saved = -1;
};

// Routes messages to a log while alive and gives the test framework its handler back after.
class LogInstalled final
{
public:
    explicit LogInstalled(const QString &path)
        : m_previous(MessageLog::install(path))
    {
    }
    ~LogInstalled() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

class EnvironmentOverride final
{
public:
    EnvironmentOverride(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_wasSet(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};

void logMessage(QtMsgType type, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    switch (type) {
    case QtDebugMsg:
        qDebug("%s", utf8.constData());
        break;
    case QtWarningMsg:
        qWarning("%s", utf8.constData());
        break;
    case QtCriticalMsg:
        qCritical("%s", utf8.constData());
        break;
    case QtInfoMsg:
        qInfo("%s", utf8.constData());
        break;
    case QtFatalMsg:
        QFAIL("fatal messages are tested in a child process");
    }
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
    void rotation_data()
    {
        QTest::addColumn<qint64>("existingSize"); // -1: no log yet
        QTest::addColumn<bool>("olderGeneration");
        QTest::addColumn<bool>("rotates");

        QTest::newRow("missing log is created") << qint64(-1) << false << false;
        QTest::newRow("one byte under 2 MiB is appended to") << MessageLog::RotationLimit - 1 << false << false;
        QTest::newRow("exactly 2 MiB is not rotated") << MessageLog::RotationLimit << true << false;
        QTest::newRow("one byte over 2 MiB is rotated") << MessageLog::RotationLimit + 1 << false << true;
        QTest::newRow("rotation replaces the older generation") << MessageLog::RotationLimit + 1 << true << true;
    }

    void rotation()
    {
        QFETCH(qint64, existingSize);
        QFETCH(bool, olderGeneration);
        QFETCH(bool, rotates);
        const QString log = freshLog(u"rotation"_s);
        const QString old = log + u".1"_s;
        const QByteArray before = existingSize < 0 ? QByteArray() : filler(existingSize);
        if (existingSize >= 0)
            writeAll(log, before);
        if (olderGeneration)
            writeAll(old, "older generation\n");
        const QByteArray line = "2024-05-01T10:00:00Z [4] new line\n";

        MessageLog::append(log, line);

        if (rotates) {
            QCOMPARE(readAll(log), line);
            QCOMPARE(readAll(old), before);
        } else {
            QCOMPARE(readAll(log), before + line);
            QCOMPARE(QFile::exists(old), olderGeneration);
        }
    }

    void exactLimitRotatesOnTheFollowingMessage()
    {
        const QString log = freshLog(u"following"_s);
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeAll(log, full);

        MessageLog::append(log, "first\n");
        QVERIFY(!QFile::exists(log + u".1"_s));
        MessageLog::append(log, "second\n");

        QCOMPARE(readAll(log + u".1"_s), full + "first\n");
        QCOMPARE(readAll(log), QByteArray("second\n"));
    }

    void twoRotationsKeepOnlyTheMostRecentOldLog()
    {
        const QString log = freshLog(u"twice"_s);
        writeAll(log, filler(MessageLog::RotationLimit + 10));
        MessageLog::append(log, "one\n");
        const QByteArray secondOld = "one\n" + filler(MessageLog::RotationLimit);
        writeAll(log, filler(MessageLog::RotationLimit), QIODevice::Append);
        MessageLog::append(log, "two\n");

        QCOMPARE(readAll(log + u".1"_s), secondOld);
        QCOMPARE(readAll(log), QByteArray("two\n"));
        QCOMPARE(QDir(QFileInfo(log).path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({u"presenter.log"_s, u"presenter.log.1"_s}));
    }

    void blockedRotationKeepsAppending()
    {
        const QString log = freshLog(u"blocked"_s);
        const QByteArray big = filler(MessageLog::RotationLimit + 1);
        writeAll(log, big);
        // A non-empty folder with the old log's name can be neither removed nor replaced.
        QVERIFY(QDir().mkpath(log + u".1/inside"_s));

        MessageLog::append(log, "still here\n");

        QCOMPARE(readAll(log), big + "still here\n");
        QVERIFY(QFileInfo(log + u".1"_s).isDir());
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");

        QTest::newRow("debug is 0") << int(QtDebugMsg) << u"a debug message"_s << 0;
        QTest::newRow("warning is 1") << int(QtWarningMsg) << u"a warning"_s << 1;
        QTest::newRow("critical is 2") << int(QtCriticalMsg) << u"a critical message"_s << 2;
        QTest::newRow("info is 4") << int(QtInfoMsg) << u"some information"_s << 4;
        QTest::newRow("UTF-8 text round-trips") << int(QtWarningMsg) << u"Grüße – 日本語 ✓ «€»"_s << 1;
        QTest::newRow("placeholders in the text stay literal") << int(QtInfoMsg) << u"50% done, %1 %2 %3 left"_s << 4;
    }

    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(int, number);
        const QString log = freshLog(u"format"_s);
        StandardErrorCapture standardError(TestEnvironment::instance().path(u"format-stderr.txt"_s));
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-999);
        {
            LogInstalled installed(log);
            logMessage(QtMsgType(type), text);
        }
        const QDateTime after = QDateTime::currentDateTimeUtc();
        const QByteArray written = standardError.take();

        const QByteArray line = readAll(log);
        QCOMPARE(written, line);
        const QRegularExpressionMatch match = LinePattern.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        const QDateTime time = QDateTime::fromString(match.captured(1), Qt::ISODate);
        QCOMPARE(time.timeSpec(), Qt::UTC);
        QVERIFY(time >= before && time <= after);
        QCOMPARE(match.captured(2).toInt(), number);
        QCOMPARE(match.captured(3), text);
    }

    void concurrentWritersProduceWholeLines()
    {
        constexpr int perThread = 3000;
        const QString log = freshLog(u"threads"_s);
        // Both writers cross the rotation limit at the same time: exactly one rotation may happen.
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeAll(log, full);
        StandardErrorCapture standardError(TestEnvironment::instance().path(u"threads-stderr.txt"_s));
        {
            LogInstalled installed(log);
            auto writer = [](char name) {
                return QThread::create([name] {
                    for (int i = 0; i < perThread; ++i)
                        qInfo("writer %c line %04d of a message long enough to be written in pieces", name, i);
                });
            };
            std::unique_ptr<QThread> a(writer('A'));
            std::unique_ptr<QThread> b(writer('B'));
            a->start();
            b->start();
            QVERIFY(a->wait(120000));
            QVERIFY(b->wait(120000));
        }
        const QByteArray errors = standardError.take();

        const QByteArray old = readAll(log + u".1"_s);
        QVERIFY(old.startsWith(full));
        const QByteArray logged = old.mid(full.size()) + readAll(log);
        const QRegularExpression message(u"^\\S+Z \\[4\\] writer ([AB]) line (\\d{4}) of a message long enough to be written in pieces$"_s);
        int next[2] = {0, 0};
        const QList<QByteArray> lines = logged.split('\n');
        QCOMPARE(lines.size(), 2 * perThread + 1);
        QVERIFY(lines.last().isEmpty());
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = message.match(QString::fromUtf8(lines.at(i)));
            QVERIFY2(match.hasMatch(), lines.at(i).constData());
            int &expected = next[match.captured(1) == u"B"_s ? 1 : 0];
            QCOMPARE(match.captured(2).toInt(), expected);
            ++expected;
        }
        QCOMPARE(next[0], perThread);
        QCOMPARE(next[1], perThread);
        QCOMPARE(errors.count('\n'), 2 * perThread);
    }

    void fatalReachesFileAndStandardErrorBeforeAbort()
    {
        const QString log = freshLog(u"fatal"_s);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"OLVANTI_TEST_FATAL_LOG"_s, log);
        child.setProcessEnvironment(environment);
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

    void logDirectoryCreatedWithParents()
    {
        const QString dataHome = TestEnvironment::instance().path(u"data-home/not/yet/there"_s);
        EnvironmentOverride data("XDG_DATA_HOME", QFile::encodeName(dataHome));
        const QString name = QCoreApplication::applicationName();
        const QString organisation = QCoreApplication::organizationName();
        QCoreApplication::setOrganizationName(u"Olvanti"_s);
        QCoreApplication::setApplicationName(u"LogDirectoryCheck"_s);
        const auto restoreNames = qScopeGuard([&] {
            QCoreApplication::setOrganizationName(organisation);
            QCoreApplication::setApplicationName(name);
        });
        const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(testHandler);
        StandardErrorCapture standardError(TestEnvironment::instance().path(u"directory-stderr.txt"_s));

        QVERIFY(MessageLog::installForApplication());
        qInfo("first entry");
        qInstallMessageHandler(testHandler);
        standardError.take();

        const QString expected = dataHome + u"/Olvanti/LogDirectoryCheck/logs/presenter.log"_s;
        QCOMPARE(MessageLog::filePath(), expected);
        QVERIFY(readAll(expected).endsWith(" [4] first entry\n"));
    }

    void unusableLogDirectoryWarnsAndInstallsNothing()
    {
        const QString blocker = TestEnvironment::instance().path(u"plain-file"_s);
        writeAll(blocker, "not a folder");
        EnvironmentOverride data("XDG_DATA_HOME", QFile::encodeName(blocker + u"/data"_s));
        const QtMessageHandler current = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(current);

        QTest::ignoreMessage(QtWarningMsg, "Cannot create diagnostic log directory");
        QVERIFY(!MessageLog::installForApplication());

        QVERIFY(qInstallMessageHandler(current) == current);
    }
};

OLVANTI_TEST_MAIN(TestLog)
#include "tst_log.moc"
