// The ODBC backend against a real ODBC driver: the SQLite ODBC driver on a
// data base file that each test builds.
#include "platform/db/odbc/OdbcBackend.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

using namespace platform;
using namespace platform::db;

namespace {

const QString kDriver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");

class OdbcSqlite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kDriver)) {
            GTEST_SKIP() << "the SQLite ODBC driver is not installed";
        }
        m_file = QDir(testing_support::testFolder()).filePath(QStringLiteral("odbc.db"));
        m_backend = openBackend(QStringLiteral("Driver=%1;Database=%2").arg(kDriver, m_file));
        run("CREATE TABLE articulos (id INTEGER PRIMARY KEY, codigo VARCHAR(20) NOT NULL, descripcion NVARCHAR(60), "
            "precio DECIMAL(18,4), peso DOUBLE, activo BIT, alta DATETIME, cantidad SMALLINT, foto BLOB)");
        run("INSERT INTO articulos VALUES (1, '0001', 'Café Ñandú', 1234.5678, 1.25, 1, '2024-03-05 10:20:30.125', "
            "7, X'00FF10')");
        run("INSERT INTO articulos VALUES (2, '0002', NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
        run("INSERT INTO articulos VALUES (3, '0003', 'Azúcar', 0.5, 2, 0, '2023-12-31 23:59:59', 1, NULL)");
        run("CREATE TABLE sin_clave (codigo VARCHAR(10), valor INTEGER)");
        run("INSERT INTO sin_clave VALUES ('a', 1)");
    }

    std::unique_ptr<Backend> openBackend(const QString& text)
    {
        OpenParams params;
        params.connectionString = text;
        params.parsed = ConnectionString::parse(text);
        auto backend = odbc::createOdbcBackend(params.parsed);
        std::vector<ErrorInfo> errors;
        backend->open(params, errors);
        EXPECT_TRUE(errors.empty());
        return backend;
    }

    ResultSet run(const char* sql)
    {
        m_errors.clear();
        return m_backend->execute(QString::fromUtf8(sql), m_errors);
    }

    // The error a statement raises, with the entries it left in Errors.
    ErrorInfo failure(const char* sql)
    {
        try {
            run(sql);
        } catch (const DbError& e) {
            return e.info();
        }
        ADD_FAILURE() << "no error for: " << sql;
        return {};
    }

    int64_t count(const char* table)
    {
        const ResultSet r = run(QByteArray("SELECT COUNT(*) FROM ").append(table).constData());
        return r.rows.at(0).at(0).toInteger().value_or(-1);
    }

    QString m_file;
    std::unique_ptr<Backend> m_backend;
    std::vector<ErrorInfo> m_errors;
};

