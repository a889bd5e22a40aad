#include "playlistcontrol.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistlog.h"
#include "playlist/undohistory.h"
#include "presentation/presentation.h"
#include "timer/countdown.h"

#include <QFileInfo>
#include <QMessageBox>

int PlaylistControl::currentPage() const
{
    return m_presentation->shownPage();
}

bool PlaylistControl::hasNextFile() const
{
    return m_playlist->hasNext();
}

bool PlaylistControl::hasPreviousFile() const
{
    return m_playlist->hasPrevious();
}

void PlaylistControl::switchToNextFile()
{
    openEntry(m_playlist->currentIndex() + 1, 0);
}

void PlaylistControl::switchToPreviousFile()
{
    openEntry(m_playlist->currentIndex() - 1, -2);
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
        QMessageBox::warning(m_window, tr("Missing document"),
                             tr("The playlist file is missing:\n%1\nThe presentation stays on the current file.")
                                 .arg(path));
        return;
    }
    m_previousDocument = currentDocument();
    m_previousLivePage = std::max(0, currentPage());
    m_startPage = startPage;
    m_openedFromPlaylist = true;
    m_direction = index < m_playlist->currentIndex() ? -1 : 1;
    m_fileSwitch = true;
    qCInfo(lcPlaylist) << "switching to playlist entry" << index + 1 << "of" << m_playlist->count();
    // The audience keeps the old frame until the new file's first frame is ready.
    m_presentation->setKeepFrameOnClose(true);
    openDocument(path, false);
}

void PlaylistControl::documentLoaded(int pages)
{
    m_recovering = false;
    m_fileSwitch = false;
    if (m_startPage != -1) {
        m_presentation->goToPage(m_startPage == -2 ? pages - 1 : std::min(m_startPage, pages - 1));
        m_startPage = -1;
    }
    m_playlist->setCurrentDocument(m_pdf->filePath());
    if (m_openedFromPlaylist) {
        m_openedFromPlaylist = false;
        // Without a countdown the running timer is not changed when this file begins.
        const int minutes = m_playlist->minutesFor(m_pdf->filePath());
        if (minutes > 0)
            m_countdown->startCountdown(minutes);
    }
}

void PlaylistControl::documentFailed()
{
    m_openedFromPlaylist = false;
    m_playlist->setCurrentDocument(QString());
    if (!m_fileSwitch)
        return;
    m_fileSwitch = false;
    m_startPage = -1;
    m_direction = 0;
    // One attempt to bring back the file that was showing; a failure of that ends it.
    if (m_previousDocument.isEmpty() || m_recovering || !QFileInfo(m_previousDocument).isFile()) {
        m_recovering = false;
        return;
    }
    qCWarning(lcPlaylist) << "switch failed, reopening" << m_previousDocument;
    m_fileSwitch = true;
    m_recovering = true;
    m_startPage = m_previousLivePage;
    m_presentation->setKeepFrameOnClose(true);
    openDocument(m_previousDocument, false);
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
