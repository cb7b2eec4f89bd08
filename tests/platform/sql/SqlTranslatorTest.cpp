#include "platform/core/Runtime.h"
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTranslator.h"
#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqliteExtensions.h"
#include "support/ParamName.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <sqlite3.h>

#include <memory>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using platform::db::DbError;
using platform::db::sqlite::SqlTranslator;
using platform::db::sqlite::TranslatedStep;

namespace {

// A raw SQLite data base with the extensions and a small fixture of the
// tables the program queries (texts with the SQL Server collation, date-times
// as text).
class SqlFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        ASSERT_EQ(platform::db::sqlite::registerSqlServerExtensions(m_db), SQLITE_OK);
        raw(R"(
CREATE TABLE V_MV_PreciosHis (ID INTEGER PRIMARY KEY, FechaHora DATETIME, IdArticulo VARCHAR(15) COLLATE SQLSERVER,
  idLista VARCHAR(4) COLLATE SQLSERVER, Costo REAL, Precio1 REAL, Precio2 REAL);
INSERT INTO V_MV_PreciosHis VALUES
 (1, '2024-03-10 09:00:00', '   1', '', 8, 10, 20),
 (2, '2024-03-10 10:15:00', '   1', '', 9, 11, 21),
 (3, '2024-03-10 10:15:30.500', '   2', NULL, 5, 6, 7),
 (4, '2024-03-10 10:15:59', '   1', '0001', 4, 5, 6),
 (5, '2024-03-10 10:16:00', '   2', '0001  ', 4, 5, 6),
 (6, '2024-03-10 10:14:59.999', '   3', '', 1, 2, 3);
CREATE TABLE V_MA_ARTICULOS (IDARTICULO VARCHAR(15) COLLATE SQLSERVER PRIMARY KEY, DESCRIPCION VARCHAR(50) COLLATE SQLSERVER,
  Costo REAL, Precio1 REAL, DESDETRIGGER INTEGER);
INSERT INTO V_MA_ARTICULOS VALUES ('   1', 'Yerba Mate', 9, 11, 0), ('   2', 'Azúcar', 5, 6, 0);
CREATE TABLE V_MA_PRECIOS (IDARTICULO VARCHAR(15) COLLATE SQLSERVER, idlista VARCHAR(4) COLLATE SQLSERVER, Costo REAL,
  Precio1 REAL, DESDETRIGGER INTEGER);
INSERT INTO V_MA_PRECIOS VALUES ('   1', '0001', 4, 5, 0);
CREATE TABLE TA_CONFIGURACION (GRUPO VARCHAR(20) COLLATE SQLSERVER, CLAVE VARCHAR(50) COLLATE SQLSERVER,
  VALOR VARCHAR(250) COLLATE SQLSERVER, VALORAUX VARCHAR(250) COLLATE SQLSERVER);
INSERT INTO TA_CONFIGURACION VALUES ('DATOS', 'THEME', '2', NULL), ('DATOS', 'CFondo', '16774118', 'x');
CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(30) COLLATE SQLSERVER, Password VARCHAR(50) COLLATE SQLSERVER,
  SISTEMA VARCHAR(10) COLLATE SQLSERVER);
INSERT INTO TA_USUARIOS VALUES ('Demo   ', 'abc', 'CP');
CREATE TABLE TA_CONFIG_FORM (FORMULARIO VARCHAR(100) COLLATE SQLSERVER, USUARIO VARCHAR(50) COLLATE SQLSERVER,
  TIPOOBJETO VARCHAR(50) COLLATE SQLSERVER, NOMBRE VARCHAR(50) COLLATE SQLSERVER, PROPIEDAD VARCHAR(50) COLLATE SQLSERVER,
  DATAFIELD VARCHAR(50) COLLATE SQLSERVER, VALOR TEXT COLLATE SQLSERVER);
CREATE TABLE VT_CLIENTES (CODIGO VARCHAR(10) COLLATE SQLSERVER, TELEFONO VARCHAR(30) COLLATE SQLSERVER,
  RAZON_SOCIAL VARCHAR(50) COLLATE SQLSERVER);
INSERT INTO VT_CLIENTES VALUES ('C1', '4455-6677', ' Perez SA '), ('C2', '12345', 'Corto'), ('C3', 'llamar', 'X'),
  ('C4', '(011) 4123-4567', '   '), ('C5', NULL, 'Nulo');
CREATE TABLE V_MV_CPTE (IDCOMPROBANTE VARCHAR(10) COLLATE SQLSERVER, TELEFONO VARCHAR(30) COLLATE SQLSERVER,
  NOMBRE VARCHAR(50) COLLATE SQLSERVER, CUENTA VARCHAR(10) COLLATE SQLSERVER);
INSERT INTO V_MV_CPTE VALUES ('F1', '155-123456', 'Gomez', '100'), ('F2', '155-999999', 'Otro', '200');
CREATE TABLE T (ID INTEGER PRIMARY KEY, a INTEGER);
CREATE TABLE Control_Acceso (id INTEGER PRIMARY KEY, Maquina VARCHAR(50) COLLATE SQLSERVER UNIQUE);
)");
        for (int i = 1; i <= 5000; ++i)
            raw(QStringLiteral("INSERT INTO T (ID, a) VALUES (%1, %2)").arg(i).arg(i % 2).toUtf8().constData());
        m_translator.setCatalog(platform::db::sqlite::readCatalog(m_db));
    }
    void TearDown() override { sqlite3_close_v2(m_db); }

    void raw(const char* sql)
    {
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
        ASSERT_EQ(rc, SQLITE_OK) << (message ? message : "") << "\n" << sql;
    }

    // Runs the translated steps; returns the rows of the last statement that
    // had rows, as tab-separated lines.
    QStringList run(const QString& tsql)
    {
        QStringList rows;
        runSteps(m_translator.translate(tsql), rows);
        return rows;
    }

    void runSteps(const std::vector<TranslatedStep>& steps, QStringList& rows)
    {
        for (const TranslatedStep& s : steps) {
            switch (s.kind) {
            case TranslatedStep::Kind::Begin:
                exec("BEGIN", rows);
                break;
            case TranslatedStep::Kind::Commit:
                exec("COMMIT", rows);
                break;
            case TranslatedStep::Kind::Rollback:
                exec("ROLLBACK", rows);
                break;
            case TranslatedStep::Kind::IfExists: {
                QStringList probe;
                exec(s.sql, probe);
                if (probe.isEmpty() == s.negate)
                    runSteps(s.body, rows);
                break;
            }
            case TranslatedStep::Kind::Statement:
                exec(s.sql, rows);
                break;
            case TranslatedStep::Kind::UseDatabase:
            case TranslatedStep::Kind::NoCountOn:
            case TranslatedStep::Kind::NoCountOff:
            case TranslatedStep::Kind::Truncate:
                break;
            }
        }
    }

    void exec(const QString& sql, QStringList& rows)
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in: " + utf8.toStdString());
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(st, sqlite3_finalize);
        QStringList result;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                cells << (sqlite3_column_type(st, c) == SQLITE_NULL ? QStringLiteral("NULL") : QString::fromUtf8(t));
            }
            result << cells.join(QLatin1Char('\t'));
        }
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in: " + utf8.toStdString());
        if (sqlite3_column_count(st) > 0)
            rows = result;
    }

    sqlite3* m_db = nullptr;
    SqlTranslator m_translator;
};

