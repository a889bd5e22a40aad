#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QSettings>
#include <QTimer>
#include <QVariantList>

#include <memory>

class QThread;

// Checks every write of the settings store. Qt's settings writer, like its save file, reports
// success over a file it could write only in part: on a full disk the store is emptied. Before
// each write the previous file is kept under a second name (a hard link, which needs no room
// on the disk); after it the new file must be a new file holding one line per key of the store
// and ending in a line break. Otherwise the kept file goes back in place, byte for byte, and
// every value is marked for the next write, which comes after a pause or at the final sync.
// The store's own deferred writes go to a worker instead: it writes what the store holds to a
// file beside it, checks that one and only then puts it in place, so a long playlist never
// holds the window and a failed write never touches the file. One guard per store, its child.
class SettingsGuard final : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryMs = 30000;

    // The guard of `store`, made on first use.
    static SettingsGuard *of(QSettings &store);

    // Writes pending changes and checks them: the system's reason when they did not reach the
    // disk, else empty.
    QString sync();
    // The same as the last write before the store goes: a failure leaves nothing marked, so the
    // store's destructor, which writes unchecked, finds nothing to write.
    void finish() { write(false); }
    ~SettingsGuard() override;

Q_SIGNALS:
    // A deferred write in the worker ended: the system's reason when it failed, else empty.
    void backgroundWritten(const QString &reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SettingsGuard(QSettings &store);

    // `retryLater`: on failure, keep every value marked and try again after RetryMs.
    QString write(bool retryLater);
    void writeInBackground();
    // Waits for a deferred write in the worker; true when one was running.
    bool finishBackground();
    static QString writeCopy(const QString &path, QSettings::Format format, const QStringList &keys,
                             const QVariantList &values);
    QStringList ownKeys() const;
    static bool holdsEveryKey(const QString &path, const QStringList &keys);
    QString restore(const QString &path, const QString &kept, const QByteArray &copy, bool existed);
    static QString reasonFor(const QString &path, qint64 written);
    void markEverything(const QStringList &keys);

    QSettings &m_store;
    QTimer m_retry;
    std::unique_ptr<QThread> m_background;
    QString m_backgroundReason;
    // Changes not yet on the disk.
    bool m_dirty = false;
    // Changes the store has not written itself: its next write must be checked.
    bool m_storeUnsynced = false;
    bool m_syncing = false;
};
