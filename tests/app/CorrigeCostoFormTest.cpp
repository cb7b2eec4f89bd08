// The price-correction form: its load, the change list, the detail view and
// the checks of what the user types.
#include "CorrigeCostoSoporte.h"
#include "SoporteApp.h"

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "controls/grid/BkDbGrid.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Mnemonics.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

using app::frmCorrigeCosto;
using corrige_tests::Filas;
using corrige_tests::FormularioDemo;
using corrige_tests::MensajesPreguntados;
using platform::ui::ListItem;

namespace {

// The change list as rows of texts: the item's text and its five sub-items.
QList<QStringList> Listado(const frmCorrigeCosto& form)
{
    QList<QStringList> filas;
    for (int i = 1; i <= form.lstListado->ItemCount(); ++i) {
        const ListItem& item = form.lstListado->Item(i);
        QStringList fila{item.Text()};
        for (int s = 1; s <= 5; ++s) {
            fila.append(item.SubItems(s));
        }
        filas.append(fila);
    }
    return filas;
}

void Listar(frmCorrigeCosto& form, const QString& dia, const QString& horaDesde, const QString& horaHasta)
{
    form.FhOcx1->Fh_Desde = dia;
    form.FhOcx1->Fh_Hasta = dia;
    form.txtfields[0]->setText(horaDesde);
    form.txtfields[1]->setText(horaHasta);
    form.cmdRecargar->click();
}

void Mostrar(frmCorrigeCosto& form)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

} // namespace

TEST(CorrigeCostoForm, LoadPreparesTheChoices)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Corrige Costo y precios"));
    EXPECT_EQ(form.Label2->text(),
              QStringLiteral("            Corrección de precios: \r\n"
                             " \u2022 Recorre el historial del rango (Primera\u2013Última hora). \r\n"
                             " \u2022 Para cada artículo toma el último precio previo al rango.\r\n"
                             " \u2022 Elija la clase de precio y opcionalmente la lista.\r\n"
                             " \u2022 Registra en un .TXT todos los artículos modificados."));
    QStringList clases;
    for (int i = 0; i < form.cmbPrecio->count(); ++i) {
        clases.append(form.cmbPrecio->itemText(i));
    }
    EXPECT_EQ(clases, (QStringList{"Costo", "Precio 1", "Precio 2", "Precio 3", "Precio 4", "Precio 5", "Precio 6",
                                   "Precio 7", "Precio 8"}));
    // The demo's ClaseDePrecioDefault is 1.
    EXPECT_EQ(form.ClasePrecio, QStringLiteral("1"));
    EXPECT_EQ(form.cmbPrecio->currentText(), QStringLiteral("Precio 1"));

    // The master, then every list of type "v" (letter case aside) in the order returned.
    QStringList listas;
    for (int i = 0; i < form.CmbLista->count(); ++i) {
        listas.append(form.CmbLista->itemText(i));
    }
    QStringList esperadas{QStringLiteral("    \u00A6 Maestro Articulos")};
    for (const QStringList& fila :
         Filas(demo.servidor, QStringLiteral("select idLista, Nombre from v_ma_precioscab where tipolista = 'v'"))) {
        esperadas.append(fila[0] + QStringLiteral("   \u00A6 ") + fila[1]);
    }
    EXPECT_EQ(listas, esperadas);
    EXPECT_EQ(listas.size(), 5);
    EXPECT_TRUE(form.CmbLista->currentText().isEmpty());
    EXPECT_TRUE(form.CodigoLista().isEmpty());

    EXPECT_EQ(form.cmdRecargar->text(), QStringLiteral("&Cargar"));
    EXPECT_EQ(form.cmdCorregir->text(), QStringLiteral("&Corregir precios"));
    EXPECT_EQ(form.cmdSalir->text(), QStringLiteral("&Salir"));
    EXPECT_EQ(form.CmdBorrarMarca->text(), QStringLiteral("&Borrar marca modificado"));
    EXPECT_FALSE(form.CmdBorrarMarca->isEnabled());
    EXPECT_EQ(form.OptSolosi[0]->text(), QStringLiteral("Solo si el precio anterior es mayor"));
    EXPECT_EQ(form.OptSolosi[1]->text(), QStringLiteral("Solo si el precio anterior es menor"));
    EXPECT_EQ(form.OptSolosi[2]->text(), QStringLiteral("Todos"));
    EXPECT_EQ(form.txtfields[0]->maxLength(), 5);
    EXPECT_EQ(form.txtfields[0]->property("Tag").toString(), QStringLiteral("HoraDesde"));
    EXPECT_EQ(form.txtfields[1]->property("Tag").toString(), QStringLiteral("HoraHasta"));
    EXPECT_EQ(form.BkDbGrid1->PageSize(), 4000);
    EXPECT_FALSE(form.BkDbGrid1->Columnas());
    EXPECT_FALSE(form.BkDbGrid1->AnchoColFijo());
}

