#pragma once

#include <QElapsedTimer>
#include <QMap>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// One reversible change: a full snapshot of the small state it may need.
struct UndoStep
{
    enum Kind { Playlist = 0, Time = 1, Document = 2 };

    int kind = Playlist;
    QString label;
    QStringList files;
    QMap<QString, int> fileMinutes;
    QMap<QString, int> endPages;
    int seconds = 0;
    QString document;
};

// The short history behind the Back command. Steps are recorded before a change; undoing
// them is the owner's business (it knows how to apply each kind).
class UndoHistory final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxSteps = 30;
    static constexpr qint64 TimeCoalesceMs = 2000;

    // Fills the snapshot fields of a new step from the owner's current state.
    using Snapshot = std::function<void(UndoStep &)>;

    explicit UndoHistory(QObject *parent = nullptr);

    void setSnapshot(Snapshot snapshot) { m_snapshot = std::move(snapshot); }
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    void recordStep(int kind, const QString &label);
    // A burst of time changes with gaps under two seconds becomes one step that restores
    // the time from before the burst.
    void recordTimeStep(int previousSeconds);

    bool isEmpty() const { return m_steps.isEmpty(); }
    int size() const { return int(m_steps.size()); }
    const QList<UndoStep> &steps() const { return m_steps; }
    UndoStep takeLast();

    bool isRestoring() const { return m_restoring; }
    void setRestoring(bool restoring) { m_restoring = restoring; }

    QString backToolTip() const;

Q_SIGNALS:
    void changed();

private:
    QList<UndoStep> m_steps;
    bool m_restoring = false;
    Snapshot m_snapshot;
    std::function<qint64()> m_clock;
    qint64 m_lastTimeStep = -1;
};
