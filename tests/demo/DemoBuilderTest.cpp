// The demo builder makes the embedded server folder that the program, the tests
// and the benchmarks run on. These tests build the small demo into the test's
// own folder and read it back with the engine itself.

#include "demo/DemoBuilder.h"

#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/db/sqlite/SqlTranslator.h"
#include "support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct DbCloser
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using DbPtr = std::unique_ptr<sqlite3, DbCloser>;

struct StmtFinalizer
{
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

QString buildInto(const QString& name, unsigned long long seed = demo::kDefaultSeed)
{
    demo::BuildOptions options;
    options.folder = QDir(testing_support::testFolder()).filePath(name);
    options.seed = seed;
    const demo::BuildResult result = demo::buildDemoServer(options);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.historyRows, demo::kDefaultHistoryRows);
    return options.folder;
}

DbPtr openDb(const QString& folder, const char* name)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".sqlite"));
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    DbPtr db(raw);
    EXPECT_EQ(rc, SQLITE_OK) << path.toStdString();
    EXPECT_EQ(platform::db::sqlite::registerSqlServerExtensions(raw), SQLITE_OK);
    return db;
}

// The rows of a query, each row its columns joined by a tab (NULL as \N).
std::vector<std::string> rows(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    StmtPtr stmt(raw);
    EXPECT_EQ(rc, SQLITE_OK) << sqlite3_errmsg(db) << " in " << sql;
    std::vector<std::string> result;
    if (rc != SQLITE_OK)
        return result;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        std::string line;
        for (int i = 0; i < sqlite3_column_count(raw); ++i) {
            const unsigned char* value = sqlite3_column_text(raw, i);
            line += (i ? "\t" : "") + (value ? std::string(reinterpret_cast<const char*>(value)) : std::string("\\N"));
        }
        result.push_back(line);
    }
    EXPECT_EQ(step, SQLITE_DONE) << sqlite3_errmsg(db) << " in " << sql;
    return result;
}

long long scalar(sqlite3* db, const std::string& sql)
{
    const std::vector<std::string> result = rows(db, sql);
    EXPECT_EQ(result.size(), 1u) << sql;
    return result.empty() ? -1 : std::stoll(result.front());
}

std::string quoted(const char* text)
{
    return text ? "'" + std::string(text) + "'" : std::string("NULL");
}

// "yyyy-mm-dd hh:mm" + one minute, for minutes that do not end an hour.
std::string nextMinute(const std::string& minute)
{
    const int mm = std::stoi(minute.substr(14, 2)) + 1;
    return minute.substr(0, 14) + (mm < 10 ? "0" : "") + std::to_string(mm);
}

// The condition that a history row `alias` belongs to the same price list as
// the mass-change row h: the article master when h has no list code.
std::string sameList(const std::string& alias)
{
    return "((rtrim(coalesce(h.idLista, '')) = '' AND rtrim(coalesce(" + alias + ".idLista, '')) = '') OR rtrim(" +
           alias + ".idLista) = rtrim(h.idLista))";
}

std::string priceColumn(const char* priceClass)
{
    return std::string(priceClass) == "Costo" ? "Costo" : "Precio" + std::string(priceClass);
}

const char* const kTables[] = {
    "V_MV_PreciosHis",    "V_MA_ARTICULOS",    "V_MA_PRECIOS",     "V_MA_PRECIOSCAB",
    "TA_CONFIGURACION",   "TA_USUARIOS",       "TA_TAREAS",        "TA_MENU",
    "Control_Acceso",     "V_MV_CPTEACCIONES", "AUX_ERR",          "V_TA_Cajas",
    "v_ta_unidadNegocio", "TA_CONFIG_FORM",    "MA_CUENTAS",       "V_TA_DEPOSITO",
    "MV_ASIENTOS",        "V_TA_FAMILIAS",     "AC_CUENTASDIARIO", "AC_CUENTASDIARIO_CCOSTO",
};
const char* const kRestrictedViews[] = {
    "SS_MA_CUENTAS",
    "SS_V_TA_DEPOSITO",
    "SS_MV_ASIENTOS",
    "SS_V_TA_FAMILIAS",
    "SS_V_TA_CAJAS",
    "SS_AC_CUENTASDIARIO",
    "SS_AC_CUENTAS_DIARIO_CCOSTO",
};

