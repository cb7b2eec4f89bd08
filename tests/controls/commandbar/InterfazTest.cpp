// The public members a host drives the bar with: items by key, badges,
// attention marks, visibility, enabled state, the active item, the sample
// set, the checkable interface and the per-button properties.
#include "BarraPrueba.h"

#include "platform/ui/ControlError.h"

#include <QSignalSpy>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

using InterfazTest = BarraTest;

TEST_F(InterfazTest, AddItemWithAnExistingKeyUpdatesThatItemAndKeepsItDisabled)
{
    UtilVek barra;
    barra.SetItemEnabled(QStringLiteral("GRABAR"), false);
    barra.SetItemVisible(QStringLiteral("GRABAR"), false);
    barra.SetItemBadge(QStringLiteral("GRABAR"), 3);
    ASSERT_TRUE(barra.AddItem(QStringLiteral(" Grabar "), QStringLiteral("Guardar"), QStringLiteral("Guardar todo")));
    EXPECT_EQ(A::itemCount(barra), 19);
    EXPECT_EQ(A::key(barra, 6), QStringLiteral("Grabar"));
    EXPECT_EQ(A::caption(barra, 6), QStringLiteral("Guardar"));
    EXPECT_TRUE(barra.ItemVisible(QStringLiteral("GRABAR")));
    EXPECT_FALSE(barra.ItemEnabled(QStringLiteral("GRABAR")));
    EXPECT_EQ(A::badge(barra, 6), 3);
}

TEST_F(InterfazTest, AddItemTakesTheCaptionAsTooltipAndRefusesABlankKey)
{
    UtilVek barra;
    barra.ClearItems();
    EXPECT_FALSE(barra.AddItem(QStringLiteral("  "), QStringLiteral("Nada")));
    EXPECT_EQ(A::itemCount(barra), 0);
    ASSERT_TRUE(barra.AddItem(QStringLiteral("Exportar"), QStringLiteral("Exportar a planilla"), QStringLiteral(" ")));
    EXPECT_EQ(A::toolTip(barra, 0), QStringLiteral("Exportar a planilla"));
    EXPECT_TRUE(barra.ItemEnabled(QStringLiteral("exportar")));
    EXPECT_FALSE(barra.ItemCheckable(QStringLiteral("exportar")));
    ASSERT_TRUE(barra.AddItem(QStringLiteral("Filtro"), QStringLiteral("Filtro"), QStringLiteral("Filtrar"), true));
    EXPECT_TRUE(barra.ItemCheckable(QStringLiteral("FILTRO")));
    EXPECT_TRUE(A::visible(barra, 1));
}

TEST_F(InterfazTest, BadgesAreNeverNegativeAndShowTheirTextAtOnce)
{
    // The badge used to be painted without its text being set, so the old
    // text stayed until the next layout.
    UtilVek barra;
    const struct
    {
        int cuenta;
        int guardada;
        const char* texto;
        bool visible;
    } casos[] = {
        {3, 3, "3", true}, {99, 99, "99", true}, {100, 100, "99+", true}, {0, 0, "", false}, {-5, 0, "", false}};
    for (const auto& caso : casos) {
        barra.SetItemBadge(QStringLiteral("nuevo"), caso.cuenta);
        EXPECT_EQ(A::badge(barra, 0), caso.guardada) << caso.cuenta;
        EXPECT_EQ(A::insignia(barra, 0).Caption, QString::fromLatin1(caso.texto)) << caso.cuenta;
        EXPECT_EQ(A::insignia(barra, 0).Visible, caso.visible) << caso.cuenta;
    }
}

