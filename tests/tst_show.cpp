#include "show/show.h"
#include "windowtest.h"

#include "base/appsettings.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/undohistory.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Reader mode's pages and scroll, as the show sees them.
struct FakeReader final : Show::Reader
{
    PdfService *pdf = nullptr;
    int page = 0;
    bool scroll = false;
    bool atEnd = false;
    QStringList moves;

    int readerPage() const override { return page; }
    void moveReaderTo(int target, bool) override { page = std::clamp(target, 0, std::max(0, pdf->pageCount() - 1)); }
    bool scrolling() const override { return scroll; }
    bool twoPageSpread() const override { return false; }
    bool scrollAtTop() const override { return !atEnd; }
    bool scrollAtEnd() const override { return atEnd; }
    void stepScreens(int direction) override { moves << u"screen %1"_s.arg(direction); }
    void stepLines(int direction) override { moves << u"lines %1"_s.arg(direction); }
    void scrollToEdge(bool last) override { moves << (last ? u"end"_s : u"top"_s); }
};

// The show model with a real engine and three playlist files: a (3 pages), b (2, with a
// five-minute countdown) and c (4), on a clock of the test's own.
struct Stage
{
    QSettings store{TestEnvironment::instance().path(u"show.ini"_s), QSettings::IniFormat};
    AppSettings settings{store};
    PdfService pdf;
    Presentation presentation{&pdf};
    Playlist playlist;
    qint64 now = 1000000;
    qint64 wall = 1796000000000;
    Countdown countdown;
    UndoHistory history;
    Show show{{&pdf, &presentation, &playlist, &countdown, &history, &settings}};
    FakeReader reader;
    QStringList files;
    QStringList notices;
    QString said; // what the commands that tell something told since the last state
    QSignalSpy changes{&show, &Show::changed};
    QSignalSpy jobs{&pdf, &PdfService::renderStarted};

    Stage()
    {
        store.clear();
        countdown.setClock([this] { return now; });
        show.setClock([this] { return now; });
        show.setWallClock([this] { return wall; });
        reader.pdf = &pdf;
        history.setSnapshot([this](UndoStep &step) { step.document = show.documentPath(); });
        show.setReader(&reader);
        TestEnvironment &env = TestEnvironment::instance();
        files = {WindowTest::copyOf(env.textDocument(3), u"a.pdf"_s), WindowTest::copyOf(env.textDocument(2), u"b.pdf"_s),
                 WindowTest::copyOf(env.textDocument(4), u"c.pdf"_s)};
        playlist.setEntries(files, {{files.at(1), 5}});
        QObject::connect(&show, &Show::notice, &show, [this](const QString &text) { notices << text; });
    }

    bool settled()
    {
        // Nothing loading, nothing on its way to the audience.
        return QTest::qWaitFor([&] {
            return !show.switching() && presentation.pendingPage() < 0 && (show.documentPath().isEmpty() || pdf.pageCount() > 0);
        }, 10000);
    }

