#pragma once

#include "playlist/playlistentry.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class AppSettings;
class Countdown;
class Playlist;
class PlaylistPanel;
class QWidget;
class Show;
class UndoHistory;

// The playlist as the operator works it: editing the list (each change records its undo step
// first, is stored at once and redrawn), playlist files and packages, and the Back command.
// Where the show stands in the playlist is the show's.
class PlaylistControl final : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        Show *show = nullptr;
        Countdown *countdown = nullptr;
        Playlist *playlist = nullptr;
        UndoHistory *history = nullptr;
        AppSettings *settings = nullptr;
    };

    // `window` is the parent of every box and dialog.
    PlaylistControl(const Services &services, QWidget *window);

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
    // The entry's countdown and the page its talk ends at (0: its last page).
    void setEntrySettings(const QString &path, int minutes, int endPage);
    void applyPlaylist(const QList<PlaylistEntry> &entries, bool replace);
    // A playlist file or package: asks Replace or Append when the playlist has files.
    void loadPlaylistFile(const QString &path);

    // The file commands of the panel and the menu.
    void addPdfsFromDialog();
    void openPlaylistFromDialog();
    void savePlaylistFromDialog();
    void exportPackageFromDialog();
    void importPackageFromDialog();

    // The Back command.
    void undoLast();

Q_SIGNALS:
    void statusMessage(const QString &text, int ms);

private:
    enum class Chooser { Open, Save };

    // Stores the playlist and redraws what shows it; the playlist itself refreshes the panel.
    void commit(const QStringList &files, const QMap<QString, int> &minutes, const QMap<QString, int> &endPages);
    void commit(const QStringList &files, const QMap<QString, int> &minutes);
    QString choosePlaylistPath(Chooser mode, const QString &title, const QString &filter, const QString &extension);
    QList<PlaylistEntry> entries() const;
    void showPlaylistError(const QString &error);

    Show *m_show;
    Countdown *m_countdown;
    Playlist *m_playlist;
    UndoHistory *m_history;
    AppSettings *m_settings;
    QPointer<QWidget> m_window;
    QPointer<PlaylistPanel> m_panel;
};
