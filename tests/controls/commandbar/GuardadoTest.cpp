// The stored properties: what a bar writes into the property store and how
// a bar reads it back, with the writer's and the reader's defaults.
#include "BarraPrueba.h"

#include "support/TestEnvironment.h"

using commandbar_tests::BarraTest;
using controls::UtilVek;
using platform::ui::PropertyBag;
using A = controls::UtilVekAcceso;

namespace {

std::unique_ptr<UtilVek> leida(const PropertyBag& bolsa)
{
    auto barra = std::make_unique<UtilVek>();
    barra->resize(100, 534);
    barra->ReadProperties(bolsa);
    return barra;
}

PropertyBag escrita(const UtilVek& barra)
{
    PropertyBag bolsa;
    barra.WriteProperties(bolsa);
    return bolsa;
}

} // namespace

using GuardadoTest = BarraTest;

TEST_F(GuardadoTest, ANewBarStoresOnlyWhatDiffersFromTheWritersDefaults)
{
    UtilVek barra;
    const PropertyBag bolsa = escrita(barra);
    QStringList nombres = bolsa.names();
    const QStringList barraNombres = nombres.mid(0, 8);
    EXPECT_EQ(barraNombres,
              (QStringList{QStringLiteral("IconSize"), QStringLiteral("IconPx"), QStringLiteral("TamanoIcono"),
                           QStringLiteral("Estilo"), QStringLiteral("Theme"), QStringLiteral("NormalBackColor"),
                           QStringLiteral("ActiveBackColor"), QStringLiteral("ActiveBarColor")}));
    ASSERT_EQ(nombres.size(), 8 + 46) << "every per-button entry is stored";
    EXPECT_EQ(nombres.at(8), QStringLiteral("NuevoEnabled"));
    EXPECT_EQ(nombres.at(14), QStringLiteral("consultarEnabled"));
    EXPECT_EQ(nombres.last(), QStringLiteral("CausVisible"));
    EXPECT_EQ(bolsa.ReadProperty(QStringLiteral("CajaVisible")), QVariant(false));
    EXPECT_EQ(bolsa.ReadProperty(QStringLiteral("GrabarVisible")), QVariant(true));
}

TEST_F(GuardadoTest, AStoredBarReadsBackAsTheSameBar)
{
    UtilVek original;
    original.resize(100, 534);
    original.setEnabled(false);
    original.setShowCaptions(false);
    original.setItemHeight(700);
    original.setItemGap(45);
    original.setTopOffset(25);
    original.setHorizontalStartPad(-100);
    original.setHorizontalGap(60);
    original.setGroupGap(150);
    original.setGroupBreakTag(QStringLiteral("grabar"));
    original.setIconPx(24);
    original.setAutoOrientacion(false);
    original.setContextDbName(QStringLiteral("Ventas"));
    original.setDebugMode(true);
    original.setImpresoraCheckable(false);
    original.setCompartirCheckable(true);
    original.setCompartirChecked(true);
    original.SetItemEnabled(QStringLiteral("GRABAR"), false);
    original.SetItemEnabled(QStringLiteral("CONSULTAR"), false);
    original.SetItemVisible(QStringLiteral("PLANILLA"), true);
    original.SetItemVisible(QStringLiteral("NUEVO"), false);
    A::LayoutItems(original);

    const auto copia = leida(escrita(original));
    EXPECT_FALSE(copia->Enabled());
    EXPECT_FALSE(copia->ShowCaptions());
    EXPECT_FALSE(copia->AutoOrientacion());
    EXPECT_FALSE(copia->Horizontal());
    EXPECT_EQ(copia->ItemHeight(), 700);
    EXPECT_EQ(copia->ItemGap(), 45);
    EXPECT_EQ(copia->TopOffset(), 25);
    EXPECT_EQ(copia->HorizontalStartPad(), -100);
    EXPECT_EQ(copia->HorizontalGap(), 60);
    EXPECT_EQ(copia->GroupGap(), 150);
    EXPECT_EQ(copia->GroupBreakAfterTag(), QStringLiteral("GRABAR"));
    EXPECT_EQ(copia->IconPx(), 24);
    EXPECT_EQ(copia->IconSize(), 360);
    EXPECT_EQ(copia->ContextDbName(), QStringLiteral("Ventas"));
    EXPECT_TRUE(copia->DebugMode());
    EXPECT_FALSE(copia->ImpresoraCheckable());
    EXPECT_TRUE(copia->CompartirCheckable());
    EXPECT_TRUE(copia->CompartirChecked());
    EXPECT_FALSE(copia->ItemEnabled(QStringLiteral("GRABAR")));
    EXPECT_FALSE(copia->ItemEnabled(QStringLiteral("CONSULTAR"))) << "written as consultar..., read as Consultar...";
    EXPECT_TRUE(copia->ItemVisible(QStringLiteral("PLANILLA")));
    EXPECT_FALSE(copia->ItemVisible(QStringLiteral("NUEVO")));
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(A::caja(*copia, i).Visible, A::caja(original, i).Visible);
        if (!A::caja(original, i).Visible) {
            continue;
        }
        EXPECT_EQ(A::caja(*copia, i).Top, A::caja(original, i).Top);
        EXPECT_EQ(A::caja(*copia, i).Left, A::caja(original, i).Left);
        EXPECT_EQ(A::caja(*copia, i).Height, A::caja(original, i).Height);
    }
}

