#pragma once

#include "platform/ui/Colors.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace platform::ui {

// A grid of text cells in the platform's flex-grid shape: rows and columns
// counted from 0, the first FixedRows rows and FixedCols columns drawn as
// fixed (heading) cells that stay in place while the rest scrolls, a current
// cell (Row, Col) with a selection corner (RowSel, ColSel), formatting of the
// current cell through the Cell* properties, column widths in twips (0 hides
// a column), and the platform's events as Qt signals. The cells are painted
// directly (no widget or model item per cell); Redraw false suspends painting.
//
// An invalid row or column raises ControlError (InvalidRow, InvalidCol).
class FlexGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Cell alignment values (CellAlignment): horizontal third by vertical third,
    // and General: texts left, numbers right, both centred vertically.
    enum Alignment : int {
        LeftTop = 0,
        LeftCenter = 1,
        LeftBottom = 2,
        CenterTop = 3,
        CenterCenter = 4,
        CenterBottom = 5,
        RightTop = 6,
        RightCenter = 7,
        RightBottom = 8,
        General = 9,
    };
    // Grid line styles (GridLines, GridLinesFixed): none, or a line in the grid colour.
    enum GridLineStyle : int { GridNone = 0, GridFlat = 1, GridInset = 2, GridRaised = 3 };
    enum FocusRectStyle : int { FocusNone = 0, FocusLight = 1, FocusHeavy = 2 };
    enum HighLightStyle : int { HighLightNever = 0, HighLightAlways = 1, HighLightWithFocus = 2 };

    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Size. Changing Rows or Cols keeps the cells that remain; the fixed counts
    // shrink with them, the current cell moves inside.
    int Rows() const { return m_rows; }
    void setRows(int rows);
    int Cols() const { return m_cols; }
    void setCols(int cols);
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int cols);

    // Texts. Text is the current cell's.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    QString Text() const { return TextMatrix(m_row, m_col); }
    void setText(const QString& text) { setTextMatrix(m_row, m_col, text); }

    // Current cell and selection. Setting Row or Col moves the current cell
    // (raising LeaveCell, EnterCell and RowColChange when it changes) and
    // collapses the selection onto it; RowSel and ColSel then extend it.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    int RowSel() const { return m_rowSel; }
    void setRowSel(int row);
    int ColSel() const { return m_colSel; }
    void setColSel(int col);

    // Formatting of the current cell. The getters return 0 (colours), false or
    // General for a cell that was never formatted.
    OleColor CellBackColor() const;
    void setCellBackColor(OleColor color);
    bool CellFontBold() const;
    void setCellFontBold(bool bold);
    int CellAlignment() const;
    void setCellAlignment(int alignment);

    // Column widths in twips; a negative width restores the default width.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // The least height of every row, in twips.
    int RowHeightMin() const { return m_rowHeightMin; }
    void setRowHeightMin(int twips);

    // Rows. AddItem adds a row at `index` (at the end when -1) whose cells,
    // from column 0, are the tab-separated parts of `item`. Clear empties every
    // text and formatting and keeps the rows, columns and widths.
    void AddItem(const QString& item, int index = -1);
    void Clear();
    // Shows a whole result at once: one column per field after the fixed
    // columns, field names in row 0, one row per record after the fixed rows.
    // Widths, colours and the fixed counts stay. The texts are moved in.
    void BindRows(const QStringList& fieldNames, std::vector<QStringList> records);

    // Painting.
    bool Redraw() const { return m_redraw; }
    void setRedraw(bool redraw);

    // Look.
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    OleColor BackColorFixed() const { return m_backColorFixed; }
    void setBackColorFixed(OleColor color);
    OleColor ForeColorFixed() const { return m_foreColorFixed; }
    void setForeColorFixed(OleColor color);
    OleColor BackColorSel() const { return m_backColorSel; }
    void setBackColorSel(OleColor color);
    OleColor ForeColorSel() const { return m_foreColorSel; }
    void setForeColorSel(OleColor color);
    OleColor GridColor() const { return m_gridColor; }
    void setGridColor(OleColor color);
    OleColor GridColorFixed() const { return m_gridColorFixed; }
    void setGridColorFixed(OleColor color);
    int GridLines() const { return m_gridLines; }
    void setGridLines(int style);
    int GridLinesFixed() const { return m_gridLinesFixed; }
    void setGridLinesFixed(int style);
    int FocusRect() const { return m_focusRect; }
    void setFocusRect(int style);
    int HighLight() const { return m_highLight; }
    void setHighLight(int style);
    // 0 flat, 1 three-dimensional border.
    int Appearance() const { return m_appearance; }
    void setAppearance(int appearance);
    // 0 no border, 1 single border.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);

    // The cell under a point of the viewport, or -1.
    int rowAt(int y) const;
    int colAt(int x) const;

