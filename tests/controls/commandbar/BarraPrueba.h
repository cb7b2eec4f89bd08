#pragma once

#include "controls/commandbar/UtilVek.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace controls {

// The tests' window on the bar's model.
struct UtilVekAcceso
{
    using Control = utilvek::ControlPintado;

    static int itemCount(const UtilVek& b) { return b.m_itemCount; }
    static int slotUpper(const UtilVek& b) { return b.m_slotUpper; }
    static int controlUpper(const UtilVek& b) { return b.m_controlUpper; }
    static int activeIndex(const UtilVek& b) { return b.m_activeIndex; }
    static int hoverIndex(const UtilVek& b) { return b.m_hoverIndex; }
    static int controlSets(const UtilVek& b) { return int(b.m_controles.size()); }

    static QString key(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).Key; }
    static QString caption(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).Caption; }
    static QString toolTip(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).ToolTip; }
    static bool visible(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).Visible; }
    static bool enabled(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).Enabled; }
    static int32_t badge(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).Badge; }
    static platform::ui::OleColor attentionColor(const UtilVek& b, int i)
    {
        return b.m_items.at(std::size_t(i)).AttentionColor;
    }
    static QString iconPath(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).IconPath; }
    static QString hoverPath(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).IconHoverPath; }
    static QString disabledPath(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).IconDisabledPath; }
    static bool iconFromFile(const UtilVek& b, int i) { return b.m_items.at(std::size_t(i)).IconFromFile; }

    static const Control& caja(const UtilVek& b, int i) { return b.m_controles.at(std::size_t(i)).PicItem; }
    static const Control& texto(const UtilVek& b, int i) { return b.m_controles.at(std::size_t(i)).LblText; }
    static const Control& insignia(const UtilVek& b, int i) { return b.m_controles.at(std::size_t(i)).LblBadge; }
    static const Control& icono(const UtilVek& b, int i) { return b.m_controles.at(std::size_t(i)).ImgIcon; }
    static const Control& barra(const UtilVek& b, int i) { return b.m_controles.at(std::size_t(i)).LblBar; }

    static void EnsureItemCapacity(UtilVek& b, int n) { b.EnsureItemCapacity(n); }
    static int FindItemIndex(const UtilVek& b, const QString& key) { return b.FindItemIndex(key); }
    static int GetBaseIconIndex(const QString& key) { return UtilVek::GetBaseIconIndex(key); }
    static QString FitCaption(UtilVek& b, int i, const QString& text, float maxWidth)
    {
        return b.FitCaption(i, text, maxWidth);
    }
    static void BeginUpdate(UtilVek& b) { b.BeginUpdate(); }
    static void EndUpdate(UtilVek& b) { b.EndUpdate(); }
    static void LayoutItems(UtilVek& b) { b.LayoutItems(); }
    static void SetHoverItem(UtilVek& b, int i) { b.SetHoverItem(i); }
    static bool ItemHasIcon(const UtilVek& b, int i) { return b.ItemHasIcon(i); }
    static QString ResolveImageFolder(const UtilVek& b) { return b.ResolveImageFolder(); }
    static QString GetStateIconPath(const UtilVek& b, int i) { return b.GetStateIconPath(i); }

    static platform::ui::OleColor ShadeColor(platform::ui::OleColor c, int delta)
    {
        return UtilVek::ShadeColor(c, delta);
    }
    static bool IsLightColor(platform::ui::OleColor c) { return UtilVek::IsLightColor(c); }
    static platform::ui::OleColor EffectiveNormalColor(const UtilVek& b) { return b.EffectiveNormalColor(); }
    static platform::ui::OleColor EffectiveActiveColor(const UtilVek& b) { return b.EffectiveActiveColor(); }
    static platform::ui::OleColor pressedColor(const UtilVek& b) { return b.m_pressedColor; }
    static platform::ui::OleColor backColor(const UtilVek& b) { return b.m_backColor; }
    static std::optional<QRectF> zonaResto(const UtilVek& b) { return b.m_zonaResto; }
    static float PixelsToTwips(const UtilVek& b, int px) { return b.PixelsToTwips(px); }
    static int TwipsToPixels(const UtilVek& b, float twips) { return b.TwipsToPixels(twips); }
};

} // namespace controls

namespace commandbar_tests {

// Every test of the bar starts from a clean context: none of the environment
// variables the bar reads, an empty command line, no settings file.
class BarraTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets (or with nullopt removes) an environment variable for this test.
    void entorno(const char* nombre, std::optional<QString> valor);

private:
    std::map<std::string, std::optional<QByteArray>> m_guardadas;
};

// Writes the settings file cn000pr.ini into the program folder.
void escribirIni(const QString& texto);
// Writes a PNG of one colour (opaque) at `ruta`, creating its folder.
void escribirPng(const QString& ruta, QSize tamano, const QColor& color);
// The bar as it shows on the screen.
QImage captura(controls::UtilVek& barra);
// The colour of the pixel at (x, y) twips of the bar's surface.
QColor colorEn(const QImage& imagen, double x, double y);
// A colour as the system writes it.
QColor qcolor(platform::ui::OleColor c);
// The Windows user's name as the settings sections carry it.
QString usuarioWindows();

} // namespace commandbar_tests
