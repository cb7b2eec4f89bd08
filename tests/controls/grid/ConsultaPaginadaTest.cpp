// The grid's query texts and paging state, without widgets: aliases, probe,
// field lists, count, WHERE part, the page statement on SQL Server and Oracle,
// the page list and the ordering clause.
#include "controls/grid/ConsultaPaginada.h"
#include "platform/db/Types.h"

#include "GridPrueba.h"
#include "support/ParamName.h"

#include <gtest/gtest.h>

namespace {

using controls::ConsultaPaginada;
using Campo = ConsultaPaginada::CampoProbado;
namespace db = platform::db;

using grid_tests::u8;

ConsultaPaginada conSql(const char* sql)
{
    ConsultaPaginada q;
    q.sql = u8(sql);
    return q;
}

using Pares = std::vector<std::pair<const char*, const char*>>;

// The alias table of `sql`: the (expression, alias) pairs, then the empty one.
void esperarAlias(const char* sql, const Pares& pares)
{
    ConsultaPaginada q = conSql(sql);
    EXPECT_TRUE(q.Equias());
    ASSERT_EQ(q.TablaAlias.size(), pares.size() + 1);
    for (std::size_t i = 0; i < pares.size(); ++i) {
        EXPECT_EQ(q.TablaAlias[i].Expresion, u8(pares[i].first)) << i;
        EXPECT_EQ(q.TablaAlias[i].Alias, u8(pares[i].second)) << i;
    }
    EXPECT_TRUE(q.TablaAlias.back().Expresion.isEmpty());
}

struct CasoAlias
{
    const char* sql;
    Pares pares;
};

class Alias : public ::testing::TestWithParam<CasoAlias>
{
};

TEST_P(Alias, CadaPasadaConsumeUnAlias)
{
    esperarAlias(GetParam().sql, GetParam().pares);
}

INSTANTIATE_TEST_SUITE_P(Equias, Alias,
                         ::testing::Values(CasoAlias{" SELECT costo as precio, * FROM T ", {{"[costo]", "[precio]"}}},
                                           CasoAlias{" SELECT costo   as   precio, * FROM T ",
                                                     {{"[costo]", "[precio]"}}},
                                           CasoAlias{" SELECT a AS b,c as d FROM T ", {{"[a]", "[b]"}, {"[c]", "[d]"}}},
                                           CasoAlias{" SELECT [Precio Uno] as [P 1], x.y as z FROM T ",
                                                     {{"[Precio Uno]", "[P 1]"}, {"[x.y]", "[z]"}}},
                                           CasoAlias{" SELECT isnull(costo) as c FROM T ", {{"isnull(costo)", "[c]"}}},
                                           CasoAlias{" SELECT * FROM T ", {}}),
                         testing_support::NombrePorTexto<CasoAlias>([](const CasoAlias& c) { return c.sql; }));

// An item that is more than a name stands whole behind its alias.
struct CasoExpresion
{
    const char* nombre;
    const char* sql;
    Pares pares;
};

class AliasDeExpresion : public ::testing::TestWithParam<CasoExpresion>
{
};

TEST_P(AliasDeExpresion, LaExpresionEsElElementoEntero)
{
    esperarAlias(GetParam().sql, GetParam().pares);
}

INSTANTIATE_TEST_SUITE_P(
    Equias, AliasDeExpresion,
    ::testing::Values(
        CasoExpresion{"ConBlancos", " SELECT ID, Costo * 2 AS Doble FROM T ", {{"Costo * 2", "[Doble]"}}},
        CasoExpresion{
            "SinBlancos", " SELECT Costo*2 as Doble, a as b FROM T ", {{"Costo*2", "[Doble]"}, {"[a]", "[b]"}}},
        CasoExpresion{
            "TrasTop", " SELECT TOP 10 Costo + [Precio Uno] AS Suma FROM T ", {{"Costo + [Precio Uno]", "[Suma]"}}},
        CasoExpresion{"TrasDistinct", " SELECT DISTINCT a - b as d FROM T ", {{"a - b", "[d]"}}},
        CasoExpresion{"ConComasEntreParentesis",
                      " SELECT ISNULL(Costo, 0) AS C, x as y FROM T ",
                      {{"ISNULL(Costo, 0)", "[C]"}, {"[x]", "[y]"}}},
        CasoExpresion{"UnAsDentroDeLaExpresion",
                      " SELECT CAST(Costo AS varchar(10)) AS Texto, Nombre FROM T ",
                      {{"CAST(Costo AS varchar(10))", "[Texto]"}}},
        CasoExpresion{"UnTextoConComas", " SELECT 'a, b' + Nombre as N FROM T ", {{"'a, b' + Nombre", "[N]"}}},
        CasoExpresion{
            "EnUnaSubconsulta", " SELECT * FROM (SELECT costo * 2 as doble FROM T) X ", {{"costo * 2", "[doble]"}}},
        CasoExpresion{"UnaTablaConAlias", " SELECT a.x * 2 as y FROM T as a ", {{"a.x * 2", "[y]"}, {"[T]", "[a]"}}}),
    [](const ::testing::TestParamInfo<CasoExpresion>& i) { return std::string(i.param.nombre); });

TEST(EquiCampo, UnaExpresionSeCompletaEnLaListaYEnElOrden)
{
    ConsultaPaginada q = conSql(" SELECT ID, Costo * 2 AS Doble FROM T ");
    q.Equias();
    QString lista = QStringLiteral("[Doble], ID");
    EXPECT_EQ(q.ArmarListaCampos(lista), QStringLiteral("Costo * 2 as [Doble], ID"));
    q.OrdenSent = 2;
    q.ArmarOrden(2, QStringLiteral("Doble"));
    EXPECT_EQ(q.OrderBy, QStringLiteral(" Order by Costo * 2 Desc "));
}

TEST(Equias, UnAsSinNombreCierraLaTabla)
{
    ConsultaPaginada q = conSql(" SELECT a as b, c as ");
    EXPECT_FALSE(q.Equias());
    ASSERT_EQ(q.TablaAlias.size(), 2u);
    EXPECT_EQ(q.TablaAlias[0].Alias, QStringLiteral("[b]"));
}

TEST(EquiCampo, BuscaPorAliasOPorExpresion)
{
    ConsultaPaginada q = conSql(" SELECT costo as precio, * FROM T ");
    q.Equias();
    EXPECT_EQ(q.EquiCampo(QStringLiteral("[precio]"), 0), QStringLiteral("[costo]"));
    EXPECT_EQ(q.EquiCampo(QStringLiteral(" [PRE CIO] "), 0), QStringLiteral("[costo]"));
    EXPECT_EQ(q.EquiCampo(QStringLiteral("[costo]"), 1), QStringLiteral("[precio]"));
    EXPECT_EQ(q.EquiCampo(QStringLiteral("[otro]"), 0), QStringLiteral("[otro]"));
    QString lista = QStringLiteral("[precio]| [ID]");
    EXPECT_EQ(q.ArmarListaCampos(lista), QStringLiteral("[costo] as [precio]| [ID]"));
    EXPECT_EQ(lista, QStringLiteral("[costo] as [precio]| [ID]"));
}

struct CasoTabla
{
    const char* sql;
    const char* tabla;
};

class Tabla : public ::testing::TestWithParam<CasoTabla>
{
};

TEST_P(Tabla, LaTablaSigueAlFromYLaCargaEmpiezaDeCero)
{
    ConsultaPaginada q = conSql(GetParam().sql);
    q.TotalRegistros = 7;
    q.PaginaActual = 3;
    q.UltimaPagina = 4;
    q.FiltroBusqueda = QStringLiteral("x = 1");
    q.ColumnasFecha = QStringLiteral("|1|");
    q.ColumnaOrden = 2;
    q.PrepararCarga();
    EXPECT_EQ(q.TablaConsulta, u8(GetParam().tabla));
    EXPECT_EQ(q.sql, u8(GetParam().sql) + u' ');
    EXPECT_EQ(q.TotalRegistros, 0);
    EXPECT_EQ(q.PaginaActual, 1);
    EXPECT_EQ(q.UltimaPagina, 0);
    EXPECT_TRUE(q.FiltroBusqueda.isEmpty());
    EXPECT_TRUE(q.ColumnasFecha.isEmpty());
    EXPECT_EQ(q.ColumnaOrden, 0);
}

INSTANTIATE_TEST_SUITE_P(PrepararCarga, Tabla,
                         ::testing::Values(CasoTabla{" SELECT * FROM V_X ORDER BY a", "V_X"},
                                           CasoTabla{" SELECT * FROM V_X WHERE b = 1", "V_X"},
                                           CasoTabla{" SELECT * FROM V_X", "V_X"}),
                         testing_support::NombrePorTexto<CasoTabla>([](const CasoTabla& c) { return c.sql; }));

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
    EXPECT_EQ(conSql(GetParam().sql).SentenciaPrueba(GetParam().conSeleccion), u8(GetParam().prueba));
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
                      CasoPrueba{" exec sp_lista 1 ", false, " exec sp_lista 1 "}),
    testing_support::NombrePorTexto<CasoPrueba>([](const CasoPrueba& c) { return c.sql; }));

