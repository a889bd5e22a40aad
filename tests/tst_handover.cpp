#include "modal.h"
#include "testenv.h"
#include "windowtest.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "presentation/outputwindow.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

using namespace Qt::StringLiterals;
using namespace WindowTest;

// Documents a later start hands to the running window, during a show and outside one.
class HandOverTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useProductSettings(); }

    void aShowKeepsWhatTheAudienceSees_data()
    {
        QTest::addColumn<int>("output");     // the display it is on: 0 the operator's, 1 the projector; -1 off
        QTest::addColumn<bool>("countdown"); // running
        QTest::addColumn<QString>("answer"); // the operator's button in the notice; empty: opened at once
        QTest::addColumn<bool>("raised");    // the operator's window comes in front of the output

        QTest::newRow("output on the projector, then Open now") << 1 << false << u"handOverOpen"_s << true;
        QTest::newRow("output on the operator's own screen, then Add to playlist") << 0 << false << u"handOverAdd"_s << false;
        QTest::newRow("countdown running, then Dismiss") << -1 << true << u"handOverDismiss"_s << true;
        QTest::newRow("no show: opened at once") << -1 << false << QString() << true;
    }

    void aShowKeepsWhatTheAudienceSees()
    {
        QFETCH(int, output);
        QFETCH(bool, countdown);
        QFETCH(QString, answer);
        QFETCH(bool, raised);
        MainWindow window;
        window.show();
        const QString live = TestEnvironment::instance().deck(3);
        QVERIFY(openAndWait(window, live));
        QWindow *audience = window.outputWindow()->windowHandle();
        if (output >= 0) {
            auto *choice = child<QComboBox>(window, "displayChoice");
            choice->setCurrentIndex(output);
            Q_EMIT choice->activated(output);
            child<QPushButton>(window, "outputHeaderButton")->click();
            QTRY_VERIFY(!window.outputWindow()->image().isNull());
            audience = window.outputWindow()->windowHandle();
            audience->requestActivate();
            QTRY_COMPARE(QGuiApplication::focusWindow(), audience);
        }
        if (countdown)
            window.countdown()->toggleTimer();
        const bool running = window.countdown()->isRunning();
        const QImage frame = window.outputWindow()->image();
        auto modal = closeNextModal();

        const QString handed = TestEnvironment::instance().textDocument(2);
        window.receiveHandOver({handed, TestEnvironment::instance().path(u"missing.pdf"_s)});
        QWindowSystemInterface::flushWindowSystemEvents();
        if (output >= 0)
            QCOMPARE(QGuiApplication::focusWindow() != audience, raised);
        auto *notice = child<QWidget>(window, "handOverNotice");
        if (!answer.isEmpty()) {
            QCOMPARE(window.pdfService()->filePath(), live);
            QCOMPARE(window.outputWindow()->image(), frame);
            QCOMPARE(window.countdown()->isRunning(), running);
            QVERIFY(notice->isVisible());
            QVERIFY2(!modal->answered, qPrintable(modal->text));
            child<QPushButton>(window, answer.toLatin1().constData())->click();
            QVERIFY(!notice->isVisible());
        }
        const bool opened = answer.isEmpty() || answer == u"handOverOpen"_s;
        QTRY_COMPARE(window.pdfService()->filePath(), opened ? handed : live);
        QCOMPARE(window.playlist()->files(), answer == u"handOverDismiss"_s ? QStringList() : QStringList{handed});
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(HandOverTest,
                               R"([{"name":"Laptop","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
                                   {"name":"Projector","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_handover.moc"
