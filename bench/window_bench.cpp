// The window's longest pause while a very long playlist comes in: the file read, the rows,
// the first entry opened and the settings written after it.
#include "bench.h"

#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "show/show.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

void longPlaylistPause(const Bench::Document &doc)
{
    // Once per run, not once per document.
    if (!doc.generated)
        return;
    QTemporaryDir home;
    // The window's settings go to the scratch folder, never the user's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));

    constexpr int Count = 95000;
    QList<PlaylistEntry> entries{{doc.path, 5, 0}};
    entries.reserve(Count);
    for (int i = 1; i < Count; ++i)
        entries.append({QStringLiteral("/talks/of/the/year/talk-%1.pdf").arg(i), i % 7, i % 3});
    const QString path = home.filePath(QStringLiteral("long.oplaylist"));
    if (!PlaylistFile::writeJsonPlaylist(path, entries).isEmpty())
        return;

    MainWindow window;
    window.show();
    Bench::waitUntil([&window] { return window.isVisible(); }, 5000);

    qint64 longest = 0;
    QElapsedTimer clock;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, clock.restart()); });
    QElapsedTimer took;
    took.start();
    clock.start();
    tick.start(5);
    window.playlistControl()->loadPlaylistFile(path);
    const bool loaded = Bench::waitUntil([&] {
        return window.playlist()->count() == Count && window.showModel()->documentPath() == doc.path;
    });
    const double loadMs = double(took.nsecsElapsed()) / 1e6;
    // The settings write that follows the load.
    QElapsedTimer settle;
    settle.start();
    Bench::waitUntil([&settle] { return settle.hasExpired(1000); }, 2000);

    Bench::report(QStringLiteral("long_playlist_pause"), doc, 0,
                  {{QStringLiteral("entries"), Count},
                   {QStringLiteral("ok"), loaded},
                   {QStringLiteral("load_ms"), loadMs},
                   {QStringLiteral("longest_pause_ms"), longest}});
}

const Bench::Registration windowBench("long_playlist_pause", false, longPlaylistPause);

} // namespace
