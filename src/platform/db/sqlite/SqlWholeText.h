#pragma once

#include "platform/db/sqlite/SqlServerErrors.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

namespace platform::db::sqlite {

// SQL Server's whole-number types by their bits: tinyint (8), smallint (16),
// int (32) and bigint (64).
struct WholeType
{
    int bits;
    const char* name;
    int64_t low;
    int64_t high;
};

// The type of `bits` bits (int for any other count).
const WholeType& wholeType(int bits);
// The type whose precision (its decimal digits: 3, 5, 10, 19) is `precision`;
// int for any other.
const WholeType& wholeTypeOfPrecision(int precision);

// How a text reads as a whole number of one of those types.
enum class WholeReading { Whole, Overflow, NotWhole };

struct WholeText
{
    WholeReading reading = WholeReading::NotWhole;
    int64_t value = 0;
};

// Reads a text as SQL Server converts it to `type`: blanks around it, a
// sign, digits; a blank text, or a sign alone, is 0. Digits beyond the
// type's range overflow.
WholeText readWholeText(QStringView text, const WholeType& type);

// SQL Server's error for `text` (a value of the character type `from`) that
// did not read as a whole number of `type`: 245 when it is none, 248 (int)
// or 244 (smallint, tinyint) when it overflows, 8114 for a bigint; its values
// in `values`.
const ServerError& wholeTextError(const WholeText& read, const WholeType& type, const QString& from,
                                  const QString& text, QStringList& values);

// SQL Server's error for a whole number `value` written into a column of
// `type` beyond its range: 220 for an int constant in a smallint or tinyint,
// 8115 otherwise; its values in `values`.
const ServerError& wholeNumberOverflow(int64_t value, const WholeType& type, QStringList& values);

} // namespace platform::db::sqlite
