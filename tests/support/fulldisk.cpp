#include "fulldisk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

FullDisk::FullDisk(Kind kind, const QString &folder)
    : m_kind(kind)
    , m_folder(folder)
{
    QDir().mkpath(folder);
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    if (kind == Kind::SizeLimit)
        return;
    if (::geteuid() != 0)
        m_unavailable = QStringLiteral("mounting a tmpfs needs root");
    else if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=1m") != 0)
        m_unavailable = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
    else
        m_mounted = true;
}

FullDisk::~FullDisk()
{
    release();
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

void FullDisk::fill(qint64 room)
{
    if (m_kind == Kind::SizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN); // the signal of a write past the limit would end the process
        const rlimit limited{rlim_t(room), m_saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        return;
    }
    struct statvfs space {};
    ::statvfs(QFile::encodeName(m_folder).constData(), &space);
    QFile filler(m_folder + QStringLiteral("/.filler"));
    if (filler.open(QIODevice::WriteOnly))
        filler.write(QByteArray(qMax<qint64>(0, qint64(space.f_bavail * space.f_frsize) - room), 'f'));
}

void FullDisk::release()
{
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
    QFile::remove(m_folder + QStringLiteral("/.filler"));
}

QString FullDisk::cause() const
{
    return QString::fromLocal8Bit(std::strerror(m_kind == Kind::Tmpfs ? ENOSPC : EFBIG));
}
