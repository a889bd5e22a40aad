// Playlist packages: any bytes unpack without harm, and nothing is written anywhere but the
// target folder, where exactly the files reported as unpacked remain, whole or not at all.
#include "fuzzsupport.h"

#include "playlist/playlistfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    QTemporaryDir root(Fuzz::scratch() + QStringLiteral("/run-XXXXXX"));
    FUZZ_CHECK(root.isValid());
    const QString package = root.filePath(QStringLiteral("in/list.olvpack"));
    // Two levels deep, so names climbing out by one or two steps still land inside the root.
    const QString target = root.filePath(QStringLiteral("out/imports/list"));
    QDir().mkpath(root.filePath(QStringLiteral("in")));
    Fuzz::writeFile(package, data, size);

    QList<PlaylistEntry> entries;
    const QString error = PlaylistFile::readPackage(package, target, entries);
    FUZZ_CHECK(!error.isEmpty() || !entries.isEmpty());

    QSet<QString> unpacked;
    for (const PlaylistEntry &entry : std::as_const(entries)) {
        FUZZ_CHECK(QFileInfo(entry.path).absolutePath() == target);
        unpacked.insert(entry.path);
    }
    const QSet<QString> allowed{root.filePath(QStringLiteral("in")), package,
                                root.filePath(QStringLiteral("out")),
                                root.filePath(QStringLiteral("out/imports")), target};
    QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!allowed.contains(path))
            FUZZ_CHECK(unpacked.remove(path));
    }
    FUZZ_CHECK(unpacked.isEmpty());
    return 0;
}
