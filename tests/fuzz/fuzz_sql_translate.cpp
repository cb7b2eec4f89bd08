// Translates any text against a small catalogue: a text the translator cannot
// translate fails with DbError. What it does translate must be one SQLite
// statement per step (a definition may hold several), never a second one that
// the text smuggled in.
#include "FuzzSupport.h"

#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTranslator.h"
#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <sqlite3.h>

#include <cctype>

using namespace platform::db::sqlite;

namespace {

// An empty data base with a table of each column kind and a view of it,
// whose catalogue the translator reads; translated statements are prepared
// there (never run).
sqlite3* database()
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK ||
        registerSqlServerExtensions(db) != SQLITE_OK ||
        sqlite3_exec(db,
                     "CREATE TABLE T (ID integer, Nombre varchar(20) COLLATE SQLSERVER, Alta datetime, Costo money, "
                     "Margen decimal(18,6), Activo bit, Peso float);"
                     "CREATE VIEW V AS SELECT * FROM T;",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        fuzz_support::fault("the fuzzer's data base could not be built");
    return db;
}

void checkSteps(sqlite3* db, const std::vector<TranslatedStep>& steps)
{
    for (const TranslatedStep& step : steps) {
        checkSteps(db, step.body);
        if (step.kind != TranslatedStep::Kind::Statement && step.kind != TranslatedStep::Kind::IfExists)
            continue;
        const QByteArray sql = step.sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, &tail) == SQLITE_OK) {
            sqlite3_finalize(statement);
            while (tail && *tail && (std::isspace(static_cast<unsigned char>(*tail)) || *tail == ';'))
                ++tail;
            if (statement == nullptr)
                fuzz_support::fault("a translated step holds no statement", step.sql);
            if (tail && *tail && !step.changesSchema)
                fuzz_support::fault("a translated step holds a second statement", step.sql);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static sqlite3* const db = database();
    static const SqlCatalog kCatalog = readCatalog(db);
    try {
        checkSteps(db, SqlTranslator::translateUncached(fuzz_support::text(data, size), kCatalog));
    } catch (const platform::db::DbError&) {
    }
    return 0;
}
