// The command bar's interaction: mouse choices, hover, the host's function
// keys, the loss of focus, tooltips, and the events to the host.
#include "controls/commandbar/UtilVek.h"

#include "platform/core/Runtime.h"
#include "platform/ui/KeyCodes.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>


namespace controls {

using utilvek::ControlPintado;

void UtilVek::HandleItemClick(int i)
{
    if (!m_enabled || i < 0 || i >= m_itemCount) {
        return;
    }
    const ItemSlot& item = m_items[std::size_t(i)];
    if (!item.Visible || !item.Enabled) {
        return;
    }
    QString key = item.Key.toUpper();
    if (IsItemCheckableAt(i)) {
        bool marcado = !IsItemCheckedAt(i);
        SetItemCheckedAt(i, marcado);
        QString caption = item.Caption;
        emit CheckClick(caption, marcado);
    }
    const int anterior = m_activeIndex;
    m_activeIndex = i;
    if (anterior != i) {
        RepaintItem(anterior);
    }
    RepaintItem(i);
    // A failure in the host's handler of a mouse choice is not the bar's;
    // the bar goes on as if the handler had returned. Ending the program is
    // not a failure and goes through.
    try {
        emit click(key);
    } catch (const platform::ProgramExit&) {
        throw;
    } catch (...) {
    }
}

void UtilVek::RepaintItem(int i)
{
    if (i < 0 || i >= m_itemCount || !m_items[std::size_t(i)].Visible) {
        return;
    }
    ApplyItemVisuals(i);
    PaintItem(i);
    update();
}

bool UtilVek::IsItemUsable(const QString& key) const
{
    const int i = FindItemIndex(key);
    return i >= 0 && m_items[std::size_t(i)].Visible && m_items[std::size_t(i)].Enabled;
}

void UtilVek::KeyAnalisis(int& KeyCode)
{
    QString key;
    switch (KeyCode) {
    case platform::ui::keys::Escape:
        key = QStringLiteral("CANCELAR");
        break;
    case 113:
        key = QStringLiteral("GRABAR");
        break;
    case 114:
        key = QStringLiteral("NUEVO");
        break;
    case 115:
        key = QStringLiteral("REPORTE");
        break;
    case 116:
        key = QStringLiteral("CONSULTAR");
        break;
    case 117:
        key = QStringLiteral("PLANILLA");
        break;
    case 121:
        key = QStringLiteral("BORRAR");
        break;
    default:
        return;
    }
    if (key == u"CANCELAR" && !IsItemUsable(key)) {
        key = IsItemUsable(QStringLiteral("CERRAR")) ? QStringLiteral("CERRAR") : QString();
    } else if (!IsItemUsable(key)) {
        key.clear();
    }
    if (!key.isEmpty()) {
        emit click(key);
    }
}

void UtilVek::UserControl_LostFocus()
{
    m_hoverIndex = -1;
    m_activeIndex = -1;
    LayoutItems();
}

// ------------------------------------------------------------ the mouse

const ControlPintado* UtilVek::ControlEn(QPointF pixel) const
{
    const double tp = twipsPorPixel();
    const double x = pixel.x() * tp;
    const double y = pixel.y() * tp;
    const ControlPintado* arriba = nullptr;
    for (const ControlesItem& set : m_controles) {
        for (const ControlPintado* c : {&set.PicItem, &set.LblBar, &set.LblText, &set.LblBadge, &set.ImgIcon}) {
            if (c->Visible && c->contiene(x, y) && (!arriba || c->ZOrder > arriba->ZOrder)) {
                arriba = c;
            }
        }
    }
    return arriba;
}

int UtilVek::ItemEn(QPointF pixel) const
{
    const ControlPintado* c = ControlEn(pixel);
    if (!c) {
        return -1;
    }
    for (std::size_t i = 0; i < m_controles.size(); ++i) {
        const ControlesItem& set = m_controles[i];
        if (c == &set.PicItem || c == &set.LblBar || c == &set.LblText || c == &set.LblBadge || c == &set.ImgIcon) {
            return int(i);
        }
    }
    return -1;
}

void UtilVek::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressIndex = ItemEn(event->position());
    const int i = m_pressIndex;
    if (m_enabled && i >= 0 && i < m_itemCount && m_items[std::size_t(i)].Visible && m_items[std::size_t(i)].Enabled) {
        m_pressedIndex = i;
        RepaintItem(i);
    }
}

void UtilVek::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pulsado = m_pressIndex;
    m_pressIndex = -1;
    if (m_pressedIndex >= 0) {
        const int anterior = m_pressedIndex;
        m_pressedIndex = -1;
        RepaintItem(anterior);
    }
    if (pulsado >= 0 && ItemEn(event->position()) == pulsado) {
        HandleItemClick(pulsado);
    }
}

void UtilVek::mouseMoveEvent(QMouseEvent* event)
{
    const int i = ItemEn(event->position());
    const bool usable = i >= 0 && i < m_itemCount && m_items[std::size_t(i)].Visible && m_items[std::size_t(i)].Enabled;
    if (m_pressIndex >= 0) {
        // A held button shows the pressed look only while over its item.
        const int pulsado = (usable && m_enabled && i == m_pressIndex) ? i : -1;
        if (pulsado != m_pressedIndex) {
            const int anterior = m_pressedIndex;
            m_pressedIndex = pulsado;
            RepaintItem(anterior);
            RepaintItem(pulsado);
        }
    }
    SetHoverItem(usable ? i : -1);
}

void UtilVek::leaveEvent(QEvent* event)
{
    SetHoverItem(-1);
    QWidget::leaveEvent(event);
}

void UtilVek::focusOutEvent(QFocusEvent* event)
{
    UserControl_LostFocus();
    QWidget::focusOutEvent(event);
}

bool UtilVek::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* ayuda = static_cast<QHelpEvent*>(event);
        const ControlPintado* c = ControlEn(ayuda->pos());
        if (c && !c->ToolTipText.isEmpty()) {
            QToolTip::showText(ayuda->globalPos(), c->ToolTipText, this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace controls
