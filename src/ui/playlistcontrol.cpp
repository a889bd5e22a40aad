#include "playlistcontrol.h"

#include "base/regularfile.h"
#include "playlist/playlist.h"
#include "playlist/playlistlog.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "show/show.h"
#include "timer/countdown.h"
#include "base/appsettings.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

} // namespace

PlaylistControl::PlaylistControl(const Services &services, QWidget *window)
    : QObject(window)
    , m_show(services.show)
    , m_countdown(services.countdown)
    , m_playlist(services.playlist)
    , m_history(services.history)
    , m_settings(services.settings)
    , m_window(window)
{
}

void PlaylistControl::setPanel(PlaylistPanel *panel)
{
    m_panel = panel;
    using Command = PlaylistPanel::Command;
    connect(panel, &PlaylistPanel::commandRequested, this, [this](Command command) {
        switch (command) {
        case Command::Add: addPdfsFromDialog(); break;
        case Command::OpenFile: openPlaylistFromDialog(); break;
        case Command::SaveFile: savePlaylistFromDialog(); break;
        case Command::Export: exportPackageFromDialog(); break;
        case Command::Import: importPackageFromDialog(); break;
        case Command::Back: undoLast(); break;
        case Command::MoveUp: moveSelected(-1); break;
        case Command::MoveDown: moveSelected(1); break;
        case Command::Remove: removeSelected(); break;
        case Command::Clear: clearAll(); break;
        }
    });
    connect(panel, &PlaylistPanel::entryActivated, m_show, &Show::activateEntry);
    connect(panel, &PlaylistPanel::reorderRequested, this, &PlaylistControl::reorderFromPanel);
    connect(panel, &PlaylistPanel::entrySettingsChosen, this, &PlaylistControl::setEntrySettings);
    connect(panel, &PlaylistPanel::statusMessage, this, &PlaylistControl::statusMessage);
}

void PlaylistControl::commit(const QStringList &files, const QMap<QString, int> &minutes,
                             const QMap<QString, int> &endPages)
{
    // The playlist drops countdowns and end pages of files no longer listed before they are stored.
    m_playlist->setEntries(files, minutes, endPages);
    m_settings->setPlaylistFiles(m_playlist->files());
    m_settings->setPlaylistTimes(m_playlist->fileMinutes());
    m_settings->setPlaylistEndPages(m_playlist->endPages());
}

void PlaylistControl::commit(const QStringList &files, const QMap<QString, int> &minutes)
{
    commit(files, minutes, m_playlist->endPages());
}

void PlaylistControl::addFiles(const QStringList &paths)
{
    // Folders, pipes and devices are left out like missing files, but the operator hears why.
    for (const QString &path : paths) {
        if (const QString refused = RegularFile::refusal(path); !refused.isEmpty()) {
            Q_EMIT statusMessage(refused, 15000);
            break;
        }
    }
    const QStringList fresh = m_playlist->newFiles(paths);
    if (fresh.isEmpty())
        return;
    m_history->recordStep(UndoStep::Playlist, fresh.size() == 1 ? tr("Add %1").arg(fileName(fresh.constFirst()))
                                                                : tr("Add %1 files").arg(fresh.size()));
    commit(m_playlist->files() + fresh, m_playlist->fileMinutes());
}

void PlaylistControl::addFilesAndOpen(const QStringList &paths)
{
    const bool documentOpen = !m_show->documentPath().isEmpty();
    addFiles(paths);
    if (documentOpen)
        return;
    for (const QString &path : paths) {
        if (QFileInfo(path).isFile()) {
            m_show->openByOperator(path);
            return;
        }
    }
}

void PlaylistControl::removeSelected()
{
    const int row = m_panel ? m_panel->selectedRow() : -1;
    if (row < 0 || row >= m_playlist->count())
        return;
    const QString name = fileName(m_playlist->files().at(row));
    if (!askYesNo(m_window, tr("Remove file"), tr("Remove \"%1\" from the playlist?").arg(name)))
        return;
    m_history->recordStep(UndoStep::Playlist, tr("Remove %1").arg(name));
    QStringList files = m_playlist->files();
    files.removeAt(row);
    commit(files, m_playlist->fileMinutes());
    m_panel->selectRow(std::min(row, m_playlist->count() - 1));
}

void PlaylistControl::moveSelected(int delta)
{
    const int row = m_panel ? m_panel->selectedRow() : -1;
    const int target = row + delta;
    if (row < 0 || row >= m_playlist->count() || target < 0 || target >= m_playlist->count())
        return;
    m_history->recordStep(UndoStep::Playlist, tr("Move %1").arg(fileName(m_playlist->files().at(row))));
    QStringList files = m_playlist->files();
    files.move(row, target);
    commit(files, m_playlist->fileMinutes());
    m_panel->selectRow(target);
}

