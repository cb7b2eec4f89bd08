// The command bar's layout: the per-item control sets, the column or row of
// item boxes, and the wrapping row of caption buttons of title-only mode.
#include "controls/commandbar/UtilVek.h"

#include "platform/core/Text.h"

#include <QFontMetricsF>
#include <QResizeEvent>

#include <algorithm>

namespace controls {

using utilvek::Alineacion;
using utilvek::ControlPintado;

void UtilVek::EnsureItemControls(int n)
{
    if (n < 0) {
        n = 18;
    }
    if (n < m_controlUpper) {
        return;
    }
    // A new set takes the properties of set 0 and lies above everything.
    while (int(m_controles.size()) <= n) {
        ControlesItem nuevo = m_controles.front();
        for (ControlPintado* c : {&nuevo.PicItem, &nuevo.LblBar, &nuevo.LblText, &nuevo.LblBadge, &nuevo.ImgIcon}) {
            c->ZOrder = ++m_ultimoZOrder;
        }
        m_controles.push_back(nuevo);
    }
    for (int i = 0; i <= n; ++i) {
        ControlesItem& set = m_controles[std::size_t(i)];
        set.PicItem.Visible = false;
        set.PicItem.Borde = false;
        set.LblBar.Visible = false;
        set.LblText.WordWrap = false;
        set.LblText.Visible = false;
        set.LblBadge.Visible = false;
        set.LblBadge.Opaco = true;
        set.LblBadge.Alignment = Alineacion::Centro;
        set.ImgIcon.Borde = false;
        set.ImgIcon.Visible = false;
    }
    if (m_captionFontSize <= 0) {
        m_captionFontSize = m_controles.front().LblText.Font.pointSizeF();
    }
    if (!m_captionAlignmentTaken) {
        m_captionAlignment = m_controles.front().LblText.Alignment;
        m_captionAlignmentTaken = true;
    }
    m_controlUpper = n;
}

void UtilVek::OcultarControles(ControlesItem& set)
{
    set.PicItem.Visible = false;
    set.LblBar.Visible = false;
    set.LblText.Visible = false;
    set.LblBadge.Visible = false;
    set.ImgIcon.Visible = false;
}

int UtilVek::CountVisibleItems() const
{
    return int(std::count_if(m_items.begin(), m_items.begin() + m_itemCount,
                             [](const ItemSlot& item) { return item.Visible; }));
}

void UtilVek::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A host's layout gives the bar its size after it was made, and again
    // whenever the host is resized: the items follow the size the bar shows.
    LayoutItems();
}

void UtilVek::LayoutItems()
{
    if (m_updateDepth > 0) {
        m_layoutPending = true;
        return;
    }
    setBackColor(EffectiveNormalColor());
    update();
    if (m_soloTitulo) {
        LayoutTitleOnly();
        return;
    }
    const float w = kItemWidth;
    float h = m_itemHeight;
    if (h <= 0) {
        h = m_controles.front().PicItem.Height > 0 ? float(m_controles.front().PicItem.Height) : 480;
    }
    const float t = m_topOffset - 60;
    const float anchoInterior = ScaleWidth();
    const float altoInterior = ScaleHeight();
    const bool horizontal = m_autoOrientacion ? anchoInterior >= altoInterior : m_horizontal;

    if (horizontal && altoInterior > 975) {
        m_zonaResto = QRectF(QPointF(0, 975), QPointF(anchoInterior, altoInterior));
    } else if (!horizontal && anchoInterior > 1020) {
        m_zonaResto = QRectF(QPointF(1020, 0), QPointF(anchoInterior, altoInterior));
    }
    m_colorResto = HighlightBackColor();

    float x = 0;
    float y = 0;
    float paso = 0;
    if (horizontal) {
        x = m_horizontalStartPad;
        paso = w + m_horizontalGap + m_itemGap;
    } else {
        y = m_topOffset + 80;
        if (m_showCaptions) {
            const int n = CountVisibleItems();
            float g = 20;
            if (n > 1) {
                const float a = (altoInterior - 60 - (m_topOffset + 80) - n * h - n * 400) / float(n - 1);
                if (a < 20) {
                    g = a;
                }
                if (g < 0) {
                    g = 0;
                }
            }
            paso = h + 400 + g + m_itemGap;
        } else {
            paso = h + m_itemGap;
        }
    }
    const QString grupo = platform::text::Trim(m_groupBreakAfterTag).toUpper();

    for (int i = 0; i <= m_controlUpper; ++i) {
        ControlesItem& set = m_controles[std::size_t(i)];
        if (i >= m_itemCount || !m_items[std::size_t(i)].Visible) {
            OcultarControles(set);
            continue;
        }
        if (horizontal) {
            set.PicItem.Move(x, t, w, h);
            set.LblBar.Move(x, t, 60, h);
        } else {
            set.PicItem.Move(120, y, w, h);
            set.LblBar.Move(120, y, 60, h);
        }
        ApplyItemVisuals(i);
        PaintItem(i);
        float& posicion = horizontal ? x : y;
        posicion += paso;
        if (m_groupGap > 0 && !grupo.isEmpty() && m_items[std::size_t(i)].Key.toUpper() == grupo) {
            posicion += m_groupGap;
        }
    }
}

void UtilVek::LayoutTitleOnly()
{
    const float cg = std::max(m_itemGap + 90, 15.0f);
    const float p = 90;
    const float rg = 30;
    float rh = m_itemHeight / 2;
    if (rh <= 0) {
        rh = 300;
    }
    rh = std::clamp(rh, 255.0f, 420.0f);
    const float limite = std::max(ScaleWidth() - 90, 690.0f);
    float x = 90;
    float y = 45;
    for (int i = 0; i <= m_controlUpper; ++i) {
        ControlesItem& set = m_controles[std::size_t(i)];
        if (i >= m_itemCount || !m_items[std::size_t(i)].Visible) {
            OcultarControles(set);
            continue;
        }
        ApplyItemVisuals(i);
        const float bw = std::min(MeasureTitleWidth(i), limite - p);
        if (x > p && x + bw > limite) {
            x = p;
            y = y + rh + rg;
        }
        set.PicItem.Move(x, y, bw, rh);
        set.LblText.Move(x, y, bw, rh);
        set.LblText.WordWrap = false;
        set.LblText.Caption =
            utilvek::conBlancosFijos(FitCaption(i, m_items[std::size_t(i)].Caption, float(set.LblText.Width) - 30));
        set.LblText.Visible = true;
        BringToFront(set.LblText);
        set.LblBar.Visible = false;
        set.LblBadge.Visible = false;
        set.PicItem.Visible = false;
        set.ImgIcon.Visible = false;
        x = x + bw + cg;
    }
}

float UtilVek::MeasureTitleWidth(int i)
{
    ControlesItem& set = m_controles[std::size_t(i)];
    QFont medida = set.PicItem.Font;
    medida.setFamily(set.LblText.Font.family());
    medida.setPointSizeF(set.LblText.Font.pointSizeF());
    medida.setBold(set.LblText.Font.bold());
    medida.setItalic(set.LblText.Font.italic());
    set.PicItem.Font = medida;
    const double ancho = QFontMetricsF(medida).horizontalAdvance(m_items[std::size_t(i)].Caption) * twipsPorPixel();
    return std::max(float(ancho) + 420, 780.0f);
}

} // namespace controls