// The field lists of a probe: each case gives the probed fields, the probe
// statement and the key, and the lists that come out.
struct CasoCampos
{
    std::vector<Campo> campos;
    const char* prueba;
    const char* clave;
    const char* camposLista;
    const char* todos;
    const char* fechas;
    QStringList filtro;
};

class Campos : public ::testing::TestWithParam<CasoCampos>
{
};

TEST_P(Campos, ListasDeLaPrueba)
{
    const CasoCampos& c = GetParam();
    ConsultaPaginada q;
    q.PrimaryKey = u8(c.clave);
    EXPECT_EQ(q.CargarCamposTodos(c.campos, u8(c.prueba)), c.filtro);
    EXPECT_EQ(q.Campos, u8(c.camposLista));
    EXPECT_EQ(q.CamposTodos, u8(c.todos));
    EXPECT_EQ(q.ColumnasFecha, u8(c.fechas));
}

INSTANTIATE_TEST_SUITE_P(
    CargarCampos, Campos,
    ::testing::Values(
        // A date first, an amount, a long text left out, the key in the middle.
        CasoCampos{{{"F", db::adDBTimeStamp}, {"P", db::adCurrency}, {"N", db::adLongVarWChar}, {"ID", db::adInteger}},
                   " SELECT TOP 1 * FROM T ",
                   "ID",
                   " CONVERT(NVARCHAR,[F],103) AS [F], CONVERT(Decimal(14â2),[P]) AS [P], [ID]",
                   "[F],[P], [ID]",
                   "|0|",
                   {"F", "P", "ID"}},
        // An amount that the statement names with " AS " is not converted; a
        // key not in the result is appended unbracketed.
        CasoCampos{{{"a", db::adVarWChar}, {"P", db::adNumeric}, {"D", db::adDBTimeStamp}},
                   " SELECT TOP 1 a, x AS P, D FROM T ",
                   "Codigo",
                   "[a], [P], CONVERT(NVARCHAR,[D],103) AS [D], Codigo",
                   "[a],[P],[D], Codigo",
                   "|2|",
                   {"a", "P", "D"}},
        // A key field named in another letter case keeps its place and is not added again.
        CasoCampos{{{"Id", db::adInteger}, {"a", db::adVarWChar}},
                   " SELECT TOP 1 * FROM T ",
                   "ID",
                   "[Id], [a]",
                   "[Id], [a]",
                   "",
                   {"Id", "a"}},
        CasoCampos{{{"a", db::adVarWChar}, {"id", db::adInteger}},
                   " SELECT TOP 1 * FROM T ",
                   "ID",
                   "[a], [id]",
                   "[a], [id]",
                   "",
                   {"a", "id"}},
        // The first amount converted.
        CasoCampos{{{"P", db::adNumeric}},
                   " SELECT TOP 1 P FROM T ",
                   "ID",
                   " CONVERT(decimal(14â2),[P]) AS [P], ID",
                   "[P], ID",
                   "",
                   {"P"}}),
    testing_support::NombrePorTexto<CasoCampos>([](const CasoCampos& c) { return c.prueba; }));

