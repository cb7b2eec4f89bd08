#include "platform/db/sqlite/SqliteExtensions.h"

#include "platform/core/Runtime.h"
#include "platform/db/sqlite/SqlDateText.h"

#include <QString>
#include <QRegularExpression>
#include <QStringView>

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace platform::db::sqlite {

namespace {

// ---------------------------------------------------------------- values

QString textArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i]))
            return true;
    return false;
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

QString rightTrimmedBlanks(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n).toString();
}

// The shortest text that reads back as the same double.
QString doubleText(double d)
{
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

// A value as SQL Server writes it when converting to a character type.
QString valueText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return doubleText(sqlite3_value_double(v));
    default:
        return textArg(v);
    }
}

// A date-time argument: the storage text (or any form the system sends), or
// a number of days since day 0, as SQL Server converts numbers.
std::optional<SqlDateTime> dateArg(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return SqlDateTime::fromMsSinceDayZero(sqlite3_value_int64(v) * 86400000);
    case SQLITE_FLOAT:
        return SqlDateTime::fromMsSinceDayZero(int64_t(std::llround(sqlite3_value_double(v) * 86400000.0)));
    default:
        return parseSqlDateTime(textArg(v));
    }
}

bool requireDate(sqlite3_context* ctx, sqlite3_value* v, SqlDateTime& out)
{
    const auto d = dateArg(v);
    if (!d) {
        resultError(ctx, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        return false;
    }
    out = *d;
    return true;
}

// ---------------------------------------------------------------- collation

// Letters without regard to case (Unicode case folding), trailing blanks not
// counted. ASCII texts, by far the most common, are compared in place.
int compareText(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    while (lengthA > 0 && x[lengthA - 1] == ' ')
        --lengthA;
    while (lengthB > 0 && y[lengthB - 1] == ' ')
        --lengthB;
    const int n = std::min(lengthA, lengthB);
    for (int i = 0; i < n; ++i) {
        unsigned char cx = x[i];
        unsigned char cy = y[i];
        if (cx >= 0x80 || cy >= 0x80) {
            const QString sx = QString::fromUtf8(reinterpret_cast<const char*>(x) + i, lengthA - i).toCaseFolded();
            const QString sy = QString::fromUtf8(reinterpret_cast<const char*>(y) + i, lengthB - i).toCaseFolded();
            const int c = sx.compare(sy, Qt::CaseSensitive);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        if (cx >= 'A' && cx <= 'Z')
            cx = cx - 'A' + 'a';
        if (cy >= 'A' && cy <= 'Z')
            cy = cy - 'A' + 'a';
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

// ---------------------------------------------------------------- LIKE

// A LIKE pattern as SQL Server reads it: % any run, _ one character,
// [abc], [a-z] and [^...] sets; letters compared after case folding.
class LikePattern
{
public:
    LikePattern(const QString& pattern, char32_t escape)
    {
        const QList<uint> p = pattern.toCaseFolded().toUcs4();
        for (qsizetype i = 0; i < p.size(); ++i) {
            const char32_t c = p[i];
            if (escape != 0 && c == escape && i + 1 < p.size()) {
                m_items.push_back(Item{Item::Char, char32_t(p[++i]), false, {}});
            } else if (c == U'%') {
                if (m_items.empty() || m_items.back().kind != Item::Any)
                    m_items.push_back(Item{Item::Any, 0, false, {}});
            } else if (c == U'_') {
                m_items.push_back(Item{Item::One, 0, false, {}});
            } else if (c == U'[' && closeOf(p, i) > i) {
                const qsizetype close = closeOf(p, i);
                Item set{Item::Set, 0, false, {}};
                qsizetype j = i + 1;
                if (p[j] == U'^' && j + 1 < close) {
                    set.negated = true;
                    ++j;
                }
                for (; j < close; ++j) {
                    if (j + 2 < close && p[j + 1] == U'-')
                        set.ranges.push_back({char32_t(p[j]), char32_t(p[j + 2])}), j += 2;
                    else
                        set.ranges.push_back({char32_t(p[j]), char32_t(p[j])});
                }
                m_items.push_back(std::move(set));
                i = close;
            } else {
                m_items.push_back(Item{Item::Char, c, false, {}});
            }
        }
    }

    bool matches(const QList<uint>& s) const
    {
        // Greedy matching with one back-track point per %.
        qsizetype pi = 0;
        qsizetype si = 0;
        qsizetype starItem = -1;
        qsizetype starText = 0;
        const qsizetype pn = qsizetype(m_items.size());
        while (si < s.size()) {
            if (pi < pn && m_items[std::size_t(pi)].kind == Item::Any) {
                starItem = pi++;
                starText = si;
            } else if (pi < pn && one(m_items[std::size_t(pi)], s[si])) {
                ++pi;
                ++si;
            } else if (starItem >= 0) {
                pi = starItem + 1;
                si = ++starText;
            } else {
                return false;
            }
        }
        while (pi < pn && m_items[std::size_t(pi)].kind == Item::Any)
            ++pi;
        return pi == pn;
    }

private:
    struct Item
    {
        enum Kind { Char, One, Any, Set } kind;
        char32_t c;
        bool negated;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };

    static qsizetype closeOf(const QList<uint>& p, qsizetype open)
    {
        // The first "]" after at least one member closes the set.
        for (qsizetype j = open + 2; j < p.size(); ++j)
            if (p[j] == U']')
                return j;
        return -1;
    }

    static bool one(const Item& item, char32_t c)
    {
        switch (item.kind) {
        case Item::Char:
            return item.c == c;
        case Item::One:
            return true;
        case Item::Set: {
            bool in = false;
            for (const auto& [lo, hi] : item.ranges)
                if (c >= lo && c <= hi)
                    in = true;
            return in != item.negated;
        }
        case Item::Any:
            break;
        }
        return false;
    }

    std::vector<Item> m_items;
};

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // SQLite calls like(pattern, text[, escape]).
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const QList<uint> e = textArg(argv[2]).toUcs4();
        if (e.size() != 1) {
            resultError(ctx, QStringLiteral("The escape character of LIKE must be one character."));
            return;
        }
        escape = e[0];
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new LikePattern(textArg(argv[0]), escape);
        sqlite3_set_auxdata(ctx, 0, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) { // SQLite dropped it at once: match with a local copy
            const LikePattern local(textArg(argv[0]), escape);
            const QString text = valueText(argv[1]).toCaseFolded();
            sqlite3_result_int(ctx, local.matches(text.toUcs4()) || local.matches(rightTrimmedBlanks(text).toUcs4()));
            return;
        }
    }
    const QString text = valueText(argv[1]).toCaseFolded();
    // Trailing blanks of the value are ignored, as for SQL Server's char and varchar.
    bool match = pattern->matches(text.toUcs4());
    if (!match && text.endsWith(QLatin1Char(' ')))
        match = pattern->matches(rightTrimmedBlanks(text).toUcs4());
    sqlite3_result_int(ctx, match ? 1 : 0);
}

// ---------------------------------------------------------------- date parts

enum class DatePart { Year, Quarter, Month, DayOfYear, Day, Week, WeekDay, Hour, Minute, Second, Millisecond };

std::optional<DatePart> datePart(const QString& name)
{
    const QString n = name.trimmed().toLower();
    static const std::pair<const char*, DatePart> table[] = {
        {"year", DatePart::Year},       {"yy", DatePart::Year},
        {"yyyy", DatePart::Year},       {"quarter", DatePart::Quarter},
        {"qq", DatePart::Quarter},      {"q", DatePart::Quarter},
        {"month", DatePart::Month},     {"mm", DatePart::Month},
        {"m", DatePart::Month},         {"dayofyear", DatePart::DayOfYear},
        {"dy", DatePart::DayOfYear},    {"y", DatePart::DayOfYear},
        {"day", DatePart::Day},         {"dd", DatePart::Day},
        {"d", DatePart::Day},           {"week", DatePart::Week},
        {"wk", DatePart::Week},         {"ww", DatePart::Week},
        {"weekday", DatePart::WeekDay}, {"dw", DatePart::WeekDay},
        {"w", DatePart::WeekDay},       {"hour", DatePart::Hour},
        {"hh", DatePart::Hour},         {"minute", DatePart::Minute},
        {"mi", DatePart::Minute},       {"n", DatePart::Minute},
        {"second", DatePart::Second},   {"ss", DatePart::Second},
        {"s", DatePart::Second},        {"millisecond", DatePart::Millisecond},
        {"ms", DatePart::Millisecond},
    };
    for (const auto& [key, part] : table)
        if (n == QLatin1String(key))
            return part;
    return std::nullopt;
}

bool requirePart(sqlite3_context* ctx, sqlite3_value* v, DatePart& out)
{
    const auto p = datePart(textArg(v));
    if (!p) {
        resultError(ctx, QStringLiteral("'%1' is not a recognized datepart option.").arg(textArg(v)));
        return false;
    }
    out = *p;
    return true;
}

constexpr int64_t kMsPer[] = {0, 0, 0, 86400000, 86400000, 7 * 86400000LL, 86400000, 3600000, 60000, 1000, 1};

void dateAddFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    DatePart part;
    SqlDateTime d;
    if (!requirePart(ctx, argv[0], part) || !requireDate(ctx, argv[2], d))
        return;
    // SQL Server takes the whole part of the number.
    const int64_t n = sqlite3_value_type(argv[1]) == SQLITE_FLOAT ? int64_t(std::trunc(sqlite3_value_double(argv[1])))
                                                                  : sqlite3_value_int64(argv[1]);
    SqlDateTime r = d;
    switch (part) {
    case DatePart::Year:
        r.date = d.date.addYears(int(n));
        break;
    case DatePart::Quarter:
        r.date = d.date.addMonths(int(n * 3));
        break;
    case DatePart::Month:
        r.date = d.date.addMonths(int(n));
        break;
    default:
        r = SqlDateTime::fromMsSinceDayZero(d.msSinceDayZero() + n * kMsPer[int(part)]);
        break;
    }
    if (!r.date.isValid() || r.date.year() < 1753 || r.date.year() > 9999) {
        resultError(ctx, QStringLiteral("Adding a value to a 'datetime' column caused an overflow."));
        return;
    }
    resultText(ctx, r.toStorageText());
}

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The number of boundaries of `part` crossed from a to b, as SQL Server counts.
int64_t dateDiff(DatePart part, const SqlDateTime& a, const SqlDateTime& b)
{
    switch (part) {
    case DatePart::Year:
        return b.date.year() - a.date.year();
    case DatePart::Quarter:
        return (b.date.year() * 4 + (b.date.month() - 1) / 3) - (a.date.year() * 4 + (a.date.month() - 1) / 3);
    case DatePart::Month:
        return (b.date.year() * 12 + b.date.month()) - (a.date.year() * 12 + a.date.month());
    case DatePart::DayOfYear:
    case DatePart::Day:
    case DatePart::WeekDay:
        return b.date.toJulianDay() - a.date.toJulianDay();
    case DatePart::Week: {
        // Weeks begin on Sunday; 1899-12-31 was a Sunday.
        const int64_t sunday = QDate(1899, 12, 31).toJulianDay();
        return floorDiv(b.date.toJulianDay() - sunday, 7) - floorDiv(a.date.toJulianDay() - sunday, 7);
    }
    default:
        return floorDiv(b.msSinceDayZero(), kMsPer[int(part)]) - floorDiv(a.msSinceDayZero(), kMsPer[int(part)]);
    }
}

void dateDiffFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    DatePart part;
    SqlDateTime a;
    SqlDateTime b;
    if (!requirePart(ctx, argv[0], part) || !requireDate(ctx, argv[1], a) || !requireDate(ctx, argv[2], b))
        return;
    const int64_t r = dateDiff(part, a, b);
    if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min()) {
        resultError(ctx, QStringLiteral("The datediff function resulted in an overflow. The number of dateparts "
                                        "separating two date/time instances is too large."));
        return;
    }
    sqlite3_result_int64(ctx, r);
}

void datePartFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    DatePart part;
    SqlDateTime d;
    if (!requirePart(ctx, argv[0], part) || !requireDate(ctx, argv[1], d))
        return;
    const QTime t = QTime::fromMSecsSinceStartOfDay(d.msOfDay);
    int64_t r = 0;
    switch (part) {
    case DatePart::Year:
        r = d.date.year();
        break;
    case DatePart::Quarter:
        r = (d.date.month() - 1) / 3 + 1;
        break;
    case DatePart::Month:
        r = d.date.month();
        break;
    case DatePart::DayOfYear:
        r = d.date.dayOfYear();
        break;
    case DatePart::Day:
        r = d.date.day();
        break;
    case DatePart::Week:
        r = dateDiff(DatePart::Week, SqlDateTime{QDate(d.date.year(), 1, 1), 0}, d) + 1;
        break;
    case DatePart::WeekDay:
        r = d.date.dayOfWeek() % 7 + 1;
        break; // Sunday is 1
    case DatePart::Hour:
        r = t.hour();
        break;
    case DatePart::Minute:
        r = t.minute();
        break;
    case DatePart::Second:
        r = t.second();
        break;
    case DatePart::Millisecond:
        r = t.msec();
        break;
    }
    sqlite3_result_int64(ctx, r);
}

