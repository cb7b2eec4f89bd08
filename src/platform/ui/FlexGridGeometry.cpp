#include "platform/ui/FlexGrid.h"

#include "platform/ui/Twips.h"

#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

namespace platform::ui {

namespace {

constexpr int kDefaultColWidthTwips = 960;

} // namespace

// ---- widths ----------------------------------------------------------------

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    const int width = m_colWidth[std::size_t(col)];
    return width < 0 ? kDefaultColWidthTwips : width;
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    m_colWidth[std::size_t(col)] = twips < 0 ? -1 : twips;
    m_colLeftValid = false;
    layoutChanged();
}

void FlexGrid::setRowHeightMin(int twips)
{
    m_rowHeightMin = std::max(twips, 0);
    layoutChanged();
}

// ---- geometry --------------------------------------------------------------

int FlexGrid::rowHeightPx() const
{
    const int fontHeight = std::max(QFontMetrics(font()).height(), QFontMetrics(m_boldFont).height()) + 2;
    return std::max({fontHeight, twipsToPixels(m_rowHeightMin), 1});
}

int FlexGrid::colWidthPx(int col) const
{
    const int twips = m_colWidth[std::size_t(col)];
    return twipsToPixels(twips < 0 ? kDefaultColWidthTwips : twips);
}

int FlexGrid::colLeftPx(int col) const
{
    if (!m_colLeftValid) {
        m_colLeft.assign(std::size_t(m_cols) + 1, 0);
        for (int c = 0; c < m_cols; ++c) {
            m_colLeft[std::size_t(c) + 1] = m_colLeft[std::size_t(c)] + colWidthPx(c);
        }
        m_colLeftValid = true;
    }
    return m_colLeft[std::size_t(col)];
}

int FlexGrid::fixedWidthPx() const
{
    return colLeftPx(m_fixedCols);
}

int FlexGrid::fixedHeightPx() const
{
    return m_fixedRows * rowHeightPx();
}

int FlexGrid::visibleScrollRows() const
{
    return std::max(1, (viewport()->height() - fixedHeightPx()) / rowHeightPx());
}

int FlexGrid::topRow() const
{
    return m_fixedRows + verticalScrollBar()->value();
}

void FlexGrid::layoutChanged()
{
    updateScrollBars();
    repaintCells();
}

void FlexGrid::updateScrollBars()
{
    if (!m_redraw) {
        return;
    }
    const int scrollRows = m_rows - m_fixedRows;
    const int visible = visibleScrollRows();
    verticalScrollBar()->setRange(0, std::max(0, scrollRows - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    const int scrollWidth = colLeftPx(m_cols) - fixedWidthPx();
    const int visibleWidth = std::max(1, viewport()->width() - fixedWidthPx());
    horizontalScrollBar()->setRange(0, std::max(0, scrollWidth - visibleWidth));
    horizontalScrollBar()->setPageStep(visibleWidth);
    horizontalScrollBar()->setSingleStep(20);
}

void FlexGrid::repaintCells()
{
    if (m_redraw) {
        viewport()->update();
    }
}

int FlexGrid::rowAt(int y) const
{
    if (y < 0) {
        return -1;
    }
    const int height = rowHeightPx();
    int row = y / height;
    if (row >= m_fixedRows) {
        row = topRow() + (y - fixedHeightPx()) / height;
    }
    return row < m_rows ? row : -1;
}

int FlexGrid::colAt(int x) const
{
    if (x < 0 || m_cols == 0) {
        return -1;
    }
    const int fixedWidth = fixedWidthPx();
    const int gridX = x < fixedWidth ? x : x + horizontalScrollBar()->value();
    const int first = x < fixedWidth ? 0 : m_fixedCols;
    const int last = x < fixedWidth ? m_fixedCols : m_cols;
    for (int c = first; c < last; ++c) {
        if (gridX >= colLeftPx(c) && gridX < colLeftPx(c + 1)) {
            return c;
        }
    }
    return -1;
}

void FlexGrid::ensureVisible(int row, int col)
{
    if (row >= m_fixedRows) {
        const int visible = visibleScrollRows();
        QScrollBar* bar = verticalScrollBar();
        const int offset = row - m_fixedRows;
        if (offset < bar->value()) {
            bar->setValue(offset);
        } else if (offset >= bar->value() + visible) {
            bar->setValue(offset - visible + 1);
        }
    }
    if (col >= m_fixedCols) {
        QScrollBar* bar = horizontalScrollBar();
        const int left = colLeftPx(col) - fixedWidthPx();
        const int right = colLeftPx(col + 1) - fixedWidthPx();
        const int visibleWidth = std::max(1, viewport()->width() - fixedWidthPx());
        if (left < bar->value()) {
            bar->setValue(left);
        } else if (right > bar->value() + visibleWidth) {
            bar->setValue(std::min(left, right - visibleWidth));
        }
    }
}

} // namespace platform::ui
