#pragma once

#include "testenv.h"
#include "ui/mainwindow.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace WindowTest {

// Organisation and application names as the product sets them, so QSettings() finds the
// window's store; clears that store.
void useProductSettings();

template<typename T>
T *child(QObject &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

// Shows the window, opens `path` through its open path and waits until the first frame is live.
bool openAndWait(MainWindow &window, const QString &path);

// A copy of `source` under `name` in the test's scratch folder (replacing an older one).
QString copyOf(const QString &source, const QString &name);

// The menu-bar entry with this text (ampersands ignored), searching submenus too.
QAction *menuAction(MainWindow &window, const QString &text);

} // namespace WindowTest
