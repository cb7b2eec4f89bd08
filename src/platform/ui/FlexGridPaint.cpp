#include "platform/ui/FlexGrid.h"

#include <QEvent>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace platform::ui {

namespace {

constexpr int kTextMarginPx = 3;

Qt::Alignment qtAlignment(int alignment, const QString& text)
{
    Qt::Alignment horizontal;
    Qt::Alignment vertical;
    if (alignment < FlexGrid::LeftTop || alignment > FlexGrid::RightBottom) {
        // A number in the program's form or in the user's (decimal comma).
        const QString trimmed = text.trimmed();
        bool number = false;
        trimmed.toDouble(&number);
        if (!number) {
            QLocale().toDouble(trimmed, &number);
        }
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

    // The right and bottom lines of a run of cells are drawn at once, after
    // the cells: no cell's fill or text reaches its lines.
    std::vector<QLine> lines;
    const auto addLines = [&](const QRect& rect) {
        lines.emplace_back(rect.topRight(), rect.bottomRight());
        lines.emplace_back(rect.bottomLeft(), rect.bottomRight());
    };
    const auto drawLines = [&](bool fixed) {
        if ((fixed ? m_gridLinesFixed : m_gridLines) != GridNone && !lines.empty()) {
            painter.setPen(toQColor(fixed ? m_gridColorFixed : m_gridColor));
            painter.drawLines(lines.data(), int(lines.size()));
        }
        lines.clear();
    };

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
            const QRect rect(x, y, w, height);
            paintCell(painter, rect, row, c, selected);
            addLines(rect);
        }
        drawLines(row < m_fixedRows);
        painter.setClipping(false);
        for (int c = 0; c < m_fixedCols; ++c) {
            const int w = colWidthPx(c);
            if (w > 0) {
                const QRect rect(colLeftPx(c), y, w, height);
                paintCell(painter, rect, row, c, false);
                addLines(rect);
            }
        }
        drawLines(true);
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

} // namespace platform::ui
