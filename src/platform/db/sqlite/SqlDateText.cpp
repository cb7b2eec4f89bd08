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
    QChar peek(qsizetype ahead = 0) const { return m_pos + ahead < m_s.size() ? m_s[m_pos + ahead] : QChar(); }
    // `c` is an upper-case letter; it is taken in either case.
    bool accept(QChar c)
    {
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }
    bool acceptNoCase(char c) { return accept(QLatin1Char(c)) || accept(QChar(QLatin1Char(c)).toLower()); }
    void skipBlanks()
    {
        while (accept(QLatin1Char(' '))) {
        }
    }
    // Reads up to `maxDigits` digits; -1 when there is none. `count` receives how many.
    int digits(int maxDigits, int& count)
    {
        int value = 0;
        count = 0;
        while (count < maxDigits && !atEnd() && m_s[m_pos].unicode() >= '0' && m_s[m_pos].unicode() <= '9') {
            value = value * 10 + (m_s[m_pos].unicode() - '0');
            ++m_pos;
            ++count;
        }
        return count > 0 ? value : -1;
    }
    // The count of digits that follow.
    int digitRun() const
    {
        int n = 0;
        while (m_pos + n < m_s.size() && m_s[m_pos + n].unicode() >= '0' && m_s[m_pos + n].unicode() <= '9')
            ++n;
        return n;
    }

private:
    QStringView m_s;
    qsizetype m_pos = 0;
};

struct Parts
{
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int ms = 0;
};

// hh:nn[:ss[.fff]] [AM|PM] up to the end of the text; false when it is no time.
bool readTime(Reader& r, Parts& p, bool& inRange)
{
    int count = 0;
    p.hour = r.digits(2, count);
    if (p.hour < 0 || !r.accept(QLatin1Char(':')))
        return false;
    p.minute = r.digits(2, count);
    if (count != 2)
        return false;
    if (r.accept(QLatin1Char(':'))) {
        p.second = r.digits(2, count);
        if (count != 2)
            return false;
        // After a point the digits are a fraction of a second; after a
        // colon they count thousandths ("10:00:00:12" is 12 ms).
        if (r.accept(QLatin1Char('.'))) {
            p.ms = r.digits(3, count);
            if (p.ms < 0)
                return false;
            for (; count < 3; ++count)
                p.ms *= 10;
        } else if (r.accept(QLatin1Char(':'))) {
            p.ms = r.digits(3, count);
            if (p.ms < 0)
                return false;
        }
    }
    r.skipBlanks();
    const bool pm = r.acceptNoCase('P');
    if (pm || r.acceptNoCase('A')) {
        if (!r.acceptNoCase('M'))
            return false;
        if (p.hour < 1 || p.hour > 12)
            inRange = false;
        p.hour = p.hour % 12 + (pm ? 12 : 0);
    }
    if (!r.atEnd())
        return false;
    if (p.hour > 23 || p.minute > 59 || p.second > 59)
        inRange = false;
    return true;
}

// The optional time after the day: blanks (or "T" in the ISO form) and a time.
bool readTimeAfterDay(Reader& r, Parts& p, bool& inRange, bool iso)
{
    if (r.atEnd())
        return true;
    if (iso && r.accept(QLatin1Char('T')))
        return readTime(r, p, inRange);
    if (r.peek() != QLatin1Char(' '))
        return false;
    r.skipBlanks();
    return r.atEnd() || readTime(r, p, inRange);
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.');
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

DateText readDateText(QStringView text, bool monthFirst)
{
    const QStringView s = text.trimmed();
    DateText out;
    Parts p;
    bool inRange = true;
    Reader r(s);
    const int run = r.digitRun();
    if (s.isEmpty()) {
        // A blank text is day 0.
    } else if (run >= 1 && run <= 2 && r.peek(run) == QLatin1Char(':')) {
        if (!readTime(r, p, inRange))
            return out;
    } else if (run == 8) { // yyyymmdd
        int count = 0;
        const int v = r.digits(8, count);
        p.year = v / 10000;
        p.month = v / 100 % 100;
        p.day = v % 100;
        out.hasDay = true;
        if (!readTimeAfterDay(r, p, inRange, false))
            return out;
    } else if (run == 4) { // yyyy-mm-dd
        int count = 0;
        p.year = r.digits(4, count);
        const QChar sep = r.peek();
        if (!isSeparator(sep) || !r.accept(sep) || (p.month = r.digits(2, count)) < 0 || !r.accept(sep) ||
            (p.day = r.digits(2, count)) < 0)
            return out;
        out.hasDay = true;
        if (!readTimeAfterDay(r, p, inRange, sep == QLatin1Char('-')))
            return out;
    } else if (run >= 1 && run <= 2) { // dd/mm/yyyy, dd/mm/yy
        int count = 0;
        const int first = r.digits(2, count);
        const QChar sep = r.peek();
        int second = -1;
        if (!isSeparator(sep) || !r.accept(sep) || (second = r.digits(2, count)) < 0 || !r.accept(sep))
            return out;
        const int yearDigits = r.digitRun();
        if (yearDigits != 2 && yearDigits != 4)
            return out;
        p.year = r.digits(4, count);
        if (yearDigits == 2)
            p.year += p.year < 50 ? 2000 : 1900;
        p.day = monthFirst ? second : first;
        p.month = monthFirst ? first : second;
        out.hasDay = true;
        if (!readTimeAfterDay(r, p, inRange, false))
            return out;
    } else {
        return out;
    }
    const QDate date(p.year, p.month, p.day);
    if (!inRange || !date.isValid() || p.year < 1753 || p.year > 9999) {
        out.reading = DateReading::OutOfRange;
        return out;
    }
    out.reading = DateReading::Date;
    out.value = SqlDateTime{date, ((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.ms};
    return out;
}

std::optional<SqlDateTime> parseSqlDateTime(QStringView text, bool monthFirst)
{
    const DateText d = readDateText(text, monthFirst);
    if (d.reading != DateReading::Date)
        return std::nullopt;
    return d.value;
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
