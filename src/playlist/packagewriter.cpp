#include "playlist/playlistfile.h"

#include "playlist/playlistfile_p.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtEndian>

using namespace Qt::StringLiterals;
using namespace PlaylistFileDetail;

namespace {

struct PackedPdf
{
    QString path;
    qint64 size = 0;
    QDateTime modified;

    static PackedPdf of(const QFileInfo &info) { return {info.filePath(), info.size(), info.lastModified()}; }
    friend bool operator==(const PackedPdf &, const PackedPdf &) = default;
};

QString writeError(const QString &reason)
{
    return PlaylistFile::tr("The package could not be written: %1").arg(reason);
}

QString copyPdf(const PackedPdf &pdf, QSaveFile &out)
{
    const QString readError = PlaylistFile::tr("A PDF could not be read: %1").arg(pdf.path);
    QFile in(pdf.path);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcPlaylist) << "cannot open PDF for packing" << pdf.path << in.errorString();
        return readError;
    }
    qCDebug(lcPlaylist) << "packing" << pdf.path << pdf.size << "bytes";
    switch (copyChunks(in, out, pdf.size)) {
    case CopyResult::Done:
        // The header promised the size taken before; a file rewritten or grown since gives
        // bytes that belong to no version of it, or shifts every later PDF.
        if (PackedPdf::of(QFileInfo(pdf.path)) == pdf)
            return {};
        qCWarning(lcPlaylist) << "PDF changed while packing" << pdf.path;
        return PlaylistFile::tr("A PDF changed while it was being exported: %1").arg(pdf.path);
    case CopyResult::SourceEnded:
        qCWarning(lcPlaylist) << "PDF ended early while packing" << pdf.path << in.errorString();
        return readError;
    case CopyResult::WriteFailed:
        break;
    }
    return writeError(out.errorString());
}

} // namespace

QString PlaylistFile::buildPackage(const QString &targetPath, const QList<PlaylistEntry> &entries, int *leftOut)
{
    QList<PackedPdf> packed;
    QJsonArray items;
    for (const PlaylistEntry &entry : entries) {
        const QFileInfo info(entry.path);
        if (!info.isFile())
            continue;
        packed.append(PackedPdf::of(info));
        QJsonObject item{{u"name"_s, info.fileName()}, {u"size"_s, info.size()}};
        if (entry.minutes > 0)
            item.insert(u"minutes"_s, qMin(entry.minutes, int(Limits::MaxEntryMinutes)));
        if (entry.endPage > 0)
            item.insert(u"endPage"_s, entry.endPage);
        items.append(item);
    }
    if (leftOut)
        *leftOut = int(entries.size() - packed.size());
    if (packed.isEmpty())
        return tr("There is no existing PDF in the playlist to export.");

    const QByteArray header = QJsonDocument(QJsonObject{{u"items"_s, items}, {u"version"_s, 1}})
                                  .toJson(QJsonDocument::Compact);
    // Readers refuse larger packages, so such a package could never be opened again.
    if (header.size() > MaxJsonBytes || packed.size() > MaxPackageItems)
        return writeError(tr("The playlist has too many files for one package."));

    QSaveFile out(targetPath);
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcPlaylist) << "cannot open package for writing" << targetPath << out.errorString();
        return writeError(out.errorString());
    }
    uchar length[4];
    qToBigEndian(quint32(header.size()), length);
    out.write(PackageMagic.data(), PackageMagic.size());
    out.write(reinterpret_cast<const char *>(length), sizeof length);
    out.write(header);
    for (const PackedPdf &pdf : std::as_const(packed)) {
        const QString error = copyPdf(pdf, out);
        if (!error.isEmpty())
            return error; // the save file is dropped uncommitted, so the target stays as it was
    }
    if (!out.commit()) {
        qCWarning(lcPlaylist) << "cannot save package" << targetPath << out.errorString();
        return writeError(out.errorString());
    }
    qCInfo(lcPlaylist) << "package written" << targetPath << packed.size() << "PDFs";
    return {};
}
