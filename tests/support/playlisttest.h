#pragma once

#include "modal.h"

#include <QStringList>

#include <functional>
#include <memory>

class MainWindow;
class QDialog;
class QListView;
class QModelIndex;

// Shared steps of the playlist tests: generated documents and answers to the playlist's
// own dialogs (file choosers, Replace/Append, the per-file countdown).
namespace PlaylistTest {

// `count` distinct text documents of 2, 3, 4, ... pages, copied under "<prefix>-<n>.pdf".
QStringList documents(const QString &prefix, int count);

// Answers the next file dialog with `paths` (at least one, all in one folder). `text` of the
// answer holds what the dialog proposed (its first selected file) before the answer.
std::shared_ptr<ModalAnswer> answerFileDialog(const QStringList &paths);

// Clicks the button with this text (ampersands ignored) in the next message box.
std::shared_ptr<ModalAnswer> answerMessageBoxButton(const QString &buttonText);

// Runs `act` on the next modal dialog with this object name.
std::shared_ptr<ModalAnswer> answerDialog(const QString &objectName, std::function<void(QDialog *)> act);

// The panel's list of files.
QListView *list(MainWindow &window);
// A row of the playlist panel, for its texts, colours and selection.
QModelIndex row(MainWindow &window, int row);
int currentRow(MainWindow &window);
void setCurrentRow(MainWindow &window, int row);

// Clicks the window's button with this object name.
void click(MainWindow &window, const QString &objectName);

} // namespace PlaylistTest
