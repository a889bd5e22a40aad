#include "playlistcontrol.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistlog.h"
#include "playlist/undohistory.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QFileInfo>
#include <QMessageBox>

#include <utility>

int PlaylistControl::currentPage() const
{
    return m_presentation->shownPage();
}

int PlaylistControl::position() const
{
    const int current = m_playlist->currentIndex();
    return current >= 0 || m_stranded.isEmpty() ? current : int(m_playlist->files().indexOf(m_stranded));
}

int PlaylistControl::entryBeside(int step) const
{
    const int from = position();
    if (from < 0)
        return -1;
    const QStringList &files = m_playlist->files();
    for (int index = from + step; index >= 0 && index < files.size(); index += step) {
        if (!m_unplayable.contains(files.at(index)))
            return index;
    }
    return -1;
}

void PlaylistControl::switchToNextFile()
{
    openEntry(entryBeside(1), 0);
}

void PlaylistControl::switchToPreviousFile()
{
    openEntry(entryBeside(-1), -2);
}

void PlaylistControl::notice(const QString &text)
{
    Q_EMIT statusMessage(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')), 15000);
}

void PlaylistControl::activateEntry(int row)
{
    if (row < 0 || row >= m_playlist->count())
        return;
    const QString path = m_playlist->files().at(row);
    const QString current = currentDocument();
    if (path == current)
        return;
    // A refused switch changes nothing, so it leaves nothing to undo.
    if (QFileInfo(path).isFile() && !m_fileSwitch)
        recordOpen(path);
    if (current.isEmpty()) {
        m_openedFromPlaylist = true;
        openDocument(path, true);
    } else if (m_playlist->currentIndex() < 0) {
        m_openedFromPlaylist = true;
        openDocument(path, false);
    } else {
        openEntry(row, 0);
    }
}

void PlaylistControl::openEntry(int index, int startPage)
{
    if (index < 0 || index >= m_playlist->count() || m_fileSwitch)
        return;
    const QString path = m_playlist->files().at(index);
    if (!QFileInfo(path).isFile()) {
        m_unplayable.insert(path);
        qCWarning(lcPlaylist) << "playlist file missing:" << path;
        notice(tr("The playlist file is missing:\n%1\nThe presentation stays on the current file.").arg(path));
        return;
    }
    m_previousDocument = currentDocument();
    m_previousLivePage = std::max(0, currentPage());
    m_startPage = startPage;
    m_openedFromPlaylist = true;
    m_direction = index < position() ? -1 : 1;
    m_fileSwitch = true;
    m_target = path;
    qCInfo(lcPlaylist) << "switching to playlist entry" << index + 1 << "of" << m_playlist->count();
    // The audience keeps the old frame until the new file's first frame is ready.
    m_presentation->setKeepFrameOnClose(true);
    openDocument(path, false);
}

void PlaylistControl::documentLoaded(int pages)
{
    m_recovering = false;
    m_fileSwitch = false;
    m_stranded.clear();
    if (m_startPage != -1) {
        m_presentation->goToPage(m_startPage == -2 ? pages - 1 : std::min(m_startPage, pages - 1));
        m_startPage = -1;
    }
    m_unplayable.remove(m_pdf->filePath());
    m_playlist->setCurrentDocument(m_pdf->filePath());
    if (m_openedFromPlaylist) {
        m_openedFromPlaylist = false;
        // Without a countdown the running timer is not changed when this file begins.
        const int minutes = m_playlist->minutesFor(m_pdf->filePath());
        if (minutes > 0)
            m_countdown->startCountdown(minutes);
    }
    // After the window's own "loaded" message, so that it stays readable.
    if (!m_recoveryNotice.isEmpty())
        notice(std::exchange(m_recoveryNotice, QString()));
}

void PlaylistControl::documentFailed(const QString &path, const QString &message)
{
    m_openedFromPlaylist = false;
    m_playlist->setCurrentDocument(QString());
    if (!m_fileSwitch)
        return;
    m_fileSwitch = false;
    m_startPage = -1;
    m_direction = 0;
    m_unplayable.insert(path);
    const QString text = tr("Cannot open %1: %2").arg(QFileInfo(path).fileName(), message);
    qCWarning(lcPlaylist).noquote() << "playlist switch failed:" << path << message;
    // One attempt to bring back the file that was showing; a failure of that ends it.
    if (m_previousDocument.isEmpty() || m_recovering || !QFileInfo(m_previousDocument).isFile()) {
        m_recovering = false;
        // Nothing to return to: the audience and the LIVE view go blank together, and the
        // clicker goes on from the entry the switch went to.
        m_stranded = m_target;
        m_presentation->clearFrame();
        m_recoveryNotice.clear();
        notice(text);
        return;
    }
    qCInfo(lcPlaylist) << "reopening" << m_previousDocument;
    m_recoveryNotice = text;
    m_fileSwitch = true;
    m_recovering = true;
    m_startPage = m_previousLivePage;
    m_presentation->setKeepFrameOnClose(true);
    openDocument(m_previousDocument, false);
}

void PlaylistControl::abandonSwitch()
{
    // The start page and direction belong to the file that no longer comes.
    m_fileSwitch = m_recovering = false;
    m_startPage = -1;
    m_direction = 0;
    m_stranded.clear();
    m_recoveryNotice.clear();
    m_presentation->setKeepFrameOnClose(false);
}

void PlaylistControl::undoLast()
{
    if (m_history->isEmpty() || m_fileSwitch)
        return;
    const UndoStep step = m_history->takeLast();
    m_history->setRestoring(true);
    switch (step.kind) {
    case UndoStep::Playlist:
        commit(step.files, step.fileMinutes);
        break;
    case UndoStep::Time:
        m_countdown->setTimerSeconds(step.seconds);
        break;
    case UndoStep::Document:
        restoreDocument(step.document);
        break;
    }
    m_history->setRestoring(false);
    Q_EMIT statusMessage(tr("Undone: %1").arg(step.label), 5000);
}

void PlaylistControl::restoreDocument(const QString &document)
{
    const QString current = currentDocument();
    if (document.isEmpty()) {
        if (!current.isEmpty() && m_hooks.closeDocument)
            m_hooks.closeDocument();
        return;
    }
    if (document == current)
        return;
    if (!QFileInfo(document).isFile()) {
        QMessageBox::warning(m_window, tr("Missing document"),
                             tr("The document no longer exists. Use Open to select another file."));
        return;
    }
    const int index = int(m_playlist->files().indexOf(document));
    if (m_playlist->currentIndex() >= 0 && index >= 0) {
        openEntry(index, 0);
    } else {
        m_openedFromPlaylist = false;
        openDocument(document, false);
    }
}
