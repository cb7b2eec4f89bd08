#pragma once

#include "platform/core/Variant.h"
#include "platform/db/sqlite/SqlCatalog.h"

#include <QString>

namespace platform::db::sqlite::translation {

// A name between double quotes, for SQLite.
QString quoteName(const QString& name);

// A text between apostrophes, apostrophes inside doubled.
QString quoteText(const QString& text);

// A text literal where SQL Server converts it to a column's type (compared
// with or assigned to it): the value SQLite holds for the converted literal
// (a whole number for whole-number and bit kinds, the storage text of a
// date-time, the number's text for money and decimals), or the text
// unchanged for a text (or unknown) kind. `precision` tells a whole-number
// kind's type (3 tinyint, 5 smallint, 19 bigint; int for any other). Raises
// SQL Server's conversion error for a text that does not convert: 241 or 242
// for a date-time, 235 for money, 245 for a whole number (248 or 244 beyond
// its type), 8114 for a decimal.
Variant convertedValue(const QString& text, ColumnKind kind, int precision = 0);
// The same value as a SQLite literal.
QString convertedLiteral(const QString& text, ColumnKind kind, int precision = 0);

// A whole-number literal written into a whole-number column of `precision`
// (as for convertedValue()): its value. Raises 220 or 8115 beyond the range
// of the column's type.
int64_t wholeNumberWritten(const QString& number, int precision);

// A numeric literal assigned to money, rounded as SQL Server stores it.
QString moneyLiteralOfNumber(const QString& number);

// The kinds of number literals: a whole number that SQLite holds as a 64-bit
// integer, a number with a decimal point or an exponent, and any other
// (hexadecimal, a whole number too large), which SQLite reads its own way.
enum class NumberForm { Whole, Decimal, Other };
NumberForm numberForm(QStringView number);

// A literal that SQLite receives as a parameter where it meets a column, so
// that one prepared statement serves every value: the value bound is the one
// SQLite would have read from the literal the translator writes there.
struct Parameter
{
    enum class Value {
        Text,      // a text literal's text, or a number written into a text column as written
        Whole,     // a whole-number literal (NumberForm::Whole) as a 64-bit integer,
                   // within its type's range for an Integer `kind`
        Number,    // a number literal's text, which the numeric column it meets reads
        Converted, // a text literal converted to `kind` (convertedValue)
        Money,     // a number literal written into money (moneyLiteralOfNumber)
    };
    int literal = -1; // the literal's position in the batch (Node::literal)
    Value value = Value::Text;
    ColumnKind kind = ColumnKind::Other;
    int precision = 0; // an Integer kind's type, as for convertedValue()
};

// The value to bind for a parameter whose literal reads `literal` (a text's
// content, a number as written). Raises the conversion errors of
// convertedValue() and moneyLiteralOfNumber(), and 8115 for a whole number
// beyond the range of its Integer kind.
Variant parameterValue(const Parameter& parameter, const QString& literal);

// The kinds whose literals convertedLiteral() converts.
bool convertsLiterals(ColumnKind kind);

} // namespace platform::db::sqlite::translation
