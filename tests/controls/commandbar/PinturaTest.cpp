// The bar as it shows on the screen: each state of an item, badges and
// attention marks, check marks, the colour styles, icons from a PNG file and
// the built-in ones, and a screenshot kept with the test's files.
#include "BarraPrueba.h"

#include "support/TestEnvironment.h"

#include <QTest>

#include <cstdio>

using commandbar_tests::BarraTest;
using commandbar_tests::captura;
using commandbar_tests::colorEn;
using commandbar_tests::qcolor;
using controls::UtilVek;
using platform::ui::OleColor;
using platform::ui::rgb;
using A = controls::UtilVekAcceso;

namespace {

// The pixels of a control of the bar.
QRect pixeles(const controls::utilvek::ControlPintado& c)
{
    return controls::utilvek::aPixeles(c.Left, c.Top, c.Width, c.Height, 15);
}

bool hayColor(const QImage& imagen, QRect zona, const QColor& color, int tolerancia = 0)
{
    zona = zona.intersected(imagen.rect());
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            const QColor p = imagen.pixelColor(x, y);
            if (std::abs(p.red() - color.red()) <= tolerancia && std::abs(p.green() - color.green()) <= tolerancia &&
                std::abs(p.blue() - color.blue()) <= tolerancia) {
                return true;
            }
        }
    }
    return false;
}

// The background of item i's box, beside its icon and away from its marks.
QColor fondoDeCaja(const QImage& imagen, const UtilVek& barra, int i)
{
    const auto& caja = A::caja(barra, i);
    return colorEn(imagen, caja.Left + 30, caja.Top + caja.Height - 60);
}

class PinturaTest : public BarraTest
{
protected:
    void SetUp() override
    {
        BarraTest::SetUp();
        barra = std::make_unique<UtilVek>();
        barra->resize(100, 534);
        barra->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(barra.get()));
        barra->ActualizarBotones();
        // Qt drops a move to where the pointer already is, and every test's
        // window lies at the same place: start from a point off the items.
        QTest::mouseMove(barra.get(), QPoint(95, 530));
    }
    void TearDown() override
    {
        barra.reset();
        BarraTest::TearDown();
    }
    QPoint centro(int i) const
    {
        const auto& caja = A::caja(*barra, i);
        return QPoint(int((caja.Left + caja.Width / 2) / 15), int((caja.Top + caja.Height / 2) / 15));
    }

    std::unique_ptr<UtilVek> barra;
};

} // namespace

TEST_F(PinturaTest, EachStateOfAnItemHasItsBackground)
{
    const OleColor normal = rgb(96, 138, 204);
    ASSERT_EQ(barra->NormalBackColor(), normal) << "style 1 without a settings file";
    QImage imagen = captura(*barra);
    EXPECT_EQ(fondoDeCaja(imagen, *barra, 0), qcolor(normal)) << "normal";

    QTest::mouseMove(barra.get(), centro(1));
    EXPECT_EQ(fondoDeCaja(captura(*barra), *barra, 1), qcolor(normal))
        << "hover shows the normal colour off title-only";

    QTest::mousePress(barra.get(), Qt::LeftButton, {}, centro(2));
    EXPECT_EQ(fondoDeCaja(captura(*barra), *barra, 2), qcolor(rgb(80, 122, 188))) << "pressed: normal shaded -16";
    QTest::mouseRelease(barra.get(), Qt::LeftButton, {}, centro(2));
    EXPECT_EQ(fondoDeCaja(captura(*barra), *barra, 2), qcolor(normal)) << "active";

    barra->SetItemEnabled(QStringLiteral("CONSULTAR"), false);
    imagen = captura(*barra);
    EXPECT_EQ(fondoDeCaja(imagen, *barra, 3), qcolor(rgb(90, 132, 198))) << "disabled: normal shaded -6";
    EXPECT_TRUE(hayColor(imagen, pixeles(A::texto(*barra, 3)), qcolor(rgb(138, 138, 138)), 2))
        << "a disabled caption is grey";
    EXPECT_FALSE(hayColor(imagen, pixeles(A::texto(*barra, 3)), Qt::white, 2));
}

TEST_F(PinturaTest, StyleFiveDarkensTheActiveItemAndShowsNoHover)
{
    barra->ApplyColorStyle(5);
    const OleColor normal = rgb(122, 122, 122);
    barra->SetActive(QStringLiteral("NUEVO"));
    QTest::mouseMove(barra.get(), centro(1));
    const QImage imagen = captura(*barra);
    EXPECT_EQ(fondoDeCaja(imagen, *barra, 0), qcolor(rgb(102, 102, 102)));
    EXPECT_EQ(fondoDeCaja(imagen, *barra, 1), qcolor(normal));
}

