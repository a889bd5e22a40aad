#include "pdf/pdfservice.h"
#include "presentation/displaychoice.h"
#include "presentation/displaymanager.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "modal.h"
#include "screens.h"
#include "testenv.h"

#include <QComboBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

using TestScreens::screen;

const QJsonObject ScreenA = screen(QStringLiteral("A"), 0, 1280, 800);
const QJsonObject ScreenB = screen(QStringLiteral("B"), 1280, 1920, 1080);
const QJsonObject ScreenC = screen(QStringLiteral("C"), 3200, 800, 600, 2.0);

// The output and its control as the main window wires them.
struct Rig
{
    PdfService service;
    Presentation presentation{&service};
    DisplayManager displays;
    OutputWindow output;
    PageCanvas live;
    QComboBox choice;
    OutputControl control{&service, &presentation, &displays, &output};
    QSignalSpy status{&control, &OutputControl::statusMessage};
    QSignalSpy refresh{&control, &OutputControl::shownChanged};

    Rig()
    {
        control.setLiveCanvas(&live);
        control.setDisplayChoice(&choice);
        fillDisplayChoice(&choice, QString());
    }

    bool load(const QString &path)
    {
        service.load(path);
        return shows(0);
    }

    bool open()
    {
        control.setOutputEnabled(true);
        return output.isVisible();
    }

    // Waits until `page` is live and nothing else is on its way.
    bool shows(int page)
    {
        return QTest::qWaitFor([&] { return presentation.livePage() == page && presentation.pendingPage() < 0; }, 10000);
    }

    // The last status message and its display time.
    QVariantList lastStatus() const { return status.isEmpty() ? QVariantList() : status.constLast(); }
};

} // namespace

class TestOutputControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(TestScreens::apply({ScreenA, ScreenB})); }

    void opensOnTheChosenScreenInDevicePixels()
    {
        Rig rig;
        rig.control.setOutputEnabled(true);
        QVERIFY(!rig.output.isVisible());
        QCOMPARE(rig.lastStatus(), (QVariantList{QStringLiteral("Open a PDF before starting output."), 5000}));
        QVERIFY(!rig.refresh.isEmpty());

        // With a document, on the second of two screens by default.
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QCOMPARE(rig.choice.currentIndex(), 1);
        QVERIFY(rig.open());
        QScreen *b = TestScreens::named(QStringLiteral("B"));
        QCOMPARE(rig.output.screen(), b);
        QCOMPARE(rig.output.geometry(), b->geometry());
        QCOMPARE(rig.displays.target(), QStringLiteral("B|||"));
        // The frame is rendered again for the output size.
        QTRY_COMPARE(rig.presentation.frame().size(), QSize(1920, 1080));

        // Moved to a double-density screen, also after that screen changes resolution.
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        fillDisplayChoice(&rig.choice, QStringLiteral("C|||"));
        rig.control.displayChosen();
        QScreen *c = TestScreens::named(QStringLiteral("C"));
        QCOMPARE(rig.output.geometry(), c->geometry());
        QCOMPARE(rig.presentation.outputSize(), QSize(1600, 1200));
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, screen(QStringLiteral("C"), 3200, 1024, 768, 2.0)}));
        QTRY_COMPARE(rig.presentation.outputSize(), QSize(2048, 1536));
        QCOMPARE(rig.output.geometry(), c->geometry());
    }

    void stoppingAsksFirst()
    {
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.open());
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            rig.refresh.clear();
            auto box = answerMessageBox(answer);
            rig.control.setOutputEnabled(false);
            QVERIFY(box->answered);
            QCOMPARE(box->title, QStringLiteral("Stop presentation"));
            QCOMPARE(box->text, QStringLiteral("Do you really want to stop the presentation on the full-screen display?"));
            QCOMPARE(box->defaultButton, QMessageBox::No);
            // Only Yes closes; the toggles are refreshed to the real state either way.
            QCOMPARE(rig.output.isVisible(), answer == QMessageBox::No);
            QVERIFY(!rig.refresh.isEmpty());
        }
    }

    void unplugging_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QJsonArray>("remaining");
        QTest::addColumn<bool>("closed");
        QTest::newRow("the output's screen closes the output") << true << QJsonArray{ScreenA, ScreenC} << true;
        QTest::newRow("another screen leaves it open") << true << QJsonArray{ScreenA, ScreenB} << false;
        QTest::newRow("the target's screen while closed is ignored") << false << QJsonArray{ScreenA, ScreenC} << false;
    }

    void unplugging()
    {
        QFETCH(bool, open);
        QFETCH(QJsonArray, remaining);
        QFETCH(bool, closed);
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.open());
        if (!open)
            rig.control.closeOutput();
        rig.status.clear();
        QVERIFY(TestScreens::apply(remaining));
        QCOMPARE(rig.output.isVisible(), open && !closed);
        const QString message =
            QStringLiteral("Output display disconnected. Output closed safely; select a display and reopen.");
        QCOMPARE(rig.lastStatus(), closed ? (QVariantList{message, 20000}) : QVariantList());
    }

    void framesGoToBothCanvasesInTheirDirection()
    {
        Rig rig;
        rig.live.setTransition(PageCanvas::Transition::Fade, 3000);
        rig.live.show();
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        // The first frame of a document has nothing to change from.
        QVERIFY(rig.live.previousImage().isNull());
        rig.presentation.next();
        QVERIFY(rig.shows(1));
        QCOMPARE(rig.output.image(), rig.presentation.frame());
        QCOMPARE(rig.live.image(), rig.presentation.frame());
        QVERIFY(!rig.live.previousImage().isNull());
        rig.presentation.previous();
        QVERIFY(rig.shows(0));
        QCOMPARE(rig.live.direction(), -1);

        // A crossing into the earlier playlist file comes in backwards although it opens at a
        // higher page; the frame after it moves by its pages again.
        rig.presentation.setCrossingDirection(-1);
        rig.presentation.goToPage(2);
        QVERIFY(rig.shows(2));
        QCOMPARE(rig.live.direction(), -1);
        rig.presentation.previous();
        QVERIFY(rig.shows(1));
        QCOMPARE(rig.live.direction(), -1);
        rig.presentation.goToPage(2);
        QVERIFY(rig.shows(2));
        QCOMPARE(rig.live.direction(), 1);
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestOutputControl, TestScreens::ScreensAB)
#include "tst_outputcontrol.moc"
