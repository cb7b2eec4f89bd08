#include "platform/db/sqlite/SqlMoneyText.h"

#include <QString>

namespace platform::db::sqlite {

MoneyText readMoneyText(QStringView text)
{
    const QStringView s = text.trimmed();
    MoneyText out;
    if (s.isEmpty()) {
        out.reading = MoneyReading::Amount;
        return out;
    }
    QString canonical;
    qsizetype i = 0;
    bool sign = false;
    bool symbol = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!sign && (c == u'-' || c == u'+')) {
            sign = true;
            if (c == u'-')
                canonical += c;
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
            canonical += c;
        } else if (c == u',' && !point) {
            // thousands commas stand anywhere in the whole part
        } else if (c == u'.' && !point) {
            point = true;
            canonical += c;
        } else {
            return out;
        }
    }
    if (!digit)
        return out;
    const auto amount = Currency::parse(canonical, u'.', Currency::Rounding::HalfAwayFromZero);
    if (!amount) {
        out.reading = MoneyReading::Overflow;
        return out;
    }
    out.reading = MoneyReading::Amount;
    out.value = *amount;
    return out;
}

} // namespace platform::db::sqlite
