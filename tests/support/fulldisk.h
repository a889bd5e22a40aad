#pragma once

#include <QString>

#include <sys/resource.h>

// A folder whose files cannot grow past a few bytes more, for the tests of saving: as root a
// small tmpfs mounted for the test and filled up ("No space left on device"), otherwise the
// process's file size limit, which stops every write past `room` bytes into any file ("File
// too large"). Either way a real failure of the system call.
class FullDisk final
{
public:
    enum class Kind { Tmpfs, SizeLimit };

    FullDisk(Kind kind, const QString &folder);
    ~FullDisk();

    // Empty when the kind can be made here, else why not (for QSKIP).
    QString unavailable() const { return m_unavailable; }
    // Leaves about `room` bytes for writing from now on, until release().
    void fill(qint64 room);
    void release();
    // What the system says when a write fails here.
    QString cause() const;

private:
    Kind m_kind;
    QString m_folder;
    QString m_unavailable;
    bool m_mounted = false;
    rlimit m_saved{};
};
