// Loading and paging on real embedded data bases: the demo data base's price
// history and a numbered table.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/StatusBar.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"
#include "support/LocaleScope.h"
#include "support/PaintCounter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using platform::ui::FlexGrid;
using A = controls::BkDbGridAcceso;

const QString kOnce = QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11");

using grid_tests::columna;
using grid_tests::entradas;
using grid_tests::hijo;

QStringList numeros(int desde, int hasta)
{
    QStringList out;
    for (int n = desde; n <= hasta; ++n) {
        out << QString::number(n);
    }
    return out;
}

class Carga : public ::testing::Test
{
protected:
    void abrir(const QString& conexion, int pageSize, const QString& sql)
    {
        g = grid_tests::grillaConectada(conexion, pageSize, sql);
        connect();
    }
    void connect()
    {
        QObject::connect(g.get(), &BkDbGrid::PaginaCargada, g.get(), [this](int32_t& n) { cargadas << n; });
    }
    int colDe(const char* titulo) { return g->IndexColGrid(QString::fromLatin1(titulo), *g->MsFlexGrid); }
    QString paginaTexto() { return hijo<QLabel>(*g, "lblPaginas")->text(); }
    void click(const char* boton) { hijo<QPushButton>(*g, boton)->click(); }
    // Loads the statement pressing "Cancelar carga..." as soon as it shows;
    // returns whether it was pressed.
    bool cargarCancelando()
    {
        auto* cancelar = hijo<QPushButton>(*g, "CmdCancel");
        bool pulsado = false;
        QTimer reloj;
        reloj.setInterval(0);
        QObject::connect(&reloj, &QTimer::timeout, [&] {
            if (!cancelar->isHidden()) {
                cancelar->click();
                pulsado = true;
                reloj.stop();
            }
        });
        reloj.start();
        g->LoadBkDBGrid();
        reloj.stop();
        return pulsado;
    }

    std::unique_ptr<BkDbGrid> g;
    QList<int32_t> cargadas;
};

TEST_F(Carga, DosPaginasYUnaFilaDanTresPaginasConSusOrdinales)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    FlexGrid& grid = *g->MsFlexGrid;

    EXPECT_EQ(entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 3"));
    EXPECT_EQ(g->UltimaPagina(), 3);
    EXPECT_EQ(columna(grid, 0), numeros(1, 5));
    EXPECT_EQ(columna(grid, colDe("ID")), numeros(1, 5));
    EXPECT_EQ(hijo<QLabel>(*g, "LblTotalReg")->text(), QStringLiteral("Total Reg: 5"));
    EXPECT_TRUE(hijo<QPushButton>(*g, "CmdCancel")->isHidden());
    EXPECT_TRUE(hijo<QProgressBar>(*g, "Pbar")->isHidden());

    click("cmdSiguiente");
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 2 de 3"));
    EXPECT_EQ(columna(grid, 0), numeros(6, 10));
    EXPECT_EQ(columna(grid, colDe("ID")), numeros(6, 10));

    click("cmdUltimo");
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 3 de 3"));
    EXPECT_EQ(columna(grid, 0), numeros(11, 11));
    EXPECT_EQ(columna(grid, colDe("ID")), numeros(11, 11));

    click("cmdSiguiente"); // on the last page: nothing
    click("cmdAnterior");
    EXPECT_EQ(columna(grid, 0), numeros(6, 10));
    click("cmdPrimero");
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 3"));
    EXPECT_EQ(columna(grid, 0), numeros(1, 5));
    EXPECT_EQ(cargadas, (QList<int32_t>{1, 2, 3, 2, 1}));
}

// The progress bar repaints the window at each step of a load; the grid
// itself is painted once, with its page whole.
TEST_F(Carga, UnaPaginaSePintaUnaVez)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->resize(1200, 800);
    g->LoadBkDBGrid();
    QApplication::processEvents();
    testing_support::PaintCounter pinturas(g->MsFlexGrid->viewport());
    for (const char* boton : {"cmdSiguiente", "cmdUltimo", "cmdPrimero"}) {
        pinturas.paints = 0;
        click(boton);
        QApplication::processEvents();
        EXPECT_EQ(pinturas.paints, 1) << boton;
    }
    // A new load counts the rows with the bar shown; before the count the
    // load lets the window show the grid in its new look once.
    pinturas.paints = 0;
    g->LoadBkDBGrid();
    QApplication::processEvents();
    EXPECT_LE(pinturas.paints, 2) << "LoadBkDBGrid";
}

