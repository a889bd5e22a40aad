#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace PlaylistTest {

// Writes `bytes` to `path`, creating its folders; a failure fails the running test.
void writeBytes(const QString &path, const QByteArray &bytes);

// The file's bytes, or "<unreadable>".
QByteArray readBytes(const QString &path);

} // namespace PlaylistTest
