#pragma once

#include <QKeySequence>
#include <QList>

#include <memory>

class QSettings;
class QWidget;

namespace InputTest {

using Keys = QList<QKeySequence>;

// "Right|Ctrl+B": the portable key texts separated by '|', as a binding list.
Keys keys(const QString &portable);

// A new, empty store file in the scratch folder.
std::unique_ptr<QSettings> freshStore();

// Shows `window`, waits until it is active and gives `focus` (or its focus proxy) the focus.
bool activate(QWidget *window, QWidget *focus);

} // namespace InputTest