TEST_F(PinturaTest, TitleOnlyButtonsShowTheActiveColourUnderThePointer)
{
    barra->resize(300, 200);
    barra->setSoloTitulo(true);
    QTest::mouseMove(barra.get(), pixeles(A::texto(*barra, 1)).center());
    barra->SetItemEnabled(QStringLiteral("REPORTE"), false);
    const QImage imagen = captura(*barra);
    const auto fondo = [&](int i) {
        const auto& t = A::texto(*barra, i);
        return colorEn(imagen, t.Left + 15, t.Top + t.Height - 30);
    };
    EXPECT_EQ(fondo(0), qcolor(rgb(96, 138, 204)));
    EXPECT_EQ(fondo(1), qcolor(rgb(20, 78, 170))) << "hover";
    EXPECT_EQ(fondo(2), qcolor(rgb(90, 132, 198))) << "disabled";
    EXPECT_TRUE(hayColor(imagen, pixeles(A::texto(*barra, 2)), qcolor(rgb(155, 155, 155)), 2));
}

TEST_F(PinturaTest, CheckedAndUncheckedItemsShowTheirTick)
{
    barra->SetItemCheckable(QStringLiteral("NUEVO"), true);
    barra->SetItemCheckable(QStringLiteral("BORRAR"), true);
    barra->SetItemChecked(QStringLiteral("NUEVO"), true);
    const QImage imagen = captura(*barra);
    const auto cuadro = [&](int i) {
        const auto& caja = A::caja(*barra, i);
        return controls::utilvek::aPixeles(caja.Left + caja.Width - 244, caja.Top + 14, 230, 230, 15);
    };
    EXPECT_TRUE(hayColor(imagen, cuadro(0), qcolor(rgb(238, 238, 238))));
    EXPECT_TRUE(hayColor(imagen, cuadro(0), Qt::white)) << "checked: a white tick";
    EXPECT_TRUE(hayColor(imagen, cuadro(1), qcolor(rgb(238, 238, 238))));
    EXPECT_FALSE(hayColor(imagen, cuadro(1), Qt::white)) << "unchecked: a faint tick";
    EXPECT_TRUE(hayColor(imagen, cuadro(1), qcolor(rgb(130, 172, 238)), 12)) << "normal shaded +34";
    EXPECT_FALSE(hayColor(imagen, cuadro(2), qcolor(rgb(238, 238, 238)))) << "not checkable";
}

TEST_F(PinturaTest, ABadgeShowsItsCountOnBlueAndAnAttentionMarkIsACircle)
{
    barra->SetItemBadge(QStringLiteral("NUEVO"), 7);
    barra->SetItemAttention(QStringLiteral("BORRAR"), true, int32_t(rgb(0, 170, 60)));
    barra->SetItemAttention(QStringLiteral("REPORTE"), true, int32_t(rgb(0, 170, 60)));
    barra->SetItemBadge(QStringLiteral("REPORTE"), 120);
    const QImage imagen = captura(*barra);

    const auto& insignia = A::insignia(*barra, 0);
    ASSERT_TRUE(insignia.Visible);
    EXPECT_EQ(insignia.Caption, QStringLiteral("7"));
    EXPECT_EQ(colorEn(imagen, insignia.Left + 5, insignia.Top + insignia.Height - 10), qcolor(rgb(0, 120, 215)));
    EXPECT_TRUE(hayColor(imagen, pixeles(insignia), Qt::white, 40)) << "white text";

    EXPECT_FALSE(A::insignia(*barra, 1).Visible) << "the mark without a count is drawn, not shown as a badge";
    const auto& caja = A::caja(*barra, 1);
    EXPECT_EQ(colorEn(imagen, caja.Left + caja.Width - 98, caja.Top + 98), qcolor(rgb(0, 170, 60)));
    std::vector<controls::utilvek::Circulo> circulos;
    for (const auto& trazo : caja.Dibujo) {
        if (const auto* c = std::get_if<controls::utilvek::Circulo>(&trazo)) {
            circulos.push_back(*c);
        }
    }
    ASSERT_EQ(circulos.size(), 2u);
    const auto* sombra = &circulos[0];
    const auto* marca = &circulos[1];
    EXPECT_EQ(sombra->color, A::ShadeColor(rgb(96, 138, 204), -45)) << "a darker shadow, 10 twips down and right";
    EXPECT_EQ(sombra->centro, QPointF(752, 108));
    EXPECT_EQ(marca->centro, QPointF(742, 98));
    EXPECT_EQ(marca->radio, 70);

    EXPECT_EQ(A::insignia(*barra, 2).Caption, QStringLiteral("99+"));
    // Looked for anywhere in the badge: where its text lies depends on the face.
    const QRect conMarca = pixeles(A::insignia(*barra, 2));
    EXPECT_TRUE(hayColor(imagen, conMarca, qcolor(rgb(0, 170, 60))))
        << "a count with an attention mark takes the mark's colour";
    EXPECT_FALSE(hayColor(imagen, conMarca, qcolor(rgb(0, 120, 215)))) << "and not the blue of a plain count";
    for (const auto& trazo : A::caja(*barra, 2).Dibujo) {
        EXPECT_FALSE(std::holds_alternative<controls::utilvek::Circulo>(trazo)) << "no circle beside a count";
    }
}

