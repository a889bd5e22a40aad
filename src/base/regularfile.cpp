#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Empty for a regular file, else what `path` is instead.
QString describe(mode_t mode, const QString &path)
{
    if (S_ISREG(mode))
        return QString();
    const QString name = QFileInfo(path).fileName();
    if (S_ISDIR(mode))
        return RegularFile::tr("\"%1\" is a folder, not a file.").arg(name);
    return RegularFile::tr("\"%1\" is a pipe, socket or device, not a file that can be opened.").arg(name);
}

// A descriptor reading `path`, or -1 with the reason. The non-blocking open returns at once
// even for a pipe that took the file's place since it was looked at; for a regular file the
// flag changes nothing.
int openDescriptor(const QString &path, QString &reason)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = qt_error_string(errno);
        return -1;
    }
    struct stat info;
    reason = ::fstat(fd, &info) == 0 ? describe(info.st_mode, path) : qt_error_string(errno);
    if (reason.isEmpty())
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

QString RegularFile::refusal(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return describe(info.st_mode, path);
}

bool RegularFile::open(QFile &file, const QString &path, QString *error)
{
    // Looked at first, so that not even a device is opened.
    QString reason = refusal(path);
    if (reason.isEmpty()) {
        const int fd = openDescriptor(path, reason);
        if (fd >= 0 && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            reason = file.errorString();
            ::close(fd);
        }
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}
