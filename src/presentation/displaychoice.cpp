#include "displaychoice.h"

#include "displaymanager.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>

bool fillDisplayChoice(QComboBox *choice, const QString &preferredIdentity)
{
    if (!choice)
        return false;
    const QSignalBlocker blocker(choice);
    choice->clear();
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        const QRect geometry = screen->geometry();
        const QString text = QCoreApplication::translate("DisplayChoice", "%1 (%2 x %3, %4x)")
                                 .arg(screen->name())
                                 .arg(geometry.width())
                                 .arg(geometry.height())
                                 .arg(QString::number(screen->devicePixelRatio(), 'g'));
        choice->addItem(text, DisplayManager::screenIdentity(screen));
    }
    bool missing = false;
    choice->setCurrentIndex(chosenDisplayIndex(preferredIdentity, &missing));
    return missing;
}

int chosenDisplayIndex(const QString &preferredIdentity, bool *missing)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (missing)
        *missing = false;
    if (!preferredIdentity.isEmpty()) {
        for (int i = 0; i < screens.size(); ++i) {
            if (DisplayManager::screenIdentity(screens.at(i)) == preferredIdentity)
                return i;
        }
        if (missing)
            *missing = true;
    }
    return screens.size() >= 2 ? 1 : (screens.isEmpty() ? -1 : 0);
}
