#pragma once

#include "platform/core/RunTimeError.h"

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace platform {

// Raised by Currency for an amount outside its range (run-time error 6,
// "Overflow") and for a division by zero (error 11, "Division by zero").
class CurrencyError : public RunTimeError
{
public:
    enum class Kind { Overflow, DivisionByZero };
    explicit CurrencyError(Kind kind);
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// Fixed-point money value: a 64-bit count of ten-thousandths, from
// -922337203685477.5808 to 922337203685477.5807. Every rounding (parsing more
// than four decimals, multiplication, division, round()) sends an exact half
// to the even digit unless asked otherwise, so amounts never pass through a
// double. Arithmetic whose result leaves the range, and division by zero,
// raise CurrencyError; nothing wraps.
class Currency
{
public:
    static constexpr int64_t kScale = 10000;

    enum class Rounding { HalfEven, HalfAwayFromZero };

    constexpr Currency() = default;
    static constexpr Currency fromUnits(int64_t units)
    {
        Currency c;
        c.m_units = units;
        return c;
    }
    // Raises CurrencyError when the amount is out of range.
    static Currency fromInt(int64_t whole);
    // Nearest representable value; used only where a double reaches us from
    // outside. Raises CurrencyError for an amount out of range or not a number.
    static Currency fromDouble(double value);
    // Whether fromInt / fromDouble can hold the amount.
    static bool holds(int64_t whole);
    static bool holds(double value);
    // Plain decimal text: optional blanks, optional sign, digits, optional
    // decimal sign followed by digits. No grouping; nullopt when malformed or
    // out of range.
    static std::optional<Currency> parse(QStringView text, QChar decimalSign = u'.',
                                         Rounding rounding = Rounding::HalfEven);

    constexpr int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / kScale; }
    // Shortest exact text with "." as decimal sign ("12.5", "-3", "0.0001").
    QString toString() const;
    // Exactly `decimals` digits after "." (0..4).
    QString toFixed(int decimals, Rounding rounding = Rounding::HalfEven) const;
    // Rounded at 0..4 decimals.
    Currency rounded(int decimals, Rounding rounding = Rounding::HalfEven) const;
    // The nearest whole number (always in range, unlike rounded(0) at the very ends).
    int64_t toWhole(Rounding rounding = Rounding::HalfEven) const;

    Currency operator-() const;
    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator*(Currency o) const { return multipliedBy(o, Rounding::HalfEven); }
    Currency operator/(Currency o) const { return dividedBy(o, Rounding::HalfEven); }
    Currency multipliedBy(Currency o, Rounding rounding) const;
    Currency dividedBy(Currency o, Rounding rounding) const;
    Currency& operator+=(Currency o) { return *this = *this + o; }
    Currency& operator-=(Currency o) { return *this = *this - o; }
    auto operator<=>(const Currency&) const = default;

private:
    int64_t m_units = 0;
};

} // namespace platform
