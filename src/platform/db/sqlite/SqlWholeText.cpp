#include "platform/db/sqlite/SqlWholeText.h"

#include <limits>

namespace platform::db::sqlite {

namespace {

constexpr WholeType kTypes[] = {
    {8, "tinyint", 0, 255},
    {16, "smallint", -32768, 32767},
    {32, "int", std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
    {64, "bigint", std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()},
};

} // namespace

const WholeType& wholeType(int bits)
{
    for (const WholeType& t : kTypes)
        if (t.bits == bits)
            return t;
    return kTypes[2];
}

const WholeType& wholeTypeOfPrecision(int precision)
{
    switch (precision) {
    case 3:
        return kTypes[0];
    case 5:
        return kTypes[1];
    case 19:
        return kTypes[3];
    default:
        return kTypes[2];
    }
}

WholeText readWholeText(QStringView text, const WholeType& type)
{
    const QStringView s = text.trimmed();
    WholeText out;
    if (s.isEmpty()) {
        out.reading = WholeReading::Whole;
        return out;
    }
    qsizetype i = 0;
    const bool negative = s[0] == u'-';
    if (negative || s[0] == u'+')
        ++i;
    // A sign alone is 0, as SQL Server reads it.
    if (i == s.size()) {
        out.reading = WholeReading::Whole;
        return out;
    }
    // The magnitude, kept within 64 bits: a longer run of digits overflows.
    uint64_t magnitude = 0;
    bool overflow = false;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return out;
        if (!overflow && (__builtin_mul_overflow(magnitude, uint64_t(10), &magnitude) ||
                          __builtin_add_overflow(magnitude, uint64_t(c - u'0'), &magnitude)))
            overflow = true;
    }
    const uint64_t limit = negative ? uint64_t(0) - uint64_t(type.low) : uint64_t(type.high);
    if (overflow || magnitude > limit) {
        out.reading = WholeReading::Overflow;
        return out;
    }
    out.reading = WholeReading::Whole;
    out.value = negative ? int64_t(uint64_t(0) - magnitude) : int64_t(magnitude);
    return out;
}

const ServerError& wholeTextError(const WholeText& read, const WholeType& type, const QString& from,
                                  const QString& text, QStringList& values)
{
    if (read.reading == WholeReading::Overflow && type.bits == 64) {
        values = {from, QLatin1String(type.name)};
        return serverError::NotANumber;
    }
    if (read.reading == WholeReading::Overflow && type.bits == 32) {
        values = {from, text};
        return serverError::IntOverflow;
    }
    if (read.reading == WholeReading::Overflow) {
        values = {from, text, type.bits == 8 ? QStringLiteral("INT1") : QStringLiteral("INT2")};
        return serverError::ShortIntOverflow;
    }
    values = {from, text, QLatin1String(type.name)};
    return serverError::NotAWholeNumber;
}

const ServerError& wholeNumberOverflow(int64_t value, const WholeType& type, QStringList& values)
{
    if (type.bits < 32 && value >= std::numeric_limits<int32_t>::min() &&
        value <= std::numeric_limits<int32_t>::max()) {
        values = {QLatin1String(type.name), QString::number(value)};
        return serverError::ValueOverflow;
    }
    values = {QStringLiteral("expression"), QLatin1String(type.name)};
    return serverError::ArithmeticOverflow;
}

} // namespace platform::db::sqlite