TEST_F(OdbcSqlite, QueryGivesAdoTypesAndValues)
{
    const ResultSet r = run("SELECT id, codigo, descripcion, precio, peso, activo, alta, cantidad, foto "
                            "FROM articulos ORDER BY id");
    ASSERT_TRUE(r.hasRows);
    ASSERT_EQ(r.rows.size(), 3u);
    // The types as this driver describes its declared types.
    const std::vector<std::pair<const char*, DataTypeEnum>> expected{
        {"id", adInteger},       {"codigo", adVarChar},    {"descripcion", adVarChar},
        {"precio", adVarChar},   {"peso", adDouble},       {"activo", adBoolean},
        {"alta", adDBTimeStamp}, {"cantidad", adSmallInt}, {"foto", adBinary},
    };
    ASSERT_EQ(r.columns.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.columns[i].name, QString::fromLatin1(expected[i].first));
        EXPECT_EQ(r.columns[i].type, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(r.columns[1].definedSize, 20);

    const auto& first = r.rows[0];
    EXPECT_EQ(first[0], Variant(1));
    EXPECT_EQ(first[1], Variant("0001"));
    EXPECT_EQ(first[2], Variant(u"Café Ñandú"));
    EXPECT_EQ(first[3], Variant("1234.5678"));
    EXPECT_EQ(first[4], Variant(1.25));
    EXPECT_EQ(first[5], Variant(true));
    EXPECT_EQ(first[6], Variant(DateTime(QDate(2024, 3, 5), QTime(10, 20, 30, 125))));
    EXPECT_EQ(first[7], Variant(7));
    EXPECT_EQ(first[8], Variant(QByteArray("\x00\xff\x10", 3)));
    EXPECT_EQ(r.rows[2][5], Variant(false));
}

TEST_F(OdbcSqlite, EveryDescribedTypeGetsItsCode)
{
    run("CREATE TABLE tipos (a BIGINT, b TINYINT, c REAL, d DATE, e TEXT, f VARBINARY(10), g LONGVARBINARY, "
        "h CHAR(4), i TIMESTAMP)");
    run("INSERT INTO tipos VALUES (9007199254740993, 200, 0.5, '2024-02-29', 'largo', X'01', X'0203', 'ab', "
        "'2024-02-29 08:00:00')");
    const ResultSet r = run("SELECT a, b, c, d, e, f, g, h, i FROM tipos");
    const DataTypeEnum expected[] = {adBigInt,    adTinyInt,       adDouble,  adDBTimeStamp, adLongVarChar,
                                     adVarBinary, adLongVarBinary, adVarChar, adDBTimeStamp};
    ASSERT_EQ(r.columns.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(r.columns[i].type, expected[i]) << r.columns[i].name.toStdString();
    }
    const auto& row = r.rows.at(0);
    EXPECT_EQ(row[0], Variant(int64_t(9007199254740993)));
    EXPECT_EQ(row[1], Variant(200));
    EXPECT_EQ(row[2], Variant(0.5));
    EXPECT_EQ(row[3], Variant(DateTime(QDate(2024, 2, 29))));
    EXPECT_EQ(row[4], Variant("largo"));
    EXPECT_EQ(row[6], Variant(QByteArray("\x02\x03", 2)));
    EXPECT_EQ(row[8], Variant(DateTime(QDate(2024, 2, 29), QTime(8, 0))));
}

TEST_F(OdbcSqlite, NullsStayApartFromValues)
{
    const ResultSet r =
        run("SELECT descripcion, precio, peso, activo, alta, cantidad, foto FROM articulos WHERE id = 2");
    ASSERT_EQ(r.rows.size(), 1u);
    for (std::size_t i = 0; i < r.columns.size(); ++i) {
        EXPECT_TRUE(r.rows[0][i].isNull()) << r.columns[i].name.toStdString();
    }
    const ResultSet blank = run("SELECT '' AS vacio");
    EXPECT_EQ(blank.rows.at(0).at(0), Variant(""));
}

TEST_F(OdbcSqlite, LongTextArrivesWhole)
{
    const QString longText = QString(QChar(0xF1)).repeated(9000) + QStringLiteral("fin");
    const ResultSet r = run(QByteArray("SELECT '").append(longText.toUtf8()).append("' AS largo").constData());
    EXPECT_EQ(r.rows.at(0).at(0), Variant(longText));
}

TEST_F(OdbcSqlite, RecordsAffectedAreCounted)
{
    struct Case
    {
        const char* sql;
        int64_t affected;
    };
    const Case cases[] = {
        {"UPDATE articulos SET cantidad = 5 WHERE id <> 2", 2},
        {"UPDATE articulos SET cantidad = 5 WHERE id = 99", 0},
        {"INSERT INTO sin_clave VALUES ('b', 2)", 1},
        {"DELETE FROM sin_clave", 2},
    };
    for (const Case& c : cases) {
        const ResultSet r = run(c.sql);
        EXPECT_FALSE(r.hasRows) << c.sql;
        EXPECT_EQ(r.recordsAffected, c.affected) << c.sql;
    }
    EXPECT_EQ(run("SELECT cantidad FROM articulos WHERE id = 1").rows.at(0).at(0), Variant(5));
}

TEST_F(OdbcSqlite, TransactionsCommitAndRollBack)
{
    std::vector<ErrorInfo> errors;
    m_backend->beginTransaction(errors);
    run("INSERT INTO sin_clave VALUES ('x', 10)");
    EXPECT_EQ(count("sin_clave"), 2);
    m_backend->rollbackTransaction(errors);
    EXPECT_EQ(count("sin_clave"), 1);

    m_backend->beginTransaction(errors);
    run("INSERT INTO sin_clave VALUES ('y', 11)");
    m_backend->commitTransaction(errors);
    EXPECT_TRUE(errors.empty());

    // A second connection sees only what was committed.
    auto other = openBackend(QStringLiteral("Driver=%1;Database=%2").arg(kDriver, m_file));
    const ResultSet r = other->execute(QStringLiteral("SELECT codigo FROM sin_clave ORDER BY codigo"), errors);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1][0], Variant("y"));
}

