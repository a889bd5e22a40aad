#include "playlist/playlistfile.h"

#include "playlist/playlistfile_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;
using namespace PlaylistFileDetail;

namespace {

struct PackedItem
{
    QString fileName;
    qint64 size = 0;
    int minutes = 0;
    int endPage = 0;
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
QString planItems(QFile &package, QList<PackedItem> &items)
{
    const QString notPackage = PlaylistFile::tr("This is not an Olvanti playlist package.");
    if (package.read(PackageMagic.size()) != PackageMagic)
        return notPackage;
    const QByteArray lengthBytes = package.read(4);
    if (lengthBytes.size() != 4)
        return notPackage;
    const quint32 length = qFromBigEndian<quint32>(lengthBytes.constData());
    if (length == 0 || length > MaxJsonBytes)
        return notPackage;
    const QByteArray headerBytes = package.read(length);
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
    for (const QJsonValue &value : array) {
        const QJsonObject item = value.toObject();
        const qint64 size = sizeFromJson(item.value(u"size"_s));
        if (size < 0) {
            qCInfo(lcPlaylist) << "package item without a valid size" << package.fileName();
            return notPackage;
        }
        const QString prefix = QString::number(items.size() + 1).rightJustified(2, u'0') + u'_';
        items.append({fitFileName(prefix, PlaylistFile::safeEntryName(item.value(u"name"_s).toString())), size,
                      minutesFromJson(item.value(u"minutes"_s)), endPageFromJson(item.value(u"endPage"_s))});
    }
    return {};
}

// A folder an import may write into: one that does not exist yet, or one holding only files
// this package unpacks, as an earlier import of it left them.
bool holdsOnlyThisPackage(const QString &path, const QList<PackedItem> &items)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isDir() || info.isSymLink())
        return false;
    QHash<QString, qint64> sizes;
    for (const PackedItem &item : items)
        sizes.insert(item.fileName, item.size);
    const QFileInfoList present = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::all_of(present.cbegin(), present.cend(), [&sizes](const QFileInfo &file) {
        return file.isFile() && !file.isSymLink() && sizes.value(file.fileName(), -1) == file.size();
    });
}

} // namespace

QString PlaylistFile::importFolder(const QString &packagePath)
{
    const QString imports = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/imports/"_L1;
    const QString name = safeName(QFileInfo(packagePath).completeBaseName(), u"package"_s);
    QList<PackedItem> items;
    QFile package(packagePath);
    if (!package.open(QIODevice::ReadOnly) || !planItems(package, items).isEmpty())
        return imports + name; // reading the package reports the problem
    // Saved playlists point at the PDFs of earlier imports: another package of the same name
    // gets a folder of its own instead of replacing them.
    for (int n = 1;; ++n) {
        const QString tag = n == 1 ? QString() : u" (%1)"_s.arg(n);
        const QString candidate = imports + truncatedUtf8(name, MaxNameBytes - tag.size()) + tag;
        if (holdsOnlyThisPackage(candidate, items))
            return candidate;
    }
}

QString PlaylistFile::readPackage(const QString &packagePath, const QString &targetFolder,
                                  QList<PlaylistEntry> &entries)
{
    entries.clear();
    QFile package(packagePath);
    if (!package.open(QIODevice::ReadOnly))
        return tr("The package could not be read: %1").arg(package.errorString());
    QList<PackedItem> planned;
    const QString error = planItems(package, planned);
    if (!error.isEmpty())
        return error;

    const QString damaged = tr("The package is damaged or incomplete.");
    if (!QDir().mkpath(targetFolder))
        return tr("The folder for the unpacked PDFs could not be created: %1").arg(targetFolder);
    const QDir folder(targetFolder);
    for (const PackedItem &item : std::as_const(planned)) {
        const QString target = folder.absoluteFilePath(item.fileName);
        // The save file writes through a link to wherever it points, which may be outside.
        if (QFileInfo(target).isSymLink()) {
            qCWarning(lcPlaylist) << "refusing to unpack through a link" << target;
            return unpackError(tr("%1 is a link to another place.").arg(target));
        }
        // Sizes the rest of the package cannot hold are refused before anything is written.
        if (item.size > package.size() - package.pos()) {
            qCInfo(lcPlaylist) << "package item larger than the rest of the package" << packagePath << item.size;
            return damaged;
        }
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly))
            return unpackError(out.errorString());
        switch (copyChunks(package, out, item.size)) {
        case CopyResult::Done:
            break;
        case CopyResult::SourceEnded:
            return damaged;
        case CopyResult::WriteFailed:
            return unpackError(out.errorString());
        }
        if (!out.commit())
            return unpackError(out.errorString());
        entries.append({target, item.minutes, item.endPage});
    }
    qCInfo(lcPlaylist) << "package unpacked" << packagePath << "into" << targetFolder << entries.size() << "PDFs";
    return {};
}
