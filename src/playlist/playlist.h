#pragma once

#include "base/limits.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

// The ordered list of PDFs of a show, each with an optional countdown in minutes, and which
// of them is the open document.
class Playlist final : public QObject
{
    Q_OBJECT

public:
    explicit Playlist(QObject *parent = nullptr);

    static bool isPlaylistPath(const QString &path);

    const QStringList &files() const { return m_files; }
    const QMap<QString, int> &fileMinutes() const { return m_minutes; }
    int count() const { return int(m_files.size()); }
    int currentIndex() const { return m_currentIndex; }
    int minutesFor(const QString &path) const { return m_minutes.value(path, 0); }
    // The page (counted from 1) a talk ends at: the pages after it are backup slides, which
    // Next passes over into the next file. 0: the talk ends at its last page.
    const QMap<QString, int> &endPages() const { return m_endPages; }
    int endPageFor(const QString &path) const { return m_endPages.value(path, 0); }
    // How long a talk was shown in this session, in seconds; -1 before it was shown. Not kept.
    int shownSeconds(const QString &path) const { return m_shown.value(path, -1); }
    void setShownSeconds(const QString &path, int seconds);
    void clearShownTimes();

    // Minutes of 0 or less mean no countdown; larger values are limited to Limits::MaxEntryMinutes.
    // End pages of 0 or less mean none.
    void setEntries(const QStringList &files, const QMap<QString, int> &minutes, const QMap<QString, int> &endPages = {});
    // The paths among `paths` that are existing files not yet listed, absolute, in order.
    QStringList newFiles(const QStringList &paths) const;
    void append(const QStringList &files);
    // Sets or, with minutes of 0 or less, removes the countdown of a listed file.
    void setMinutes(const QString &path, int minutes);
    // The current index is always derived: the first entry equal to the open document.
    void setCurrentDocument(const QString &absolutePath);

Q_SIGNALS:
    void changed();

private:
    void recomputeIndex();

    QStringList m_files;
    QMap<QString, int> m_minutes;
    QMap<QString, int> m_endPages;
    QHash<QString, int> m_shown;
    QString m_document;
    int m_currentIndex = -1;
};