TEST(CorrigeCostoForm, AltCMovesTheFocusBetweenCargarAndCorregirPrecios)
{
    const auto mnemonicos = platform::ui::installMnemonicCycling();
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    Mostrar(form);
    auto altC = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        return QApplication::focusWidget();
    };
    form.txtfields[1]->setFocus();
    EXPECT_EQ(altC(), form.cmdRecargar);
    EXPECT_EQ(altC(), form.cmdCorregir);
    EXPECT_EQ(altC(), form.cmdRecargar);
    form.cmdCorregir->setFocus();
    EXPECT_EQ(altC(), form.cmdRecargar);
    EXPECT_EQ(form.lstListado->ItemCount(), 0);
    EXPECT_TRUE(MensajesPreguntados().isEmpty());
}

TEST(CorrigeCostoForm, ConfiguredClassOutsideCostoAndOneToEightFallsBackToOne)
{
    struct Caso
    {
        const char* configurado;
        const char* clase;
    };
    const Caso casos[] = {{"3", "3"}, {" costo ", "Costo"}, {"9", "1"}, {"0", "1"}, {"1'; DROP TABLE x --", "1"},
                          {"", "1"},  {"Precio 2", "1"}};
    for (const Caso& caso : casos) {
        EXPECT_EQ(frmCorrigeCosto::ClaseValida(QString::fromUtf8(caso.configurado)), QString::fromUtf8(caso.clase))
            << caso.configurado;
    }

    const QString servidor = corrige_tests::ServidorDemo();
    corrige_tests::Ejecutar(servidor, QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '9x' "
                                                     "WHERE CLAVE = 'ClaseDePrecioDefault'"));
    frmCorrigeCosto form(nullptr, [servidor] { corrige_tests::AbrirPrincipalDemo(servidor); });
    form.Form_Load();
    EXPECT_EQ(form.ClasePrecio, QStringLiteral("1"));
}

TEST(CorrigeCostoForm, ClassChoiceTakesTheWordOrTheDigit)
{
    FormularioDemo demo;
    corrige_tests::ElegirClase(*demo.form, QStringLiteral("Costo"));
    EXPECT_EQ(demo.form->ClasePrecio, QStringLiteral("Costo"));
    corrige_tests::ElegirClase(*demo.form, QStringLiteral("Precio 7"));
    EXPECT_EQ(demo.form->ClasePrecio, QStringLiteral("7"));
}

TEST(CorrigeCostoForm, DayAndHourChecks)
{
    struct Caso
    {
        const char* texto;
        bool valido;
    };
    const Caso dias[] = {{"29/02/2024", true},  {"31/02/2024", false}, {"2024-01-31", false}, {"1/02/2024", false},
                         {"01/13/2024", false}, {"01-02-2024", false}, {"31/12/2023", true},  {"", false}};
    for (const Caso& caso : dias) {
        EXPECT_EQ(frmCorrigeCosto::EsFechaValida(QString::fromUtf8(caso.texto)), caso.valido) << caso.texto;
    }
    const Caso horas[] = {{"00:00", true},  {"23:59", true},  {"24:00", false}, {"9:30", false},
                          {"12.30", false}, {"12:60", false}, {"1a:00", false}, {"", false}};
    for (const Caso& caso : horas) {
        EXPECT_EQ(frmCorrigeCosto::EsHoraValida(QString::fromUtf8(caso.texto)), caso.valido) << caso.texto;
    }
}

