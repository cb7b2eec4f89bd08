// Search and filter on the demo data base: searches on the server narrowing
// the count and the pages, dates, no match, clearing, typed apostrophes and
// wildcards, the search in the page on screen, the menus and the search box.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>

namespace {

using controls::BkDbGrid;
using grid_tests::hijo;
using platform::ui::FlexGrid;
using A = controls::BkDbGridAcceso;

// The 400 rows of the mass change of 18/03/2024 08:05, one per article (codes 1001 to 1400).
const QString kCambioMasivo = QStringLiteral(
    "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '18/03/2024 08:05' AND FechaHora < '18/03/2024 08:06'");
const QString kIngrese = QStringLiteral("Ingrese el texto a buscar...");
constexpr platform::ui::OleColor kEncontrado = platform::ui::rgb(192, 232, 232);

class BusquedaEnGrilla : public ::testing::Test
{
protected:
    void abrir(const QString& conexion, int pageSize, const QString& sql, const QString& clave = QStringLiteral("ID"))
    {
        m_conexion = conexion;
        g = grid_tests::grillaConectada(conexion, pageSize, sql);
        g->setPrimaryKey(clave);
        g->LoadBkDBGrid();
    }
    // Chooses the field, types the text and presses "BUSCAR".
    void buscar(const QString& campo, const QString& texto)
    {
        auto* campos = hijo<QComboBox>(*g, "CboFiltroCampo");
        const int i = campos->findText(campo);
        ASSERT_GE(i, 0) << campo.toStdString();
        campos->setCurrentIndex(i);
        caja()->setText(texto);
        hijo<QToolButton>(*g, "BUSCAR")->click();
    }
    QLineEdit* caja() { return hijo<QLineEdit>(*g, "txtBuscar"); }
    int colDe(const char* titulo) { return g->IndexColGrid(QString::fromLatin1(titulo), *g->MsFlexGrid); }
    QString paginaTexto() { return hijo<QLabel>(*g, "lblPaginas")->text(); }
    QString totalTexto() { return hijo<QLabel>(*g, "LblTotalReg")->text(); }
    // The trimmed texts of a column over every page, page by page.
    QStringList todasLasPaginas(const char* titulo)
    {
        QStringList out;
        for (int p = 1; p <= g->UltimaPagina(); ++p) {
            g->CargarPagina(p);
            for (const QString& t : grid_tests::columna(*g->MsFlexGrid, colDe(titulo))) {
                out << t.trimmed();
            }
        }
        return out;
    }
    int64_t contarDirecto(const QString& sql)
    {
        platform::db::Connection directa;
        directa.Open(m_conexion);
        return directa.Execute(sql)->value(0).toInteger().value_or(-1);
    }
    // The cells painted as found, as (row, heading).
    std::set<std::pair<int, QString>> pintadas()
    {
        FlexGrid& grid = *g->MsFlexGrid;
        std::set<std::pair<int, QString>> out;
        for (int r = 0; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Cols(); ++c) {
                grid.setRow(r);
                grid.setCol(c);
                if (grid.CellBackColor() == kEncontrado) {
                    out.insert({r, grid.TextMatrix(0, c)});
                }
            }
        }
        return out;
    }

    QString m_conexion;
    std::unique_ptr<BkDbGrid> g;
};

TEST_F(BusquedaEnGrilla, EnElServidorAcotaLaCuentaYLasPaginasYUnaSegundaBusquedaAcotaMas)
{
    const QString conexion = testing_support::demoServer();
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 4, kCambioMasivo);
    ASSERT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 100"));

    sentencias->lista.clear();
    buscar(QStringLiteral("IdArticulo"), QStringLiteral("100"));
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 3"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 10);
    EXPECT_EQ(grid_tests::entradas(hijo<QComboBox>(*g, "cboPagSelect")), (QStringList{"1", "2", "3"}));
    // Counted with COUNT(*) and paged by key on the embedded engine, both with the condition.
    const QStringList conteo = sentencias->queEmpiezan(QStringLiteral("SELECT COUNT(*) FROM ("));
    ASSERT_EQ(conteo.size(), 1);
    EXPECT_TRUE(conteo.at(0).contains(QStringLiteral("CONVERT(NVARCHAR,[IdArticulo]) LIKE '%100%'")));
    EXPECT_EQ(caja()->text(), kIngrese);

    const QStringList articulos = todasLasPaginas("IdArticulo");
    EXPECT_EQ(std::set<QString>(articulos.begin(), articulos.end()),
              (std::set<QString>{"1001", "1002", "1003", "1004", "1005", "1006", "1007", "1008", "1009", "1100"}));
    EXPECT_EQ(articulos.size(), 10);

    buscar(QStringLiteral("IdArticulo"), QStringLiteral("5"));
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 1"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(todasLasPaginas("IdArticulo"), (QStringList{"1005"}));
    EXPECT_EQ(A::consulta(*g).FiltroBusqueda,
              QStringLiteral(" CONVERT(NVARCHAR,[IdArticulo]) LIKE '%100%' and  CONVERT(NVARCHAR,[IdArticulo]) "
                             "LIKE '%5%'"));

    // "Actualizar" drops every condition.
    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 100"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 400);
    EXPECT_TRUE(A::consulta(*g).FiltroBusqueda.isEmpty());
}

