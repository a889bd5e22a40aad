#pragma once

#include "base/limits.h"

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

    // Minutes of 0 or less mean no countdown; larger values are limited to Limits::MaxEntryMinutes.
    void setEntries(const QStringList &files, const QMap<QString, int> &minutes);
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
    QString m_document;
    int m_currentIndex = -1;
};
