#include "platform/ui/FlexGrid.h"

#include "platform/ui/KeyCodes.h"
#include "platform/ui/Twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace platform::ui {

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