TEST_F(OdbcSqlite, FailingStatementsFillErrors)
{
    struct Case
    {
        const char* sql;
        const char* message; // part of the driver's text
        int32_t nativeError;
    };
    const Case cases[] = {
        {"SELEC id FROM articulos", "syntax error", 1},
        {"SELECT * FROM no_existe", "no such table: no_existe", 1},
        {"SELECT nada FROM articulos", "no such column: nada", 1},
        {"INSERT INTO articulos (id, codigo) VALUES (1, 'otra')", "UNIQUE constraint failed", 19},
        {"SELECT 'sin cerrar FROM articulos", "unrecognized token", 1},
    };
    for (const Case& c : cases) {
        const ErrorInfo e = failure(c.sql);
        ASSERT_EQ(m_errors.size(), 1u) << c.sql;
        const ErrorInfo& entry = m_errors.front();
        EXPECT_EQ(e.Number, entry.Number);
        EXPECT_EQ(e.Description, entry.Description);
        // This driver reports every failure as HY000 with SQLite's own code:
        // an error in the command, never the lost link's generic number.
        EXPECT_EQ(entry.SQLState, u"HY000") << c.sql;
        EXPECT_EQ(entry.Number, adErr::Syntax) << c.sql;
        EXPECT_EQ(entry.NativeError, c.nativeError) << c.sql;
        EXPECT_TRUE(entry.Description.contains(QString::fromUtf8(c.message))) << entry.Description.toStdString();
        EXPECT_EQ(entry.Source, u"Microsoft OLE DB Provider for ODBC Drivers");
    }
    // The connection stays usable after failed statements, and a success clears nothing it should not.
    EXPECT_EQ(count("articulos"), 3);
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(OdbcSqlite, OpeningAMissingDriverFailsClearly)
{
    const QString text = QStringLiteral("Driver=/nonexistent/libnada.so;Database=x");
    OpenParams params;
    params.connectionString = text;
    params.parsed = ConnectionString::parse(text);
    auto backend = odbc::createOdbcBackend(params.parsed);
    std::vector<ErrorInfo> errors;
    try {
        backend->open(params, errors);
        FAIL() << "opened a connection through a missing driver";
    } catch (const DbError& e) {
        // The driver manager says so with an informational record, which stays out of Errors.
        EXPECT_EQ(e.number(), adErr::Generic);
        EXPECT_TRUE(e.info().Description.contains(u"/nonexistent/libnada.so")) << e.what();
    }
    EXPECT_TRUE(errors.empty());
    try {
        backend->execute(QStringLiteral("SELECT 1"), errors);
        FAIL() << "ran a statement without a connection";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), adErr::ConnectionUnusable);
    }
}

