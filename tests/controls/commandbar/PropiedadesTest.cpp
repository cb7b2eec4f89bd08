// The layout and appearance properties: clamps, aliases sharing one value,
// and the change notices with the names written.
#include "BarraPrueba.h"

#include <QSignalSpy>

#include <functional>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

namespace {

QStringList avisos(const QSignalSpy& espia)
{
    QStringList nombres;
    for (const auto& aviso : espia) {
        nombres << aviso.at(0).toString();
    }
    return nombres;
}

} // namespace

using PropiedadesTest = BarraTest;

TEST_F(PropiedadesTest, DistancesAreClampedAndAliasesShareOneValue)
{
    const struct
    {
        const char* caso;
        std::function<void(UtilVek&)> escribir;
        std::function<float(const UtilVek&)> leer;
        float esperado;
    } casos[] = {
        {"ItemHeight 300", [](UtilVek& b) { b.setItemHeight(300); }, &UtilVek::ItemHeight, 480},
        {"ItemHeight 600", [](UtilVek& b) { b.setItemHeight(600); }, &UtilVek::ItemHeight, 600},
        {"ItemGap -500", [](UtilVek& b) { b.setItemGap(-500); }, &UtilVek::ButtonGap, -300},
        {"ButtonGap 45", [](UtilVek& b) { b.setButtonGap(45); }, &UtilVek::SeparacionBotones, 45},
        {"SeparacionBotones -301", [](UtilVek& b) { b.setSeparacionBotones(-301); }, &UtilVek::ItemGap, -300},
        {"TopBotones -40", [](UtilVek& b) { b.setTopBotones(-40); }, &UtilVek::TopOffset, -40},
        {"HorizontalStartPad -900", [](UtilVek& b) { b.setHorizontalStartPad(-900); }, &UtilVek::HorizontalStartPad,
         -300},
        {"HorizontalGap -900", [](UtilVek& b) { b.setHorizontalGap(-900); }, &UtilVek::HorizontalGap, -300},
        {"GroupGap -5", [](UtilVek& b) { b.setGroupGap(-5); }, &UtilVek::GroupGap, 0},
    };
    for (const auto& caso : casos) {
        UtilVek barra;
        caso.escribir(barra);
        EXPECT_EQ(caso.leer(barra), caso.esperado) << caso.caso;
    }
}

TEST_F(PropiedadesTest, AliasWritesSendTheMainNameFirstThenTheirOwn)
{
    const struct
    {
        std::function<void(UtilVek&)> escribir;
        QStringList nombres;
    } casos[] = {
        {[](UtilVek& b) { b.setItemGap(10); }, {QStringLiteral("ItemGap")}},
        {[](UtilVek& b) { b.setButtonGap(10); }, {QStringLiteral("ButtonGap")}},
        {[](UtilVek& b) { b.setSeparacionBotones(10); },
         {QStringLiteral("ButtonGap"), QStringLiteral("SeparacionBotones")}},
        {[](UtilVek& b) { b.setTopBotones(0); }, {QStringLiteral("TopOffset"), QStringLiteral("TopBotones")}},
        {[](UtilVek& b) { b.setTamanoIcono(30); }, {QStringLiteral("IconPx"), QStringLiteral("TamanoIcono")}},
        {[](UtilVek& b) { b.setGroupBreakTag(QStringLiteral("x")); }, {QStringLiteral("GroupBreakTag")}},
        {[](UtilVek& b) { b.setMostrarTitulo(false); }, {QStringLiteral("MostrarTitulo")}},
        {[](UtilVek& b) { b.setConTitulo(QStringLiteral("0")); }, {QStringLiteral("ConTitulo")}},
        {[](UtilVek& b) { b.setModoHorizontal(true); }, {QStringLiteral("ModoHorizontal")}},
        {[](UtilVek& b) { b.setDebugMode(true); }, {QStringLiteral("DebugMode")}},
        {[](UtilVek& b) { b.setEstilo(3); }, {QStringLiteral("Estilo")}},
        {[](UtilVek& b) { b.setTheme(3); }, {QStringLiteral("Theme")}},
        {[](UtilVek& b) { b.setActiveBarColor(0); }, {QStringLiteral("ActiveBarColor")}},
    };
    for (const auto& caso : casos) {
        UtilVek barra;
        QSignalSpy espia(&barra, &UtilVek::PropertyChanged);
        caso.escribir(barra);
        EXPECT_EQ(avisos(espia), caso.nombres);
    }
}

TEST_F(PropiedadesTest, IconSizesInPixelsAndTwipsFollowEachOther)
{
    UtilVek barra;
    EXPECT_EQ(barra.IconPx(), 42);
    EXPECT_EQ(barra.IconSize(), 630);
    barra.setIconPx(0);
    EXPECT_EQ(barra.IconPx(), 42);
    barra.setIconSize(480);
    EXPECT_EQ(barra.IconPx(), 32);
    EXPECT_EQ(barra.TamanoIcono(), 32);

    QSignalSpy espia(&barra, &UtilVek::PropertyChanged);
    barra.setIconSize(0);
    EXPECT_EQ(barra.IconSize(), 480);
    EXPECT_EQ(espia.count(), 0) << "a size of 0 or below is ignored entirely";
    barra.setIconSize(5);
    EXPECT_EQ(barra.IconPx(), 42) << "below one pixel";
}

