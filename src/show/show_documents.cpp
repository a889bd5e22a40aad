#include "show/show.h"

#include "show/showlog.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/undohistory.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QFileInfo>

#include <utility>

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

void Show::recordOpen(const QString &path)
{
    m_history->recordStep(UndoStep::Document, tr("Open %1").arg(fileName(path)));
}

void Show::open(const QString &path, Origin origin)
{
    Load how;
    how.resetClock = how.endsSwitch = origin == Origin::Operator || origin == Origin::Programme;
    how.entryClock = origin == Origin::Playlist;
    how.prepareClock = origin == Origin::Programme;
    if (origin == Origin::Programme)
        resetSession();
    load(path, how);
}

void Show::openByOperator(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // A file that is not there changes nothing, so there is nothing to undo either.
    if (absolute != m_pdf->filePath() && QFileInfo(absolute).isFile())
        recordOpen(absolute);
    open(path, Origin::Operator);
}

bool Show::load(const QString &path, const Load &how)
{
    const Batch batch(*this);
    if (hasPages())
        Q_EMIT documentLeaving(m_pdf->filePath());
    const QFileInfo info(path);
    if (!info.isFile()) {
        Q_EMIT documentMissing(path);
        return false;
    }
    // The operator's own open ends a playlist switch that is still loading.
    if (how.endsSwitch)
        endSwitch();
    m_documentPath = info.absoluteFilePath();
    m_entryClock = how.entryClock;
    m_prepareClock = how.prepareClock;
    if (how.resetClock) {
        // The talk that was running keeps its time for when the show comes back to it.
        if (!m_clockOwner.isEmpty())
            m_clocks.insert(std::exchange(m_clockOwner, QString()), m_countdown->state());
        m_countdown->stopAndReset();
    }
    m_countdown->tick();
    m_startPage = how.startPage;
    m_pdf->load(m_documentPath, QString(), m_presentation->firstRender(m_startPage));
    m_presentation->setStartPage(m_startPage);
    Q_EMIT notice(tr("Loading PDF..."), 0);
    emitChanged(DocumentChanged);
    return true;
}

void Show::activateEntry(int row)
{
    if (row < 0 || row >= m_playlist->count())
        return;
    const QString path = m_playlist->files().at(row);
    const QString current = m_documentPath;
    if (path == current)
        return;
    // A refused switch changes nothing, so it leaves nothing to undo.
    if (QFileInfo(path).isFile() && !m_switch.active)
        recordOpen(path);
    Load how;
    how.entryClock = true;
    if (current.isEmpty()) {
        // The first file of a show starts the clock afresh.
        how.resetClock = how.endsSwitch = true;
        load(path, how);
    } else if (m_playlist->currentIndex() < 0) {
        load(path, how);
    } else {
        openEntry(row, 0);
    }
}

void Show::openEntry(int index, int startPage)
{
    if (index < 0 || index >= m_playlist->count() || m_switch.active)
        return;
    const Batch batch(*this);
    const QString path = m_playlist->files().at(index);
    if (!QFileInfo(path).isFile()) {
        markUnplayable(path);
        qCWarning(lcShow) << "playlist file missing:" << path;
        noticeLong(tr("The playlist file is missing:\n%1\nThe presentation stays on the current file.").arg(path));
        return;
    }
    const int direction = index < entry() ? -1 : 1;
    m_switch = Switch{};
    m_switch.active = true;
    m_switch.direction = direction;
    m_switch.target = path;
    m_switch.previousDocument = m_documentPath;
    m_switch.previousPage = std::max(0, m_presentation->shownPage());
    qCInfo(lcShow) << "switching to playlist entry" << index + 1 << "of" << m_playlist->count();
    // The audience keeps the old frame until the new file's first frame is ready.
    m_presentation->setKeepFrameOnClose(true);
    m_presentation->setCrossingDirection(direction);
    Load how;
    how.entryClock = true;
    how.startPage = startPage;
    load(path, how);
    emitChanged(SwitchChanged);
}

void Show::onLoaded(int pages)
{
    const Batch batch(*this);
    const QString path = m_pdf->filePath();
    forgetUnplayable(path);
    m_playlist->setCurrentDocument(path);
    applyTalkEnd();
    enterTalk(m_playlist->currentIndex() >= 0 ? path : QString());
    // While the switch still counts as running, the reader's saved place does not move the
    // audience from the page the switch opened at.
    Q_EMIT documentOpened(pages);
    m_switch.active = m_switch.recovering = false;
    m_stranded.clear();
    if (std::exchange(m_entryClock, false)) {
        applyEntryClock(path);
    } else if (std::exchange(m_prepareClock, false) && m_playlist->minutesFor(path) > 0) {
        m_countdown->prepareCountdown(m_playlist->minutesFor(path));
        m_clockOwner = path;
    }
    // After the window's own "loaded" message, so that it stays readable.
    if (!m_switch.recoveryNotice.isEmpty())
        noticeLong(std::exchange(m_switch.recoveryNotice, QString()));
    emitChanged(DocumentChanged | EntryChanged | SwitchChanged);
}

