#include "show/show.h"

#include "show/showlog.h"

#include "base/appsettings.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <utility>

Q_LOGGING_CATEGORY(lcShow, "olvanti.show")

namespace {

qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

Show::Show(const Services &services, QObject *parent)
    : QObject(parent)
    , m_pdf(services.pdf)
    , m_presentation(services.presentation)
    , m_playlist(services.playlist)
    , m_countdown(services.countdown)
    , m_history(services.history)
    , m_settings(services.settings)
    , m_wallClock(&QDateTime::currentMSecsSinceEpoch)
    , m_clock(steadyMilliseconds)
{
    // After the presentation's own handlers, which place the new document at its start page.
    connect(m_pdf, &PdfService::loaded, this, &Show::onLoaded);
    connect(m_pdf, &PdfService::failed, this, &Show::onFailed);
    // Every load starts by closing the previous document: opening one forgets the end notice.
    connect(m_pdf, &PdfService::closed, this, [this] {
        m_endReached = false;
        emitChanged(DocumentChanged | EndChanged);
    });
    connect(m_presentation, &Presentation::frameReady, this, [this](const QImage &frame) {
        if (!frame.isNull())
            m_switch.direction = 0;
        refreshEnd();
        emitChanged(LiveChanged | PageChanged);
    });
    connect(m_presentation, &Presentation::changed, this, [this] {
        refreshEnd();
        emitChanged(LiveChanged | PageChanged);
    });
    connect(m_countdown, &Countdown::displayChanged, this, [this] {
        if (m_countdown->isRunning())
            beginProgramme();
    });
    connect(m_playlist, &Playlist::changed, this, [this] {
        applyTalkEnd();
        emitChanged(EntryChanged);
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { emitChanged(EntryChanged); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { emitChanged(EntryChanged); });
}

Show::~Show() = default;

void Show::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(steadyMilliseconds);
}

void Show::emitChanged(Changes what)
{
    const Batch batch(*this);
    m_pendingChanges |= what;
}

bool Show::hasPages() const
{
    return m_pdf->pageCount() > 0;
}

bool Show::audienceFollows() const
{
    return presenting() || (m_outputShown && !(m_reader && m_reader->scrolling()));
}

int Show::entry() const
{
    const int current = m_playlist->currentIndex();
    return current >= 0 || m_stranded.isEmpty() ? current : int(m_playlist->files().indexOf(m_stranded));
}

bool Show::stillUnplayable(const QString &path) const
{
    const auto failed = m_unplayable.constFind(path);
    if (failed == m_unplayable.constEnd())
        return false;
    // A file that came back, or was written anew, gets another chance.
    const QFileInfo info(path);
    return failed.value() == (info.isFile() ? info.lastModified().toMSecsSinceEpoch() ^ info.size() : -1);
}

void Show::markUnplayable(const QString &path)
{
    const QFileInfo info(path);
    m_unplayable.insert(path, info.isFile() ? info.lastModified().toMSecsSinceEpoch() ^ info.size() : -1);
    // A file that comes back (or is written anew) changes what Next will open, and NEXT says so.
    m_watcher.addPath(info.absolutePath());
    if (info.isFile())
        m_watcher.addPath(path);
    emitChanged(EntryChanged);
}

void Show::forgetUnplayable(const QString &path)
{
    if (!m_unplayable.remove(path) || !m_unplayable.isEmpty())
        return;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
}

int Show::entryBeside(int step) const
{
    const int from = entry();
    if (from < 0)
        return -1;
    const QStringList &files = m_playlist->files();
    for (int index = from + step; index >= 0 && index < files.size(); index += step) {
        if (!stillUnplayable(files.at(index)))
            return index;
    }
    return -1;
}

void Show::next()
{
    stepSlide(1);
}

void Show::previous()
{
    stepSlide(-1);
}

void Show::stepSlide(int direction)
{
    const Batch batch(*this);
    const bool forward = direction > 0;
    if (!m_reader || audienceFollows()) {
        forward ? presentationNext() : presentationPrevious();
    } else if (!m_reader->scrolling()) {
        m_reader->moveReaderTo(m_reader->readerPage() + direction, false);
    } else if (m_outputShown && (forward ? m_reader->scrollAtEnd() : m_reader->scrollAtTop())) {
        // At the edge of the scroll the audience's page goes on, into the next or previous file.
        const int edge = forward ? m_pdf->pageCount() - 1 : 0;
        if (m_presentation->livePage() != edge)
            m_presentation->goToPage(edge);
        forward ? presentationNext() : presentationPrevious();
    } else {
        m_reader->stepScreens(direction);
    }
}

void Show::stepLines(int direction)
{
    if (m_reader && !presenting() && m_reader->scrolling())
        m_reader->stepLines(direction);
    else
        stepSlide(direction);
}

void Show::first()
{
    goToEdge(false);
}

void Show::last()
{
    goToEdge(true);
}

void Show::goToEdge(bool last)
{
    const Batch batch(*this);
    const int target = last ? talkEnd() : 0;
    if (!m_reader || presenting())
        m_presentation->goToPage(target);
    else if (m_reader->scrolling())
        m_reader->scrollToEdge(last);
    else
        m_reader->moveReaderTo(target, false);
}

void Show::nextReaderPage()
{
    if (m_reader)
        m_reader->moveReaderTo(m_reader->readerPage() + 1, true);
}

void Show::previousReaderPage()
{
    if (m_reader)
        m_reader->moveReaderTo(m_reader->readerPage() - 1, true);
}

void Show::goToPage(int page)
{
    const Batch batch(*this);
    m_presentation->goToPage(page);
}

void Show::choosePage(int page)
{
    if (!m_reader || presenting())
        goToPage(page);
    else
        m_reader->moveReaderTo(page, false);
}

void Show::presentationNext()
{
    if (m_switch.active)
        return;
    // Without a document (a playlist switch that failed) the playlist still goes on.
    const int count = m_pdf->pageCount();
    const int shown = m_presentation->shownPage();
    // On the talk's end page Next goes on into the next file; backup slides after it go on
    // to the document's end.
    if (count > 0 && shown + 1 < count && shown != talkEnd()) {
        m_presentation->next();
        return;
    }
    if (const int next = entryBeside(1); next >= 0) {
        openEntry(next, 0);
        return;
    }
    if (count == 0 || m_endReached)
        return;
    m_endReached = true;
    m_endPage = shown;
    if (m_countdown->isRunning())
        m_countdown->toggleTimer();
    Q_EMIT notice(tr("End of presentation. Press Previous to go back."), 15000);
    emitChanged(EndChanged);
}

void Show::presentationPrevious()
{
    if (m_switch.active) {
        // Previous while the next file still loads (a huge or slow one) goes back to the file
        // the audience still sees, at its page; the load is abandoned.
        if (m_switch.direction > 0 && !m_switch.recovering && QFileInfo(m_switch.previousDocument).isFile())
            backOutOfSwitch();
        return;
    }
    const bool pages = hasPages();
    if (pages && m_presentation->shownPage() > 0) {
        m_presentation->previous();
    } else if (const int previous = entryBeside(-1); previous >= 0) {
        openEntry(previous, entryEndStart(previous));
    } else if (pages) {
        m_presentation->previous();
    }
}

void Show::refreshEnd()
{
    // The end of the presentation is forgotten once the page is no longer the last one.
    if (m_endReached && m_presentation->shownPage() != m_endPage) {
        m_endReached = false;
        emitChanged(EndChanged);
    }
}

int Show::talkEnd() const
{
    const int count = m_pdf->pageCount();
    const int end = m_playlist->endPageFor(m_documentPath) - 1;
    return end >= 0 && end < count ? end : count - 1;
}

int Show::entryEndStart(int index) const
{
    const int end = m_playlist->endPageFor(m_playlist->files().value(index));
    return end > 0 ? end - 1 : -2;
}

void Show::applyTalkEnd()
{
    const int end = m_playlist->endPageFor(m_documentPath) - 1;
    m_presentation->setTalkEnd(end >= 0 && end < m_pdf->pageCount() - 1 ? end : -1);
}

bool Show::blackout() const
{
    return m_blackout;
}

void Show::setBlackout(bool on)
{
    if (on == m_blackout)
        return;
    m_blackout = on;
    emitChanged(BlackoutChanged);
}

void Show::toggleBlackout()
{
    setBlackout(!m_blackout);
}

void Show::setWallClock(WallClock clock)
{
    m_wallClock = clock ? std::move(clock) : WallClock(&QDateTime::currentMSecsSinceEpoch);
}

void Show::beginProgramme()
{
    if (m_programmeStart >= 0)
        return;
    m_programmeStart = m_clock();
    enterTalk(m_playlist->currentIndex() >= 0 ? m_documentPath : QString());
}

void Show::enterTalk(const QString &path)
{
    if (path == m_talk || m_programmeStart < 0)
        return;
    const qint64 now = m_clock();
    if (!m_talk.isEmpty()) {
        for (TalkTime &talk : m_talks) {
            if (talk.path == m_talk) {
                talk.shownMs += now - m_talkSince;
                talk.end = m_wallClock();
                m_playlist->setShownSeconds(talk.path, int(talk.shownMs / 1000));
            }
        }
    }
    m_talk = path;
    m_talkSince = now;
    if (path.isEmpty() || std::any_of(m_talks.cbegin(), m_talks.cend(), [&](const TalkTime &t) { return t.path == path; }))
        return;
    m_talks.append({path, m_playlist->minutesFor(path), m_wallClock(), 0, 0});
}

void Show::resetSession()
{
    enterTalk(QString());
    m_talks.clear();
    m_programmeStart = -1;
    m_clocks.clear();
    m_playlist->clearShownTimes();
}

qint64 Show::programmeElapsed() const
{
    return m_programmeStart < 0 ? 0 : m_clock() - m_programmeStart;
}

qint64 Show::talkElapsed() const
{
    for (const TalkTime &talk : timing()) {
        if (talk.path == m_talk)
            return talk.shownMs;
    }
    return 0;
}

QList<Show::TalkTime> Show::timing() const
{
    QList<TalkTime> talks = m_talks;
    for (TalkTime &talk : talks) {
        if (talk.path == m_talk) {
            talk.shownMs += m_clock() - m_talkSince;
            talk.end = m_wallClock();
        }
    }
    return talks;
}

QString Show::timingReport() const
{
    const auto field = [](QString text) -> QString {
        // Quoted whenever it could be read as more than one field or as a formula.
        if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
            || text.startsWith(QLatin1Char('=')) || text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))
            || text.startsWith(QLatin1Char('@')))
            return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        return text;
    };
    const auto time = [](qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm:ss")); };
    QString csv = QStringLiteral("file,planned minutes,start,end,duration\n");
    for (const TalkTime &talk : timing()) {
        const qint64 seconds = talk.shownMs / 1000;
        csv += field(QFileInfo(talk.path).fileName()) + QLatin1Char(',') + QString::number(talk.plannedMinutes)
               + QLatin1Char(',') + time(talk.start) + QLatin1Char(',') + time(talk.end) + QLatin1Char(',')
               + QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'))
               + QLatin1Char('\n');
    }
    return csv;
}

