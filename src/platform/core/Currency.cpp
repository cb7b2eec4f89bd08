#include "platform/core/Currency.h"

#include "platform/core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr __int128 kMaxUnits = std::numeric_limits<int64_t>::max();
constexpr __int128 kMinUnits = std::numeric_limits<int64_t>::min();

int64_t checked(__int128 units)
{
    if (units > kMaxUnits || units < kMinUnits)
        throw CurrencyError(CurrencyError::Kind::Overflow);
    return static_cast<int64_t>(units);
}

// Divides a 128-bit numerator by a non-zero divisor with the given rounding.
__int128 divideRounded(__int128 numerator, __int128 divisor, Currency::Rounding rounding)
{
    if (divisor < 0) {
        numerator = -numerator;
        divisor = -divisor;
    }
    __int128 q = numerator / divisor;
    __int128 r = numerator % divisor;
    if (r < 0) {
        r = -r;
    }
    const __int128 twice = r * 2;
    const bool up = rounding == Currency::Rounding::HalfEven ? (twice > divisor || (twice == divisor && q % 2 != 0))
                                                             : twice >= divisor;
    if (up && r != 0) {
        q += (numerator < 0) ? -1 : 1;
    }
    return q;
}

int64_t pow10(int n)
{
    int64_t p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

} // namespace

CurrencyError::CurrencyError(Kind kind)
    : RunTimeError(kind == Kind::Overflow ? 6 : 11,
                   kind == Kind::Overflow ? QStringLiteral("Overflow") : QStringLiteral("Division by zero")),
      m_kind(kind)
{
}

bool Currency::holds(int64_t whole)
{
    return whole <= std::numeric_limits<int64_t>::max() / kScale &&
           whole >= std::numeric_limits<int64_t>::min() / kScale;
}

bool Currency::holds(double value)
{
    // The bounds of the range, as doubles a little inside it.
    return std::isfinite(value) && std::fabs(value) < 922337203685477.0;
}

Currency Currency::fromInt(int64_t whole)
{
    if (!holds(whole))
        throw CurrencyError(CurrencyError::Kind::Overflow);
    return fromUnits(whole * kScale);
}

Currency Currency::fromDouble(double value)
{
    if (!holds(value))
        throw CurrencyError(CurrencyError::Kind::Overflow);
    return fromUnits(static_cast<int64_t>(std::nearbyint(value * kScale)));
}

std::optional<Currency> Currency::parse(QStringView text, QChar decimalSign, Rounding rounding)
{
    text = text.trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    bool negative = false;
    qsizetype i = 0;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }
    __int128 whole = 0;
    __int128 fraction = 0; // the first four decimals
    int fractionDigits = 0;
    bool seenDigit = false;
    bool seenSign = false;
    bool sticky = false; // a non-zero digit beyond the fifth decimal
    int fifth = -1;
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isDigit() && ch.unicode() < 128) {
            seenDigit = true;
            const int d = ch.unicode() - '0';
            if (!seenSign) {
                whole = whole * 10 + d;
                if (whole > kMaxUnits / kScale + 1) {
                    return std::nullopt;
                }
            } else if (fractionDigits < 4) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            } else if (fifth < 0) {
                fifth = d;
            } else if (d != 0) {
                sticky = true;
            }
        } else if (ch == decimalSign && !seenSign) {
            seenSign = true;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) {
        return std::nullopt;
    }
    __int128 units = whole * kScale + fraction * pow10(4 - fractionDigits);
    const bool up =
        rounding == Rounding::HalfEven ? fifth > 5 || (fifth == 5 && (sticky || units % 2 != 0)) : fifth >= 5;
    if (up) {
        ++units;
    }
    if (negative) {
        units = -units;
    }
    if (units > kMaxUnits || units < kMinUnits) {
        return std::nullopt;
    }
    return fromUnits(static_cast<int64_t>(units));
}

namespace {

// An amount of ten-thousandths written with `decimals` fraction digits (-1:
// as many as it has).
QString amountText(int64_t units, int decimals)
{
    const bool negative = units < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(units) : uint64_t(units);
    uint64_t whole = magnitude / 10000;
    uint64_t fraction = magnitude % 10000;
    int digits = decimals;
    if (digits < 0) {
        digits = 4;
        while (digits > 0 && fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
    } else {
        for (int k = digits; k < 4; ++k) {
            fraction /= 10;
        }
    }
    uint64_t scale = 1;
    for (int k = 0; k < digits; ++k)
        scale *= 10;
    return scaledText(negative, whole * scale + fraction, digits);
}

} // namespace

QString Currency::toString() const
{
    return amountText(m_units, -1);
}

QString Currency::toFixed(int decimals, Rounding rounding) const
{
    decimals = std::clamp(decimals, 0, 4);
    return amountText(rounded(decimals, rounding).m_units, decimals);
}

Currency Currency::rounded(int decimals, Rounding rounding) const
{
    decimals = std::clamp(decimals, 0, 4);
    const int64_t step = pow10(4 - decimals);
    return fromUnits(checked(divideRounded(m_units, step, rounding) * step));
}

int64_t Currency::toWhole(Rounding rounding) const
{
    return static_cast<int64_t>(divideRounded(m_units, kScale, rounding));
}

Currency Currency::operator-() const
{
    return fromUnits(checked(-__int128(m_units)));
}

Currency Currency::operator+(Currency o) const
{
    return fromUnits(checked(__int128(m_units) + o.m_units));
}

Currency Currency::operator-(Currency o) const
{
    return fromUnits(checked(__int128(m_units) - o.m_units));
}

Currency Currency::multipliedBy(Currency o, Rounding rounding) const
{
    return fromUnits(checked(divideRounded(__int128(m_units) * o.m_units, kScale, rounding)));
}

Currency Currency::dividedBy(Currency o, Rounding rounding) const
{
    if (o.m_units == 0)
        throw CurrencyError(CurrencyError::Kind::DivisionByZero);
    return fromUnits(checked(divideRounded(__int128(m_units) * kScale, o.m_units, rounding)));
}

} // namespace platform
