#pragma once

#include "playlist/playlistlog.h"

#include <QByteArrayView>
#include <QString>

class QIODevice;
class QJsonValue;

namespace PlaylistFileDetail {

// Files are copied in pieces of this size, so no PDF is ever held in memory whole.
inline constexpr qint64 ChunkSize = 1048576;
// Largest playlist file read and largest package header accepted.
inline constexpr qint64 MaxJsonBytes = 16777216;
// Most PDFs a package may hold, far more than any show, so a hostile header cannot make an
// import create files without end.
inline constexpr int MaxPackageItems = 10000;
// Longest file name, in bytes of UTF-8, that the common file systems hold.
inline constexpr qsizetype MaxNameBytes = 255;
// First bytes of every package: twelve characters and a line feed.
inline constexpr QByteArrayView PackageMagic("OLVANTIPACK1\n", 13);

// A countdown as stored: only whole numbers count, negative reads as none, large as the maximum.
int minutesFromJson(const QJsonValue &value);
// A talk's end page as stored (counted from 1): only positive whole numbers count, else none.
int endPageFromJson(const QJsonValue &value);

// The last path component of `text` with separators and control characters replaced by '_';
// `fallback` when that leaves nothing usable ("", "." or "..").
QString safeName(const QString &text, const QString &fallback);
// `text` cut at its end to at most `bytes` bytes of UTF-8, never inside a character.
QString truncatedUtf8(const QString &text, qsizetype bytes);
// `prefix` followed by `name`, the part of `name` before its suffix shortened until the whole
// fits MaxNameBytes; a suffix of up to 16 characters is kept.
QString fitFileName(const QString &prefix, const QString &name);

enum class CopyResult { Done, SourceEnded, WriteFailed };
// Copies exactly `count` bytes in chunks; a read that yields nothing before the end stops it.
CopyResult copyChunks(QIODevice &from, QIODevice &to, qint64 count);

} // namespace PlaylistFileDetail
