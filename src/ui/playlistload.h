#pragma once

#include "playlist/playlistentry.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>

class QProgressDialog;
class QThread;
class QWidget;

// Reads a playlist file or imports a package on a thread of its own, so a long file never
// stops the window (the show goes on meanwhile). A progress dialog with Cancel appears over
// the window when the work takes longer than a moment; a cancelled import takes back the
// files it wrote.
class PlaylistLoad final : public QObject
{
    Q_OBJECT

public:
    // The dialog waits this long before it shows, so quick loads do not flash it.
    static constexpr int DialogDelayMs = 300;

    // `window` carries the progress dialog; `owner` owns this object.
    PlaylistLoad(const QString &path, QWidget *window, QObject *owner);
    // Cancels the work and waits for it.
    ~PlaylistLoad() override;

    const QString &path() const { return m_path; }
    void start();
    void cancel() { m_cancel = true; }

Q_SIGNALS:
    // Once, on the user-interface thread; `error` is PlaylistFile::cancelledText() after Cancel.
    void finished(const QList<PlaylistEntry> &entries, const QString &error);

private:
    void run();
    void showProgress();

    QString m_path;
    QThread *m_thread = nullptr;
    QPointer<QProgressDialog> m_dialog; // the window's child: it may go first
    std::atomic<bool> m_cancel = false;
    std::atomic<qint64> m_done = 0;
    std::atomic<qint64> m_total = 0;
    QList<PlaylistEntry> m_entries;
    QString m_error;
};