template <DatePart P> void datePartShortcut(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    SqlDateTime d;
    if (!requireDate(ctx, argv[0], d))
        return;
    sqlite3_result_int(ctx, P == DatePart::Year ? d.date.year() : P == DatePart::Month ? d.date.month() : d.date.day());
}

void getDateFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, platform::now().toStorageText());
}

// ---------------------------------------------------------------- conversions

QString styledDate(const SqlDateTime& d, int style, bool& known)
{
    known = true;
    const QTime t = QTime::fromMSecsSinceStartOfDay(d.msOfDay);
    switch (style) {
    case 101:
        return d.date.toString(u"MM/dd/yyyy");
    case 103:
        return d.date.toString(u"dd/MM/yyyy");
    case 104:
        return d.date.toString(u"dd.MM.yyyy");
    case 105:
        return d.date.toString(u"dd-MM-yyyy");
    case 108:
    case 8:
        return t.toString(u"HH:mm:ss");
    case 112:
        return d.date.toString(u"yyyyMMdd");
    case 3:
        return d.date.toString(u"dd/MM/yy");
    case 5:
        return d.date.toString(u"dd-MM-yy");
    case 23:
        return d.date.toString(u"yyyy-MM-dd");
    case 120:
        return d.date.toString(u"yyyy-MM-dd") + t.toString(u" HH:mm:ss");
    case 121:
        return d.date.toString(u"yyyy-MM-dd") + t.toString(u" HH:mm:ss.zzz");
    case 0:
    case 100: {
        static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        const int h12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
        return QStringLiteral("%1 %2 %3 %4:%5%6")
            .arg(QLatin1String(months[d.date.month() - 1]))
            .arg(d.date.day(), 2)
            .arg(d.date.year())
            .arg(h12, 2)
            .arg(t.minute(), 2, 10, QLatin1Char('0'))
            .arg(t.hour() < 12 ? u"AM" : u"PM");
    }
    default:
        known = false;
        return {};
    }
}