TEST_F(GuardadoTest, EveryItemHeightReadsBackAsItself)
{
    // 520 equals the writer's default and is not stored; it used to come
    // back as the reader's default 600.
    for (const float alto : {480.0f, 520.0f, 600.0f, 900.0f}) {
        UtilVek barra;
        barra.setItemHeight(alto);
        EXPECT_EQ(leida(escrita(barra))->ItemHeight(), alto);
    }
}

TEST_F(GuardadoTest, GapsAndTheirAbsentEntries)
{
    const struct
    {
        const char* caso;
        std::vector<std::pair<const char*, double>> entradas;
        float gap;
    } casos[] = {
        {"nothing stored", {}, 0},
        {"ItemGap only", {{"ItemGap", 50}}, 50},
        {"ItemGap 30 alone counts as none", {{"ItemGap", 30}}, 0},
        {"ButtonGap before ItemGap", {{"ItemGap", 50}, {"ButtonGap", 70}}, 70},
        {"ButtonGap 32767 is absent", {{"ButtonGap", 32767}, {"SeparacionBotones", 80}}, 80},
        {"SeparacionBotones when ButtonGap is absent", {{"ItemGap", 50}, {"SeparacionBotones", 90}}, 90},
        {"below -300", {{"ButtonGap", -800}}, -300},
    };
    for (const auto& caso : casos) {
        PropertyBag bolsa;
        for (const auto& [nombre, valor] : caso.entradas) {
            bolsa.WriteProperty(QString::fromLatin1(nombre), valor);
        }
        EXPECT_EQ(leida(bolsa)->ItemGap(), caso.gap) << caso.caso;
    }
    for (const float gap : {0.0f, 30.0f, -300.0f}) {
        UtilVek barra;
        barra.setItemGap(gap);
        EXPECT_EQ(leida(escrita(barra))->ButtonGap(), gap);
    }
}