TEST_F(PinturaTest, EveryColourStyleHasItsBackgroundAndWhiteCaptions)
{
    const struct
    {
        int estilo;
        OleColor fondo;
    } casos[] = {{1, rgb(96, 138, 204)},
                 {2, rgb(42, 42, 42)},
                 {3, rgb(160, 155, 135)},
                 {4, rgb(135, 133, 150)},
                 {5, rgb(122, 122, 122)}};
    for (const auto& caso : casos) {
        barra->ApplyColorStyle(caso.estilo);
        const QImage imagen = captura(*barra);
        SCOPED_TRACE(caso.estilo);
        EXPECT_EQ(colorEn(imagen, 45, 45), qcolor(caso.fondo)) << "the bar's own surface";
        EXPECT_EQ(fondoDeCaja(imagen, *barra, 0), qcolor(caso.fondo));
        EXPECT_EQ(colorEn(imagen, 1300, 45), qcolor(A::ShadeColor(caso.fondo, 28))) << "the band beside the items";
        EXPECT_TRUE(hayColor(imagen, pixeles(A::texto(*barra, 0)), Qt::white, 2)) << "caption text";
        EXPECT_EQ(colorEn(imagen, A::texto(*barra, 0).Left + 15, A::texto(*barra, 0).Top + 380), qcolor(caso.fondo))
            << "caption background";
    }
}

TEST_F(PinturaTest, AnIconFromAPngFileIsDrawnCentredOnTheBox)
{
    const QString carpeta = testing_support::testFolder() + QStringLiteral("/img_menu/");
    commandbar_tests::escribirPng(carpeta + QStringLiteral("GRABAR.png"), QSize(64, 64), QColor(200, 30, 30));
    barra->RefreshIcons();
    ASSERT_TRUE(A::iconFromFile(*barra, 6));
    const QImage imagen = captura(*barra);
    const auto& caja = A::caja(*barra, 6);
    const QPoint esquina = pixeles(caja).topLeft();
    EXPECT_EQ(imagen.pixelColor(esquina + QPoint(28, 17)), QColor(200, 30, 30));
    EXPECT_EQ(imagen.pixelColor(esquina + QPoint(7, 10)), QColor(200, 30, 30)) << "42 pixels wide from x = 7";
    EXPECT_EQ(imagen.pixelColor(esquina + QPoint(6, 10)), qcolor(rgb(96, 138, 204)));
    EXPECT_EQ(imagen.pixelColor(esquina + QPoint(49, 10)), qcolor(rgb(96, 138, 204)));
}

TEST_F(PinturaTest, AKeyWithoutIconFileShowsItsBuiltInIcon)
{
    const QImage imagen = captura(*barra);
    const auto& caja = A::caja(*barra, 0);
    const QRect icono = pixeles(caja).adjusted(7, 0, -7, 0);
    EXPECT_TRUE(hayColor(imagen, icono, QColor(246, 246, 246), 10)) << "the light strokes of the built-in icon";
    EXPECT_FALSE(hayColor(imagen, pixeles(caja).adjusted(0, 0, -50, 0), QColor(246, 246, 246), 10))
        << "nothing drawn beside it";

    barra->ClearItems();
    for (int i = 1; i <= 6; ++i) {
        barra->AddItem(QStringLiteral("EXTRA%1").arg(i), QStringLiteral("Extra"));
    }
    EXPECT_FALSE(A::ItemHasIcon(*barra, 5));
    for (const auto& trazo : A::caja(*barra, 5).Dibujo) {
        EXPECT_FALSE(std::holds_alternative<controls::utilvek::Imagen>(trazo))
            << "a key without a built-in icon gets none, whatever its slot";
    }
}

TEST_F(PinturaTest, AScreenshotOfTheBarIsKeptWithTheTestsFiles)
{
    barra->resize(700, 80);
    barra->SetItemBadge(QStringLiteral("NUEVO"), 3);
    barra->SetItemAttention(QStringLiteral("REPORTE"), true);
    barra->SetItemCheckable(QStringLiteral("CONSULTAR"), true);
    barra->SetItemChecked(QStringLiteral("CONSULTAR"), true);
    barra->SetItemEnabled(QStringLiteral("BORRAR"), false);
    barra->SetActive(QStringLiteral("GRABAR"));
    const QImage imagen = captura(*barra);
    const QString ruta = testing_support::testFolder() + QStringLiteral("/UtilVek.png");
    ASSERT_TRUE(imagen.save(ruta, "PNG"));
    std::printf("command bar screenshot: %s\n", qPrintable(ruta));
    EXPECT_EQ(QImage(ruta).size(), QSize(700, 80));
}
