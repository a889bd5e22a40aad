#include "playlist/playlistfile.h"

#include "playlist/playlistfile_p.h"
#include "storage/safesave.h"

#include "base/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>

using namespace Qt::StringLiterals;
using namespace PlaylistFileDetail;

namespace {

struct PackedItem
{
    QString fileName;
    qint64 size = 0;
    int minutes = 0;
    int endPage = 0;
    qint64 offset = 0; // where the item's bytes start in the package
};

// An open package and its checked header, with the progress of the work on it.
struct Package
{
    QString path;
    QFile file; // opened through its descriptor, so it carries no name
    QList<PackedItem> items;
    qint64 payload = 0; // the bytes of all items
    PlaylistFile::Progress progress;
    qint64 done = 0;

    explicit Package(const QString &packagePath)
        : path(packagePath)
    {
    }

    // Counts `bytes` as handled; false once the caller asked to stop.
    bool advance(qint64 bytes)
    {
        done = std::min(done + bytes, payload);
        return !progress || progress(done, payload);
    }
};

// The declared byte count of an item, truncated to a whole number; -1 when missing or negative.
qint64 sizeFromJson(const QJsonValue &value)
{
    if (!value.isDouble())
        return -1;
    const qint64 exact = value.toInteger(-1); // whole numbers keep every digit this way
    if (exact >= 0)
        return exact;
    const double size = value.toDouble();
    if (size < 0)
        return -1;
    // No package can hold this much; the check against the bytes left reports it as damaged.
    if (size >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    return qint64(size);
}

QString unpackError(const QString &reason)
{
    return PlaylistFile::tr("A PDF could not be unpacked: %1").arg(reason);
}

// Reads and checks the header of an open package; on success `items` holds every item with the
// name it unpacks as, and the package is positioned at the first PDF.
QString planItems(Package &package)
{
    const QString notPackage = PlaylistFile::tr("This is not an Olvanti playlist package.");
    QFile &file = package.file;
    if (file.read(PackageMagic.size()) != PackageMagic)
        return notPackage;
    const QByteArray lengthBytes = file.read(4);
    if (lengthBytes.size() != 4)
        return notPackage;
    const quint32 length = qFromBigEndian<quint32>(lengthBytes.constData());
    if (length == 0 || length > MaxJsonBytes)
        return notPackage;
    const QByteArray headerBytes = file.read(length);
    if (headerBytes.size() != qsizetype(length))
        return notPackage;

    QJsonParseError parseError;
    const QJsonDocument header = QJsonDocument::fromJson(headerBytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !header.isObject())
        return notPackage;
    const QJsonArray array = header.object().value(u"items"_s).toArray();
    if (array.isEmpty())
        return notPackage;
    if (array.size() > MaxPackageItems)
        return PlaylistFile::tr("The package holds more than %1 PDFs, more than can be imported.").arg(MaxPackageItems);

    // Every item is checked before the first is unpacked, so a bad header leaves no files.
    const qint64 start = file.pos();
    qint64 offset = start;
    for (const QJsonValue &value : array) {
        const QJsonObject item = value.toObject();
        const qint64 size = sizeFromJson(item.value(u"size"_s));
        if (size < 0) {
            qCInfo(lcPlaylist) << "package item without a valid size" << package.path;
            return notPackage;
        }
        const QString prefix = QString::number(package.items.size() + 1).rightJustified(2, u'0') + u'_';
        package.items.append({fitFileName(prefix, PlaylistFile::safeEntryName(item.value(u"name"_s).toString())), size,
                              minutesFromJson(item.value(u"minutes"_s)), endPageFromJson(item.value(u"endPage"_s)),
                              offset});
        // Sums beyond any file's size only mean the package is damaged, which unpacking finds.
        offset = size > std::numeric_limits<qint64>::max() - offset ? std::numeric_limits<qint64>::max() : offset + size;
    }
    package.payload = std::max(qint64(0), std::min(offset, file.size()) - start);
    return {};
}

QString openPackage(Package &package)
{
    if (QString reason; !RegularFile::open(package.file, package.path, &reason))
        return PlaylistFile::tr("The package could not be read: %1").arg(reason);
    return planItems(package);
}

enum class Match { Same, Different, Cancelled };

// Whether the file at `path` holds exactly the bytes of `item`, compared chunk by chunk.
Match holdsItem(Package &package, const PackedItem &item, const QString &path)
{
    QFile file(path);
    if (file.size() != item.size || !file.open(QIODevice::ReadOnly) || !package.file.seek(item.offset))
        return Match::Different;
    for (qint64 left = item.size; left > 0;) {
        const qint64 length = std::min(left, ChunkSize);
        const QByteArray mine = file.read(length);
        if (mine.size() != length || package.file.read(length) != mine)
            return Match::Different;
        left -= length;
        if (!package.advance(length))
            return Match::Cancelled;
    }
    return Match::Same;
}

// Whether an import may write into the folder at `path`: one that does not exist yet, or one
// holding only files this package unpacks, byte for byte as it unpacks them. `same` receives
// the names of the files already there.
Match holdsOnlyThisPackage(Package &package, const QString &path, QSet<QString> &same)
{
    same.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return Match::Same;
    if (!info.isDir() || info.isSymLink())
        return Match::Different;
    QHash<QString, const PackedItem *> byName;
    for (const PackedItem &item : std::as_const(package.items))
        byName.insert(item.fileName, &item);
    const QFileInfoList present = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // Sizes first: they settle most folders without reading a byte.
    for (const QFileInfo &file : present) {
        const PackedItem *item = byName.value(file.fileName());
        if (!item || !file.isFile() || file.isSymLink() || file.size() != item->size)
            return Match::Different;
    }
    for (const QFileInfo &file : present) {
        const Match match = holdsItem(package, *byName.value(file.fileName()), file.filePath());
        if (match != Match::Same)
            return match;
        same.insert(file.fileName());
    }
    return Match::Same;
}

QString chooseImportFolder(Package &package, QString &folder, QSet<QString> &same)
{
    const QString imports = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/imports/"_L1;
    const QString name = safeName(QFileInfo(package.path).completeBaseName(), u"package"_s);
    // Saved playlists point at the PDFs of earlier imports: another package of the same name
    // gets a folder of its own instead of replacing them.
    for (int n = 1;; ++n) {
        const QString tag = n == 1 ? QString() : u" (%1)"_s.arg(n);
        folder = imports + truncatedUtf8(name, MaxNameBytes - tag.size()) + tag;
        switch (holdsOnlyThisPackage(package, folder, same)) {
        case Match::Same:
            package.done = 0;
            return {};
        case Match::Different:
            break;
        case Match::Cancelled:
            return PlaylistFile::cancelledText();
        }
    }
}

// Creates `folder` with its parents; the system's reason when that fails, else empty.
QString makeFolder(const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (!error && QFileInfo(folder).isDir())
        return {};
    const QString reason = SafeSave::systemError(error ? error.value() : ENOTDIR);
    qCWarning(lcPlaylist) << "cannot create import folder" << folder << reason;
    return PlaylistFile::tr("The folder for the unpacked PDFs could not be created: %1 (%2)").arg(folder, reason);
}

// Unpacks every item into `folder`; the files named in `same` are there already, byte for byte.
QString unpack(Package &package, const QString &folder, const QSet<QString> &same, QList<PlaylistEntry> &entries)
{
    const bool folderExisted = QFileInfo::exists(folder);
    if (const QString error = makeFolder(folder); !error.isEmpty())
        return error;
    QStringList created;
    // A cancelled or failed import takes back what it wrote, so nothing of it is left behind;
    // files an earlier import holds with the same bytes are its own and stay.
    const auto takeBack = [&](const QString &error) {
        for (const QString &path : std::as_const(created))
            QFile::remove(path);
        if (!folderExisted)
            QDir().rmdir(folder);
        entries.clear();
        return error;
    };
    const auto cancelled = [&] {
        qCInfo(lcPlaylist) << "import cancelled" << package.path;
        return takeBack(PlaylistFile::cancelledText());
    };
    const QString damaged = PlaylistFile::tr("The package is damaged or incomplete.");

    const QDir target(folder);
    for (const PackedItem &item : std::as_const(package.items)) {
        const QString path = target.absoluteFilePath(item.fileName);
        // The save file writes through a link to wherever it points, which may be outside.
        if (QFileInfo(path).isSymLink()) {
            qCWarning(lcPlaylist) << "refusing to unpack through a link" << path;
            return takeBack(unpackError(PlaylistFile::tr("%1 is a link to another place.").arg(path)));
        }
        // Sizes the rest of the package cannot hold are refused before anything is written.
        if (item.size > package.file.size() - item.offset) {
            qCInfo(lcPlaylist) << "package item larger than the rest of the package" << package.path << item.size;
            return takeBack(damaged);
        }
        entries.append({path, item.minutes, item.endPage});
        if (same.contains(item.fileName) || holdsItem(package, item, path) == Match::Same) {
            if (!package.advance(item.size))
                return cancelled();
            continue;
        }
        if (!package.file.seek(item.offset))
            return takeBack(damaged);
        SafeSave out(path);
        if (!out.open())
            return takeBack(unpackError(out.errorString()));
        switch (copyChunks(package.file, out, item.size, [&package](qint64 bytes) { return package.advance(bytes); })) {
        case CopyResult::Done:
            break;
        case CopyResult::SourceEnded:
            return takeBack(damaged);
        case CopyResult::WriteFailed:
            return takeBack(unpackError(out.errorString()));
        case CopyResult::Cancelled:
            out.discard();
            return cancelled();
        }
        // Synced all at once below: a sync per file makes thousands of files take minutes.
        if (!out.commit(SafeSave::Sync::Later))
            return takeBack(unpackError(out.errorString()));
        created.append(path);
    }
    if (const QString reason = SafeSave::syncFolder(folder); !reason.isEmpty())
        return takeBack(unpackError(reason));
    qCInfo(lcPlaylist) << "package unpacked" << package.path << "into" << folder << entries.size() << "PDFs";
    return {};
}

} // namespace

QString PlaylistFile::importFolder(const QString &packagePath)
{
    Package package(packagePath);
    QString folder;
    QSet<QString> same;
    if (!openPackage(package).isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/imports/"_L1
               + safeName(QFileInfo(packagePath).completeBaseName(), u"package"_s); // reading reports the problem
    chooseImportFolder(package, folder, same);
    return folder;
}

QString PlaylistFile::readPackage(const QString &packagePath, const QString &targetFolder,
                                  QList<PlaylistEntry> &entries, const Progress &progress)
{
    entries.clear();
    Package package(packagePath);
    package.progress = progress;
    if (const QString error = openPackage(package); !error.isEmpty())
        return error;
    const QString error = unpack(package, targetFolder, {}, entries);
    if (!error.isEmpty() && error != cancelledText())
        qCInfo(lcPlaylist) << "unpacking stopped" << packagePath << error;
    return error;
}

QString PlaylistFile::importPackage(const QString &packagePath, QList<PlaylistEntry> &entries, const Progress &progress)
{
    entries.clear();
    Package package(packagePath);
    package.progress = progress;
    QString folder;
    QSet<QString> same;
    if (const QString error = openPackage(package); !error.isEmpty())
        return error;
    if (const QString error = chooseImportFolder(package, folder, same); !error.isEmpty())
        return error;
    return unpack(package, folder, same, entries);
}
