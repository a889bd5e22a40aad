#include "playlist.h"

#include <QFileInfo>

Playlist::Playlist(QObject *parent)
    : QObject(parent)
{
}

bool Playlist::isPlaylistPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("opack") || suffix == QLatin1String("oplaylist");
}

void Playlist::setEntries(const QStringList &files, const QMap<QString, int> &minutes)
{
    m_files.clear();
    for (const QString &file : files) {
        if (!file.isEmpty() && !m_files.contains(file))
            m_files.append(file);
    }
    m_minutes.clear();
    for (auto it = minutes.cbegin(); it != minutes.cend(); ++it) {
        if (it.value() > 0 && m_files.contains(it.key()))
            m_minutes.insert(it.key(), qMin(it.value(), MaxMinutes));
    }
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
