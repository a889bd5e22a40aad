#include "storage/safesave.h"

#include "storage/storagelog.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Syncs the folder itself, so the new name survives a crash as well as the bytes do.
int syncDirectory(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // File systems that cannot sync a folder say so with EINVAL; that is no failure of the data.
    return result == EINVAL ? 0 : result;
}

} // namespace

SafeSave::SafeSave(const QString &path)
    : m_path(path)
{
}

SafeSave::~SafeSave()
{
    discard();
}

void SafeSave::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.constData());
        m_fd = -1;
    }
}

QString SafeSave::systemError(int error)
{
    const QString text = QString::fromLocal8Bit(std::generic_category().message(error));
    return text.isEmpty() ? tr("error %1").arg(error) : text;
}

bool SafeSave::fail(const QString &reason)
{
    if (m_error.isEmpty()) {
        qCWarning(lcStorage).noquote() << "cannot write" << m_path << reason;
        m_error = reason;
    }
    discard();
    return false;
}

bool SafeSave::failWithSystemError()
{
    return fail(systemError(errno));
}

bool SafeSave::open()
{
    const QByteArray target = QFile::encodeName(m_path);
    const QFileInfo info(m_path);
    // Hidden beside the target, and short enough for any name the target itself may have.
    const QByteArray stem = QFile::encodeName(info.absolutePath()) + "/." + QFile::encodeName(info.fileName()).left(200) + '.';
    struct stat existing {};
    // Like any new file the program creates, unless it replaces one with permissions of its own.
    const mode_t mode = ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd < 0 && errno != EEXIST)
            return failWithSystemError();
    }
    if (m_fd < 0)
        return failWithSystemError();
    // The umask applies to a new file only; a replaced one keeps exactly what it had.
    if (mode != 0666)
        ::fchmod(m_fd, mode);
    return true;
}

bool SafeSave::write(const char *data, qint64 size)
{
    if (m_fd < 0)
        return fail(tr("the file is not open for writing"));
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        // A write that takes nothing without saying why means the disk took no more.
        if (written <= 0)
            return written < 0 ? failWithSystemError() : fail(systemError(ENOSPC));
        data += written;
        size -= written;
    }
    return true;
}

bool SafeSave::write(const QByteArray &bytes)
{
    return write(bytes.constData(), bytes.size());
}

bool SafeSave::commit(Sync sync)
{
    if (m_fd < 0)
        return fail(tr("the file is not open for writing"));
    // Some file systems report a full disk or a lost write only here. One that cannot sync at
    // all says so with EINVAL, which is no failure of the data.
    if (sync == Sync::Now && ::fsync(m_fd) != 0 && errno != EINVAL)
        return failWithSystemError();
    const int closed = ::close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    if (closed != 0) {
        ::unlink(m_temporary.constData());
        return fail(systemError(closed));
    }
    const QByteArray target = QFile::encodeName(m_path);
    if (::rename(m_temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(m_temporary.constData());
        return fail(systemError(error));
    }
    // The new file is in place and on the disk; only its name might not survive a crash.
    if (sync == Sync::Now) {
        if (const int error = syncDirectory(QFile::encodeName(QFileInfo(m_path).absolutePath())))
            qCWarning(lcStorage).noquote() << "cannot sync the folder of" << m_path << systemError(error);
    }
    return true;
}

QString SafeSave::save(const QString &path, const QByteArray &bytes)
{
    SafeSave file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return {};
    return file.errorString();
}

QString SafeSave::syncFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    // One call for the whole file system: far cheaper than a sync per file.
    const int result = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (result != 0) {
        qCWarning(lcStorage).noquote() << "cannot sync" << folder << systemError(result);
        return systemError(result);
    }
    return {};
}
