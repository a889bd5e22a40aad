#include "timer/timerpanel.h"

#include <QStyle>
#include <QWheelEvent>

namespace {

constexpr int WheelNotch = 120;

void restyle(QWidget *widget)
{
    QStyle *style = widget->style();
    style->unpolish(widget);
    style->polish(widget);
    widget->update();
}

} // namespace

TimerPanel::TimerPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("timerBar"));
    setAttribute(Qt::WA_StyledBackground);
    setProperty("overtime", false);
    setProperty("warning", QString());
}

void TimerPanel::setAdjustCallback(AdjustCallback callback)
{
    m_adjust = std::move(callback);
}

void TimerPanel::watchChildren()
{
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
}

bool TimerPanel::setDisplayState(bool overtime, const QString &warning)
{
    if (property("overtime").toBool() == overtime && property("warning").toString() == warning)
        return false;
    setProperty("overtime", overtime);
    setProperty("warning", warning);
    // Property selectors of the style sheet are only re-evaluated on a new polish.
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        restyle(child);
    restyle(this);
    ++m_restyleCount;
    return true;
}

bool TimerPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched->isWidgetType()) {
        handleWheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TimerPanel::wheelEvent(QWheelEvent *event)
{
    handleWheel(event);
}

void TimerPanel::handleWheel(QWheelEvent *event)
{
    // Fine-grained wheels send small deltas; only whole notches change the time.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / WheelNotch;
    m_wheelAngle %= WheelNotch;
    if (steps != 0 && m_adjust)
        m_adjust(steps * 60);
    event->accept();
}
