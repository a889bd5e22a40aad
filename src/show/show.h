#pragma once

#include "timer/countdown.h"

#include <QFileSystemWatcher>
#include <QFlags>
#include <QObject>
#include <QHash>
#include <QString>

#include <functional>
#include <utility>

class AppSettings;
class PdfService;
class Playlist;
class Presentation;
class UndoHistory;

// Where the show is, without widgets: the open document and its playlist entry, the page the
// audience sees, blackout, the output, the operator's mode, the crossing from one playlist
// file to the next (the old frame kept while the new file loads, its direction, its start
// page, a file that fails), the end of the show and the countdown hand-offs between entries.
// Every command reaches the show through one of its operations, whatever the operator
// pressed; views observe `changed`, which says once per change what changed.
class Show final : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Reader, Presenter };
    // Who opens a document: the operator (the countdown starts over), the playlist (the
    // entry's own countdown starts, or resumes where the show left it), a newly loaded
    // programme (its entry's countdown is set, not started, and the talks' clocks start
    // afresh), or the Back command (nothing changes on the clock).
    enum class Origin { Operator, Playlist, Programme, Back };

    enum Change : unsigned {
        PageChanged = 0x1,     // the page the output is asked to show
        LiveChanged = 0x2,     // a frame reached the audience (or the frame was cleared)
        BlackoutChanged = 0x4,
        OutputChanged = 0x8,   // the output window opened or closed
        ModeChanged = 0x10,
        DocumentChanged = 0x20, // a document was opened, closed or failed
        EntryChanged = 0x40,   // the playlist entry the show stands at
        SwitchChanged = 0x80,  // a playlist file started or stopped loading
        EndChanged = 0x100,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    // Reader mode's side of the commands: the show turns the reader's pages or scrolls it
    // when the audience does not follow the commands.
    class Reader
    {
    public:
        virtual ~Reader() = default;
        virtual int readerPage() const = 0;
        virtual void moveReaderTo(int page, bool smooth) = 0;
        virtual bool scrolling() const = 0;
        virtual bool twoPageSpread() const = 0;
        virtual bool scrollAtTop() const = 0;
        virtual bool scrollAtEnd() const = 0;
        virtual void stepScreens(int direction) = 0;
        virtual void stepLines(int direction) = 0;
        virtual void scrollToEdge(bool last) = 0;
    };

    struct Services
    {
        PdfService *pdf = nullptr;
        Presentation *presentation = nullptr;
        Playlist *playlist = nullptr;
        Countdown *countdown = nullptr;
        UndoHistory *history = nullptr;
        AppSettings *settings = nullptr;
    };

    using Clock = std::function<qint64()>;     // monotonic milliseconds
    using WallClock = std::function<qint64()>; // milliseconds since the epoch

    // One talk of the session: when it was first shown, when it was last left, and for how
    // long it was the show's entry in all.
    struct TalkTime
    {
        QString path;
        int plannedMinutes = 0;
        qint64 start = 0; // milliseconds since the epoch
        qint64 end = 0;
        qint64 shownMs = 0;
    };

    // A second Exit within this long ends the output; the first one only warns.
    static constexpr qint64 StopConfirmMs = 2000;
    static constexpr int MaxJumps = 20;

    explicit Show(const Services &services, QObject *parent = nullptr);
    ~Show() override;

    void setReader(Reader *reader) { m_reader = reader; }
    void setClock(Clock clock);
    void setWallClock(WallClock clock);

    // The session's time-keeping. The programme begins when the output first opens or the
    // countdown first runs; a talk's time counts while it is the show's entry from then on.
    bool programmeBegun() const { return m_programmeStart >= 0; }
    qint64 programmeElapsed() const;
    qint64 talkElapsed() const;
    // Every talk shown so far, the current one counted up to now, in the order first shown.
    QList<TalkTime> timing() const;
    // The session as CSV: each talk's file, planned minutes, start and end time, duration.
    QString timingReport() const;

    Mode mode() const { return m_mode; }
    bool presenting() const { return m_mode == Mode::Presenter; }
    bool outputShown() const { return m_outputShown; }
    bool blackout() const;
    // The audience follows the commands: in presenter mode, or with the output on while
    // reading page by page.
    bool audienceFollows() const;
    // The open (or opening) document's absolute path; empty when there is none.
    QString documentPath() const { return m_documentPath; }
    bool hasPages() const;
    // The entry the show stands at: the open document's, else the one a failed switch went to.
    int entry() const;
    // The index of the entry `step` places away from the show's entry, passing over entries
    // that could not be shown; -1 when there is none.
    int entryBeside(int step) const;
    bool switching() const { return m_switch.active; }
    // +1 / -1 while a playlist switch waits for its first frame, else 0.
    int switchDirection() const { return m_switch.direction; }
    bool endReached() const { return m_endReached; }

    // Slide commands in the current mode.
    void next();
    void previous();
    void first();
    void last();
    void nextReaderPage();
    void previousReaderPage();
    // The arrow keys while reading in one continuous scroll.
    void stepLines(int direction);
    // The audience's page (in the open document).
    void goToPage(int page);
    // A page picked in the page strip or typed in the page box: the audience's page in
    // presenter mode, the reader's otherwise.
    void choosePage(int page);
    void setBlackout(bool on);
    void toggleBlackout();
    // Jumps remember where the show was, so returnFromJump() goes back there, also into
    // another file. A jump to a page of the open document (typed, picked in the page strip or
    // the overview, a search hit) and a jump to another entry's page.
    void jumpTo(int page);
    void jumpToEntry(int index, int page);
    void returnFromJump();
    bool canReturnFromJump() const { return !m_jumps.isEmpty(); }
    // The Exit command while the audience sees the output: true on the second call within
    // StopConfirmMs (or with no output shown); the first call only warns.
    bool confirmStop();
    void setMode(Mode mode);
    // The output control reports the output window opening and closing.
    void setOutputShown(bool shown);
    // Reading page by page with the output on, the audience follows the reader.
    void readerPageChanged(int page);
    // The reader's spread changed; the audience's frame follows it while reading.
    void readerLayoutChanged();

    // Documents.
    void open(const QString &path, Origin origin);
    // The operator's open: records the undo step "Open %1" first.
    void openByOperator(const QString &path);
    // A double-click in the playlist.
    void activateEntry(int row);
    // Opens entry `index` at `startPage` (-2 for its last page) keeping the audience's frame.
    void openEntry(int index, int startPage);
    // The operator's Close: records its undo step and lifts a blackout.
    void closeDocument();
    // Back to a document an undo step names; empty closes the open one.
    void returnTo(const QString &document);
    // Answers to `passwordRequired`.
    void retryWithPassword(const QString &password);
    void declinePassword();
    // The undo step "Open %1" for a document about to replace the current one.
    void recordOpen(const QString &path);

Q_SIGNALS:
    void changed(Show::Changes what);
    // For the status bar; 0 ms stays until replaced.
    void notice(const QString &text, int ms);
    // The open document is about to be closed or replaced (the reader keeps its place).
    void documentLeaving(const QString &path);
    // The document opened and the show has placed itself in it.
    void documentOpened(int pages);
    // The engine refused the document the operator opened; nothing is open now.
    void openFailed(const QString &path, const QString &message);
    // The engine wants a password for `path`: answer with retryWithPassword or declinePassword.
    void passwordRequired(const QString &path, const QString &message);
    // A document that is not there; the operator is told with a box.
    void documentMissing(const QString &path);

private:
    // Gathers what one operation changes into one notification, sent when the outermost
    // operation ends.
    class Batch
    {
    public:
        explicit Batch(Show &show)
            : m_show(show)
        {
            ++m_show.m_batchDepth;
        }
        ~Batch()
        {
            if (--m_show.m_batchDepth == 0 && m_show.m_pendingChanges)
                Q_EMIT m_show.changed(std::exchange(m_show.m_pendingChanges, {}));
        }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        Show &m_show;
    };

    struct Position
    {
        QString document;
        int page = 0;
    };

    struct Switch
    {
        bool active = false;
        bool recovering = false;
        int direction = 0;
        QString target; // the entry the running or last switch went to
        QString previousDocument;
        int previousPage = 0;
        QString recoveryNotice; // shown once the previous file is back
    };

    // How a document is opened: whether the countdown starts over, whether the entry's own
    // countdown starts once it is open, whether it ends a switch still loading, and where.
    struct Load
    {
        bool resetClock = false;
        bool entryClock = false;
        bool prepareClock = false;
        bool endsSwitch = false;
        int startPage = -1;
    };

    void emitChanged(Changes what);
    Position position() const;
    void recordJump();
    void stepSlide(int direction);
    void goToEdge(bool last);
    void presentationNext();
    void presentationPrevious();
    void refreshEnd();
    // The last page of the open document's talk (its end page, or the document's last page),
    // and where a file is entered from the next one.
    int talkEnd() const;
    int entryEndStart(int index) const;
    void applyTalkEnd();
    bool stillUnplayable(const QString &path) const;
    void markUnplayable(const QString &path);
    void forgetUnplayable(const QString &path);
    bool load(const QString &path, const Load &how);
    void onLoaded(int pages);
    void onFailed(const QString &message, bool passwordRequired);
    // `tell`: the operator hears of it in a box (an open of their own, not a declined password).
    void fail(const QString &message, bool tell);
    void switchFailed(const QString &path, const QString &message);
    void backOutOfSwitch();
    void endSwitch();
    void applyEntryClock(const QString &path);
    void beginProgramme();
    // The talk now shown: the one before is closed, its time kept.
    void enterTalk(const QString &path);
    void resetSession();
    void applyTwoPageOutput();
    // A notice on one line that stays a while.
    void noticeLong(const QString &text);

    PdfService *m_pdf;
    Presentation *m_presentation;
    Playlist *m_playlist;
    Countdown *m_countdown;
    UndoHistory *m_history;
    AppSettings *m_settings;
    Reader *m_reader = nullptr;

    Mode m_mode = Mode::Presenter;
    bool m_outputShown = false;
    bool m_blackout = false;
    bool m_endReached = false;
    int m_endPage = -1; // where the end of the show was reached
    QString m_documentPath;
    bool m_entryClock = false;   // the loading document starts its entry's countdown
    bool m_prepareClock = false; // the loading document sets its entry's countdown
    // Each talk's countdown as the show left it, and the talk whose countdown runs now.
    QHash<QString, Countdown::State> m_clocks;
    QString m_clockOwner;
    int m_startPage = -1;      // where the loading document opens, kept for a password retry
    QString m_failure;         // why the engine asked for a password
    Switch m_switch;
    QString m_stranded; // the entry a failed switch went to, with nothing to return to
    // Entries that failed, with a stamp of their file then (-1: missing); Next and Previous
    // pass over them until the file changes.
    QHash<QString, qint64> m_unplayable;
    QFileSystemWatcher m_watcher; // the folders and files of those entries
    QList<Position> m_jumps;
    WallClock m_wallClock;
    qint64 m_programmeStart = -1;
    QList<TalkTime> m_talks;
    QString m_talk; // the talk whose time counts now
    qint64 m_talkSince = 0;
    Clock m_clock;
    qint64 m_stopArmedAt = -1;
    int m_batchDepth = 0;
    Changes m_pendingChanges;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Show::Changes)
