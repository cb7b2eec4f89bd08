#include "platform/db/sqlite/SqlMoneyText.h"

#include <QVarLengthArray>

#include <cstdint>
#include <limits>

namespace platform::db::sqlite {

MoneyText readMoneyText(QStringView text)
{
    const QStringView s = text.trimmed();
    MoneyText out;
    if (s.isEmpty()) {
        out.reading = MoneyReading::Amount;
        return out;
    }
    // Built on the stack: a literal per statement is read this way.
    QVarLengthArray<QChar, 40> canonical;
    qsizetype i = 0;
    bool sign = false;
    bool symbol = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!sign && (c == u'-' || c == u'+')) {
            sign = true;
            if (c == u'-')
                canonical.append(c);
        } else if (!symbol && c == u'$') {
            symbol = true;
        } else {
            break;
        }
    }
    bool point = false;
    bool digit = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            digit = true;
            canonical.append(c);
        } else if (c == u',' && !point) {
            // thousands commas stand anywhere in the whole part
        } else if (c == u'.' && !point) {
            point = true;
            canonical.append(c);
        } else {
            return out;
        }
    }
    if (!digit)
        return out;
    const auto amount =
        Currency::parse(QStringView(canonical.data(), canonical.size()), u'.', Currency::Rounding::HalfAwayFromZero);
    if (!amount) {
        out.reading = MoneyReading::Overflow;
        return out;
    }
    out.reading = MoneyReading::Amount;
    out.value = *amount;
    return out;
}

std::optional<Currency> moneyRangeEnd(double stored)
{
    for (const Currency end : {Currency::fromUnits(std::numeric_limits<int64_t>::max()),
                               Currency::fromUnits(std::numeric_limits<int64_t>::min())})
        if (stored == end.toDouble())
            return end;
    return std::nullopt;
}

} // namespace platform::db::sqlite
