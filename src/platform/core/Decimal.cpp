#include "platform/core/Decimal.h"

#include <algorithm>
#include <limits>
#include <string>

namespace platform {

namespace {

using u128 = unsigned __int128;

constexpr u128 kLimit = u128(1) << 96;
constexpr int kMaxDigits = 29;
// Exponents beyond this only ever give zero or an overflow.
constexpr int64_t kExponentCap = 1'000'000'000;

u128 pow10(int n)
{
    u128 p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

// The first `keep` digits as a number, rounded half to even on the rest.
// A negative `keep` drops leading zeros that were never written, so it gives 0.
u128 roundedPrefix(const std::string& digits, int64_t keep)
{
    const int64_t size = int64_t(digits.size());
    if (keep < 0) {
        return 0;
    }
    u128 value = 0;
    for (int64_t i = 0; i < keep; ++i) {
        value = value * 10 + u128(digits[std::size_t(i)] - '0');
    }
    if (keep >= size) {
        return value;
    }
    const int first = digits[std::size_t(keep)] - '0';
    const bool sticky =
        std::any_of(digits.begin() + std::ptrdiff_t(keep) + 1, digits.end(), [](char c) { return c != '0'; });
    if (first > 5 || (first == 5 && (sticky || value % 2 != 0))) {
        ++value;
    }
    return value;
}

} // namespace

void Decimal::setMagnitude(u128 value)
{
    m_low = uint64_t(value);
    m_high = uint32_t(value >> 64);
}

Decimal Decimal::fromInt(int64_t value)
{
    Decimal d;
    d.m_negative = value < 0;
    const uint64_t bits = uint64_t(value);
    d.setMagnitude(d.m_negative ? u128(uint64_t(0) - bits) : u128(bits));
    return d;
}

std::optional<Decimal> Decimal::parse(QStringView text, ParseError* error, QChar decimalSign)
{
    const auto fail = [error](ParseError why) -> std::optional<Decimal> {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    text = text.trimmed();
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Significant digits without leading zeros; the value is digits x 10^exponent.
    std::string digits;
    int64_t exponent = 0;
    bool anyDigit = false;
    bool afterSign = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (afterSign) {
                --exponent;
            }
            if (!digits.empty() || c != u'0') {
                digits.push_back(char(c));
            }
        } else if (c == decimalSign.unicode() && !afterSign) {
            afterSign = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return fail(ParseError::Malformed);
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        int64_t sign = 1;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            sign = text[i] == u'-' ? -1 : 1;
            ++i;
        }
        int64_t value = 0;
        const qsizetype first = i;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            value = std::min(kExponentCap, value * 10 + (text[i].unicode() - u'0'));
        }
        if (i == first) {
            return fail(ParseError::Malformed);
        }
        exponent += sign * value;
    }
    if (i != n) {
        return fail(ParseError::Malformed);
    }
    if (digits.empty()) {
        return Decimal();
    }
    const int64_t size = int64_t(digits.size());
    if (size + exponent > kMaxDigits) {
        return fail(ParseError::Overflow);
    }
    int64_t scale = -exponent;
    if (exponent > 0) {
        digits.append(std::size_t(exponent), '0');
        scale = 0;
    }
    const int64_t total = int64_t(digits.size());
    int64_t cut = std::max<int64_t>({0, scale - kMaxScale, total - kMaxDigits});
    u128 magnitude = roundedPrefix(digits, total - cut);
    while (magnitude >= kLimit) {
        if (cut >= scale) {
            return fail(ParseError::Overflow);
        }
        ++cut;
        magnitude = roundedPrefix(digits, total - cut);
    }
    scale -= cut;
    while (scale > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --scale;
    }
    Decimal d;
    d.setMagnitude(magnitude);
    d.m_scale = magnitude == 0 ? 0 : uint8_t(scale);
    d.m_negative = negative && magnitude != 0;
    return d;
}

QString Decimal::toString() const
{
    std::string s;
    u128 m = magnitude();
    do {
        s.push_back(char('0' + int(m % 10)));
        m /= 10;
    } while (m != 0);
    while (s.size() <= m_scale) {
        s.push_back('0');
    }
    std::reverse(s.begin(), s.end());
    if (m_scale > 0) {
        s.insert(s.size() - std::size_t(m_scale), 1, '.');
    }
    if (m_negative) {
        s.insert(s.begin(), '-');
    }
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

std::optional<int64_t> Decimal::toInt64() const
{
    const u128 unit = pow10(m_scale);
    u128 whole = magnitude() / unit;
    const u128 twice = (magnitude() % unit) * 2;
    if (twice > unit || (twice == unit && whole % 2 != 0)) {
        ++whole;
    }
    const u128 limit = u128(std::numeric_limits<int64_t>::max()) + (m_negative ? 1 : 0);
    if (whole > limit) {
        return std::nullopt;
    }
    const uint64_t bits = uint64_t(whole);
    return m_negative ? int64_t(uint64_t(0) - bits) : int64_t(bits);
}

double Decimal::toDouble() const
{
    return toString().toDouble();
}

} // namespace platform
