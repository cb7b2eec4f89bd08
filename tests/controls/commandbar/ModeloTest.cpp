// The item model: slots and their growth, look-up, built-in icon indexes,
// the two built-in item sets, checkable bookkeeping, caption fitting and the
// deferral of layouts.
#include "BarraPrueba.h"

#include <QFontMetricsF>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using controls::UtilVekAcceso;
using A = controls::UtilVekAcceso;

using ModeloTest = BarraTest;

TEST_F(ModeloTest, AFreshBarHoldsTheNineteenDefaultItemsWithTheSevenFormKeysShown)
{
    UtilVek barra;
    EXPECT_EQ(A::slotUpper(barra), 18);
    EXPECT_EQ(A::controlUpper(barra), 18);
    ASSERT_EQ(A::itemCount(barra), 19);
    const struct
    {
        const char* key;
        const char* caption;
        const char* tooltip;
        bool shown;
    } filas[] = {
        {"NUEVO", "Nuevo", "Crear nuevo", true},
        {"BORRAR", "Borrar", "Borrar actual", true},
        {"REPORTE", "Reporte", "Abrir reportes / impresiones", true},
        {"CONSULTAR", "Consultar", "Consultar", true},
        {"PLANILLA", "Planilla", "Abrir planilla", false},
        {"CANCELAR", "Cancelar", "Cancelar edicion en curso", true},
        {"GRABAR", "Grabar", "Grabar cambios", true},
        {"CERRAR", "Cerrar", "Cerrar formulario", true},
        {"CLIENTE", "Cliente", "Seleccionar cliente", false},
        {"PEDIDO", "Pedido", "Facturar desde pedido", false},
        {"REMITO", "Remito", "Facturar desde remito", false},
        {"CAJERO", "Caja", "Opciones de caja", false},
        {"UNIDADNEGOCIO", "Unidad de Negocio", "Unidad de negocio", false},
        {"IMPORTAR", "Importar", "Importar datos", false},
        {"PROCESARIA", "Procesar con I.A.", "Procesar con inteligencia artificial", false},
        {"PANTALLA", "Pantalla", "Enviar a pantalla", false},
        {"IMPRESORA", "Impresora", "Imprimir", false},
        {"COMPARTIR", "Compartir", "Compartir", false},
        {"AJUSTES", "Ajustes", "Ajustes", false},
    };
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(filas[i].key);
        EXPECT_EQ(A::key(barra, i), QString::fromLatin1(filas[i].key));
        EXPECT_EQ(A::caption(barra, i), QString::fromLatin1(filas[i].caption));
        EXPECT_EQ(A::toolTip(barra, i), QString::fromLatin1(filas[i].tooltip));
        EXPECT_EQ(A::visible(barra, i), filas[i].shown);
        EXPECT_TRUE(A::enabled(barra, i));
        EXPECT_EQ(A::GetBaseIconIndex(A::key(barra, i)), i);
    }
    EXPECT_EQ(A::activeIndex(barra), -1);
    EXPECT_EQ(A::hoverIndex(barra), -1);
}

TEST_F(ModeloTest, TheStoreGrowsToTwiceItsBoundPlusOneAndNewSlotsStartReset)
{
    const struct
    {
        int pedido;
        int cota;
    } casos[] = {{5, 18}, {18, 18}, {19, 37}, {40, 75}, {160, 303}};
    for (const auto& caso : casos) {
        UtilVek barra;
        A::EnsureItemCapacity(barra, caso.pedido);
        EXPECT_EQ(A::slotUpper(barra), caso.cota) << caso.pedido;
        if (caso.cota == 18) {
            continue;
        }
        EXPECT_TRUE(A::key(barra, caso.cota).isEmpty());
        EXPECT_FALSE(A::visible(barra, caso.cota));
        EXPECT_TRUE(A::enabled(barra, caso.cota));
        EXPECT_EQ(A::attentionColor(barra, caso.cota), platform::ui::rgb(220, 64, 64));
    }
}

TEST_F(ModeloTest, TheStoreGrowsPastWhatSixteenBitCountsHeld)
{
    // The store used to keep its counts in 16-bit integers, which overflowed
    // on the growth step past 19,455 items.
    UtilVek barra;
    barra.ClearItems();
    A::EnsureItemCapacity(barra, 20000);
    EXPECT_EQ(A::slotUpper(barra), 38911);
    ASSERT_TRUE(barra.AddItem(QStringLiteral("ULTIMO"), QStringLiteral("Último")));
    A::EnsureItemCapacity(barra, 40000);
    EXPECT_EQ(A::slotUpper(barra), 77823);
    EXPECT_EQ(A::FindItemIndex(barra, QStringLiteral("ultimo")), 0);
}

TEST_F(ModeloTest, KeysAreFoundTrimmedWithoutRegardToCaseAndOnlyBelowTheItemCount)
{
    UtilVek barra;
    EXPECT_EQ(A::FindItemIndex(barra, QStringLiteral(" nuevo ")), 0);
    EXPECT_EQ(A::FindItemIndex(barra, QStringLiteral("Ajustes")), 18);
    EXPECT_EQ(A::FindItemIndex(barra, QString()), -1);
    EXPECT_EQ(A::FindItemIndex(barra, QStringLiteral("   ")), -1);
    barra.LoadDefaultItemsReportes();
    EXPECT_EQ(A::FindItemIndex(barra, QStringLiteral("AJUSTES")), -1) << "slot 18 lies above the item count";
}

