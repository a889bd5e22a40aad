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

// The start layout of the display tests: screen "A" of 1280 x 800 and "B" of 1920 x 1080 right of it.
inline constexpr char ScreensAB[] = R"([
    {"name":"A","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
    {"name":"B","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])";

} // namespace TestScreens
