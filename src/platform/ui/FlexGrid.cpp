#include "platform/ui/FlexGrid.h"

#include "platform/ui/ControlError.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Twips.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace platform::ui {

namespace {

constexpr int kDefaultColWidthTwips = 960;
constexpr int kTextMarginPx = 3;

Qt::Alignment qtAlignment(int alignment, const QString& text)
{
    Qt::Alignment horizontal;
    Qt::Alignment vertical;
    if (alignment < FlexGrid::LeftTop || alignment > FlexGrid::RightBottom) {
        bool number = false;
        text.trimmed().toDouble(&number);
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    switch (alignment / 3) {
    case 0:
        horizontal = Qt::AlignLeft;
        break;
    case 1:
        horizontal = Qt::AlignHCenter;
        break;
    default:
        horizontal = Qt::AlignRight;
        break;
    }
    switch (alignment % 3) {
    case 0:
        vertical = Qt::AlignTop;
        break;
    case 1:
        vertical = Qt::AlignVCenter;
        break;
    default:
        vertical = Qt::AlignBottom;
        break;
    }
    return horizontal | vertical;
}

} // namespace

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

void FlexGrid::BindRows(const QStringList& fieldNames, const std::vector<QStringList>& records)
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
        const QStringList& record = records[r];
        const int row = m_fixedRows + int(r);
        for (int f = 0; f < fieldNames.size() && f < record.size(); ++f) {
            cell(row, m_fixedCols + f).text = record.at(f);
        }
    }
    m_row = m_rowSel = m_fixedRows;
    m_col = m_colSel = m_fixedCols;
    clampCurrent();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    layoutChanged();
}

// ---- painting switches and look --------------------------------------------

void FlexGrid::setRedraw(bool redraw)
{
    if (redraw == m_redraw) {
        return;
    }
    m_redraw = redraw;
    viewport()->setUpdatesEnabled(redraw);
    if (redraw) {
        updateScrollBars();
        viewport()->update();
    }
}

void FlexGrid::setBackColor(OleColor color)
{
    m_backColor = color;
    repaintCells();
}

void FlexGrid::setForeColor(OleColor color)
{
    m_foreColor = color;
    repaintCells();
}

void FlexGrid::setBackColorFixed(OleColor color)
{
    m_backColorFixed = color;
    repaintCells();
}

void FlexGrid::setForeColorFixed(OleColor color)
{
    m_foreColorFixed = color;
    repaintCells();
}

void FlexGrid::setBackColorSel(OleColor color)
{
    m_backColorSel = color;
    repaintCells();
}

void FlexGrid::setForeColorSel(OleColor color)
{
    m_foreColorSel = color;
    repaintCells();
}

void FlexGrid::setGridColor(OleColor color)
{
    m_gridColor = color;
    repaintCells();
}

void FlexGrid::setGridColorFixed(OleColor color)
{
    m_gridColorFixed = color;
    repaintCells();
}

void FlexGrid::setGridLines(int style)
{
    m_gridLines = style;
    repaintCells();
}

void FlexGrid::setGridLinesFixed(int style)
{
    m_gridLinesFixed = style;
    repaintCells();
}

void FlexGrid::setFocusRect(int style)
{
    m_focusRect = style;
    repaintCells();
}

void FlexGrid::setHighLight(int style)
{
    m_highLight = style;
    repaintCells();
}

void FlexGrid::setAppearance(int appearance)
{
    m_appearance = appearance;
    setBorderStyle(m_borderStyle);
}