TEST_F(ModeloTest, BaseIconIndexesOfTheWellKnownKeys)
{
    const struct
    {
        const char* key;
        int indice;
    } casos[] = {
        {"procesar con i.a.", 14},
        {"PROCESAR IA", 14},
        {"Procesar con IA", 14},
        {"CAJA", 11},
        {"cajero", 11},
        {"Unidad de Negocio", 12},
        {"CAMBIAR", 12},
        {"change", 12},
        {" ajustes ", 18},
        {"PLANILLA", 4},
        {"CAUS", -1},
        {"", -1},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(A::GetBaseIconIndex(QString::fromLatin1(caso.key)), caso.indice) << caso.key;
    }
}

TEST_F(ModeloTest, TheReportSetHasFiveItemsAndResetsEverySlotAboveThem)
{
    UtilVek barra;
    barra.SetItemBadge(QStringLiteral("AJUSTES"), 4);
    barra.LoadDefaultItemsReportes();
    ASSERT_EQ(A::itemCount(barra), 5);
    const char* const claves[] = {"PANTALLA", "IMPRESORA", "CONSULTAR", "COMPARTIR", "CERRAR"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(A::key(barra, i), QString::fromLatin1(claves[i]));
        EXPECT_TRUE(A::visible(barra, i));
    }
    for (int i = 5; i <= A::slotUpper(barra); ++i) {
        EXPECT_TRUE(A::key(barra, i).isEmpty()) << i;
        EXPECT_FALSE(A::visible(barra, i)) << i;
        EXPECT_EQ(A::badge(barra, i), 0) << i;
    }
    EXPECT_TRUE(barra.ItemCheckable(QStringLiteral("IMPRESORA")));
    EXPECT_FALSE(barra.ItemCheckable(QStringLiteral("COMPARTIR")));
}

TEST_F(ModeloTest, AfterTheReportSetTheDefaultItemsKeepTheirOwnCaptions)
{
    // The captions used to come from a tag left on the item boxes by the
    // report set, so NUEVO came back labelled "Pantalla".
    UtilVek barra;
    barra.LoadDefaultItemsReportes();
    barra.LoadDefaultItems();
    const char* const captions[] = {"Nuevo", "Borrar", "Reporte", "Consultar", "Planilla"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(A::caption(barra, i), QString::fromLatin1(captions[i])) << i;
    }
}

TEST_F(ModeloTest, ImpresoraAndCompartirKeepTheirCheckStatesOnTheBar)
{
    UtilVek barra;
    barra.LoadDefaultItemsReportes();
    barra.SetItemChecked(QStringLiteral("IMPRESORA"), true);
    EXPECT_TRUE(barra.ImpresoraChecked());
    barra.ClearItems();
    barra.AddItem(QStringLiteral("impresora"), QStringLiteral("Otra impresora"), {}, true);
    EXPECT_TRUE(barra.ItemChecked(QStringLiteral("IMPRESORA"))) << "the bar's state applies to any item of that key";
    barra.SetItemChecked(QStringLiteral("IMPRESORA"), true);
    barra.setImpresoraCheckable(false);
    EXPECT_FALSE(barra.ItemCheckable(QStringLiteral("IMPRESORA")));
    EXPECT_FALSE(barra.ImpresoraChecked());
    EXPECT_FALSE(barra.ItemChecked(QStringLiteral("NADA")));
}

TEST_F(ModeloTest, CaptionsAreFittedToTheWidthWithAnEllipsis)
{
    UtilVek barra;
    const QFontMetricsF medida(A::texto(barra, 0).Font);
    auto ancho = [&](const QString& t) { return float(medida.horizontalAdvance(t) * 15); };
    const QString largo = QStringLiteral("Procesar con inteligencia artificial");
    const float limite = ancho(QStringLiteral("Procesar con...")) + 1;

    EXPECT_EQ(A::FitCaption(barra, 0, QStringLiteral("   "), 800), QString());
    EXPECT_EQ(A::FitCaption(barra, 0, QStringLiteral("\r\n"), 800), QString());
    EXPECT_EQ(A::FitCaption(barra, 0, QStringLiteral(" Grabar "), 800), QStringLiteral("Grabar"));
    EXPECT_EQ(A::FitCaption(barra, 0, QStringLiteral("Dos\r\nlíneas"), 5000), QStringLiteral("Dos  líneas"));
    EXPECT_EQ(A::FitCaption(barra, 0, largo, limite), QStringLiteral("Procesar con..."));
    EXPECT_EQ(A::FitCaption(barra, 0, largo, 1), QStringLiteral("..."));
}

TEST_F(ModeloTest, LayoutRequestsDuringAnUpdateRunOnceAtItsEnd)
{
    UtilVek barra;
    barra.resize(600, 66);
    const double antes = A::caja(barra, 0).Left;
    A::BeginUpdate(barra);
    A::BeginUpdate(barra);
    barra.setHorizontalStartPad(300);
    barra.setHorizontalGap(0);
    A::EndUpdate(barra);
    EXPECT_EQ(A::caja(barra, 0).Left, antes) << "the outer update is still open";
    A::EndUpdate(barra);
    EXPECT_EQ(A::caja(barra, 0).Left, 300);
    EXPECT_EQ(A::caja(barra, 1).Left, 1140);
}
