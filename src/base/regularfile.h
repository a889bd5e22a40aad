#pragma once

#include <QCoreApplication>
#include <QString>

class QFile;

// Documents, playlists and packages are regular files. Anything else under their name (a
// folder, a pipe, a socket, a device) is refused before it is opened: opening a pipe for
// reading waits for a writer, for good if none comes, and a device may never end.
class RegularFile final
{
    Q_DECLARE_TR_FUNCTIONS(RegularFile)

public:
    RegularFile() = delete;

    // Why `path` cannot be opened as a file, naming what it is; empty for a regular file (or a
    // link to one) and for a path that is not there, whose opening reports that itself. Looks
    // at the path only, so it answers at once.
    static QString refusal(const QString &path);

    // Opens `path` read-only when it is a regular file, without waiting on a pipe or a device
    // on the way; otherwise false with the reason in `error`.
    static bool open(QFile &file, const QString &path, QString *error);
};
