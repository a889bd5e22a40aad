#include "modal.h"
#include "playlisttest.h"
#include "testenv.h"
#include "windowtest.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "presentation/outputcontrol.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"

#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

using namespace PlaylistTest;
using namespace WindowTest;

namespace {

const QString EndNotice = QStringLiteral("End of presentation. Press Previous to go back.");

// Double-clicks a row of the panel's list, left of the chip.
void activateRow(MainWindow &window, int row)
{
    auto *list = window.findChild<QListWidget *>(QStringLiteral("playlistList"));
    const QRect rect = list->visualItemRect(list->item(row));
    const QPoint point(rect.left() + 12, rect.center().y());
    // A widget double click from QTest is the second press only; the first click comes before.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
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

    void theEndIsAnnouncedOnce_data()
    {
        QTest::addColumn<int>("files");
        QTest::newRow("one file") << 1;
        QTest::newRow("last of three files") << 3;
    }

    void theEndIsAnnouncedOnce()
    {
        QFETCH(int, files);
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("end"), files);
        const int last = files; // document n has n + 1 pages
        QVERIFY(startShow(window, docs, files - 1, last));
        QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
        next(window);
        next(window);
        QCOMPARE(messages.count(QVariantList{EndNotice}), 1);
        QVERIFY(window.outputControl()->endReached());
        QCOMPARE(window.pdfService()->filePath(), docs.constLast());

        previous(window);
        QTRY_COMPARE(window.presentation()->livePage(), last - 1);
        QVERIFY(!window.outputControl()->endReached());
        if (files == 1) {
            // Previous on the first page of the only file stays there.
            window.presentation()->goToPage(0);
            QTRY_COMPARE(window.presentation()->livePage(), 0);
            previous(window);
            QCOMPARE(window.presentation()->currentPage(), 0);
            QVERIFY(!window.playlistControl()->fileSwitchInProgress());
        }
    }

    void filesChangeInBothDirectionsWithTheirTransition()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("walk"), 3);
        QVERIFY(startShow(window, docs, 2, 0));
        previous(window);
        QVERIFY(window.playlistControl()->fileSwitchInProgress());
        QVERIFY(waitForDocument(window, docs.at(1)));
        QCOMPARE(window.presentation()->livePage(), 2);
        QCOMPARE(liveCanvas(window)->direction(), -1);
        QCOMPARE(window.playlist()->currentIndex(), 1);

        next(window);
        QVERIFY(waitForDocument(window, docs.at(2)));
        QCOMPARE(window.presentation()->livePage(), 0);
        QCOMPARE(liveCanvas(window)->direction(), 1);
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

    void aMissingEntryKeepsTheShowOnTheCurrentFile()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("gone"), 2);
        QVERIFY(startShow(window, docs, 0, 1));
        QFile::remove(docs.at(1));
        const QImage frame = liveCanvas(window)->image();
        auto warning = answerMessageBox(QMessageBox::Ok);
        next(window);
        QTRY_VERIFY(warning->answered);
        QCOMPARE(warning->title, QStringLiteral("Missing document"));
        QCOMPARE(warning->text, QStringLiteral("The playlist file is missing:\n%1\nThe presentation stays on the "
                                               "current file.").arg(docs.at(1)));
        QVERIFY(!window.playlistControl()->fileSwitchInProgress());
        QCOMPARE(window.pdfService()->filePath(), docs.at(0));
        QCOMPARE(liveCanvas(window)->image(), frame);
        QCOMPARE(window.playlist()->files(), docs);
    }

    void aFileThatFailsBringsBackThePreviousOne()
    {
        MainWindow window;
        const QStringList docs = {documents(QStringLiteral("fails"), 1).constFirst(),
                                  copyOf(TestEnvironment::instance().damagedDocument(), QStringLiteral("fails-2.pdf"))};
        QVERIFY(startShow(window, docs, 0, 1));
        auto error = answerMessageBox(QMessageBox::Ok);
        next(window);
        QTRY_VERIFY(error->answered);
        QCOMPARE(error->title, QStringLiteral("Cannot open PDF"));
        QVERIFY(waitForDocument(window, docs.at(0)));
        QCOMPARE(window.presentation()->livePage(), 1);
        QCOMPARE(window.playlist()->currentIndex(), 0);
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
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Document loaded. Clicker input works while either application window is active."));
        QCOMPARE(window.undoHistory()->size(), 2); // "Add 2 files" and "Open back-1.pdf"

        activateRow(window, 1);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QFile::remove(docs.at(0));
        auto missing = answerMessageBox(QMessageBox::Ok);
        click(window, QStringLiteral("playlistBack"));
        QTRY_VERIFY(missing->answered);
        QCOMPARE(missing->text, QStringLiteral("The document no longer exists. Use Open to select another file."));
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
        QCOMPARE(window.windowTitle(), QStringLiteral("OlvantiVIVuderidazi"));
    }

    void backWaitsWhileASwitchLoads()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("busy"), 2);
        QVERIFY(startShow(window, docs, 0, 1));
        const int steps = window.undoHistory()->size();
        next(window);
        QVERIFY(window.playlistControl()->fileSwitchInProgress());
        click(window, QStringLiteral("playlistBack"));
        QCOMPARE(window.undoHistory()->size(), steps);
        QVERIFY(waitForDocument(window, docs.at(1)));
        QCOMPARE(window.undoHistory()->size(), steps);
    }
};

OLVANTI_TEST_MAIN(PlaylistSwitchTest)
#include "tst_playlistswitch.moc"
