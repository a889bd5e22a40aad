#include "windowtest.h"

#include <QAction>
#include <QFile>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace WindowTest {

void useProductSettings()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Olvanti"));
    QCoreApplication::setApplicationName(QStringLiteral("OlvantiVIVuderidazi"));
    QSettings().clear();
}

bool openAndWait(MainWindow &window, const QString &path)
{
    window.show();
    QSignalSpy ready(&window, &MainWindow::documentReady);
    window.openPath(path);
    return QTest::qWaitFor([&] { return !ready.isEmpty(); }, 10000);
}

QString copyOf(const QString &source, const QString &name)
{
    const QString target = TestEnvironment::instance().path(name);
    QFile::remove(target);
    QFile::copy(source, target);
    return target;
}

namespace {

QAction *findIn(const QList<QAction *> &actions, const QString &text)
{
    for (QAction *action : actions) {
        if (action->text().remove(QLatin1Char('&')) == text)
            return action;
        if (QAction *found = action->menu() ? findIn(action->menu()->actions(), text) : nullptr)
            return found;
    }
    return nullptr;
}

} // namespace

QAction *menuAction(MainWindow &window, const QString &text)
{
    return findIn(window.menuBar()->actions(), text);
}

} // namespace WindowTest
