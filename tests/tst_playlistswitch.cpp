#include "modal.h"
#include "playlisttest.h"
#include "testenv.h"
#include "windowtest.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"

#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

using namespace PlaylistTest;
using namespace WindowTest;

namespace {

// Double-clicks a row of the panel's list, left of the chip.
void activateRow(MainWindow &window, int row)
{
    const QRect rect = list(window)->visualItemRect(list(window)->item(row));
    const QPoint point(rect.left() + 12, rect.center().y());
    // A widget double click from QTest is the second press only; the first click comes before.
    QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list(window)->viewport(), Qt::LeftButton, {}, point);
}

// The playlist `docs`, shown in an expanded panel, with the file of `row` live at `page`.
bool startShow(MainWindow &window, const QStringList &docs, int row, int page)
{
    window.playlistControl()->addFiles(docs);
    window.playlistPanel()->setCollapsed(false, false);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    activateRow(window, row);
    if (!waitForDocument(window, docs.at(row)))
        return false;
    window.presentation()->goToPage(page);
    return QTest::qWaitFor([&] { return window.presentation()->livePage() == page; }, 10000);
}

void next(MainWindow &window)
{
    click(window, QStringLiteral("nextButton"));
}

void previous(MainWindow &window)
{
    click(window, QStringLiteral("previousButton"));
}

PageCanvas *liveCanvas(MainWindow &window)
{
    return window.findChild<PageCanvas *>(QStringLiteral("liveCanvas"));
}

} // namespace

