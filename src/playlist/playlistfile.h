#pragma once

#include "playlist/playlistentry.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

// Reading and writing of playlist files (JSON, paths only) and playlist packages (the PDFs
// travel inside). Every function returns a translated error text, empty on success, and
// writes only through checked save files, so a target changes only when it is complete.
// Nothing here needs the user-interface thread.
class PlaylistFile final
{
    Q_DECLARE_TR_FUNCTIONS(PlaylistFile)

public:
    // Told how far a long read has come (`done` of `total`); returning false cancels it.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    PlaylistFile() = delete;

    static QString writeJsonPlaylist(const QString &filePath, const QList<PlaylistEntry> &entries);
    // Clears `entries` first. Entries whose file exists nowhere are kept with their stored path;
    // relative paths are taken from the playlist file's folder.
    static QString readJsonPlaylist(const QString &filePath, QList<PlaylistEntry> &entries,
                                    const Progress &progress = {});

    // Packs the entries whose file exists; `leftOut` receives how many were not. A PDF whose
    // size or modification time changes while it is packed fails the export.
    static QString buildPackage(const QString &targetPath, const QList<PlaylistEntry> &entries,
                                int *leftOut = nullptr);
    // Unpacks every PDF into `targetFolder` (created when missing) and clears and fills `entries`
    // with the unpacked copies; names are shortened to fit the file system, suffix kept. A
    // package of more than 10000 PDFs is refused before anything is written. After an error
    // the files unpacked so far stay; discard `entries`. A cancelled unpack removes the files
    // and the folder it created and returns cancelledText().
    static QString readPackage(const QString &packagePath, const QString &targetFolder,
                               QList<PlaylistEntry> &entries, const Progress &progress = {});
    // readPackage() into importFolder(), with the package read once for both.
    static QString importPackage(const QString &packagePath, QList<PlaylistEntry> &entries,
                                 const Progress &progress = {});
    // What a cancelled read returns.
    static QString cancelledText();

    // A plain file name for a name stored in a package; it can never leave the target folder.
    static QString safeEntryName(const QString &storedName);
    // Where a package is unpacked: the per-user data location, "imports", the package's name
    // without its last suffix, made safe. A folder holding anything but an earlier import of
    // this same package (byte for byte) is left alone: the name then gets " (2)", " (3)" and
    // so on.
    static QString importFolder(const QString &packagePath);
};
