// GETDATE, DATEADD, DATEDIFF, DATEPART, DATENAME, YEAR, MONTH, DAY, and the
// conversions to and from date-times with CONVERT's styles.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/core/Runtime.h"
#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlExtensionValues.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform::db::sqlite::extensions {

namespace {

// A date-time argument: the storage text (or any form readDateText reads),
// or a number of days since day 0, as SQL Server converts numbers.
DateText dateArg(sqlite3_value* v, bool monthFirst = false)
{
    DateText d;
    double days = 0;
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        days = double(sqlite3_value_int64(v));
        break;
    case SQLITE_FLOAT:
        days = sqlite3_value_double(v);
        break;
    default:
        return readDateText(textArg(v), monthFirst);
    }
    // Up to the end of SQL Server's range, 9999-12-31.
    if (!std::isfinite(days) || days < -53690 || days > 2958463) {
        d.reading = DateReading::OutOfRange;
        return d;
    }
    d.reading = DateReading::Date;
    d.value = SqlDateTime::fromMsSinceDayZero(std::llround(days * 86400000.0));
    return d;
}

bool requireDate(sqlite3_context* ctx, const DateText& d, SqlDateTime& out)
{
    if (d.reading != DateReading::Date) {
        resultError(ctx, d.reading == DateReading::OutOfRange ? serverError::DateOutOfRange : serverError::NotADate);
        return false;
    }
    out = d.value;
    return true;
}

bool requireDate(sqlite3_context* ctx, sqlite3_value* v, SqlDateTime& out)
{
    return requireDate(ctx, dateArg(v), out);
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
        resultError(ctx, serverError::BadDatePart, {textArg(v)});
        return false;
    }
    out = *p;
    return true;
}

constexpr int64_t kMsPer[] = {0, 0, 0, 86400000, 86400000, 7 * 86400000LL, 86400000, 3600000, 60000, 1000, 1};

void dateAddFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    DatePart part;
    SqlDateTime d;
    if (!requirePart(ctx, argv[0], part) || !requireDate(ctx, argv[2], d))
        return;
    // The number is an int; SQL Server takes the whole part of a fraction.
    const double given = sqlite3_value_double(argv[1]);
    if (!std::isfinite(given) || std::trunc(given) > std::numeric_limits<int32_t>::max() ||
        std::trunc(given) < std::numeric_limits<int32_t>::min()) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("int")});
        return;
    }
    const int64_t n =
        sqlite3_value_type(argv[1]) == SQLITE_INTEGER ? sqlite3_value_int64(argv[1]) : int64_t(std::trunc(given));
    // Every step stays within 64 bits: n is an int and the dates are four-digit years.
    SqlDateTime r = d;
    bool inRange = true;
    switch (part) {
    case DatePart::Year:
    case DatePart::Quarter:
    case DatePart::Month: {
        const int64_t months = part == DatePart::Year ? n * 12 : part == DatePart::Quarter ? n * 3 : n;
        const int64_t index = int64_t(d.date.year()) * 12 + (d.date.month() - 1) + months;
        inRange = index >= 1753 * 12 && index < 10000 * 12;
        if (inRange)
            r.date = d.date.addMonths(int(months));
        break;
    }
    default: {
        const int64_t ms = d.msSinceDayZero() + n * kMsPer[int(part)];
        inRange = ms >= SqlDateTime{QDate(1753, 1, 1), 0}.msSinceDayZero() &&
                  ms < SqlDateTime{QDate(10000, 1, 1), 0}.msSinceDayZero();
        if (inRange)
            r = SqlDateTime::fromMsSinceDayZero(ms);
        break;
    }
    }
    if (!inRange || !r.date.isValid()) {
        resultError(ctx, serverError::DateOverflow, {QStringLiteral("datetime")});
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
    if (nullResultOnNull(ctx, argc, argv))
        return;
    DatePart part;
    SqlDateTime a;
    SqlDateTime b;
    if (!requirePart(ctx, argv[0], part) || !requireDate(ctx, argv[1], a) || !requireDate(ctx, argv[2], b))
        return;
    const int64_t r = dateDiff(part, a, b);
    if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min()) {
        resultError(ctx, serverError::DateDiffOverflow);
        return;
    }
    sqlite3_result_int64(ctx, r);
}

