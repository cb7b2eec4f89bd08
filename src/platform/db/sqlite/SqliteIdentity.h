#pragma once

#include <QString>

namespace platform::db::sqlite {

// An IDENTITY column of CREATE TABLE is numbered by the engine: this table
// keeps each such table's column, seed, increment and the last value given
// (NULL before the first, and again after TRUNCATE TABLE), and a trigger of
// the table gives each row inserted without a value the next one.
inline constexpr const char* kIdentityTable = "TSQL_IDENTITY";

// The name of the trigger that numbers the rows of `table`; a table has an
// identity column only while it has this trigger.
QString identityTrigger(const QString& table);

// The statements that, after the CREATE TABLE of `table`, number `column`
// from `seed` by `increment`: the counter (reset when the table was made
// again) and the trigger.
QString identityDefinition(const QString& table, const QString& column, qint64 seed, qint64 increment);

} // namespace platform::db::sqlite
