#include "undohistory.h"

UndoHistory::UndoHistory(QObject *parent)
    : QObject(parent)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_clock = [timer] { return timer->elapsed(); };
}

void UndoHistory::recordStep(int kind, const QString &label)
{
    if (m_restoring)
        return;
    UndoStep step;
    if (m_snapshot)
        m_snapshot(step);
    step.kind = kind;
    step.label = label;
    m_steps.append(step);
    while (m_steps.size() > MaxSteps)
        m_steps.removeFirst();
    Q_EMIT changed();
}

void UndoHistory::recordTimeStep(int previousSeconds)
{
    if (m_restoring)
        return;
    const qint64 now = m_clock();
    const bool coalesce = !m_steps.isEmpty() && m_steps.constLast().kind == UndoStep::Time && m_lastTimeStep >= 0
                          && now - m_lastTimeStep < TimeCoalesceMs;
    m_lastTimeStep = now;
    if (coalesce)
        return;
    recordStep(UndoStep::Time, tr("Presentation time"));
    m_steps.last().seconds = previousSeconds;
}

UndoStep UndoHistory::takeLast()
{
    if (m_steps.isEmpty())
        return UndoStep();
    UndoStep step = m_steps.takeLast();
    // The next time change starts a burst of its own, not one with the undone step's neighbour.
    m_lastTimeStep = -1;
    Q_EMIT changed();
    return step;
}

QString UndoHistory::backToolTip() const
{
    if (m_steps.isEmpty())
        return tr("Back (nothing to undo)");
    return tr("Back: undo \"%1\" (%2 steps)").arg(m_steps.constLast().label).arg(m_steps.size());
}
