#pragma once

#include "platform/db/sqlite/SqlServerErrors.h"

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <cstdint>

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

// The steps of an operation folded from the left over its operands,
// fn(a, b, step [, c, step]...): `step(i, code)` for each operand i after the
// first and its step's code, in turn, until one returns false (its error
// set). False, with the result set, once an operand is Null (as the nested
// operations give), and with an error naming `operation` for arguments of
// another shape; true when every step went through, for the caller to set
// the result.
template <typename Step>
bool foldSteps(sqlite3_context* ctx, int argc, sqlite3_value** argv, const char* operation, const Step& step)
{
    if (argc < 3 || argc % 2 == 0) {
        resultError(ctx, QLatin1String(operation) + QStringLiteral(" folds pairs of an operand and a step."));
        return false;
    }
    for (int i = 1; i < argc; i += 2) {
        if (isNull(argv[0]) || isNull(argv[i])) {
            sqlite3_result_null(ctx);
            return false;
        }
        if (!step(i, sqlite3_value_int64(argv[i + 1])))
            return false;
    }
    return true;
}

// A value as SQL Server writes it when converting to a character type.
QString valueText(sqlite3_value* v);

} // namespace platform::db::sqlite::extensions