TEST(CorrigeCostoForm, CostClassListsTheMinuteGroupWithItsCostAsPrice)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    corrige_tests::ElegirClase(form, QStringLiteral("Costo"));
    Listar(form, QStringLiteral("18/03/2024"), QStringLiteral("08:05"), QStringLiteral("08:05"));

    const QList<QStringList> maximos = Filas(
        demo.servidor, QStringLiteral("SELECT MAX(Costo) FROM V_MV_PreciosHis WHERE FechaHora >= '2024-03-18 08:05:00' "
                                      "AND FechaHora < '2024-03-18 08:06:00'"));
    const QString costo = platform::Currency::parse(maximos[0][0])->toFixed(2);
    EXPECT_EQ(Listado(form), (QList<QStringList>{{"18/03/2024 08:05:00", "400", "18/03/2024 08:05:00",
                                                  "18/03/2024 08:05:59", costo, costo}}));
    EXPECT_FALSE(form.lstListado->Item(1).Bold());
}

TEST(CorrigeCostoForm, EmptyHoursTakeTheWholeDayAndAZeroPriceGroupIsBoldRed)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    Listar(form, QStringLiteral("26/03/2024"), QString(), QString());

    const QList<QStringList> grupos =
        Filas(demo.servidor, QStringLiteral("SELECT COUNT(DISTINCT CONVERT(NVARCHAR(16), FechaHora, 120) + "
                                            "ISNULL(RTRIM(idLista), '')) FROM V_MV_PreciosHis "
                                            "WHERE FechaHora >= '2024-03-26' AND FechaHora < '2024-03-27'"));
    ASSERT_EQ(form.lstListado->ItemCount(), grupos[0][0].toInt());
    int rojos = 0;
    for (int i = 1; i <= form.lstListado->ItemCount(); ++i) {
        const ListItem& item = form.lstListado->Item(i);
        if (i > 1) {
            // Newest group first.
            EXPECT_GE(form.lstListado->Item(i - 1).Text(), item.Text());
        }
        if (item.Text() == u"26/03/2024 11:20:00") {
            ++rojos;
            EXPECT_EQ(item.SubItems(1), QStringLiteral("3"));
            EXPECT_EQ(item.SubItems(4), QStringLiteral("0.00"));
            EXPECT_TRUE(item.Bold());
            EXPECT_EQ(item.ForeColor(), 255u);
            for (int s = 1; s <= 5; ++s) {
                EXPECT_EQ(item.SubItemForeColor(s), 255u) << s;
            }
        } else {
            EXPECT_FALSE(item.Bold()) << item.Text().toStdString();
        }
    }
    EXPECT_EQ(rojos, 1);
}

TEST(CorrigeCostoForm, MasterListsEveryListWhileAListChoiceFiltersIt)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    corrige_tests::ElegirClase(form, QStringLiteral("Precio 2"));
    Listar(form, QStringLiteral("04/03/2024"), QStringLiteral("10:02"), QStringLiteral("10:02"));
    ASSERT_EQ(form.lstListado->ItemCount(), 1);
    EXPECT_EQ(form.lstListado->Item(1).SubItems(1), QStringLiteral("400"));

    corrige_tests::ElegirLista(form, QStringLiteral("0001"));
    form.cmdRecargar->click();
    EXPECT_EQ(form.lstListado->ItemCount(), 0);

    corrige_tests::ElegirLista(form, QStringLiteral("0002"));
    EXPECT_EQ(form.CodigoLista(), QStringLiteral("0002"));
    form.cmdRecargar->click();
    EXPECT_EQ(form.lstListado->ItemCount(), 1);
}

TEST(CorrigeCostoForm, ATypedListCodeIsEscapedInTheStatement)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    form.CmbLista->setEditText(QStringLiteral("0'1 x"));
    EXPECT_EQ(form.CodigoLista(), QStringLiteral("0'1"));
    Listar(form, QStringLiteral("04/03/2024"), QString(), QString());
    // A statement broken by the apostrophe would have been reported to the operator.
    EXPECT_TRUE(MensajesPreguntados().isEmpty());
    EXPECT_EQ(form.lstListado->ItemCount(), 0);
}

