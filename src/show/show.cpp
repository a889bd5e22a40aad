#include "show/show.h"

#include "show/showlog.h"

#include "base/appsettings.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QFileInfo>

#include <utility>

Q_LOGGING_CATEGORY(lcShow, "olvanti.show")

Show::Show(const Services &services, QObject *parent)
    : QObject(parent)
    , m_pdf(services.pdf)
    , m_presentation(services.presentation)
    , m_playlist(services.playlist)
    , m_countdown(services.countdown)
    , m_history(services.history)
    , m_settings(services.settings)
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
    connect(m_playlist, &Playlist::changed, this, [this] { emitChanged(EntryChanged); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { emitChanged(EntryChanged); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { emitChanged(EntryChanged); });
}

Show::~Show() = default;

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
    const int target = last ? m_pdf->pageCount() - 1 : 0;
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
    if (count > 0 && m_presentation->shownPage() + 1 < count) {
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
        openEntry(previous, -2);
    } else if (pages) {
        m_presentation->previous();
    }
}

void Show::refreshEnd()
{
    // The end of the presentation is forgotten once the page is no longer the last one.
    if (m_endReached && m_presentation->shownPage() != m_pdf->pageCount() - 1) {
        m_endReached = false;
        emitChanged(EndChanged);
    }
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
    if (shown) {
        qCInfo(lcShow, "Output on");
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