TEST(DemoBuilder, EveryTableAndViewExistsAndAnswers)
{
    const QString folder = buildInto(QStringLiteral("srv"));
    DbPtr db = openDb(folder, demo::kMainDatabase);
    for (const char* table : kTables) {
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = '" +
                                       std::string(table) + "'"),
                  1)
            << table;
        EXPECT_GE(scalar(db.get(), "SELECT COUNT(*) FROM " + std::string(table)), 0) << table;
    }
    for (const char* view : kRestrictedViews) {
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM sqlite_master WHERE type = 'view' AND name = '" +
                                       std::string(view) + "'"),
                  1)
            << view;
        EXPECT_GE(scalar(db.get(), "SELECT COUNT(*) FROM " + std::string(view)), 0) << view;
    }
    // Non-administrators see every cash box, and no confidential account.
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM SS_V_TA_CAJAS"),
              scalar(db.get(), "SELECT COUNT(*) FROM V_TA_Cajas"));
    EXPECT_LT(scalar(db.get(), "SELECT COUNT(*) FROM SS_MA_CUENTAS"),
              scalar(db.get(), "SELECT COUNT(*) FROM MA_CUENTAS"));

    DbPtr stats = openDb(folder, demo::kStatisticsDatabase);
    EXPECT_EQ(rows(stats.get(), "SELECT VALOR, GRUPO FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'"),
              std::vector<std::string>{"30\tBaseDeDatos"});
}

TEST(DemoBuilder, BothDataBasesLogAhead)
{
    const QString folder = buildInto(QStringLiteral("srv"));
    for (const char* name : {demo::kMainDatabase, demo::kStatisticsDatabase}) {
        DbPtr db = openDb(folder, name);
        EXPECT_EQ(rows(db.get(), "PRAGMA journal_mode"), std::vector<std::string>{"wal"}) << name;
    }
}

TEST(DemoBuilder, HistoryIsIndexedByArticleListAndTime)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    const std::vector<std::string> leading =
        rows(db.get(), "SELECT ii.name FROM pragma_index_list('V_MV_PreciosHis') il, "
                       "pragma_index_info(il.name) ii WHERE ii.seqno = 0 AND ii.name IS NOT NULL "
                       "ORDER BY ii.name");
    EXPECT_EQ(leading, (std::vector<std::string>{"FechaHora", "ID", "IdArticulo", "IdArticulo", "idLista"}));
    // The cost-class look-up compares the trimmed id; its index leads with that expression.
    const std::vector<std::string> trimmed =
        rows(db.get(), "SELECT sql FROM sqlite_master WHERE name = 'IX_PreciosHis_ArticuloTrim'");
    ASSERT_EQ(trimmed.size(), 1u);
    EXPECT_NE(trimmed[0].find("ltrim(rtrim(IdArticulo)) COLLATE SQLSERVER, idLista, FechaHora"), std::string::npos);
}

struct LookUp
{
    const char* name;
    const char* tsql; // as the program sends it
    const char* index;
};