// Amounts show the user's decimal sign, as the program's lists do; keys
// and dates stay as the statement gives them.
TEST_F(Carga, LosImportesMuestranElSignoDecimalDelUsuario)
{
    abrir(testing_support::demoServer(), 5,
          QStringLiteral("SELECT ID, FechaHora, Costo FROM V_MV_PreciosHis WHERE "
                         "ID = 1"));
    g->LoadBkDBGrid();
    const QString costo = g->MsFlexGrid->TextMatrix(1, colDe("Costo"));
    const QString fecha = g->MsFlexGrid->TextMatrix(1, colDe("FechaHora"));
    ASSERT_TRUE(costo.contains(u'.')) << costo.toStdString();
    const testing_support::LocaleScope espanol(QLocale(QLocale::Spanish, QLocale::Argentina));
    g->LoadBkDBGrid();
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("Costo")), QString(costo).replace(u'.', u','));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("ID")), QStringLiteral("1"));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("FechaHora")), fecha);
}

TEST_F(Carga, DosPaginasJustasDanDosPaginas)
{
    abrir(testing_support::demoServer(), 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 10"));
    g->LoadBkDBGrid();
    EXPECT_EQ(entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1", "2"}));
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 2"));
}

TEST_F(Carga, OrdenarPorLaColumnaElegidaCambiaLaSentenciaYLasFilas)
{
    const QString conexion = testing_support::demoServer();
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 5, kOnce);
    g->LoadBkDBGrid();
    FlexGrid& grid = *g->MsFlexGrid;
    const int c = colDe("IdArticulo");
    ASSERT_LT(c, grid.Cols());
    grid.setRow(1);
    grid.setCol(c);

    sentencias->lista.clear();
    hijo<QToolButton>(*g, "ImgOrdenDesc")->click();

    ASSERT_EQ(sentencias->lista.size(), 1);
    EXPECT_TRUE(sentencias->lista.at(0).contains(QStringLiteral(" Order by [IdArticulo] Desc ")))
        << sentencias->lista.at(0).toStdString();
    EXPECT_EQ(g->OrderBy(), QStringLiteral(" Order by [IdArticulo] Desc "));

    platform::db::Connection directa;
    directa.Open(conexion);
    auto rs = directa.Execute(QStringLiteral("SELECT TOP 5 IdArticulo FROM V_MV_PreciosHis WHERE ID <= 11 "
                                             "ORDER BY IdArticulo DESC"));
    QStringList esperadas;
    for (; !rs->Eof(); rs->MoveNext()) {
        esperadas << rs->value(0).toText();
    }
    EXPECT_EQ(columna(grid, c), esperadas);
    EXPECT_EQ(columna(grid, 0), numeros(1, 5));

    // The order stays for the next page; ascending then replaces it.
    grid.setCol(c);
    hijo<QToolButton>(*g, "ImgOrdenAsc")->click();
    EXPECT_EQ(g->OrderBy(), QStringLiteral(" Order by [IdArticulo] Asc "));
    QStringList ascendentes = columna(grid, c);
    QStringList ordenadas = ascendentes;
    std::sort(ordenadas.begin(), ordenadas.end());
    EXPECT_EQ(ascendentes, ordenadas);
}

TEST_F(Carga, OrdenarEnLaColumnaDelOrdinalNoHaceNada)
{
    const QString conexion = testing_support::demoServer();
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 5, kOnce);
    g->LoadBkDBGrid();
    // After a load the cursor stands on the ordered column, column 0 at first.
    ASSERT_EQ(g->MsFlexGrid->Col(), 0);
    sentencias->lista.clear();
    hijo<QToolButton>(*g, "ImgOrdenAsc")->click();
    ASSERT_EQ(sentencias->lista.size(), 1);
    EXPECT_FALSE(sentencias->lista.at(0).contains(QStringLiteral("[]"))) << sentencias->lista.at(0).toStdString();
    EXPECT_TRUE(g->OrderBy().isEmpty());
    EXPECT_EQ(columna(*g->MsFlexGrid, colDe("ID")), numeros(1, 5));
}

