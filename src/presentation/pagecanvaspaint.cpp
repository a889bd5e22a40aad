// Painting of PageCanvas: the page, transitions, highlight boxes, placeholder, logo and overlay.
#include "pagecanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace {

const QColor PlaceholderTitleColor(0x56, 0xD6, 0xC9);
const QColor PlaceholderDetailColor(0xC9, 0xD6, 0xE2);
const QColor HighlightFill(255, 180, 30, 110);
const QColor HighlightOutline(0xFF, 0x9C, 0x45);
const QColor OverlayFill(120, 10, 10, 200);
const QColor OverlayTitleColor(0xFF, 0xEB, 0x3B);

// Unrotated page points to the points of the page turned `turns` quarter turns clockwise.
QTransform rotationMap(int turns, const QSizeF &page)
{
    const double w = page.width();
    const double h = page.height();
    switch (turns) {
    case 1:
        return QTransform(0, 1, -1, 0, h, 0);  // (h - y, x)
    case 2:
        return QTransform(-1, 0, 0, -1, w, h); // (w - x, h - y)
    case 3:
        return QTransform(0, -1, 1, 0, 0, w);  // (y, w - x)
    default:
        return QTransform();
    }
}

} // namespace

void PageCanvas::drawHighlights(QPainter *painter, const QRectF &target, const QList<QRectF> &rects,
                                const QSizeF &pageSize, int rotation)
{
    if (!painter || pageSize.isEmpty() || rects.isEmpty())
        return;
    const int turns = ((rotation % 4) + 4) % 4;
    const QTransform map = rotationMap(turns, pageSize);
    const QSizeF turned = turns % 2 == 1 ? pageSize.transposed() : pageSize;
    const double scaleX = target.width() / turned.width();
    const double scaleY = target.height() / turned.height();
    painter->save();
    painter->setPen(HighlightOutline);
    painter->setBrush(Qt::NoBrush);
    for (const QRectF &rect : rects) {
        const QRectF mapped = map.mapRect(rect);
        const QRectF box(target.left() + mapped.x() * scaleX, target.top() + mapped.y() * scaleY,
                         mapped.width() * scaleX, mapped.height() * scaleY);
        painter->fillRect(box, HighlightFill);
        painter->drawRect(box);
    }
    painter->restore();
}

void PageCanvas::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_blackout) {
        if (!m_image.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            if (m_previousImage.isNull() || m_progress >= 1.0) {
                const QRectF target = imageRect(m_image);
                painter.drawImage(target, m_image);
                drawHighlights(&painter, target, m_highlights, m_pageSize, m_rotation);
            } else {
                // The overlay below is painted without the transition's opacity, clip or transform.
                painter.save();
                paintTransition(painter);
                painter.restore();
            }
        } else if (!m_logo.isNull()) {
            paintLogo(painter);
        } else if (!m_placeholderText.isEmpty()) {
            paintPlaceholder(painter, rect());
        }
    }
    if (!m_overlayMessage.isEmpty())
        paintOverlay(painter);
}

void PageCanvas::paintTransition(QPainter &painter) const
{
    const double w = width();
    const double h = height();
    const double p = m_progress;
    const double d = m_direction;
    const auto drawOld = [&] { painter.drawImage(imageRect(m_previousImage), m_previousImage); };
    const auto drawNew = [&] { painter.drawImage(imageRect(m_image), m_image); };

    switch (m_effect) {
    case Transition::None:
        drawNew();
        break;
    case Transition::Fade:
        drawOld();
        painter.setOpacity(p);
        drawNew();
        break;
    case Transition::Dip:
        // The black field shows through while one page fades out and the other in.
        if (p < 0.5) {
            painter.setOpacity(1.0 - 2.0 * p);
            drawOld();
        } else {
            painter.setOpacity(2.0 * p - 1.0);
            drawNew();
        }
        break;
    case Transition::Slide:
        painter.translate(-w * p * d, 0.0);
        drawOld();
        painter.translate(d * w, 0.0);
        drawNew();
        break;
    case Transition::Wipe:
        drawOld();
        if (d > 0)
            painter.setClipRect(QRectF(0.0, 0.0, p * w, h), Qt::ReplaceClip);
        else
            painter.setClipRect(QRectF((1.0 - p) * w, 0.0, p * w, h), Qt::ReplaceClip);
        drawNew();
        break;
    case Transition::Zoom: {
        drawOld();
        painter.setOpacity(p);
        const double scale = 0.85 + 0.15 * p;
        painter.translate(w / 2.0, h / 2.0);
        painter.scale(scale, scale);
        painter.translate(-w / 2.0, -h / 2.0);
        drawNew();
        break;
    }
    }
}

