// The grid's spreadsheet export: the "Excel" button on the demo history, the
// grid's own export with its picture box and cancel button, read back with
// openpyxl.
#include "GridPrueba.h"

#include "common/PictureBox.h"
#include "common/PintaProgreso.h"
#include "data/DB_Dll.h"
#include "export/HojaExcel.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/xlsx/Workbook.h"
#include "support/DesktopCatcher.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/XlsxReader.h"
#include "support/DemoServer.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using testing_support::XlsxSheet;

const QString kOnce = QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11");

class Exportar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exportacion::DefinirIntervaloAvance(0);
        platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 3, 20), QTime(10, 0)); });
        g = std::make_unique<BkDbGrid>();
        g->resize(900, 500);
        g->show();
        const QString conexion = testing_support::demoServer();
        sentencias = grid_tests::grabarSentencias();
        g->setConString(conexion);
        ASSERT_TRUE(data::gDbPrincipal().gOpenFlag);
        // A loaded grid, as the operator sees it: several pages of the history.
        g->setPageSize(5);
        g->setSql(kOnce);
        g->LoadBkDBGrid();
        PicMsg = g->findChild<common::PictureBox*>(QStringLiteral("PicMsg"));
        CmdCancel = g->findChild<QPushButton*>(QStringLiteral("CmdCancel"));
        Pbar = g->findChild<QProgressBar*>(QStringLiteral("Pbar"));
        ASSERT_TRUE(PicMsg && CmdCancel && Pbar);
    }

    XlsxSheet abierto()
    {
        if (escritorio.opened.isEmpty()) {
            ADD_FAILURE() << "no workbook was opened";
            return {};
        }
        const testing_support::XlsxBook book = testing_support::readXlsx(escritorio.opened.last().toLocalFile());
        EXPECT_TRUE(book.error.isEmpty()) << book.error.toStdString();
        return book.sheets.value(0);
    }

    // A column of the statement's rows, read directly.
    static QStringList columna(const QString& sql, const QString& campo)
    {
        data::RecordsetPtr rs;
        data::gDbPrincipal().AbrirRecordset(sql, rs);
        QStringList out;
        for (; rs && !rs->Eof(); rs->MoveNext()) {
            out << rs->value(campo).toText();
        }
        return out;
    }

    // The texts of a sheet column from row `desde` to the last row.
    static QStringList textos(const XlsxSheet& h, QChar col, int desde)
    {
        QStringList out;
        for (int r = desde; r <= h.maxRow; ++r) {
            out << h.at(col + QString::number(r)).value.toString();
        }
        return out;
    }

    testing_support::DesktopCatcher escritorio;
    std::shared_ptr<grid_tests::Sentencias> sentencias;
    std::unique_ptr<BkDbGrid> g;
    common::PictureBox* PicMsg = nullptr;
    QPushButton* CmdCancel = nullptr;
    QProgressBar* Pbar = nullptr;
};

// What the grid's controls look like at every pass of the event loop while it lives.
struct Estados
{
    QTimer timer;
    int pasadas = 0;
    std::function<void(int)> enCadaPasada;
    Estados()
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++pasadas;
            if (enCadaPasada) {
                enCadaPasada(pasadas);
            }
        });
        timer.start();
    }
};

} // namespace

TEST_F(Exportar, ExcelButtonExportsTheGridsWholeStatement)
{
    const QString completa = controls::BkDbGridAcceso::consulta(*g).ConsultaCompleta;
    ASSERT_FALSE(completa.isEmpty());
    sentencias->lista.clear();
    g->findChild<QToolButton*>(QStringLiteral("Excel"))->click();
    EXPECT_EQ(sentencias->lista, QStringList{completa});

    const XlsxSheet h = abierto();
    const QStringList encabezados{"FechaHora", "IdArticulo", "idLista", "Costo",   "Precio1", "Precio2", "Precio3",
                                  "Precio4",   "Precio5",    "Precio6", "Precio7", "Precio8", "Usuario"};
    for (int i = 0; i < encabezados.size(); ++i) {
        EXPECT_EQ(h.at(QChar(u'A' + i) + QStringLiteral("1")).value.toString(), encabezados[i]);
    }
    // Every row of the statement, not only the page on screen.
    EXPECT_EQ(h.maxRow, 12);
    EXPECT_EQ(textos(h, u'B', 2), columna(completa, QStringLiteral("IdArticulo")));
    EXPECT_EQ(h.at("A2").numberFormat, QStringLiteral("dd/mm/yyyy hh:mm:ss"));
    EXPECT_EQ(h.at("D2").numberFormat, QStringLiteral("#,##0.00"));
}

TEST_F(Exportar, OwnExportShowsItsProgressAndCancelButtonWhileItRuns)
{
    Estados estados;
    QList<std::array<bool, 3>> visibles;
    estados.enCadaPasada = [&](int) {
        // From the moment the export shows its cancel button.
        if (CmdCancel->isVisible() || !visibles.isEmpty()) {
            visibles << std::array{CmdCancel->isVisible(), PicMsg->isVisible(), Pbar->isVisible()};
        }
    };
    Pbar->show();
    g->ExportarExcelPorRsOSCX(kOnce, true, QString(), QString(), QString(), PicMsg, 0, QString());
    ASSERT_FALSE(visibles.isEmpty());
    for (const auto& v : visibles) {
        EXPECT_TRUE(v[0] && v[1] && !v[2]);
    }
    // A complete export hides the cancel button and the picture box; Pbar stays hidden.
    EXPECT_TRUE(CmdCancel->isHidden());
    EXPECT_TRUE(PicMsg->isHidden());
    EXPECT_TRUE(Pbar->isHidden());
    EXPECT_EQ(abierto().maxRow, 12);
}

