// The statement texts of the grid: aliases, probe, count, WHERE part and the
// page statement on SQL Server and Oracle.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using A = controls::BkDbGridAcceso;

struct CasoAlias
{
    const char* sql;
    std::vector<std::pair<const char*, const char*>> pares;
};

class Alias : public ::testing::TestWithParam<CasoAlias>
{
};

TEST_P(Alias, CadaPasadaConsumeUnAlias)
{
    BkDbGrid g;
    A::sql(g) = QString::fromUtf8(GetParam().sql);
    A::Equias(g);
    const auto& pares = GetParam().pares;
    ASSERT_EQ(A::alias(g), int(pares.size()) + 1);
    for (std::size_t i = 0; i < pares.size(); ++i) {
        EXPECT_EQ(A::expresion(g, int(i)), QString::fromUtf8(pares[i].first));
        EXPECT_EQ(A::aliasDe(g, int(i)), QString::fromUtf8(pares[i].second));
    }
    EXPECT_TRUE(A::expresion(g, int(pares.size())).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Equias, Alias,
                         ::testing::Values(CasoAlias{" SELECT costo as precio, * FROM T ", {{"[costo]", "[precio]"}}},
                                           CasoAlias{" SELECT costo   as   precio, * FROM T ",
                                                     {{"[costo]", "[precio]"}}},
                                           CasoAlias{" SELECT a AS b,c as d FROM T ", {{"[a]", "[b]"}, {"[c]", "[d]"}}},
                                           CasoAlias{" SELECT [Precio Uno] as [P 1], x.y as z FROM T ",
                                                     {{"[Precio Uno]", "[P 1]"}, {"[x.y]", "[z]"}}},
                                           CasoAlias{" SELECT isnull(costo) as c FROM T ", {{"[isnullcosto]", "[c]"}}},
                                           CasoAlias{" SELECT * FROM T ", {}}));

TEST(Equias, UnAsSinNombreSeInformaYCierraLaTabla)
{
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Ignore, QStringLiteral("Invalid procedure"));
    BkDbGrid g;
    A::sql(g) = QStringLiteral(" SELECT a as b, c as ");
    A::Equias(g);
    ASSERT_EQ(A::alias(g), 2);
    EXPECT_EQ(A::aliasDe(g, 0), QStringLiteral("[b]"));
}

TEST(EquiCampo, BuscaPorAliasOPorExpresion)
{
    BkDbGrid g;
    A::sql(g) = QStringLiteral(" SELECT costo as precio, * FROM T ");
    A::Equias(g);
    EXPECT_EQ(g.EquiCampo(QStringLiteral("[precio]"), 0), QStringLiteral("[costo]"));
    EXPECT_EQ(g.EquiCampo(QStringLiteral(" [PRE CIO] "), 0), QStringLiteral("[costo]"));
    EXPECT_EQ(g.EquiCampo(QStringLiteral("[costo]"), 1), QStringLiteral("[precio]"));
    EXPECT_EQ(g.EquiCampo(QStringLiteral("[otro]"), 0), QStringLiteral("[otro]"));
    QString lista = QStringLiteral("[precio]| [ID]");
    EXPECT_EQ(g.ArmarListaCampos(lista), QStringLiteral("[costo] as [precio]| [ID]"));
    EXPECT_EQ(lista, QStringLiteral("[costo] as [precio]| [ID]"));
}

struct CasoPrueba
{
    const char* sql;
    bool conSeleccion;
    const char* prueba;
};

class Prueba : public ::testing::TestWithParam<CasoPrueba>
{
};

TEST_P(Prueba, SentenciaDeUnaFila)
{
    BkDbGrid g;
    A::sql(g) = QString::fromUtf8(GetParam().sql);
    EXPECT_EQ(A::SentenciaPrueba(g, GetParam().conSeleccion), QString::fromUtf8(GetParam().prueba));
}