TEST_F(GuardadoTest, TheReadersDefaultsForAbsentEntries)
{
    PropertyBag bolsa;
    bolsa.WriteProperty(QStringLiteral("MostrarTitulo"), false);
    bolsa.WriteProperty(QStringLiteral("TopBotones"), 75.0);
    bolsa.WriteProperty(QStringLiteral("GroupBreakTag"), QStringLiteral(" cerrar "));
    bolsa.WriteProperty(QStringLiteral("ModoHorizontal"), true);
    const auto barra = leida(bolsa);
    EXPECT_FALSE(barra->ShowCaptions()) << "ShowCaptions absent reads true, then MostrarTitulo overrides it";
    EXPECT_EQ(barra->TopOffset(), 75) << "TopOffset absent takes TopBotones";
    EXPECT_EQ(barra->GroupBreakAfterTag(), QStringLiteral("CERRAR"));
    EXPECT_TRUE(barra->Horizontal());
    EXPECT_EQ(barra->IconPx(), 32) << "IconSize absent reads 480 twips, 32 pixels";
    EXPECT_EQ(barra->IconSize(), 480);
    EXPECT_EQ(barra->ItemHeight(), 520);
    EXPECT_EQ(barra->HorizontalGap(), 120);
}

TEST_F(GuardadoTest, AnIconSizeOf32PixelsIsNotStoredAndComesBack)
{
    UtilVek barra;
    barra.setIconPx(32);
    const PropertyBag bolsa = escrita(barra);
    EXPECT_FALSE(bolsa.contains(QStringLiteral("IconSize")));
    EXPECT_FALSE(bolsa.contains(QStringLiteral("IconPx")));
    EXPECT_EQ(leida(bolsa)->IconPx(), 32);
    PropertyBag cero;
    cero.WriteProperty(QStringLiteral("TamanoIcono"), 0);
    EXPECT_EQ(leida(cero)->IconPx(), 42);
}

TEST_F(GuardadoTest, TheStyleColoursAndImageFolderComeFromTheSettingsNotTheStore)
{
    const QString programa = testing_support::testFolder() + u'/';
    UtilVek barra;
    barra.ApplyColorStyle(3);
    barra.setNormalBackColor(platform::ui::rgb(1, 2, 3));
    barra.setImageFolder(QStringLiteral("/opt/iconos"));
    const PropertyBag bolsa = escrita(barra);
    EXPECT_TRUE(bolsa.contains(QStringLiteral("ImageFolder")));

    auto copia = leida(bolsa);
    EXPECT_EQ(copia->Estilo(), 1);
    EXPECT_EQ(copia->NormalBackColor(), platform::ui::rgb(96, 138, 204));
    EXPECT_EQ(copia->ImageFolder(), programa + QStringLiteral("img_menu/"));

    commandbar_tests::escribirIni(
        QStringLiteral("[OrvoGestion]\r\nPathSistema= /srv/orvo \r\n[OTROStyles]\r\nStyles=4\r\n"));
    copia = leida(bolsa);
    EXPECT_EQ(copia->ImageFolder(), QStringLiteral("/srv/orvo/img_menu/"));
    EXPECT_EQ(copia->Estilo(), 5);
}

TEST_F(GuardadoTest, TheCodeEditorLookIsAppliedOnReading)
{
    UtilVek barra;
    barra.setShowCaptions(false);
    barra.setEstiloVSCode(true);
    const auto copia = leida(escrita(barra));
    EXPECT_TRUE(copia->EstiloVSCode());
    EXPECT_EQ(copia->ItemHeight(), 600);
    EXPECT_EQ(copia->NormalBackColor(), platform::ui::rgb(52, 52, 52));
}

TEST_F(GuardadoTest, AbsentPerButtonEntriesKeepTheItemsState)
{
    PropertyBag bolsa;
    bolsa.WriteProperty(QStringLiteral("ClienteVisible"), true);
    bolsa.WriteProperty(QStringLiteral("consultarvisible"), false);
    const auto barra = leida(bolsa);
    EXPECT_TRUE(barra->ItemVisible(QStringLiteral("CLIENTE")));
    EXPECT_FALSE(barra->ItemVisible(QStringLiteral("CONSULTAR"))) << "entry names match without regard to case";
    EXPECT_TRUE(barra->ItemVisible(QStringLiteral("GRABAR")));
    EXPECT_FALSE(barra->ItemVisible(QStringLiteral("PLANILLA")));
}