// tsql_convert_text(value, style, length): CONVERT or CAST to a character
// type. A style formats a date-time value; `length` (30 when the statement
// gave none) cuts the text, as SQL Server does for a conversion.
void convertTextFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s = valueText(argv[0]);
    if (!isNull(argv[1]) && sqlite3_value_type(argv[0]) == SQLITE_TEXT && isStorageDateTime(s)) {
        bool known = false;
        const QString styled = styledDate(*parseSqlDateTime(s), sqlite3_value_int(argv[1]), known);
        if (!known) {
            resultError(ctx, QStringLiteral("%1 is not a valid style number when converting from datetime to a "
                                            "character string.")
                                 .arg(sqlite3_value_int(argv[1])));
            return;
        }
        s = styled;
    }
    const int length = sqlite3_value_int(argv[2]);
    if (length > 0 && s.size() > length)
        s.truncate(length);
    resultText(ctx, s);
}

// A decimal number as digits: sign, integer digits, fraction digits.
struct Decimal
{
    bool negative = false;
    QString intDigits;
    QString fracDigits;
};

std::optional<Decimal> parseDecimal(QString s)
{
    s = s.trimmed();
    Decimal d;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        d.negative = s[i++] == QLatin1Char('-');
    for (; i < s.size() && s[i].isDigit(); ++i)
        d.intDigits += s[i];
    if (i < s.size() && s[i] == QLatin1Char('.'))
        for (++i; i < s.size() && s[i].isDigit(); ++i)
            d.fracDigits += s[i];
    int exponent = 0;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        bool ok = false;
        exponent = s.mid(i + 1).toInt(&ok);
        if (!ok)
            return std::nullopt;
        i = s.size();
    }
    if (i != s.size() || (d.intDigits.isEmpty() && d.fracDigits.isEmpty()))
        return std::nullopt;
    for (; exponent > 0; --exponent) {
        d.intDigits += d.fracDigits.isEmpty() ? QLatin1Char('0') : d.fracDigits[0];
        if (!d.fracDigits.isEmpty())
            d.fracDigits.remove(0, 1);
    }
    for (; exponent < 0; ++exponent) {
        d.fracDigits.prepend(d.intDigits.isEmpty() ? QLatin1Char('0') : d.intDigits.back());
        if (!d.intDigits.isEmpty())
            d.intDigits.chop(1);
    }
    while (d.intDigits.size() > 1 && d.intDigits[0] == QLatin1Char('0'))
        d.intDigits.remove(0, 1);
    if (d.intDigits.isEmpty())
        d.intDigits = QStringLiteral("0");
    return d;
}

