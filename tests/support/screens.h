#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class QScreen;

// The offscreen platform's screens, plugged and unplugged at run time with the real
// screen-added and screen-removed notifications.
namespace TestScreens {

QJsonObject screen(const QString &name, int x, int width, int height, double dpr = 1.0, int dpi = 96);

// Applies a new set of screens, matched by name, and waits until the application has as many;
// false when the platform cannot do it.
bool apply(const QJsonArray &screens);

QScreen *named(const QString &name);

} // namespace TestScreens
