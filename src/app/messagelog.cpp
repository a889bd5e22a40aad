#include "messagelog.h"

#include "applog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace MessageLog {

namespace {

struct LogState
{
    QMutex mutex;
    QString path;
};

LogState &state()
{
    // Never destroyed: messages may still arrive while static objects are torn down.
    static auto *s = new LogState;
    return *s;
}

// Set while this thread is inside the handler, so a message raised by the handler's own work
// goes to standard error instead of waiting for the lock this thread already holds.
thread_local bool t_inHandler = false;

int typeNumber(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return 0;
    case QtWarningMsg:
        return 1;
    case QtCriticalMsg:
        return 2;
    case QtFatalMsg:
        return 3;
    case QtInfoMsg:
        return 4;
    }
    return 0;
}

void writeStandardError(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void handleMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (t_inHandler) {
        writeStandardError(formatLine(type, message, QDateTime::currentDateTimeUtc()));
        return;
    }
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    t_inHandler = true;
    const QByteArray line = formatLine(type, message, QDateTime::currentDateTimeUtc());
    if (!s.path.isEmpty())
        append(s.path, line);
    writeStandardError(line);
    if (type == QtFatalMsg)
        std::abort();
    t_inHandler = false;
}

QLoggingCategory::CategoryFilter s_previousFilter = nullptr;

// Qt's PDF search logs the text around a hit it cannot place ("not found in context"): the
// operator's documents have no place in the log, whatever the logging rules say.
void silenceDocumentText(QLoggingCategory *category)
{
    if (s_previousFilter)
        s_previousFilter(category);
    if (qstrcmp(category->categoryName(), "qt.pdf.search") == 0) {
        for (const QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
            category->setEnabled(type, false);
    }
}

} // namespace

bool installForApplication()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString dir = base + u"/logs"_s;
    if (base.isEmpty() || !QDir().mkpath(dir)) {
        qCWarning(lcApp).noquote() << QCoreApplication::translate("MessageLog", "Cannot create diagnostic log directory");
        return false;
    }
    install(dir + u"/presenter.log"_s);
    return true;
}

QtMessageHandler install(const QString &path)
{
    {
        LogState &s = state();
        QMutexLocker lock(&s.mutex);
        s.path = path;
    }
    static const bool filtered = [] {
        s_previousFilter = QLoggingCategory::installFilter(silenceDocumentText);
        return true;
    }();
    Q_UNUSED(filtered);
    return qInstallMessageHandler(handleMessage);
}

QString filePath()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.path;
}

QByteArray formatLine(QtMsgType type, const QString &message, const QDateTime &time)
{
    return u"%1 [%2] %3\n"_s.arg(time.toUTC().toString(Qt::ISODate), QString::number(typeNumber(type)), message).toUtf8();
}

void append(const QString &path, const QByteArray &line)
{
    // Set once the log stopped growing, so standard error hears of it once, not per line.
    static bool s_full = false;
    const QString old = path + u".1"_s;
    qint64 size = QFileInfo(path).size();
    if (size > RotationLimit) {
        // Failures are ignored: the line then goes to whatever file has the log's name.
        QFile::remove(old);
        QFile::rename(path, old);
        size = QFileInfo(path).size();
    }
    // While rotation keeps failing the log would fill the disk; standard error still gets
    // every line.
    if (size + line.size() > 2 * RotationLimit) {
        if (!s_full)
            writeStandardError(formatLine(QtWarningMsg,
                                          u"The diagnostic log %1 cannot be rotated; no more lines are written to it"_s.arg(path),
                                          QDateTime::currentDateTimeUtc()));
        s_full = true;
        return;
    }
    s_full = false;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line);
        file.close();
    }
}

} // namespace MessageLog
