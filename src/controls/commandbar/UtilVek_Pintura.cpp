// The look of one item of the command bar (state colours, caption, badge,
// check box, attention mark, stacking), the hover item, and the painting of
// the bar's controls on the widget.
#include "controls/commandbar/UtilVek.h"

#include "platform/core/Text.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace controls {

using platform::ui::OleColor;
using platform::ui::rgb;
using utilvek::Alineacion;
using utilvek::Circulo;
using utilvek::ControlPintado;
using utilvek::Linea;
using utilvek::Rectangulo;

bool UtilVek::ItemHasIcon(int i) const
{
    if (i < 0 || i >= m_itemCount) {
        return false;
    }
    const ItemSlot& item = m_items[std::size_t(i)];
    return item.IconFromFile || GetBaseIconIndex(item.Key) >= 0;
}

void UtilVek::ApplyItemVisuals(int i)
{
    const ItemSlot& item = m_items.at(std::size_t(i));
    ControlesItem& set = m_controles.at(std::size_t(i));
    const bool habilitado = item.Enabled && m_enabled;
    const bool checkable = IsItemCheckableAt(i);
    const bool activo = !checkable && i == m_activeIndex;
    const bool bajoMouse = !checkable && i == m_hoverIndex;
    const bool conIcono = !m_soloTitulo && ItemHasIcon(i);
    const OleColor normal = EffectiveNormalColor();

    OleColor b = (activo || bajoMouse) ? EffectiveActiveColor() : normal;
    if (m_estilo == 5) {
        if (activo) {
            b = ShadeColor(normal, -20);
        } else if (bajoMouse) {
            b = normal;
        }
    }
    if (i == m_pressedIndex) {
        b = m_pressedColor;
    }
    if (!habilitado) {
        b = ShadeColor(normal, -6);
    }

    set.PicItem.setBackColor(b);
    set.LblBar.setBackColor(m_activeBarColor);
    set.LblBar.Visible = false;
    set.PicItem.ToolTipText = item.ToolTip;
    set.LblText.ToolTipText = item.ToolTip;
    set.LblBadge.ToolTipText = item.ToolTip;

    // A caption that fills a box without icon lets the box show through, its
    // border and its marks with it.
    set.LblText.Opaco = conIcono || m_soloTitulo;
    set.LblText.setBackColor(b);
    if (m_captionFontSize <= 0) {
        m_captionFontSize = m_controles.front().LblText.Font.pointSizeF();
    }
    QFont fuente = set.LblText.Font;
    fuente.setPointSizeF(m_captionFontSize);
    set.LblText.Alignment = m_captionAlignment;
    if (habilitado) {
        set.LblText.ForeColor = activo ? rgb(250, 250, 250) : rgb(255, 255, 255);
    } else {
        set.LblText.ForeColor = m_soloTitulo ? rgb(155, 155, 155) : rgb(138, 138, 138);
    }
    fuente.setBold(false);
    fuente.setItalic(false);
    if (!conIcono) {
        fuente.setPointSizeF(m_captionFontSize + 2);
        set.LblText.Alignment = Alineacion::Centro;
    }
    set.LblText.Font = fuente;

    ControlPintado& badge = set.LblBadge;
    badge.Caption = item.Badge >= 100 ? QStringLiteral("99+")
                    : item.Badge >= 1 ? QString::number(item.Badge)
                                      : QString();
    if (item.Attention && item.Badge > 0) {
        badge.Opaco = true;
        badge.setBackColor(item.AttentionColor);
        badge.Width = 240;
        badge.Height = 225;
    } else if (item.Attention) {
        badge.Opaco = false;
        badge.Caption = QString(QChar(0x2022));
        badge.ForeColor = item.AttentionColor;
        badge.Font = QFont(QStringLiteral("Arial"));
        badge.Font.setBold(true);
        badge.Font.setPointSizeF(16);
        badge.Width = 210;
        badge.Height = 210;
    } else {
        badge.Opaco = true;
        badge.setBackColor(rgb(0, 120, 215));
        badge.Font = QFont(QStringLiteral("MS Sans Serif"));
        badge.Font.setPointSizeF(8.25);
        badge.Width = 240;
        badge.Height = 225;
    }

    set.PicItem.Visible = item.Visible;
    set.PicItem.Enabled = habilitado;
    set.PicItem.Borde = !conIcono;
    badge.Enabled = habilitado;
    badge.ForeColor = habilitado ? rgb(255, 255, 255) : rgb(120, 120, 120);
    set.ImgIcon.setBackColor(b);
    set.ImgIcon.Enabled = habilitado;
    if (m_soloTitulo) {
        set.PicItem.Visible = false;
        set.ImgIcon.Visible = false;
        set.LblBar.Visible = false;
    } else {
        set.ImgIcon.Visible = item.Visible && item.IconFromFile;
    }
    set.ImgIcon.ToolTipText = item.ToolTip;
}