// The statements of a correction run (CorreccionPrecios, DB_Dll::DatosTabla).
const LookUp kLookUps[] = {
    {"HistoryOfTheSpan",
     "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '22-03-2024 17:45:03.000' AND FechaHora < "
     "'22-03-2024 17:45:34.000'  and idlista = '0003' ORDER BY FechaHora;",
     "IX_PreciosHis_Lista"},
    {"PreviousCostOfAList",
     "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1001'  and idlista = "
     "'0003'   AND FechaHora < '22-03-2024 17:45:03.000'ORDER BY FechaHora DESC;",
     "IX_PreciosHis_ArticuloTrim"},
    {"PreviousCostOfTheMaster",
     "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1001'  and (idlista = "
     "'' or idlista is null)   AND FechaHora < '18-03-2024 08:05:00.000'ORDER BY FechaHora DESC;",
     "IX_PreciosHis_ArticuloTrimFecha"},
    {"PreviousPriceOfAList",
     "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1001'  and idlista = '0001'   AND "
     "FechaHora < '11-03-2024 12:30:10.000'ORDER BY FechaHora DESC;",
     "IX_PreciosHis_Articulo"},
    {"PreviousPriceOfTheMaster",
     "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '   1010'  and (idlista = '' or "
     "idlista is null)   AND FechaHora < '05-02-2024 09:15:02.000'ORDER BY FechaHora DESC;",
     "IX_PreciosHis_ArticuloFecha"},
    {"CurrentValueOfTheMaster",
     "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001' ", "IX_Articulos_IdTrim"},
    {"CurrentValueOfAList",
     "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001'  AND  idarticulo = '1001' "
     "and idlista = '0003'",
     "sqlite_autoindex_V_MA_PRECIOS_1"},
    {"UpdateOfTheMaster", "UPDATE  V_MA_ARTICULOS SET Costo = 12.34, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1001'",
     "IX_Articulos_IdLtrim"},
    {"UpdateOfAList",
     "UPDATE  V_MA_PRECIOS SET Costo = 12.34, DESDETRIGGER = 1 WHERE IDARTICULO = '1001' and idlista = '0003'",
     "sqlite_autoindex_V_MA_PRECIOS_1"},
};

class LookUps : public ::testing::TestWithParam<LookUp>
{
};

// Each statement, as the embedded engine translates it, finds its rows
// through its index: no step of its plan reads a whole table.
TEST_P(LookUps, FindTheirRowsThroughTheirIndex)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    const platform::db::sqlite::SqlCatalog catalog = platform::db::sqlite::readCatalog(db.get());
    const auto steps =
        platform::db::sqlite::SqlTranslator::translateUncached(QString::fromUtf8(GetParam().tsql), catalog);
    ASSERT_EQ(steps.size(), 1u);
    // Each line of the plan: its id, its parent, a reserved field and the step.
    const std::vector<std::string> plan = rows(db.get(), "EXPLAIN QUERY PLAN " + steps[0].sql.toStdString());
    ASSERT_FALSE(plan.empty());
    bool indexed = false;
    for (const std::string& line : plan) {
        const std::string detail = line.substr(line.rfind('\t') + 1);
        EXPECT_NE(detail.rfind("SCAN", 0), 0u) << detail;
        indexed = indexed || detail.find("USING INDEX " + std::string(GetParam().index) + " ") != std::string::npos;
    }
    EXPECT_TRUE(indexed) << plan.back();
}

INSTANTIATE_TEST_SUITE_P(Correction, LookUps, ::testing::ValuesIn(kLookUps),
                         [](const ::testing::TestParamInfo<LookUp>& p) { return std::string(p.param.name); });

// The grid's count of the history and the first key of one of its pages
// walk the narrow index of the key, not the rows.
TEST(DemoBuilder, TheGridCountsAndFindsAPageKeyOnTheIndexOfTheKey)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    const platform::db::sqlite::SqlCatalog catalog = platform::db::sqlite::readCatalog(db.get());
    for (const char* tsql :
         {"SELECT COUNT(*) FROM (SELECT * FROM V_MV_PreciosHis) AS Conteo",
          "SELECT ID FROM V_MV_PreciosHis  Order by ID  OFFSET 97999 ROWS FETCH NEXT 1 ROWS ONLY",
          "SELECT ID FROM V_MV_PreciosHis  Order by ID Desc OFFSET 1999 ROWS FETCH NEXT 1 ROWS ONLY"}) {
        const auto steps = platform::db::sqlite::SqlTranslator::translateUncached(QString::fromUtf8(tsql), catalog);
        ASSERT_EQ(steps.size(), 1u);
        const std::vector<std::string> plan = rows(db.get(), "EXPLAIN QUERY PLAN " + steps[0].sql.toStdString());
        ASSERT_EQ(plan.size(), 1u) << tsql;
        EXPECT_NE(plan[0].find("USING COVERING INDEX IX_PreciosHis_ID"), std::string::npos) << plan[0];
    }
}

