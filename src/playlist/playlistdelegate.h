#pragma once

#include <QStyledItemDelegate>

#include <functional>

// Paints a playlist row with its countdown chip at the right and opens the chip on a click.
// Rows without a countdown show a muted "add timer" chip, which is how a countdown is added.
class PlaylistDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Item data role of the chip text; absent when the file has no countdown.
    static constexpr int ChipRole = Qt::UserRole + 1;
    // The talk took longer than its countdown: the chip is marked.
    static constexpr int OverRole = Qt::UserRole + 2;

    using ChipClicked = std::function<void(int row)>;

    explicit PlaylistDelegate(QObject *parent = nullptr);

    void setChipClicked(ChipClicked callback) { m_chipClicked = std::move(callback); }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    ChipClicked m_chipClicked;
};
