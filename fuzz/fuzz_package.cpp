// Playlist packages imported into the per-user imports folder, where an earlier import already
// lies: any bytes import without harm, the earlier import keeps its bytes, nothing is written
// outside the imports folder, and every unpacked file holds exactly the bytes the package
// gives its item, whole or not at all.
#include "fuzzsupport.h"

#include "playlist/playlistfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// The bytes of each item as the header describes them; empty when there is no valid header.
QList<QByteArray> itemBytes(const QByteArray &package)
{
    if (package.size() < 17 || !package.startsWith("OLVANTIPACK1\n"))
        return {};
    const qint64 length = qFromBigEndian<quint32>(package.constData() + 13);
    const QJsonArray items = QJsonDocument::fromJson(package.mid(17, length)).object().value(QStringLiteral("items")).toArray();
    QList<QByteArray> bytes;
    qint64 offset = 17 + length;
    for (const QJsonValue &item : items) {
        const QJsonValue size = item.toObject().value(QStringLiteral("size"));
        const qint64 count = size.toInteger(-1) >= 0 ? size.toInteger() : qint64(std::max(0.0, size.toDouble()));
        bytes.append(offset < package.size() ? package.mid(offset, count) : QByteArray());
        offset = std::min<qint64>(offset + std::min<qint64>(count, package.size()), package.size());
    }
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    QTemporaryDir root(Fuzz::scratch() + QStringLiteral("/run-XXXXXX"));
    FUZZ_CHECK(root.isValid());
    // The per-user folders of the test mode live in the home folder: one of its own per input.
    qputenv("HOME", QFile::encodeName(root.path()));
    const QString package = root.filePath(QStringLiteral("in/list.opack"));
    QDir().mkpath(root.filePath(QStringLiteral("in")));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::writeFile(package, data, size);
    const QString imports = QFileInfo(PlaylistFile::importFolder(package)).absolutePath();
    const QString earlier = imports + QStringLiteral("/list/01_a.pdf");
    QDir().mkpath(imports + QStringLiteral("/list"));
    Fuzz::writeFile(earlier, reinterpret_cast<const uint8_t *>("earlier"), 7);

    QList<PlaylistEntry> entries;
    const QString error = PlaylistFile::importPackage(package, entries);
    FUZZ_CHECK(error.isEmpty() != entries.isEmpty());
    const QList<QByteArray> items = itemBytes(bytes);
    for (const PlaylistEntry &entry : std::as_const(entries)) {
        FUZZ_CHECK(QFileInfo(entry.path).absolutePath() == QFileInfo(entries.constFirst().path).absolutePath());
        FUZZ_CHECK(QFileInfo(entry.path).absolutePath().startsWith(imports + u'/'));
        FUZZ_CHECK(QFileInfo(entry.path).isFile());
    }
    FUZZ_CHECK(contents(earlier) == "earlier");

    QDirIterator it(root.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path == package || path == earlier)
            continue;
        // Anything else is an unpacked PDF, named after its place in the package.
        FUZZ_CHECK(path.startsWith(imports + u'/'));
        const int index = QFileInfo(path).fileName().section(u'_', 0, 0).toInt() - 1;
        FUZZ_CHECK(index >= 0 && index < items.size());
        FUZZ_CHECK(contents(path) == items.at(index));
    }
    return 0;
}
