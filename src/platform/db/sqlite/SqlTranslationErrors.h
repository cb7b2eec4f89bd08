#pragma once

#include <QString>

namespace platform::db::sqlite::translation {

// The errors the translator raises: DbError with adErr::Syntax and the SQL
// Server provider as source, as the server reports faults in a statement.

// A construct the embedded engine cannot run; the description names it.
[[noreturn]] void refuse(const QString& construct);

// Text that is not valid SQL; `description` as SQL Server words it.
[[noreturn]] void syntaxError(const QString& description);

} // namespace platform::db::sqlite::translation
