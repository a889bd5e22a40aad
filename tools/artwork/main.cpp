// Draws the application icon, the logo and the style sheet's small marks (spin box arrows, the
// check box tick) with the product's palette.
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextStream>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor Navy(0x1B, 0x2C, 0x3D);
const QColor Darkest(0x0E, 0x19, 0x24);
const QColor Orange(0xFF, 0x9C, 0x45);
const QColor OrangeLight(0xFF, 0xB3, 0x6B);
const QColor OrangeDeep(0xFF, 0x8A, 0x24);
const QColor Cyan(0x56, 0xD6, 0xC9);

// The mark: an orange ring, the "O" of the name, holding a cyan forward arrow for the next
// slide. Drawn into the square `box`.
void drawMark(QPainter &p, const QRectF &box)
{
    const qreal side = box.width();
    const qreal ringWidth = side * 0.16;
    const QRectF ring = box.adjusted(ringWidth / 2, ringWidth / 2, -ringWidth / 2, -ringWidth / 2);
    QLinearGradient warm(box.topLeft(), box.bottomLeft());
    warm.setColorAt(0, OrangeLight);
    warm.setColorAt(1, OrangeDeep);
    p.setPen(QPen(QBrush(warm), ringWidth, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);

    const QPointF c = box.center();
    const qreal r = side * 0.2;
    QPainterPath arrow;
    arrow.moveTo(c.x() - r * 0.62, c.y() - r);
    arrow.lineTo(c.x() + r * 0.98, c.y());
    arrow.lineTo(c.x() - r * 0.62, c.y() + r);
    arrow.closeSubpath();
    p.setPen(QPen(Cyan, side * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Cyan);
    p.drawPath(arrow);
}

// Drawn on a 256 px grid and scaled, so every size is the same picture (data/olvanti-vivuderidazi.svg too).
QImage icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient night(tile.topLeft(), tile.bottomLeft());
    night.setColorAt(0, Navy.lighter(118));
    night.setColorAt(1, Darkest);
    p.setPen(QPen(QColor(0x48, 0x60, 0x75), 3));
    p.setBrush(night);
    p.drawRoundedRect(tile, 48, 48);
    drawMark(p, tile.adjusted(44, 44, -44, -44));
    return image;
}

QImage logo()
{
    // Tall enough to stay crisp when scaled down to the 30 px header on high-density screens.
    constexpr int height = 120;
    QFont font(u"DejaVu Sans"_s);
    font.setBold(true);
    font.setPixelSize(78);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    const QString word = u"Olvanti"_s;
    const QFontMetricsF metrics(font);
    const qreal markSide = height - 16;
    const qreal gap = 22;
    const qreal wordWidth = metrics.horizontalAdvance(word);
    const int width = int(std::ceil(8 + markSide + gap + wordWidth + 8));

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawMark(p, QRectF(8, 8, markSide, markSide));
    p.setFont(font);
    p.setPen(Qt::white);
    const qreal baseline = (height + metrics.capHeight()) / 2;
    p.drawText(QPointF(8 + markSide + gap, baseline), word);
    return image;
}

// A spin box arrow, light on the dark buttons, drawn at twice the 8 x 5 the style sheet shows.
QImage spinArrow(bool up)
{
    QImage image(16, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPolygonF triangle = up ? QPolygonF{{1, 9}, {15, 9}, {8, 1}} : QPolygonF{{1, 1}, {15, 1}, {8, 9}};
    p.drawPolygon(triangle);
    return image;
}

// The tick of a checked box, dark on the orange box, at twice the 14 x 14 the style sheet shows.
QImage tick()
{
    QImage image(28, 28, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Darkest, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{6, 14.5}, {11.5, 20}, {22, 8}});
    return image;
}

// The desktop's icon theme folders: SIZExSIZE/apps/olvanti-vivuderidazi.png.
bool writeHicolor(const QDir &dir)
{
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = u"%1x%1/apps"_s.arg(size);
        if (!dir.mkpath(folder) || !icon(size).save(dir.filePath(folder + u"/olvanti-vivuderidazi.png"_s)))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const bool hicolor = args.size() == 3 && args.at(1) == u"--hicolor"_s;
    if (args.size() != 2 && !hicolor) {
        QTextStream(stderr) << "usage: olvanti-artwork RESOURCE-FOLDER | --hicolor ICON-FOLDER\n";
        return 64;
    }
    const QDir dir(args.last());
    const bool written = hicolor ? writeHicolor(dir)
                                 : icon(64).save(dir.filePath(u"app-icon.png"_s)) && logo().save(dir.filePath(u"logo.png"_s))
                                       && spinArrow(true).save(dir.filePath(u"spin-up.png"_s))
                                       && spinArrow(false).save(dir.filePath(u"spin-down.png"_s))
                                       && tick().save(dir.filePath(u"tick.png"_s));
    if (!written) {
        QTextStream(stderr) << "cannot write the images into " << args.last() << '\n';
        return 1;
    }
    return 0;
}