void PageCanvas::paintPlaceholder(QPainter &painter, const QRect &area) const
{
    const QStringList lines = m_placeholderText.split(QLatin1Char('\n'));
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    const int w = area.width();
    const int h = area.height();

    if (lines.size() == 1) {
        const int divisor = std::max(int(m_placeholderText.size()), 2);
        bold.setPixelSize(std::max(std::min((2 * h) / 5, int((w / divisor) * 1.3)), 16));
        painter.setFont(bold);
        painter.setPen(PlaceholderTitleColor);
        painter.drawText(area, Qt::AlignCenter, m_placeholderText);
        return;
    }

    bold.setPixelSize(std::clamp(w / 12, 12, 30));
    QFont detail = font();
    detail.setPixelSize(std::clamp(w / 17, 10, 20));
    const QRect work = area.adjusted(12, 8, -12, -8);
    const int lineHeight = QFontMetrics(bold).height();

    painter.setFont(bold);
    painter.setPen(PlaceholderTitleColor);
    painter.drawText(QRect(work.left(), work.top(), work.width(), 2 * lineHeight),
                     Qt::TextWordWrap | Qt::AlignBottom | Qt::AlignHCenter, lines.first());

    painter.setFont(detail);
    painter.setPen(PlaceholderDetailColor);
    painter.drawText(work.adjusted(0, 2 * lineHeight + 6, 0, 0), Qt::TextWordWrap | Qt::AlignTop | Qt::AlignHCenter,
                     lines.mid(1).join(QLatin1Char('\n')));
}

void PageCanvas::paintLogo(QPainter &painter) const
{
    const double w = std::min(width() * 0.6, 700.0);
    const double h = m_logo.height() * w / m_logo.width();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // With a text, the logo stands above the middle and the text below it.
    const double top = m_placeholderText.isEmpty() ? (height() - h) * 0.5 : std::max(8.0, height() * 0.4 - h);
    painter.drawPixmap(QRectF((width() - w) * 0.5, top, w, h), m_logo, QRectF(m_logo.rect()));
    if (!m_placeholderText.isEmpty())
        paintPlaceholder(painter, QRect(0, int(top + h) + 8, width(), height() - int(top + h) - 8));
}

void PageCanvas::paintOverlay(QPainter &painter) const
{
    const QStringList lines = m_overlayMessage.split(QLatin1Char('\n'));
    const bool twoLines = lines.size() >= 2;
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont mainFont = font();
    mainFont.setWeight(QFont::Bold);
    mainFont.setPixelSize(std::clamp(std::min(width() / 10, height() / 5), 14, 90));
    QFont secondFont = font();
    secondFont.setPixelSize(std::max(mainFont.pixelSize() / 3, 10));
    const QFontMetrics mainMetrics(mainFont);
    const QFontMetrics secondMetrics(secondFont);

    int textWidth = mainMetrics.horizontalAdvance(lines.first());
    int textHeight = mainMetrics.height();
    if (twoLines) {
        textWidth = std::max(textWidth, secondMetrics.horizontalAdvance(lines.at(1)));
        textHeight += secondMetrics.height();
    }
    const int boxWidth = std::min(width(), textWidth + 48);
    const int boxHeight = textHeight + 24;
    const QRect box((width() - boxWidth) / 2, (height() - boxHeight) / 2, boxWidth, boxHeight);
    painter.fillRect(box, OverlayFill);

    painter.setFont(mainFont);
    painter.setPen(OverlayTitleColor);
    painter.drawText(QRect(box.left(), box.top() + 12, box.width(), mainMetrics.height()), Qt::AlignCenter,
                     lines.first());
    if (twoLines) {
        painter.setFont(secondFont);
        painter.setPen(Qt::white);
        painter.drawText(QRect(box.left(), box.top() + mainMetrics.height() + 12, box.width(), secondMetrics.height()),
                         Qt::AlignCenter, lines.at(1));
    }
}
