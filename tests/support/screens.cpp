#include "screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <qpa/qplatformnativeinterface.h>

namespace TestScreens {

QJsonObject screen(const QString &name, int x, int width, int height, double dpr, int dpi)
{
    return QJsonObject{{QStringLiteral("name"), name},          {QStringLiteral("x"), x},
                       {QStringLiteral("y"), 0},               {QStringLiteral("width"), width},
                       {QStringLiteral("height"), height},     {QStringLiteral("logicalDpi"), dpi},
                       {QStringLiteral("logicalBaseDpi"), 96}, {QStringLiteral("dpr"), dpr}};
}

bool apply(const QJsonArray &screens)
{
    using SetConfiguration = void (*)(const QJsonObject &, QPlatformNativeInterface *);
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    const auto set = reinterpret_cast<SetConfiguration>(native->nativeResourceForIntegration("setConfiguration"));
    if (!set)
        return false;
    set(QJsonObject{{QStringLiteral("screens"), screens}}, native);
    return QTest::qWaitFor([&] { return QGuiApplication::screens().size() == screens.size(); });
}

QScreen *named(const QString &name)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const auto it = std::find_if(screens.begin(), screens.end(), [&](QScreen *screen) { return screen->name() == name; });
    return it == screens.end() ? nullptr : *it;
}

} // namespace TestScreens
