#include "platform/core/Currency.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Divides a 128-bit numerator by a positive divisor, half to even.
int64_t divideHalfEven(__int128 numerator, __int128 divisor)
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
    if (twice > divisor || (twice == divisor && (q % 2 != 0))) {
        q += (numerator < 0) ? -1 : 1;
    }
    return static_cast<int64_t>(q);
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

Currency Currency::fromDouble(double value)
{
    return fromUnits(static_cast<int64_t>(std::nearbyint(value * kScale)));
}

std::optional<Currency> Currency::parse(QStringView text, QChar decimalSign)
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
    __int128 fraction = 0; // digits after the sign, scaled to kScale later
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
                if (whole > __int128(INT64_MAX) / kScale) {
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
    if (fifth > 5 || (fifth == 5 && (sticky || units % 2 != 0))) {
        ++units;
    }
    return fromUnits(static_cast<int64_t>(negative ? -units : units));
}

QString Currency::toString() const
{
    const bool negative = m_units < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(m_units) : uint64_t(m_units);
    QString text = QString::number(magnitude / kScale);
    uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0')) {
            digits.chop(1);
        }
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}

QString Currency::toFixed(int decimals) const
{
    decimals = std::clamp(decimals, 0, 4);
    const Currency r = rounded(decimals);
    const bool negative = r.m_units < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(r.m_units) : uint64_t(r.m_units);
    QString text = QString::number(magnitude / kScale);
    if (decimals > 0) {
        const uint64_t fraction = (magnitude % kScale) / pow10(4 - decimals);
        text += u'.' + QString::number(fraction).rightJustified(decimals, u'0');
    }
    return negative ? u'-' + text : text;
}

Currency Currency::rounded(int decimals) const
{
    decimals = std::clamp(decimals, 0, 4);
    const int64_t step = pow10(4 - decimals);
    return fromUnits(divideHalfEven(m_units, step) * step);
}

Currency Currency::operator*(Currency o) const
{
    return fromUnits(divideHalfEven(__int128(m_units) * o.m_units, kScale));
}

Currency Currency::operator/(Currency o) const
{
    return fromUnits(divideHalfEven(__int128(m_units) * kScale, o.m_units));
}

} // namespace platform
