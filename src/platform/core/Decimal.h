#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace platform {

// The platform's decimal number: a sign, a 96-bit magnitude and a scale of 0
// to 28 decimals, so 28 or 29 significant digits and never a double. The
// largest magnitude is 79228162514264337593543950335, the smallest step
// 0.0000000000000000000000000001. Values are kept without trailing zeros, so
// equal numbers compare equal whatever text they came from.
class Decimal
{
public:
    static constexpr int kMaxScale = 28;

    // Why a text did not convert.
    enum class ParseError { Malformed, Overflow };

    Decimal() = default;
    static Decimal fromInt(int64_t value);
    // Optional blanks around, an optional sign, digits with an optional
    // decimal sign, and an optional exponent ("e" or "E", a sign, digits).
    // Digits beyond the 28th decimal or beyond what 96 bits hold are rounded
    // half to even; a magnitude above the largest fails with Overflow.
    static std::optional<Decimal> parse(QStringView text, ParseError* error = nullptr, QChar decimalSign = u'.');

    bool isZero() const { return m_low == 0 && m_high == 0; }
    bool isNegative() const { return m_negative; }
    // Decimals in use (trailing zeros dropped).
    int scale() const { return m_scale; }

    // Shortest exact text with "." as decimal sign ("12.5", "-3", "0.0001").
    QString toString() const;
    // Nearest whole number, half to even; nullopt outside 64 bits.
    std::optional<int64_t> toInt64() const;
    double toDouble() const;

    bool operator==(const Decimal&) const = default;

private:
    unsigned __int128 magnitude() const { return (static_cast<unsigned __int128>(m_high) << 64) | m_low; }
    void setMagnitude(unsigned __int128 value);

    // The 96-bit magnitude in two words, so that a Variant holding a decimal
    // is no larger than one holding a text.
    uint64_t m_low = 0;
    uint32_t m_high = 0;
    uint8_t m_scale = 0;
    bool m_negative = false;
};

} // namespace platform
