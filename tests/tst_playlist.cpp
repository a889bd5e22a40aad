#include "fulldisk.h"
#include "playlistsupport.h"
#include "playlisttest.h"
#include "testenv.h"
#include "windowtest.h"

#include "base/settingsguard.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "playlist/undohistory.h"
#include "show/show.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"
#include "ui/playlistload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <functional>

using namespace PlaylistTest;
using namespace WindowTest;

namespace {

// Counts the turns of the window's event loop while it lives.
struct PauseWatch
{
    explicit PauseWatch(std::function<void()> also = {})
    {
        QObject::connect(&tick, &QTimer::timeout, [this, also] {
            ++ticks;
            if (also)
                also();
        });
        took.start();
        tick.start(5);
    }
    int ticks = 0;
    QElapsedTimer took;
    QTimer tick;
};

QStringList storedFiles()
{
    return QSettings().value(QStringLiteral("playlist/files")).toStringList();
}

// Clicks the button and waits until `answer` has handled the dialog it brings.
bool clickAnswered(MainWindow &window, const QString &button, const std::shared_ptr<ModalAnswer> &answer)
{
    click(window, button);
    return QTest::qWaitFor([&] { return answer->answered; }, 5000);
}

// Triggers the menu command and waits until `answer` has handled the dialog it brings.
bool triggerAnswered(MainWindow &window, const QString &command, const std::shared_ptr<ModalAnswer> &answer)
{
    menuAction(window, command)->trigger();
    return QTest::qWaitFor([&] { return answer->answered; }, 5000);
}

} // namespace