TEST(CorrigeCostoForm, ClickedGroupShowsExactlyTheRowsTheRunProcesses)
{
    struct Caso
    {
        const char* lista;
        const char* clase;
        const char* dia;
        const char* hora;
        const char* desde;
        const char* hasta;
        const char* filtro;
    };
    const Caso casos[] = {
        {"", "Costo", "18/03/2024", "08:05", "18-03-2024 08:05:00.000", "18-03-2024 08:06:00.000",
         " and (idlista = '' or idlista is null) "},
        {"0002", "Precio 2", "04/03/2024", "10:02", "04-03-2024 10:02:05.000", "04-03-2024 10:02:45.000",
         " and idlista = '0002' "},
    };
    for (const Caso& caso : casos) {
        FormularioDemo demo;
        frmCorrigeCosto& form = *demo.form;
        Mostrar(form);
        corrige_tests::ElegirClase(form, QString::fromUtf8(caso.clase));
        corrige_tests::ElegirLista(form, QString::fromUtf8(caso.lista));
        Listar(form, QString::fromUtf8(caso.dia), QString::fromUtf8(caso.hora), QString::fromUtf8(caso.hora));
        ASSERT_EQ(form.lstListado->ItemCount(), 1);
        ListItem* item = &form.lstListado->Item(1);
        QTest::mouseClick(form.lstListado->viewport(), Qt::LeftButton, {},
                          form.lstListado->visualItemRect(item).center());
        ASSERT_EQ(form.lstListado->SelectedItem(), item);

        const platform::ui::FlexGrid& grid = *form.BkDbGrid1->MsFlexGrid;
        int columnaId = -1;
        for (int c = 0; c < grid.Cols(); ++c) {
            if (grid.TextMatrix(0, c).compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0) {
                columnaId = c;
            }
        }
        ASSERT_GE(columnaId, 0);
        QSet<QString> mostrados;
        for (int r = 1; r < grid.Rows(); ++r) {
            mostrados.insert(grid.TextMatrix(r, columnaId));
        }
        QSet<QString> procesados;
        for (const QStringList& fila :
             Filas(demo.servidor, QStringLiteral("SELECT ID FROM V_MV_PreciosHis WHERE FechaHora >= '") + caso.desde +
                                      QStringLiteral("' AND FechaHora < '") + caso.hasta + QStringLiteral("' ") +
                                      caso.filtro)) {
            procesados.insert(fila[0]);
        }
        EXPECT_EQ(procesados.size(), 400);
        EXPECT_EQ(grid.Rows() - 1, 400);
        EXPECT_EQ(mostrados, procesados);
    }
}

TEST(CorrigeCostoForm, TypedInvalidDayOrHourIsRefusedAndListsNothing)
{
    struct Caso
    {
        int caja; // 0, 1 the day boxes of the picker; 2, 3 the hour boxes
        const char* tecleado;
        const char* mensaje;
    };
    const Caso casos[] = {
        {0, "31/02/2024", "Formato de fecha inválido (DD/MM/AAAA)"},
        {1, "2024-01-31", "Formato de fecha inválido (DD/MM/AAAA)"},
        {2, "24:00", "Formato de hora inválido (HH:MM)"},
        {3, "9:30", "Formato de hora inválido (HH:MM)"},
        {2, "12.30", "Formato de hora inválido (HH:MM)"},
    };
    for (const Caso& caso : casos) {
        FormularioDemo demo;
        frmCorrigeCosto& form = *demo.form;
        Mostrar(form);
        // A listing that the refused one must leave as it is.
        Listar(form, QStringLiteral("18/03/2024"), QStringLiteral("08:05"), QStringLiteral("08:05"));
        ASSERT_EQ(form.lstListado->ItemCount(), 1);
        const QList<QStringList> antes = Listado(form);
        const qsizetype preguntadas = MensajesPreguntados().size();

        QLineEdit* caja = caso.caja < 2 ? form.FhOcx1->txtFechas[caso.caja] : form.txtfields[caso.caja - 2];
        caja->setFocus(Qt::MouseFocusReason);
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Backspace);
        QTest::keyClicks(caja, QString::fromUtf8(caso.tecleado));
        testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QString::fromUtf8(caso.mensaje));
        QTest::mouseClick(form.cmdRecargar, Qt::LeftButton);

        EXPECT_EQ(MensajesPreguntados().mid(preguntadas), QStringList{QString::fromUtf8(caso.mensaje)})
            << caso.tecleado;
        EXPECT_EQ(Listado(form), antes);
    }
}