TEST(CamposSeleccion, UnaClaveEnOtraLetraNoSeAgregaOtraVez)
{
    ConsultaPaginada q;
    q.CamposSelNombres = QStringLiteral("[a], Id");
    q.CargarCamposSeleccion({{"Id", db::adInteger}, {"a", db::adVarWChar}});
    EXPECT_EQ(q.Campos, QStringLiteral("[Id], [a]"));
    EXPECT_EQ(q.CamposTodos, QStringLiteral("[Id], [a]"));
}

TEST(CamposSeleccion, LaSeleccionNoConvierteImportesYSeBuscaSinLaClave)
{
    ConsultaPaginada q;
    q.CamposSelNombres = QStringLiteral("[a], [F], ID");
    const QStringList filtro = q.CargarCamposSeleccion(
        {{"a", db::adVarWChar}, {"F", db::adDBTimeStamp}, {"P", db::adCurrency}, {"L", db::adLongVarBinary}});
    EXPECT_EQ(q.Campos, QStringLiteral("[a],convert(nvarchar,[F],103) as [F], [P], ID"));
    EXPECT_EQ(q.CamposTodos, QStringLiteral("[a],[F], [P], ID"));
    EXPECT_EQ(filtro, (QStringList{"a", "F"}));
}

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
    ConsultaPaginada q = conSql(GetParam().sql);
    q.FiltroBusqueda = u8(GetParam().filtro);
    q.Campos = u8(GetParam().campos);
    q.Equias();
    EXPECT_EQ(q.SentenciaCompleta(), u8(GetParam().conteo));
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
        CasoConteo{" SELECT * FROM T WHERE b = 'x|y' ", " ([a] LIKE '%p|q%') ",
                   " CONVERT(decimal(14â2),[a]) AS [a], [ID]",
                   "SELECT  CONVERT(decimal(14,2),[a]) AS [a], [ID] FROM T WHERE b = 'x|y'  and  ([a] LIKE '%p|q%') "}),
    testing_support::NombrePorTexto<CasoConteo>([](const CasoConteo& c) { return c.sql; }));