TEST_F(Carga, VariasColumnasAcumulanElOrden)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->setOrder(2);
    g->LoadBkDBGrid();
    FlexGrid& grid = *g->MsFlexGrid;
    grid.setCol(colDe("IdArticulo"));
    hijo<QToolButton>(*g, "ImgOrdenAsc")->click();
    grid.setCol(colDe("ID"));
    hijo<QToolButton>(*g, "ImgOrdenDesc")->click();
    EXPECT_EQ(g->OrderBy(), QStringLiteral(" Order by [IdArticulo] Asc , [ID] Desc "));
    grid.setCol(colDe("IdArticulo"));
    hijo<QToolButton>(*g, "ImgOrdenAsc")->click();
    EXPECT_EQ(g->OrderBy(), QStringLiteral(" Order by  [ID] Desc , [IdArticulo] Asc "));
    EXPECT_EQ(hijo<platform::ui::StatusBar>(*g, "StatusBar1")->Panels(1).Text(),
              QStringLiteral(" Orden:  Order by  [ID] Desc , [IdArticulo] Asc "));
}

TEST_F(Carga, UnResultadoVacioMuestraLosTitulosYUnaFilaVacia)
{
    abrir(testing_support::demoServer(), 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID < 0"));
    g->LoadBkDBGrid();
    FlexGrid& grid = *g->MsFlexGrid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("ID"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("FechaHora"));
    EXPECT_EQ(grid.TextMatrix(0, 3), QStringLiteral("IdArticulo"));
    for (int c = 1; c < grid.Cols(); ++c) {
        EXPECT_TRUE(grid.TextMatrix(1, c).isEmpty()) << c;
    }
    EXPECT_EQ(entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1"}));
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 1"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 0);
}

TEST_F(Carga, CancelarDetieneLaCargaYLaGrillaSigueUsable)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    auto* cancelar = hijo<QPushButton>(*g, "CmdCancel");
    EXPECT_EQ(cancelar->text(), QStringLiteral("Cancelar carga..."));
    ASSERT_TRUE(cargarCancelando());
    EXPECT_TRUE(A::cargaCancelada(*g));
    EXPECT_TRUE(cargadas.isEmpty());
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 0);
    EXPECT_EQ(hijo<QComboBox>(*g, "cboPagSelect")->count(), 0);

    // A page size chosen in the box loads the statement again.
    auto* registros = hijo<QComboBox>(*g, "CboRegistros");
    registros->setCurrentIndex(0);
    emit registros->activated(0);
    EXPECT_EQ(cargadas, (QList<int32_t>{1}));
    EXPECT_EQ(entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(1, 5));
    EXPECT_TRUE(cancelar->isHidden());
    EXPECT_FALSE(A::cargaCancelada(*g));
}

TEST_F(Carga, UnCancelarDuranteElConteoNoDejaLasPaginasDeLaSentenciaAnterior)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    ASSERT_EQ(g->UltimaPagina(), 3);

    g->setSql(QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 3"));
    ASSERT_TRUE(cargarCancelando());

    EXPECT_EQ(hijo<QComboBox>(*g, "cboPagSelect")->count(), 0);
    EXPECT_EQ(g->UltimaPagina(), 0);
    EXPECT_EQ(g->PaginaActual(), 1);
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 0);
    EXPECT_EQ(paginaTexto(), QStringLiteral("Página 1 de 1"));
    for (int c = 0; c < g->MsFlexGrid->Cols(); ++c) {
        EXPECT_TRUE(g->MsFlexGrid->TextMatrix(1, c).isEmpty()) << c;
    }
    click("cmdSiguiente");
    click("cmdUltimo");
    g->CargarPagina(2);
    EXPECT_EQ(cargadas, (QList<int32_t>{1}));
}

TEST_F(Carga, CargarPaginaFueraDeLasPaginasNoHaceNada)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    click("cmdSiguiente");
    for (int cual : {4, 0, -1}) {
        g->CargarPagina(cual);
        EXPECT_EQ(g->PaginaActual(), 2) << cual;
        EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 2 de 3")) << cual;
    }
    EXPECT_EQ(cargadas, (QList<int32_t>{1, 2}));
}

