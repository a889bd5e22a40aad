#include "playlistcontrol.h"

#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "show/show.h"
#include "base/appsettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QFileDialog::Options dialogOptions()
{
    // Without a window system there is no native dialog to show, and the widget dialog can
    // still be answered (headless runs and tests).
    return QGuiApplication::platformName() == QLatin1String("offscreen") ? QFileDialog::DontUseNativeDialog
                                                                        : QFileDialog::Options();
}

QString playlistFilter()
{
    return PlaylistControl::tr("Olvanti playlist (*.oplaylist)");
}

QString packageFilter()
{
    return PlaylistControl::tr("Olvanti playlist package (*.opack)");
}

} // namespace

QString PlaylistControl::choosePlaylistPath(Chooser mode, const QString &title, const QString &filter,
                                            const QString &extension)
{
    const QString folder = m_settings->playlistDir();
    QString chosen;
    if (mode == Chooser::Open) {
        chosen = QFileDialog::getOpenFileName(m_window, title, folder, filter, nullptr, dialogOptions());
    } else {
        chosen = QFileDialog::getSaveFileName(m_window, title, folder + QStringLiteral("/playlist.") + extension,
                                              filter, nullptr, dialogOptions());
    }
    if (chosen.isEmpty())
        return QString();
    if (mode == Chooser::Save && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + extension;
    m_settings->setPlaylistDir(QFileInfo(chosen).absolutePath());
    return chosen;
}

void PlaylistControl::showPlaylistError(const QString &error)
{
    QMessageBox::warning(m_window, tr("Playlist"), error);
}

void PlaylistControl::addPdfsFromDialog()
{
    const QStringList chosen = QFileDialog::getOpenFileNames(m_window, tr("Add PDFs to playlist"), QString(),
                                                             tr("PDF documents (*.pdf)"), nullptr, dialogOptions());
    if (!chosen.isEmpty())
        addFilesAndOpen(chosen);
}

void PlaylistControl::openPlaylistFromDialog()
{
    const QString path =
        choosePlaylistPath(Chooser::Open, tr("Open playlist"), playlistFilter(), QStringLiteral("oplaylist"));
    if (!path.isEmpty())
        loadPlaylistFile(path);
}

void PlaylistControl::importPackageFromDialog()
{
    const QString path =
        choosePlaylistPath(Chooser::Open, tr("Import playlist package"), packageFilter(), QStringLiteral("opack"));
    if (!path.isEmpty())
        loadPlaylistFile(path);
}

void PlaylistControl::savePlaylistFromDialog()
{
    const QString path =
        choosePlaylistPath(Chooser::Save, tr("Save playlist"), playlistFilter(), QStringLiteral("oplaylist"));
    if (path.isEmpty())
        return;
    const QString error = m_playlist->count() == 0 ? tr("The playlist is empty.")
                                                   : PlaylistFile::writeJsonPlaylist(path, entries());
    if (!error.isEmpty()) {
        showPlaylistError(error);
        return;
    }
    Q_EMIT statusMessage(tr("Playlist saved: %1").arg(path), 6000);
}

void PlaylistControl::exportPackageFromDialog()
{
    const QString path = choosePlaylistPath(Chooser::Save, tr("Export playlist with PDFs"), packageFilter(),
                                            QStringLiteral("opack"));
    if (path.isEmpty())
        return;
    int leftOut = 0;
    const QString error = PlaylistFile::buildPackage(path, entries(), &leftOut);
    if (!error.isEmpty()) {
        showPlaylistError(error);
        return;
    }
    const QString done = tr("Playlist exported: %1").arg(path);
    // One message, so the operator sees both that it worked and what is not in it.
    if (leftOut > 0)
        Q_EMIT statusMessage(done + QStringLiteral("  ") + tr("%1 missing file(s) were not exported.").arg(leftOut),
                             8000);
    else
        Q_EMIT statusMessage(done, 6000);
}

void PlaylistControl::loadPlaylistFile(const QString &path)
{
    bool replace = true;
    if (m_playlist->count() > 0) {
        QMessageBox box(QMessageBox::Question, tr("Playlist"), tr("The playlist already contains files."),
                        QMessageBox::Cancel, m_window);
        QPushButton *replaceButton = box.addButton(tr("Replace"), QMessageBox::AcceptRole);
        QPushButton *appendButton = box.addButton(tr("Append"), QMessageBox::AcceptRole);
        box.exec();
        if (box.clickedButton() == appendButton)
            replace = false;
        else if (box.clickedButton() != replaceButton)
            return;
    }

    QList<PlaylistEntry> loaded;
    QString error;
    if (QFileInfo(path).suffix().compare(QLatin1String("opack"), Qt::CaseInsensitive) == 0) {
        error = PlaylistFile::readPackage(path, PlaylistFile::importFolder(path), loaded);
    } else {
        error = PlaylistFile::readJsonPlaylist(path, loaded);
        if (error.isEmpty() && loaded.isEmpty())
            error = tr("The playlist file contains no files.");
    }
    if (!error.isEmpty()) {
        showPlaylistError(error);
        return;
    }
    const bool documentOpen = !m_show->documentPath().isEmpty();
    applyPlaylist(loaded, replace);
    Q_EMIT statusMessage(tr("Playlist loaded: %1").arg(path), 6000);

    if (m_playlist->count() == 0 || (!replace && documentOpen))
        return;
    // The first file of a new show, or the last one appended to nothing, with its countdown set.
    m_show->open(replace ? m_playlist->files().constFirst() : m_playlist->files().constLast(), Show::Origin::Programme);
}
