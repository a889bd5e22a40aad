#pragma once

#include "playlist/playlistentry.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class AppSettings;
class Countdown;
class PdfService;
class Playlist;
class PlaylistPanel;
class Presentation;
class QWidget;
class UndoHistory;

// The playlist as the operator works it: editing the list (each change records its undo step
// first, is stored at once and redrawn), playlist files and packages, the Back command, and
// switching the show from one file to the next while the audience keeps the old frame.
// What only the main window does (opening and closing documents, the presenter view) comes
// in through hooks.
class PlaylistControl final : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        PdfService *pdf = nullptr;
        Presentation *presentation = nullptr;
        Countdown *countdown = nullptr;
        Playlist *playlist = nullptr;
        UndoHistory *history = nullptr;
        AppSettings *settings = nullptr;
    };

    struct Hooks
    {
        // Absolute path of the open (or opening) document; empty when there is none.
        std::function<QString()> currentDocument;
        // The window's open-document step; a timer reset stops and rewinds the countdown.
        std::function<void(const QString &path, bool resetTimer)> openDocument;
        // Saves the reading position and closes the document.
        std::function<void()> closeDocument;
        // Redraws the presenter labels that show the playlist position.
        std::function<void()> refreshPresenter;
    };

    // `window` is the parent of every box and dialog.
    PlaylistControl(const Services &services, QWidget *window);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    void setPanel(PlaylistPanel *panel);

    // Editing (the undo labels name what changed).
    void addFiles(const QStringList &paths);
    // Adds, then opens the first existing path when no document is open.
    void addFilesAndOpen(const QStringList &paths);
    void removeSelected();
    void moveSelected(int delta);
    void clearAll();
    void reorderFromPanel();
    void setFileMinutes(const QString &path, int minutes);
    void applyPlaylist(const QList<PlaylistEntry> &entries, bool replace);
    // A playlist file or package: asks Replace or Append when the playlist has files.
    void loadPlaylistFile(const QString &path);

    // The file commands of the panel and the menu.
    void addPdfsFromDialog();
    void openPlaylistFromDialog();
    void savePlaylistFromDialog();
    void exportPackageFromDialog();
    void importPackageFromDialog();

    // Switching files.
    void activateEntry(int row);
    // `startPage`: a page index, -2 for the last page.
    void openEntry(int index, int startPage);
    bool fileSwitchInProgress() const { return m_fileSwitch; }
    bool openedFromPlaylist() const { return m_openedFromPlaylist; }
    void setOpenedFromPlaylist(bool opened) { m_openedFromPlaylist = opened; }
    // The undo step "Open %1" for a document about to replace the current one.
    void recordOpen(const QString &path);
    // +1 / -1 while a switched file awaits its first frame, else 0.
    int fileChangeDirection() const { return m_direction; }
    void clearFileChangeDirection() { m_direction = 0; }
    // The index of the entry `step` places away from the show's place in the playlist,
    // passing over entries that could not be shown; -1 when there is none.
    int entryBeside(int step) const;
    bool hasNextFile() const { return entryBeside(1) >= 0; }
    bool hasPreviousFile() const { return entryBeside(-1) >= 0; }
    void switchToNextFile();
    void switchToPreviousFile();
    // The operator's own open or close ends a switch that is still loading.
    void abandonSwitch();

    // The playlist's part of document loading: call when a document has loaded, and when the
    // load of `path` failed (`message` says why), after a password prompt was cancelled or,
    // outside a switch, after the failure has been reported.
    void documentLoaded(int pages);
    void documentFailed(const QString &path, const QString &message);

    // The Back command.
    void undoLast();

Q_SIGNALS:
    void statusMessage(const QString &text, int ms);

private:
    enum class Chooser { Open, Save };

    QString currentDocument() const;
    void openDocument(const QString &path, bool resetTimer);
    int currentPage() const;
    // Stores the playlist and redraws what shows it; the playlist itself refreshes the panel.
    void commit(const QStringList &files, const QMap<QString, int> &minutes);
    void restoreDocument(const QString &document);
    QString choosePlaylistPath(Chooser mode, const QString &title, const QString &filter, const QString &extension);
    QList<PlaylistEntry> entries() const;
    void showPlaylistError(const QString &error);
    // In the status bar: a box would take the clicker's keys in the middle of a show.
    void notice(const QString &text);
    // The entry the show stands at: the open document's, else the one a failed switch went to.
    int position() const;

    PdfService *m_pdf;
    Presentation *m_presentation;
    Countdown *m_countdown;
    Playlist *m_playlist;
    UndoHistory *m_history;
    AppSettings *m_settings;
    QPointer<QWidget> m_window;
    QPointer<PlaylistPanel> m_panel;
    Hooks m_hooks;

    bool m_openedFromPlaylist = false;
    bool m_fileSwitch = false;
    bool m_recovering = false;
    int m_direction = 0;
    int m_startPage = -1;
    QString m_previousDocument;
    int m_previousLivePage = 0;
    QString m_target;           // the entry the running or last switch went to
    QString m_stranded;         // that entry, when its switch failed with nothing to return to
    QString m_recoveryNotice;   // shown once the previous file is back
    QSet<QString> m_unplayable; // entries that failed; Next and Previous pass over them
};
