#include "pdfsource.h"

#include "base/regularfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads refused to an abandoned load before it is served zeros instead.
constexpr int RefusedReads = 4096;

// Size and modification time in nanoseconds of an open file; {-1, -1} when it cannot be asked.
std::pair<qint64, qint64> fileStamp(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return {-1, -1};
    return {qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

} // namespace

PdfSource::PdfSource(const QString &path, std::function<bool()> wanted, QObject *parent)
    : QIODevice(parent)
    , m_path(path)
    , m_wanted(std::move(wanted))
{
}

PdfSource::~PdfSource() = default;

bool PdfSource::openFile(QString *error)
{
    if (!RegularFile::open(m_file, m_path, nullptr)) {
        // A missing or unreadable file is what the engine's own message says.
        if (error)
            *error = RegularFile::refusal(m_path);
        return false;
    }
    std::tie(m_size, m_modified) = fileStamp(m_file.handle());
    return m_size >= 0 && QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool PdfSource::changedOnDisk()
{
    if (!m_changed && m_file.isOpen())
        m_changed = fileStamp(m_file.handle()) != std::pair{m_size, m_modified};
    return m_changed;
}

qint64 PdfSource::readData(char *data, qint64 maxSize)
{
    const qint64 offset = pos();
    const qint64 wanted = std::min(maxSize, m_size - offset);
    if (wanted <= 0)
        return 0;
    if (m_wanted && !m_wanted()) {
        // A failed read ends the engine's scan of a damaged file at once. Some later steps of
        // its load ask again and again for data they were refused; zeros end those, as damage.
        if (++m_refusedReads <= RefusedReads)
            return -1;
        std::memset(data, 0, size_t(wanted));
        return wanted;
    }
    ssize_t got = 0;
    do {
        got = ::pread(m_file.handle(), data, size_t(wanted), offset);
    } while (got < 0 && errno == EINTR);
    if (got < wanted)
        m_changed = true;
    return got < 0 ? -1 : qint64(got);
}

qint64 PdfSource::writeData(const char *, qint64)
{
    return -1;
}