INSTANTIATE_TEST_SUITE_P(
    CargarCampos, Prueba,
    ::testing::Values(CasoPrueba{" SELECT * FROM T ORDER BY a ", false, " SELECT TOP 1 * FROM T "},
                      CasoPrueba{" SELECT DISTINCT a FROM T Order By a ", false, " SELECT DISTINCT TOP 1 a FROM T "},
                      CasoPrueba{" select distinct a from T order by a ", false, " select distinct TOP 1 a from T "},
                      CasoPrueba{" SELECT TOP 5 * FROM T ORDER BY a ", false, " SELECT TOP 5 * FROM T ORDER BY a "},
                      CasoPrueba{" SELECT TOP 5 * FROM T ORDER BY a ", true, " SELECT TOP 1 TOP 5 * FROM T "},
                      CasoPrueba{" SELECT a AS Selected FROM T ORDER BY a ", false,
                                 " SELECT TOP 1 a AS Selected FROM T "},
                      CasoPrueba{" SELECT * FROM T WHERE a IN (SELECT b FROM U) ", false,
                                 " SELECT TOP 1 * FROM T WHERE a IN (SELECT TOP 1 b FROM U) "},
                      CasoPrueba{" exec sp_lista 1 ", false, " exec sp_lista 1 "}));

struct CasoConteo
{
    const char* sql;
    const char* filtro;
    const char* campos;
    const char* conteo;
};

class Conteo : public ::testing::TestWithParam<CasoConteo>
{
};

TEST_P(Conteo, SentenciaDeTodasLasFilas)
{
    BkDbGrid g;
    A::sql(g) = QString::fromUtf8(GetParam().sql);
    A::filtro(g) = QString::fromUtf8(GetParam().filtro);
    A::campos(g) = QString::fromUtf8(GetParam().campos);
    A::Equias(g);
    EXPECT_EQ(A::SentenciaCompleta(g), QString::fromUtf8(GetParam().conteo));
}

INSTANTIATE_TEST_SUITE_P(
    CargarPaginas, Conteo,
    ::testing::Values(
        CasoConteo{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "", "[ID], [a]",
                   " SELECT * FROM T WHERE a = 1 ORDER BY a "},
        CasoConteo{" SELECT * FROM T WHERE a = 1 ORDER BY a ", " ([a] LIKE '%x%') ", "[ID], [a]",
                   " SELECT * FROM T WHERE a = 1  and  ([a] LIKE '%x%') "},
        CasoConteo{" SELECT * FROM T ", " ([a] LIKE '%x%') ", "[ID]| [a]",
                   "SELECT [ID], [a] FROM T  where  ([a] LIKE '%x%') "},
        CasoConteo{" SELECT costo as precio, ID FROM T ", " x = 1", "[precio]| ID",
                   "SELECT [costo] as [precio], ID FROM T  where  x = 1"},
        CasoConteo{
            " SELECT * FROM T WHERE b = 'x|y' ", " ([a] LIKE '%p|q%') ", " CONVERT(decimal(14â2),[a]) AS [a], [ID]",
            "SELECT  CONVERT(decimal(14,2),[a]) AS [a], [ID] FROM T WHERE b = 'x|y'  and  ([a] LIKE '%p|q%') "}));

struct CasoWhere
{
    const char* sql;
    const char* filtro;
    const char* where;
};

class Where : public ::testing::TestWithParam<CasoWhere>
{
};

TEST_P(Where, ParteWhereEfectiva)
{
    BkDbGrid g;
    A::sql(g) = QString::fromUtf8(GetParam().sql);
    A::filtro(g) = QString::fromUtf8(GetParam().filtro);
    A::ArmarWhere(g);
    EXPECT_EQ(A::whereEfectivo(g), QString::fromUtf8(GetParam().where));
}

INSTANTIATE_TEST_SUITE_P(
    ArmarWhere, Where,
    ::testing::Values(CasoWhere{" SELECT * FROM T ", "", ""}, CasoWhere{" SELECT * FROM T ", "x = 1", " where x = 1"},
                      CasoWhere{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "", "WHERE a = 1 "},
                      CasoWhere{" SELECT * FROM T where a = 1 ", "x = 1", "where a = 1  AND x = 1"}));

