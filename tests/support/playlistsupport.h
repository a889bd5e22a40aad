#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct PlaylistEntry;

// Shared steps of the playlist file and package tests.
namespace PlaylistTest {

// Writes `bytes` to `path`, creating its folders; a failure fails the running test.
void writeBytes(const QString &path, const QByteArray &bytes);

// The file's bytes, or "<unreadable>".
QByteArray readBytes(const QString &path);

// Every file and folder below `root`, relative to it and sorted, hidden ones included.
QStringList tree(const QString &root);

} // namespace PlaylistTest

// Lets QCOMPARE show playlist entries.
char *toString(const PlaylistEntry &entry);
