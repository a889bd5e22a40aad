#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QSizeF>

// One row of the continuous column: one page, or two side by side.
struct ScrollRow
{
    int firstPage = 0;
    int count = 1;
    int top = 0;
    int height = 0;
    int width = 0;
};

struct ScrollLayoutOptions
{
    enum ZoomMode { FitPage = 0, FitWidth = 1, CustomZoom = 2 };

    int zoomMode = FitWidth;
    double zoom = 1.0;
    int rotation = 0;
    bool twoPages = false;
    int margin = 10;
    int rowGap = 12;
    int spreadGap = 6;
    QSize viewport;
};

// Page slots of the continuous view in content pixels, computed from page sizes in points
// alone (never from the renderer), plus the row arithmetic that scrolling is built on.
class ScrollLayout final
{
public:
    // Stands in for a page whose size is unknown (A4 portrait).
    static constexpr QSizeF FallbackPageSize{595.0, 842.0};

    // `pageSizes` are unrotated sizes in points, empty where unknown.
    void build(const QList<QSizeF> &pageSizes, const ScrollLayoutOptions &options);
    void clear();

    bool isEmpty() const { return m_rows.isEmpty(); }
    int pageCount() const { return int(m_rects.size()); }
    int pagesPerRow() const { return m_perRow; }
    const QList<ScrollRow> &rows() const { return m_rows; }
    QRect pageRect(int page) const;
    double pageScale(int page) const;
    int rowOfPage(int page) const;
    int contentWidth() const { return m_contentWidth; }
    int contentHeight() const { return m_contentHeight; }

    // Start S(i): the scroll position that shows row i at the top, margin included.
    int rowStart(int row) const;
    // End E(i): the next row's start, or the bottom margin of the last row.
    int rowEnd(int row) const;
    // The last row whose start is at or above y.
    int rowAt(double y) const;
    double fractionAt(double y) const;
    double positionOf(double fraction) const;

private:
    QList<ScrollRow> m_rows;
    QList<QRect> m_rects;
    QList<double> m_scales;
    int m_perRow = 1;
    int m_margin = 10;
    int m_contentWidth = 0;
    int m_contentHeight = 0;
};