TEST_F(Carga, UnErrorDespuesDeMostrarUnaPaginaSeInformaYLaGrillaSigueUsable)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    ASSERT_EQ(cargadas.size(), 1);

    g->setOrdenSent(3);
    g->setOrderBy(QStringLiteral(" Order by # "));
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::Abort).answerMsgBox(platform::msgbox::OK, QStringLiteral("(3704)"));
    click("cmdSiguiente");
    EXPECT_EQ(op.pending(), 0u);
    EXPECT_EQ(cargadas.size(), 1);

    g->setOrderBy(QString());
    g->setOrdenSent(0);
    click("cmdSiguiente");
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 3 de 3"));
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(11, 11));
}

TEST_F(Carga, UnaColumnaInvalidaMuestraLaSentenciaSinPaginar)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->setOrdenSent(3);
    g->setOrderBy(QStringLiteral(" Order by [NoExiste] Asc "));
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Ignore, QStringLiteral("NoExiste"));
    g->LoadBkDBGrid();
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(1, 11));
    EXPECT_EQ(cargadas, (QList<int32_t>{1}));
}

TEST_F(Carga, UnJoinMuestraTodoEnUnaPaginaYOcultaElOrden)
{
    abrir(testing_support::demoServer(), 5,
          QStringLiteral("SELECT h.ID, a.DESCRIPCION FROM V_MV_PreciosHis h join V_MA_ARTICULOS a "
                         "on a.IDARTICULO = h.IdArticulo WHERE h.ID <= 11"));
    g->setColumnas(true);
    g->LoadBkDBGrid();
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(1, 11));
    EXPECT_TRUE(hijo<QToolButton>(*g, "ImgOrdenAsc")->isHidden());
    EXPECT_TRUE(hijo<QToolBar>(*g, "Toolbar2")->isHidden());
    EXPECT_TRUE(hijo<QPushButton>(*g, "cmdColumnas")->isHidden());

    g->setSql(kOnce);
    g->LoadBkDBGrid();
    EXPECT_TRUE(hijo<QToolButton>(*g, "ImgOrdenAsc")->isHidden());
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(1, 5));
}

TEST_F(Carga, ElTamanoEscritoSeAplicaConEnterYSeAcota)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    auto* caja = hijo<QComboBox>(*g, "CboRegistros");
    EXPECT_EQ(caja->currentText(), QStringLiteral("5"));
    QLineEdit* texto = caja->lineEdit();
    auto& op = testing_support::scriptedOperator();

    texto->clear();
    QTest::keyClicks(texto, QStringLiteral("1a.2"));
    EXPECT_EQ(texto->text(), QStringLiteral("12"));
    QTest::keyClick(texto, Qt::Key_Backspace);
    EXPECT_EQ(texto->text(), QStringLiteral("12"));
    QTest::keyClick(texto, Qt::Key_Return);
    EXPECT_EQ(g->PageSize(), 12);
    EXPECT_EQ(g->UltimaPagina(), 1);
    EXPECT_EQ(caja->currentText(), QStringLiteral("12"));

    texto->clear();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("no puede ser menor a 1 por página."));
    QTest::keyClick(texto, Qt::Key_Return);
    EXPECT_EQ(g->PageSize(), 1);
    EXPECT_EQ(g->UltimaPagina(), 11);

    texto->clear();
    QTest::keyClicks(texto, QStringLiteral("2500"));
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("no puede superar los 2000 por página."));
    QTest::keyClick(texto, Qt::Key_Return);
    EXPECT_EQ(g->PageSize(), 2000);
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_EQ(op.asked().at(0).title, QStringLiteral("Aviso al Usuario"));
    EXPECT_EQ(op.asked().at(0).style, platform::msgbox::Information);
}