TEST(DemoBuilder, TextColumnsCompareAsSqlServerAndCarryTheirLength)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    for (const char* table : kTables) {
        const std::string create =
            rows(db.get(), "SELECT sql FROM sqlite_master WHERE name = '" + std::string(table) + "'").at(0);
        for (const std::string& column :
             rows(db.get(), "SELECT name, type FROM pragma_table_info('" + std::string(table) + "')")) {
            const std::string name = column.substr(0, column.find('\t'));
            const std::string type = column.substr(column.find('\t') + 1);
            const bool isText = type.rfind("varchar", 0) == 0 || type.rfind("char", 0) == 0 || type == "text";
            if (!isText)
                continue;
            EXPECT_NE(create.find(name + " " + type + " COLLATE SQLSERVER"), std::string::npos) << table << "." << name;
            if (type != "text") {
                EXPECT_NE(create.find("CONSTRAINT maxlen_" + name + " CHECK (length(" + name + ") <= "),
                          std::string::npos)
                    << table << "." << name;
            }
        }
    }
}

TEST(DemoBuilder, DuplicateKeysAndOverlongTextsAreRefused)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    char* message = nullptr;
    EXPECT_EQ(
        sqlite3_exec(db.get(), "INSERT INTO V_MA_ARTICULOS (IDARTICULO) VALUES ('1002')", nullptr, nullptr, &message),
        SQLITE_CONSTRAINT);
    EXPECT_EQ(sqlite3_extended_errcode(db.get()), SQLITE_CONSTRAINT_PRIMARYKEY);
    sqlite3_free(message);

    // Trailing blanks do not make another key, as on SQL Server.
    EXPECT_EQ(
        sqlite3_exec(db.get(), "INSERT INTO V_MA_ARTICULOS (IDARTICULO) VALUES ('1002  ')", nullptr, nullptr, nullptr),
        SQLITE_CONSTRAINT);

    message = nullptr;
    EXPECT_EQ(sqlite3_exec(db.get(), "INSERT INTO V_MA_ARTICULOS (IDARTICULO) VALUES ('1234567890123456')", nullptr,
                           nullptr, &message),
              SQLITE_CONSTRAINT);
    EXPECT_EQ(sqlite3_extended_errcode(db.get()), SQLITE_CONSTRAINT_CHECK);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(std::string(message).find("maxlen_IDARTICULO"), std::string::npos) << message;
    sqlite3_free(message);
}

TEST(DemoBuilder, TheSameSeedGivesTheSameDataBases)
{
    const QString first = buildInto(QStringLiteral("a"));
    const QString second = buildInto(QStringLiteral("b"));
    const QString other = buildInto(QStringLiteral("c"), demo::kDefaultSeed + 1);
    DbPtr a = openDb(first, demo::kMainDatabase);
    DbPtr b = openDb(second, demo::kMainDatabase);
    DbPtr c = openDb(other, demo::kMainDatabase);
    auto digest = [](sqlite3* db, const std::string& table) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const std::string& row : rows(db, "SELECT * FROM " + table + " ORDER BY rowid"))
            hash.addData(QByteArray::fromStdString(row + "\n"));
        return hash.result().toHex().toStdString();
    };
    for (const char* table : kTables) {
        EXPECT_EQ(scalar(a.get(), "SELECT COUNT(*) FROM " + std::string(table)),
                  scalar(b.get(), "SELECT COUNT(*) FROM " + std::string(table)))
            << table;
        EXPECT_EQ(digest(a.get(), table), digest(b.get(), table)) << table;
    }
    const std::string sample = "SELECT * FROM V_MV_PreciosHis WHERE ID IN (1, 777, 4321, 8000) ORDER BY ID";
    EXPECT_EQ(rows(a.get(), sample), rows(b.get(), sample));
    EXPECT_EQ(rows(a.get(), sample).size(), 4u);
    EXPECT_NE(digest(a.get(), "V_MV_PreciosHis"), digest(c.get(), "V_MV_PreciosHis"));
    // The mass changes stay where they are named, whatever the seed.
    for (const demo::KnownChange& change : demo::kKnownChanges) {
        const std::string count = "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE FechaHora >= '" +
                                  std::string(change.minute) + "' AND FechaHora < '" + nextMinute(change.minute) + "'";
        EXPECT_EQ(scalar(a.get(), count), scalar(c.get(), count)) << change.minute;
    }
}

