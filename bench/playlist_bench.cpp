// Loading the largest playlist file the reader accepts (16 MiB): reading and applying it.
#include "bench.h"

#include "playlist/playlist.h"
#include "playlist/playlistfile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

namespace {

constexpr qint64 MaxPlaylistBytes = 16777216;

QList<PlaylistEntry> entries(int count)
{
    QList<PlaylistEntry> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append({QStringLiteral("/media/show/talks/session-%1/slides of talk %1.pdf")
                         .arg(QString::number(i).rightJustified(7, u'0')),
                     i % 30});
    return list;
}

void loadLargePlaylist(const Bench::Document &doc)
{
    // Once per run, not once per document.
    if (!doc.generated)
        return;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.oplaylist"));
    // Items of equal length scale exactly: fill the file to just under the limit, so the whole
    // file is parsed.
    if (!PlaylistFile::writeJsonPlaylist(path, entries(1000)).isEmpty())
        return;
    const int count = int(double(MaxPlaylistBytes - 1024) / double(QFileInfo(path).size()) * 1000);
    if (!PlaylistFile::writeJsonPlaylist(path, entries(count)).isEmpty())
        return;

    QElapsedTimer clock;
    clock.start();
    QList<PlaylistEntry> loaded;
    const QString error = PlaylistFile::readJsonPlaylist(path, loaded);
    const double readMs = double(clock.nsecsElapsed()) / 1e6;
    QStringList files;
    QMap<QString, int> minutes;
    for (const PlaylistEntry &entry : std::as_const(loaded)) {
        files.append(entry.path);
        if (entry.minutes > 0)
            minutes.insert(entry.path, entry.minutes);
    }
    Playlist playlist;
    playlist.setEntries(files, minutes);
    const double totalMs = double(clock.nsecsElapsed()) / 1e6;

    const Bench::Document file{path, QStringLiteral("generated-playlist"), true, QString()};
    Bench::report(QStringLiteral("playlist_load"), file, 0,
                  {{QStringLiteral("bytes"), QFileInfo(path).size()},
                   {QStringLiteral("entries"), playlist.count()},
                   {QStringLiteral("ok"), error.isEmpty()},
                   {QStringLiteral("read_ms"), readMs},
                   {QStringLiteral("total_ms"), totalMs}});
}

const Bench::Registration playlistBench("playlist_load", false, loadLargePlaylist);

} // namespace
