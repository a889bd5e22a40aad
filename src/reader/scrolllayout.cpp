#include "scrolllayout.h"

#include <algorithm>
#include <cmath>

namespace {

QSizeF slotPoints(QSizeF size, int rotation)
{
    if (size.isEmpty() || !std::isfinite(size.width()) || !std::isfinite(size.height()))
        size = ScrollLayout::FallbackPageSize;
    if (rotation % 2 != 0)
        size.transpose();
    return size;
}

} // namespace

void ScrollLayout::clear()
{
    m_rows.clear();
    m_rects.clear();
    m_scales.clear();
    m_contentWidth = 0;
    m_contentHeight = 0;
}

void ScrollLayout::build(const QList<QSizeF> &pageSizes, const ScrollLayoutOptions &options)
{
    clear();
    const int pages = int(pageSizes.size());
    const int rotation = ((options.rotation % 4) + 4) % 4;
    m_perRow = options.twoPages ? 2 : 1;
    m_margin = options.margin;
    m_rects = QList<QRect>(pages);
    m_scales = QList<double>(pages, 1.0);

    const int n = m_perRow;
    const int availableWidth = std::max(options.viewport.width() - 2 * options.margin, 80);
    const int availableHeight = std::max(options.viewport.height() - 2 * options.margin, 60);
    const double usable = std::max(double(availableWidth - (n - 1) * options.spreadGap), 40.0);

    int y = options.margin;
    int widest = 0;
    for (int first = 0; first < pages; first += n) {
        const int k = std::min(n, pages - first);
        double rowWidth = 0.0;
        double rowHeight = 0.0;
        QSizeF last;
        for (int i = 0; i < k; ++i) {
            last = slotPoints(pageSizes.at(first + i), rotation);
            rowWidth += last.width();
            rowHeight = std::max(rowHeight, last.height());
        }
        // A lone last page of a spread is scaled as if it had a partner of its own width.
        rowWidth += (n - k) * last.width();

        double scale = usable / rowWidth;
        if (options.zoomMode == ScrollLayoutOptions::CustomZoom)
            scale = options.zoom * 96.0 / 72.0;
        else if (options.zoomMode == ScrollLayoutOptions::FitPage)
            scale = std::min(usable / rowWidth, availableHeight / rowHeight);

        ScrollRow row;
        row.firstPage = first;
        row.count = k;
        row.top = y;
        int x = 0;
        for (int i = 0; i < k; ++i) {
            const QSizeF points = slotPoints(pageSizes.at(first + i), rotation);
            const int w = std::max(int(points.width() * scale), 20);
            const int h = std::max(int(points.height() * scale), 20);
            m_rects[first + i] = QRect(x, 0, w, h);
            m_scales[first + i] = scale;
            x += w + options.spreadGap;
            row.height = std::max(row.height, h);
        }
        row.width = x - options.spreadGap;
        widest = std::max(widest, row.width);
        m_rows.append(row);
        y += row.height + options.rowGap;
    }

    m_contentWidth = std::max(options.viewport.width(), widest + 2 * options.margin);
    for (const ScrollRow &row : std::as_const(m_rows)) {
        for (int page = row.firstPage; page < row.firstPage + row.count; ++page) {
            QRect &rect = m_rects[page];
            rect.moveTo(rect.x() + (m_contentWidth - row.width) / 2, row.top + (row.height - rect.height()) / 2);
        }
    }
    if (!m_rows.isEmpty()) {
        m_contentHeight = 2 * options.margin + (int(m_rows.size()) - 1) * options.rowGap;
        for (const ScrollRow &row : std::as_const(m_rows))
            m_contentHeight += row.height;
    }
}

QRect ScrollLayout::pageRect(int page) const
{
    return page >= 0 && page < m_rects.size() ? m_rects.at(page) : QRect();
}

double ScrollLayout::pageScale(int page) const
{
    return page >= 0 && page < m_scales.size() ? m_scales.at(page) : 1.0;
}

int ScrollLayout::rowOfPage(int page) const
{
    if (m_rows.isEmpty())
        return 0;
    return std::clamp(page / m_perRow, 0, int(m_rows.size()) - 1);
}

int ScrollLayout::rowStart(int row) const
{
    return std::max(m_rows.at(row).top - m_margin, 0);
}

int ScrollLayout::rowEnd(int row) const
{
    if (row + 1 < m_rows.size())
        return rowStart(row + 1);
    const ScrollRow &last = m_rows.at(row);
    return last.top + last.height + m_margin;
}

int ScrollLayout::rowAt(double y) const
{
    if (m_rows.size() <= 1)
        return 0;
    int low = 0;
    int high = int(m_rows.size()) - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (rowStart(middle) <= y)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

double ScrollLayout::fractionAt(double y) const
{
    if (m_rows.isEmpty())
        return 0.0;
    const int row = rowAt(y);
    return row + (y - rowStart(row)) / std::max(rowEnd(row) - rowStart(row), 1);
}

double ScrollLayout::positionOf(double fraction) const
{
    if (m_rows.isEmpty() || !std::isfinite(fraction))
        return 0.0;
    const int row = std::clamp(int(std::floor(fraction)), 0, int(m_rows.size()) - 1);
    return rowStart(row) + std::max(rowEnd(row) - rowStart(row), 1) * (fraction - row);
}
