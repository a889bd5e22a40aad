#pragma once

#include <QSize>
#include <QStyledItemDelegate>

// Paints a thumbnail cell: rounded card, live or selection frame, the page image, the LIVE
// badge and the page number. Every cell has the size the view fitted.
class ThumbnailDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ThumbnailDelegate(QObject *parent = nullptr);

    void setCellSize(const QSize &size) { m_cellSize = size; }
    QSize cellSize() const { return m_cellSize; }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QSize m_cellSize{166, 132};
};