void Show::applyEntryClock(const QString &path)
{
    // Without a countdown the running timer is not changed when this file begins.
    const int minutes = m_playlist->minutesFor(path);
    if (minutes <= 0 || path == m_clockOwner)
        return;
    if (!m_clockOwner.isEmpty())
        m_clocks.insert(m_clockOwner, m_countdown->state());
    m_clockOwner = path;
    // Back in a talk the show has left, its countdown goes on from where it was.
    if (m_clocks.contains(path))
        m_countdown->restoreState(m_clocks.take(path));
    else
        m_countdown->startCountdown(minutes);
}

void Show::onFailed(const QString &message, bool passwordRequired)
{
    if (passwordRequired) {
        m_failure = message;
        Q_EMIT this->passwordRequired(m_documentPath, message);
        return;
    }
    fail(message, true);
}

void Show::retryWithPassword(const QString &password)
{
    if (m_documentPath.isEmpty())
        return;
    m_pdf->load(m_documentPath, password, m_presentation->firstRender(m_startPage));
    m_presentation->setStartPage(m_startPage);
}

void Show::declinePassword()
{
    fail(m_failure, false);
}

void Show::fail(const QString &message, bool tell)
{
    const Batch batch(*this);
    // A playlist switch reports in the status bar instead and goes on without the file.
    const QString failed = std::exchange(m_documentPath, QString());
    if (tell && !m_switch.active)
        Q_EMIT openFailed(failed, message);
    m_entryClock = m_prepareClock = false;
    m_playlist->setCurrentDocument(QString());
    emitChanged(DocumentChanged | EntryChanged);
    if (m_switch.active)
        switchFailed(failed, message);
}

void Show::switchFailed(const QString &path, const QString &message)
{
    const Switch failed = std::exchange(m_switch, Switch{});
    markUnplayable(path);
    m_presentation->setCrossingDirection(0);
    const QString text = tr("Cannot open %1: %2").arg(fileName(path), message);
    qCWarning(lcShow).noquote() << "playlist switch failed:" << path << message;
    // One attempt to bring back the file that was showing; a failure of that ends it.
    if (failed.previousDocument.isEmpty() || failed.recovering || !QFileInfo(failed.previousDocument).isFile()) {
        // Nothing to return to: the audience and the LIVE view go blank together, and the
        // clicker goes on from the entry the switch went to.
        m_stranded = failed.target;
        m_presentation->clearFrame();
        noticeLong(text);
        emitChanged(SwitchChanged | EntryChanged);
        return;
    }
    qCInfo(lcShow) << "reopening" << failed.previousDocument;
    reopenPrevious(failed, text);
}

void Show::backOutOfSwitch()
{
    const Switch left = std::exchange(m_switch, Switch{});
    qCInfo(lcShow) << "back to" << left.previousDocument << "before" << left.target << "has loaded";
    reopenPrevious(left, QString());
}

void Show::reopenPrevious(const Switch &left, const QString &notice)
{
    m_switch = Switch{};
    m_switch.active = m_switch.recovering = true;
    m_switch.target = left.target;
    m_switch.recoveryNotice = notice;
    // The audience still sees that page: it comes back without a transition.
    m_presentation->setCrossingDirection(0);
    m_presentation->setKeepFrameOnClose(true);
    Load how;
    how.startPage = left.previousPage;
    load(left.previousDocument, how);
    emitChanged(SwitchChanged);
}

void Show::endSwitch()
{
    // The start page and direction belong to the file that no longer comes.
    if (!m_switch.active && m_stranded.isEmpty() && m_switch.direction == 0)
        return;
    m_switch = Switch{};
    m_stranded.clear();
    m_presentation->setKeepFrameOnClose(false);
    m_presentation->setCrossingDirection(0);
    emitChanged(SwitchChanged);
}

void Show::closeDocument()
{
    const Batch batch(*this);
    if (!m_documentPath.isEmpty())
        m_history->recordStep(UndoStep::Document, tr("Close %1").arg(fileName(m_documentPath)));
    if (hasPages())
        Q_EMIT documentLeaving(m_pdf->filePath());
    endSwitch();
    m_documentPath.clear();
    m_entryClock = false;
    enterTalk(QString());
    m_playlist->setCurrentDocument(QString());
    m_pdf->close();
    // Only the operator's own close lifts a blackout; opening another document keeps it.
    setBlackout(false);
    Q_EMIT notice(QString(), 0);
    emitChanged(DocumentChanged | EntryChanged);
}

void Show::returnTo(const QString &document)
{
    const QString current = m_documentPath;
    if (document.isEmpty()) {
        if (!current.isEmpty())
            closeDocument();
        return;
    }
    if (document == current)
        return;
    if (!QFileInfo(document).isFile()) {
        Q_EMIT documentMissing(document);
        return;
    }
    const int index = int(m_playlist->files().indexOf(document));
    if (m_playlist->currentIndex() >= 0 && index >= 0)
        openEntry(index, 0);
    else
        open(document, Origin::Back);
}

void Show::noticeLong(const QString &text)
{
    Q_EMIT notice(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')), 15000);
}
