// The layout in twips: item boxes of columns and rows, gaps, groups, hidden
// items, the band beside the items, captions on and off, and title-only
// mode with its wrapping.
#include "BarraPrueba.h"

#include <functional>
#include <vector>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

namespace {

struct Caja
{
    int slot;
    double left;
    double top;
    double width;
    double height;
};

void esperarCajas(const UtilVek& barra, const std::vector<Caja>& cajas, const char* caso)
{
    for (const Caja& c : cajas) {
        const auto& caja = A::caja(barra, c.slot);
        SCOPED_TRACE(::testing::Message() << caso << ", slot " << c.slot);
        EXPECT_EQ(caja.Left, c.left);
        EXPECT_EQ(caja.Top, c.top);
        EXPECT_EQ(caja.Width, c.width);
        EXPECT_EQ(caja.Height, c.height);
    }
}

// A bar of `ancho` x `alto` pixels (15 twips each) with the default items,
// arranged again after `preparar`.
std::unique_ptr<UtilVek> barraDe(int ancho, int alto, const std::function<void(UtilVek&)>& preparar)
{
    auto barra = std::make_unique<UtilVek>();
    barra->resize(ancho, alto);
    if (preparar) {
        preparar(*barra);
    }
    A::LayoutItems(*barra);
    return barra;
}

} // namespace

using DisposicionTest = BarraTest;

TEST_F(DisposicionTest, ItemBoxesOfColumnsAndRows)
{
    const struct
    {
        const char* caso;
        int ancho;
        int alto;
        std::function<void(UtilVek&)> preparar;
        std::vector<Caja> cajas;
    } casos[] = {
        {"a wide bar is a row", 600, 67, nullptr, {{0, 120, -50, 840, 520}, {1, 1080, -50, 840, 520}}},
        {"a tall bar is a column", 100, 400, nullptr, {{0, 120, 90, 840, 520}, {1, 120, 1010, 840, 520}}},
        {"a square bar is a row", 200, 200, nullptr, {{0, 120, -50, 840, 520}}},
        {"row: pad 120, gap 120, boxes 840",
         800,
         67,
         nullptr,
         {{0, 120, -50, 840, 520}, {1, 1080, -50, 840, 520}, {2, 2040, -50, 840, 520}}},
        {"column 8000 high: spare 236, g = 20",
         100,
         534,
         nullptr,
         {{0, 120, 90, 840, 520}, {1, 120, 1030, 840, 520}, {2, 120, 1970, 840, 520}}},
        {"column 6000 high: spare space negative, g = 0",
         100,
         400,
         nullptr,
         {{0, 120, 90, 840, 520}, {1, 120, 1010, 840, 520}, {2, 120, 1930, 840, 520}}},
        {"column without captions, gap 30",
         100,
         400,
         [](UtilVek& b) {
             b.setShowCaptions(false);
             b.setItemGap(30);
         },
         {{0, 120, 90, 840, 520}, {1, 120, 640, 840, 520}, {2, 120, 1190, 840, 520}}},
        {"TopOffset 100 in a forced row",
         100,
         400,
         [](UtilVek& b) {
             b.setHorizontal(true);
             b.setTopOffset(100);
         },
         {{0, 120, 40, 840, 520}}},
        {"ItemHeight 700, HorizontalGap 0, ItemGap 15 in a row",
         800,
         67,
         [](UtilVek& b) {
             b.setItemHeight(700);
             b.setHorizontalGap(0);
             b.setItemGap(15);
         },
         {{0, 120, -50, 840, 700}, {1, 975, -50, 840, 700}}},
        {"hidden items take no place: CANCELAR follows CONSULTAR",
         100,
         400,
         nullptr,
         {{3, 120, 2850, 840, 520}, {5, 120, 3770, 840, 520}}},
        {"GroupGap 200 after GRABAR",
         100,
         534,
         [](UtilVek& b) {
             b.setGroupGap(200);
             b.setGroupBreakAfterTag(QStringLiteral("grabar"));
         },
         {{6, 120, 4790, 840, 520}, {7, 120, 5930, 840, 520}}},
        {"no group gap without a tag",
         100,
         534,
         [](UtilVek& b) { b.setGroupGap(200); },
         {{6, 120, 4790, 840, 520}, {7, 120, 5730, 840, 520}}},
    };
    for (const auto& caso : casos) {
        const auto barra = barraDe(caso.ancho, caso.alto, caso.preparar);
        esperarCajas(*barra, caso.cajas, caso.caso);
    }
}

TEST_F(DisposicionTest, TheBandBesideTheItemsIsFilledOnlyOnLargeBars)
{
    const struct
    {
        const char* caso;
        int ancho;
        int alto;
        std::optional<QRectF> banda;
    } casos[] = {
        {"row 1200 high", 600, 80, QRectF(QPointF(0, 975), QPointF(9000, 1200))},
        {"row 900 high", 600, 60, std::nullopt},
        {"column 1500 wide", 100, 400, QRectF(QPointF(1020, 0), QPointF(1500, 6000))},
        {"column 1005 wide", 67, 400, std::nullopt},
    };
    for (const auto& caso : casos) {
        const auto barra = barraDe(caso.ancho, caso.alto, nullptr);
        EXPECT_EQ(A::zonaResto(*barra), caso.banda) << caso.caso;
    }
    const auto barra = barraDe(600, 80, nullptr);
    const QImage imagen = commandbar_tests::captura(*barra);
    const platform::ui::OleColor fondo = barra->NormalBackColor();
    EXPECT_EQ(commandbar_tests::colorEn(imagen, 4500, 1100), commandbar_tests::qcolor(A::ShadeColor(fondo, 28)));
    EXPECT_EQ(commandbar_tests::colorEn(imagen, 8900, 900), commandbar_tests::qcolor(fondo));
}