// Rounds to `scale` fraction digits, half away from zero.
Decimal roundDecimal(Decimal d, int scale)
{
    if (d.fracDigits.size() <= scale) {
        d.fracDigits = d.fracDigits.leftJustified(scale, QLatin1Char('0'));
        return d;
    }
    const bool up = d.fracDigits[scale].unicode() >= '5';
    QString digits = d.intDigits + d.fracDigits.left(scale);
    if (up) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
    }
    d.intDigits = digits.left(digits.size() - scale);
    d.fracDigits = digits.right(scale);
    while (d.intDigits.size() > 1 && d.intDigits[0] == QLatin1Char('0'))
        d.intDigits.remove(0, 1);
    if (d.intDigits.isEmpty())
        d.intDigits = QStringLiteral("0");
    return d;
}

// tsql_decimal(value, precision, scale): CONVERT or CAST to decimal(p,s),
// numeric or money; exact, half away from zero.
void decimalFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int precision = sqlite3_value_int(argv[1]);
    const int scale = sqlite3_value_int(argv[2]);
    const auto parsed = parseDecimal(valueText(argv[0]));
    if (!parsed) {
        resultError(ctx, QStringLiteral("Error converting data type nvarchar to numeric."));
        return;
    }
    const Decimal d = roundDecimal(*parsed, scale);
    if ((d.intDigits == QLatin1String("0") ? 0 : d.intDigits.size()) > precision - scale) {
        resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression to data type numeric."));
        return;
    }
    const bool zero =
        d.intDigits == QLatin1String("0") && !d.fracDigits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    const QString text = (d.negative && !zero ? QStringLiteral("-") : QString()) + d.intDigits +
                         (scale > 0 ? QLatin1Char('.') + d.fracDigits : QString());
    if (scale == 0 && d.intDigits.size() < 19)
        sqlite3_result_int64(ctx, text.toLongLong());
    else
        sqlite3_result_double(ctx, text.toDouble());
}

// tsql_int(value, bits): CONVERT or CAST to int (32), bigint (64), smallint
// (16) or tinyint (8): numbers lose their fraction, texts must hold a whole number.
void intFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int bits = sqlite3_value_int(argv[1]);
    int64_t r = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
        r = sqlite3_value_int64(argv[0]);
        break;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(argv[0]));
        if (std::fabs(d) > 9.2e18) {
            resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression to data type int."));
            return;
        }
        r = int64_t(d);
        break;
    }
    default: {
        const QString s = textArg(argv[0]).trimmed();
        bool ok = false;
        r = s.toLongLong(&ok);
        if (!ok) {
            resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data type "
                                            "int.")
                                 .arg(textArg(argv[0])));
            return;
        }
    }
    }
    const int64_t lo = bits == 8 ? 0 : bits >= 64 ? std::numeric_limits<int64_t>::min() : -(int64_t(1) << (bits - 1));
    const int64_t hi = bits == 8    ? 255
                       : bits >= 64 ? std::numeric_limits<int64_t>::max()
                                    : (int64_t(1) << (bits - 1)) - 1;
    if (r < lo || r > hi) {
        resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression to data type int."));
        return;
    }
    sqlite3_result_int64(ctx, r);
}

void floatFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    }
    bool ok = false;
    const double d = textArg(argv[0]).trimmed().toDouble(&ok);
    if (!ok) {
        resultError(ctx, QStringLiteral("Error converting data type nvarchar to float."));
        return;
    }
    sqlite3_result_double(ctx, d);
}

void bitFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const QString s = textArg(argv[0]).trimmed();
        if (s.compare(u"true", Qt::CaseInsensitive) == 0 || s.compare(u"false", Qt::CaseInsensitive) == 0) {
            sqlite3_result_int(ctx, s.compare(u"true", Qt::CaseInsensitive) == 0 ? 1 : 0);
            return;
        }
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (!ok) {
            resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data type "
                                            "bit.")
                                 .arg(s));
            return;
        }
        sqlite3_result_int(ctx, d != 0 ? 1 : 0);
        return;
    }
    sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0 ? 1 : 0);
}

// tsql_datetime(value, style): CONVERT or CAST to a date-time type.
void dateTimeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int style = isNull(argv[1]) ? 0 : sqlite3_value_int(argv[1]);
    std::optional<SqlDateTime> d;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT)
        d = parseSqlDateTime(textArg(argv[0]), style == 101 || style == 110);
    else
        d = dateArg(argv[0]);
    if (!d) {
        resultError(ctx, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        return;
    }
    resultText(ctx, d->toStorageText());
}

// ---------------------------------------------------------------- texts

// The number of characters without the trailing blanks.
void lenFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = valueText(argv[0]).toUtf8();
    qsizetype n = utf8.size();
    while (n > 0 && utf8[n - 1] == ' ')
        --n;
    int64_t count = 0;
    for (qsizetype i = 0; i < n; ++i)
        if ((uchar(utf8[i]) & 0xC0) != 0x80)
            ++count;
    sqlite3_result_int64(ctx, count);
}

// Bytes as a single-byte column holds them: one per character of a text.
void dataLengthFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_BLOB:
        sqlite3_result_int(ctx, sqlite3_value_bytes(argv[0]));
        return;
    case SQLITE_INTEGER: {
        const int64_t v = sqlite3_value_int64(argv[0]);
        sqlite3_result_int(
            ctx, v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max() ? 4 : 8);
        return;
    }
    case SQLITE_FLOAT:
        sqlite3_result_int(ctx, 8);
        return;
    default:
        sqlite3_result_int64(ctx, textArg(argv[0]).toUcs4().size());
    }
}

// SUBSTRING(text, start, length) with 1-based start; a start before 1 eats into the length.
void substringFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t start = sqlite3_value_int64(argv[1]);
    const int64_t length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        resultError(ctx, QStringLiteral("Invalid length parameter passed to the substring function."));
        return;
    }
    const QList<uint> s = valueText(argv[0]).toUcs4();
    const int64_t from = std::max<int64_t>(start, 1);
    const int64_t to = std::min<int64_t>(start + length, int64_t(s.size()) + 1); // exclusive
    if (to <= from) {
        resultText(ctx, QString());
        return;
    }
    resultText(ctx,
               QString::fromUcs4(reinterpret_cast<const char32_t*>(s.constData()) + (from - 1), qsizetype(to - from)));
}

template <bool FromLeft> void leftRightFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        resultError(
            ctx,
            QStringLiteral("Invalid length parameter passed to the %1 function.").arg(FromLeft ? u"left" : u"right"));
        return;
    }
    const QList<uint> s = valueText(argv[0]).toUcs4();
    const qsizetype k = qsizetype(std::min<int64_t>(n, s.size()));
    const auto* data = reinterpret_cast<const char32_t*>(s.constData());
    resultText(ctx, QString::fromUcs4(FromLeft ? data : data + (s.size() - k), k));
}

// CHARINDEX(find, text[, start]): 1-based, 0 when absent, without regard to case.
void charIndexFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString find = valueText(argv[0]);
    const QString text = valueText(argv[1]);
    qsizetype from = 0;
    if (argc == 3 && !isNull(argv[2]))
        from = qsizetype(std::max<int64_t>(sqlite3_value_int64(argv[2]), 1) - 1);
    if (find.isEmpty()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const qsizetype at = text.indexOf(find, from, Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : int64_t(at) + 1);
}