Show::Position Show::position() const
{
    const bool audience = !m_reader || audienceFollows();
    return {m_documentPath, audience ? m_presentation->shownPage() : m_reader->readerPage()};
}

void Show::recordJump()
{
    const Position here = position();
    if (here.document.isEmpty() || here.page < 0)
        return;
    if (!m_jumps.isEmpty() && m_jumps.constLast().document == here.document && m_jumps.constLast().page == here.page)
        return;
    m_jumps.append(here);
    if (m_jumps.size() > MaxJumps)
        m_jumps.removeFirst();
}

void Show::jumpTo(int page)
{
    if (!hasPages() || m_switch.active)
        return;
    const Batch batch(*this);
    recordJump();
    choosePage(page);
}

void Show::jumpToEntry(int index, int page)
{
    if (index == entry()) {
        jumpTo(page);
        return;
    }
    if (index < 0 || index >= m_playlist->count() || m_switch.active)
        return;
    const Batch batch(*this);
    recordJump();
    openEntry(index, std::max(page, 0));
}

void Show::returnFromJump()
{
    if (m_jumps.isEmpty() || m_switch.active)
        return;
    const Batch batch(*this);
    const Position back = m_jumps.takeLast();
    if (back.document == m_documentPath) {
        choosePage(back.page);
        return;
    }
    const int index = int(m_playlist->files().indexOf(back.document));
    if (index >= 0 && m_playlist->currentIndex() >= 0) {
        openEntry(index, back.page);
    } else {
        Load how;
        how.startPage = back.page;
        load(back.document, how);
    }
}