void UtilVek::PaintItem(int i)
{
    if (m_soloTitulo) {
        PaintTitleItem(i);
        return;
    }
    const ItemSlot& item = m_items.at(std::size_t(i));
    ControlesItem& set = m_controles.at(std::size_t(i));
    const double L = set.PicItem.Left;
    const double T = set.PicItem.Top;
    const double W = set.PicItem.Width;
    const double H = set.PicItem.Height;
    const double c = std::max(QFontMetricsF(set.PicItem.Font).height() * twipsPorPixel() + 45, 400.0);

    // A picture on the box (from a file or built in) leaves the caption
    // under the box; without one the caption fills the box, its text centred
    // below the marks at the box's top.
    if (ItemHasIcon(i)) {
        set.LblText.Move(L, T + H + 10, W, c);
        set.LblText.WordWrap = false;
        set.LblText.MargenSuperior = 0;
        set.LblText.CentradoVertical = false;
        MostrarTitulo(i, float(W) - 20, float(c), m_captionFontSize);
        set.LblText.Visible = m_showCaptions;
    } else {
        set.LblText.Move(L, T, W, H);
        set.LblText.WordWrap = true;
        set.LblText.Alignment = Alineacion::Centro;
        set.LblText.MargenSuperior = AltoDeMarcas(i);
        set.LblText.CentradoVertical = true;
        // Two pixels of the height are left free, so the lines keep off the border.
        MostrarTitulo(i, float(W) - 20, float(H - set.LblText.MargenSuperior) - 30, m_captionFontSize + 2);
        set.LblText.Visible = true;
    }

    set.LblBar.Move(L - 80, T, 60, (set.LblText.Top + set.LblText.Height) - T);
    if (item.Attention && item.Badge < 1) {
        set.LblBadge.Move(L + W - 210, T + 60, 180, 180);
    } else {
        // A count wider than the badge (such as "99+" in the faces that stand
        // in for the design's) widens it to the left.
        const double ancho = std::max(
            240.0, QFontMetricsF(set.LblBadge.Font).horizontalAdvance(set.LblBadge.Caption) * twipsPorPixel() + 60);
        set.LblBadge.Move(L + W - 75 - ancho, T + 75, ancho, 225);
    }
    set.LblBadge.Visible = item.Badge > 0;
    set.ImgIcon.Move(L, T, W, H);
    if (item.IconFromFile) {
        RenderItemIcon(i);
    } else {
        DrawBaseIcon(i);
    }
    DrawCheckMark(i, set.PicItem.BackColor);
    DrawAttentionMark(i, set.PicItem.BackColor);
    BringToFront(set.ImgIcon);
    BringToFront(set.LblText);
    BringToFront(set.LblBadge);
    BringToFront(set.LblBar);
}

void UtilVek::MostrarTitulo(int i, float maxWidth, float maxHeight, double puntos)
{
    ControlesItem& set = m_controles[std::size_t(i)];
    set.LblText.Font.setPointSizeF(puntos);
    const QString limpio = LimpiarTitulo(m_items[std::size_t(i)].Caption);
    if (platform::text::Trim(limpio).isEmpty()) {
        set.LblText.Caption.clear();
        return;
    }
    const std::optional<utilvek::TituloAjustado> ajustado =
        utilvek::AjustarTitulo(limpio, set.LblText.Font, maxWidth, maxHeight, kPuntosMinimos, twipsPorPixel());
    if (!ajustado) {
        set.LblText.Caption = utilvek::conBlancosFijos(FitCaption(i, m_items[std::size_t(i)].Caption, maxWidth));
        return;
    }
    set.LblText.Font.setPointSizeF(ajustado->puntos);
    set.PicItem.Font = set.LblText.Font;
    set.LblText.Caption = ajustado->texto;
}

