#pragma once

#include "platform/db/sqlite/SqlCatalog.h"

#include <QString>

namespace platform::db::sqlite::translation {

// A name between double quotes, for SQLite.
QString quoteName(const QString& name);

// A text between apostrophes, apostrophes inside doubled.
QString quoteText(const QString& text);

// A text literal where SQL Server converts it to a column's type (compared
// with or assigned to it): the SQLite literal of the converted value, or the
// text literal unchanged for a text (or unknown) kind. Raises SQL Server's
// conversion error for a text that does not convert: 241 or 242 for a
// date-time, 235 for money, 245 for a whole number, 8114 for a decimal.
QString convertedLiteral(const QString& text, ColumnKind kind);

// A numeric literal assigned to money, rounded as SQL Server stores it.
QString moneyLiteralOfNumber(const QString& number);

// The kinds whose literals convertedLiteral() converts.
bool convertsLiterals(ColumnKind kind);

} // namespace platform::db::sqlite::translation
