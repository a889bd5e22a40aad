#pragma once

#include <QCoreApplication>
#include <QString>

class QByteArray;

// The one way the program writes a file: into a new file beside the target that replaces it
// only once every byte is written. Every write, the sync to disk and the replacement are
// checked, and errorString() gives the system's own reason ("No space left on device").
// QSaveFile is not used: it does not check the last flush of its buffer, so on a full disk it
// reports success over an empty file, and it syncs every file, which makes unpacking thousands
// of files take minutes; here the caller may sync a whole folder once instead.
class SafeSave final
{
    Q_DECLARE_TR_FUNCTIONS(SafeSave)

public:
    enum class Sync {
        Now,   // the file is on the disk when commit() returns
        Later, // the caller calls syncFolder() before it relies on the file
    };

    explicit SafeSave(const QString &path);
    // An uncommitted file is removed; the target stays as it was.
    ~SafeSave();

    SafeSave(const SafeSave &) = delete;
    SafeSave &operator=(const SafeSave &) = delete;

    // The new file takes the permissions of the file it replaces, or the usual ones.
    bool open();
    // After the first failure every call fails and the file can no longer be committed.
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes);
    // Puts the new file in the target's place; false (and the target untouched) when any
    // write, the sync or the replacement failed.
    bool commit(Sync sync = Sync::Now);
    QString errorString() const { return m_error; }
    // Drops the uncommitted file now instead of with this object.
    void discard();

    // Writes `bytes` as the whole new content of `path`: the reason when that failed, else empty.
    static QString save(const QString &path, const QByteArray &bytes);
    // Brings everything written in the file system holding `folder` to the disk: the reason
    // when that failed, else empty.
    static QString syncFolder(const QString &folder);
    // The system's text for an error number, never empty.
    static QString systemError(int error);

private:
    bool fail(const QString &reason);
    bool failWithSystemError();

    QString m_path;
    QByteArray m_temporary;
    int m_fd = -1;
    QString m_error;
};
