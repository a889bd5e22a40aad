#include "displaymanager.h"

#include "presentationlog.h"

#include <QGuiApplication>
#include <QScreen>

DisplayManager::DisplayManager(QObject *parent)
    : QObject(parent)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        attach(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &DisplayManager::onScreenAdded);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &DisplayManager::onScreenRemoved);
}

QString DisplayManager::screenIdentity(const QScreen *screen)
{
    if (!screen)
        return QString();
    return screen->name() + QLatin1Char('|') + screen->manufacturer() + QLatin1Char('|') + screen->model()
        + QLatin1Char('|') + screen->serialNumber();
}

void DisplayManager::attach(QScreen *screen)
{
    const QString identity = screenIdentity(screen);
    if (!m_knownScreens.contains(identity))
        m_knownScreens.append(identity);
    const auto notify = [this, screen] {
        Q_EMIT geometryChanged(screen);
        Q_EMIT changed();
    };
    connect(screen, &QScreen::geometryChanged, this, notify);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, notify);
}

void DisplayManager::onScreenAdded(QScreen *screen)
{
    attach(screen);
    qCInfo(lcPresentation, "Screen attached: %s", qPrintable(screenIdentity(screen)));
    Q_EMIT changed();
    if (!m_target.isEmpty() && screenIdentity(screen) == m_target)
        Q_EMIT targetReturned(screen);
}

void DisplayManager::onScreenRemoved(QScreen *screen)
{
    const QString identity = screenIdentity(screen);
    QStringList remaining = m_knownScreens;
    remaining.removeAll(identity);
    const bool targetGone = !m_target.isEmpty() && m_knownScreens.contains(m_target) && !remaining.contains(m_target);
    m_knownScreens = remaining;
    qCInfo(lcPresentation, "Screen detached: %s", qPrintable(identity));
    if (targetGone)
        Q_EMIT targetRemoved();
    Q_EMIT changed();
}