TEST_F(DisposicionTest, CaptionsSitUnderAnIconAndFillABoxWithout)
{
    const auto barra =
        barraDe(100, 534, [](UtilVek& b) { b.AddItem(QStringLiteral("EXPORTAR"), QStringLiteral("Excel")); });
    const int exportar = A::FindItemIndex(*barra, QStringLiteral("EXPORTAR"));
    const auto& caja = A::caja(*barra, 0);
    const auto& texto = A::texto(*barra, 0);
    EXPECT_EQ(texto.Left, caja.Left);
    EXPECT_EQ(texto.Top, caja.Top + caja.Height + 10);
    EXPECT_EQ(texto.Width, caja.Width);
    EXPECT_EQ(texto.Height, 400);
    EXPECT_TRUE(texto.Visible);
    EXPECT_EQ(A::barra(*barra, 0).Left, caja.Left - 80);
    EXPECT_EQ(A::barra(*barra, 0).Height, 930) << "from the box's top to the caption's bottom";
    EXPECT_FALSE(A::barra(*barra, 0).Visible);

    const auto& sinIcono = A::texto(*barra, exportar);
    const auto& cajaSinIcono = A::caja(*barra, exportar);
    EXPECT_EQ(sinIcono.Top, cajaSinIcono.Top);
    EXPECT_EQ(sinIcono.Height, cajaSinIcono.Height);
    EXPECT_TRUE(sinIcono.WordWrap);
    EXPECT_TRUE(cajaSinIcono.Borde);
    EXPECT_FALSE(caja.Borde);
    EXPECT_EQ(sinIcono.Font.pointSizeF(), texto.Font.pointSizeF() + 2);

    barra->setShowCaptions(false);
    EXPECT_FALSE(A::texto(*barra, 0).Visible);
    EXPECT_TRUE(A::texto(*barra, exportar).Visible) << "a caption that fills its box is always shown";
}

TEST_F(DisposicionTest, TitleOnlyRowsWrapAtTheRightLimit)
{
    const auto preparar = [](UtilVek& b) {
        b.ClearItems();
        for (const char* key : {"A", "B", "C", "D", "E"}) {
            b.AddItem(QString::fromLatin1(key), QString::fromLatin1(key));
        }
        b.setSoloTitulo(true);
    };
    const auto barra = barraDe(200, 400, preparar);
    esperarCajas(*barra,
                 {{0, 90, 45, 780, 260},
                  {1, 960, 45, 780, 260},
                  {2, 1830, 45, 780, 260},
                  {3, 90, 335, 780, 260},
                  {4, 960, 335, 780, 260}},
                 "bar 3000 wide, ItemHeight 520");
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(A::caja(*barra, i).Visible);
        EXPECT_TRUE(A::texto(*barra, i).Visible);
        EXPECT_EQ(A::texto(*barra, i).Top, A::caja(*barra, i).Top);
    }
    barra->setItemHeight(1000);
    EXPECT_EQ(A::caja(*barra, 0).Height, 420);
    barra->setItemHeight(480);
    EXPECT_EQ(A::caja(*barra, 0).Height, 255);
}

TEST_F(DisposicionTest, TitleOnlyNarrowsAButtonWiderThanTheBar)
{
    const QString largo = QStringLiteral("Una leyenda muy larga que no cabe de ninguna manera en la barra");
    const struct
    {
        int ancho;
        double boton;
    } casos[] = {{200, 2820}, {40, 600}};
    for (const auto& caso : casos) {
        const auto barra = barraDe(caso.ancho, 400, [&](UtilVek& b) {
            b.ClearItems();
            b.AddItem(QStringLiteral("LARGO"), largo);
            b.setSoloTitulo(true);
        });
        EXPECT_EQ(A::caja(*barra, 0).Width, caso.boton) << caso.ancho;
        EXPECT_TRUE(A::texto(*barra, 0).Caption.endsWith(QStringLiteral("..."))) << caso.ancho;
    }
}

TEST_F(DisposicionTest, LeavingTitleOnlyRestoresTheNormalBoxWidth)
{
    // The boxes used to keep the width title-only mode gave the first box.
    const auto barra = barraDe(100, 400, [](UtilVek& b) {
        b.AddItem(QStringLiteral("NUEVO"), QStringLiteral("Nuevo comprobante de venta al contado"));
        b.setSoloTitulo(true);
    });
    ASSERT_NE(A::caja(*barra, 0).Width, 840);
    barra->setSoloTitulo(false);
    esperarCajas(*barra, {{0, 120, 90, 840, 520}, {1, 120, 1010, 840, 520}}, "after title-only");
}