TEST_F(PropiedadesTest, HorizontalSwitchesAutomaticOrientationOffUntilItIsSetAgain)
{
    UtilVek barra;
    EXPECT_TRUE(barra.AutoOrientacion());
    barra.setHorizontal(true);
    EXPECT_FALSE(barra.AutoOrientacion());
    barra.setAutoOrientacion(true);
    EXPECT_TRUE(barra.AutoOrientacion());
    EXPECT_TRUE(barra.Horizontal());
    EXPECT_TRUE(barra.ModoHorizontal());
}

TEST_F(PropiedadesTest, TextsAreStoredTrimmedAndFoldersWithATrailingSeparator)
{
    UtilVek barra;
    barra.setGroupBreakTag(QStringLiteral(" grabar "));
    EXPECT_EQ(barra.GroupBreakTag(), QStringLiteral("GRABAR"));
    EXPECT_EQ(barra.GroupBreakAfterTag(), QStringLiteral("GRABAR"));
    barra.setImageFolder(QStringLiteral(" /opt/img "));
    EXPECT_EQ(barra.ImageFolder(), QStringLiteral("/opt/img/"));
    barra.setImageFolder(QStringLiteral("/opt/img/"));
    EXPECT_EQ(barra.ImageFolder(), QStringLiteral("/opt/img/"));
    barra.setImageFolder(QStringLiteral("   "));
    EXPECT_EQ(barra.ImageFolder(), QString());
    barra.setContextUserName(QStringLiteral("  ana "));
    EXPECT_EQ(barra.ContextUserName(), QStringLiteral("ana"));
}

TEST_F(PropiedadesTest, EstiloIsNormalisedAndThemeAppliesTheStyleOfTheSettings)
{
    commandbar_tests::escribirIni(QStringLiteral("[%1Styles]\r\nStyles=2\r\n").arg(commandbar_tests::usuarioWindows()));
    UtilVek barra;
    EXPECT_EQ(barra.Estilo(), 3);
    barra.setEstilo(9);
    EXPECT_EQ(barra.Estilo(), 2);
    EXPECT_EQ(barra.NormalBackColor(), platform::ui::rgb(42, 42, 42));
    barra.setTheme(4);
    EXPECT_EQ(barra.Theme(), 3) << "the value written is not used";
    EXPECT_EQ(barra.NormalBackColor(), platform::ui::rgb(160, 155, 135));
}

TEST_F(PropiedadesTest, DisablingTheBarClearsTheHoverState)
{
    UtilVek barra;
    A::SetHoverItem(barra, 1);
    ASSERT_EQ(A::hoverIndex(barra), 1);
    barra.setEnabled(false);
    EXPECT_EQ(A::hoverIndex(barra), -1);
    EXPECT_FALSE(barra.Enabled());
    A::SetHoverItem(barra, 1);
    EXPECT_EQ(A::hoverIndex(barra), -1);
    EXPECT_TRUE(barra.isEnabled()) << "the widget keeps taking events";
}

TEST_F(PropiedadesTest, NormalBackColorDerivesThePressedColourAndTheBarBackground)
{
    UtilVek barra;
    barra.setNormalBackColor(platform::ui::rgb(10, 20, 255));
    EXPECT_EQ(A::pressedColor(barra), platform::ui::rgb(0, 4, 239));
    EXPECT_EQ(A::backColor(barra), platform::ui::rgb(10, 20, 255));
}

TEST_F(PropiedadesTest, TheCodeEditorLookIsAppliedWhenItsFlagIsSet)
{
    UtilVek barra;
    barra.setShowCaptions(false);
    barra.setIconPx(24);
    barra.setItemGap(50);
    barra.setHorizontal(true);
    barra.setEstiloVSCode(true);
    EXPECT_TRUE(barra.EstiloVSCode());
    EXPECT_FALSE(barra.Horizontal());
    EXPECT_EQ(barra.IconPx(), 42) << "always 42 pixels";
    EXPECT_EQ(barra.ItemHeight(), 600) << "the taller height goes with no captions";
    EXPECT_EQ(barra.ItemGap(), 0);
    EXPECT_EQ(barra.NormalBackColor(), platform::ui::rgb(52, 52, 52));
    EXPECT_EQ(barra.ActiveBackColor(), platform::ui::rgb(74, 74, 74));
    EXPECT_EQ(barra.ActiveBarColor(), platform::ui::rgb(255, 255, 255));
    barra.AplicarEstiloVSCode(true, 16);
    EXPECT_EQ(barra.ItemHeight(), 520);
    EXPECT_TRUE(barra.ShowCaptions());
}
