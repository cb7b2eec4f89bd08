#pragma once

#include "platform/db/sqlite/SqlServerErrors.h"

#include <QString>
#include <QStringList>

namespace platform::db::sqlite::translation {

// The errors the translator raises: DbError with the SQL Server provider as
// source, as the server reports faults in a statement.

// A construct the embedded engine cannot run (adErr::Syntax); the description names it.
[[noreturn]] void refuse(const QString& construct);

// Text that is not valid SQL (adErr::Syntax); `description` as SQL Server words it.
[[noreturn]] void syntaxError(const QString& description);

// One of SQL Server's own errors, with its numbers and values.
[[noreturn]] void serverFailure(const ServerError& error, const QStringList& values = {});

} // namespace platform::db::sqlite::translation