TEST(CorrigeCostoForm, CorrectWithoutASelectedGroupRunsNothing)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    form.OptSolosi[2]->setChecked(true);
    Listar(form, QStringLiteral("18/03/2024"), QStringLiteral("08:05"), QStringLiteral("08:05"));
    ASSERT_EQ(form.lstListado->ItemCount(), 1);
    form.lstListado->setSelectedItem(nullptr);

    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("No hay un ítem"));
    form.cmdCorregir->click();
    ASSERT_EQ(testing_support::scriptedOperator().asked().size(), 1);
    const auto& pregunta = testing_support::scriptedOperator().asked().front();
    EXPECT_EQ(pregunta.prompt, QStringLiteral("No hay un ítem seleccionado."));
    EXPECT_EQ(pregunta.style, int(platform::msgbox::Exclamation));
    EXPECT_TRUE(QDir(testing_support::testFolder()).entryList({QStringLiteral("CorreccionesPrecio_*")}).isEmpty());
}

TEST(CorrigeCostoForm, TheListingAndTheDetailViewEndTheirRangesBeforeTheNextMinuteOrSecond)
{
    app_tests::ServidorDemo grabado;
    corrige_tests::SembrarGrupo(grabado.carpeta());
    FormularioDemo demo(grabado.carpeta());
    frmCorrigeCosto& form = *demo.form;
    const auto listados = [&grabado] {
        QStringList sentencias = grabado.tomarSentencias();
        return sentencias.filter(QStringLiteral("AS FechaGrupo"));
    };

    grabado.tomarSentencias();
    Listar(form, QStringLiteral("01/04/2024"), QStringLiteral("10:00"), QStringLiteral("10:00"));
    EXPECT_EQ(listados(),
              QStringList{QStringLiteral(
                  "SELECT DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, COUNT(*) AS "
                  "CantidadRegistros, MIN(FechaHora) AS PrimeraHora, MAX(FechaHora) AS UltimaHora, MAX(Precio1 ) AS "
                  "Precio, MAX(Costo ) AS Costo, idLista  FROM V_MV_PreciosHis WHERE FechaHora >= '01/04/2024 "
                  "10:00:00' AND FechaHora < '01/04/2024 10:01:00.000' GROUP BY DATEADD(MINUTE, DATEDIFF(MINUTE, 0, "
                  "FechaHora), 0), idLista  ORDER BY FechaGrupo DESC;")});
    ListItem* maestro = nullptr;
    for (int i = 1; i <= form.lstListado->ItemCount(); ++i) {
        if (form.lstListado->Item(i).SubItems(2) == u"01/04/2024 10:00:05") {
            maestro = &form.lstListado->Item(i);
        }
    }
    ASSERT_NE(maestro, nullptr);
    form.lstListado->setSelectedItem(maestro);
    form.lstListado_ItemClick(maestro);
    // The grid keeps the statement between blanks of its own.
    EXPECT_EQ(form.BkDbGrid1->sql().trimmed().toStdString(),
              "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora < "
              "'01-04-2024 10:00:41.000'  and (idlista = '' or idlista is null)");

    // The whole day: the range ends before the next day begins.
    corrige_tests::ElegirClase(form, QStringLiteral("Costo"));
    corrige_tests::ElegirLista(form, QStringLiteral("0002"));
    grabado.tomarSentencias();
    Listar(form, QStringLiteral("31/03/2024"), QString(), QString());
    EXPECT_EQ(listados(),
              QStringList{QStringLiteral(
                  "SELECT DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, COUNT(*) AS "
                  "CantidadRegistros, MIN(FechaHora) AS PrimeraHora, MAX(FechaHora) AS UltimaHora, MAX(Costo) AS "
                  "Precio, MAX(Costo) AS Costo, idLista FROM V_MV_PreciosHis WHERE FechaHora >= '31/03/2024 00:00:00' "
                  "AND FechaHora < '01/04/2024 00:00:00.000'  and idlista = '0002' GROUP BY DATEADD(MINUTE, "
                  "DATEDIFF(MINUTE, 0, FechaHora), 0), idLista ORDER BY FechaGrupo DESC;")});
    EXPECT_EQ(Listado(form), (QList<QStringList>{{"31/03/2024 18:00:00", "2", "31/03/2024 18:00:07",
                                                  "31/03/2024 18:00:08", "451.00", "451.00"}}));
}
