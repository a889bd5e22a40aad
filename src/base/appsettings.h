#pragma once

#include "base/limits.h"

#include <QByteArray>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class QSettings;
class SettingsGuard;

// Typed access to every preference in the store: one getter per key with its default and
// limits (a value that cannot be read as the key's type gives the default), one setter that
// writes at once. Every write of the store to disk is checked (SettingsGuard), the store's own
// deferred ones too; syncAndCheck() is the final one, when the window closes.
class AppSettings final
{
public:
    explicit AppSettings(QSettings &store);
    // A last checked write of whatever is still pending.
    ~AppSettings();

    QSettings &store() const { return m_store; }

    // "timer/seconds", falling back to the older "timer/minutes" (default 10); 0 ... 36000.
    int timerSeconds() const;
    void setTimerSeconds(int seconds);

    bool timerAutoStart() const;
    void setTimerAutoStart(bool on);

    QStringList playlistFiles() const;
    void setPlaylistFiles(const QStringList &files);
    // Per-file countdown minutes; entries of 0 or less are dropped, larger ones read as 600.
    QMap<QString, int> playlistTimes() const;
    void setPlaylistTimes(const QMap<QString, int> &minutesByPath);
    // Per-file end pages (the talk's last page, counted from 1); entries of 0 or less are dropped.
    QMap<QString, int> playlistEndPages() const;
    void setPlaylistEndPages(const QMap<QString, int> &endPages);
    // Folder of the last playlist or package dialog; the documents folder at first.
    QString playlistDir() const;
    void setPlaylistDir(const QString &dir);

    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray &state);
    QByteArray presenterHSplit() const;
    void setPresenterHSplit(const QByteArray &state);
    QByteArray presenterVSplit() const;
    void setPresenterVSplit(const QByteArray &state);
    QByteArray presenterRSplit() const;
    void setPresenterRSplit(const QByteArray &state);
    bool pagesCollapsed() const;
    void setPagesCollapsed(bool collapsed);

    bool readerScroll() const;
    void setReaderScroll(bool on);

    // Identity of the preferred output screen; empty when none was chosen.
    QString outputDisplay() const;
    void setOutputDisplay(const QString &identity);
    bool outputFitWidth() const;
    void setOutputFitWidth(bool fitWidth);
    // The output as a normal window (for screen sharing) instead of full screen on a display.
    bool outputWindowed() const;
    void setOutputWindowed(bool windowed);
    // The windowed output's size: an index into the presets (default 0, 1280 x 720), clamped.
    int outputWindowSize() const;
    void setOutputWindowSize(int preset);

    // Index into the transition list (default 1, clamped to 0 ... 5) and its duration in ms
    // (default 400, clamped to 0 ... 3000). Both are always written together.
    int transitionEffect() const;
    int transitionMs() const;
    void setTransition(int effect, int ms);

    // Recently opened documents, newest first, at most 12, no duplicates.
    QStringList recent() const;
    void setRecent(const QStringList &paths);
    // Moves or adds `path` to the front, writes and returns the new list.
    QStringList pushRecent(const QString &path);

    // Last reader page (0-based) of the document at `path`. The key hashes the path text as
    // given, so callers pass the absolute path they opened; another spelling of the same file
    // is another document here.
    static QString positionKey(const QString &path);
    int position(const QString &path) const;
    void setPosition(const QString &path, int page);

    // "input/ignoreText" (default on) and "input/debounceMs" (default 140, 0 ... 1000).
    bool inputIgnoreText() const;
    void setInputIgnoreText(bool ignore);
    int inputDebounceMs() const;
    void setInputDebounceMs(int ms);
    // The stored key texts of the action numbered `action` ("input/keys/<number>"); none when
    // nothing was stored, an empty list when the action was left unassigned.
    std::optional<QStringList> inputKeys(int action) const;
    void setInputKeys(int action, const QStringList &keys);

    // Flushes the store: the system's reason when it could not be written (the file on disk is
    // then the one from before), else empty.
    QString syncAndCheck();

private:
    QSettings &m_store;
    QPointer<SettingsGuard> m_guard;
};