TEST_F(OdbcSqlite, RowsAreWrittenBackByPrimaryKey)
{
    ResultSet r = run("SELECT id, codigo, precio FROM articulos ORDER BY id");
    ASSERT_EQ(r.baseTable.compare(u"articulos", Qt::CaseInsensitive), 0) << r.baseTable.toStdString();
    ASSERT_EQ(r.rowKeys.size(), 3u);
    EXPECT_EQ(r.rowKeys[2], Variant(3));

    std::vector<ErrorInfo> errors;
    m_backend->updateRow(r.baseTable, r.rowKeys[2], {QStringLiteral("codigo"), QStringLiteral("precio")},
                         {Variant(u"Ñ'3"), Variant(Currency::fromUnits(99990001))}, errors);
    const Variant key =
        m_backend->insertRow(r.baseTable, {QStringLiteral("codigo"), QStringLiteral("alta")},
                             {Variant("0004"), Variant(DateTime(QDate(2024, 1, 2), QTime(3, 4, 5)))}, errors);
    EXPECT_EQ(key, Variant(4));
    m_backend->deleteRow(r.baseTable, r.rowKeys[1], errors);
    EXPECT_TRUE(errors.empty());

    r = run("SELECT id, codigo, precio, alta FROM articulos ORDER BY id");
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[1][1], Variant(u"Ñ'3"));
    // The driver gives a declared DECIMAL back as text: the exact digits that were bound.
    EXPECT_EQ(r.rows[1][2], Variant("9999.0001"));
    EXPECT_EQ(r.rows[2][0], Variant(4));
    EXPECT_EQ(r.rows[2][3], Variant(DateTime(QDate(2024, 1, 2), QTime(3, 4, 5))));

    // A row that is no longer there is not silently "updated".
    EXPECT_THROW(m_backend->deleteRow(r.baseTable, Variant(2), errors), DbError);
}

TEST_F(OdbcSqlite, TableWithoutKeyCannotBeWrittenBack)
{
    const ResultSet r = run("SELECT codigo, valor FROM sin_clave");
    EXPECT_TRUE(r.rowKeys.empty());
    std::vector<ErrorInfo> errors;
    try {
        m_backend->updateRow(QStringLiteral("sin_clave"), Variant("a"), {QStringLiteral("valor")}, {Variant(2)},
                             errors);
        FAIL() << "updated a table without a key";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), adErr::OperationNotAllowed);
    }
    EXPECT_EQ(run("SELECT valor FROM sin_clave").rows.at(0).at(0), Variant(1));
}

TEST_F(OdbcSqlite, SchemaListsTablesAndColumnsByExactName)
{
    run("CREATE TABLE TAXUSUARIOS (nombre VARCHAR(20))");
    run("CREATE TABLE TA_USUARIOS (nombre VARCHAR(20), clave VARCHAR(20))");
    std::vector<ErrorInfo> errors;
    const ResultSet tables =
        m_backend->openSchema(adSchemaTables, {Variant(), Variant(), Variant("TA_USUARIOS"), Variant("TABLE")}, errors);
    ASSERT_EQ(tables.columns.size(), 4u);
    EXPECT_EQ(tables.columns[2].name, u"TABLE_NAME");
    ASSERT_EQ(tables.rows.size(), 1u);
    EXPECT_EQ(tables.rows[0][2], Variant("TA_USUARIOS"));
    EXPECT_EQ(tables.rows[0][3], Variant("TABLE"));

    const ResultSet all = m_backend->openSchema(adSchemaTables, {}, errors);
    EXPECT_GE(all.rows.size(), 4u);

    const ResultSet columns =
        m_backend->openSchema(adSchemaColumns, {Variant(), Variant(), Variant("articulos")}, errors);
    ASSERT_EQ(columns.columns.size(), 6u);
    EXPECT_EQ(columns.columns[3].name, u"COLUMN_NAME");
    ASSERT_EQ(columns.rows.size(), 9u);
    EXPECT_EQ(columns.rows[1][3], Variant("codigo"));
    EXPECT_EQ(columns.rows[1][4], Variant(2));
    EXPECT_EQ(columns.rows[1][5], Variant(int64_t(adVarChar)));
}

TEST_F(OdbcSqlite, AProcedureCallReachesTheDriverAndItsRefusalComesBack)
{
    // The driver takes the call escape and the bound value; having no
    // procedures, it refuses the call, and its own message comes back.
    m_errors.clear();
    const ProcedureParameter campo{QStringLiteral("@Campo"), adChar, 1, 50, Variant("x")};
    try {
        m_backend->executeProcedure(QStringLiteral("sp1_getCfg"), {campo}, m_errors);
        ADD_FAILURE() << "the driver ran a procedure";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.info().Description.contains(QStringLiteral("sp1_getCfg"))) << e.info().Description.toStdString();
    }
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_TRUE(m_errors[0].Description.contains(QStringLiteral("sp1_getCfg")));
}

} // namespace
