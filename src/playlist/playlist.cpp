#include "playlist.h"

#include <QFileInfo>
#include <QSet>

Playlist::Playlist(QObject *parent)
    : QObject(parent)
{
}

bool Playlist::isPlaylistPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("opack") || suffix == QLatin1String("oplaylist");
}

void Playlist::setEntries(const QStringList &files, const QMap<QString, int> &minutes,
                          const QMap<QString, int> &endPages)
{
    // Built aside: the arguments may be this playlist's own lists. The set keeps a long
    // playlist from costing time by the square of its length.
    QStringList listed;
    QSet<QString> seen;
    for (const QString &file : files) {
        if (!file.isEmpty() && !seen.contains(file)) {
            seen.insert(file);
            listed.append(file);
        }
    }
    // The maps come in key order, so each kept entry goes at the end without a search.
    QMap<QString, int> countdowns;
    for (auto it = minutes.cbegin(); it != minutes.cend(); ++it) {
        if (it.value() > 0 && seen.contains(it.key()))
            countdowns.insert(countdowns.cend(), it.key(), qMin(it.value(), Limits::MaxEntryMinutes));
    }
    QMap<QString, int> ends;
    for (auto it = endPages.cbegin(); it != endPages.cend(); ++it) {
        if (it.value() > 0 && seen.contains(it.key()))
            ends.insert(ends.cend(), it.key(), it.value());
    }
    m_files = listed;
    m_minutes = countdowns;
    m_endPages = ends;
    recomputeIndex();
    Q_EMIT changed();
}

QStringList Playlist::newFiles(const QStringList &paths) const
{
    QStringList fresh;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QString absolute = info.absoluteFilePath();
        if (info.isFile() && !m_files.contains(absolute) && !fresh.contains(absolute))
            fresh << absolute;
    }
    return fresh;
}

void Playlist::append(const QStringList &files)
{
    for (const QString &file : files) {
        if (!file.isEmpty() && !m_files.contains(file))
            m_files << file;
    }
    recomputeIndex();
    Q_EMIT changed();
}

void Playlist::setMinutes(const QString &path, int minutes)
{
    if (!m_files.contains(path))
        return;
    if (minutes > 0)
        m_minutes.insert(path, qMin(minutes, Limits::MaxEntryMinutes));
    else
        m_minutes.remove(path);
    Q_EMIT changed();
}

void Playlist::setShownSeconds(const QString &path, int seconds)
{
    if (m_shown.value(path, -1) == seconds)
        return;
    m_shown.insert(path, seconds);
    Q_EMIT changed();
}

void Playlist::clearShownTimes()
{
    if (m_shown.isEmpty())
        return;
    m_shown.clear();
    Q_EMIT changed();
}

void Playlist::setCurrentDocument(const QString &absolutePath)
{
    m_document = absolutePath;
    const int before = m_currentIndex;
    recomputeIndex();
    if (before != m_currentIndex)
        Q_EMIT changed();
}

void Playlist::recomputeIndex()
{
    m_currentIndex = m_document.isEmpty() ? -1 : int(m_files.indexOf(m_document));
}
