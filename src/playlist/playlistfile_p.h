#pragma once

#include "playlist/playlistlog.h"

#include <QByteArrayView>

class QIODevice;
class QJsonValue;

namespace PlaylistFileDetail {

// Files are copied in pieces of this size, so no PDF is ever held in memory whole.
inline constexpr qint64 ChunkSize = 1048576;
// Largest playlist file read and largest package header accepted.
inline constexpr qint64 MaxJsonBytes = 16777216;
// First bytes of every package: twelve characters and a line feed.
inline constexpr QByteArrayView PackageMagic("OLVANTIPACK1\n", 13);

// A countdown as stored: only whole numbers count, negative reads as none, large as the maximum.
int minutesFromJson(const QJsonValue &value);

enum class CopyResult { Done, SourceEnded, WriteFailed };
// Copies exactly `count` bytes in chunks; a read that yields nothing before the end stops it.
CopyResult copyChunks(QIODevice &from, QIODevice &to, qint64 count);

} // namespace PlaylistFileDetail
