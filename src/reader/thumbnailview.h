#pragma once

#include <QListView>

class QPropertyAnimation;
class QScrollBar;
class ThumbnailDelegate;
class ThumbnailModel;

// A thumbnail list over the shared model: the presenter's horizontal strip, the reader's
// vertical column, or the overview's grid. Cells are fitted to the view and the first page's
// shape; the grid shows the pictures the other views asked for, at its own cell size.
class ThumbnailView final : public QListView
{
    Q_OBJECT

public:
    enum Mode { Strip = 1, List = 2, Grid = 3 };

    ThumbnailView(ThumbnailModel *model, int mode, QWidget *parent = nullptr);
    ~ThumbnailView() override;

    int mode() const { return m_mode; }
    ThumbnailDelegate *thumbnailDelegate() const { return m_delegate; }
    // The scroll bar along the strip's direction.
    QScrollBar *stripScrollBar() const;

    // Brings a page into view, with a short animation when the view can scroll.
    void revealPage(int page, bool centred);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void fitCells();
    void revealStep(int page, bool centred);

    ThumbnailModel *m_model;
    ThumbnailDelegate *m_delegate;
    int m_mode;
    int m_revealPage = -1;
    bool m_revealCentred = false;
    QPropertyAnimation *m_revealAnimation;
};
