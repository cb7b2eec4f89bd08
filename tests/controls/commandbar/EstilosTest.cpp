// The five colour styles, the colour arithmetic and the colours the bar
// paints with, and the pixel and twip conversions.
#include "BarraPrueba.h"

using commandbar_tests::BarraTest;
using controls::UtilVek;
using platform::ui::rgb;
using A = controls::UtilVekAcceso;

using EstilosTest = BarraTest;

TEST_F(EstilosTest, EachStyleSetsItsThreeColoursAndOtherNumbersGiveStyleTwo)
{
    const struct
    {
        int pedido;
        int estilo;
        platform::ui::OleColor normal;
        platform::ui::OleColor activo;
        platform::ui::OleColor barra;
    } casos[] = {
        {1, 1, rgb(96, 138, 204), rgb(20, 78, 170), rgb(170, 205, 245)},
        {2, 2, rgb(42, 42, 42), rgb(59, 59, 59), rgb(204, 204, 204)},
        {3, 3, rgb(160, 155, 135), rgb(130, 125, 105), rgb(70, 70, 70)},
        {4, 4, rgb(135, 133, 150), rgb(105, 103, 125), rgb(35, 75, 150)},
        {5, 5, rgb(122, 122, 122), rgb(88, 88, 88), rgb(212, 212, 212)},
        {0, 2, rgb(42, 42, 42), rgb(59, 59, 59), rgb(204, 204, 204)},
        {6, 2, rgb(42, 42, 42), rgb(59, 59, 59), rgb(204, 204, 204)},
        {-1, 2, rgb(42, 42, 42), rgb(59, 59, 59), rgb(204, 204, 204)},
    };
    for (const auto& caso : casos) {
        UtilVek barra;
        barra.ApplyColorStyle(caso.pedido);
        SCOPED_TRACE(caso.pedido);
        EXPECT_EQ(barra.Estilo(), caso.estilo);
        EXPECT_EQ(barra.NormalBackColor(), caso.normal);
        EXPECT_EQ(barra.ActiveBackColor(), caso.activo);
        EXPECT_EQ(barra.ActiveBarColor(), caso.barra);
        EXPECT_EQ(A::pressedColor(barra), A::ShadeColor(caso.normal, -16));
        EXPECT_EQ(A::backColor(barra), caso.normal);
    }
}

TEST_F(EstilosTest, ShadingKeepsEveryChannelWithinItsRange)
{
    EXPECT_EQ(A::ShadeColor(rgb(10, 20, 255), -16), rgb(0, 4, 239));
    EXPECT_EQ(A::ShadeColor(rgb(10, 20, 255), 28), rgb(38, 48, 255));
    EXPECT_EQ(A::ShadeColor(rgb(0, 0, 0), -45), rgb(0, 0, 0));
}

TEST_F(EstilosTest, ALightColourWeighsAbove204)
{
    EXPECT_FALSE(A::IsLightColor(rgb(204, 204, 204)));
    EXPECT_TRUE(A::IsLightColor(rgb(205, 205, 205)));
    EXPECT_TRUE(A::IsLightColor(rgb(255, 255, 255)));
    EXPECT_FALSE(A::IsLightColor(rgb(0, 0, 0)));
}

TEST_F(EstilosTest, TitleOnlyReplacesLightColoursByTheStylesOwn)
{
    UtilVek barra;
    barra.ApplyColorStyle(1);
    barra.setNormalBackColor(rgb(255, 255, 255));
    barra.setActiveBackColor(rgb(0, 0, 90));
    EXPECT_EQ(A::EffectiveNormalColor(barra), rgb(255, 255, 255));
    EXPECT_EQ(A::EffectiveActiveColor(barra), rgb(255, 255, 255))
        << "off title-only the active colour is the normal one";
    barra.setSoloTitulo(true);
    EXPECT_EQ(A::EffectiveNormalColor(barra), rgb(96, 138, 204));
    EXPECT_EQ(A::EffectiveActiveColor(barra), rgb(20, 78, 170));
    EXPECT_EQ(A::backColor(barra), rgb(96, 138, 204));
    barra.setNormalBackColor(rgb(30, 30, 30));
    EXPECT_EQ(A::EffectiveActiveColor(barra), rgb(0, 0, 90));
}

TEST_F(EstilosTest, PixelsAndTwipsAtFifteenTwipsAPixel)
{
    UtilVek barra;
    EXPECT_EQ(A::TwipsToPixels(barra, 630), 42);
    EXPECT_EQ(A::PixelsToTwips(barra, 42), 630);
    EXPECT_EQ(A::TwipsToPixels(barra, 22.5f), 2) << "halves go to the even neighbour";
    EXPECT_EQ(A::TwipsToPixels(barra, 37.5f), 2);
    EXPECT_EQ(A::TwipsToPixels(barra, 52.5f), 4);
}
