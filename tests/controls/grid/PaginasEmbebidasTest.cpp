// On the embedded engine the pages reached by key hold the very rows that the
// server's NOT IN statement gives: first, middle and last pages, from the
// start and from the end, with and without an order of the user, with a
// search, with repeated and missing key values. Run on a real embedded data
// base, without widgets.
#include "controls/grid/ConsultaPaginada.h"
#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include "GridPrueba.h"

#include <gtest/gtest.h>

namespace {

using controls::ConsultaPaginada;

// T: a unique key with gaps, a column with repeated values and one with
// unique ones. R: a key that repeats. D: a key that repeats and is sometimes
// Null (NOT IN then leaves no row after the first page).
const char* const kDatos =
    "CREATE TABLE T (ID integer PRIMARY KEY, a integer, b text, c integer);"
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 53)"
    " INSERT INTO T (ID, a, b, c) SELECT 3 * x + x % 2, x % 7, 'f' || x, (x * 37) % 53 FROM n;"
    "CREATE TABLE R (ID integer, a integer, b text);"
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 40)"
    " INSERT INTO R (ID, a, b) SELECT (x * 7) % 13, x % 3, 'r' || x FROM n;"
    "CREATE TABLE D (ID integer, a integer, b text);"
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 40)"
    " INSERT INTO D (ID, a, b) SELECT CASE WHEN x % 17 = 0 THEN NULL ELSE (x * 7) % 13 END, x % 3, 'd' || x FROM n;";

QStringList filas(platform::db::Connection& cnn, const QString& sentencia)
{
    QStringList out;
    auto rs = cnn.Execute(sentencia);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            fila << rs->value(i).toText();
        }
        out << fila.join(u'|');
    }
    return out;
}

int64_t contar(platform::db::Connection& cnn, const QString& sentencia)
{
    return cnn.Execute(sentencia)->value(0).toInteger().value_or(-1);
}

struct CasoPaginas
{
    const char* nombre;
    const char* sql;
    const char* campos;
    const char* orderBy;
    const char* filtro;
    int pageSize;
    // The pages together hold every row once (a unique key); in this order
    // when it is not empty (the key or a unique order of the user).
    bool cadaFilaUnaVez;
    const char* ordenCompleto;
};

class PaginasEmbebidas : public ::testing::TestWithParam<CasoPaginas>
{
protected:
    // The grid's state for the case as a load leaves it, on `dialecto`.
    static ConsultaPaginada consulta(const CasoPaginas& c, ConsultaPaginada::Dialecto dialecto, int64_t total)
    {
        ConsultaPaginada q;
        q.sql = QStringLiteral(" ") + QString::fromUtf8(c.sql);
        q.PrepararCarga();
        q.Equias();
        q.Campos = QString::fromUtf8(c.campos);
        q.OrderBy = QString::fromUtf8(c.orderBy);
        q.FiltroBusqueda = QString::fromUtf8(c.filtro);
        q.PageSize = c.pageSize;
        q.dialecto = dialecto;
        q.FijarTotal(total);
        q.ArmarPaginas();
        q.ArmarWhere();
        return q;
    }
};

