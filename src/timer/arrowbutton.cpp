#include "timer/arrowbutton.h"

#include <QPainter>
#include <QPolygonF>

ArrowButton::ArrowButton(bool up, QWidget *parent)
    : QAbstractButton(parent)
    , m_up(up)
{
    setObjectName(up ? QStringLiteral("timerUp") : QStringLiteral("timerDown"));
    setFixedSize(Width, Height);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setAutoRepeat(true);
    setAutoRepeatDelay(450);
    setAutoRepeatInterval(80);
    setToolTip(up ? tr("Add 1 minute") : tr("Subtract 1 minute"));
}

void ArrowButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (isDown())
        painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    else if (underMouse())
        painter.setBrush(QColor(0xFF, 0x9C, 0x45));
    else
        painter.setBrush(QColor(255, 255, 255, 190));

    const QPointF c = QRectF(rect()).center();
    const double tip = m_up ? -4.5 : 4.5;
    const QPolygonF triangle{QPointF(c.x() - 8, c.y() - tip), QPointF(c.x() + 8, c.y() - tip),
                             QPointF(c.x(), c.y() + tip)};
    painter.drawPolygon(triangle);
}