// DATEPART's number of `part` of `d`.
int64_t datePartOf(DatePart part, const SqlDateTime& d)
{
    const QTime t = QTime::fromMSecsSinceStartOfDay(d.msOfDay);
    switch (part) {
    case DatePart::Year:
        return d.date.year();
    case DatePart::Quarter:
        return (d.date.month() - 1) / 3 + 1;
    case DatePart::Month:
        return d.date.month();
    case DatePart::DayOfYear:
        return d.date.dayOfYear();
    case DatePart::Day:
        return d.date.day();
    case DatePart::Week:
        return dateDiff(DatePart::Week, SqlDateTime{QDate(d.date.year(), 1, 1), 0}, d) + 1;
    case DatePart::WeekDay:
        return d.date.dayOfWeek() % 7 + 1; // Sunday is 1
    case DatePart::Hour:
        return t.hour();
    case DatePart::Minute:
        return t.minute();
    case DatePart::Second:
        return t.second();
    case DatePart::Millisecond:
        return t.msec();
    }
    return 0;
}

// The date part and the date-time of a call (part, d): false when the
// result is already set, Null for a Null argument or SQL Server's error.
bool partAndDate(sqlite3_context* ctx, int argc, sqlite3_value** argv, DatePart& part, SqlDateTime& d)
{
    return !nullResultOnNull(ctx, argc, argv) && requirePart(ctx, argv[0], part) && requireDate(ctx, argv[1], d);
}

void datePartFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    DatePart part;
    SqlDateTime d;
    if (partAndDate(ctx, argc, argv, part, d))
        sqlite3_result_int64(ctx, datePartOf(part, d));
}

// DATENAME(part, d): the month and the weekday by their names, in the
// English of the login, any other part as its number written out.
void dateNameFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    DatePart part;
    SqlDateTime d;
    if (!partAndDate(ctx, argc, argv, part, d))
        return;
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    static const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    const int64_t n = datePartOf(part, d);
    if (part == DatePart::Month)
        resultText(ctx, QLatin1String(months[n - 1]));
    else if (part == DatePart::WeekDay)
        resultText(ctx, QLatin1String(weekdays[n - 1]));
    else
        resultText(ctx, QString::number(n));
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
// type. A style (0 when the statement gave none) formats a date-time value;
// with a Null style (a text being converted) nothing is formatted. `length`
// (30 when the statement gave none) cuts the text, as SQL Server does for a
// conversion.
// The numeric styles of a date-time in the storage form ("yyyy-mm-dd
// hh:mm:ss[.fff]", a valid date of a year from 1000 on) written from its
// characters; false when the style or the value needs the general writing.
bool styledStorageDate(std::string_view stored, int style, std::string& out)
{
    if ((stored.size() != 19 && stored.size() != 23) || stored[4] != '-' || stored[7] != '-' || stored[10] != ' ' ||
        stored[13] != ':' || stored[16] != ':' || (stored.size() == 23 && stored[19] != '.'))
        return false;
    int fields[7] = {};
    const int at[7] = {0, 5, 8, 11, 14, 17, 20};
    const int width[7] = {4, 2, 2, 2, 2, 2, 3};
    for (int f = 0; f < 7; ++f) {
        if (f == 6 && stored.size() == 19)
            break;
        for (int i = at[f]; i < at[f] + width[f]; ++i) {
            if (stored[std::size_t(i)] < '0' || stored[std::size_t(i)] > '9')
                return false;
            fields[f] = fields[f] * 10 + (stored[std::size_t(i)] - '0');
        }
    }
    if (fields[0] < 1000 || !QDate::isValid(fields[0], fields[1], fields[2]) || fields[3] > 23 || fields[4] > 59 ||
        fields[5] > 59)
        return false;
    const std::string_view year = stored.substr(0, 4), month = stored.substr(5, 2), day = stored.substr(8, 2);
    const std::string_view time = stored.substr(11, 8);
    const std::string_view ms = stored.size() == 23 ? stored.substr(20, 3) : std::string_view("000");
    auto join = [&out](std::initializer_list<std::string_view> parts) {
        out.clear();
        for (std::string_view part : parts)
            out.append(part);
        return true;
    };
    switch (style) {
    case 101:
        return join({month, "/", day, "/", year});
    case 103:
        return join({day, "/", month, "/", year});
    case 104:
        return join({day, ".", month, ".", year});
    case 105:
        return join({day, "-", month, "-", year});
    case 108:
    case 8:
        return join({time});
    case 112:
        return join({year, month, day});
    case 3:
        return join({day, "/", month, "/", year.substr(2)});
    case 5:
        return join({day, "-", month, "-", year.substr(2)});
    case 23:
        return join({year, "-", month, "-", day});
    case 120:
        return join({year, "-", month, "-", day, " ", time});
    case 121:
        return join({year, "-", month, "-", day, " ", time, ".", ms});
    default:
        return false;
    }
}

void convertTextFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int length = sqlite3_value_int(argv[2]);
    // A page of the grid converts every date-time and text it shows: the
    // common ones go without the general reading.
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const std::string_view stored(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                      std::size_t(sqlite3_value_bytes(argv[0])));
        thread_local std::string styled;
        if (!isNull(argv[1]) && styledStorageDate(stored, sqlite3_value_int(argv[1]), styled)) {
            const std::size_t cut = length > 0 ? std::min(styled.size(), std::size_t(length)) : styled.size();
            sqlite3_result_text(ctx, styled.data(), int(cut), SQLITE_TRANSIENT);
            return;
        }
        // No longer than the length in bytes: no longer in characters, and no date-time form.
        if ((length <= 0 || stored.size() <= std::size_t(length)) && (isNull(argv[1]) || stored.size() < 19)) {
            sqlite3_result_value(ctx, argv[0]);
            return;
        }
    }
    QString s = valueText(argv[0]);
    if (!isNull(argv[1]) && sqlite3_value_type(argv[0]) == SQLITE_TEXT && isStorageDateTime(s)) {
        // A text of the storage form that is no date stays the text it is.
        if (const std::optional<SqlDateTime> d = parseSqlDateTime(s)) {
            bool known = false;
            const QString text = styledDate(*d, sqlite3_value_int(argv[1]), known);
            if (!known) {
                resultError(ctx, serverError::BadStyle,
                            {QString::number(sqlite3_value_int(argv[1])), QStringLiteral("datetime")});
                return;
            }
            s = text;
        }
    }
    if (length > 0 && s.size() > length)
        s.truncate(length);
    resultText(ctx, s);
}

// tsql_datetime(value, style, part): CONVERT or CAST to a date-time type;
// `part` 0 keeps the time (datetime), 1 drops it (date), 2 rounds it to the
// minute (smalldatetime).
void dateTimeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int style = isNull(argv[1]) ? 0 : sqlite3_value_int(argv[1]);
    SqlDateTime d;
    if (!requireDate(ctx, dateArg(argv[0], style == 101 || style == 110), d))
        return;
    const int part = sqlite3_value_int(argv[2]);
    if (part == 1)
        d.msOfDay = 0;
    else if (part == 2)
        d = SqlDateTime::fromMsSinceDayZero(floorDiv(d.msSinceDayZero() + 30001, 60000) * 60000);
    resultText(ctx, d.toStorageText());
}

// tsql_compared_literal(value, literal): a text literal compared with a value
// whose type the statement does not show; a date-time value (a text in the
// storage form) takes the literal as a date-time, as SQL Server converts it.
void comparedLiteralFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT || !isStorageDateTime(textArg(argv[0]))) {
        sqlite3_result_value(ctx, argv[1]);
        return;
    }
    SqlDateTime d;
    if (requireDate(ctx, readDateText(textArg(argv[1])), d))
        resultText(ctx, d.toStorageText());
}

} // namespace

std::span<const FunctionDef> dateFunctions()
{
    static const FunctionDef functions[] = {
        {"tsql_getdate", 0, &getDateFunction, false},
        {"tsql_dateadd", 3, &dateAddFunction, true},
        {"tsql_datediff", 3, &dateDiffFunction, true},
        {"tsql_datepart", 2, &datePartFunction, true},
        {"tsql_datename", 2, &dateNameFunction, true},
        {"tsql_year", 1, &datePartShortcut<DatePart::Year>, true},
        {"tsql_month", 1, &datePartShortcut<DatePart::Month>, true},
        {"tsql_day", 1, &datePartShortcut<DatePart::Day>, true},
        {"tsql_convert_text", 3, &convertTextFunction, true},
        {"tsql_datetime", 3, &dateTimeFunction, true},
        {"tsql_compared_literal", 2, &comparedLiteralFunction, true},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
