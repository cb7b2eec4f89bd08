#pragma once

#include "platform/core/Currency.h"

#include <QStringView>

#include <optional>

namespace platform::db::sqlite {

// How a text reads as an amount of money.
enum class MoneyReading { Amount, Overflow, NotAnAmount };

struct MoneyText
{
    MoneyReading reading = MoneyReading::NotAnAmount;
    Currency value;
};

// Reads a text as SQL Server converts it to money: blanks around it, a sign
// and a currency sign ("$") in either order, digits with thousands commas,
// a decimal point and decimals rounded half away from zero to four; a blank
// text is 0. Anything else is no amount (SQL Server's error 235).
MoneyText readMoneyText(QStringView text);

// Money is stored as a real, exact to the ten-thousandth up to 2^39. The
// ends of its range have no real of their own: the nearest one lies just
// beyond the range, and is the end it was written from. nullopt for any
// other real.
std::optional<Currency> moneyRangeEnd(double stored);

} // namespace platform::db::sqlite
