#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace platform {

// Fixed-point money value: a 64-bit count of ten-thousandths. Every rounding
// (parsing more than four decimals, multiplication, division, round()) sends
// an exact half to the even digit, so amounts never pass through a double.
class Currency
{
public:
    static constexpr int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(int64_t units)
    {
        Currency c;
        c.m_units = units;
        return c;
    }
    static Currency fromInt(int64_t whole) { return fromUnits(whole * kScale); }
    // Nearest representable value; used only where a double reaches us from outside.
    static Currency fromDouble(double value);
    // Plain decimal text: optional blanks, optional sign, digits, optional
    // decimal sign followed by digits. No grouping; nullopt when malformed.
    static std::optional<Currency> parse(QStringView text, QChar decimalSign = u'.');

    constexpr int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / kScale; }
    // Shortest exact text with "." as decimal sign ("12.5", "-3", "0.0001").
    QString toString() const;
    // Exactly `decimals` digits after "." (0..4), half to even.
    QString toFixed(int decimals) const;
    // Half to even at 0..4 decimals.
    Currency rounded(int decimals) const;

    Currency operator-() const { return fromUnits(-m_units); }
    Currency operator+(Currency o) const { return fromUnits(m_units + o.m_units); }
    Currency operator-(Currency o) const { return fromUnits(m_units - o.m_units); }
    Currency operator*(Currency o) const;
    Currency operator/(Currency o) const;
    Currency& operator+=(Currency o)
    {
        m_units += o.m_units;
        return *this;
    }
    Currency& operator-=(Currency o)
    {
        m_units -= o.m_units;
        return *this;
    }
    auto operator<=>(const Currency&) const = default;

private:
    int64_t m_units = 0;
};

} // namespace platform
