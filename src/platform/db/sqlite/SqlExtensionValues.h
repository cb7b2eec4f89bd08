#pragma once

#include "platform/db/sqlite/SqlServerErrors.h"

#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace platform::db::sqlite::extensions {

// Reading the arguments of the SQL functions and setting their results.

// A text argument (read as UTF-8); an empty text for NULL.
QString textArg(sqlite3_value* v);

bool isNull(sqlite3_value* v);

// True when any of the arguments is NULL.
bool anyNull(int argc, sqlite3_value** argv);
// SQL Server's rule for most functions: a Null argument gives a Null result.
// Sets that result and returns true when an argument is Null.
bool nullResultOnNull(sqlite3_context* ctx, int argc, sqlite3_value** argv);

void resultText(sqlite3_context* ctx, const QString& s);
void resultError(sqlite3_context* ctx, const QString& message);
// Fails with one of SQL Server's errors (the backend reports its numbers).
void resultError(sqlite3_context* ctx, const ServerError& error, const QStringList& values = {});

// A value as SQL Server writes it when converting to a character type.
QString valueText(sqlite3_value* v);

} // namespace platform::db::sqlite::extensions