TEST_F(Exportar, OwnExportMatchesNamesWithoutRegardToCaseAndDatesItsHeadByTheMachine)
{
    const QString sql = QStringLiteral(
        "SELECT ID AS id, IdArticulo, FechaHora AS fhultimocosto, Costo FROM V_MV_PreciosHis WHERE ID <= 3");
    g->ExportarExcelPorRsOSCX(sql, true, QStringLiteral("Historia"), QString(), QString(), PicMsg, 0,
                              QStringLiteral("costo"));
    const XlsxSheet h = abierto();
    EXPECT_EQ(h.at("B1").value.toString(), QStringLiteral("Historia"));
    EXPECT_EQ(h.at("C1").value.toString(), QStringLiteral("20/03"));
    // "id" is the key field here too: no heading, no data.
    EXPECT_EQ(h.at("A2").value.toString(), QStringLiteral("IdArticulo"));
    EXPECT_EQ(h.at("B2").value.toString(), QStringLiteral("fhultimocosto"));
    EXPECT_EQ(h.at("C2").value.toString(), QStringLiteral("Costo"));
    EXPECT_EQ(textos(h, u'A', 3).mid(0, 3), columna(sql, QStringLiteral("IdArticulo")));
    EXPECT_EQ(h.at("B3").numberFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_TRUE(h.at("B3").value.toString().endsWith(QStringLiteral("T00:00:00")));
    EXPECT_EQ(h.at("C6").value.toString(), QStringLiteral("=SUM(C3:C5)"));
    EXPECT_TRUE(h.at("C6").bold);
}

TEST_F(Exportar, CancelButtonStopsTheExportWithTheRowsWrittenSoFar)
{
    const QStringList todos = columna(kOnce, QStringLiteral("IdArticulo"));
    Estados estados;
    estados.enCadaPasada = [&](int pasada) {
        if (pasada == 60) {
            CmdCancel->click();
        }
    };
    g->ExportarExcelPorRsOSCX(kOnce, false, QString(), QString(), QString(), PicMsg, 0, QStringLiteral("Costo"));
    const XlsxSheet h = abierto();
    const QStringList escritos = textos(h, u'B', 2);
    ASSERT_GT(escritos.size(), 1);
    ASSERT_LT(escritos.size(), todos.size());
    // The last row may be cut short; every row before it is whole, and no totals follow.
    EXPECT_EQ(escritos.mid(0, escritos.size() - 1), todos.mid(0, escritos.size() - 1));
    EXPECT_EQ(h.at(QStringLiteral("D%1").arg(h.maxRow)).value.toString().startsWith(u'='), false);
    // The picture box keeps the cancel text; the button goes away.
    EXPECT_TRUE(PicMsg->isVisible());
    EXPECT_TRUE(CmdCancel->isHidden());
}

TEST_F(Exportar, ACancelLeftFromBeforeDoesNotStopTheNextExport)
{
    CmdCancel->click();
    ASSERT_TRUE(controls::BkDbGridAcceso::cargaCancelada(*g));
    g->ExportarExcelPorRsOSCX(kOnce, true, QString(), QString(), QString(), PicMsg, 0, QString());
    EXPECT_EQ(abierto().maxRow, 12);
    EXPECT_TRUE(PicMsg->isHidden());
}

TEST_F(Exportar, OwnExportTellsOfTheRecordsPastTheSheetsLastRow)
{
    // The heading row and five of the eleven records.
    platform::xlsx::workbookSettings().rowsPerSheet = 6;
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK,
                    QStringLiteral("La hoja de Excel tiene 6 filas: se exportaron 5 registros y los 6 restantes no "
                                   "caben en ella, no se exportaron."));
    g->ExportarExcelPorRsOSCX(kOnce, true, QString(), QString(), QString(), PicMsg, 0, QString());
    EXPECT_EQ(op.pending(), 0u);
    const XlsxSheet h = abierto();
    EXPECT_EQ(h.maxRow, 6);
    EXPECT_EQ(textos(h, u'B', 2), columna(kOnce, QStringLiteral("IdArticulo")).mid(0, 5));
}

TEST_F(Exportar, ProgressBarDrawsAsPintaProgreso)
{
    common::PictureBox a;
    common::PictureBox b;
    a.resize(200, 20);
    b.resize(200, 20);
    g->ProgressBar(&a, platform::Variant(42.0), 255, QStringLiteral("Historia Leidos: 5 DE 11 Avance: "));
    common::PintaProgreso(&b, platform::Variant(42.0), 255, QStringLiteral("Historia Leidos: 5 DE 11 Avance: "));
    EXPECT_EQ(a.picture(), b.picture());
}