struct CasoPaginas
{
    int32_t filas;
    int32_t pageSize;
    int32_t actual;
    QStringList lista;
    int32_t ultima;
    int32_t actualDespues;
};

class Paginas : public ::testing::TestWithParam<CasoPaginas>
{
};

TEST_P(Paginas, UnaPaginaPorCadaPageSizeFilasYUnaPorElResto)
{
    const CasoPaginas& c = GetParam();
    ConsultaPaginada q;
    q.TotalRegistros = c.filas;
    q.PageSize = c.pageSize;
    q.PaginaActual = c.actual;
    EXPECT_EQ(q.ArmarPaginas(), c.lista);
    EXPECT_EQ(q.UltimaPagina, c.ultima);
    EXPECT_EQ(q.PaginaActual, c.actualDespues);
}

INSTANTIATE_TEST_SUITE_P(
    ArmarPaginas, Paginas,
    ::testing::Values(CasoPaginas{11, 5, 1, {"1", "2", "3"}, 3, 1}, CasoPaginas{10, 5, 1, {"1", "2"}, 2, 1},
                      CasoPaginas{10, 5, 3, {"1", "2"}, 2, 2}, CasoPaginas{10, 0, 1, {"1"}, 1, 1},
                      CasoPaginas{0, 5, 1, {"1"}, 0, 0}),
    testing_support::NombrePorTexto<CasoPaginas>([](const CasoPaginas& c) {
        return QStringLiteral("Filas %1 Tamano %2 Actual %3").arg(c.filas).arg(c.pageSize).arg(c.actual);
    }));

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
    ConsultaPaginada q = conSql(GetParam().sql);
    q.FiltroBusqueda = u8(GetParam().filtro);
    q.ArmarWhere();
    EXPECT_EQ(q.WhereEfectivo, u8(GetParam().where));
}

