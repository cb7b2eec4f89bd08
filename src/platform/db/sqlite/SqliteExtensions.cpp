#include "platform/db/sqlite/SqliteExtensions.h"

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include <sqlite3.h>

#include <QByteArray>

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
          extensions::textFunctions(), extensions::moneyFunctions()}) {
        for (const extensions::FunctionDef& f : group) {
            const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
            rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, f.step, f.final, nullptr);
            if (rc != SQLITE_OK)
                return rc;
        }
    }
    return SQLITE_OK;
}

void stampCollationVersion(sqlite3* db)
{
    const QByteArray pragma = "PRAGMA user_version = " + QByteArray::number(kCollationVersion);
    sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
}

void refreshCollationIndexes(sqlite3* db)
{
    sqlite3_stmt* raw = nullptr;
    int version = kCollationVersion;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &raw, nullptr) == SQLITE_OK &&
        sqlite3_step(raw) == SQLITE_ROW)
        version = sqlite3_column_int(raw, 0);
    sqlite3_finalize(raw);
    if (version >= kCollationVersion)
        return;
    const QByteArray reindex = QByteArray("REINDEX ") + kTextCollation;
    if (sqlite3_exec(db, reindex.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
        stampCollationVersion(db);
}

} // namespace platform::db::sqlite
