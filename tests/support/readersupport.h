#pragma once

#include <QApplication>
#include <QImage>
#include <QWheelEvent>

#include <functional>

namespace ReaderTest {

// Whether each channel of `pixel` is within `tolerance` of `expected`'s.
inline bool near(QRgb pixel, const QColor &expected, int tolerance = 12)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance && qAbs(qGreen(pixel) - expected.green()) <= tolerance
        && qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

inline QRect areaOf(const QImage &image, const std::function<bool(QRgb)> &match)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y)))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

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