// REPLACE without regard to case, as the collation compares.
void replaceFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString find = valueText(argv[1]);
    QString s = valueText(argv[0]);
    if (!find.isEmpty())
        s.replace(find, valueText(argv[2]), Qt::CaseInsensitive);
    resultText(ctx, s);
}

template <bool Upper> void caseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = valueText(argv[0]);
    resultText(ctx, Upper ? s.toUpper() : s.toLower());
}

// a + b where the statement does not show whether the operands are texts:
// two texts are joined; otherwise a text is read as a number (or as a
// date-time, to which a number adds days) and the values are added.
void addFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool textA = sqlite3_value_type(argv[0]) == SQLITE_TEXT || sqlite3_value_type(argv[0]) == SQLITE_BLOB;
    const bool textB = sqlite3_value_type(argv[1]) == SQLITE_TEXT || sqlite3_value_type(argv[1]) == SQLITE_BLOB;
    if (textA && textB) {
        resultText(ctx, textArg(argv[0]) + textArg(argv[1]));
        return;
    }
    if (textA || textB) {
        sqlite3_value* text = textA ? argv[0] : argv[1];
        sqlite3_value* number = textA ? argv[1] : argv[0];
        const QString s = textArg(text);
        if (isStorageDateTime(s)) {
            const SqlDateTime d = *parseSqlDateTime(s);
            const double days = sqlite3_value_double(number);
            resultText(
                ctx,
                SqlDateTime::fromMsSinceDayZero(d.msSinceDayZero() + std::llround(days * 86400000.0)).toStorageText());
            return;
        }
        bool ok = false;
        const double v = s.trimmed().toDouble(&ok);
        if (!ok) {
            resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data type "
                                            "int.")
                                 .arg(s));
            return;
        }
        const qlonglong whole = s.trimmed().toLongLong(&ok);
        if (ok && sqlite3_value_type(number) == SQLITE_INTEGER)
            sqlite3_result_int64(ctx, whole + sqlite3_value_int64(number));
        else
            sqlite3_result_double(ctx, v + sqlite3_value_double(number));
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && sqlite3_value_type(argv[1]) == SQLITE_INTEGER)
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
    else
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

struct FunctionDef
{
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

} // namespace

int registerSqlServerExtensions(sqlite3* db)
{
    // "x" is always a name, never a text, as SQL Server reads it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);

    int rc = sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, &compareText, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    static const FunctionDef functions[] = {
        {"like", 2, &likeFunction, true},
        {"like", 3, &likeFunction, true},
        {"tsql_getdate", 0, &getDateFunction, false},
        {"tsql_dateadd", 3, &dateAddFunction, true},
        {"tsql_datediff", 3, &dateDiffFunction, true},
        {"tsql_datepart", 2, &datePartFunction, true},
        {"tsql_year", 1, &datePartShortcut<DatePart::Year>, true},
        {"tsql_month", 1, &datePartShortcut<DatePart::Month>, true},
        {"tsql_day", 1, &datePartShortcut<DatePart::Day>, true},
        {"tsql_convert_text", 3, &convertTextFunction, true},
        {"tsql_decimal", 3, &decimalFunction, true},
        {"tsql_int", 2, &intFunction, true},
        {"tsql_float", 1, &floatFunction, true},
        {"tsql_bit", 1, &bitFunction, true},
        {"tsql_datetime", 2, &dateTimeFunction, true},
        {"tsql_len", 1, &lenFunction, true},
        {"tsql_datalength", 1, &dataLengthFunction, true},
        {"tsql_substring", 3, &substringFunction, true},
        {"tsql_left", 2, &leftRightFunction<true>, true},
        {"tsql_right", 2, &leftRightFunction<false>, true},
        {"tsql_charindex", 2, &charIndexFunction, true},
        {"tsql_charindex", 3, &charIndexFunction, true},
        {"tsql_replace", 3, &replaceFunction, true},
        {"tsql_upper", 1, &caseFunction<true>, true},
        {"tsql_lower", 1, &caseFunction<false>, true},
        {"tsql_add", 2, &addFunction, true},
    };
    for (const FunctionDef& f : functions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

} // namespace platform::db::sqlite