TEST_P(PaginasEmbebidas, LasMismasFilasQueConNotIn)
{
    const CasoPaginas& c = GetParam();
    testing_support::EmbeddedFixture servidor;
    servidor.createDatabase(QStringLiteral("PAGINAS"), QString::fromUtf8(kDatos));
    auto cnn = servidor.open(QStringLiteral("PAGINAS"));

    ConsultaPaginada sistema = consulta(c, ConsultaPaginada::Dialecto::SqlServer, 0);
    const int64_t total =
        contar(*cnn, QStringLiteral("SELECT COUNT(*) FROM (") + sistema.SentenciaCompleta() + QStringLiteral(") AS x"));
    sistema.FijarTotal(total);
    sistema.ArmarPaginas();
    const int paginas = sistema.UltimaPagina;
    ASSERT_GE(paginas, 3);
    std::vector<QStringList> esperadas;
    QStringList todas;
    // One page past the last too: empty.
    for (int p = 1; p <= paginas + 1; ++p) {
        esperadas.push_back(filas(*cnn, sistema.SentenciaPagina(p)));
        todas << esperadas.back();
    }
    EXPECT_TRUE(esperadas.back().isEmpty());

    // Every page reached from the start, then the later half from the end.
    for (const bool desdeElFin : {false, true}) {
        ConsultaPaginada embebida = consulta(c, ConsultaPaginada::Dialecto::Embebido, desdeElFin ? total : 0);
        const bool porClave = !*c.orderBy;
        EXPECT_EQ(embebida.PaginaPorClave(), porClave);
        for (int p = 1; p <= paginas + 1; ++p) {
            if (const QString conteo = embebida.SentenciaFilasPorClave(p); desdeElFin && !conteo.isEmpty()) {
                embebida.FijarFilasPorClave(contar(*cnn, conteo));
            }
            const QString sentencia = embebida.SentenciaPagina(p);
            EXPECT_EQ(filas(*cnn, sentencia), esperadas[std::size_t(p - 1)])
                << "page " << p << (desdeElFin ? " from the end: " : ": ") << sentencia.toStdString();
            const int64_t S = int64_t(p - 1) * c.pageSize;
            EXPECT_EQ(sentencia.contains(QStringLiteral("Desc OFFSET")),
                      porClave && desdeElFin && total >= S && total - S < S)
                << sentencia.toStdString();
        }
    }

    // The pages together hold every row once, in their order.
    const QString lista = QString::fromUtf8(c.campos);
    const QString todasLasFilas = QStringLiteral("SELECT ") + lista + QStringLiteral(" FROM (") +
                                  sistema.SentenciaCompleta() + QStringLiteral(") AS x WHERE ") +
                                  (*c.filtro ? QString::fromUtf8(c.filtro) : QStringLiteral("1 = 1"));
    if (*c.ordenCompleto) {
        EXPECT_EQ(todas,
                  filas(*cnn, todasLasFilas + QStringLiteral(" ORDER BY ") + QString::fromUtf8(c.ordenCompleto)));
    } else if (c.cadaFilaUnaVez) {
        QStringList esperadasTodas = filas(*cnn, todasLasFilas);
        esperadasTodas.sort();
        todas.sort();
        EXPECT_EQ(todas, esperadasTodas);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ConsultaPaginada, PaginasEmbebidas,
    ::testing::Values(
        CasoPaginas{"Clave", "SELECT * FROM T", "[ID], [a], [b]", "", "", 10, true, "ID"},
        CasoPaginas{"ClaveConWhere", "SELECT * FROM T WHERE a <> 3", "[ID], [a], [b]", "", "", 7, true, "ID"},
        CasoPaginas{"ClaveConBusqueda", "SELECT * FROM T", "[ID], [a], [b]", "", " (CONVERT(NVARCHAR,[b]) LIKE '%1%') ",
                    4, true, "ID"},
        CasoPaginas{"OrdenDelUsuario", "SELECT * FROM T", "[ID], [c], [b]", " Order by [c] Desc ", "", 10, true,
                    "c DESC"},
        CasoPaginas{"OrdenDelUsuarioConEmpates", "SELECT * FROM T", "[ID], [a]", " Order by [a] Asc ", "", 10, true,
                    ""},
        CasoPaginas{"ClaveRepetida", "SELECT * FROM R", "[ID], [a], [b]", "", "", 4, false, ""},
        CasoPaginas{"ClaveRepetidaConWhere", "SELECT * FROM R WHERE a > 0", "[ID], [a], [b]", "", "", 3, false, ""},
        CasoPaginas{"ClaveRepetidaYNula", "SELECT * FROM D", "[ID], [a], [b]", "", "", 4, false, ""}),
    [](const ::testing::TestParamInfo<CasoPaginas>& caso) { return std::string(caso.param.nombre); });

} // namespace
