#include "playlistdelegate.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int TextMargin = 6;

QString chipText(const QModelIndex &index)
{
    const QString chip = index.data(PlaylistDelegate::ChipRole).toString();
    if (!chip.isEmpty())
        return chip;
    return QChar(0x23F1) + QLatin1Char(' ') + PlaylistDelegate::tr("add timer");
}

QRect textRect(const QRect &row)
{
    return row.adjusted(TextMargin, 0, -TextMargin, 0);
}

// The chips are drawn in the desktop's own font, whatever text size the widgets are given.
QFont chipFont()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

// Painting and clicking measure the chip the same way, so a click hits what was drawn.
QRect chipRect(const QRect &text, const QString &chip)
{
    const QFontMetrics metrics(chipFont());
    const int width = metrics.horizontalAdvance(chip) + 16;
    const int height = metrics.height() + 4;
    return QRect(text.right() - 5 - width, text.center().y() - height / 2, width, height);
}

} // namespace

PlaylistDelegate::PlaylistDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void PlaylistDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    const QString chip = chipText(index);
    const bool hasCountdown = !index.data(ChipRole).toString().isEmpty();
    const bool over = index.data(OverRole).toBool();
    // The style draws background, selection and focus; the text is drawn here, short of the chip.
    item.text.clear();
    QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    QRect area = textRect(item.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(chipFont());
    const QRect pill = chipRect(area, chip);
    const QColor orange(over ? QStringLiteral("#FF5252") : QStringLiteral("#FF9C45"));
    QColor fill = orange;
    fill.setAlpha(38);
    painter->setPen(QPen(hasCountdown ? orange : QColor(QStringLiteral("#486075")), 1));
    painter->setBrush(hasCountdown ? fill : QColor(QStringLiteral("#1F3144")));
    const QRectF outline = QRectF(pill).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->drawRoundedRect(outline, pill.height() / 2.0, pill.height() / 2.0);
    painter->setPen(hasCountdown ? orange : QColor(QStringLiteral("#9FB3C8")));
    painter->drawText(pill, Qt::AlignCenter, chip);

    area.setRight(pill.left() - 8);
    painter->setFont(item.font);
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString elided = QFontMetrics(item.font).elidedText(text, Qt::ElideRight, std::max(0, area.width()));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, elided);
    painter->restore();
}

QSize PlaylistDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The view stretches rows to its width; only the height matters.
    return QSize(1, QStyledItemDelegate::sizeHint(option, index).height() + 4);
}

bool PlaylistDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    Q_UNUSED(model)
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    if (!chipRect(textRect(option.rect), chipText(index)).contains(mouse->position().toPoint()))
        return false;
    if (m_chipClicked)
        m_chipClicked(index.row());
    return true;
}