INSTANTIATE_TEST_SUITE_P(
    ArmarWhere, Where,
    ::testing::Values(CasoWhere{" SELECT * FROM T ", "", ""}, CasoWhere{" SELECT * FROM T ", "x = 1", " where x = 1"},
                      CasoWhere{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "", "WHERE a = 1 "},
                      CasoWhere{" SELECT * FROM T where a = 1 ", "x = 1", "where a = 1  AND x = 1"}),
    testing_support::NombrePorTexto<CasoWhere>([](const CasoWhere& c) { return c.sql; }));

// The page statement of a load in progress: the state as LoadBkDBGrid leaves
// it, then the page statement as CargarGrid builds it.
struct CasoPagina
{
    const char* sql;
    const char* campos;
    const char* orderBy;
    const char* filtro;
    int find;
    int pageSize;
    int pagina;
    ConsultaPaginada::Dialecto dialecto;
    const char* sentencia;
};

class Pagina : public ::testing::TestWithParam<CasoPagina>
{
};

TEST_P(Pagina, SentenciaDeLaPagina)
{
    const CasoPagina& c = GetParam();
    ConsultaPaginada q = conSql(c.sql);
    q.Campos = u8(c.campos);
    q.OrderBy = u8(c.orderBy);
    q.FiltroBusqueda = u8(c.filtro);
    q.Find = c.find;
    q.PageSize = c.pageSize;
    q.dialecto = c.dialecto;
    q.Equias();
    q.ArmarWhere();
    EXPECT_EQ(q.SentenciaPagina(c.pagina), u8(c.sentencia));
}

constexpr auto kSqlServer = ConsultaPaginada::Dialecto::SqlServer;
constexpr auto kOracle = ConsultaPaginada::Dialecto::Oracle;
constexpr auto kEmbebido = ConsultaPaginada::Dialecto::Embebido;