    void perform(const QString &command)
    {
        const QStringList words = command.split(u' ');
        const QString object = words.value(1);
        const auto path = [&] { return files.at(object.at(0).toLatin1() - 'a'); };
        const QHash<QString, std::function<void()>> verbs{
            {u"next"_s, [&] { show.next(); }},
            {u"prev"_s, [&] { show.previous(); }},
            {u"first"_s, [&] { show.first(); }},
            {u"last"_s, [&] { show.last(); }},
            {u"lines"_s, [&] { show.stepLines(1); }},
            {u"black"_s, [&] { show.toggleBlackout(); }},
            {u"reader"_s, [&] { show.setMode(Show::Mode::Reader); }},
            {u"output"_s, [&] { show.setOutputShown(words.value(1) != u"off"); }},
            {u"exit"_s, [&] {
                 const qsizetype told = notices.size();
                 said += show.confirmStop() ? u" stops"_s : notices.size() > told ? u" warns"_s : u" quiet"_s;
             }},
            {u"times"_s, [&] {
                 said += u" programme %1 talk %2"_s.arg(Countdown::formatClock(int(show.programmeElapsed() / 1000)),
                                                       Countdown::formatClock(int(show.talkElapsed() / 1000)));
             }},
            {u"shown"_s, [&] { said += u" %1 shown %2"_s.arg(object).arg(playlist.shownSeconds(path())); }},
            // Each talk of the timing report as "file,planned minutes,duration".
            {u"report"_s, [&] {
                 const QStringList lines = show.timingReport().split(u'\n', Qt::SkipEmptyParts);
                 QCOMPARE(lines.value(0), u"file,planned minutes,start,end,duration"_s);
                 for (const QString &line : lines.mid(1))
                     said += u' ' + line.section(u',', 0, 1) + u',' + line.section(u',', -1);
             }},
            {u"programme"_s, [&] {
                 playlist.setMinutes(path(), words.value(2).toInt());
                 show.open(path(), Show::Origin::Programme);
             }},
            {u"timer"_s, [&] { said += u" timer "_s + Countdown::formatClock(countdown.durationSeconds()); }},
            // How often the views were told, and the renders begun once a preload had its time.
            {u"told"_s, [&] { said += u" told %1"_s.arg(changes.size()), changes.clear(); }},
            // Without a count, those before are dropped.
            {u"jobs"_s, [&] {
                 QTest::qWait(Presentation::PreloadDelayMs + 100);
                 if (words.size() > 1) {
                     QTRY_COMPARE(jobs.size(), words.at(1).toInt());
                     for (const QVariantList &job : std::as_const(jobs))
                         said += u" %1 %2"_s.arg(job.at(0).toString()).arg(job.at(1).toInt() + 1);
                 }
                 jobs.clear();
             }},
            {u"frame"_s, [&] {
                 said += u" frame %1"_s.arg(presentation.frameDirection());
                 said += presentation.frameAnimated() ? u" animated"_s : QString();
             }},
            {u"soon"_s, [&] { now += Show::StopConfirmMs; }},
            {u"scroll"_s, [&] { reader.scroll = true; }},
            {u"scrolled"_s, [&] { reader.atEnd = true; }},
            {u"jump"_s, [&] { show.jumpTo(object.toInt() - 1); }},
            {u"jumpentry"_s, [&] { show.jumpToEntry(object.toInt(), words.value(2).toInt() - 1); }},
            {u"return"_s, [&] { show.returnFromJump(); }},
            {u"open"_s, [&] { show.openByOperator(path()); }},
            {u"close"_s, [&] { show.closeDocument(); }},
            // The last undo step's document; none before the first.
            {u"back"_s, [&] { show.returnTo(history.isEmpty() ? QString() : history.takeLast().document); }},
            {u"entry"_s, [&] { show.activateEntry(object.toInt()); }},
            {u"missing"_s, [&] { QFile::remove(path() + u".away"_s), QFile::rename(path(), path() + u".away"_s); }},
            {u"restore"_s, [&] { QFile::rename(path() + u".away"_s, path()); }},
            {u"damage"_s, [&] { QFile::remove(path()), QFile::copy(TestEnvironment::instance().damagedDocument(), path()); }},
            {u"minute"_s, [&] { now += 60000, wall += 60000; }},
            {u"reset"_s, [&] { countdown.resetTimer(); }},
            {u"endpage"_s, [&] { playlist.setEntries(files, playlist.fileMinutes(), {{path(), words.value(2).toInt()}}); }},
            {u"minutes"_s, [&] { playlist.setMinutes(path(), words.value(2).toInt()); }},
        };
        QVERIFY2(verbs.contains(words.constFirst()), qPrintable(u"unknown command "_s + command));
        verbs.value(words.constFirst())();
    }

