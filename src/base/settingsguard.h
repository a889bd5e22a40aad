#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSettings;

// Checks every write of the settings store. Qt's settings writer, like its save file, reports
// success over a file it could write only in part: on a full disk the store is emptied. Before
// each write the previous file is kept under a second name (a hard link, which needs no room
// on the disk); after it the new file must be a new file holding one line per key of the store
// and ending in a line break. Otherwise the kept file goes back in place, byte for byte, and
// every value is marked for the next write, which comes after a pause or at the final sync.
// The store's own deferred writes go through here as well. One guard per store, its child.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SettingsGuard(QSettings &store);

    // `retryLater`: on failure, keep every value marked and try again after RetryMs.
    QString write(bool retryLater);
    QStringList ownKeys() const;
    static bool holdsEveryKey(const QString &path, const QStringList &keys);
    QString restore(const QString &path, const QString &kept, const QByteArray &copy, bool existed);
    QString reasonFor(const QString &path, qint64 written) const;
    void markEverything(const QStringList &keys);

    QSettings &m_store;
    QTimer m_retry;
    bool m_dirty = false;
    bool m_syncing = false;
};