INSTANTIATE_TEST_SUITE_P(
    CargarGrid, Pagina,
    ::testing::Values(
        // The worked example, byte for byte.
        CasoPagina{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "[ID], [a]", "", "", 2, 2000, 2, kSqlServer,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE ID NOT IN (SELECT TOP 2000 ID FROM T "
                   "WHERE a = 1  )  and a = 1  ) AS Paginacion  WHERE a = 1  "},
        // Its Oracle variant.
        CasoPagina{" SELECT * FROM T WHERE a = 1 ORDER BY a ", "[ID], [a]", "", "", 2, 2000, 2, kOracle,
                   "SELECT  [ID], [a]  FROM (SELECT *  FROM T WHERE ROWNUM<=2000 AND ID NOT IN (SELECT ID FROM T "
                   "WHERE a = 1  AND  ROWNUM<=2000 )  and a = 1  )  Paginacion  WHERE a = 1  "},
        // Oracle without a WHERE part.
        CasoPagina{" SELECT * FROM T ORDER BY a ", "[ID], [a]", "", "", 2, 10, 3, kOracle,
                   "SELECT  [ID], [a]  FROM (SELECT *  FROM T WHERE ROWNUM<=10 AND ID NOT IN (SELECT ID FROM T  WHERE  "
                   "ROWNUM<=20 )  )  Paginacion   "},
        // Oracle, no order given: the key order stays out of the NOT IN sub-query,
        // which refuses an ORDER BY, and orders the inline view and the page.
        CasoPagina{" SELECT * FROM T ", "[ID], [a]", "", "", 2, 10, 3, kOracle,
                   "SELECT  [ID], [a]  FROM (SELECT *  FROM T WHERE ROWNUM<=10 AND ID NOT IN (SELECT ID FROM T  WHERE  "
                   "ROWNUM<=20 )   Order by ID )  Paginacion    Order by ID "},
        // Neither the statement nor the grid gives an order: the key column does.
        CasoPagina{" SELECT * FROM T ", "[ID], [a]", "", "", 2, 10, 1, kSqlServer,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 10 *  FROM T WHERE ID NOT IN (SELECT TOP 0 ID FROM T   "
                   "Order by ID ) "
                   "  Order by ID ) AS Paginacion    Order by ID "},
        // The grid's order, with a search on the server (Find 2) and the decimal conversion.
        CasoPagina{" SELECT * FROM T ", " CONVERT(decimal(14â2),[a]) AS [a], [ID]", " Order by [a] Asc ",
                   " ([a] LIKE '%1%') ", 2, 5, 3, kSqlServer,
                   "SELECT   CONVERT(decimal(14,2),[a]) AS [a], [ID]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN "
                   "(SELECT TOP 10 ID FROM T  where  ([a] LIKE '%1%')   Order by [a] Asc )  and  ([a] LIKE '%1%')   "
                   "Order by [a] Asc ) AS Paginacion   where  ([a] LIKE '%1%')   Order by [a] Asc "},
        // "|" separates the fields only: a literal keeps it.
        CasoPagina{" SELECT * FROM T WHERE b = 'x|y' ", "[ID], [b]", " Order by [b] Asc ", "", 1, 5, 1, kSqlServer,
                   "SELECT  [ID], [b]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 0 ID FROM T WHERE b "
                   "= 'x|y'   Order by [b] Asc )  and b = 'x|y'   Order by [b] Asc ) AS Paginacion  WHERE b = 'x|y'  "
                   " Order by [b] Asc "}),
    testing_support::NombrePorTexto<CasoPagina>([](const CasoPagina& c) { return c.sql; }));

// The embedded engine: pages in key order go by key; any other order, a search
// that only paints the page and a WHERE part the page cannot repeat keep the
// statement of the server.
INSTANTIATE_TEST_SUITE_P(
    Embebido, Pagina,
    ::testing::Values(
        CasoPagina{" SELECT * FROM T ", "[ID], [a]", "", "", 2, 10, 1, kEmbebido,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 10 *  FROM T  Order by ID ) AS Paginacion    Order by ID "},
        CasoPagina{
            " SELECT * FROM T WHERE a = 1 ", "[ID], [a]", "", "", 2, 10, 3, kEmbebido,
            "SELECT  [ID], [a]  FROM (SELECT TOP 10 *  FROM T WHERE ID > (SELECT ID FROM T WHERE a = 1   Order by ID  "
            "OFFSET 19 ROWS FETCH NEXT 1 ROWS ONLY) and (SELECT TOP 1 ID FROM T WHERE a = 1  Order by ID ) "
            "IS NOT NULL and a = 1   Order by ID ) AS Paginacion  WHERE a = 1   Order by ID "},
        CasoPagina{
            " SELECT * FROM T ", "[ID], [a]", "", " ([a] LIKE '%1%') ", 2, 5, 2, kEmbebido,
            "SELECT  [ID], [a]  FROM (SELECT TOP 5 *  FROM T WHERE ID > (SELECT ID FROM T  where  ([a] LIKE "
            "'%1%')   Order by ID  OFFSET 4 ROWS FETCH NEXT 1 ROWS ONLY) and (SELECT TOP 1 ID FROM T  where  ([a] "
            "LIKE '%1%')  Order by ID ) IS NOT NULL and  ([a] LIKE '%1%')   Order by ID ) AS Paginacion   where  "
            "([a] LIKE '%1%')   Order by ID "},
        CasoPagina{
            " SELECT * FROM T ", "[ID], [a]", " Order by [a] Asc ", "", 2, 5, 3, kEmbebido,
            "SELECT  [ID], [a]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 10 ID FROM T   Order by "
            "[a] Asc )   Order by [a] Asc ) AS Paginacion    Order by [a] Asc "},
        CasoPagina{" SELECT * FROM T ORDER BY a ", "[ID], [a]", "", "", 2, 5, 2, kEmbebido,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 5 ID FROM T  )  ) AS "
                   "Paginacion   "},
        CasoPagina{
            " SELECT * FROM T ", "[ID], [a]", "", " ([a] LIKE '%1%') ", 1, 5, 2, kEmbebido,
            "SELECT  [ID], [a]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 5 ID FROM T  where  ([a] "
            "LIKE '%1%')   Order by ID )   Order by ID ) AS Paginacion   where  ([a] LIKE '%1%')   Order by ID "},
        CasoPagina{" SELECT * FROM T WHERE a IN (SELECT a FROM U WHERE b = 1) ", "[ID], [a]", "", "", 2, 5, 2,
                   kEmbebido,
                   "SELECT  [ID], [a]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN (SELECT TOP 5 ID FROM T WHERE a IN "
                   "(SELECT a FROM U WHERE b = 1)   Order by ID )  and a IN (SELECT a FROM U b = 1)   Order by ID ) AS "
                   "Paginacion  WHERE a IN (SELECT a FROM U WHERE b = 1)   Order by ID "}),
    testing_support::NombrePorTexto<CasoPagina>([](const CasoPagina& c) { return c.sql; }));