// The page statement of a load in progress: state as LoadBkDBGrid and the
// page list leave it, then the page statement as CargarGrid builds it.
struct CasoPagina
{
    const char* sql;
    const char* campos;
    const char* orderBy;
    const char* filtro;
    int find;
    int pageSize;
    int pagina;
    bool oracle;
    const char* sentencia;
};

class Pagina : public ::testing::TestWithParam<CasoPagina>
{
};

TEST_P(Pagina, SentenciaDeLaPagina)
{
    const CasoPagina& c = GetParam();
    if (c.oracle) {
        data::gDbPrincipal().gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
    }
    BkDbGrid g;
    A::sql(g) = QString::fromUtf8(c.sql);
    A::campos(g) = QString::fromUtf8(c.campos);
    A::orderBy(g) = QString::fromUtf8(c.orderBy);
    A::filtro(g) = QString::fromUtf8(c.filtro);
    A::find(g) = c.find;
    g.setPageSize(c.pageSize);
    A::paginas(g, c.pagina + 1, c.pagina);
    A::Equias(g);
    A::ArmarWhere(g);
    EXPECT_EQ(A::SentenciaPagina(g), QString::fromUtf8(c.sentencia));
}

INSTANTIATE_TEST_SUITE_P(
    CargarGrid, Pagina,
    ::testing::Values(
        // The worked example, byte for byte.
        CasoPagina{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "[ID], [a]", "", "", 2, 2000, 2, false,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE ID NOT IN (SELECT TOP 2000 ID FROM T "
                   "WHERE a = 1  )  and a = 1  ) AS Paginacion  WHERE a = 1  "},
        // Its Oracle variant.
        CasoPagina{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "[ID], [a]", "", "", 2, 2000, 2, true,
                   "SELECT  [ID], [a]  FROM (SELECT *  FROM T WHERE ROWNUM<=2000 AND ID NOT IN (SELECT ID FROM T "
                   "WHERE a = 1  AND  ROWNUM<=2000 )  and a = 1  )  Paginacion  WHERE a = 1  "},
        // Oracle without a WHERE part.
        CasoPagina{" SELECT * FROM T ORDER BY a ", "[ID], [a]", "", "", 2, 10, 3, true,
                   "SELECT  [ID], [a]  FROM (SELECT *  FROM T WHERE ROWNUM<=10 AND ID NOT IN (SELECT ID FROM T  WHERE  "
                   "ROWNUM<=20 )  )  Paginacion   "},
        // Neither the statement nor the grid gives an order: the key column does.
        CasoPagina{" SELECT * FROM T ", "[ID], [a]", "", "", 2, 10, 1, false,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 10 *  FROM T WHERE ID NOT IN (SELECT TOP 0 ID FROM T   "
                   "Order by ID ) "
                   "  Order by ID ) AS Paginacion    Order by ID "},
        // The grid's order, with a search on the server (Find 2) and the decimal conversion.
        CasoPagina{" SELECT * FROM T ", " CONVERT(decimal(14â2),[a]) AS [a], [ID]", " Order by [a] Asc ",
                   " ([a] LIKE '%1%') ", 2, 5, 3, false,
                   "SELECT   CONVERT(decimal(14,2),[a]) AS [a], [ID]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN "
                   "(SELECT TOP 10 ID FROM T  where  ([a] LIKE '%1%')   Order by [a] Asc )  and  ([a] LIKE '%1%')   "
                   "Order by [a] Asc ) AS Paginacion   where  ([a] LIKE '%1%')   Order by [a] Asc "},
        // "|" separates the fields only: a literal keeps it.
        CasoPagina{" SELECT * FROM T WHERE b = 'x|y' ", "[ID], [b]", " Order by [b] Asc ", "", 1, 5, 1, false,
                   "SELECT  [ID], [b]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 0 ID FROM T WHERE b "
                   "= 'x|y'   Order by [b] Asc )  and b = 'x|y'   Order by [b] Asc ) AS Paginacion  WHERE b = 'x|y'  "
                   " Order by [b] Asc "}));

} // namespace
