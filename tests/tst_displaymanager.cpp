#include "presentation/displaychoice.h"
#include "presentation/displaymanager.h"
#include "screens.h"
#include "testenv.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using TestScreens::screen;

const QJsonObject ScreenA = screen(u"A"_s, 0, 1280, 800);
const QJsonObject ScreenB = screen(u"B"_s, 1280, 1920, 1080);
const QJsonObject ScreenC = screen(u"C"_s, 3200, 1024, 768, 1.25);

} // namespace

class TestDisplayManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(TestScreens::apply({ScreenA, ScreenB})); }

    void displayChoiceSelection_data()
    {
        QTest::addColumn<QJsonArray>("screens");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("unavailable");
        const QJsonArray two{ScreenA, ScreenB}, three{ScreenA, ScreenB, ScreenC};
        const QString a = u"A (1280 x 800, 1x)"_s, b = u"B (1920 x 1080, 1x)"_s;
        QTest::newRow("two screens, nothing stored: the second, no message") << two << QString() << b << false;
        QTest::newRow("stored screen present wins") << two << u"A|||"_s << a << false;
        QTest::newRow("stored screen found by identity, not position") << three << u"C|||"_s << u"C (1024 x 768, 1.25x)"_s << false;
        QTest::newRow("stored screen unplugged: the second, with message") << two << u"C|||"_s << b << true;
        QTest::newRow("one screen, stored one unplugged: the only one, with message") << QJsonArray{ScreenA} << u"B|||"_s << a << true;
        QTest::newRow("identity compared case-sensitively") << two << u"a|||"_s << b << true;
    }

    void displayChoiceSelection()
    {
        QFETCH(QJsonArray, screens);
        QFETCH(QString, preferred);
        QFETCH(bool, unavailable);
        QVERIFY(TestScreens::apply(screens));
        QComboBox choice;
        choice.addItems({u"old 1"_s, u"old 2"_s, u"old 3"_s});
        choice.setCurrentIndex(2);
        QSignalSpy indexChanged(&choice, &QComboBox::currentIndexChanged);
        // The returned flag asks for the "choose a replacement" message.
        QCOMPARE(fillDisplayChoice(&choice, preferred), unavailable);
        QCOMPARE(choice.count(), screens.size());
        QTEST(choice.currentText(), "selected");
        // A refresh is not the operator's choice.
        QCOMPARE(indexChanged.size(), 0);
        QVERIFY(!choice.signalsBlocked());
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestDisplayManager, TestScreens::ScreensAB)
#include "tst_displaymanager.moc"
