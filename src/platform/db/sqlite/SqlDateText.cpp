#include "platform/db/sqlite/SqlDateText.h"

#include <QTime>

namespace platform::db::sqlite {

namespace {

constexpr int64_t kMsPerDay = 86400000;

// A small cursor over the text, reading runs of digits.
class Reader
{
public:
    explicit Reader(QStringView s) : m_s(s) {}
    bool atEnd() const { return m_pos >= m_s.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_s[m_pos]; }
    bool accept(QChar c)
    {
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }
    // Reads between `minDigits` and `maxDigits` digits; -1 when fewer are there.
    int digits(int minDigits, int maxDigits, int* count = nullptr)
    {
        int value = 0;
        int n = 0;
        while (n < maxDigits && !atEnd() && m_s[m_pos].isDigit() && m_s[m_pos].unicode() < 128) {
            value = value * 10 + (m_s[m_pos].unicode() - '0');
            ++m_pos;
            ++n;
        }
        if (count)
            *count = n;
        return n >= minDigits ? value : -1;
    }

private:
    QStringView m_s;
    qsizetype m_pos = 0;
};

// The optional time part: [ hh:nn[:ss[.fff]]] (blank or "T" before it).
bool readTime(Reader& r, int& msOfDay)
{
    msOfDay = 0;
    if (r.atEnd())
        return true;
    if (!r.accept(QLatin1Char(' ')) && !r.accept(QLatin1Char('T')))
        return false;
    while (r.accept(QLatin1Char(' '))) {
    }
    if (r.atEnd())
        return true;
    const int h = r.digits(1, 2);
    if (h < 0 || !r.accept(QLatin1Char(':')))
        return false;
    const int mi = r.digits(2, 2);
    if (mi < 0)
        return false;
    int s = 0;
    int ms = 0;
    if (r.accept(QLatin1Char(':'))) {
        s = r.digits(2, 2);
        if (s < 0)
            return false;
        if (r.accept(QLatin1Char('.'))) {
            int count = 0;
            ms = r.digits(1, 3, &count);
            if (ms < 0)
                return false;
            for (; count < 3; ++count)
                ms *= 10;
        }
    }
    if (!r.atEnd() || h > 23 || mi > 59 || s > 59)
        return false;
    msOfDay = ((h * 60 + mi) * 60 + s) * 1000 + ms;
    return true;
}

} // namespace

QDate dayZero()
{
    return QDate(1900, 1, 1);
}

int64_t SqlDateTime::msSinceDayZero() const
{
    return (date.toJulianDay() - dayZero().toJulianDay()) * kMsPerDay + msOfDay;
}

SqlDateTime SqlDateTime::fromMsSinceDayZero(int64_t ms)
{
    int64_t days = ms / kMsPerDay;
    int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    return SqlDateTime{QDate::fromJulianDay(dayZero().toJulianDay() + days), int(rest)};
}

QString SqlDateTime::toStorageText() const
{
    const QTime t = QTime::fromMSecsSinceStartOfDay(msOfDay);
    QString s = date.toString(u"yyyy-MM-dd") + QLatin1Char(' ') + t.toString(u"HH:mm:ss");
    if (t.msec() != 0)
        s += QLatin1Char('.') + QString::number(t.msec()).rightJustified(3, QLatin1Char('0'));
    return s;
}

std::optional<SqlDateTime> parseSqlDateTime(QStringView text, bool monthFirst)
{
    const QStringView s = text.trimmed();
    if (s.size() < 8)
        return std::nullopt;
    Reader r(s);
    int y = -1;
    int m = -1;
    int d = -1;
    int count = 0;
    const int first = r.digits(1, 8, &count);
    if (first < 0)
        return std::nullopt;
    if (count == 8) { // yyyymmdd
        y = first / 10000;
        m = first / 100 % 100;
        d = first % 100;
    } else if (count == 4) { // yyyy-mm-dd
        y = first;
        if (!r.accept(QLatin1Char('-')))
            return std::nullopt;
        m = r.digits(1, 2);
        if (m < 0 || !r.accept(QLatin1Char('-')))
            return std::nullopt;
        d = r.digits(1, 2);
    } else if (count <= 2) { // dd/mm/yyyy or dd-mm-yyyy
        const QChar sep = r.peek();
        if (sep != QLatin1Char('/') && sep != QLatin1Char('-') && sep != QLatin1Char('.'))
            return std::nullopt;
        r.accept(sep);
        const int second = r.digits(1, 2);
        if (second < 0 || !r.accept(sep))
            return std::nullopt;
        y = r.digits(4, 4);
        d = monthFirst ? second : first;
        m = monthFirst ? first : second;
    } else {
        return std::nullopt;
    }
    if (y < 0 || m < 0 || d < 0)
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid() || y < 1753)
        return std::nullopt;
    int msOfDay = 0;
    if (!readTime(r, msOfDay))
        return std::nullopt;
    return SqlDateTime{date, msOfDay};
}

bool isStorageDateTime(QStringView t)
{
    auto digitsAt = [&](qsizetype from, qsizetype n) {
        for (qsizetype i = from; i < from + n; ++i)
            if (i >= t.size() || !t[i].isDigit())
                return false;
        return true;
    };
    if (t.size() != 19 && t.size() != 23)
        return false;
    if (!digitsAt(0, 4) || t[4] != QLatin1Char('-') || !digitsAt(5, 2) || t[7] != QLatin1Char('-') || !digitsAt(8, 2) ||
        t[10] != QLatin1Char(' ') || !digitsAt(11, 2) || t[13] != QLatin1Char(':') || !digitsAt(14, 2) ||
        t[16] != QLatin1Char(':') || !digitsAt(17, 2))
        return false;
    return t.size() == 19 || (t[19] == QLatin1Char('.') && digitsAt(20, 3));
}

} // namespace platform::db::sqlite