struct Case
{
    const char* name;
    const char* tsql;
    QStringList expected;
};

// Statements as the program builds them, blanks included, with their rows.
const Case kCases[] = {
    {"KeyedLookupTrimmed",
     "SELECT TOP 1  * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1'",
     {"   1\tYerba Mate\t9.0\t11.0\t0"}},
    {"KeyedLookupNotTrimmedMisses", "SELECT * FROM V_MA_ARTICULOS with(nolock)   WHERE IdArticulo ='1'", {}},
    {"DatosTablaWithCondition",
     "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1'  AND  idarticulo = '   1' "
     "and idlista = '0001'",
     {"   1\t0001\t4.0\t5.0\t0"}},
    {"MaximumAsMayor", "SELECT MAX(IDARTICULO) AS MAYOR FROM V_MA_ARTICULOS", {"   2"}},
    {"MinimumWithHint", "SELECT MIN(Costo) AS MENOR FROM V_MA_ARTICULOS  with(nolock) ", {"5.0"}},
    {"ChangeListCostClass",
     "SELECT DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, COUNT(*) AS CantidadRegistros, "
     "MIN(FechaHora) AS PrimeraHora, MAX(FechaHora) AS UltimaHora, MAX(Costo) AS Precio, MAX(Costo) AS Costo, idLista "
     "FROM V_MV_PreciosHis WHERE FechaHora BETWEEN '10/03/2024 10:00:00' AND '10/03/2024 10:16:59'  and idlista = "
     "'0001' GROUP BY DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0), idLista ORDER BY FechaGrupo DESC;",
     {"2024-03-10 10:16:00\t1\t2024-03-10 10:16:00\t2024-03-10 10:16:00\t4.0\t4.0\t0001  ",
      "2024-03-10 10:15:00\t1\t2024-03-10 10:15:59\t2024-03-10 10:15:59\t4.0\t4.0\t0001"}},
    {"HistoryQueryOfMaster",
     "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '10-03-2024 10:15:00.000' AND FechaHora <= '10-03-2024 "
     "10:15:59.999'  and (idlista = '' or idlista is null)  ",
     {"2\t2024-03-10 10:15:00\t   1\t\t9.0\t11.0\t21.0", "3\t2024-03-10 10:15:30.500\t   2\tNULL\t5.0\t6.0\t7.0"}},
    {"HistoryOfListMatchesPaddedCode",
     "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '10-03-2024 10:15:00.000' AND FechaHora <= '10-03-2024 "
     "10:16:00.999'  and idlista = '0001' ORDER BY FechaHora;",
     {"4\t2024-03-10 10:15:59\t   1\t0001\t4.0\t5.0\t6.0", "5\t2024-03-10 10:16:00\t   2\t0001  \t4.0\t5.0\t6.0"}},
    {"PreviousPriceCostClass",
     "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1'  and (idlista = '' or "
     "idlista is null)   AND FechaHora < '10-03-2024 10:15:00.000'ORDER BY FechaHora DESC;",
     {"8.0\t1\t2024-03-10 09:00:00\t   1\t\t8.0\t10.0\t20.0"}},
    {"PreviousPriceNumberedClass",
     "SELECT TOP 1  Precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '   1'  and idlista = '0001'   AND "
     "FechaHora < '10-03-2024 10:16:00.000'ORDER BY FechaHora DESC;",
     {"5.0\t4\t2024-03-10 10:15:59\t   1\t0001\t4.0\t5.0\t6.0"}},
    {"ConfigurationRead",
     "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'theme'",
     {"2\tNULL"}},
    {"ConfigurationCacheLoad",
     "SELECT CLAVE, GRUPO, CASE WHEN DATALENGTH(VALOR) > 8000 THEN NULL ELSE VALOR END AS VALOR, CASE WHEN "
     "DATALENGTH(VALORAUX) > 8000 THEN NULL ELSE VALORAUX END AS VALORAUX, CASE WHEN DATALENGTH(VALOR) > 8000 OR "
     "DATALENGTH(VALORAUX) > 8000 THEN 1 ELSE 0 END AS Excedido, DATALENGTH(VALOR) AS BytesValor, "
     "DATALENGTH(VALORAUX) AS BytesValorAux FROM TA_CONFIGURACION with(nolock)",
     {"THEME\tDATOS\t2\tNULL\t0\t1\tNULL", "CFondo\tDATOS\t16774118\tx\t0\t8\t1"}},
    {"LoginRead", "Select * from ta_usuarios  with(nolock)  where Nombre = 'demo'", {"Demo   \tabc\tCP"}},
    {"LoginCheck",
     "SELECT * FROM TA_USUARIOS WHERE NOMBRE = 'DEMO' AND (SISTEMA = 'XX' OR SISTEMA = 'cp')",
     {"Demo   \tabc\tCP"}},
    {"TelephonesDerivedTable",
     "SELECT CODIGO, TELEFONO FROM (SELECT CODIGO, (TELEFONO + ISNULL(' - ' + NULLIF(LTRIM(RTRIM(RAZON_SOCIAL)), ''), "
     "'')) AS TELEFONO FROM VT_CLIENTES WHERE TELEFONO IS NOT NULL AND TELEFONO NOT LIKE '%[a-zA-Z]%' AND "
     "(LEN(TELEFONO) - "
     "LEN(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(TELEFONO,'0',''),'1',''),'2',"
     "''),'3',''),'4',''),'5',''),'6',''),'7',''),'8',''),'9',''))) >= 6 UNION SELECT DISTINCT IDCOMPROBANTE AS "
     "CODIGO, (TELEFONO + ISNULL(' - ' + NULLIF(LTRIM(RTRIM(NOMBRE)), ''), '')) AS TELEFONO FROM V_MV_CPTE WHERE "
     "CUENTA = '100' AND TELEFONO IS NOT NULL AND TELEFONO NOT LIKE '%[a-zA-Z]%' AND (LEN(TELEFONO) - "
     "LEN(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(TELEFONO,'0',''),'1',''),'2',"
     "''),'3',''),'4',''),'5',''),'6',''),'7',''),'8',''),'9',''))) >= 6) AS X ORDER BY CODIGO",
     {"C1\t4455-6677 - Perez SA", "C4\t(011) 4123-4567", "F1\t155-123456 - Gomez"}},
    {"LookUpTop100",
     "select top 100 DESCRIPCION, v_ma_articulos.IDarticulo from v_ma_articulos inner join "
     "v_ma_precios on v_ma_articulos.idarticulo = v_ma_precios.idarticulo and idlista = '0001'   where "
     "(v_ma_articulos.idarticulo like '%1%' or Descripcion like '%yerba%')   order by DESCRIPCION ",
     {"Yerba Mate\t   1"}},
    {"GridCount", "SELECT COUNT(*) FROM ( SELECT * FROM T WHERE a = 1 ) AS C", {"2500"}},
};

