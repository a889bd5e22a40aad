#include "fulldisk.h"
#include "modal.h"
#include "playlistsupport.h"
#include "windowtest.h"

#include "base/settingsguard.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "show/show.h"
#include "timer/countdown.h"
#include "ui/playlistcontrol.h"
#include "ui/playlistload.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace PlaylistTest;
using namespace WindowTest;

namespace {

// `count` distinct text documents of 2, 3, 4, ... pages, copied under "<prefix>-<n>.pdf".
QStringList documents(const QString &prefix, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << copyOf(TestEnvironment::instance().textDocument(i + 2), u"%1-%2.pdf"_s.arg(prefix).arg(i + 1));
    return paths;
}

// Answers the next file dialog with `paths` (all in one folder) typed into its name field, as an
// operator does; names in quotes when there are several.
std::shared_ptr<ModalAnswer> answerFileDialog(const QStringList &paths)
{
    return watchModal([paths](QWidget *modal, ModalAnswer &) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        dialog->setDirectory(QFileInfo(paths.constFirst()).absolutePath());
        QStringList names;
        for (const QString &path : paths)
            names << u'"' + QFileInfo(path).fileName() + u'"';
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        name->setText(paths.size() == 1 ? QFileInfo(paths.constFirst()).fileName() : names.join(u' '));
        // The file dialog hides accept(); called through QDialog it still checks the typed name.
        static_cast<QDialog *>(dialog)->accept();
        return true;
    });
}

QListView *list(MainWindow &window) { return window.findChild<QListView *>(u"playlistList"_s); }
QModelIndex row(MainWindow &window, int at) { return list(window)->model()->index(at, 0); }

// A row's text, then its colour and weight when it has them.
QString look(MainWindow &window, int at)
{
    const QModelIndex index = row(window, at);
    const QColor colour = index.data(Qt::ForegroundRole).value<QColor>();
    return index.data().toString() + (colour.isValid() ? u' ' + colour.name() : QString())
           + (index.data(Qt::FontRole).value<QFont>().weight() == QFont::Bold ? u" bold"_s : QString());
}

// Clicks the window's button of this name, or triggers the menu command of this text, and waits
// until `answer` has handled the dialog it brings.
bool answered(MainWindow &window, const QString &command, const std::shared_ptr<ModalAnswer> &answer)
{
    if (command.startsWith(u"playlist"_s))
        window.findChild<QAbstractButton *>(command)->click();
    else
        menuAction(window, command)->trigger();
    return QTest::qWaitFor([&] { return answer->answered; }, 5000);
}

// Clicks the button of this text (ampersands ignored) in the next message box; the answer's text
// also tells whether the box showed markup or defaulted to another button than No.
std::shared_ptr<ModalAnswer> answerBox(const QString &button)
{
    return watchModal([button](QWidget *modal, ModalAnswer &answer) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return false;
        answer.text = box->text() + (box->textFormat() == Qt::PlainText ? QString() : u" (as markup)"_s)
                      + (!box->button(QMessageBox::No) || box->defaultButton() == box->button(QMessageBox::No) ? QString() : u" (not No)"_s);
        for (QAbstractButton *choice : box->buttons()) {
            if (choice->text().remove(u'&') == button)
                return choice->click(), true;
        }
        return false;
    });
}

// A point on a row: on its countdown chip at the right end, or on its text at the left.
QPoint rowPoint(MainWindow &window, int at, bool chip)
{
    const QRect rect = list(window)->visualRect(row(window, at));
    return QPoint(chip ? rect.right() - 16 : rect.left() + 12, rect.center().y());
}

// Clicks `button` in the countdown dialog and presses OK; the answer's text tells what the dialog
// showed first: whether the countdown is on, whether its minutes can be changed, the minutes and the file.
std::shared_ptr<ModalAnswer> answerCountdown(const QString &button)
{
    return watchModal([button](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog || dialog->objectName() != u"playlistTimeDialog"_s)
            return false;
        auto *minutes = dialog->findChild<QSpinBox *>(u"playlistTimeMinutes"_s);
        const bool on = dialog->findChild<QCheckBox *>(u"playlistTimeEnabled"_s)->isChecked();
        answer.text = u"%1, %2 %3 min, %4"_s.arg(on ? u"on"_s : u"off"_s, minutes->isEnabled() ? u"editable"_s : u"fixed"_s)
                          .arg(minutes->value()).arg(dialog->findChildren<QLabel *>().constFirst()->text());
        dialog->findChild<QAbstractButton *>(button)->click();
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        return true;
    });
}