signals:
    void Click();
    void DblClick();
    void GotFocus();
    void LostFocus();
    // The current cell is about to change; Row and Col still name the old cell.
    void LeaveCell();
    // The current cell changed; Row and Col name the new cell.
    void EnterCell();
    void RowColChange();
    // Raised before the grid handles the key: a handler that sets the code to 0
    // stops the grid's own handling, one that changes it makes the grid handle
    // the new code.
    void KeyDown(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void KeyUp(int& keyCode, int shift);
    // X and Y are twips from the control's top left corner.
    void MouseDown(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Cell
    {
        QString text;
        OleColor back = 0;
        uint8_t flags = 0;
        int8_t alignment = General;
    };
    enum CellFlag : uint8_t { HasBack = 1, Bold = 2 };

    Cell& cell(int row, int col) { return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)]; }
    const Cell& cell(int row, int col) const
    {
        return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
    }
    void checkRow(int row) const;
    void checkCol(int col) const;
    void resizeCells(int rows, int cols);
    void moveCurrent(int row, int col);
    void navigate(int keyCode, int shift);
    void ensureVisible(int row, int col);
    void clampCurrent();

    int rowHeightPx() const;
    int colWidthPx(int col) const;
    int colLeftPx(int col) const; // from the start of the grid, unscrolled
    int fixedWidthPx() const;
    int fixedHeightPx() const;
    int visibleScrollRows() const;
    int topRow() const;
    void layoutChanged();
    void updateScrollBars();
    void repaintCells();
    void paintCell(class QPainter& painter, const QRect& rect, int row, int col, bool inSelection) const;

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    std::vector<Cell> m_cells;
    std::vector<int> m_colWidth; // twips, -1 default
    mutable std::vector<int> m_colLeft;
    mutable bool m_colLeftValid = false;

    int m_row = 1;
    int m_col = 1;
    int m_rowSel = 1;
    int m_colSel = 1;
    int m_rowHeightMin = 0;
    bool m_redraw = true;
    bool m_pressed = false;

    OleColor m_backColor = 0x80000005u;
    OleColor m_foreColor = 0x80000008u;
    OleColor m_backColorFixed = 0x8000000Fu;
    OleColor m_foreColorFixed = 0x80000012u;
    OleColor m_backColorSel = 0x8000000Du;
    OleColor m_foreColorSel = 0x8000000Eu;
    OleColor m_gridColor = 0xC0C0C0u;
    OleColor m_gridColorFixed = 0u;
    OleColor m_backColorBkg = 0x8000000Cu;
    int m_gridLines = GridFlat;
    int m_gridLinesFixed = GridInset;
    int m_focusRect = FocusLight;
    int m_highLight = HighLightAlways;
    int m_appearance = 1;
    int m_borderStyle = 1;
    QFont m_boldFont;
};

// Suspends a grid's painting for a scope and gives it back the Redraw it had,
// so a change made of many steps is painted once, when it is whole.
class RedrawPause
{
public:
    explicit RedrawPause(FlexGrid& grid) : m_grid(grid), m_redraw(grid.Redraw()) { m_grid.setRedraw(false); }
    ~RedrawPause() { m_grid.setRedraw(m_redraw); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    FlexGrid& m_grid;
    const bool m_redraw;
};

} // namespace platform::ui