TEST_F(InterfazTest, AttentionMarksKeepTheirColourWhenMinusOneIsPassed)
{
    UtilVek barra;
    barra.SetItemAttention(QStringLiteral("CERRAR"), true, int32_t(platform::ui::rgb(0, 160, 0)));
    EXPECT_TRUE(barra.ItemAttention(QStringLiteral("cerrar")));
    EXPECT_EQ(A::attentionColor(barra, 7), platform::ui::rgb(0, 160, 0));
    barra.SetItemAviso(QStringLiteral("CERRAR"), true, -1);
    EXPECT_EQ(A::attentionColor(barra, 7), platform::ui::rgb(0, 160, 0));
    EXPECT_TRUE(barra.ItemAviso(QStringLiteral("CERRAR")));
    barra.SetItemBadge(QStringLiteral("CERRAR"), 2);
    EXPECT_EQ(A::insignia(barra, 7).BackColor, platform::ui::rgb(0, 160, 0)) << "the badge takes the mark's colour";
    barra.SetItemAttention(QStringLiteral("CERRAR"), false);
    EXPECT_FALSE(barra.ItemAttention(QStringLiteral("CERRAR")));
    EXPECT_EQ(A::insignia(barra, 7).BackColor, platform::ui::rgb(0, 120, 215));
    EXPECT_FALSE(barra.ItemAttention(QStringLiteral("NOEXISTE")));
}

TEST_F(InterfazTest, SetItemIconChangesNothing)
{
    UtilVek barra;
    EXPECT_FALSE(barra.SetItemIcon(QStringLiteral("NUEVO"), QStringLiteral("/tmp/otro.png")));
    EXPECT_TRUE(A::iconPath(barra, 0).isEmpty());
}

TEST_F(InterfazTest, HidingTheActiveItemClearsItButHidingTheHoveredOneDoesNot)
{
    UtilVek barra;
    barra.SetActive(QStringLiteral("REPORTE"));
    EXPECT_EQ(A::activeIndex(barra), 2);
    A::SetHoverItem(barra, 3);
    barra.SetItemVisible(QStringLiteral("REPORTE"), false);
    EXPECT_EQ(A::activeIndex(barra), -1);
    barra.SetItemVisible(QStringLiteral("CONSULTAR"), false);
    EXPECT_EQ(A::hoverIndex(barra), 3);
    barra.SetActive(QStringLiteral("PLANILLA"));
    EXPECT_EQ(A::activeIndex(barra), -1) << "a hidden item cannot become active";
}

TEST_F(InterfazTest, DisablingAnItemClearsItsActiveAndHoverState)
{
    UtilVek barra;
    barra.SetActive(QStringLiteral("GRABAR"));
    A::SetHoverItem(barra, 6);
    barra.SetItemEnabled(QStringLiteral("GRABAR"), false);
    EXPECT_EQ(A::activeIndex(barra), -1);
    EXPECT_EQ(A::hoverIndex(barra), -1);
    barra.SetActive(QStringLiteral("GRABAR"));
    EXPECT_EQ(A::activeIndex(barra), -1);
}

TEST_F(InterfazTest, TheCheckedWritesOfImpresoraAndCompartirNeedThemCheckable)
{
    UtilVek barra;
    QSignalSpy avisos(&barra, &UtilVek::PropertyChanged);
    barra.setCompartirChecked(true);
    EXPECT_FALSE(barra.CompartirChecked()) << "Compartir is not checkable on a new bar";
    EXPECT_EQ(avisos.count(), 0);
    barra.setCompartirCheckable(true);
    barra.setCompartirChecked(true);
    EXPECT_TRUE(barra.CompartirChecked());
    barra.setImpresoraChecked(true);
    barra.setImpresoraCheckable(false);
    EXPECT_FALSE(barra.ImpresoraChecked());
    QStringList nombres;
    for (const auto& aviso : avisos) {
        nombres << aviso.at(0).toString();
    }
    EXPECT_EQ(nombres, (QStringList{QStringLiteral("CompartirCheckable"), QStringLiteral("CompartirChecked"),
                                    QStringLiteral("ImpresoraChecked"), QStringLiteral("ImpresoraCheckable")}));
}

