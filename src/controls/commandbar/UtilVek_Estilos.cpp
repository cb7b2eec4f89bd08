// The command bar's colour styles: the five palettes, the code-editor look,
// the colour arithmetic and the colours the painting uses, the pixel and
// twip conversions, and the style kept in the settings.
#include "controls/commandbar/UtilVek.h"

#include "controls/commandbar/ModUtilVekBar.h"

#include <cmath>

namespace controls {

using platform::ui::OleColor;
using platform::ui::rgb;

namespace {

struct Paleta
{
    OleColor normal;
    OleColor activo;
    OleColor barra;
};

const Paleta& paletaDeEstilo(int estilo)
{
    static const Paleta paletas[] = {
        {rgb(96, 138, 204), rgb(20, 78, 170), rgb(170, 205, 245)},
        {rgb(42, 42, 42), rgb(59, 59, 59), rgb(204, 204, 204)},
        {rgb(160, 155, 135), rgb(130, 125, 105), rgb(70, 70, 70)},
        {rgb(135, 133, 150), rgb(105, 103, 125), rgb(35, 75, 150)},
        {rgb(122, 122, 122), rgb(88, 88, 88), rgb(212, 212, 212)},
    };
    return paletas[estilo < 1 || estilo > 5 ? 1 : estilo - 1];
}

} // namespace

void UtilVek::ApplyColorStyle(int nStyle)
{
    m_estilo = ClampStyle(nStyle);
    const Paleta& paleta = paletaDeEstilo(m_estilo);
    m_normalBackColor = paleta.normal;
    m_activeBackColor = paleta.activo;
    m_activeBarColor = paleta.barra;
    ApplyDerivedColors();
    LayoutItems();
}

void UtilVek::AplicarEstiloVSCode(bool MostrarTitulos, int TamIconoPx)
{
    // The code-editor look always uses 42-pixel icons.
    Q_UNUSED(TamIconoPx);
    m_estiloVSCode = true;
    m_horizontal = false;
    m_showCaptions = MostrarTitulos;
    m_iconPx = 42;
    m_iconSize = PixelsToTwips(42);
    m_itemHeight = MostrarTitulos ? 520 : 600;
    m_itemGap = 0;
    m_normalBackColor = rgb(52, 52, 52);
    m_activeBackColor = rgb(74, 74, 74);
    m_activeBarColor = rgb(255, 255, 255);
    m_pressedColor = ShadeColor(m_normalBackColor, -16);
    LayoutItems();
}

void UtilVek::ApplyDerivedColors()
{
    m_pressedColor = ShadeColor(m_normalBackColor, -16);
    setBackColor(EffectiveNormalColor());
}

void UtilVek::setBackColor(OleColor color)
{
    m_backColor = color;
    m_zonaResto.reset();
    update();
}

int UtilVek::ClampColorChannel(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

OleColor UtilVek::ShadeColor(OleColor color, int delta)
{
    const int rojo = int(color & 255);
    const int verde = int((color / 256) & 255);
    const int azul = int((color / 65536) & 255);
    return rgb(ClampColorChannel(rojo + delta), ClampColorChannel(verde + delta), ClampColorChannel(azul + delta));
}

bool UtilVek::IsLightColor(OleColor color)
{
    const int rojo = int(color & 255);
    const int verde = int((color / 256) & 255);
    const int azul = int((color / 65536) & 255);
    return (rojo * 299 + verde * 587 + azul * 114) / 1000 > 204;
}

OleColor UtilVek::StyleNormalColor() const
{
    return paletaDeEstilo(m_estilo).normal;
}

OleColor UtilVek::StyleActiveColor() const
{
    return paletaDeEstilo(m_estilo).activo;
}

OleColor UtilVek::EffectiveNormalColor() const
{
    return IsLightColor(m_normalBackColor) && m_soloTitulo ? StyleNormalColor() : m_normalBackColor;
}

OleColor UtilVek::EffectiveActiveColor() const
{
    if (!m_soloTitulo) {
        return m_normalBackColor;
    }
    return IsLightColor(m_normalBackColor) || IsLightColor(m_activeBackColor) ? StyleActiveColor() : m_activeBackColor;
}

OleColor UtilVek::HighlightBackColor() const
{
    return ShadeColor(EffectiveNormalColor(), 28);
}

float UtilVek::PixelsToTwips(int pixels) const
{
    return float(pixels * twipsPorPixel());
}

int UtilVek::TwipsToPixels(float twips) const
{
    const double tp = twipsPorPixel();
    return tp > 0 ? int(std::nearbyint(twips / tp)) : 0;
}

int UtilVek::ClampStyle(int style)
{
    return style < 1 || style > 5 ? 2 : style;
}

int UtilVek::StoredBarStyle() const
{
    return ClampStyle(ModUtilVekBar::LoadBarStyle(m_contextUserName, m_contextDbName));
}

} // namespace controls