TEST_F(BusquedaEnGrilla, UnaFechaEncuentraLasFilasDeEseDia)
{
    abrir(testing_support::demoServer(), 50,
          QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '22/03/2024 17:45' AND FechaHora < "
                         "'26/03/2024 11:21'"));
    const int64_t delDia = contarDirecto(QStringLiteral(
        "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE CONVERT(NVARCHAR(10), FechaHora, 103) = '26/03/2024' "
        "AND FechaHora < '26/03/2024 11:21'"));
    ASSERT_GE(delDia, 3);
    ASSERT_GT(int64_t(A::consulta(*g).TotalRegistros), delDia);

    buscar(QStringLiteral("FechaHora"), QStringLiteral("26/03/2024"));
    EXPECT_EQ(int64_t(A::consulta(*g).TotalRegistros), delDia);
    const QStringList dias = todasLasPaginas("FechaHora");
    EXPECT_EQ(dias, QStringList(int(delDia), QStringLiteral("26/03/2024")));

    // The minute of the mass change: its three rows.
    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    buscar(QStringLiteral("FechaHora"), QStringLiteral("26/03/2024 11:20"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 3);

    // On every column the date gives the date field's term and text terms elsewhere.
    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    buscar(QStringLiteral("Todos"), QStringLiteral("26/03/2024"));
    EXPECT_EQ(int64_t(A::consulta(*g).TotalRegistros), delDia);
}

TEST_F(BusquedaEnGrilla, UnTextoQueNoEsFechaEnUnCampoFechaSeRechaza)
{
    const QString conexion = testing_support::demoServer();
    abrir(conexion, 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
    auto sentencias = grid_tests::grabarSentencias();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("Debe Ingresar un Formato de Fecha Válido."));
    buscar(QStringLiteral("FechaHora"), QStringLiteral("31/02/2024"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked().at(0).style, platform::msgbox::Information);
    EXPECT_EQ(op.asked().at(0).title, QStringLiteral("Aviso al Usuario"));
    EXPECT_EQ(caja()->text(), QStringLiteral("31/02/2024"));
    EXPECT_TRUE(A::consulta(*g).FiltroBusqueda.isEmpty());
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 11);
    EXPECT_TRUE(sentencias->lista.isEmpty());
}

TEST_F(BusquedaEnGrilla, SinCoincidenciasLaGrillaQuedaVaciaYLoDice)
{
    const QString conexion = testing_support::demoServer();
    auto sentencias = grid_tests::grabarSentencias();
    abrir(conexion, 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
    sentencias->lista.clear();
    buscar(QStringLiteral("IdArticulo"), QStringLiteral("zzz"));

    FlexGrid& grid = *g->MsFlexGrid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(0, colDe("IdArticulo")), QStringLiteral("IdArticulo"));
    for (int c = 0; c < grid.Cols(); ++c) {
        EXPECT_TRUE(grid.TextMatrix(1, c).isEmpty()) << c;
    }
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 1"));
    EXPECT_EQ(totalTexto(), QStringLiteral("Total Reg: 0"));
    // The page was asked with the condition, never without it.
    const QStringList paginas = sentencias->queEmpiezan(QStringLiteral("SELECT  "));
    ASSERT_FALSE(paginas.isEmpty());
    for (const QString& s : paginas) {
        EXPECT_TRUE(s.contains(QStringLiteral("LIKE '%zzz%'"))) << s.toStdString();
    }
    // The next load runs without the condition.
    EXPECT_TRUE(A::consulta(*g).FiltroBusqueda.isEmpty());
    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    EXPECT_EQ(paginaTexto(), QStringLiteral(" Página 1 de 3"));
    EXPECT_EQ(totalTexto(), QStringLiteral("Total Reg: 5"));
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("1"));
}

TEST_F(BusquedaEnGrilla, LosApostrofesSeBuscanTalCualYLosComodinesSiguenSiendolo)
{
    abrir(testing_support::demoServer(), 5, QStringLiteral("SELECT * FROM v_ta_unidadNegocio"),
          QStringLiteral("Codigo"));
    ASSERT_EQ(A::consulta(*g).TotalRegistros, 3);
    // No error dialog: the scripted operator fails the test on any question.
    buscar(QStringLiteral("Descripcion"), QStringLiteral("Casa' OR 'a'='a"));
    EXPECT_EQ(totalTexto(), QStringLiteral("Total Reg: 0"));

    buscar(QStringLiteral("Descripcion"), QStringLiteral("Dep_sito"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("Descripcion")), QStringLiteral("Depósito Central"));

    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    buscar(QStringLiteral("Todos"), QStringLiteral("casa%central"));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(g->MsFlexGrid->TextMatrix(1, colDe("Descripcion")), QStringLiteral("Casa Central"));
}