void PlaylistControl::clearAll()
{
    const int count = m_playlist->count();
    if (count == 0)
        return;
    if (!askYesNo(m_window, tr("Clear playlist"), tr("Remove all %1 file(s) from the playlist?").arg(count)))
        return;
    m_history->recordStep(UndoStep::Playlist, tr("Clear playlist"));
    commit({}, {});
}

void PlaylistControl::reorderFromPanel()
{
    if (!m_panel)
        return;
    const QStringList order = m_panel->rowPaths();
    // A drop that changed nothing, or rows that no longer match the list, only need a redraw.
    QStringList sorted = order;
    QStringList files = m_playlist->files();
    sorted.sort();
    files.sort();
    if (order == m_playlist->files() || sorted != files) {
        m_panel->refresh();
        return;
    }
    const int selected = m_panel->rowBeforeMove();
    m_history->recordStep(UndoStep::Playlist, tr("Reorder playlist"));
    commit(order, m_playlist->fileMinutes());
    m_panel->selectRow(selected);
}

void PlaylistControl::setFileMinutes(const QString &path, int minutes)
{
    setEntrySettings(path, minutes, m_playlist->endPageFor(path));
}

void PlaylistControl::setEntrySettings(const QString &path, int minutes, int endPage)
{
    if (!m_playlist->files().contains(path))
        return;
    const int value = minutes < 1 ? 0 : std::min(minutes, Limits::MaxEntryMinutes);
    const int end = std::max(endPage, 0);
    const bool timeChanged = value != m_playlist->minutesFor(path);
    if (!timeChanged && end == m_playlist->endPageFor(path))
        return;
    m_history->recordStep(UndoStep::Playlist,
                          (timeChanged ? tr("Time of %1") : tr("End page of %1")).arg(fileName(path)));
    QMap<QString, int> times = m_playlist->fileMinutes();
    QMap<QString, int> ends = m_playlist->endPages();
    times.insert(path, value);
    ends.insert(path, end);
    commit(m_playlist->files(), times, ends);
}

void PlaylistControl::applyPlaylist(const QList<PlaylistEntry> &entries, bool replace)
{
    m_history->recordStep(UndoStep::Playlist, replace ? tr("Load playlist") : tr("Append playlist"));
    QStringList files = replace ? QStringList() : m_playlist->files();
    QMap<QString, int> times = replace ? QMap<QString, int>() : m_playlist->fileMinutes();
    QMap<QString, int> ends = replace ? QMap<QString, int>() : m_playlist->endPages();
    // Sorted first and put in at the end: a long playlist is not searched entry by entry.
    std::vector<std::pair<QString, int>> newTimes;
    std::vector<std::pair<QString, int>> newEnds;
    for (const PlaylistEntry &entry : entries) {
        if (entry.path.isEmpty())
            continue;
        files << entry.path; // the playlist drops repeats
        if (entry.minutes > 0)
            newTimes.emplace_back(entry.path, std::min(entry.minutes, Limits::MaxEntryMinutes));
        if (entry.endPage > 0)
            newEnds.emplace_back(entry.path, entry.endPage);
    }
    // A countdown or an end page from the file wins, also for a path already listed; of
    // repeats in the file, the last.
    const auto merge = [](QMap<QString, int> &into, std::vector<std::pair<QString, int>> &fresh) {
        std::stable_sort(fresh.begin(), fresh.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (auto it = fresh.cbegin(); it != fresh.cend(); ++it) {
            if (std::next(it) == fresh.cend() || std::next(it)->first != it->first)
                into.insert(into.cend(), it->first, it->second); // a wrong hint only costs a search
        }
    };
    merge(times, newTimes);
    merge(ends, newEnds);
    commit(files, times, ends);
    qCInfo(lcPlaylist) << (replace ? "playlist loaded:" : "playlist appended:") << entries.size() << "entries";
}

QList<PlaylistEntry> PlaylistControl::entries() const
{
    QList<PlaylistEntry> result;
    for (const QString &path : m_playlist->files())
        result.append({path, m_playlist->minutesFor(path), m_playlist->endPageFor(path)});
    return result;
}

void PlaylistControl::undoLast()
{
    if (m_history->isEmpty() || m_show->switching())
        return;
    const UndoStep step = m_history->takeLast();
    m_history->setRestoring(true);
    switch (step.kind) {
    case UndoStep::Playlist:
        commit(step.files, step.fileMinutes, step.endPages);
        break;
    case UndoStep::Time:
        m_countdown->setTimerSeconds(step.seconds);
        break;
    case UndoStep::Document:
        m_show->returnTo(step.document);
        break;
    }
    m_history->setRestoring(false);
    Q_EMIT statusMessage(tr("Undone: %1").arg(step.label), 5000);
}
