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
    const int preferred = choice->findData(preferredIdentity, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!preferredIdentity.isEmpty() && preferred >= 0) {
        choice->setCurrentIndex(preferred);
        return false;
    }
    choice->setCurrentIndex(choice->count() >= 2 ? 1 : (choice->count() > 0 ? 0 : -1));
    return !preferredIdentity.isEmpty();
}