bool Show::confirmStop()
{
    if (!m_outputShown)
        return true;
    const qint64 now = m_clock();
    if (m_stopArmedAt >= 0 && now - m_stopArmedAt <= StopConfirmMs) {
        m_stopArmedAt = -1;
        return true;
    }
    // A stray key must not end the show.
    m_stopArmedAt = now;
    Q_EMIT notice(tr("The output stays on. Give Exit presentation again within two seconds to end it."),
                  int(StopConfirmMs) + 1000);
    return false;
}

void Show::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    const Batch batch(*this);
    m_mode = mode;
    applyTwoPageOutput();
    emitChanged(ModeChanged);
}

void Show::setOutputShown(bool shown)
{
    if (shown == m_outputShown) {
        emitChanged(OutputChanged); // a toggle that was refused shows the real state again
        return;
    }
    const Batch batch(*this);
    m_outputShown = shown;
    m_stopArmedAt = -1;
    if (shown) {
        qCInfo(lcShow, "Output on");
        beginProgramme();
        if (m_reader && !presenting())
            m_presentation->goToPage(m_reader->readerPage());
        if (m_settings && m_settings->timerAutoStart() && !m_countdown->isRunning())
            m_countdown->toggleTimer();
    }
    applyTwoPageOutput();
    emitChanged(OutputChanged);
}

void Show::readerPageChanged(int page)
{
    // In presenter mode the operator drives the output; the reader only keeps its own place.
    // A file that opens at its own start page is not moved by the reader's saved place.
    if (!m_outputShown || presenting() || m_switch.active || m_presentation->shownPage() == page)
        return;
    goToPage(page);
}

void Show::readerLayoutChanged()
{
    applyTwoPageOutput();
}

void Show::applyTwoPageOutput()
{
    m_presentation->setTwoPageOutput(!presenting() && m_outputShown && m_reader && m_reader->twoPageSpread());
}