double UtilVek::AltoDeMarcas(int i) const
{
    const ItemSlot& item = m_items[std::size_t(i)];
    const double oculto = ParteOcultaArriba(m_controles[std::size_t(i)].PicItem);
    double alto = oculto;
    if (IsItemCheckableAt(i)) {
        alto = oculto + 248;
    }
    if (item.Attention && item.Badge < 1) {
        alto = std::max(alto, oculto + 178);
    }
    if (item.Badge > 0) {
        alto = std::max(alto, 300.0);
    }
    return alto;
}

double UtilVek::ParteOcultaArriba(const ControlPintado& c)
{
    return std::max(0.0, -c.Top);
}

void UtilVek::PaintTitleItem(int i)
{
    if (i < 0 || i >= m_itemCount) {
        return;
    }
    ControlesItem& set = m_controles[std::size_t(i)];
    set.LblText.WordWrap = false;
    set.LblText.Caption =
        utilvek::conBlancosFijos(FitCaption(i, m_items[std::size_t(i)].Caption, float(set.LblText.Width) - 30));
    set.LblText.Visible = m_items[std::size_t(i)].Visible;
    BringToFront(set.LblText);
    set.LblBar.Visible = false;
    set.LblBadge.Visible = false;
    set.PicItem.Visible = false;
    set.ImgIcon.Visible = false;
}