TEST(DemoBuilder, MassChangesAreWhereTheirListSaysAndChangeByTheirPercentage)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    const int articles = demo::articleCount(demo::kDefaultHistoryRows);
    for (const demo::KnownChange& change : demo::kKnownChanges) {
        SCOPED_TRACE(change.minute);
        const std::string inMinute = " FROM V_MV_PreciosHis h WHERE h.FechaHora >= '" + std::string(change.minute) +
                                     "' AND h.FechaHora < '" + nextMinute(change.minute) + "'";
        const long long expected = demo::changeRows(change, articles);
        ASSERT_GT(expected, 0);
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*)" + inMinute), expected);
        // Every row of the minute stores the list code exactly as named.
        const std::string stored = change.listCode ? "h.idLista = " + quoted(change.listCode) + " COLLATE BINARY"
                                                   : std::string("h.idLista IS NULL");
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*)" + inMinute + " AND " + stored), expected);

        const std::vector<std::string> bounds = rows(db.get(), "SELECT MIN(h.FechaHora), MAX(h.FechaHora)" + inMinute);
        char first[32];
        char last[32];
        std::snprintf(first, sizeof first, "%s:%02d", change.minute, change.firstSecond);
        std::snprintf(last, sizeof last, "%s:%02d%s", change.minute,
                      expected > 1 ? change.lastSecond : change.firstSecond, expected > 1 ? ".999" : "");
        EXPECT_EQ(bounds, std::vector<std::string>{std::string(first) + "\t" + last});

        // The changed column against the article's previous row of the same list.
        const std::string column = priceColumn(change.priceClass);
        const std::string previous = "(SELECT CAST(round(p." + column +
                                     " * 100) AS INTEGER) FROM V_MV_PreciosHis p "
                                     "WHERE p.IdArticulo = h.IdArticulo AND " +
                                     sameList("p") +
                                     " AND p.FechaHora < h.FechaHora ORDER BY p.FechaHora DESC LIMIT 1)";
        const std::string now = "CAST(round(h." + column + " * 100) AS INTEGER)";
        const std::string rule = "(" + previous + " * " + std::to_string(100 + change.percent) + " + 50) / 100";
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*)" + inMinute + " AND " + now + " = " + rule), expected);
        if (change.percent > 0)
            EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*)" + inMinute + " AND " + now + " > " + previous), expected);
        else
            EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*)" + inMinute + " AND " + now + " < " + previous), expected);
    }
}

TEST(DemoBuilder, MasterAndListsHoldTheLatestHistoryValues)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    std::string differs;
    for (const char* column :
         {"Costo", "Precio1", "Precio2", "Precio3", "Precio4", "Precio5", "Precio6", "Precio7", "Precio8"})
        differs += std::string(differs.empty() ? "" : " OR ") + "t." + column + " <> h." + column;
    const long long masterMismatch =
        scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS t JOIN V_MV_PreciosHis h ON h.ID = (SELECT MAX(ID) FROM "
                         "V_MV_PreciosHis x WHERE x.IdArticulo = t.IDARTICULO AND rtrim(coalesce(x.idLista, "
                         "'')) = '') WHERE " +
                             differs);
    EXPECT_EQ(masterMismatch, 0);
    const long long listMismatch =
        scalar(db.get(), "SELECT COUNT(*) FROM V_MA_PRECIOS t JOIN V_MV_PreciosHis h ON h.ID = (SELECT MAX(ID) FROM "
                         "V_MV_PreciosHis x WHERE x.IdArticulo = t.IDARTICULO AND rtrim(x.idLista) = "
                         "t.idlista COLLATE BINARY) WHERE " +
                             differs);
    EXPECT_EQ(listMismatch, 0);
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS"), demo::articleCount(demo::kDefaultHistoryRows));
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MA_PRECIOS"),
              scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS") *
                  scalar(db.get(), "SELECT COUNT(*) FROM V_MA_PRECIOSCAB"));
}

