#pragma once

#include "modal.h"

#include "ui/mainwindow.h"

#include <QByteArray>
#include <QListView>
#include <QString>
#include <QStringList>

#include <memory>

struct PlaylistEntry;

// Shared steps of the playlist tests: files written and read back, generated documents, answers
// to file choosers and the panel's list of files.
namespace PlaylistTest {

// Writes `bytes` to `path`, creating its folders; a failure fails the running test.
void writeBytes(const QString &path, const QByteArray &bytes);

// The file's bytes, or "<unreadable>".
QByteArray readBytes(const QString &path);

// Every file and folder below `root`, relative to it and sorted, hidden ones included.
QStringList tree(const QString &root);

// `count` distinct text documents of 2, 3, 4, ... pages, copied under "<prefix>-<n>.pdf".
QStringList documents(const QString &prefix, int count);

// Answers the next file dialog with `paths` (at least one, all in one folder).
std::shared_ptr<ModalAnswer> answerFileDialog(const QStringList &paths);

inline QListView *list(MainWindow &window) { return window.findChild<QListView *>(QStringLiteral("playlistList")); }
inline QModelIndex row(MainWindow &window, int at) { return list(window)->model()->index(at, 0); }
inline int currentRow(MainWindow &window) { return list(window)->currentIndex().row(); }
inline void setCurrentRow(MainWindow &window, int at) { list(window)->setCurrentIndex(row(window, at)); }

// Clicks the window's button with this object name.
void click(MainWindow &window, const QString &objectName);

} // namespace PlaylistTest

// Lets QCOMPARE show playlist entries.
char *toString(const PlaylistEntry &entry);
