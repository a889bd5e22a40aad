#include "thumbnaildelegate.h"

#include "reader/thumbnailmodel.h"

#include <QPainter>
#include <QPixmap>

ThumbnailDelegate::ThumbnailDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return m_cellSize;
}

void ThumbnailDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool live = index.data(ThumbnailModel::LiveRole).toBool();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor accent(QStringLiteral("#FF9C45"));

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);

    const QRectF r = QRectF(option.rect).adjusted(3, 3, -3, -3);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(live ? QStringLiteral("#4A3320") : selected ? QStringLiteral("#365269")
                                                                         : QStringLiteral("#152331")));
    painter->drawRoundedRect(r, 6, 6);

    painter->setBrush(Qt::NoBrush);
    if (live) {
        painter->setPen(QPen(QColor(255, 156, 69, 90), 8.0));
        painter->drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
        painter->setPen(QPen(accent, 4.0));
    } else if (selected) {
        painter->setPen(QPen(Qt::white, 2.0));
    } else {
        painter->setPen(QPen(QColor(QStringLiteral("#2E4358")), 1.0));
    }
    painter->drawRoundedRect(r.adjusted(2, 2, -2, -2), 5, 5);

    const QRectF imageArea(r.left() + 6, r.top() + 6, r.width() - 12, r.height() - 30);
    QRectF anchor = imageArea;
    const QPixmap pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!pixmap.isNull()) {
        const QSizeF fitted = QSizeF(pixmap.size()).scaled(imageArea.size(), Qt::KeepAspectRatio);
        anchor = QRectF(QPointF(), fitted);
        anchor.moveCenter(imageArea.center());
        painter->drawPixmap(anchor, pixmap, QRectF(pixmap.rect()));
        painter->setPen(QPen(QColor(255, 255, 255, 45), 1.0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(anchor);
    }

    if (live) {
        QFont badgeFont = painter->font();
        badgeFont.setWeight(QFont::Bold);
        badgeFont.setPixelSize(11);
        const QString badgeText = tr("LIVE");
        const QFontMetricsF metrics(badgeFont);
        const QRectF badge(anchor.left() + 4, anchor.top() + 4, metrics.horizontalAdvance(badgeText) + 12, 16);
        painter->setPen(Qt::NoPen);
        painter->setBrush(accent);
        painter->drawRoundedRect(badge, 3, 3);
        painter->setFont(badgeFont);
        painter->setPen(QColor(QStringLiteral("#152331")));
        painter->drawText(badge, Qt::AlignCenter, badgeText);
    }

    QFont numberFont = painter->font();
    numberFont.setPixelSize(13);
    numberFont.setWeight(live || selected ? QFont::Bold : QFont::Normal);
    painter->setFont(numberFont);
    painter->setPen(live ? accent : QColor(Qt::white));
    painter->drawText(QRectF(r.left(), r.bottom() - 24, r.width(), 22), Qt::AlignCenter,
                      QString::number(index.row() + 1));
    painter->restore();
}
