#pragma once

#include <QApplication>
#include <QWheelEvent>

// Shared steps of the reader view tests.
namespace ReaderTest {

// A classic mouse wheel turn of `angle` (120 per notch) over the middle of `target`; returns
// whether the widget took it.
inline bool sendWheel(QWidget *target, int angle)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
}

} // namespace ReaderTest
