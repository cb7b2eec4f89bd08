// The grid's "Excel" button after a search on the server: the statement it
// exports is built from the grid's field list, whose amounts are converted to
// decimal(14,2); they are written as numbers, so a total over them sums them.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "export/HojaExcel.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "support/DemoServer.h"
#include "support/DesktopCatcher.h"
#include "support/XlsxReader.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGridAcceso;
using grid_tests::hijo;
using testing_support::XlsxSheet;

// The mass change of 18/03/2024 08:05, without an order of its own: a search
// exports the grid's field list.
const QString kCambioMasivo = QStringLiteral(
    "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '18/03/2024 08:05' AND FechaHora < '18/03/2024 08:06'");

TEST(ExportarTrasBuscar, LosImportesSeEscribenComoNumerosYSuTotalLosSuma)
{
    exportacion::DefinirIntervaloAvance(0);
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 3, 20), QTime(10, 0)); });
    testing_support::DesktopCatcher escritorio;
    const QString conexion = testing_support::demoServer();
    auto sentencias = grid_tests::grabarSentencias();
    std::unique_ptr<controls::BkDbGrid> g = grid_tests::grillaConectada(conexion, 4, kCambioMasivo);
    g->LoadBkDBGrid();

    auto* campos = hijo<QComboBox>(*g, "CboFiltroCampo");
    campos->setCurrentIndex(campos->findText(QStringLiteral("IdArticulo")));
    hijo<QLineEdit>(*g, "txtBuscar")->setText(QStringLiteral("100"));
    hijo<QToolButton>(*g, "BUSCAR")->click();
    const QString exportada = BkDbGridAcceso::consulta(*g).ConsultaCompleta;
    ASSERT_TRUE(exportada.contains(QStringLiteral("CONVERT(Decimal(14,2),[Costo])"))) << exportada.toStdString();

    sentencias->lista.clear();
    hijo<QToolButton>(*g, "Excel")->click();
    EXPECT_EQ(sentencias->lista, QStringList{exportada});
    ASSERT_FALSE(escritorio.opened.isEmpty());
    const testing_support::XlsxBook libro = testing_support::readXlsx(escritorio.opened.last().toLocalFile());
    ASSERT_TRUE(libro.error.isEmpty()) << libro.error.toStdString();
    const XlsxSheet h = libro.sheets.value(0);

    QChar costo;
    for (int c = 0; c < h.maxColumn && costo.isNull(); ++c) {
        if (h.at(QChar(u'A' + c) + QStringLiteral("1")).value.toString() == QStringLiteral("Costo")) {
            costo = QChar(u'A' + c);
        }
    }
    ASSERT_FALSE(costo.isNull());
    // The ten articles the search finds (1001 to 1009 and 1100), each amount a number.
    ASSERT_EQ(h.maxRow, 11);
    double suma = 0;
    for (int r = 2; r <= h.maxRow; ++r) {
        const testing_support::XlsxCell celda = h.at(costo + QString::number(r));
        EXPECT_EQ(celda.type, QStringLiteral("n")) << r;
        EXPECT_EQ(celda.numberFormat, QStringLiteral("#,##0.00")) << r;
        suma += celda.value.toDouble();
    }
    platform::db::Connection directa;
    directa.Open(conexion);
    const double esperada =
        directa
            .Execute(
                QStringLiteral("SELECT SUM(CONVERT(Decimal(14,2),[Costo])) FROM V_MV_PreciosHis WHERE FechaHora >= "
                               "'18/03/2024 08:05' AND FechaHora < '18/03/2024 08:06' AND IdArticulo LIKE '%100%'"))
            ->value(0)
            .toDouble()
            .value_or(0);
    EXPECT_GT(esperada, 0);
    EXPECT_NEAR(suma, esperada, 0.005);
}

} // namespace