TEST(DemoBuilder, CodesComeWithTheBlanksAndNullsOfARealInstallation)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IDARTICULO = '   1001' COLLATE BINARY"), 1);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE substr(IDARTICULO, 1, 1) = ' '"), 10);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE substr(IdArticulo, 1, 1) = ' '"), 100);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idLista IS NULL"), 0);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idLista = '' COLLATE BINARY"), 0);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idLista = '    ' COLLATE BINARY"), 0);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idLista = '0001  ' COLLATE BINARY"), 0);
    // As on SQL Server, '' matches the blank code and not NULL; '0002' matches '0002  '.
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idLista = ''"),
              scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE rtrim(idLista) = ''"));
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE idlista = '0002'"),
              scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE rtrim(idLista) = '0002'"));
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE FechaHora LIKE '%.___'"), 0);
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE length(FechaHora) = 19"), 0);
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MV_PreciosHis WHERE FechaHora LIKE '%.000'"), 0);
}

TEST(DemoBuilder, DemoUserSettingsAndCompanyAreThere)
{
    DbPtr db = openDb(buildInto(QStringLiteral("srv")), demo::kMainDatabase);
    EXPECT_EQ(rows(db.get(), "SELECT SISTEMA, Password, Administrador FROM TA_USUARIOS WHERE NOMBRE = 'DEMO'"),
              std::vector<std::string>{"cn000pr\t" + demo::demoPasswordStored().toStdString() + "\t1"});
    EXPECT_GT(scalar(db.get(), "SELECT COUNT(*) FROM TA_USUARIOS WHERE Administrador = 0 AND SISTEMA IN ('cn000pr', "
                               "'ORVO')"),
              0);
    EXPECT_EQ(rows(db.get(), "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'ClaseDePrecioDefault'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(rows(db.get(), "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'CantidadDecimales'"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM TA_TAREAS t JOIN TA_MENU m ON t.TAREA = m.Clave "
                               "WHERE t.USUARIO = 'demo' AND m.Proceso LIKE '%CorrigePrecios%'"),
              1);
    EXPECT_EQ(rows(db.get(), "SELECT Descripcion FROM V_TA_Cajas WHERE LTRIM(RTRIM(IdCajas)) = '1'"),
              std::vector<std::string>{"CAJA PRINCIPAL"});
    EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM v_ta_unidadNegocio WHERE codigo = '0001'"), 1);
    EXPECT_GE(scalar(db.get(), "SELECT COUNT(*) FROM v_ma_precioscab WHERE tipolista = 'v'"), 3);
}

TEST(DemoBuilder, AHistoryTooSmallForTheKnownChangesIsRefused)
{
    demo::BuildOptions options;
    options.folder = QDir(testing_support::testFolder()).filePath(QStringLiteral("small"));
    options.historyRows = 100;
    const demo::BuildResult result = demo::buildDemoServer(options);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QString::number(demo::minimumHistoryRows(100)))) << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(options.folder).filePath(QStringLiteral("BKDEMO.sqlite"))));
}

TEST(DemoBuilder, ABuildReplacesTheDataBasesOfAnEarlierOne)
{
    const QString folder = buildInto(QStringLiteral("srv"));
    {
        DbPtr db = openDb(folder, demo::kMainDatabase);
        ASSERT_EQ(sqlite3_exec(db.get(), "DELETE FROM V_MA_ARTICULOS", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    buildInto(QStringLiteral("srv"));
    {
        DbPtr db = openDb(folder, demo::kMainDatabase);
        EXPECT_EQ(scalar(db.get(), "SELECT COUNT(*) FROM V_MA_ARTICULOS"),
                  demo::articleCount(demo::kDefaultHistoryRows));
    }
    // An open connection has its write-ahead log beside the file; the build leaves none.
    QStringList files = QDir(folder).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"BKDEMO.sqlite", "BK_ESTADISTICAS.sqlite"}));
}

} // namespace
