#include "support/RawSqlite.h"

#include "platform/db/sqlite/SqliteExtensions.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace testing_support {

void runRawSql(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    platform::db::sqlite::registerSqlServerExtensions(db);
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << (message ? message : sqlite3_errmsg(db));
    }
    sqlite3_free(message);
    sqlite3_close_v2(db);
}

QStringList rawRows(const QString& path, const QString& sql)
{
    QStringList rows;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    platform::db::sqlite::registerSqlServerExtensions(db);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    }
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                                        sqlite3_column_bytes(statement, i));
        }
        rows << values.join(u'\t');
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return rows;
}

} // namespace testing_support
