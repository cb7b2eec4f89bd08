// Calls the SQL functions and the collation that the embedded engine
// registers for translated statements with any arguments: the first byte
// picks the function, the rest, split at line breaks, gives its arguments,
// each typed by its first character (i a whole number, f a double, n NULL,
// anything else a text). A call gives a value or an error, nothing else.
#include "FuzzSupport.h"

#include "platform/db/sqlite/SqliteExtensions.h"

#include <QByteArray>
#include <QList>

#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

struct Function
{
    std::string name;
    int arguments;
};

sqlite3* database()
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK ||
        platform::db::sqlite::registerSqlServerExtensions(db) != SQLITE_OK)
        fuzz_support::fault("the fuzzer's data base could not be built");
    return db;
}

// The registered functions with a fixed number of arguments, and the
// collation and LIKE through their operators.
std::vector<Function> functions(sqlite3* db)
{
    std::vector<Function> found;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, "SELECT name, narg FROM pragma_function_list WHERE name LIKE 'tsql_%' AND narg >= 0 ORDER BY 1, 2", -1, &st,
        nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        found.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_int(st, 1)});
    sqlite3_finalize(st);
    if (found.empty())
        fuzz_support::fault("no function is registered");
    return found;
}

void bind(sqlite3_stmt* st, int index, const QByteArray& arg)
{
    const QByteArray rest = arg.mid(1);
    switch (arg.isEmpty() ? 't' : arg[0]) {
    case 'i':
        sqlite3_bind_int64(st, index, rest.toLongLong());
        break;
    case 'f':
        sqlite3_bind_double(st, index, rest.toDouble());
        break;
    case 'n':
        sqlite3_bind_null(st, index);
        break;
    default:
        sqlite3_bind_text(st, index, rest.constData(), int(rest.size()), SQLITE_TRANSIENT);
    }
}

void call(sqlite3* db, const std::string& sql, const QList<QByteArray>& args)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        fuzz_support::fault("a call cannot be prepared", QString::fromStdString(sql));
    for (int i = 1; i <= sqlite3_bind_parameter_count(st); ++i)
        bind(st, i, i - 1 < args.size() ? args[i - 1] : QByteArray());
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        (void)sqlite3_column_text(st, 0);
    else if (rc != SQLITE_ERROR && rc != SQLITE_DONE && rc != SQLITE_TOOBIG)
        fuzz_support::fault("a call gave neither a value nor an error", QString::fromStdString(sql));
    sqlite3_finalize(st);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static sqlite3* const db = database();
    static const std::vector<Function> all = functions(db);
    if (size == 0)
        return 0;
    const QList<QByteArray> args = QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)).split('\n');
    const std::size_t pick = data[0];
    std::string sql;
    if (pick < all.size()) {
        sql = "SELECT " + all[pick].name + "(";
        for (int i = 0; i < all[pick].arguments; ++i)
            sql += i == 0 ? "?" : ", ?";
        sql += ")";
    } else if (pick % 4 == 0) {
        sql = "SELECT ? LIKE ?";
    } else if (pick % 4 == 1) {
        sql = "SELECT ? LIKE ? ESCAPE ?";
    } else if (pick % 4 == 2) {
        sql = "SELECT ? < ? COLLATE SQLSERVER";
    } else {
        sql = "SELECT tsql_money_sum(x), tsql_money_avg(x) FROM (SELECT ? AS x UNION ALL SELECT ? UNION ALL SELECT ?)";
    }
    call(db, sql, args);
    return 0;
}