// Next and Previous across the files of a playlist, and undoing the change of document.
class PlaylistSwitchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useProductSettings(); }

    void previousOnTheFirstPageOfTheFirstFileStays()
    {
        MainWindow window;
        QVERIFY(startShow(window, documents(QStringLiteral("first"), 2), 0, 0));
        previous(window);
        QCOMPARE(window.presentation()->currentPage(), 0);
        QVERIFY(!window.showModel()->switching());
    }

    void filesChangeInBothDirectionsWithTheirTransition()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("walk"), 3);
        QVERIFY(startShow(window, docs, 2, 0));
        previous(window);
        QVERIFY(window.showModel()->switching());
        QVERIFY(waitForDocument(window, docs.at(1)));
        QCOMPARE(window.presentation()->livePage(), 2);
        QCOMPARE(liveCanvas(window)->direction(), -1);
        QCOMPARE(window.playlist()->currentIndex(), 1);

        next(window);
        QVERIFY(waitForDocument(window, docs.at(2)));
        QCOMPARE(window.presentation()->livePage(), 0);
        QCOMPARE(liveCanvas(window)->direction(), 1);
        // Past the last page of the last file the show ends there.
        window.presentation()->goToPage(3);
        QTRY_COMPARE(window.presentation()->livePage(), 3);
        next(window);
        QVERIFY(window.showModel()->endReached());
        QCOMPARE(window.pdfService()->filePath(), docs.at(2));
    }

    void aFileCountdownStartsWithItsFile()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("timed"), 3);
        window.countdown()->setTimerSeconds(420);
        QVERIFY(startShow(window, docs, 0, 1));
        window.playlistControl()->setFileMinutes(docs.at(1), 15);
        next(window);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QCOMPARE(window.countdown()->durationSeconds(), 900);
        QVERIFY(window.countdown()->isRunning());
        QCOMPARE(QSettings().value(QStringLiteral("timer/seconds")).toInt(), 420);

        // A file without a countdown leaves the running timer alone.
        window.presentation()->goToPage(2);
        QTRY_COMPARE(window.presentation()->livePage(), 2);
        next(window);
        QVERIFY(waitForDocument(window, docs.at(2)));
        QCOMPARE(window.countdown()->durationSeconds(), 900);
        QVERIFY(window.countdown()->isRunning());
    }

    void aFileThatCannotBeShownIsPassedOnTheNextClick_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("previousGone");
        QTest::newRow("missing file: the show stays") << false << false;
        QTest::newRow("damaged file: the show comes back") << true << false;
        QTest::newRow("damaged file, nothing to come back to: blank") << true << true;
    }

    void aFileThatCannotBeShownIsPassedOnTheNextClick()
    {
        QFETCH(bool, damaged);
        QFETCH(bool, previousGone);
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("skip"), 3);
        QVERIFY(startShow(window, docs, 0, 1));
        if (damaged)
            copyOf(TestEnvironment::instance().damagedDocument(), QStringLiteral("skip-2.pdf"));
        else
            QFile::remove(docs.at(1));
        if (previousGone)
            QFile::remove(docs.at(0));
        const QImage frame = liveCanvas(window)->image();
        auto modal = closeNextModal();
        QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
        next(window);
        QTRY_VERIFY(!window.showModel()->switching());
        if (previousGone) {
            // The audience and the operator see the same: nothing.
            QCOMPARE(window.pdfService()->pageCount(), 0);
            QVERIFY(window.outputWindow()->image().isNull());
            QVERIFY(liveCanvas(window)->image().isNull());
            QVERIFY(window.findChild<QLabel *>(QStringLiteral("liveLabel"))->text().endsWith(QLatin1String("0 / 0")));
        } else {
            QVERIFY(waitForDocument(window, docs.at(0)));
            QCOMPARE(window.presentation()->livePage(), 1);
            QCOMPARE(liveCanvas(window)->image(), frame);
            QCOMPARE(window.playlist()->currentIndex(), 0);
        }
        QCOMPARE(window.playlist()->files(), docs);
        // Once, and still to be read after the previous file is back.
        const auto notices = std::count_if(messages.cbegin(), messages.cend(), [](const QVariantList &message) {
            return message.constFirst().toString().contains(QLatin1String("skip-2.pdf"));
        });
        QCOMPARE(notices, 1);
        QVERIFY(window.statusBar()->currentMessage().contains(QLatin1String("skip-2.pdf")));

        // The clicker goes on past it, both ways.
        next(window);
        QVERIFY(waitForDocument(window, docs.at(2)));
        QCOMPARE(window.presentation()->livePage(), 0);
        if (!previousGone) {
            previous(window);
            QVERIFY(waitForDocument(window, docs.at(0)));
            QCOMPARE(window.presentation()->livePage(), 1);
        }
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }

    void anEncryptedEntryKeepsTheBlackedOutFrame()
    {
        MainWindow window;
        const QStringList docs = {documents(QStringLiteral("locked"), 1).constFirst(),
                                  copyOf(TestEnvironment::instance().encryptedDocument(), QStringLiteral("locked-2.pdf"))};
        QVERIFY(startShow(window, docs, 0, 1));
        click(window, QStringLiteral("outputHeaderButton"));
        QTRY_VERIFY(window.outputWindow()->isVisible());
        click(window, QStringLiteral("blackoutButton"));
        QSignalSpy frames(window.presentation(), &Presentation::frameReady);
        auto password = answerInputDialog([](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setTextValue(QStringLiteral("secret"));
            dialog->accept();
        });
        next(window);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QVERIFY(password->answered);
        QVERIFY(!frames.isEmpty());
        for (const QVariantList &frame : std::as_const(frames))
            QVERIFY(!frame.constFirst().value<QImage>().isNull());
        QVERIFY(window.showModel()->blackout());
        QVERIFY(window.outputWindow()->blackout());
    }

    void closingOrOpeningDuringASwitchEndsIt_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("close: Back reopens the closed file") << true;
        QTest::newRow("open another document") << false;
    }

    void closingOrOpeningDuringASwitchEndsIt()
    {
        QFETCH(bool, close);
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("abandon"), 3);
        QVERIFY(startShow(window, docs, 1, 0));
        // Asks for the last page of the first file.
        previous(window);
        QVERIFY(window.showModel()->switching());
        const int steps = window.undoHistory()->size();
        click(window, QStringLiteral("playlistBack")); // waits for the switch
        QCOMPARE(window.undoHistory()->size(), steps);
        QString shown = docs.at(2);
        if (close) {
            menuAction(window, QStringLiteral("Close document"))->trigger();
            QVERIFY(!window.showModel()->switching());
            QTRY_COMPARE(window.pdfService()->pageCount(), 0);
            QVERIFY(window.statusBar()->currentMessage() != QStringLiteral("Loading PDF..."));
            click(window, QStringLiteral("playlistBack"));
            shown = docs.at(0);
        } else {
            window.openPath(shown);
            QVERIFY(!window.showModel()->switching());
        }
        QVERIFY(waitForDocument(window, shown));
        // Its own stored position, not the page the abandoned switch asked for.
        QCOMPARE(window.presentation()->livePage(), 0);
        QCOMPARE(window.reader()->currentPage(), 0);
    }

    void undoingOpenReturnsThroughThePlaylist()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("back"), 2);
        QVERIFY(startShow(window, docs, 0, 0));
        activateRow(window, 1);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QCOMPARE(window.undoHistory()->steps().constLast().label, QStringLiteral("Open back-2.pdf"));

        click(window, QStringLiteral("playlistBack"));
        QVERIFY(waitForDocument(window, docs.at(0)));
        QCOMPARE(liveCanvas(window)->direction(), -1);
        QCOMPARE(window.undoHistory()->size(), 2); // "Add 2 files" and "Open back-1.pdf"

        activateRow(window, 1);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QFile::remove(docs.at(0));
        auto missing = answerMessageBox(QMessageBox::Ok);
        click(window, QStringLiteral("playlistBack"));
        QTRY_VERIFY(missing->answered);
        QCOMPARE(window.pdfService()->filePath(), docs.at(1));
    }

    void undoingCloseReopensAndUndoingTheFirstOpenCloses()
    {
        MainWindow window;
        window.show();
        const QString doc = documents(QStringLiteral("close"), 1).constFirst();
        QVERIFY(openAndWait(window, doc));
        menuAction(window, QStringLiteral("Close document"))->trigger();
        QCOMPARE(window.undoHistory()->steps().constLast().label, QStringLiteral("Close close-1.pdf"));
        QTRY_COMPARE(window.pdfService()->pageCount(), 0);

        click(window, QStringLiteral("playlistBack"));
        QVERIFY(waitForDocument(window, doc));
        QCOMPARE(window.undoHistory()->size(), 1);
        click(window, QStringLiteral("playlistBack"));
        QTRY_COMPARE(window.pdfService()->pageCount(), 0);
        QVERIFY(window.undoHistory()->isEmpty());
    }
};

OLVANTI_TEST_MAIN(PlaylistSwitchTest)
#include "tst_playlistswitch.moc"
