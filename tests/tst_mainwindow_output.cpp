#include "modal.h"
#include "screens.h"
#include "windowtest.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"
#include "ui/playlistcontrol.h"
#include "ui/setupdialog.h"
#include "base/appsettings.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QComboBox>
#include <QSettings>
#include <QStatusBar>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

using namespace WindowTest;

namespace {

const QJsonObject Laptop = TestScreens::screen(QStringLiteral("Laptop"), 0, 1280, 800);
const QJsonObject Projector = TestScreens::screen(QStringLiteral("Projector"), 1280, 1920, 1080);

// Opens `path` and switches the output on, on the projector.
bool showOnProjector(MainWindow &window, const QString &path)
{
    window.show();
    if (!openAndWait(window, path))
        return false;
    child<QPushButton>(window, "outputHeaderButton")->click();
    return QTest::qWaitFor([&] { return !window.outputWindow()->image().isNull(); }, 10000);
}

} // namespace

// The output on a second display, as an operator with a laptop and a projector drives it.
class MainWindowOutputTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        useProductSettings();
        QVERIFY(TestScreens::apply({Laptop, Projector}));
    }

    void anUnrenderablePageDoesNotTrapTheClicker()
    {
        MainWindow window;
        QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
        QVERIFY(showOnProjector(window, TestEnvironment::instance().brokenPageDocument()));
        auto modal = closeNextModal();
        const QImage first = window.outputWindow()->image();
        window.handleAction(Action::NextSlide);
        QTRY_COMPARE(window.presentation()->pendingPage(), -1);
        QCOMPARE(window.presentation()->livePage(), 0);
        QCOMPARE(window.outputWindow()->image(), first);

        window.handleAction(Action::NextSlide);
        QTRY_COMPARE(window.presentation()->livePage(), 2);
        // The NEXT view, the preload and the output all failed on it: one message.
        QCOMPARE(messages.count(QVariantList{QStringLiteral("Invalid render dimensions.")}), 1);
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }

    // The setup dialog is made only when first opened; until then the window tells a missing
    // preferred display itself, and the output goes where the dialog would have chosen.
    void aMissingPreferredDisplayIsToldWithoutTheSetupDialog()
    {
        QSettings store;
        AppSettings(store).setOutputDisplay(QStringLiteral("Gone|||"));
        MainWindow window;
        QCOMPARE(window.statusBar()->currentMessage(), SetupDialog::missingDisplayNotice());
        QVERIFY(!window.findChild<SetupDialog *>());
        QVERIFY(showOnProjector(window, TestEnvironment::instance().deck(2)));
        QCOMPARE(window.outputWindow()->screen()->name(), QStringLiteral("Projector"));
        window.statusBar()->clearMessage();
        QVERIFY(TestScreens::apply({Laptop}));
        QTRY_COMPARE(window.statusBar()->currentMessage(), SetupDialog::missingDisplayNotice());
        QCOMPARE(window.setupDialog()->displayChoice()->currentText(), QStringLiteral("Laptop (1280 x 800, 1x)"));
    }

    void aHandOverWaitsDuringAShow_data()
    {
        QTest::addColumn<int>("output");     // 1 on the projector; 0 full screen on the operator's own; -1 off
        QTest::addColumn<QString>("answer"); // the operator's button in the notice; empty: opened at once
        QTest::newRow("output on the projector, then Open now") << 1 << QStringLiteral("handOverOpen");
        QTest::newRow("full screen on the operator's own screen, then Add to playlist") << 0 << QStringLiteral("handOverAdd");
        QTest::newRow("countdown running, then Dismiss") << -1 << QStringLiteral("handOverDismiss");
        QTest::newRow("no show: opened at once") << -1 << QString();
    }

    void aHandOverWaitsDuringAShow()
    {
        QFETCH(int, output);
        QFETCH(QString, answer);
        MainWindow window;
        window.show();
        const QString live = TestEnvironment::instance().deck(3);
        QVERIFY(openAndWait(window, live));
        auto *fullscreen = child<QPushButton>(window, "fullscreenButton");
        if (output == 0) {
            child<QPushButton>(window, "modeReader")->click();
            fullscreen->click();
            QCOMPARE(window.outputWindow()->screen(), window.screen());
            QCOMPARE(fullscreen->text(), QStringLiteral("EXIT FULLSCREEN"));
        } else if (output == 1) {
            child<QPushButton>(window, "outputHeaderButton")->click();
        }
        if (output >= 0) {
            window.outputWindow()->windowHandle()->requestActivate();
            QTRY_COMPARE(QGuiApplication::focusWindow(), window.outputWindow()->windowHandle());
        } else if (!answer.isEmpty()) {
            window.countdown()->toggleTimer();
        }
        const bool counting = window.countdown()->isRunning();
        const QImage frame = window.outputWindow()->image();
        auto modal = closeNextModal();

        const QString handed = TestEnvironment::instance().textDocument(2);
        window.receiveHandOver({handed, TestEnvironment::instance().path(QStringLiteral("missing.pdf"))});
        QWindowSystemInterface::flushWindowSystemEvents();
        // Raised over the output on its own screen, the operator's window is what the audience would see.
        if (output >= 0)
            QCOMPARE(QGuiApplication::focusWindow() == window.windowHandle(), output == 1);
        if (!answer.isEmpty()) {
            QCOMPARE(window.pdfService()->filePath(), live);
            QCOMPARE(window.outputWindow()->image(), frame);
            QCOMPARE(window.countdown()->isRunning(), counting);
            QVERIFY(child<QWidget>(window, "handOverNotice")->isVisible());
            child<QPushButton>(window, answer.toLatin1().constData())->click();
        }
        const bool opened = answer.isEmpty() || answer == QStringLiteral("handOverOpen");
        QTRY_COMPARE(window.pdfService()->filePath(), opened ? handed : live);
        QCOMPARE(window.playlist()->files(), answer == QStringLiteral("handOverDismiss") ? QStringList() : QStringList{handed});
        // Leaving full screen does not ask.
        if (output == 0) {
            fullscreen->click();
            QVERIFY(!window.outputWindow()->isVisible());
        }
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }

    // A crossing into a file that asks for a password keeps the blacked-out frame through the
    // prompt: the audience never sees an empty output.
    void anEncryptedEntryKeepsTheBlackedOutFrame()
    {
        MainWindow window;
        const QString locked = copyOf(TestEnvironment::instance().encryptedDocument(), QStringLiteral("locked.pdf"));
        QVERIFY(showOnProjector(window, TestEnvironment::instance().textDocument(1)));
        window.playlistControl()->addFiles({window.pdfService()->filePath(), locked});
        child<QPushButton>(window, "blackoutButton")->click();
        QSignalSpy frames(window.presentation(), &Presentation::frameReady);
        auto password = answerInputDialog([](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setTextValue(QStringLiteral("secret"));
            dialog->accept();
        });
        child<QPushButton>(window, "nextButton")->click();
        QTRY_COMPARE(window.pdfService()->filePath(), locked);
        QTRY_VERIFY(!frames.isEmpty());
        QVERIFY(password->answered);
        for (const QVariantList &frame : std::as_const(frames))
            QVERIFY(!frame.constFirst().value<QImage>().isNull());
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(MainWindowOutputTest,
                               R"([{"name":"Laptop","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
                                   {"name":"Projector","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_mainwindow_output.moc"
