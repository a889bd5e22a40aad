#include "ui/icons.h"

#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <array>
#include <future>
#include <optional>

namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kAccent(0xFF, 0x9C, 0x45);
const QColor kScreenFill(0x0E, 0x19, 0x24);

QPolygonF polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

QPen whitePen(qreal width, Qt::PenCapStyle cap, Qt::PenJoinStyle join)
{
    return QPen(kWhite, width, Qt::SolidLine, cap, join);
}

void fillShape(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

void drawScreen(QPainter &p, bool filled)
{
    p.setPen(whitePen(4, Qt::SquareCap, Qt::BevelJoin));
    p.setBrush(filled ? QBrush(kScreenFill) : QBrush(Qt::NoBrush));
    p.drawRoundedRect(QRectF(6, 12, 52, 36), 5, 5);
    p.drawLine(QPointF(22, 56), QPointF(42, 56));
}

void drawArrowPackage(QPainter &p, QLineF shaft, const QPolygonF &head)
{
    p.setPen(whitePen(4, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(polygon({{10, 38}, {10, 56}, {54, 56}, {54, 38}}));
    p.setPen(QPen(kAccent, 5, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    p.drawLine(shaft);
    fillShape(p, kAccent);
    p.drawPolygon(head, Qt::OddEvenFill);
}

void paintKind(QPainter &p, IconKind kind)
{
    switch (kind) {
    case IconKind::Previous:
        fillShape(p, kWhite);
        p.drawRect(QRectF(10, 12, 7, 40));
        p.drawPolygon(polygon({{54, 12}, {54, 52}, {20, 32}}), Qt::OddEvenFill);
        break;
    case IconKind::Next:
        fillShape(p, kWhite);
        p.drawRect(QRectF(47, 12, 7, 40));
        p.drawPolygon(polygon({{10, 12}, {10, 52}, {44, 32}}), Qt::OddEvenFill);
        break;
    case IconKind::Blackout:
        drawScreen(p, true);
        break;
    case IconKind::BlackoutActive:
        drawScreen(p, false);
        fillShape(p, kAccent);
        p.drawPolygon(polygon({{26, 21}, {26, 39}, {41, 30}}), Qt::OddEvenFill);
        break;
    case IconKind::OpenPlaylist:
        p.setPen(whitePen(4, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(polygon({{6, 52}, {6, 12}, {24, 12}, {30, 20}, {56, 20}, {56, 52}}), Qt::OddEvenFill);
        fillShape(p, kAccent);
        p.drawPolygon(polygon({{4, 52}, {14, 30}, {62, 30}, {52, 52}}), Qt::OddEvenFill);
        break;
    case IconKind::SavePlaylist:
        p.setPen(whitePen(4, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(8, 8, 48, 48), 5, 5);
        p.drawRect(QRectF(20, 36, 24, 20));
        fillShape(p, kAccent);
        p.drawRect(QRectF(20, 8, 20, 14));
        break;
    case IconKind::ExportPackage:
        drawArrowPackage(p, QLineF(32, 44, 32, 12), polygon({{18, 22}, {32, 6}, {46, 22}}));
        break;
    case IconKind::ImportPackage:
        drawArrowPackage(p, QLineF(32, 8, 32, 38), polygon({{18, 30}, {32, 46}, {46, 30}}));
        break;
    case IconKind::Back: {
        p.setPen(whitePen(5, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath path(QPointF(22, 24));
        path.lineTo(40, 24);
        path.arcTo(QRectF(28, 24, 24, 24), 90, -180);
        path.lineTo(22, 48);
        p.drawPath(path);
        fillShape(p, kAccent);
        p.drawPolygon(polygon({{6, 24}, {24, 8}, {24, 40}}), Qt::OddEvenFill);
        break;
    }
    }
}

// Painted as images, which any thread may paint, in the form a pixmap keeps.
using IconImages = std::array<QImage, IconKindCount>;

IconImages paintAll()
{
    IconImages images;
    for (int kind = 0; kind < IconKindCount; ++kind) {
        QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            paintKind(p, IconKind(kind));
        }
        images[kind] = image;
    }
    return images;
}

std::future<IconImages> &painting()
{
    static std::future<IconImages> pending;
    return pending;
}

QIcon buildIcon(IconKind kind)
{
    static const IconImages images = painting().valid() ? painting().get() : paintAll();
    return QIcon(QPixmap::fromImage(images[int(kind)]));
}

// Blackout icons live until the application object goes, not until static destruction, so
// no pixmap outlives the GUI.
std::array<std::optional<QIcon>, 2> &blackoutIcons()
{
    static std::array<std::optional<QIcon>, 2> icons;
    static const bool cleanupRegistered = [] {
        qAddPostRoutine([] {
            blackoutIcons()[0].reset();
            blackoutIcons()[1].reset();
        });
        return true;
    }();
    Q_UNUSED(cleanupRegistered)
    return icons;
}

} // namespace

void prepareIcons()
{
    if (painting().valid())
        return;
    painting() = std::async(std::launch::async, paintAll);
    // A start that ends before the icons are taken lets the painting end while the
    // application still exists, not under the program's statics as they go.
    qAddPostRoutine([] {
        if (painting().valid())
            painting().wait();
    });
}

QIcon paintedIcon(IconKind kind)
{
    if (kind == IconKind::Blackout || kind == IconKind::BlackoutActive) {
        std::optional<QIcon> &cached = blackoutIcons()[kind == IconKind::Blackout ? 0 : 1];
        if (!cached)
            cached = buildIcon(kind);
        return *cached;
    }
    return buildIcon(kind);
}