void UtilVek::DrawBaseIcon(int i)
{
    const int indice = GetBaseIconIndex(m_items[std::size_t(i)].Key);
    if (indice < 0) {
        return;
    }
    FillBaseIconCache();
    const QImage& base = m_baseIcons[std::size_t(indice)];
    if (base.isNull()) {
        return;
    }
    // The built-in icons are the bar's own drawings: they fit the part of
    // their box that shows on the bar (a row's boxes start above its top),
    // with a margin all round, and are at most IconPx large.
    ControlPintado& caja = m_controles[std::size_t(i)].PicItem;
    const QRect enPixeles = utilvek::aPixeles(caja.Left, caja.Top, caja.Width, caja.Height, twipsPorPixel());
    const QRect libre =
        enPixeles.intersected(rect()).adjusted(kMargenIcono, kMargenIcono, -kMargenIcono, -kMargenIcono);
    const int lado = std::min({m_iconPx, libre.width(), libre.height()});
    const QRect zona = UbicarIcono(base.size(), libre.size(), QSize(lado, lado));
    if (zona.isEmpty()) {
        return;
    }
    caja.Dibujo.push_back(utilvek::Imagen{base.scaled(zona.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                          zona.topLeft() + libre.topLeft() - enPixeles.topLeft()});
}

ControlPintado& UtilVek::SuperficieDeDibujo(int i)
{
    ControlesItem& set = m_controles[std::size_t(i)];
    return m_items[std::size_t(i)].IconFromFile ? set.ImgIcon : set.PicItem;
}

void UtilVek::DrawCheckMark(int i, OleColor b)
{
    if (i < 0 || i >= m_itemCount || !IsItemCheckableAt(i)) {
        return;
    }
    ControlPintado& s = SuperficieDeDibujo(i);
    const double oculto = ParteOcultaArriba(s);
    const double x0 = std::max(s.Width - 230 - 14, 0.0);
    const double y0 = 14 + oculto;
    auto linea = [&](double x1, double y1, double x2, double y2, OleColor color) {
        s.Dibujo.push_back(Linea{QLineF(x0 + x1, y0 + y1, x0 + x2, y0 + y2), color});
    };
    s.Dibujo.push_back(Rectangulo{QRectF(QPointF(x0 - 4, y0 - 4), QPointF(x0 + 234, y0 + 234)), b, true});
    s.Dibujo.push_back(Rectangulo{QRectF(QPointF(x0, y0), QPointF(x0 + 230, y0 + 230)), rgb(238, 238, 238), false});
    if (IsItemCheckedAt(i)) {
        const OleColor sombra = ShadeColor(b, -55);
        linea(45, 127, 85, 167, sombra);
        linea(85, 167, 179, 61, sombra);
        const OleColor blanco = rgb(255, 255, 255);
        linea(44, 126, 84, 166, blanco);
        linea(84, 166, 178, 60, blanco);
        linea(46, 128, 86, 168, blanco);
        linea(86, 168, 180, 62, blanco);
    } else {
        const OleColor tenue = ShadeColor(b, 34);
        linea(44, 126, 84, 166, tenue);
        linea(84, 166, 178, 60, tenue);
    }
}

void UtilVek::DrawAttentionMark(int i, OleColor b)
{
    if (i < 0 || i >= m_itemCount) {
        return;
    }
    const ItemSlot& item = m_items[std::size_t(i)];
    if (!item.Attention || item.Badge >= 1) {
        return;
    }
    ControlPintado& s = SuperficieDeDibujo(i);
    const double x = std::max(s.Width - 70 - 28, 70.0);
    const double y = 98 + ParteOcultaArriba(s);
    s.Dibujo.push_back(Circulo{QPointF(x + 10, y + 10), 70, ShadeColor(b, -45)});
    s.Dibujo.push_back(Circulo{QPointF(x, y), 70, item.AttentionColor});
}

void UtilVek::SetHoverItem(int i)
{
    if (!m_enabled || i < -1 || i >= m_itemCount) {
        i = -1;
    }
    if (i == m_hoverIndex) {
        return;
    }
    const int anterior = m_hoverIndex;
    m_hoverIndex = i;
    RepaintItem(anterior);
    RepaintItem(i);
}

void UtilVek::BringToFront(ControlPintado& c)
{
    c.ZOrder = ++m_ultimoZOrder;
}

// ------------------------------------------------------ the widget's edge

void UtilVek::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const double tp = twipsPorPixel();
    QPainter p(this);
    p.fillRect(rect(), platform::ui::toQColor(m_backColor));
    if (m_zonaResto) {
        const QRectF& z = *m_zonaResto;
        p.fillRect(utilvek::aPixeles(z.left(), z.top(), z.width(), z.height(), tp),
                   platform::ui::toQColor(m_colorResto));
    }
    // An item's caption lies 10 twips under its box: the strip between them
    // takes the item's colour, so that no line of the bar's colour crosses a
    // pressed or disabled item where the gap rounds to a pixel.
    for (const ControlesItem& set : m_controles) {
        const ControlPintado& caja = set.PicItem;
        const ControlPintado& texto = set.LblText;
        if (caja.Visible && texto.Visible && texto.Opaco && texto.Top >= caja.Top + caja.Height) {
            const QRect arriba = utilvek::aPixeles(caja.Left, caja.Top, caja.Width, caja.Height, tp);
            const int abajo = utilvek::aPixeles(texto.Left, texto.Top, texto.Width, texto.Height, tp).top();
            if (abajo > arriba.bottom() + 1) {
                p.fillRect(QRect(arriba.left(), arriba.bottom() + 1, arriba.width(), abajo - arriba.bottom() - 1),
                           platform::ui::toQColor(texto.BackColor));
            }
        }
    }
    std::vector<const ControlPintado*> visibles;
    for (const ControlesItem& set : m_controles) {
        for (const ControlPintado* c : {&set.PicItem, &set.LblBar, &set.LblText, &set.LblBadge, &set.ImgIcon}) {
            if (c->Visible) {
                visibles.push_back(c);
            }
        }
    }
    std::sort(visibles.begin(), visibles.end(),
              [](const ControlPintado* a, const ControlPintado* b) { return a->ZOrder < b->ZOrder; });
    for (const ControlPintado* c : visibles) {
        utilvek::PintarControl(p, *c, tp, rect());
    }
}

} // namespace controls
