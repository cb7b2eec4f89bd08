#pragma once

// What the parts of the demo builder share to write through SQLite: owning
// handles, the one error a failed build raises, and rows of values to insert.

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace demo::detail {

// SQLite handles.
struct DbCloser
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer
{
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using DbPtr = std::unique_ptr<sqlite3, DbCloser>;
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

class BuildError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Runs statements without results; throws BuildError with the engine's message.
void exec(sqlite3* db, const std::string& sql);
// Prepares one statement; throws BuildError with the engine's message.
StmtPtr prepare(sqlite3* db, const std::string& sql);
// Runs a prepared statement that returns no rows and resets it for the next
// bindings; throws BuildError with the engine's message.
void step(sqlite3* db, sqlite3_stmt* stmt);

// One value of a row to insert.
struct Value
{
    enum class Kind { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    std::string text;

    Value(std::nullptr_t) {}
    Value(long long i) : kind(Kind::Integer), integer(i) {}
    Value(double d) : kind(Kind::Real), real(d) {}
    Value(std::string s) : kind(Kind::Text), text(std::move(s)) {}
};
using Row = std::vector<Value>;

// Inserts `rows` into `table`, each row's values in the order of `columns`;
// throws BuildError when the engine refuses a row.
void insertRows(sqlite3* db, const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows);

// A text value; a null pointer gives NULL.
Value text(const char* s);
// A money value from cents.
Value money(int64_t cents);

} // namespace demo::detail