bool visible(MainWindow &window, const char *name)
{
    return window.findChild<QWidget *>(QString::fromLatin1(name))->isVisible();
}

} // namespace

// The playlist panel and its rows, editing from it and from the menus, its files and packages, and Back.
class PlaylistTestCase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useProductSettings(); }

    // Each row edits a playlist of its first `files` of three documents named like markup
    // ("<h1>edit-1.pdf", ...); after each stage ("|") come the stored files by number, their
    // stored countdowns, the selected row, the Back button, then what differs from the start:
    // questions asked, the document open, the folder remembered, the status and the countdown.
    void editsAreStoredAndBackUndoesThem_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("states");
        // A file already listed records nothing; with a document open nothing else opens.
        QTest::newRow("adding records only new files and opens the first when nothing is open")
            << 0 << u"add 1 2 | add 2 | add 3"_s
            << uR"(1 2; ; row -1; Back: undo "Open <h1>edit-1.pdf" (2 steps); open 1 | 1 2; ; row -1; Back: undo "Open <h1>edit-1.pdf" (2 steps); open 1 | )"
               uR"(1 2 3; ; row -1; Back: undo "Add <h1>edit-3.pdf" (3 steps); open 1)"_s;
        QTest::newRow("removing the middle row asks; the next file moves up; Back brings it back with its countdown")
            << 3 << u"minutes 2 7, select 1, remove No | remove Yes | back"_s
            << uR"(1 2 3; 2=7; row 1; Back: undo "Time of <h1>edit-2.pdf" (2 steps); asked Remove "<h1>edit-2.pdf" from the playlist? | )"
               uR"(1 3; ; row 1; Back: undo "Remove <h1>edit-2.pdf" (3 steps); asked Remove "<h1>edit-2.pdf" from the playlist? | )"
               uR"(1 2 3; 2=7; row 1; Back: undo "Time of <h1>edit-2.pdf" (2 steps); said Undone: Remove <h1>edit-2.pdf)"_s;
        QTest::newRow("removing the last row selects the new last row; removing the only row leaves none selected")
            << 2 << u"select 1, remove Yes | remove Yes"_s
            << uR"(1; ; row 0; Back: undo "Remove <h1>edit-2.pdf" (2 steps); asked Remove "<h1>edit-2.pdf" from the playlist? | )"
               uR"(; ; row -1; Back: undo "Remove <h1>edit-1.pdf" (3 steps); asked Remove "<h1>edit-1.pdf" from the playlist?)"_s;
        QTest::newRow("up on the first row does nothing; down moves the file and keeps it selected")
            << 3 << u"select 0, up | down"_s
            << uR"(1 2 3; ; row 0; Back: undo "Add 3 files" (1 steps) | 2 1 3; ; row 1; Back: undo "Move <h1>edit-1.pdf" (2 steps))"_s;
        QTest::newRow("a drop inside the list reorders once and keeps the row selected")
            << 3 << u"select 0, drag 0 3"_s << uR"(2 3 1; ; row 0; Back: undo "Reorder playlist" (2 steps))"_s;
        QTest::newRow("clearing asks; an empty playlist is cleared without a question or a step")
            << 3 << u"clear Yes | clear"_s
            << uR"(; ; row -1; Back: undo "Clear playlist" (2 steps); asked Remove all 3 file(s) from the playlist? | )"
               uR"(; ; row -1; Back: undo "Clear playlist" (2 steps))"_s;
        // Of 31 steps the newest 30 are kept: the oldest ("Add") fell out, the state after it stays.
        QTest::newRow("minutes are limited, an unchanged value records nothing, thirty steps are kept")
            << 1 << u"minutes 1 601, minutes 1 601 | minutes 1 0, minutes 1 0 | minutes 1 1-28 | back 30"_s
            << uR"(1; 1=600; row -1; Back: undo "Time of <h1>edit-1.pdf" (2 steps) | 1; ; row -1; Back: undo "Time of <h1>edit-1.pdf" (3 steps) | )"
               uR"(1; 1=28; row -1; Back: undo "Time of <h1>edit-1.pdf" (30 steps) | 1; ; row -1; Back (nothing to undo), off; said Undone: Time of <h1>edit-1.pdf)"_s;
        // Into an empty playlist a file opens without a question, and its first file opens; appended
        // to nothing, the last; a playlist file without files changes nothing.
        QTest::newRow("a playlist file and a package through the menus")
            << 3 << u"minutes 1 9, minutes 2 12, delete 3, save show | clear Yes, open show.oplaylist | export talks.opack | "
                    "close, import talks.opack Append | empty none.oplaylist, open none.oplaylist Replace OK"_s
            << uR"(1 2 3; 1=9 2=12; row -1; Back: undo "Time of <h1>edit-2.pdf" (3 steps); folder .; said Playlist saved: show.oplaylist | )"
               uR"(1 2 3; 1=9 2=12; row -1; Back: undo "Load playlist" (5 steps); asked Remove all 3 file(s) from the playlist?; )"
               uR"(open 1; folder .; clock 09:00 | 1 2 3; 1=9 2=12; row -1; Back: undo "Load playlist" (5 steps); open 1; folder .; )"
               uR"(said Playlist exported: talks.opack  1 missing file(s) were not exported.; clock 09:00 | )"
               uR"(1 2 3 talks/01_<h1>edit-1.pdf talks/02_<h1>edit-2.pdf; 1=9 2=12 talks/01_<h1>edit-1.pdf=9 talks/02_<h1>edit-2.pdf=12; )"
               uR"(row -1; Back: undo "Append playlist" (7 steps); asked The playlist already contains files.; )"
               uR"(open talks/02_<h1>edit-2.pdf; folder .; clock 12:00 | )"
               uR"(1 2 3 talks/01_<h1>edit-1.pdf talks/02_<h1>edit-2.pdf; 1=9 2=12 talks/01_<h1>edit-1.pdf=9 talks/02_<h1>edit-2.pdf=12; )"
               uR"(row -1; Back: undo "Append playlist" (7 steps); asked The playlist already contains files.; )"
               uR"(asked The playlist file contains no files.; open talks/02_<h1>edit-2.pdf; folder .; clock 12:00)"_s;
        // The box says why; the old file stays and gives its files back.
        QTest::newRow("a save onto a full disk keeps the old playlist file")
            << 2 << u"save kept.oplaylist | add 3, full save kept.oplaylist Yes OK | clear Yes, open kept.oplaylist"_s
            << uR"(1 2; ; row -1; Back: undo "Add 2 files" (1 steps); folder .; said Playlist saved: kept.oplaylist | )"
               uR"(1 2 3; ; row -1; Back: undo "Open <h1>edit-3.pdf" (3 steps); asked kept.oplaylist already exists.)" u"\n"
               uR"(Do you want to replace it?; asked The playlist file could not be written: File too large; open 3; folder .; )"
               uR"(said Document loaded. Clicker input works while either application window is active. | )"
               uR"(1 2; ; row -1; Back: undo "Load playlist" (5 steps); asked Remove all 3 file(s) from the playlist?; open 1; folder .)"_s;
        // Five presses 400 ms apart; undoing records nothing.
        QTest::newRow("a burst of time keys is one step")
            << 1 << u"time 5 | back"_s
            << uR"(1; ; row -1; Back: undo "Presentation time" (2 steps); clock 15:00 | )"
               uR"(1; ; row -1; Back: undo "Add <h1>edit-1.pdf" (1 steps); said Undone: Presentation time)"_s;
    }

    void editsAreStoredAndBackUndoesThem()
    {
        QFETCH(int, files);
        QFETCH(QString, script);
        QFETCH(QString, states);
        MainWindow window;
        qint64 now = 0;
        window.undoHistory()->setClock([&now] { return now; });
        const QString clock = window.countdown()->text();
        const QStringList docs = documents(u"<h1>edit"_s, 3);
        window.playlistControl()->addFiles(docs.mid(0, files));
        const auto *back = window.findChild<QPushButton *>(u"playlistBack"_s);
        const QSettings &store = *window.findChild<QSettings *>();
        QStringList asked;
        // A document by its number, any other file by its path in the scratch or the imports folder.
        const QString scratch = TestEnvironment::instance().path(QString());
        const QString imports = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/imports/"_s;
        const auto name = [&](QString path) {
            return docs.contains(path) ? QString::number(docs.indexOf(path) + 1) : path.remove(imports).remove(scratch);
        };
        bool told = false; // whether the stage shows what the status bar says: after a save, an export, a Back
        const auto state = [&] {
            QStringList numbers, times;
            for (const QString &file : store.value(u"playlist/files"_s).toStringList())
                numbers << name(file);
            const QVariantMap stored = store.value(u"playlist/times"_s).toMap();
            for (auto it = stored.cbegin(); it != stored.cend(); ++it)
                times << u"%1=%2"_s.arg(name(it.key())).arg(it.value().toInt());
            QStringList shown{numbers.join(u' '), times.join(u' '), u"row %1"_s.arg(list(window)->currentIndex().row()),
                              back->toolTip() + (back->isEnabled() ? QString() : u", off"_s)};
            shown += asked;
            const QString open = window.pdfService()->filePath();
            shown += open.isEmpty() ? QStringList() : QStringList{u"open "_s + name(open)};
            const QString folder = store.value(u"playlist/dir"_s).toString();
            shown += folder.isEmpty() ? QStringList() : QStringList{u"folder "_s + QDir(scratch).relativeFilePath(folder)};
            shown += told ? QStringList{u"said "_s + name(window.statusBar()->currentMessage())} : QStringList();
            shown += window.countdown()->text() == clock ? QStringList() : QStringList{u"clock "_s + window.countdown()->text()};
            return shown.join(u"; "_s);
        };
        const QStringList expected = states.split(u" | "_s);
        const QStringList stages = script.split(u'|');
        QCOMPARE(stages.size(), expected.size());
        for (qsizetype stage = 0; stage < stages.size(); ++stage) {
            asked.clear();
            told = false;
            for (const QString &command : stages.at(stage).split(u',')) {
                QStringList w = command.split(u' ', Qt::SkipEmptyParts);
                const bool full = w.at(0) == u"full"_s; // the next command writes onto a full disk
                w.removeAll(u"full"_s);
                if (w.at(0) == u"select"_s) {
                    list(window)->setCurrentIndex(row(window, w.at(1).toInt()));
                } else if (w.at(0) == u"minutes"_s) {
                    for (int m = w.at(2).section(u'-', 0, 0).toInt(); m <= w.at(2).section(u'-', -1).toInt(); ++m)
                        window.playlistControl()->setFileMinutes(docs.at(w.at(1).toInt() - 1), m);
                } else if (w.at(0) == u"time"_s) {
                    for (int i = 0; i < w.at(1).toInt(); ++i, now += 400)
                        window.handleAction(Action::TimerPlusMinute);
                } else if (w.at(0) == u"drag"_s) { // what a drop inside the list does to its model
                    QVERIFY(list(window)->model()->moveRow(QModelIndex(), w.at(1).toInt(), QModelIndex(), w.at(2).toInt()));
                } else if (w.at(0) == u"add"_s) {
                    QStringList chosen;
                    for (const QString &number : w.mid(1))
                        chosen << docs.at(number.toInt() - 1);
                    QVERIFY(answered(window, u"playlistAdd"_s, answerFileDialog(chosen)));
                } else if (w.at(0) == u"delete"_s) {
                    QVERIFY(QFile::remove(docs.at(w.at(1).toInt() - 1)));
                } else if (w.at(0) == u"empty"_s) {
                    writeBytes(TestEnvironment::instance().path(w.at(1)), R"({"format":"OlvantiPlaylist","items":[]})");
                } else if (w.at(0) == u"close"_s) {
                    menuAction(window, u"Close document"_s)->trigger();
                } else if (const QStringList menus{u"save"_s, u"open"_s, u"export"_s, u"import"_s}; menus.contains(w.at(0))) {
                    // The file chosen, then the buttons that answer the boxes that must come.
                    QList<std::shared_ptr<ModalAnswer>> boxes;
                    for (const QString &button : w.mid(2))
                        boxes << answerBox(button);
                    const QStringList commands{u"Save playlist..."_s, u"Open playlist..."_s, u"Export with PDFs..."_s, u"Import package..."_s};
                    const QString chosen = TestEnvironment::instance().path(w.at(1));
                    FullDisk disk(FullDisk::Kind::SizeLimit, QFileInfo(chosen).absolutePath());
                    if (full)
                        disk.fill(0);
                    QVERIFY(answered(window, commands.at(menus.indexOf(w.at(0))), answerFileDialog({chosen})));
                    disk.release();
                    for (const auto &box : std::as_const(boxes)) {
                        QTRY_VERIFY(box->answered);
                        asked << u"asked "_s + box->text;
                    }
                    told = w.at(0) == u"save"_s || w.at(0) == u"export"_s;
                } else {
                    // "Yes" or "No" answers the question the command must ask; otherwise none may come.
                    const bool asks = w.size() > 1 && w.at(0) != u"back"_s;
                    auto box = asks ? answerBox(w.at(1)) : closeNextModal();
                    auto *button = window.findChild<QAbstractButton *>(u"playlist"_s + w.at(0).at(0).toUpper() + w.at(0).mid(1));
                    for (int i = asks ? 1 : w.value(1, u"1"_s).toInt(); i > 0; --i)
                        button->click();
                    if (box->answered)
                        asked << u"asked "_s + box->text;
                    told = w.at(0) == u"back"_s;
                }
            }
            QTRY_COMPARE(state(), expected.at(stage));
        }
    }

    // A playlist of 95,000 files (about 15 MB) through to the show: rows made when drawn and settings
    // written by a worker, where each held the window a fifth of a second (a figure of olvanti-bench).
    void longPlaylistKeepsTheWindowResponsive()
    {
        // A sanitizer build takes minutes at the full length; the faults show at a shorter one.
        const int count = OLVANTI_TEST_TIME_FACTOR > 1 ? 10000 : 95000;
        QList<PlaylistEntry> entries{{documents(QStringLiteral("long"), 1).constFirst(), 5, 0}};
        for (int i = 1; i < count; ++i)
            entries.append({QStringLiteral("/talks/of/the/year/talk-%1.pdf").arg(i), i % 7, i % 3});
        const QString path = TestEnvironment::instance().path(QStringLiteral("long.oplaylist"));
        QCOMPARE(PlaylistFile::writeJsonPlaylist(path, entries), QString());
        {
            // Cancelled, the load leaves the playlist as it was.
            MainWindow window;
            window.playlistControl()->loadPlaylistFile(path);
            window.findChild<QProgressDialog *>(u"playlistLoadProgress"_s)->findChild<QPushButton *>()->click();
            QTRY_COMPARE(window.statusBar()->currentMessage(), u"Loading was cancelled: %1"_s.arg(path));
            QCOMPARE(window.playlist()->count(), 0);
        }
        MainWindow window;
        QVERIFY(showAndWait(&window));
        // The turns of the window's event loop while the file is read, and whether the progress showed.
        QSignalSpy background(SettingsGuard::of(*window.findChild<QSettings *>()), &SettingsGuard::backgroundWritten);
        window.playlistControl()->loadPlaylistFile(path);
        auto *load = window.playlistControl()->findChild<PlaylistLoad *>();
        auto *progress = window.findChild<QProgressDialog *>(u"playlistLoadProgress"_s);
        int ticks = 0;
        bool shown = false;
        QTimer tick;
        connect(&tick, &QTimer::timeout, &tick, [&] { ++ticks, shown = shown || progress->isVisible(); });
        connect(load, &PlaylistLoad::finished, &tick, &QTimer::stop);
        QElapsedTimer took;
        took.start();
        tick.start(5);
        QSignalSpy finished(load, &PlaylistLoad::finished);
        QVERIFY(finished.wait(60000));
        // Reading takes far longer than a few ticks: a window held by it would see none.
        QVERIFY2(ticks >= 3 && (shown || took.elapsed() < PlaylistLoad::DialogDelayMs + 50), qPrintable(QString::number(ticks)));
        QTRY_COMPARE_WITH_TIMEOUT(window.playlist()->count(), count, 60000);
        QTRY_COMPARE(window.showModel()->documentPath(), entries.constFirst().path);
        QTRY_COMPARE_WITH_TIMEOUT(background.size(), 1, 10000);
        QCOMPARE(background.constFirst().constFirst().toString(), QString());
        QCOMPARE(QSettings().value(u"playlist/files"_s).toStringList().size(), count);
        const int last = count - 1;
        QCOMPARE(row(window, last).data().toString(),
                 QStringLiteral("%1. talk-%2.pdf  (missing)").arg(count).arg(last)
                     + (last % 3 > 0 ? QStringLiteral("  (ends at page %1)").arg(last % 3) : QString()));
    }

    // The rows mark the current and the missing file; the chip sets and removes a file's countdown.
    void rowsAndTheirCountdownChip()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("row"), 2);
        window.playlistControl()->addFiles(docs);
        window.playlistPanel()->setCollapsed(false, false);
        QVERIFY(showAndWait(&window));
        QVERIFY(openAndWait(window, docs.at(1)));
        QCOMPARE(look(window, 0), u"1. row-1.pdf"_s);
        QCOMPARE(look(window, 1), u"\u25B6 2. row-2.pdf #ff9c45 bold"_s);
        window.countdown()->setTimerSeconds(750);

        // Beside the chip a click selects; had it opened a dialog, that one would be answered first.
        QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, rowPoint(window, 1, false));
        QCOMPARE(list(window)->currentIndex().row(), 1);
        // The chip sets a countdown (12:30 rounds to 13 minutes), then takes it off.
        for (const auto &[button, shown, minutes] : {std::tuple{u"playlistTimePreset30"_s, u"off, fixed 13 min"_s, 30},
                                                     {u"playlistTimeEnabled"_s, u"on, editable 30 min"_s, 0}}) {
            auto answer = answerCountdown(button);
            QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, rowPoint(window, 0, true));
            QTRY_VERIFY(answer->answered);
            QCOMPARE(answer->text, shown + u", row-1.pdf"_s);
            QTRY_COMPARE(window.playlist()->minutesFor(docs.at(0)), minutes);
            QCOMPARE(row(window, 0).data(Qt::UserRole + 1), minutes ? QVariant(u"\u23F1 30 min"_s) : QVariant());
        }

        window.playlistPanel()->openFileCountdownDialog(2);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Select a file in the playlist first."));

        // Missing wins over current: red, still marked and bold.
        QFile::remove(docs.at(1));
        window.playlistPanel()->refresh();
        QCOMPARE(look(window, 1), u"\u25B6 2. row-2.pdf  (missing) #ff6b6b bold"_s);
    }

    void collapsingGivesBackTheWidthTheWindowTook()
    {
        MainWindow window;
        const QRect available = window.screen()->availableGeometry();
        window.resize(1000, 700);
        window.move(available.right() - 1050, 40);
        QVERIFY(showAndWait(&window));
        auto *panel = window.playlistPanel();
        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("rootSplitter"));
        QCOMPARE(panel->width(), PlaylistPanel::CollapsedWidth);
        QVERIFY(visible(window, "playlistVerticalTitle") && !visible(window, "playlistBody") && !visible(window, "playlistTitle"));

        auto *toggle = window.findChild<QAbstractButton *>(QStringLiteral("playlistToggle"));
        toggle->click();
        QTRY_COMPARE(panel->maximumWidth(), QWIDGETSIZE_MAX);
        QCOMPARE(splitter->sizes().constFirst(), 260);
        QCOMPARE(window.width(), 1230);
        // The grown window moved left to stay on the screen.
        QTRY_VERIFY(window.frameGeometry().right() <= available.right());
        QVERIFY(visible(window, "playlistBody") && !visible(window, "playlistVerticalTitle"));

        // A narrow panel is remembered as 180; the window gives back only what the panel took.
        splitter->setSizes({170, splitter->sizes().at(1), splitter->sizes().at(2) + 90});
        QTRY_COMPARE(panel->width(), 170);
        toggle->click();
        QTRY_VERIFY(visible(window, "playlistVerticalTitle"));
        QCOMPARE(panel->width(), PlaylistPanel::CollapsedWidth);
        QCOMPARE(panel->expandedWidth(), 180);
        QCOMPARE(window.width(), 1230 - 140);
        QCOMPARE(panel->grownWidth(), 90);
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(PlaylistTestCase, R"([{"name":"Wide","x":0,"y":0,"width":1920,"height":1080,
    "logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_playlist.moc"