TEST(PaginaEmbebida, CercaDelFinLaClaveSeCuentaDesdeLaUltimaFila)
{
    ConsultaPaginada q = conSql(" SELECT * FROM T WHERE a = 1 ");
    q.Campos = QStringLiteral("[ID], [a]");
    q.PageSize = 10;
    q.dialecto = kEmbebido;
    q.FijarTotal(25);
    q.ArmarWhere();
    // The statement is the table with its WHERE part: its count serves.
    EXPECT_TRUE(q.SentenciaFilasPorClave(3).isEmpty());
    EXPECT_EQ(
        q.ArmarPaginacion(3),
        QStringLiteral(" FROM (SELECT TOP 10 *  FROM T WHERE ID > (SELECT ID FROM T WHERE a = 1  Order by ID Desc "
                       "OFFSET 5 ROWS FETCH NEXT 1 ROWS ONLY) and (SELECT TOP 1 ID FROM T WHERE "
                       "a = 1  Order by ID ) IS NOT NULL and a = 1   Order by ID ) AS Paginacion "));
    // The second page lies nearer the start.
    EXPECT_TRUE(q.ArmarPaginacion(2).contains(QStringLiteral("Order by ID  OFFSET 9 ROWS")));
}

TEST(PaginaEmbebida, ConUnaBusquedaLasFilasDeLaClaveSeCuentanUnaVez)
{
    ConsultaPaginada q = conSql(" SELECT * FROM T ");
    q.PageSize = 10;
    q.dialecto = kEmbebido;
    q.FijarTotal(25);
    q.FiltroBusqueda = QStringLiteral(" ([a] LIKE '%1%') ");
    q.ArmarWhere();
    EXPECT_TRUE(q.SentenciaFilasPorClave(2).isEmpty()); // nearer the start
    EXPECT_EQ(q.SentenciaFilasPorClave(3), QStringLiteral("SELECT COUNT(*) FROM T  where  ([a] LIKE '%1%') "));
    q.FijarFilasPorClave(25);
    EXPECT_TRUE(q.SentenciaFilasPorClave(3).isEmpty());
    EXPECT_TRUE(q.ArmarPaginacion(3).contains(QStringLiteral("Order by ID Desc OFFSET 5 ROWS")));
    // Another WHERE part, or a new count, needs them counted again.
    q.FiltroBusqueda += QStringLiteral(" and x = 1");
    q.ArmarWhere();
    EXPECT_FALSE(q.SentenciaFilasPorClave(3).isEmpty());
    q.FijarFilasPorClave(25);
    q.FijarTotal(25);
    EXPECT_FALSE(q.SentenciaFilasPorClave(3).isEmpty());
}

struct CasoConteoEmbebido
{
    const char* completa;
    ConsultaPaginada::Dialecto dialecto;
    const char* conteo;
};

class ConteoEmbebido : public ::testing::TestWithParam<CasoConteoEmbebido>
{
};

TEST_P(ConteoEmbebido, UnSelectSeCuentaConCount)
{
    ConsultaPaginada q;
    q.dialecto = GetParam().dialecto;
    EXPECT_EQ(q.SentenciaConteo(u8(GetParam().completa)), u8(GetParam().conteo));
}

