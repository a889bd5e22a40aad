#include "mainwindow.h"

#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/undohistory.h"
#include "presentation/outputcontrol.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "timer/countdown.h"
#include "base/appsettings.h"
#include "ui/playlistcontrol.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

#include <utility>

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// Drops and dialogs hand over only local files; folders and web links are not documents.
bool isLocalDocument(const QUrl &url)
{
    return url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir();
}

} // namespace

void MainWindow::openPath(const QString &path)
{
    if (Playlist::isPlaylistPath(path)) {
        m_playlistControl->loadPlaylistFile(path);
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // A file that is not there changes nothing, so there is nothing to undo either.
    if (absolute != m_pdf->filePath() && QFileInfo(absolute).isFile())
        m_playlistControl->recordOpen(absolute);
    m_playlistControl->setOpenedFromPlaylist(false);
    openDocument(path, true);
}

void MainWindow::openDocument(const QString &path, bool userInitiated)
{
    saveReadingPosition();
    const QFileInfo info(path);
    if (!info.isFile()) {
        QMessageBox::warning(this, tr("Missing document"),
                             tr("The document no longer exists. Use Open to select another file."));
        m_playlistControl->setOpenedFromPlaylist(false);
        return;
    }
    // The operator's own open ends a playlist switch that is still loading.
    if (userInitiated)
        m_playlistControl->abandonSwitch();
    m_documentPath = info.absoluteFilePath();
    m_search->clearText();
    m_reader->resetRotation();
    if (userInitiated)
        m_countdown->stopAndReset();
    m_countdown->tick();
    m_pdf->load(m_documentPath);
    statusBar()->showMessage(tr("Loading PDF..."));
}

void MainWindow::saveReadingPosition()
{
    if (m_pdf->pageCount() > 0 && !m_pdf->filePath().isEmpty())
        m_settings->setPosition(m_pdf->filePath(), m_reader->currentPage());
}

void MainWindow::onLoaded(int pages)
{
    m_reader->documentLoaded(pages);
    const int saved = m_settings->position(m_pdf->filePath());
    m_reader->showReaderPage(std::max(0, std::min(saved, pages - 1)));

    m_settings->pushRecent(m_pdf->filePath());
    rebuildRecentMenu();
    setWindowTitle(tr("%1 - OlvantiVIVuderidazi").arg(fileName(m_pdf->filePath())));
    statusBar()->showMessage(tr("Document loaded. Clicker input works while either application window is active."));

    // Switch flags, start page, current index and the file's own countdown.
    m_playlistControl->documentLoaded(pages);
    refreshView();
}

void MainWindow::onFailed(const QString &message, bool passwordRequired)
{
    Q_EMIT documentFailed();
    if (passwordRequired) {
        bool ok = false;
        const QString password =
            QInputDialog::getText(this, tr("Encrypted PDF"), message, QLineEdit::Password, QString(), &ok);
        // A wrong password fails again and brings the dialog back, until the operator cancels.
        if (ok) {
            m_pdf->load(m_documentPath, password);
            return;
        }
    } else if (!m_playlistControl->fileSwitchInProgress()) {
        // A playlist switch reports in the status bar instead and goes on without the file.
        QMessageBox::critical(this, tr("Cannot open PDF"), message);
    }
    // Nothing is open now; a playlist switch falls back to the file it came from.
    const QString failed = std::exchange(m_documentPath, QString());
    m_playlistControl->documentFailed(failed, message);
    refreshView();
}

void MainWindow::onClosed()
{
    m_search->clearResults();
    m_reader->documentClosed();
    clearPrepared();
    m_failedPages.clear();
    setWindowTitle(QStringLiteral("OlvantiVIVuderidazi"));
}

void MainWindow::closeDocument()
{
    if (!m_documentPath.isEmpty())
        m_undo->recordStep(UndoStep::Document, tr("Close %1").arg(fileName(m_documentPath)));
    saveReadingPosition();
    m_playlistControl->abandonSwitch();
    m_documentPath.clear();
    m_playlist->setCurrentDocument(QString());
    m_pdf->close();
    // Only the operator's own close lifts a blackout; opening another document keeps it.
    m_presentation->setBlackout(false);
    statusBar()->clearMessage();
}

void MainWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    const QStringList recent = m_settings->recent();
    for (const QString &path : recent) {
        QAction *action = m_recentMenu->addAction(fileName(path));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { openPath(path); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

void MainWindow::showOpenDialog()
{
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, tr("Open PDF"), QString(),
        tr("PDF documents (*.pdf);;Olvanti playlist (*.oplaylist *.opack);;All files (*)"));
    if (!chosen.isEmpty())
        openChosenFiles(chosen);
}

void MainWindow::openChosenFiles(const QStringList &paths)
{
    if (Playlist::isPlaylistPath(paths.constFirst())) {
        openPath(paths.constFirst());
        return;
    }
    if (paths.size() > 1)
        m_playlistControl->addFiles(paths);
    openPath(paths.constFirst());
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && isLocalDocument(urls.constFirst()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls) {
        if (isLocalDocument(url))
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    openChosenFiles(paths);
}
