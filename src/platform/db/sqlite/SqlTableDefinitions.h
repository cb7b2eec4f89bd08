#pragma once

#include "platform/db/sqlite/SqlCatalog.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace platform::db::sqlite::translation {

// One column of CREATE TABLE or ALTER TABLE ... ADD as the embedded schemas
// declare it: a text type with the text collation and a check of its length
// (SQL Server's 8152), money with a check that it holds numbers, a DEFAULT
// converted to the column's type; an IDENTITY is taken out of the column
// (which stays nullable for the trigger that numbers it) into `identity`.
struct ColumnDefinition
{
    QString name; // as written
    QString sql;
    bool identity = false;
    qint64 seed = 1;
    qint64 increment = 1;
};

// The column written in nodes[from, end): name, type [(n[, m])], then its
// NULL or NOT NULL, CONSTRAINT name, DEFAULT constant and, with `keys`
// (CREATE TABLE), PRIMARY KEY, UNIQUE, CHECK (...), REFERENCES ... and
// IDENTITY [(seed, increment)]. Anything else is refused, naming
// `construct` ("CREATE TABLE", "ALTER TABLE ... ADD").
ColumnDefinition columnDefinition(const std::vector<Node>& nodes, std::size_t from, const QString& construct,
                                  bool keys);

// CREATE TABLE name (column or table constraint, ...) [ON filegroup]
// [TEXTIMAGE_ON filegroup]: the SQLite statement, followed, for a table with
// an IDENTITY column, by the statements that number it (SqliteIdentity.h).
// `identity` tells whether it has one.
QString createTable(const std::vector<Node>& nodes, bool& identity);

// Where the column list of an INSERT [INTO] [owner.]table [(columns)] ...
// stands, or would stand.
std::size_t afterInsertedTable(const std::vector<Node>& nodes);

// What an INSERT or UPDATE of `table` (nodes) must respect of the table's
// identity, as SQL Server does: an INSERT that names a numbered identity
// fails with 544, an UPDATE that sets it with 8102; an INSERT without a
// column list writes the other columns, in `rewritten` (and true is
// returned) with that list.
bool identityRules(const std::vector<Node>& nodes, const SqlCatalog& catalog, const QString& table,
                   std::vector<Node>& rewritten);

// The statement that reads the identity given to the last row an INSERT
// into `table` inserted, and the table's name when the engine numbers it;
// empty when the table has no identity.
QString identityReadBack(const SqlCatalog& catalog, const QString& table);

} // namespace platform::db::sqlite::translation