class CorpusTest : public SqlFixture, public ::testing::WithParamInterface<Case>
{
};

TEST_P(CorpusTest, GivesSqlServersRows)
{
    EXPECT_EQ(run(QString::fromUtf8(GetParam().tsql)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Statements, CorpusTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(SqlFixture, GridPageStatementOfTheWorkedExample)
{
    const QString page = QStringLiteral(
        "SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE ID NOT IN (SELECT TOP 2000 ID FROM T WHERE a = 1  )  "
        "and a = 1  ) AS Paginacion  WHERE a = 1  ");
    const QStringList rows = run(page);
    ASSERT_EQ(rows.size(), 500); // 2500 rows with a = 1; the first 2000 were page 1
    EXPECT_EQ(rows.front(), QStringLiteral("4001\t1"));
    EXPECT_EQ(rows.back(), QStringLiteral("4999\t1"));
}

TEST_F(SqlFixture, GetDateReadsTheInjectedClock)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
    EXPECT_EQ(run(QStringLiteral("select  getDate() as fecha")), QStringList{QStringLiteral("2024-05-06 07:08:09")});
}

TEST_F(SqlFixture, LayoutIsDeletedAndInsertedOnce)
{
    const QString key =
        QStringLiteral("FORMULARIO = 'CorrigePrecios     ' AND USUARIO= 'sa   ' and Nombre = '@BKDBGRID   '");
    const QString insert = QStringLiteral(
        "INSERT INTO TA_CONFIG_FORM (FORMULARIO,USUARIO,TIPOOBJETO,NOMBRE,PROPIEDAD,DATAFIELD,VALOR) VALUES "
        "('CorrigePrecios     ','sa   ','@BkDbGrid','@BKDBGRID   ','CamposSel','@BkDbGrid',"
        "'[Codigo]|[Precio]|CONVERT(NVARCHAR|[Fecha]|103)AS[Fecha]|ID')");
    for (int i = 0; i < 2; ++i) {
        run(QStringLiteral("DELETE TA_CONFIG_FORM WHERE ") + key);
        run(insert);
    }
    EXPECT_EQ(run(QStringLiteral("SELECT * FROM TA_CONFIG_FORM WHERE FORMULARIO = 'CorrigePrecios' AND USUARIO= 'SA' "
                                 "and Nombre = '@BkDbGrid'"))
                  .size(),
              1);
}

TEST_F(SqlFixture, CorrectionUpdatesWriteMasterAndList)
{
    run(QStringLiteral("UPDATE  V_MA_ARTICULOS SET Precio1 = '10.50', DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1'"));
    run(QStringLiteral("UPDATE  V_MA_PRECIOS SET Precio1 = 4.25, DESDETRIGGER = 1 WHERE IDARTICULO = '   1' and "
                       "idlista = '0001'"));
    EXPECT_EQ(run(QStringLiteral("SELECT Precio1, DESDETRIGGER FROM V_MA_ARTICULOS WHERE IDARTICULO = '   1'")),
              QStringList{QStringLiteral("10.5\t1")});
    EXPECT_EQ(run(QStringLiteral("SELECT Precio1, DESDETRIGGER FROM V_MA_PRECIOS")),
              QStringList{QStringLiteral("4.25\t1")});
}

TEST_F(SqlFixture, TransactionBatchCommitsOrRollsBack)
{
    const QString batch = QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso (Maquina) VALUES ('pc1')\r"
                                         "INSERT INTO Control_Acceso (Maquina) VALUES ('pc2')\r");
    const auto steps = m_translator.translate(batch);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, TranslatedStep::Kind::Begin);
    run(batch);
    run(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(run(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")), QStringList{QStringLiteral("0")});
    run(batch);
    run(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_EQ(run(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")), QStringList{QStringLiteral("2")});
}

TEST_F(SqlFixture, IfNotExistsRunsItsStatementOnlyWhenNoRow)
{
    const QString sql = QStringLiteral("IF NOT EXISTS (SELECT * FROM Control_Acceso WHERE Maquina = 'PC9')\r\n"
                                       "INSERT INTO Control_Acceso (Maquina) VALUES ('pc9')");
    run(sql);
    run(sql);
    EXPECT_EQ(run(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")), QStringList{QStringLiteral("1")});
}

TEST_F(SqlFixture, AlterTableAddsAColumnWithItsDefault)
{
    run(QStringLiteral("ALTER TABLE dbo.TA_USUARIOS ADD IdVendedor varchar(4) Not Null  CONSTRAINT DF_TA_USUARIOS_"
                       "IdVendedor DEFAULT ('')"));
    EXPECT_EQ(run(QStringLiteral("SELECT NOMBRE FROM TA_USUARIOS WHERE IdVendedor = '   '")),
              QStringList{QStringLiteral("Demo   ")});
    EXPECT_THROW(run(QStringLiteral("UPDATE TA_USUARIOS SET IdVendedor = 'abcde'")), std::runtime_error);
}

TEST_F(SqlFixture, ViewsAreCreatedAndDropped)
{
    run(QStringLiteral("CREATE VIEW [dbo].[SS_V_TA_CAJAS] AS SELECT TOP 1 * FROM V_MA_ARTICULOS ORDER BY IDARTICULO"));
    EXPECT_EQ(run(QStringLiteral("SELECT COUNT(*) FROM SS_V_TA_CAJAS")), QStringList{QStringLiteral("1")});
    run(QStringLiteral("DROP VIEW SS_V_TA_CAJAS"));
    EXPECT_THROW(run(QStringLiteral("SELECT * FROM SS_V_TA_CAJAS")), std::runtime_error);
}

struct ExprCase
{
    const char* expression;
    const char* expected;
};

// Single expressions with SQL Server's results.
const ExprCase kExpressions[] = {
    {"DATEADD(MINUTE, DATEDIFF(MINUTE, 0, '10/03/2024 10:15:42'), 0)", "2024-03-10 10:15:00"},
    {"DATEDIFF(day, 0, '1900-01-02')", "1"},
    {"DATEDIFF(yy, '31/12/2023 23:59:59', '01/01/2024')", "1"},
    {"DATEDIFF(wk, '2024-03-09', '2024-03-10')", "1"}, // Saturday to Sunday crosses a week
    {"DATEDIFF(ms, '2024-03-10 10:00:00', '2024-03-10 10:00:01.250')", "1250"},
    {"DATEADD(month, 1, '31/01/2024')", "2024-02-29 00:00:00"},
    {"DATEADD(dd, -1, '20240301')", "2024-02-29 00:00:00"},
    {"DATEADD(ss, 1, '2024-03-10 23:59:59')", "2024-03-11 00:00:00"},
    {"CONVERT(NVARCHAR, CONVERT(datetime, '2024-03-10 10:15:30'), 103)", "10/03/2024"},
    {"CONVERT(NVARCHAR(10), CONVERT(datetime, '10-03-2024 10:15:30.000'), 108)", "10:15:30"},
    {"CONVERT(varchar, CAST('10/03/2024 10:15:30' AS datetime), 105)", "10-03-2024"},
    {"CONVERT(varchar(8), DATEADD(day, 0, '20240310 10:15:30'), 112)", "20240310"},
    {"CONVERT(varchar, CONVERT(datetime, '2024-03-10 10:15:30.250'), 121)", "2024-03-10 10:15:30.250"},
    {"CONVERT(varchar, CONVERT(datetime, '15/04/24 10:00'))", "Apr 15 2024 10:00AM"},
    // A text keeps its characters whatever the style.
    {"CONVERT(NVARCHAR, '2024-03-10 10:15:30', 103)", "2024-03-10 10:15:30"},
    {"CONVERT(varchar(8), '2024-03-10 10:15:30', 112)", "2024-03-"},
    {"CONVERT(decimal(14,2), 2.675)", "2.68"},
    {"CONVERT(decimal(14,2), -2.665)", "-2.67"},
    {"CONVERT(Decimal(14,2), '10.005')", "10.01"},
    {"CAST(10.4 AS int)", "10"},
    {"CONVERT(INT, ' 42 ')", "42"},
    {"ISNULL(NULL, 'x')", "x"},
    {"NULLIF('', '')", "NULL"},
    {"LEN('ab  ')", "2"},
    {"LEN(N'añá ')", "3"},
    {"DATALENGTH('ab  ')", "4"},
    {"LTRIM('  a ') + '|'", "a |"},
    {"SUBSTRING('abcdef', 0, 3)", "ab"},
    {"substring(ltrim('  0123'),1,1)", "0"},
    {"LEFT('abc', 2) + RIGHT('abc', 2)", "abbc"},
    {"CHARINDEX('C', 'abcabc', 4)", "6"},
    {"REPLACE('Abc abc', 'ABC', 'x')", "x x"},
    {"UPPER(N'ñandú')", "ÑANDÚ"},
    {"'a' + 'b' + CONVERT(NVARCHAR, 5)", "ab5"},
    {"1 + 2 * 3", "7"},
    {"'12' + 1", "13"},
    {"CASE WHEN 'abc  ' = 'ABC' THEN 1 ELSE 0 END", "1"},
    {"CASE WHEN 'Ab1' LIKE '[a-c]_[0-9]' THEN 1 ELSE 0 END", "1"},
    {"CASE WHEN 'x' LIKE '[^a-c]' THEN 1 ELSE 0 END", "1"},
    {"CASE WHEN '12-34' NOT LIKE '%[a-zA-Z]%' THEN 1 ELSE 0 END", "1"},
    {"CASE WHEN '50%' LIKE '50[%]' THEN 1 ELSE 0 END", "1"},
    // Two texts compare as texts, dates or not.
    {"CASE WHEN '10/03/2024 10:15:59.999' > '2024-03-10 10:15:59' THEN 1 ELSE 0 END", "0"},
    {"CASE WHEN CONVERT(datetime, '10/03/2024 10:15:59.999') > '2024-03-10 10:15:59' THEN 1 ELSE 0 END", "1"},
};

class ExpressionTest : public SqlFixture, public ::testing::WithParamInterface<ExprCase>
{
};

TEST_P(ExpressionTest, HasSqlServersValue)
{
    EXPECT_EQ(run(QStringLiteral("SELECT ") + QString::fromUtf8(GetParam().expression)),
              QStringList{QString::fromUtf8(GetParam().expected)});
}

INSTANTIATE_TEST_SUITE_P(Expressions, ExpressionTest, ::testing::ValuesIn(kExpressions),
                         testing_support::NombrePorTexto<ExprCase>([](const ExprCase& c) { return c.expression; }));

TEST_F(SqlFixture, ColumnPlusColumnDecidesAtRunTime)
{
    EXPECT_EQ(run(QStringLiteral("SELECT IDARTICULO + DESCRIPCION, Costo + Precio1 FROM V_MA_ARTICULOS WHERE "
                                 "IDARTICULO = '1   ' OR IDARTICULO = '   1'")),
              QStringList{QStringLiteral("   1Yerba Mate\t20.0")});
}

TEST_F(SqlFixture, ErrorsOfConversionsAreRaised)
{
    EXPECT_THROW(run(QStringLiteral("SELECT CONVERT(INT, 'abc')")), std::runtime_error);
    EXPECT_THROW(run(QStringLiteral("SELECT CONVERT(decimal(4,2), 123.4)")), std::runtime_error);
    EXPECT_THROW(run(QStringLiteral("SELECT DATEADD(fortnight, 1, GETDATE())")), std::runtime_error);
}

struct RefusedCase
{
    const char* tsql;
    const char* construct; // the description names it
};

const RefusedCase kRefused[] = {
    {"SELECT * FROM T WHERE a = 'open", "Unclosed quotation mark"},
    {"exec sp_who", "EXEC"},
    {"SELECT TOP 10 PERCENT * FROM T", "PERCENT"},
    {"SELECT TOP 1 a FROM T UNION SELECT a FROM T", "UNION"},
    {"SELECT * INTO X FROM T", "SELECT ... INTO"},
    {"UPDATE T SET a = 1 FROM T INNER JOIN U ON T.ID = U.ID", "UPDATE ... FROM"},
    {"SELECT * FROM T WHERE a = @a", "@a"},
    {"SELECT TOP 1 * FROM T with(nolock)  WHERE ID = #01/02/2024# ", "#"},
    {"IF EXISTS (SELECT 1) SELECT 1 ELSE SELECT 2", "ELSE"},
    {"SELECT CONVERT(uniqueidentifier, 'x')", "uniqueidentifier"},
    {"SELECT * FROM T WHERE (a = 1", "not closed"},
};

class RefusedTest : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedTest, FailsWithASyntaxErrorNamingTheConstruct)
{
    SqlTranslator translator;
    try {
        translator.translate(QString::fromUtf8(GetParam().tsql));
        FAIL() << "translated: " << GetParam().tsql;
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::db::adErr::Syntax);
        EXPECT_TRUE(e.info().Description.contains(QString::fromUtf8(GetParam().construct), Qt::CaseInsensitive))
            << e.info().Description.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Constructs, RefusedTest, ::testing::ValuesIn(kRefused),
                         testing_support::NombrePorTexto<RefusedCase>([](const RefusedCase& c) { return c.tsql; }));

TEST(SqlTranslatorTest, SplitsBatchesAtSemicolonsAndLineBreaksBeforeStatements)
{
    SqlTranslator translator;
    const auto steps = translator.translate(QStringLiteral(
        "UPDATE T\r\nSET a = 1; DELETE T WHERE a = 2\r\nINSERT INTO T (a)\r\nSELECT a FROM T\nSET NOCOUNT ON"));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].sql, QStringLiteral("UPDATE T SET a = 1"));
    EXPECT_EQ(steps[1].sql, QStringLiteral("DELETE FROM T WHERE a = 2"));
    EXPECT_EQ(steps[2].sql, QStringLiteral("INSERT INTO T (a) SELECT a FROM T"));
    EXPECT_EQ(steps[3].kind, TranslatedStep::Kind::NoCountOn);
}

// What a batch's steps are: each statement's SQLite text, and "SET NOCOUNT
// ON" / "IF EXISTS" for those steps.
QStringList stepTexts(const std::vector<TranslatedStep>& steps)
{
    QStringList out;
    for (const TranslatedStep& step : steps) {
        switch (step.kind) {
        case TranslatedStep::Kind::NoCountOn:
            out << QStringLiteral("SET NOCOUNT ON");
            break;
        case TranslatedStep::Kind::IfExists:
            out << QStringLiteral("IF EXISTS") << stepTexts(step.body);
            break;
        case TranslatedStep::Kind::Begin:
            out << QStringLiteral("BEGIN");
            break;
        default:
            out << step.sql;
        }
    }
    return out;
}

TEST(SqlTranslatorTest, SplitsABatchWithoutSeparatorsWhereSqlServerDoes)
{
    struct BatchCase
    {
        const char* batch;
        QStringList steps;
    };
    const BatchCase cases[] = {
        {"SET NOCOUNT ON UPDATE T SET a = 1 WHERE ID = 2 SELECT a FROM T",
         {"SET NOCOUNT ON", "UPDATE T SET a = 1 WHERE ID = 2", "SELECT a FROM T"}},
        {"IF EXISTS (SELECT 1 FROM T) UPDATE T SET a = 1 SELECT a FROM T",
         {"IF EXISTS", "UPDATE T SET a = 1", "SELECT a FROM T"}},
        {"INSERT INTO T (a) SELECT a FROM T UNION ALL SELECT 2 SELECT COUNT(*) FROM T",
         {"INSERT INTO T (a) SELECT a FROM T UNION ALL SELECT 2", "SELECT COUNT(*) AS \"\" FROM T"}},
        {"INSERT INTO T (a) VALUES (1) DELETE T WHERE a = 1",
         {"INSERT INTO T (a) VALUES (1)", "DELETE FROM T WHERE a = 1"}},
        {"BEGIN TRANSACTION INSERT INTO T (a) VALUES (1)", {"BEGIN", "INSERT INTO T (a) VALUES (1)"}},
        {"WITH c AS (SELECT a FROM T) SELECT a FROM c", {"WITH c AS (SELECT a FROM T) SELECT a FROM c"}},
        {"CREATE VIEW V AS SELECT a FROM T", {"CREATE VIEW V AS SELECT a FROM T"}},
        // GO is no reserved word: on the line of a statement it is a name.
        {"SELECT a GO FROM T", {"SELECT a GO FROM T"}},
    };
    for (const BatchCase& c : cases) {
        SqlTranslator translator;
        EXPECT_EQ(stepTexts(translator.translate(QString::fromUtf8(c.batch))), c.steps) << c.batch;
    }
}

TEST(SqlTranslatorTest, DropsHintsOwnersAndTranslatesLiterals)
{
    SqlTranslator translator;
    platform::db::sqlite::SqlCatalog catalog;
    catalog.addTable(QStringLiteral("ta_usuarios"),
                     {{QStringLiteral("Nombre"), platform::db::sqlite::ColumnKind::Text},
                      {QStringLiteral("F"), platform::db::sqlite::ColumnKind::DateTime}});
    translator.setCatalog(catalog);
    const auto steps = translator.translate(
        QStringLiteral("SELECT TOP 1 [Nombre] FROM [dbo].[TA_USUARIOS] (nolock) WHERE Nombre = N'x' AND F < "
                       "'10-03-2024 10:15:00.000' ORDER BY F DESC"));
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].sql,
              QStringLiteral("SELECT \"Nombre\" FROM \"TA_USUARIOS\" WHERE Nombre = 'x' COLLATE SQLSERVER "
                             "AND F < '2024-03-10 10:15:00' ORDER BY F DESC LIMIT 1"));
}

TEST(SqlTranslatorTest, AQuotedNameWithADoubledMarkIsOneName)
{
    SqlTranslator translator;
    const auto steps = translator.translate(QStringLiteral(R"(SELECT "v""x", [a]]b] AS "c""d" FROM [t]]1])"));
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].sql, QStringLiteral(R"(SELECT "v""x", "a]b" AS "c""d" FROM "t]1")"));
}

TEST(SqlTranslatorTest, CachedTranslationIsTheSame)
{
    SqlTranslator translator;
    const QString sql = QStringLiteral("SELECT TOP 5 * FROM T");
    const auto first = translator.translate(sql);
    const auto second = translator.translate(sql);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].sql, second[0].sql);
    EXPECT_EQ(first[0].sql, SqlTranslator::translateUncached(sql)[0].sql);
}

} // namespace
