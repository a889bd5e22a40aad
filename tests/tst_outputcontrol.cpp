#include "base/appsettings.h"
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
#include <QSettings>
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
    QSettings store;
    AppSettings settings{store};
    OutputControl control{&service, &presentation, &displays, &output, &settings};
    QSignalSpy status{&control, &OutputControl::statusMessage};
    QSignalSpy refresh{&control, &OutputControl::shownChanged};

    Rig()
    {
        control.setLiveCanvas(&live);
        control.setDisplayChoice(&choice);
        fillDisplayChoice(&choice, QString());
    }

    bool load()
    {
        service.load(TestEnvironment::instance().deck(3));
        return shows(0);
    }

    bool open()
    {
        control.setOutputEnabled(true);
        return output.isVisible();
    }

    bool shows(int page)
    {
        return QTest::qWaitFor([&] { return presentation.livePage() == page && presentation.pendingPage() < 0; }, 10000);
    }

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
        QVERIFY(!rig.open());
        QCOMPARE(rig.lastStatus(), (QVariantList{QStringLiteral("Open a PDF before starting output."), 5000}));
        QVERIFY(!rig.refresh.isEmpty());

        // With a document, on the second of two screens by default.
        QVERIFY(rig.load() && rig.open());
        QCOMPARE(rig.output.screen(), TestScreens::named(QStringLiteral("B")));

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
        QVERIFY(rig.load() && rig.open());
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

    void unpluggingAndPluggingBack_data()
    {
        QTest::addColumn<QString>("row"); // "OUTPUT SCREENS-LEFT -> closed|stays": OUTPUT full, window or shut
        QTest::newRow("the output's screen closes the output until it is back") << QStringLiteral("full AC -> closed");
        QTest::newRow("another screen leaves it open") << QStringLiteral("full AB -> stays");
        QTest::newRow("the target's screen while closed is ignored") << QStringLiteral("shut AC -> stays");
        QTest::newRow("a window stays open when its screen goes") << QStringLiteral("window AC -> stays");
    }

    void unpluggingAndPluggingBack()
    {
        QFETCH(QString, row);
        const bool open = !row.startsWith(u"shut"), windowed = row.startsWith(u"window");
        const bool closed = row.endsWith(u"closed");
        QJsonArray remaining;
        for (const QChar name : row.section(u' ', 1, 1))
            remaining.append(name == u'A' ? ScreenA : name == u'B' ? ScreenB : ScreenC);
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        Rig rig;
        rig.settings.setOutputWindowed(windowed);
        QVERIFY(rig.load() && rig.open());
        if (!open)
            rig.control.closeOutput();
        rig.presentation.goToPage(2);
        QVERIFY(rig.shows(2));
        rig.status.clear();
        QVERIFY(TestScreens::apply(remaining));
        QCOMPARE(rig.output.isVisible(), open && !closed);
        const QString lost = QStringLiteral("Output display disconnected. Output closed safely; it opens again when the "
                                            "display comes back, or select another display.");
        QCOMPARE(rig.lastStatus(), closed ? (QVariantList{lost, 20000}) : QVariantList());

        // The same display back: full screen there again, on the page the audience saw.
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QCOMPARE(rig.output.isVisible(), open);
        if (closed) {
            QCOMPARE(rig.output.geometry(), TestScreens::named(QStringLiteral("B"))->geometry());
            QCOMPARE(rig.lastStatus(), (QVariantList{QStringLiteral("Output display reconnected; the output is shown there again."), 10000}));
            QVERIFY(rig.shows(2));
        }
    }

    void aWindowRendersOnceItsSizeHasRested()
    {
        Rig rig;
        rig.settings.setOutputWindowed(true);
        QVERIFY(rig.load() && rig.open());
        QCOMPARE(rig.output.windowTitle(), QStringLiteral("Olvanti — audience"));
        QCOMPARE(rig.output.geometry(), QRect(QPoint(1280 + 320, 180), QSize(1280, 720)));
        QTRY_COMPARE(rig.presentation.frame().size(), QSize(1280, 720));
        // An edge dragged in steps: the last frame is shown scaled meanwhile, rendered once at rest.
        QSignalSpy frames(&rig.presentation, &Presentation::frameReady);
        for (int width = 1200; width >= 640; width -= 80) {
            rig.output.resize(width, width * 9 / 16);
            QCoreApplication::processEvents();
        }
        QCOMPARE(rig.presentation.outputSize(), QSize(1280, 720));
        QTRY_COMPARE(frames.size(), 1);
        QCOMPARE(rig.presentation.outputSize(), QSize(640, 360));
        // Swapped to the other display of two, which becomes the chosen one.
        QVERIFY(TestScreens::apply({ScreenA, ScreenB}));
        rig.control.swapDisplay();
        QCOMPARE(rig.output.screen(), TestScreens::named(QStringLiteral("A")));
        QCOMPARE(rig.choice.currentIndex(), 0);
        QCOMPARE(rig.settings.outputDisplay(), QStringLiteral("A|||"));
    }

    void framesGoToBothCanvasesInTheirDirection()
    {
        Rig rig;
        rig.live.setTransition(PageCanvas::Transition::Fade, 3000);
        rig.live.show();
        QVERIFY(rig.load());
        // The first frame of a document has nothing to change from.
        QVERIFY(rig.live.previousImage().isNull());
        // A crossing (a negative page here) into the earlier playlist file comes in backwards
        // although it opens at a higher page; the frames after it move by their pages again.
        QList<int> directions;
        for (const int page : {1, -2, 1, 2}) {
            if (page < 0)
                rig.presentation.setCrossingDirection(-1);
            rig.presentation.goToPage(qAbs(page));
            QVERIFY(rig.shows(qAbs(page)));
            directions << rig.live.direction();
        }
        QCOMPARE(directions, (QList<int>{1, -1, -1, 1}));
        QVERIFY(!rig.live.previousImage().isNull());
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestOutputControl, TestScreens::ScreensAB)
#include "tst_outputcontrol.moc"