void FlexGrid::setBorderStyle(int style)
{
    m_borderStyle = style;
    if (style == 0) {
        setFrameStyle(QFrame::NoFrame);
    } else {
        setFrameStyle(QFrame::Panel | (m_appearance == 0 ? QFrame::Plain : QFrame::Sunken));
        setLineWidth(1);
    }
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

// ---- painting --------------------------------------------------------------

void FlexGrid::paintCell(QPainter& painter, const QRect& rect, int row, int col, bool inSelection) const
{
    const Cell& c = cell(row, col);
    const bool fixed = row < m_fixedRows || col < m_fixedCols;
    QColor back;
    QColor fore;
    if (inSelection && !fixed) {
        back = toQColor(m_backColorSel);
        fore = toQColor(m_foreColorSel);
    } else {
        back = (c.flags & HasBack) ? toQColor(c.back) : toQColor(fixed ? m_backColorFixed : m_backColor);
        fore = toQColor(fixed ? m_foreColorFixed : m_foreColor);
    }
    painter.fillRect(rect, back);
    const int lines = fixed ? m_gridLinesFixed : m_gridLines;
    if (lines != GridNone) {
        painter.setPen(toQColor(fixed ? m_gridColorFixed : m_gridColor));
        painter.drawLine(rect.topRight(), rect.bottomRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    if (!c.text.isEmpty()) {
        painter.setPen(fore);
        painter.setFont((c.flags & Bold) ? m_boldFont : font());
        const QRect textRect = rect.adjusted(kTextMarginPx, 0, -kTextMarginPx, -1);
        painter.drawText(textRect, int(qtAlignment(c.alignment, c.text)) | Qt::TextSingleLine, c.text);
    }
    if (row == m_row && col == m_col && m_focusRect != FocusNone && hasFocus()) {
        QPen pen(toQColor(m_foreColor));
        pen.setStyle(m_focusRect == FocusLight ? Qt::DotLine : Qt::SolidLine);
        pen.setWidth(m_focusRect == FocusHeavy ? 2 : 1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, toQColor(m_backColorBkg));
    if (m_rows == 0 || m_cols == 0) {
        return;
    }
    const int height = rowHeightPx();
    const int fixedWidth = fixedWidthPx();
    const int fixedHeight = fixedHeightPx();
    const int xOffset = horizontalScrollBar()->value();
    const int first = topRow();
    const int selTop = std::min(m_row, m_rowSel);
    const int selBottom = std::max(m_row, m_rowSel);
    const int selLeft = std::min(m_col, m_colSel);
    const int selRight = std::max(m_col, m_colSel);
    const bool multiCell = selTop != selBottom || selLeft != selRight;
    const bool highlight =
        multiCell && (m_highLight == HighLightAlways || (m_highLight == HighLightWithFocus && hasFocus()));

    // Scrolling columns first, fixed columns over them.
    const auto paintRow = [&](int row, int y) {
        for (int c = m_fixedCols; c < m_cols; ++c) {
            const int x = colLeftPx(c) - xOffset;
            const int w = colWidthPx(c);
            if (w == 0 || x + w <= fixedWidth) {
                continue;
            }
            if (x >= area.width()) {
                break;
            }
            const bool selected = highlight && row >= selTop && row <= selBottom && c >= selLeft && c <= selRight;
            paintCell(painter, QRect(x, y, w, height), row, c, selected);
        }
        painter.setClipping(false);
        for (int c = 0; c < m_fixedCols; ++c) {
            const int w = colWidthPx(c);
            if (w > 0) {
                paintCell(painter, QRect(colLeftPx(c), y, w, height), row, c, false);
            }
        }
    };
    for (int r = first, y = fixedHeight; r < m_rows && y < area.height(); ++r, y += height) {
        painter.setClipRect(QRect(fixedWidth, fixedHeight, area.width() - fixedWidth, area.height() - fixedHeight));
        paintRow(r, y);
    }
    for (int r = 0; r < m_fixedRows; ++r) {
        painter.setClipRect(QRect(fixedWidth, 0, area.width() - fixedWidth, fixedHeight));
        paintRow(r, r * height);
    }
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FlexGrid::scrollContentsBy(int, int)
{
    repaintCells();
}

void FlexGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_boldFont = font();
        m_boldFont.setBold(true);
        layoutChanged();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---- keys ------------------------------------------------------------------

void FlexGrid::navigate(int keyCode, int shift)
{
    if (m_rows <= m_fixedRows || m_cols <= m_fixedCols) {
        return;
    }
    const bool extend = shift & shiftMask::Shift;
    const bool ctrl = shift & shiftMask::Ctrl;
    int row = extend ? m_rowSel : m_row;
    int col = extend ? m_colSel : m_col;
    const int page = visibleScrollRows();
    switch (keyCode) {
    case keys::Left:
        --col;
        break;
    case keys::Right:
        ++col;
        break;
    case keys::Up:
        --row;
        break;
    case keys::Down:
        ++row;
        break;
    case keys::PageUp:
        row -= page;
        break;
    case keys::PageDown:
        row += page;
        break;
    case keys::Home:
        col = m_fixedCols;
        if (ctrl) {
            row = m_fixedRows;
        }
        break;
    case keys::End:
        col = m_cols - 1;
        if (ctrl) {
            row = m_rows - 1;
        }
        break;
    default:
        return;
    }
    row = std::max(m_fixedRows, std::min(row, m_rows - 1));
    col = std::max(m_fixedCols, std::min(col, m_cols - 1));
    if (extend) {
        m_rowSel = row;
        m_colSel = col;
        repaintCells();
    } else {
        moveCurrent(row, col);
    }
    ensureVisible(row, col);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    int keyCode = keyCodeOf(*event);
    const int shift = shiftStateOf(event->modifiers());
    if (keyCode == keys::Tab) {
        // Tab leaves the grid for the next control, as on the platform.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (keyCode != 0) {
        emit KeyDown(keyCode, shift);
        if (keyCode != 0) {
            navigate(keyCode, shift);
        }
    }
    int keyAscii = keyAsciiOf(*event);
    if (keyAscii != 0) {
        emit KeyPress(keyAscii);
    }
    event->accept();
}

void FlexGrid::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        return;
    }
    int keyCode = keyCodeOf(*event);
    if (keyCode != 0) {
        emit KeyUp(keyCode, shiftStateOf(event->modifiers()));
    }
    event->accept();
}

// ---- mouse -----------------------------------------------------------------

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint inControl = viewport()->mapTo(this, pos);
    emit MouseDown(mouseButtonOf(event->button()), shiftStateOf(event->modifiers()),
                   float(pixelsToTwips(inControl.x())), float(pixelsToTwips(inControl.y())));
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_pressed = true;
    const int row = rowAt(pos.y());
    const int col = colAt(pos.x());
    if (row < 0 || col < 0 || m_rows <= m_fixedRows || m_cols <= m_fixedCols) {
        return;
    }
    if (row < m_fixedRows && col >= m_fixedCols) {
        // A heading selects its whole column.
        moveCurrent(m_fixedRows, col);
        m_rowSel = m_rows - 1;
    } else if (col < m_fixedCols && row >= m_fixedRows) {
        // A fixed cell at the left selects its whole row.
        moveCurrent(row, m_fixedCols);
        m_colSel = m_cols - 1;
    } else if (row >= m_fixedRows && col >= m_fixedCols) {
        if (event->modifiers().testFlag(Qt::ShiftModifier)) {
            m_rowSel = row;
            m_colSel = col;
        } else {
            moveCurrent(row, col);
        }
    }
    repaintCells();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = colAt(pos.x());
    if (row >= m_fixedRows && col >= m_fixedCols && (row != m_rowSel || col != m_colSel)) {
        m_rowSel = row;
        m_colSel = col;
        repaintCells();
    }
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit DblClick();
    }
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    repaintCells();
    emit GotFocus();
}

void FlexGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    repaintCells();
    emit LostFocus();
}

} // namespace platform::ui
