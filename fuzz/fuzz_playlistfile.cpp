// Playlist files: any bytes read without harm; what is read has absolute paths and countdowns in
// range, and writes back to a file that reads as the same playlist.
#include "fuzzsupport.h"

#include "playlist/playlistfile.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    static const QString folder = [] {
        const QString path = Fuzz::scratch() + QStringLiteral("/lists");
        QDir().mkpath(path);
        // An existing file, so paths and relative forms that find one take the other branch.
        Fuzz::writeFile(path + QStringLiteral("/a.pdf"), nullptr, 0);
        return path;
    }();
    const QString input = folder + QStringLiteral("/input.json");
    Fuzz::writeFile(input, data, size);

    QList<PlaylistEntry> entries{{QStringLiteral("/stale.pdf"), 5}};
    const QString error = PlaylistFile::readJsonPlaylist(input, entries);
    if (!error.isEmpty()) {
        FUZZ_CHECK(entries.isEmpty());
        return 0;
    }
    for (const PlaylistEntry &entry : std::as_const(entries)) {
        FUZZ_CHECK(QDir::isAbsolutePath(entry.path));
        FUZZ_CHECK(entry.minutes >= 0 && entry.minutes <= Limits::MaxEntryMinutes);
    }

    const QString output = folder + QStringLiteral("/output.json");
    FUZZ_CHECK(PlaylistFile::writeJsonPlaylist(output, entries).isEmpty());
    QList<PlaylistEntry> again;
    FUZZ_CHECK(PlaylistFile::readJsonPlaylist(output, again).isEmpty());
    FUZZ_CHECK(again.size() == entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(again.at(i).minutes == entries.at(i).minutes);
        // Text that UTF-8 cannot carry (a lone surrogate) changes on the way; a path may also
        // move to an existing file its relative form names.
        const QString &path = entries.at(i).path;
        if (QString::fromUtf8(path.toUtf8()) == path)
            FUZZ_CHECK(again.at(i).path == path || QFileInfo(again.at(i).path).isFile());
    }
    return 0;
}
