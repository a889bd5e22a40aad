#include "fuzzsupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

void Fuzz::start()
{
    if (QCoreApplication::instance())
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // Every rejected input would log; at millions of inputs that is most of the run time.
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    static int argc = 1;
    static char name[] = "olvanti-fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: tearing the toolkit down during static destruction leaves font caches
    // unreachable, which the leak checker would report against every input.
    new QGuiApplication(argc, argv);
}

QString Fuzz::scratch()
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        fail("a scratch folder can be created", __FILE__, __LINE__);
    return folder.path();
}

void Fuzz::writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        fail("the input can be written to a file", __FILE__, __LINE__);
}

bool Fuzz::waitFor(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    // Wakes the wait below now and then, so the deadline is seen even when nothing arrives.
    QTimer tick;
    tick.start(50);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void Fuzz::fail(const char *check, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, check);
    std::abort();
}
