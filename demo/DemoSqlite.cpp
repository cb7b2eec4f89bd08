#include "demo/DemoSqlite.h"

namespace demo::detail {

namespace {

void bind(sqlite3_stmt* stmt, int index, const Value& value)
{
    switch (value.kind) {
    case Value::Kind::Integer:
        sqlite3_bind_int64(stmt, index, value.integer);
        break;
    case Value::Kind::Real:
        sqlite3_bind_double(stmt, index, value.real);
        break;
    case Value::Kind::Text:
        sqlite3_bind_text(stmt, index, value.text.c_str(), static_cast<int>(value.text.size()), SQLITE_TRANSIENT);
        break;
    case Value::Kind::Null:
        sqlite3_bind_null(stmt, index);
        break;
    }
}

} // namespace

void exec(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw BuildError(text + " in: " + sql.substr(0, 160));
    }
}

StmtPtr prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw BuildError(std::string(sqlite3_errmsg(db)) + " in: " + sql.substr(0, 160));
    return StmtPtr(stmt);
}

void step(sqlite3* db, sqlite3_stmt* stmt)
{
    if (sqlite3_step(stmt) != SQLITE_DONE)
        throw BuildError(std::string(sqlite3_errmsg(db)) + " in: " + sqlite3_sql(stmt));
    sqlite3_reset(stmt);
}

void insertRows(sqlite3* db, const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows)
{
    std::string sql = "INSERT INTO " + table + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") + columns[i];
        marks += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + marks + ")";
    StmtPtr stmt = prepare(db, sql);
    for (const Row& row : rows) {
        if (row.size() != columns.size())
            throw std::logic_error("row width differs from the column list of " + table);
        for (std::size_t i = 0; i < row.size(); ++i)
            bind(stmt.get(), static_cast<int>(i + 1), row[i]);
        step(db, stmt.get());
    }
}

Value text(const char* s)
{
    return s ? Value(std::string(s)) : Value(nullptr);
}
Value money(int64_t cents)
{
    return Value(static_cast<double>(cents) / 100.0);
}

} // namespace demo::detail
