#include "presentation/displaychoice.h"
#include "presentation/displaymanager.h"
#include "screens.h"
#include "testenv.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

using TestScreens::screen;

const QJsonObject ScreenA = screen(QStringLiteral("A"), 0, 1280, 800);
const QJsonObject ScreenB = screen(QStringLiteral("B"), 1280, 1920, 1080);
const QJsonObject ScreenC = screen(QStringLiteral("C"), 3200, 1024, 768, 1.25);

// The order in which a display manager's signals arrive.
struct SignalLog
{
    QStringList entries;

    explicit SignalLog(DisplayManager &manager)
    {
        QObject::connect(&manager, &DisplayManager::changed, &manager, [this] { entries << QStringLiteral("changed"); });
        QObject::connect(&manager, &DisplayManager::targetRemoved, &manager,
                         [this] { entries << QStringLiteral("targetRemoved"); });
        QObject::connect(&manager, &DisplayManager::geometryChanged, &manager,
                         [this](QScreen *s) { entries << QStringLiteral("geometryChanged ") + s->name(); });
    }
};

} // namespace

class TestDisplayManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QScreen *>();
    }

    void init()
    {
        QVERIFY(TestScreens::apply({ScreenA, ScreenB}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
    }

    void identitiesOfTheAttachedScreens()
    {
        DisplayManager manager;
        QCOMPARE(manager.knownScreens(), (QStringList{QStringLiteral("A|||"), QStringLiteral("B|||")}));
        QCOMPARE(DisplayManager::screenIdentity(TestScreens::named(QStringLiteral("B"))), QStringLiteral("B|||"));
        QCOMPARE(DisplayManager::screenIdentity(nullptr), QString());
        QCOMPARE(manager.target(), QString());
    }

    void unplugging_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("unplugged");
        QTest::addColumn<QStringList>("signalOrder");
        QTest::addColumn<QStringList>("known");
        const QStringList onlyChanged{QStringLiteral("changed")};
        QTest::newRow("the target's screen: targetRemoved, then changed")
            << "C|||" << "C" << QStringList{QStringLiteral("targetRemoved"), QStringLiteral("changed")}
            << QStringList{QStringLiteral("A|||"), QStringLiteral("B|||")};
        QTest::newRow("another screen: only changed")
            << "C|||" << "B" << onlyChanged << QStringList{QStringLiteral("A|||"), QStringLiteral("C|||")};
        QTest::newRow("no target yet: only changed")
            << "" << "C" << onlyChanged << QStringList{QStringLiteral("A|||"), QStringLiteral("B|||")};
        QTest::newRow("target never attached: only changed")
            << "Projector|||" << "C" << onlyChanged << QStringList{QStringLiteral("A|||"), QStringLiteral("B|||")};
    }

    void unplugging()
    {
        QFETCH(QString, target);
        QFETCH(QString, unplugged);
        QFETCH(QStringList, signalOrder);
        QFETCH(QStringList, known);
        DisplayManager manager;
        SignalLog log(manager);
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QTRY_COMPARE(log.entries, QStringList{QStringLiteral("changed")});
        QCOMPARE(manager.knownScreens().constLast(), QStringLiteral("C|||"));
        manager.setTarget(target);
        log.entries.clear();

        QJsonArray remaining;
        for (const QJsonObject &s : {ScreenA, ScreenB, ScreenC}) {
            if (s.value(QStringLiteral("name")).toString() != unplugged)
                remaining.append(s);
        }
        QVERIFY(TestScreens::apply(remaining));
        QTRY_COMPARE(log.entries, signalOrder);
        QCOMPARE(manager.knownScreens(), known);
        // The target stays set after its screen is gone.
        QCOMPARE(manager.target(), target);
    }

    void geometryAndDensityChanges_data()
    {
        QTest::addColumn<QJsonObject>("changedC");
        QTest::newRow("resolution") << screen(QStringLiteral("C"), 3200, 1280, 1024, 1.25);
        QTest::newRow("logical density") << screen(QStringLiteral("C"), 3200, 1024, 768, 1.25, 144);
    }

    void geometryAndDensityChanges()
    {
        QFETCH(QJsonObject, changedC);
        // A screen of its own, so the density change does not outlive the test.
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 3);
        DisplayManager manager;
        SignalLog log(manager);
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, changedC}));
        // The offscreen platform also repeats the unchanged screens' density; each notification
        // is reported as a pair.
        QTRY_VERIFY(log.entries.contains(QStringLiteral("geometryChanged C")));
        const qsizetype at = log.entries.indexOf(QStringLiteral("geometryChanged C"));
        QCOMPARE(log.entries.value(at + 1), QStringLiteral("changed"));
        QCOMPARE(log.entries.size() % 2, 0);
        QVERIFY(!log.entries.contains(QStringLiteral("targetRemoved")));
    }

    void displayChoiceItemsFollowTheScreenList()
    {
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 3);
        QComboBox choice;
        fillDisplayChoice(&choice, QString());
        QCOMPARE(choice.count(), 3);
        QCOMPARE(choice.itemText(0), QStringLiteral("A (1280 x 800, 1x)"));
        QCOMPARE(choice.itemText(1), QStringLiteral("B (1920 x 1080, 1x)"));
        QCOMPARE(choice.itemText(2), QStringLiteral("C (1024 x 768, 1.25x)"));
        QCOMPARE(choice.itemData(2).toString(), QStringLiteral("C|||"));
    }

    void displayChoiceSelection_data()
    {
        QTest::addColumn<QJsonArray>("screens");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("unavailable");
        QTest::newRow("two screens, nothing stored: the second, no message")
            << QJsonArray{ScreenA, ScreenB} << "" << 1 << false;
        QTest::newRow("stored screen present wins") << QJsonArray{ScreenA, ScreenB} << "A|||" << 0 << false;
        QTest::newRow("stored screen found by identity, not position")
            << QJsonArray{ScreenA, ScreenB, ScreenC} << "C|||" << 2 << false;
        QTest::newRow("stored screen unplugged: the second, with message")
            << QJsonArray{ScreenA, ScreenB} << "C|||" << 1 << true;
        QTest::newRow("one screen left, stored one unplugged: the only one, with message")
            << QJsonArray{ScreenA} << "B|||" << 0 << true;
        QTest::newRow("one screen, nothing stored: the only one, no message") << QJsonArray{ScreenA} << "" << 0 << false;
        QTest::newRow("identity compared case-sensitively") << QJsonArray{ScreenA, ScreenB} << "a|||" << 1 << true;
    }

    void displayChoiceSelection()
    {
        QFETCH(QJsonArray, screens);
        QFETCH(QString, preferred);
        QFETCH(int, selected);
        QFETCH(bool, unavailable);
        QVERIFY(TestScreens::apply(screens));
        QTRY_COMPARE(QGuiApplication::screens().size(), screens.size());
        QComboBox choice;
        choice.addItems({QStringLiteral("old 1"), QStringLiteral("old 2"), QStringLiteral("old 3")});
        choice.setCurrentIndex(2);
        QSignalSpy indexChanged(&choice, &QComboBox::currentIndexChanged);
        QCOMPARE(fillDisplayChoice(&choice, preferred), unavailable);
        QCOMPARE(choice.currentIndex(), selected);
        QCOMPARE(choice.count(), screens.size());
        QCOMPARE(indexChanged.size(), 0);
        QVERIFY(!choice.signalsBlocked());
    }

};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestDisplayManager, R"([
    {"name":"A","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
    {"name":"B","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_displaymanager.moc"
