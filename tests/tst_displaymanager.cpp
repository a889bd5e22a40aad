#include "presentation/displaychoice.h"
#include "presentation/displaymanager.h"
#include "screens.h"
#include "testenv.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

using TestScreens::screen;

const QJsonObject ScreenA = screen(QStringLiteral("A"), 0, 1280, 800);
const QJsonObject ScreenB = screen(QStringLiteral("B"), 1280, 1920, 1080);
const QJsonObject ScreenC = screen(QStringLiteral("C"), 3200, 1024, 768, 1.25);

bool plug(const QJsonArray &screens)
{
    return TestScreens::apply(screens)
        && QTest::qWaitFor([&] { return QGuiApplication::screens().size() == screens.size(); });
}

} // namespace

class TestDisplayManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(plug({ScreenA, ScreenB})); }

    void identitiesOfTheAttachedScreens()
    {
        DisplayManager manager;
        QCOMPARE(manager.knownScreens(), (QStringList{QStringLiteral("A|||"), QStringLiteral("B|||")}));
        QCOMPARE(DisplayManager::screenIdentity(nullptr), QString());
    }

    void unplugging_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QJsonArray>("remaining");
        QTest::addColumn<QStringList>("signalOrder");
        const QStringList onlyChanged{QStringLiteral("changed")};
        QTest::newRow("the target's screen: targetRemoved, then changed")
            << "C|||" << QJsonArray{ScreenA, ScreenB} << QStringList{QStringLiteral("targetRemoved"), QStringLiteral("changed")};
        QTest::newRow("another screen: only changed") << "C|||" << QJsonArray{ScreenA, ScreenC} << onlyChanged;
        QTest::newRow("target never attached: only changed") << "Projector|||" << QJsonArray{ScreenA, ScreenB} << onlyChanged;
    }

    void unplugging()
    {
        QFETCH(QString, target);
        QFETCH(QJsonArray, remaining);
        QFETCH(QStringList, signalOrder);
        DisplayManager manager;
        // The order in which the signals arrive.
        QStringList log;
        connect(&manager, &DisplayManager::changed, this, [&] { log << QStringLiteral("changed"); });
        connect(&manager, &DisplayManager::targetRemoved, this, [&] { log << QStringLiteral("targetRemoved"); });
        QVERIFY(plug({ScreenA, ScreenB, ScreenC}));
        QCOMPARE(log, QStringList{QStringLiteral("changed")});
        manager.setTarget(target);
        log.clear();

        QVERIFY(plug(remaining));
        QTRY_COMPARE(log, signalOrder);
        QStringList known;
        for (const QJsonValue &s : std::as_const(remaining))
            known << s.toObject().value(QStringLiteral("name")).toString() + QStringLiteral("|||");
        QCOMPARE(manager.knownScreens(), known);
        // The target stays set after its screen is gone.
        QCOMPARE(manager.target(), target);
    }

    void displayChoiceSelection_data()
    {
        QTest::addColumn<QJsonArray>("screens");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("unavailable");
        const QJsonArray two{ScreenA, ScreenB}, three{ScreenA, ScreenB, ScreenC};
        const QString a = QStringLiteral("A (1280 x 800, 1x)"), b = QStringLiteral("B (1920 x 1080, 1x)");
        QTest::newRow("two screens, nothing stored: the second, no message") << two << "" << b << false;
        QTest::newRow("stored screen present wins") << two << "A|||" << a << false;
        QTest::newRow("stored screen found by identity, not position") << three << "C|||" << "C (1024 x 768, 1.25x)" << false;
        QTest::newRow("stored screen unplugged: the second, with message") << two << "C|||" << b << true;
        QTest::newRow("one screen, stored one unplugged: the only one, with message") << QJsonArray{ScreenA} << "B|||" << a << true;
        QTest::newRow("identity compared case-sensitively") << two << "a|||" << b << true;
    }

    void displayChoiceSelection()
    {
        QFETCH(QJsonArray, screens);
        QFETCH(QString, preferred);
        QFETCH(QString, selected);
        QFETCH(bool, unavailable);
        QVERIFY(plug(screens));
        QComboBox choice;
        choice.addItems({QStringLiteral("old 1"), QStringLiteral("old 2"), QStringLiteral("old 3")});
        choice.setCurrentIndex(2);
        QSignalSpy indexChanged(&choice, &QComboBox::currentIndexChanged);
        // The returned flag asks for the "choose a replacement" message.
        QCOMPARE(fillDisplayChoice(&choice, preferred), unavailable);
        QCOMPARE(choice.count(), screens.size());
        QCOMPARE(choice.currentText(), selected);
        // A refresh is not the operator's choice.
        QCOMPARE(indexChanged.size(), 0);
        QVERIFY(!choice.signalsBlocked());
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestDisplayManager, R"([
    {"name":"A","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
    {"name":"B","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_displaymanager.moc"