// Editing the playlist from the panel and the menus, its files and packages, and Back.
class PlaylistTestCase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useProductSettings(); }

    void addPdfsRecordsOnlyNewFilesAndOpensTheFirst()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("add"), 3);
        QVERIFY(clickAnswered(window, QStringLiteral("playlistAdd"), answerFileDialog(docs.mid(0, 2))));
        QTRY_COMPARE(window.pdfService()->filePath(), docs.at(0));
        QCOMPARE(storedFiles(), docs.mid(0, 2));
        QCOMPARE(window.undoHistory()->steps().at(0).label, QStringLiteral("Add 2 files"));

        // A file already listed records nothing; with a document open nothing else opens.
        QVERIFY(clickAnswered(window, QStringLiteral("playlistAdd"), answerFileDialog({docs.at(1)})));
        QCOMPARE(window.undoHistory()->size(), 2);
        QVERIFY(clickAnswered(window, QStringLiteral("playlistAdd"), answerFileDialog({docs.at(2)})));
        QCOMPARE(window.undoHistory()->steps().constLast().label, QStringLiteral("Add add-3.pdf"));
        QCOMPARE(storedFiles(), docs);
        QCOMPARE(window.pdfService()->filePath(), docs.at(0));
    }

    void removeAsksAndSelectsTheRowInItsPlace_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("middle row: the next file moves up") << 3 << 1 << 1;
        QTest::newRow("last row: the new last row") << 3 << 2 << 1;
        QTest::newRow("only row: no selection") << 1 << 0 << -1;
    }

    // Back then brings the file back in its place, with its countdown. Names that look like
    // markup show as they are.
    void removeAsksAndSelectsTheRowInItsPlace()
    {
        QFETCH(int, files);
        QFETCH(int, row);
        QFETCH(int, selectedAfter);
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("<h1>remove"), files);
        window.playlistControl()->addFiles(docs);
        window.playlistControl()->setFileMinutes(docs.at(row), 7);
        setCurrentRow(window, row);
        auto no = watchModal([](QWidget *modal, ModalAnswer &answer) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            for (const QLabel *label : box->findChildren<QLabel *>())
                answer.title += label->text() == box->text() && label->textFormat() == Qt::PlainText ? u"plain"_qs : QString();
            answer.text = box->text();
            answer.defaultButton = box->standardButton(box->defaultButton());
            return box->button(QMessageBox::No)->click(), true;
        });
        QVERIFY(clickAnswered(window, QStringLiteral("playlistRemove"), no));
        QCOMPARE(no->text, QStringLiteral("Remove \"<h1>remove-%1.pdf\" from the playlist?").arg(row + 1));
        QCOMPARE(no->title, QStringLiteral("plain"));
        QCOMPARE(no->defaultButton, QMessageBox::No);
        QCOMPARE(window.playlist()->count(), files);

        QVERIFY(clickAnswered(window, QStringLiteral("playlistRemove"), answerMessageBox(QMessageBox::Yes)));
        QStringList expected = docs;
        expected.removeAt(row);
        QCOMPARE(storedFiles(), expected);
        QVERIFY(!QSettings().value(QStringLiteral("playlist/times")).toMap().contains(docs.at(row)));
        QCOMPARE(currentRow(window), selectedAfter);

        auto *back = window.findChild<QPushButton *>(QStringLiteral("playlistBack"));
        QCOMPARE(back->toolTip(), QStringLiteral("Back: undo \"Remove <h1>remove-%1.pdf\" (3 steps)").arg(row + 1));
        back->click();
        QCOMPARE(storedFiles(), docs);
        QCOMPARE(QSettings().value(QStringLiteral("playlist/times")).toMap().value(docs.at(row)).toInt(), 7);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Undone: Remove <h1>remove-%1.pdf").arg(row + 1));
        QCOMPARE(window.undoHistory()->size(), 2);
    }

    void moveKeepsTheFileSelectedAndClearAsksFirst()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("move"), 3);
        window.playlistControl()->addFiles(docs);
        setCurrentRow(window, 0);
        click(window, QStringLiteral("playlistUp")); // nothing above the first row
        click(window, QStringLiteral("playlistDown"));
        QCOMPARE(window.undoHistory()->size(), 2);
        QCOMPARE(storedFiles(), QStringList({docs.at(1), docs.at(0), docs.at(2)}));
        QCOMPARE(currentRow(window), 1);

        auto clear = answerMessageBox(QMessageBox::Yes);
        QVERIFY(clickAnswered(window, QStringLiteral("playlistClear"), clear));
        QCOMPARE(clear->text, QStringLiteral("Remove all 3 file(s) from the playlist?"));
        QCOMPARE(clear->defaultButton, QMessageBox::No);
        QVERIFY(storedFiles().isEmpty());
        click(window, QStringLiteral("playlistClear")); // empty: not asked, nothing recorded
        QCOMPARE(window.undoHistory()->size(), 3);
    }

    // Minutes are limited, an unchanged value records nothing, and of 31 changes the newest
    // 30 are kept.
    void fileMinutesAreLimitedAndThirtyStepsKept()
    {
        MainWindow window;
        const QString doc = documents(QStringLiteral("steps"), 1).constFirst();
        window.playlistControl()->addFiles({doc});
        const auto stored = [&doc] { return QSettings().value(QStringLiteral("playlist/times")).toMap().value(doc, 0).toInt(); };
        window.playlistControl()->setFileMinutes(doc, 601);
        window.playlistControl()->setFileMinutes(doc, 601);
        QCOMPARE(stored(), 600);
        window.playlistControl()->setFileMinutes(doc, 0);
        window.playlistControl()->setFileMinutes(doc, 0);
        QCOMPARE(stored(), 0);
        QCOMPARE(window.undoHistory()->size(), 3);
        for (int minutes = 1; minutes <= 28; ++minutes)
            window.playlistControl()->setFileMinutes(doc, minutes);
        QCOMPARE(window.undoHistory()->size(), 30);
        for (int i = 0; i < 30; ++i)
            click(window, QStringLiteral("playlistBack"));
        // The oldest step ("Add") fell out; the state after it stays.
        QCOMPARE(window.playlist()->files(), QStringList{doc});
        QCOMPARE(window.playlist()->minutesFor(doc), 0);
        auto *back = window.findChild<QPushButton *>(QStringLiteral("playlistBack"));
        QVERIFY(!back->isEnabled());
        QCOMPARE(back->toolTip(), QStringLiteral("Back (nothing to undo)"));
    }

    void aBurstOfTimeKeysIsOneStep()
    {
        MainWindow window;
        qint64 now = 0;
        window.undoHistory()->setClock([&now] { return now; });
        const int before = window.countdown()->durationSeconds();
        for (int i = 0; i < 5; ++i, now += 400)
            window.handleAction(Action::TimerPlusMinute);
        QCOMPARE(window.countdown()->durationSeconds(), before + 300);
        QCOMPARE(window.undoHistory()->size(), 1);
        click(window, QStringLiteral("playlistBack"));
        QCOMPARE(window.countdown()->durationSeconds(), before);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Undone: Presentation time"));
        QVERIFY(window.undoHistory()->isEmpty()); // undoing recorded nothing
    }

    void playlistFileRoundTripThroughTheMenus()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("saved"), 2);
        window.playlistControl()->addFiles(docs);
        window.playlistControl()->setFileMinutes(docs.at(1), 12);
        const QString target = TestEnvironment::instance().path(QStringLiteral("show"));
        const QString written = target + QStringLiteral(".oplaylist");
        QFile::remove(written);

        QVERIFY(triggerAnswered(window, QStringLiteral("Save playlist..."), answerFileDialog({target})));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Playlist saved: %1").arg(written));
        QCOMPARE(QSettings().value(QStringLiteral("playlist/dir")).toString(), QFileInfo(written).absolutePath());

        QVERIFY(clickAnswered(window, QStringLiteral("playlistClear"), answerMessageBox(QMessageBox::Yes)));
        // Into an empty playlist: replace without asking, and the first file opens.
        QVERIFY(triggerAnswered(window, QStringLiteral("Open playlist..."), answerFileDialog({written})));
        QTRY_COMPARE(window.playlist()->files(), docs);
        QCOMPARE(window.playlist()->minutesFor(docs.at(1)), 12);
        QTRY_COMPARE(window.pdfService()->filePath(), docs.at(0));

        // A playlist file without files changes nothing.
        const int steps = window.undoHistory()->size();
        writeBytes(written, R"({"format":"OlvantiPlaylist","items":[]})");
        auto replace = answerMessageBoxButton(QStringLiteral("Replace"));
        auto box = answerMessageBox(QMessageBox::Ok);
        window.openPath(written);
        QTRY_VERIFY(box->answered);
        QCOMPARE(box->text, QStringLiteral("The playlist file contains no files."));
        QCOMPARE(window.undoHistory()->size(), steps);
        QCOMPARE(window.playlist()->files(), docs);
    }

    void packagesLeaveOutMissingFilesAndAppendOnImport()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("packed"), 3);
        window.playlistControl()->addFiles(docs);
        window.playlistControl()->setFileMinutes(docs.at(0), 9);
        QFile::remove(docs.at(2));
        const QString package = TestEnvironment::instance().path(QStringLiteral("talks.opack"));
        QFile::remove(package);

        QVERIFY(triggerAnswered(window, QStringLiteral("Export with PDFs..."), answerFileDialog({package})));
        const QString message = window.statusBar()->currentMessage();
        QVERIFY2(message.startsWith(QStringLiteral("Playlist exported: %1").arg(package)), qPrintable(message));
        QVERIFY2(message.endsWith(QLatin1String("1 missing file(s) were not exported.")), qPrintable(message));

        // Appending keeps the listed files; the unpacked copies join with their countdowns.
        auto import = answerFileDialog({package});
        QVERIFY(triggerAnswered(window, QStringLiteral("Import package..."), answerMessageBoxButton(QStringLiteral("Append"))));
        QVERIFY(import->answered);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               + QStringLiteral("/imports/talks/");
        const QStringList unpacked = {folder + QStringLiteral("01_packed-1.pdf"),
                                      folder + QStringLiteral("02_packed-2.pdf")};
        QTRY_COMPARE(window.playlist()->files(), docs + unpacked);
        QCOMPARE(window.playlist()->minutesFor(unpacked.at(0)), 9);
        QTRY_COMPARE(window.pdfService()->filePath(), unpacked.at(1)); // nothing was open: the last entry
    }

    void savingOntoAFullDiskSaysWhy_data()
    {
        QTest::addColumn<int>("disk");
        QTest::newRow("full disk") << int(FullDisk::Kind::Tmpfs);
        QTest::newRow("file size limit") << int(FullDisk::Kind::SizeLimit);
    }
    void savingOntoAFullDiskSaysWhy()
    {
        QFETCH(int, disk);
        FullDisk full(FullDisk::Kind(disk), TestEnvironment::instance().path(QString::fromLatin1(QTest::currentDataTag())));
        if (!full.unavailable().isEmpty())
            QSKIP(qPrintable(full.unavailable()));
        MainWindow window;
        window.playlistControl()->addFiles(documents(QStringLiteral("full"), 2));
        const QString target = TestEnvironment::instance().path(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral("/show.oplaylist"));
        writeBytes(target, "old");
        auto save = answerFileDialog({target});
        auto replace = answerMessageBox(QMessageBox::Yes);
        auto box = answerMessageBox(QMessageBox::Ok);
        full.fill(0);
        menuAction(window, QStringLiteral("Save playlist..."))->trigger();
        full.release();
        QVERIFY(box->answered);
        QCOMPARE(box->text, QStringLiteral("The playlist file could not be written: ") + full.cause());
        QCOMPARE(readBytes(target), QByteArray("old"));
    }

    void largeImportKeepsTheWindowResponsive()
    {
        // Ten thousand PDFs, the most a package may hold.
        QByteArrayList items(10000, R"({"name":"a.pdf","size":2000})");
        const QByteArray header = "{\"items\":[" + items.join(',') + "]}";
        QByteArray length(4, '\0');
        qToBigEndian(quint32(header.size()), length.data());
        const QString package = TestEnvironment::instance().path(QStringLiteral("many.opack"));
        writeBytes(package, "OLVANTIPACK1\n" + length + header + QByteArray(2000 * items.size(), 'p'));
        MainWindow window;
        window.show();

        window.openPath(package);
        window.findChild<QProgressDialog *>(QStringLiteral("playlistLoadProgress"))->findChild<QPushButton *>()->click();
        QTRY_COMPARE(window.statusBar()->currentMessage(), QStringLiteral("Loading was cancelled: %1").arg(package));
        QCOMPARE(window.playlist()->count(), 0);

        // The turns of the window's event loop until the import is done (the entries are
        // applied after that), and whether the progress showed.
        bool shown = false;
        PauseWatch pauses([&] {
            shown = shown || window.findChild<QProgressDialog *>(QStringLiteral("playlistLoadProgress"))->isVisible();
        });
        auto notPdf = answerMessageBox(QMessageBox::Ok); // the first entry, opened once applied
        window.openPath(package);
        QSignalSpy finished(window.playlistControl()->findChild<PlaylistLoad *>(), &PlaylistLoad::finished);
        connect(window.playlistControl()->findChild<PlaylistLoad *>(), &PlaylistLoad::finished, &pauses.tick, &QTimer::stop);
        QVERIFY(finished.wait(60000));
        // Unpacking 20 MB into ten thousand files takes far longer than a few ticks: a window
        // held by it would see none; the pause itself is a figure of olvanti-bench.
        QVERIFY2(pauses.ticks >= 3 && (shown || pauses.took.elapsed() < PlaylistLoad::DialogDelayMs + 50),
                 qPrintable(QString::number(pauses.ticks)));
        QCOMPARE(window.playlist()->count(), 10000);
        QTRY_VERIFY(notPdf->answered);
    }

    // A playlist of 95,000 files (about 15 MB) through to the show: its rows are made when
    // drawn and the settings are written by a worker, where each used to hold the window for
    // a fifth of a second or more (the pause is a figure of olvanti-bench).
    void longPlaylistKeepsTheWindowResponsive()
    {
        // A sanitizer build copies every growing buffer, which makes the full length take
        // minutes there; what it looks for shows at a shorter one.
        const int count = OLVANTI_TEST_TIME_FACTOR > 1 ? 10000 : 95000;
        QList<PlaylistEntry> entries{{documents(QStringLiteral("long"), 1).constFirst(), 5, 0}};
        for (int i = 1; i < count; ++i)
            entries.append({QStringLiteral("/talks/of/the/year/talk-%1.pdf").arg(i), i % 7, i % 3});
        const QString path = TestEnvironment::instance().path(QStringLiteral("long.oplaylist"));
        QCOMPARE(PlaylistFile::writeJsonPlaylist(path, entries), QString());
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy background(SettingsGuard::of(*window.findChild<QSettings *>()), &SettingsGuard::backgroundWritten);
        window.playlistControl()->loadPlaylistFile(path);
        QTRY_COMPARE_WITH_TIMEOUT(window.playlist()->count(), count, 60000);
        QTRY_COMPARE(window.showModel()->documentPath(), entries.constFirst().path);
        QTRY_COMPARE_WITH_TIMEOUT(background.size(), 1, 10000);
        QCOMPARE(background.constFirst().constFirst().toString(), QString());
        QCOMPARE(storedFiles().size(), count);
        const int last = count - 1;
        QCOMPARE(row(window, last).data().toString(),
                 QStringLiteral("%1. talk-%2.pdf  (missing)").arg(count).arg(last)
                     + (last % 3 > 0 ? QStringLiteral("  (ends at page %1)").arg(last % 3) : QString()));
    }
};

OLVANTI_TEST_MAIN(PlaylistTestCase)
#include "tst_playlist.moc"
