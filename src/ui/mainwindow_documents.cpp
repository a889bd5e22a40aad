#include "mainwindow.h"

#include "base/appsettings.h"
#include "base/regularfile.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "ui/handovernotice.h"
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

void MainWindow::connectDocuments()
{
    connect(m_pdf, &PdfService::closed, this, &MainWindow::onClosed);
    connect(m_show, &Show::documentLeaving, this, &MainWindow::saveReadingPosition);
    connect(m_show, &Show::documentOpened, this, &MainWindow::onDocumentOpened);
    connect(m_show, &Show::documentMissing, this, &MainWindow::reportMissing);
    connect(m_show, &Show::openFailed, this,
            [this](const QString &, const QString &message) { QMessageBox::critical(this, tr("Cannot open PDF"), message); });
    connect(m_show, &Show::passwordRequired, this, [this](const QString &, const QString &message) {
        bool ok = false;
        const QString password =
            QInputDialog::getText(this, tr("Encrypted PDF"), message, QLineEdit::Password, QString(), &ok);
        // A wrong password fails again and brings the dialog back, until the operator cancels.
        if (ok)
            m_show->retryWithPassword(password);
        else
            m_show->declinePassword();
    });
}

void MainWindow::openPath(const QString &path)
{
    if (Playlist::isPlaylistPath(path))
        m_playlistControl->loadPlaylistFile(path);
    else
        m_show->openByOperator(path);
}

void MainWindow::reportMissing(const QString &path)
{
    if (const QString refused = RegularFile::refusal(path); !refused.isEmpty())
        QMessageBox::warning(this, tr("Cannot open PDF"), refused);
    else
        QMessageBox::warning(this, tr("Missing document"),
                             tr("The document no longer exists. Use Open to select another file."));
}

void MainWindow::receiveHandOver(const QStringList &paths)
{
    // Made at the first hand-over: most shows never see one.
    if (!m_handOver)
        m_handOver = new HandOverNotice(this);
    m_handOver->receive(paths);
}

void MainWindow::closeDocument()
{
    m_show->closeDocument();
}

void MainWindow::saveReadingPosition(const QString &path)
{
    if (!path.isEmpty())
        m_settings->setPosition(path, m_reader->currentPage());
}

void MainWindow::onDocumentOpened(int pages)
{
    m_reader->documentLoaded(pages);
    const int saved = m_settings->position(m_pdf->filePath());
    m_reader->showReaderPage(std::max(0, std::min(saved, pages - 1)));

    m_settings->pushRecent(m_pdf->filePath());
    rebuildRecentMenu();
    setWindowTitle(tr("%1 - OlvantiVIVuderidazi").arg(fileName(m_pdf->filePath())));
    statusBar()->showMessage(tr("Document loaded. Clicker input works while either application window is active."));
}

void MainWindow::onClosed()
{
    if (m_search) {
        m_search->clearText();
        m_search->clearResults();
    }
    m_reader->documentClosed();
    m_reportedFailures.clear();
    setWindowTitle(QStringLiteral("OlvantiVIVuderidazi"));
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
