#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QScreen;

// Knows the attached screens by a stable identity, so the chosen output display is found again
// whatever order the system lists the screens in, and reports when the output's screen goes
// away and when a screen of that identity comes back.
class DisplayManager final : public QObject
{
    Q_OBJECT

public:
    explicit DisplayManager(QObject *parent = nullptr);

    // "name|manufacturer|model|serial"; empty parts are kept, so "||" occurs.
    static QString screenIdentity(const QScreen *screen);

    // Identities of the attached screens in order of attachment, without duplicates.
    QStringList knownScreens() const { return m_knownScreens; }

    // The screen the output was last opened on; stays set after the output closes.
    QString target() const { return m_target; }
    void setTarget(const QString &identity) { m_target = identity; }

Q_SIGNALS:
    void changed();
    void geometryChanged(QScreen *screen);
    void targetRemoved();
    void targetReturned(QScreen *screen);

private:
    void attach(QScreen *screen);
    void onScreenAdded(QScreen *screen);
    void onScreenRemoved(QScreen *screen);

    QString m_target;
    QStringList m_knownScreens;
};
