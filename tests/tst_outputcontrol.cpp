#include "pdf/pdfservice.h"
#include "presentation/displaychoice.h"
#include "presentation/displaymanager.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "modal.h"
#include "screens.h"
#include "testenv.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using TestScreens::screen;

const QJsonObject ScreenA = screen(QStringLiteral("A"), 0, 1280, 800);
const QJsonObject ScreenB = screen(QStringLiteral("B"), 1280, 1920, 1080);
const QJsonObject ScreenC = screen(QStringLiteral("C"), 3200, 800, 600, 2.0);

// The output and its control as the main window wires them, on a loaded document.
struct Rig
{
    PdfService service;
    Presentation presentation{&service};
    DisplayManager displays;
    OutputWindow output;
    PageCanvas live;
    QComboBox choice;
    QSettings settings{TestEnvironment::instance().path(QStringLiteral("settings.ini")), QSettings::IniFormat};
    OutputControl control{&service, &presentation, &displays, &output};
    QSignalSpy status{&control, &OutputControl::statusMessage};
    QSignalSpy refresh{&control, &OutputControl::refreshRequested};
    QSignalSpy ready{&control, &OutputControl::documentReady};

    Rig()
    {
        control.setLiveCanvas(&live);
        control.setDisplayChoice(&choice);
        control.setSettings(&settings);
        fillDisplayChoice(&choice, QString());
    }

    ~Rig() { output.hide(); }

    bool load(const QString &path)
    {
        service.load(path);
        return QTest::qWaitFor([&] { return !presentation.frame().isNull() && presentation.pendingPage() < 0; }, 10000);
    }

    bool open()
    {
        control.setOutputEnabled(true);
        return output.isVisible();
    }

    bool showPage(int page)
    {
        presentation.goToPage(page);
        return QTest::qWaitFor([&] { return presentation.livePage() == page && presentation.pendingPage() < 0; }, 10000);
    }

    QString lastStatus() const { return status.isEmpty() ? QString() : status.constLast().at(0).toString(); }
    int lastStatusMs() const { return status.isEmpty() ? 0 : status.constLast().at(1).toInt(); }
};

} // namespace

class TestOutputControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(TestScreens::apply({ScreenA, ScreenB}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
    }

    void opensOnTheSecondScreen()
    {
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QCOMPARE(rig.choice.currentIndex(), 1);
        QVERIFY(rig.open());
        QScreen *b = TestScreens::named(QStringLiteral("B"));
        QCOMPARE(rig.output.screen(), b);
        QCOMPARE(rig.output.geometry(), b->geometry());
        QCOMPARE(rig.displays.target(), QStringLiteral("B|||"));
        QCOMPARE(rig.presentation.outputSize(), QSize(1920, 1080));
        QVERIFY(!rig.refresh.isEmpty());
        // The frame is rendered again for the output size.
        QTRY_COMPARE(rig.presentation.frame().size(), QSize(1920, 1080));
    }

    void stopQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("stillOpen");
        QTest::newRow("No leaves the output on") << int(QMessageBox::No) << true;
        QTest::newRow("Yes closes it") << int(QMessageBox::Yes) << false;
    }

    void stopQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, stillOpen);
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.open());
        rig.refresh.clear();
        auto box = answerMessageBox(QMessageBox::StandardButton(answer));
        rig.control.setOutputEnabled(false);
        QVERIFY(box->answered);
        QCOMPARE(box->title, QStringLiteral("Stop presentation"));
        QCOMPARE(box->text, QStringLiteral("Do you really want to stop the presentation on the full-screen display?"));
        QCOMPARE(box->defaultButton, QMessageBox::No);
        QCOMPARE(rig.output.isVisible(), stillOpen);
        // The toggles are refreshed to the real state in either case.
        QVERIFY(!rig.refresh.isEmpty());
    }

    void unplugging_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("unplugged");
        QTest::addColumn<bool>("closed");
        QTest::newRow("the output's screen closes the output") << true << "B" << true;
        QTest::newRow("another screen leaves it open") << true << "C" << false;
        QTest::newRow("the target's screen while closed is ignored") << false << "B" << false;
    }

    void unplugging()
    {
        QFETCH(bool, open);
        QFETCH(QString, unplugged);
        QFETCH(bool, closed);
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 3);
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.open());
        if (!open) {
            rig.control.closeOutput();
            QVERIFY(!rig.output.isVisible());
        }
        rig.status.clear();
        QJsonArray remaining;
        for (const QJsonObject &s : {ScreenA, ScreenB, ScreenC}) {
            if (s.value(QStringLiteral("name")).toString() != unplugged)
                remaining.append(s);
        }
        QVERIFY(TestScreens::apply(remaining));
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
        QCOMPARE(rig.output.isVisible(), open && !closed);
        if (closed) {
            QCOMPARE(rig.lastStatus(),
                     QStringLiteral("Output display disconnected. Output closed safely; select a display and reopen."));
            QCOMPARE(rig.lastStatusMs(), 20000);
        } else {
            QVERIFY(rig.status.isEmpty());
        }
    }

    void openingWithoutADocumentAsksForOne()
    {
        Rig rig;
        rig.control.setOutputEnabled(true);
        QVERIFY(!rig.output.isVisible());
        QCOMPARE(rig.lastStatus(), QStringLiteral("Open a PDF before starting output."));
        QCOMPARE(rig.lastStatusMs(), 5000);
        QVERIFY(!rig.refresh.isEmpty());
    }

    void openingWithoutAScreenWarns()
    {
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QComboBox empty;
        rig.control.setDisplayChoice(&empty);
        auto box = answerMessageBox(QMessageBox::Ok);
        rig.control.setOutputEnabled(true);
        QVERIFY(box->answered);
        QCOMPARE(box->title, QStringLiteral("Output display"));
        QCOMPARE(box->text, QStringLiteral("No output display is available."));
        QVERIFY(!rig.output.isVisible());
    }

    void outputSizeFollowsTheScreen()
    {
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, ScreenC}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 3);
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        fillDisplayChoice(&rig.choice, QStringLiteral("C|||"));
        QCOMPARE(rig.choice.currentIndex(), 2);
        QVERIFY(rig.open());
        QScreen *c = TestScreens::named(QStringLiteral("C"));
        QCOMPARE(rig.output.geometry(), c->geometry());
        QCOMPARE(rig.presentation.outputSize(), QSize(1600, 1200));

        // A new resolution: the window takes the screen's geometry and the size follows.
        QVERIFY(TestScreens::apply({ScreenA, ScreenB, screen(QStringLiteral("C"), 3200, 1024, 768, 2.0)}));
        QTRY_COMPARE(rig.presentation.outputSize(), QSize(2048, 1536));
        QCOMPARE(rig.output.geometry(), c->geometry());
    }

    void choosingAnotherDisplay_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("while open moves the output") << true;
        QTest::newRow("while closed only remembers it") << false;
    }

    void choosingAnotherDisplay()
    {
        QFETCH(bool, open);
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        if (open)
            QVERIFY(rig.open());
        rig.choice.setCurrentIndex(0);
        rig.control.displayChosen(QStringLiteral("A|||"));
        QCOMPARE(rig.settings.value(QStringLiteral("output/display")).toString(), QStringLiteral("A|||"));
        QCOMPARE(rig.output.isVisible(), open);
        if (open) {
            QCOMPARE(rig.output.geometry(), TestScreens::named(QStringLiteral("A"))->geometry());
            QCOMPARE(rig.displays.target(), QStringLiteral("A|||"));
            QCOMPARE(rig.presentation.outputSize(), QSize(1280, 800));
        }
    }

    void framesGoToBothCanvases()
    {
        Rig rig;
        int fileDirection = 0;
        OutputControl::Hooks hooks;
        hooks.fileChangeDirection = [&] { return fileDirection; };
        hooks.clearFileChangeDirection = [&] { fileDirection = 0; };
        rig.control.setHooks(hooks);
        for (PageCanvas *canvas : {static_cast<PageCanvas *>(&rig.output), &rig.live})
            canvas->setTransition(PageCanvas::Transition::Fade, 3000);
        rig.live.show();
        QVERIFY(rig.load(TestEnvironment::instance().deck(4)));
        QCOMPARE(rig.ready.size(), 1);
        QVERIFY(rig.open());
        // The first frame of a document has nothing to change from.
        QVERIFY(rig.live.previousImage().isNull());
        QCOMPARE(rig.live.image(), rig.presentation.frame());

        QVERIFY(rig.showPage(2));
        for (PageCanvas *canvas : {static_cast<PageCanvas *>(&rig.output), &rig.live}) {
            QVERIFY(!canvas->previousImage().isNull());
            QCOMPARE(canvas->direction(), 1);
            QCOMPARE(canvas->image(), rig.presentation.frame());
        }
        QVERIFY(rig.showPage(1));
        QCOMPARE(rig.live.direction(), -1);

        // The same page again (a new output size) changes without animation.
        rig.output.resize(640, 360);
        QTRY_COMPARE(rig.presentation.frame().size(), QSize(640, 360));
        QVERIFY(rig.output.previousImage().isNull());

        // A playlist file change animates in its own direction, even to a higher page.
        fileDirection = -1;
        QVERIFY(rig.showPage(3));
        QVERIFY(!rig.live.previousImage().isNull());
        QCOMPARE(rig.live.direction(), -1);
        QCOMPARE(fileDirection, 0);
        const qsizetype readyBefore = rig.ready.size();
        QVERIFY(readyBefore >= 4);

        // A closed document blanks both canvases, and that is not a ready document.
        rig.service.close();
        QVERIFY(rig.output.image().isNull());
        QVERIFY(rig.live.image().isNull());
        QCOMPARE(rig.ready.size(), readyBefore);
        QVERIFY(rig.load(TestEnvironment::instance().deck(4)));
        QVERIFY(rig.live.previousImage().isNull());
    }

    void renderErrorIsShownInAWarning()
    {
        Rig rig;
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        auto box = answerMessageBox(QMessageBox::Ok);
        rig.presentation.showPage(9);
        QVERIFY(box->answered);
        QCOMPARE(box->title, QStringLiteral("Presentation output"));
        QCOMPARE(box->text, QStringLiteral("Invalid page requested."));
    }

    void endOfPresentation()
    {
        Rig rig;
        int pauses = 0;
        OutputControl::Hooks hooks;
        hooks.countdownRunning = [] { return true; };
        hooks.pauseCountdown = [&] { ++pauses; };
        rig.control.setHooks(hooks);
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.showPage(2));
        const QString notice = QStringLiteral("End of presentation. Press Previous to go back.");

        rig.control.presentationNext();
        QCOMPARE(rig.lastStatus(), notice);
        QCOMPARE(rig.lastStatusMs(), 15000);
        QCOMPARE(pauses, 1);
        QVERIFY(rig.control.endReached());
        // Once per arrival.
        rig.control.presentationNext();
        QCOMPARE(rig.status.size(), 1);
        QCOMPARE(rig.presentation.pendingPage(), -1);

        rig.control.presentationPrevious();
        QVERIFY(!rig.control.endReached());
        QTRY_COMPARE(rig.presentation.livePage(), 1);
        rig.control.presentationNext();
        QTRY_COMPARE(rig.presentation.livePage(), 2);
        rig.control.presentationNext();
        QCOMPARE(rig.status.size(), 2);
        QCOMPARE(pauses, 2);

        // Opening a document forgets the end.
        QVERIFY(rig.load(TestEnvironment::instance().deck(1)));
        QVERIFY(!rig.control.endReached());
        rig.control.presentationNext();
        QCOMPARE(rig.status.size(), 3);
    }

    void playlistNavigation_data()
    {
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("startPage");
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<bool>("switching");
        QTest::addColumn<QString>("expected");
        QTest::newRow("next on an inner page steps") << true << 1 << true << false << "page 2";
        QTest::newRow("next on the last page switches file") << true << 2 << true << false << "next file";
        QTest::newRow("previous on the first page switches file") << false << 0 << true << false << "previous file";
        QTest::newRow("previous on the first page of the first file stays") << false << 0 << false << false << "page 0";
        QTest::newRow("previous on an inner page steps") << false << 2 << true << false << "page 1";
        QTest::newRow("ignored during a file switch") << true << 1 << true << true << "page 1";
    }

    void playlistNavigation()
    {
        QFETCH(bool, forward);
        QFETCH(int, startPage);
        QFETCH(bool, otherFile);
        QFETCH(bool, switching);
        QFETCH(QString, expected);
        Rig rig;
        QString switched;
        OutputControl::Hooks hooks;
        hooks.fileSwitchInProgress = [&] { return switching; };
        hooks.hasNextFile = [&] { return otherFile; };
        hooks.hasPreviousFile = [&] { return otherFile; };
        hooks.switchToNextFile = [&] { switched = QStringLiteral("next file"); };
        hooks.switchToPreviousFile = [&] { switched = QStringLiteral("previous file"); };
        rig.control.setHooks(hooks);
        QVERIFY(rig.load(TestEnvironment::instance().deck(3)));
        QVERIFY(rig.showPage(startPage));
        if (forward)
            rig.control.presentationNext();
        else
            rig.control.presentationPrevious();
        if (switched.isEmpty()) {
            QVERIFY(rig.status.isEmpty());
            QTRY_COMPARE(QStringLiteral("page %1").arg(rig.presentation.livePage()), expected);
        } else {
            QCOMPARE(switched, expected);
            QCOMPARE(rig.presentation.pendingPage(), -1);
        }
    }

};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestOutputControl, R"([
    {"name":"A","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
    {"name":"B","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_outputcontrol.moc"