TEST_F(Carga, LasTeclasDePaginaPasanPaginasSalvoQueElAnfitrionLasAnule)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g->LoadBkDBGrid();
    FlexGrid& grid = *g->MsFlexGrid;
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(g->PaginaActual(), 2);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    EXPECT_EQ(g->PaginaActual(), 1);

    // The second Down on the last row turns the page.
    grid.setRow(grid.Rows() - 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(g->PaginaActual(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(g->PaginaActual(), 2);
    EXPECT_EQ(columna(grid, 0), numeros(6, 10));

    QObject::connect(g.get(), &BkDbGrid::MSFlexGridKeyDown, g.get(), [](int& keyCode, int&) { keyCode = 0; });
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(g->PaginaActual(), 2);
}

TEST_F(Carga, ElEjemploDePaginaLlegaAlServidorTalCual)
{
    const QString conexion = grid_tests::servidorNumeros(4001);
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 2000, QStringLiteral("SELECT * FROM T WHERE a = 1 ORDER BY a"));
    g->setOrdenSent(3);
    g->LoadBkDBGrid();
    sentencias->lista.clear();
    click("cmdSiguiente");
    ASSERT_EQ(sentencias->lista.size(), 1);
    EXPECT_EQ(sentencias->lista.at(0),
              QStringLiteral("SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE ID NOT IN (SELECT TOP 2000 ID "
                             "FROM T WHERE a = 1  )  and a = 1  ) AS Paginacion  WHERE a = 1  "));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, 0), QStringLiteral("2001"));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(2000, 0), QStringLiteral("4000"));
}

TEST_F(Carga, ElMotorEmbebidoCuentaConCountYPaginaPorClave)
{
    const QString conexion = grid_tests::servidorNumeros(4001);
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 2000, QStringLiteral("SELECT * FROM T WHERE a = 1"));
    g->LoadBkDBGrid();
    EXPECT_EQ(
        sentencias->lista,
        (QStringList{" SELECT TOP 1 * FROM T WHERE a = 1 ",
                     "SELECT COUNT(*) FROM ( SELECT * FROM T WHERE a = 1 ) AS Conteo",
                     "SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE a = 1   Order by ID ) AS Paginacion  "
                     "WHERE a = 1   Order by ID "}));
    EXPECT_EQ(g->UltimaPagina(), 3);
    EXPECT_EQ(entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1", "2", "3"}));

    sentencias->lista.clear();
    click("cmdSiguiente");
    ASSERT_EQ(sentencias->lista.size(), 1);
    EXPECT_TRUE(sentencias->lista.at(0).contains(
        QStringLiteral("ID > (SELECT ID FROM T WHERE a = 1   Order by ID  OFFSET 1999 ROWS FETCH NEXT 1 ROWS ONLY)")))
        << sentencias->lista.at(0).toStdString();
    EXPECT_EQ(columna(*g->MsFlexGrid, 0), numeros(2001, 4000));
    EXPECT_EQ(columna(*g->MsFlexGrid, colDe("ID")), numeros(2001, 4000));

    sentencias->lista.clear();
    click("cmdUltimo");
    ASSERT_EQ(sentencias->lista.size(), 1);
    EXPECT_TRUE(sentencias->lista.at(0).contains(
        QStringLiteral("(SELECT ID FROM T WHERE a = 1  Order by ID Desc OFFSET 1 ROWS FETCH NEXT 1 ROWS ONLY)")))
        << sentencias->lista.at(0).toStdString();
    EXPECT_EQ(columna(*g->MsFlexGrid, colDe("ID")), numeros(4001, 4001));

    click("cmdPrimero");
    EXPECT_EQ(columna(*g->MsFlexGrid, colDe("ID")), numeros(1, 2000));
    EXPECT_EQ(cargadas, (QList<int32_t>{1, 2, 3, 1}));
}

TEST_F(Carga, LosNumerosDePaginaPasanDe16Bits)
{
    abrir(grid_tests::servidorNumeros(40000), 1, QStringLiteral("SELECT * FROM T"));
    g->LoadBkDBGrid();
    EXPECT_EQ(g->UltimaPagina(), 40000);
    g->CargarPagina(40000);
    EXPECT_EQ(g->PaginaActual(), 40000);
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 40000 de 40000"));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, 0), QStringLiteral("40000"));
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("ID")), QStringLiteral("40000"));
    EXPECT_EQ(cargadas.last(), 40000);
}

TEST_F(Carga, ElFinDeLaGrillaSueltaLaConexionPrincipal)
{
    abrir(testing_support::demoServer(), 5, kOnce);
    g.reset();
    EXPECT_FALSE(data::gDbPrincipal().gOpenFlag);
}

} // namespace