    // The file and page the audience sees, then what else holds: "b:1 black end reader 2".
    QString state()
    {
        const QString name = QFileInfo(pdf.filePath()).completeBaseName();
        QString text = pdf.pageCount() > 0 ? u"%1:%2"_s.arg(name).arg(presentation.livePage() + 1)
                       : presentation.frame().isNull() ? u"blank"_s
                                                       : u"kept"_s;
        if (show.blackout())
            text += u" black"_s;
        if (show.endReached())
            text += u" end"_s;
        if (!show.presenting())
            text += u" reader %1"_s.arg(reader.page + 1) + (QStringList{QString()} + reader.moves).join(u' ');
        if (countdown.isRunning())
            text += u" clock %1"_s.arg(Countdown::formatClock(countdown.shownSeconds()));
        return text + std::exchange(said, QString());
    }
};

} // namespace

class ShowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row runs its commands from file a, page 1, in presenter mode with the output off;
    // each stage "commands -> state" compares the state its commands leave.
    void commandsLeaveTheShowWhereTheOperatorExpects_data()
    {
        QTest::addColumn<QString>("script");
        const auto row = [](const char *name, const char *script) { QTest::newRow(name) << QString::fromUtf8(script); };
        row("previous at the start of the show stays", "prev -> a:1");
        row("previous while the next file loads goes back to the page the audience sees",
            "last, next+prev -> a:3 | next -> b:1 clock 05:00");
        row("next at the end of the show ends it and pauses the countdown; previous leaves the end",
            "entry 1, minute, entry 2, last -> c:4 clock 04:00 | next -> c:4 end | next -> c:4 end | prev -> c:3");
        row("an open forgets the end", "entry 2, last, next -> c:4 end | open a -> a:1");
        row("an open keeps a blackout", "black, open c -> c:1 black");
        row("each talk keeps its own countdown: leaving and coming back resumes it",
            "minutes c 10, entry 1, minute, next, next, minute -> c:1 clock 09:00 | prev, minute -> b:2 clock 03:00 | "
            "next -> c:1 clock 09:00");
        row("a reset by the operator is still a reset",
            "minutes c 10, entry 1, minute, reset, next, next -> c:1 clock 10:00 | prev -> b:2");
        row("backup slides: next on the end page crosses, previous comes back to it",
            "endpage a 2, next -> a:2 | next -> b:1 clock 05:00 | prev -> a:2 clock 05:00 | last -> a:2 clock 05:00 | "
            "jump 3 -> a:3 clock 05:00 | next -> b:1 clock 05:00");
        row("blackout stays through a crossing", "black, last, next -> b:1 black clock 05:00");
        row("a missing file stays the show, the next click passes it", "missing b, last, next -> a:3 | next -> c:1");
        row("a missing file that comes back is reachable again",
            "missing b, last, next -> a:3 | restore b, next -> b:1 clock 05:00");
        row("a damaged file: the show comes back to its page, the next click passes it",
            "damage b, last, next -> a:3 | next -> c:1");
        row("a damaged file with nothing to return to: blank, and the clicker goes on",
            "damage b, last, missing a, next -> blank | next -> c:1 | prev -> c:1");
        row("first and last slide", "last -> a:3 | first -> a:1");
        row("jumps and back, across talks, until nothing is left to return to",
            "next, jumpentry 2 3 -> c:3 | jump 1 -> c:1 | return -> c:3 | return -> a:2 | return -> a:2");
        row("reader mode, output off: a jump turns the reader",
            "reader, jump 3 -> a:1 reader 3 | return -> a:1 reader 1");
        row("reader mode, output off: the reader turns, the audience stays",
            "reader, next, next, last -> a:1 reader 3");
        row("reader mode, output on: the audience follows",
            "reader, output, next, next, next -> b:1 reader 1 clock 05:00");
        row("reader scroll at its end with the output on: the audience crosses",
            "reader, scroll, output, scrolled, next -> b:1 reader 1 clock 05:00");
        row("reader scroll: arrows move by lines and never cross",
            "reader, scroll, output, scrolled, lines -> a:1 reader 1 lines 1");
        // A stray Exit key must not end the output; a second one within two seconds does, but not
        // across a close and open.
        row("exit ends the output only when given twice within two seconds",
            "exit -> a:1 stops | output, exit -> a:1 warns | minute, exit -> a:1 warns | "
            "output off, output, exit -> a:1 warns | soon, exit -> a:1 stops");
        // The programme begins with the output; a talk's time counts while it is shown, also
        // over several visits. A new programme starts afresh and sets, not starts, its countdown.
        row("the session keeps each talk's time, in the order first shown",
            "minute, times -> a:1 programme 00:00 talk 00:00 | "
            "output, minute, last, next, minute, minute, prev, minute, times, shown b, report "
            "-> a:3 clock 02:00 programme 04:00 talk 02:00 b shown 120 a.pdf,0,02:00 b.pdf,5,02:00 | "
            "programme c 20, report, shown b, timer -> c:1 b shown -1 timer 20:00");
        // One Next tells the views once, when its frame is in; a crossing renders what the audience
        // will see first, forward the new file's first page, backward its last page, into the
        // earlier file backwards although it opens at a higher page.
        row("a crossing renders the audience's page first, in the direction of travel",
            "next+told, told -> a:2 told 0 told 1 | last, jobs -> a:3 | "
            "next, jobs 2, frame -> b:1 clock 05:00 output 1 preload 2 frame 1 animated | "
            "prev, jobs 1, frame -> a:3 clock 05:00 output 3 frame -1 animated");
        row("back returns through the playlist, as a crossing", "entry 1 -> b:1 clock 05:00 | back -> a:1 clock 05:00");
        row("an open of the operator's ends a crossing still loading and starts the clock afresh",
            "entry 1, prev+open c -> c:1");
        row("a close ends a crossing still loading, and its loading notice",
            "entry 1, prev+close -> blank clock 05:00");
        row("close lifts a blackout; back brings each document back, and at last none",
            "entry 1, open c, black, close -> blank | back -> c:1 | back -> b:1 clock 05:00 | "
            "back -> a:1 clock 05:00 | back -> blank clock 05:00");
    }

    void commandsLeaveTheShowWhereTheOperatorExpects()
    {
        QFETCH(QString, script);
        Stage stage;
        stage.show.activateEntry(0);
        QVERIFY(stage.settled());
        stage.changes.clear();
        stage.jobs.clear();
        QStringList states;
        QString commands;
        for (const QString &part : script.split(u'|')) {
            commands = part.section(u"->"_s, 0, 0).trimmed();
            for (const QString &command : commands.split(u',')) {
                // "+" gives the next command at once, before the show has settled.
                for (const QString &quick : command.split(u'+'))
                    stage.perform(quick.trimmed());
                QVERIFY2(stage.settled(), qPrintable(command));
            }
            states << commands + u" -> "_s + stage.state();
        }
        QCOMPARE(states.join(u" | "_s), script);
        // NEXT shows no backup slide: on the talk's end page it is the next file's turn.
        if (stage.playlist.endPageFor(stage.pdf.filePath()) == stage.presentation.livePage() + 1)
            QCOMPARE(stage.presentation.previewPage(), -1);
        // A file that failed is passed over, never taken off the playlist, and told once.
        QCOMPARE(stage.playlist.count(), 3);
        QVERIFY(stage.notices.filter(u"b.pdf"_s).size() <= 1);
        QVERIFY(stage.notices.count(u"End of presentation. Press Previous to go back."_s) <= 1);
        if (commands.endsWith(u"close"_s)) {
            QVERIFY(!stage.show.switching());
            QCOMPARE(stage.notices.constLast(), QString());
        }
    }
};

OLVANTI_TEST_MAIN(ShowTest)
#include "tst_show.moc"
