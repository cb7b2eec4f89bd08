#include "platform/ui/FlexGrid.h"

#include "platform/ui/ControlError.h"

#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace platform::ui {

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_boldFont = font();
    m_boldFont.setBold(true);
    resizeCells(2, 2);
    setBorderStyle(m_borderStyle);
}

FlexGrid::~FlexGrid() = default;

// ---- size ------------------------------------------------------------------

void FlexGrid::resizeCells(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols == m_cols) {
        m_cells.resize(std::size_t(rows) * std::size_t(cols));
    } else {
        std::vector<Cell> cells(std::size_t(rows) * std::size_t(cols));
        const int keepRows = std::min(rows, m_rows);
        const int keepCols = std::min(cols, m_cols);
        for (int r = 0; r < keepRows; ++r) {
            for (int c = 0; c < keepCols; ++c) {
                cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)] = std::move(cell(r, c));
            }
        }
        m_cells = std::move(cells);
        m_colWidth.resize(std::size_t(cols), -1);
        m_colLeftValid = false;
    }
    m_rows = rows;
    m_cols = cols;
    m_fixedRows = std::min(m_fixedRows, rows);
    m_fixedCols = std::min(m_fixedCols, cols);
    clampCurrent();
    layoutChanged();
}

void FlexGrid::clampCurrent()
{
    const auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    const int firstRow = m_fixedRows < m_rows ? m_fixedRows : 0;
    const int firstCol = m_fixedCols < m_cols ? m_fixedCols : 0;
    m_row = clamp(m_row, firstRow, std::max(m_rows - 1, 0));
    m_col = clamp(m_col, firstCol, std::max(m_cols - 1, 0));
    m_rowSel = clamp(m_rowSel, 0, std::max(m_rows - 1, 0));
    m_colSel = clamp(m_colSel, 0, std::max(m_cols - 1, 0));
}

void FlexGrid::setRows(int rows)
{
    resizeCells(rows, m_cols);
}

void FlexGrid::setCols(int cols)
{
    resizeCells(m_rows, cols);
}

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || rows > m_rows) {
        throw ControlError(controlErr::InvalidRow, QStringLiteral("Invalid Row value"));
    }
    m_fixedRows = rows;
    clampCurrent();
    layoutChanged();
}

void FlexGrid::setFixedCols(int cols)
{
    if (cols < 0 || cols > m_cols) {
        throw ControlError(controlErr::InvalidCol, QStringLiteral("Invalid Col value"));
    }
    m_fixedCols = cols;
    m_colLeftValid = false;
    clampCurrent();
    layoutChanged();
}

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= m_rows) {
        throw ControlError(controlErr::InvalidRow, QStringLiteral("Invalid Row value"));
    }
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= m_cols) {
        throw ControlError(controlErr::InvalidCol, QStringLiteral("Invalid Col value"));
    }
}

// ---- texts -----------------------------------------------------------------

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return cell(row, col).text;
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    cell(row, col).text = text;
    repaintCells();
}

// ---- current cell ----------------------------------------------------------

void FlexGrid::moveCurrent(int row, int col)
{
    if (row != m_row || col != m_col) {
        emit LeaveCell();
        m_row = row;
        m_col = col;
        m_rowSel = row;
        m_colSel = col;
        repaintCells();
        emit EnterCell();
        emit RowColChange();
    } else if (m_rowSel != row || m_colSel != col) {
        m_rowSel = row;
        m_colSel = col;
        repaintCells();
    }
}

void FlexGrid::setRow(int row)
{
    checkRow(row);
    moveCurrent(row, m_col);
}

void FlexGrid::setCol(int col)
{
    checkCol(col);
    moveCurrent(m_row, col);
}

void FlexGrid::setRowSel(int row)
{
    checkRow(row);
    m_rowSel = row;
    repaintCells();
}

void FlexGrid::setColSel(int col)
{
    checkCol(col);
    m_colSel = col;
    repaintCells();
}

// ---- cell formatting -------------------------------------------------------

OleColor FlexGrid::CellBackColor() const
{
    checkRow(m_row);
    checkCol(m_col);
    const Cell& c = cell(m_row, m_col);
    return (c.flags & HasBack) ? c.back : 0;
}

void FlexGrid::setCellBackColor(OleColor color)
{
    checkRow(m_row);
    checkCol(m_col);
    Cell& c = cell(m_row, m_col);
    c.back = color;
    c.flags |= HasBack;
    repaintCells();
}

bool FlexGrid::CellFontBold() const
{
    checkRow(m_row);
    checkCol(m_col);
    return cell(m_row, m_col).flags & Bold;
}

void FlexGrid::setCellFontBold(bool bold)
{
    checkRow(m_row);
    checkCol(m_col);
    Cell& c = cell(m_row, m_col);
    c.flags = bold ? uint8_t(c.flags | Bold) : uint8_t(c.flags & ~Bold);
    repaintCells();
}

int FlexGrid::CellAlignment() const
{
    checkRow(m_row);
    checkCol(m_col);
    return cell(m_row, m_col).alignment;
}

void FlexGrid::setCellAlignment(int alignment)
{
    checkRow(m_row);
    checkCol(m_col);
    if (alignment < LeftTop || alignment > General) {
        throw ControlError(controlErr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    }
    cell(m_row, m_col).alignment = int8_t(alignment);
    repaintCells();
}

// ---- rows ------------------------------------------------------------------

void FlexGrid::AddItem(const QString& item, int index)
{
    if (index < -1 || index > m_rows) {
        throw ControlError(controlErr::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    }
    const int at = index < 0 ? m_rows : index;
    const auto pos = m_cells.begin() + std::ptrdiff_t(at) * m_cols;
    m_cells.insert(pos, std::size_t(m_cols), Cell{});
    ++m_rows;
    const QStringList parts = item.split(QLatin1Char('\t'));
    for (int c = 0; c < m_cols && c < parts.size(); ++c) {
        cell(at, c).text = parts.at(c);
    }
    clampCurrent();
    layoutChanged();
}

void FlexGrid::Clear()
{
    for (Cell& c : m_cells) {
        c = Cell{};
    }
    repaintCells();
}

void FlexGrid::BindRows(const QStringList& fieldNames, std::vector<QStringList> records)
{
    const int cols = m_fixedCols + int(fieldNames.size());
    const int rows = m_fixedRows + int(records.size());
    std::vector<int> widths = m_colWidth;
    widths.resize(std::size_t(cols), -1);
    m_cells.assign(std::size_t(rows) * std::size_t(cols), Cell{});
    m_rows = rows;
    m_cols = cols;
    m_colWidth = std::move(widths);
    m_colLeftValid = false;
    if (m_fixedRows > 0) {
        for (int f = 0; f < fieldNames.size(); ++f) {
            cell(0, m_fixedCols + f).text = fieldNames.at(f);
        }
    }
    for (std::size_t r = 0; r < records.size(); ++r) {
        QStringList& record = records[r];
        const int row = m_fixedRows + int(r);
        for (int f = 0; f < fieldNames.size() && f < record.size(); ++f) {
            cell(row, m_fixedCols + f).text = std::move(record[f]);
        }
    }
    m_row = m_rowSel = m_fixedRows;
    m_col = m_colSel = m_fixedCols;
    clampCurrent();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    layoutChanged();
}

} // namespace platform::ui
