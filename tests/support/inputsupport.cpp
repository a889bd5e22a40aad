#include "inputsupport.h"

#include "testenv.h"

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QWidget>

namespace InputTest {

Keys keys(const QString &portable)
{
    Keys list;
    for (const QString &piece : portable.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        list.append(QKeySequence::fromString(piece, QKeySequence::PortableText));
    return list;
}

std::unique_ptr<QSettings> freshStore()
{
    static int counter = 0;
    const QString path = TestEnvironment::instance().path(QStringLiteral("input-%1.ini").arg(++counter));
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

bool activate(QWidget *window, QWidget *focus)
{
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        return false;
    focus->setFocus();
    return QTest::qWaitFor([focus] {
        QWidget *focused = QApplication::focusWidget();
        return focused && (focused == focus || focus->isAncestorOf(focused));
    });
}

} // namespace InputTest