INSTANTIATE_TEST_SUITE_P(
    SentenciaConteo, ConteoEmbebido,
    ::testing::Values(CasoConteoEmbebido{" SELECT * FROM T WHERE a = 1 ", kEmbebido,
                                         "SELECT COUNT(*) FROM ( SELECT * FROM T WHERE a = 1 ) AS Conteo"},
                      CasoConteoEmbebido{"select TOP 5 a from T order by a", kEmbebido,
                                         "SELECT COUNT(*) FROM (select TOP 5 a from T order by a) AS Conteo"},
                      CasoConteoEmbebido{" SELECT * FROM T ", kSqlServer, ""},
                      CasoConteoEmbebido{" SELECT * FROM T ", kOracle, ""},
                      CasoConteoEmbebido{" exec sp_lista 1 ", kEmbebido, ""},
                      CasoConteoEmbebido{" SELECT 1; SELECT 2 ", kEmbebido, ""},
                      CasoConteoEmbebido{" SELECT * FROM T -- las del día ", kEmbebido, ""},
                      CasoConteoEmbebido{" SELECT a FROM T\r\n  select b FROM U ", kEmbebido, ""},
                      CasoConteoEmbebido{" SELECT a\r\nFROM T\nWHERE b = 1 ", kEmbebido,
                                         "SELECT COUNT(*) FROM ( SELECT a\r\nFROM T\nWHERE b = 1 ) AS Conteo"},
                      CasoConteoEmbebido{" SELECTED FROM T ", kEmbebido, ""}),
    testing_support::NombrePorTexto<CasoConteoEmbebido>([](const CasoConteoEmbebido& c) { return c.completa; }));

TEST(Pagina, LaListaElegidaReemplazaALaDeLaPruebaYQuedaConBarras)
{
    ConsultaPaginada q = conSql(" SELECT * FROM T ");
    q.Campos = QStringLiteral("[ID], [a]");
    q.CamposSel = QStringLiteral("[a],[ID]");
    q.PageSize = 5;
    EXPECT_EQ(q.SentenciaPagina(1), QStringLiteral("SELECT  [a],[ID]  FROM (SELECT TOP 5 *  FROM T WHERE ID NOT IN "
                                                   "(SELECT TOP 0 ID FROM T   Order by ID )   Order by ID ) AS "
                                                   "Paginacion    Order by ID "));
    EXPECT_EQ(q.CamposSel, QStringLiteral("[a]|[ID]"));
    EXPECT_EQ(q.Campos, QStringLiteral("[ID], [a]"));
}

// The ordering clause after a sequence of clicks: (column heading, direction).
struct CasoOrden
{
    const char* sql;
    int order;
    std::vector<std::pair<const char*, int>> clics;
    const char* orderBy;
};

class Orden : public ::testing::TestWithParam<CasoOrden>
{
};

TEST_P(Orden, ClausulaDeOrden)
{
    const CasoOrden& c = GetParam();
    ConsultaPaginada q = conSql(c.sql);
    q.Order = c.order;
    q.Equias();
    int columna = 0;
    for (const auto& [titulo, sentido] : c.clics) {
        q.OrdenSent = sentido;
        q.ArmarOrden(++columna, u8(titulo));
    }
    EXPECT_EQ(q.OrderBy, u8(c.orderBy));
    EXPECT_EQ(q.ColumnaOrden, columna);
}

INSTANTIATE_TEST_SUITE_P(
    ArmarOrden, Orden,
    ::testing::Values(CasoOrden{" SELECT * FROM T ", 1, {{"A", 1}, {"B", 2}}, " Order by [B] Desc "},
                      CasoOrden{" SELECT * FROM T ", 2, {{"A", 1}, {"B", 2}}, " Order by [A] Asc , [B] Desc "},
                      CasoOrden{
                          " SELECT * FROM T ", 2, {{"A", 1}, {"B", 2}, {"A", 1}}, " Order by  [B] Desc , [A] Asc "},
                      CasoOrden{" SELECT costo as precio FROM T ", 1, {{"precio", 1}}, " Order by [costo] Asc "},
                      CasoOrden{" SELECT * FROM T ORDER BY a ", 1, {{"A", 1}, {"A", 0}}, " ORDER BY a "},
                      CasoOrden{" SELECT * FROM T ", 1, {{"A", 1}, {"A", 0}}, ""},
                      CasoOrden{" SELECT * FROM T ", 1, {{"A", 2}, {"B", 3}}, " Order by [A] Desc "},
                      CasoOrden{" SELECT * FROM T ", 1, {{"", 1}}, ""}),
    testing_support::NombrePorTexto<CasoOrden>([](const CasoOrden& c) { return c.sql; }));

} // namespace