TEST_F(InterfazTest, SetItemCheckedOnlyActsOnCheckableItems)
{
    UtilVek barra;
    barra.SetItemChecked(QStringLiteral("NUEVO"), true);
    EXPECT_FALSE(barra.ItemChecked(QStringLiteral("NUEVO")));
    barra.SetItemCheckable(QStringLiteral("NUEVO"), true);
    barra.SetItemChecked(QStringLiteral("NUEVO"), true);
    EXPECT_TRUE(barra.ItemChecked(QStringLiteral("NUEVO")));
    barra.SetItemCheckable(QStringLiteral("NUEVO"), false);
    EXPECT_FALSE(barra.ItemChecked(QStringLiteral("NUEVO")));
}

TEST_F(InterfazTest, TheSampleSetLeavesSixPlainItems)
{
    UtilVek barra;
    barra.LoadVSCodeSample();
    ASSERT_EQ(A::itemCount(barra), 6);
    const char* const claves[] = {"FILES", "SEARCH", "GIT", "RUN", "EXT", "AI"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(A::key(barra, i), QString::fromLatin1(claves[i]));
        EXPECT_TRUE(A::visible(barra, i));
        EXPECT_TRUE(A::enabled(barra, i));
        EXPECT_FALSE(barra.ItemCheckable(A::key(barra, i)));
    }
    EXPECT_EQ(A::toolTip(barra, 2), QStringLiteral("Control de codigo"));
}

TEST_F(InterfazTest, PerButtonPropertiesLoadTheDefaultsAndSendTheirOwnName)
{
    UtilVek barra;
    barra.ClearItems();
    EXPECT_TRUE(barra.GrabarEnabled()) << "reading on an empty bar loads the default items";
    EXPECT_EQ(A::itemCount(barra), 19);

    QSignalSpy avisos(&barra, &UtilVek::PropertyChanged);
    barra.setConsultaEnabled(false);
    EXPECT_FALSE(barra.consultarEnabled()) << "Consulta and consultar address one item";
    barra.setPlanillaVisible(QStringLiteral("True"));
    EXPECT_TRUE(barra.ItemVisible(QStringLiteral("PLANILLA")));
    barra.setCajaVisible(true);
    EXPECT_FALSE(barra.CajaVisible()) << "no item is keyed CAJA; CAJERO is only captioned Caja";
    EXPECT_FALSE(barra.CajeroVisible());
    ASSERT_EQ(avisos.count(), 3);
    EXPECT_EQ(avisos.at(0).at(0).toString(), QStringLiteral("ConsultaEnabled"));
    EXPECT_EQ(avisos.at(1).at(0).toString(), QStringLiteral("PlanillaVisible"));
    EXPECT_EQ(avisos.at(2).at(0).toString(), QStringLiteral("CajaVisible"));
}

TEST_F(InterfazTest, APerButtonValueThatIsNoBooleanIsATypeMismatch)
{
    UtilVek barra;
    try {
        barra.setNuevoEnabled(QStringLiteral("quizás"));
        FAIL() << "no error raised";
    } catch (const platform::ui::ControlError& e) {
        EXPECT_EQ(e.number(), 13);
    }
    EXPECT_TRUE(barra.NuevoEnabled());
    barra.setNuevoEnabled(0);
    EXPECT_FALSE(barra.NuevoEnabled());
}

TEST_F(InterfazTest, ClearItemsEmptiesTheBarButKeepsItsControls)
{
    UtilVek barra;
    barra.SetActive(QStringLiteral("NUEVO"));
    const int sets = A::controlSets(barra);
    barra.ClearItems();
    EXPECT_EQ(A::itemCount(barra), 0);
    EXPECT_EQ(A::activeIndex(barra), -1);
    EXPECT_EQ(A::controlSets(barra), sets);
    EXPECT_FALSE(A::caja(barra, 0).Visible);
    EXPECT_FALSE(barra.ItemVisible(QStringLiteral("NUEVO")));
}
