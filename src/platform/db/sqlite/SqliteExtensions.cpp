#include "platform/db/sqlite/SqliteExtensions.h"

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include <sqlite3.h>

#include <span>

namespace platform::db::sqlite {

int registerSqlServerExtensions(sqlite3* db)
{
    // "x" is always a name, never a text, as SQL Server reads it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);

    int rc = sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, &extensions::compareText, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    for (const std::span<const extensions::FunctionDef> group :
         {extensions::likeFunctions(), extensions::dateFunctions(), extensions::numberFunctions(),
          extensions::textFunctions()}) {
        for (const extensions::FunctionDef& f : group) {
            const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
            rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                return rc;
        }
    }
    return SQLITE_OK;
}

} // namespace platform::db::sqlite