TEST_F(BusquedaEnGrilla, EnLaPaginaPintaExactamenteLasCeldasQueCoinciden)
{
    abrir(testing_support::demoServer(), 5, QStringLiteral("SELECT * FROM v_ta_unidadNegocio"),
          QStringLiteral("Codigo"));
    g->setFind(1);
    auto sentencias = grid_tests::grabarSentencias();
    buscar(QStringLiteral("Todos"), QStringLiteral("NORTE"));
    EXPECT_EQ(pintadas(), (std::set<std::pair<int, QString>>{{2, "Descripcion"}, {2, "razon_social"}}));
    EXPECT_EQ(caja()->text(), kIngrese);

    // One field: only its column; the earlier cells stay painted.
    buscar(QStringLiteral("Descripcion"), QStringLiteral("central"));
    EXPECT_EQ(pintadas(), (std::set<std::pair<int, QString>>{
                              {1, "Descripcion"}, {2, "Descripcion"}, {2, "razon_social"}, {3, "Descripcion"}}));
    EXPECT_TRUE(sentencias->lista.isEmpty());

    // The next load clears them.
    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    EXPECT_TRUE(pintadas().empty());
}

TEST_F(BusquedaEnGrilla, SinTextoSePideAlOperador)
{
    abrir(testing_support::demoServer(), 4, kCambioMasivo);
    auto& op = testing_support::scriptedOperator();
    op.answerInput(QStringLiteral("1005"), QStringLiteral("Campo seleccionado: IdArticulo\r\nIngrese el texto que "
                                                          "desea buscar para el campo seleccionado: "));
    buscar(QStringLiteral("IdArticulo"), QStringLiteral("  "));
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);

    // Cancel gives an empty text: nothing is added, the rows are counted again.
    op.answerInput(std::nullopt);
    buscar(QStringLiteral("IdArticulo"), QString());
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_TRUE(op.asked().at(1).title.isEmpty());
}

TEST_F(BusquedaEnGrilla, LaCajaDeBusquedaCambiaSusColoresYBuscaConEnter)
{
    abrir(testing_support::demoServer(), 4, kCambioMasivo);
    QLineEdit* texto = caja();
    ASSERT_EQ(texto->text(), kIngrese);
    auto* campos = hijo<QComboBox>(*g, "CboFiltroCampo");
    campos->setCurrentIndex(campos->findText(QStringLiteral("IdArticulo")));
    QApplication::setActiveWindow(g.get());
    texto->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return texto->hasFocus(); }));
    EXPECT_TRUE(texto->text().isEmpty());
    EXPECT_EQ(texto->palette().color(QPalette::Base), platform::ui::toQColor(platform::ui::rgb(255, 252, 229)));
    QTest::keyClicks(texto, QStringLiteral("1005"));
    EXPECT_EQ(texto->palette().color(QPalette::Text), platform::ui::toQColor(0));

    QTest::keyClick(texto, Qt::Key_Return);
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_TRUE(texto->hasFocus());

    texto->setText(kIngrese);
    EXPECT_EQ(texto->palette().color(QPalette::Text), platform::ui::toQColor(2));
    g->MsFlexGrid->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !texto->hasFocus(); }));
    EXPECT_EQ(texto->palette().color(QPalette::Base), platform::ui::toQColor(0xFFFFFFu));
}

TEST_F(BusquedaEnGrilla, LosMenusEligenElModoSinAvisarAlAnfitrion)
{
    abrir(testing_support::demoServer(), 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
    QStringList cambiadas;
    QObject::connect(g.get(), &BkDbGrid::PropertyChanged, g.get(), [&](const QString& n) { cambiadas << n; });
    const QList<QAction*> buscarEn = hijo<QToolButton>(*g, "BUSCAR")->menu()->actions();
    const QList<QAction*> ordenar = hijo<QToolButton>(*g, "Orden")->menu()->actions();
    const auto textos = [](const QList<QAction*>& entradas) {
        return QStringList{entradas.at(0)->text(), entradas.at(1)->text()};
    };
    ASSERT_EQ(textos(buscarEn), (QStringList{"  Buscar en Página Actual", "  Buscar en todas las Páginas"}));

    buscarEn.at(0)->trigger();
    EXPECT_EQ(g->Find(), 1);
    EXPECT_EQ(textos(buscarEn), (QStringList{"» Buscar en Página Actual", "  Buscar en todas las Páginas"}));
    // The marked entry changes nothing.
    buscarEn.at(0)->trigger();
    EXPECT_EQ(g->Find(), 1);
    EXPECT_EQ(textos(buscarEn), (QStringList{"» Buscar en Página Actual", "  Buscar en todas las Páginas"}));
    buscarEn.at(1)->trigger();
    EXPECT_EQ(g->Find(), 2);

    ordenar.at(1)->trigger();
    EXPECT_EQ(g->Order(), 2);
    EXPECT_EQ(textos(ordenar), (QStringList{"  Ordemaniento Individual", "» Ordenamiento Múltiple"}));
    EXPECT_TRUE(cambiadas.isEmpty());
}

} // namespace
