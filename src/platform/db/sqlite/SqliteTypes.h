#pragma once

#include "platform/db/Backend.h"

#include <QString>

#include <optional>
#include <vector>

struct sqlite3_stmt;

// The one mapping between SQLite storage and the layer's values and ADO's
// field type codes, for the embedded backend.
namespace platform::db::sqlite {

// The column a declared type ("varchar(50)", "money", "decimal(18,6)")
// describes. An empty declared type (an expression) gives type adEmpty: the
// column is typed from its values with typeFromValues().
ColumnInfo columnForDeclaredType(const QString& name, const QString& declared);

// Types a column without declared type from the stored values at `index` of
// `rows`: whole numbers, doubles, date-time texts in the storage form, texts, binaries.
void typeFromValues(ColumnInfo& column, const std::vector<std::vector<Variant>>& rows, std::size_t index);

// The raw stored value of a column of a statement that stands on a row.
Variant readStorage(sqlite3_stmt* statement, int column);
// The same, added at the end of `row`, where it is built.
void appendStorage(std::vector<Variant>& row, sqlite3_stmt* statement, int column);
// A stored value as the column's type shows it: money exact as Currency,
// date-times as DateTime, bits as Boolean; a value that does not convert is kept as stored.
Variant fromStorage(const Variant& stored, const ColumnInfo& column);

// The value to store for `value` written into a column of the declared type;
// nullopt when it does not convert (a text that is no date for a date-time).
std::optional<Variant> toStorage(const Variant& value, const QString& declared);
// Binds a storage value (Currency and dates bound as their exact texts). Returns SQLite's code.
int bindStorage(sqlite3_stmt* statement, int index, const Variant& value);

// Date-time texts in the forms readDateText() reads (the storage form first).
std::optional<DateTime> parseDateText(const QString& text);

} // namespace platform::db::sqlite
