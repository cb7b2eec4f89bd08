// The conversions to decimal, money, the integer types, float and bit, and
// tsql_add for a "+" whose operands the statement does not show.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlExtensionValues.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace platform::db::sqlite::extensions {

namespace {

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
    // An exponent that moves every digit far past the 38 that a decimal
    // holds gives the same overflow, or zero, as a smaller one: the shift
    // stops there.
    const int widest = int(d.intDigits.size() + d.fracDigits.size()) + 400;
    exponent = std::clamp(exponent, -widest, widest);
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

// A decimal rounded to `scale` digits written as SQL Server writes it: the
// digits of its scale, and no sign on a zero.
QString decimalText(const Decimal& d, int scale)
{
    const bool zero = !(d.intDigits + d.fracDigits).contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (d.negative && !zero ? QStringLiteral("-") : QString()) + d.intDigits +
           (scale > 0 ? QLatin1Char('.') + d.fracDigits : QString());
}

// A number SQLite holds, as the decimal that valueText() writes for it: the
// digits of its magnitude as a whole number and their power of ten.
struct ScaledNumber
{
    uint64_t digits = 0;
    int exponent = 0;
    bool negative = false;
};

std::optional<ScaledNumber> scaledNumber(sqlite3_value* v)
{
    ScaledNumber n;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        const int64_t i = sqlite3_value_int64(v);
        n.negative = i < 0;
        n.digits = n.negative ? uint64_t(0) - uint64_t(i) : uint64_t(i);
        return n;
    }
    const double d = sqlite3_value_double(v);
    if (sqlite3_value_type(v) != SQLITE_FLOAT || !std::isfinite(d))
        return std::nullopt;
    // The shortest digits that read back as the double, as valueText() writes them.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, d, std::chars_format::scientific);
    const char* c = text;
    n.negative = *c == '-';
    c += n.negative ? 1 : 0;
    int fraction = 0;
    bool point = false;
    for (; c < written.ptr && *c != 'e'; ++c) {
        if (*c == '.') {
            point = true;
            continue;
        }
        n.digits = n.digits * 10 + uint64_t(*c - '0');
        fraction += point ? 1 : 0;
    }
    int exponent = 0;
    std::from_chars(c + 1 + (c[1] == '+' ? 1 : 0), written.ptr, exponent);
    n.exponent = exponent - fraction;
    return n;
}

// 10 to the power `n`, 0 <= n <= 19.
uint64_t powerOfTen(int n)
{
    uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// decimalFunction for a number whose rounded value stays within what a double
// holds exactly; false when the text-based reading must decide.
bool decimalOfNumber(sqlite3_context* ctx, sqlite3_value* v, int precision, int scale)
{
    const std::optional<ScaledNumber> n = scaledNumber(v);
    if (!n || scale < 0 || scale > 18)
        return false;
    // The value times 10^scale, rounded half away from zero on the first digit dropped.
    uint64_t scaled = 0;
    const int shift = n->exponent + scale;
    if (shift >= 0) {
        if (shift > 19 || __builtin_mul_overflow(n->digits, powerOfTen(shift), &scaled))
            return false;
    } else if (-shift <= 19) {
        const uint64_t divisor = powerOfTen(-shift);
        scaled = n->digits / divisor + (n->digits % divisor >= divisor / 2 ? 1 : 0);
    }
    // Its integer digits (a zero integer part counts none).
    int integerDigits = 0;
    for (uint64_t i = scaled / powerOfTen(scale); i > 0; i /= 10)
        ++integerDigits;
    if (integerDigits > precision - scale) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("numeric")});
        return true;
    }
    const bool negative = n->negative && scaled != 0;
    if (scale == 0 && integerDigits < 19) {
        sqlite3_result_int64(ctx, negative ? -int64_t(scaled) : int64_t(scaled));
        return true;
    }
    if (scaled >= (uint64_t(1) << 53))
        return false;
    // Both exact: the quotient is the double nearest the decimal, as reading its text gives.
    const double value = double(scaled) / double(powerOfTen(scale));
    sqlite3_result_double(ctx, negative ? -value : value);
    return true;
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
    if (precision < 1 || precision > 38 || scale < 0 || scale > precision) {
        resultError(ctx, QStringLiteral("A decimal has a precision of 1 to 38 and a scale of 0 to its precision."));
        return;
    }
    // A page of the grid converts every amount it shows: numbers go without texts.
    if (decimalOfNumber(ctx, argv[0], precision, scale))
        return;
    const auto parsed = parseDecimal(valueText(argv[0]));
    if (!parsed) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("numeric")});
        return;
    }
    const Decimal d = roundDecimal(*parsed, scale);
    if ((d.intDigits == QLatin1String("0") ? 0 : d.intDigits.size()) > precision - scale) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("numeric")});
        return;
    }
    const QString text = decimalText(d, scale);
    if (scale == 0 && d.intDigits.size() < 19)
        sqlite3_result_int64(ctx, text.toLongLong());
    else
        sqlite3_result_double(ctx, text.toDouble());
}

// tsql_decimal_text(value, scale): a decimal's text with the digits of its
// scale, as SQL Server writes a decimal converted to text.
void decimalTextFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int scale = sqlite3_value_int(argv[1]);
    const auto parsed = parseDecimal(valueText(argv[0]));
    if (!parsed) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("numeric")});
        return;
    }
    resultText(ctx, decimalText(roundDecimal(*parsed, scale), scale));
}

// tsql_round(value, length, truncate): ROUND to `length` digits after the
// point (before it when negative), half away from zero, or cut with a
// `truncate` other than 0; exact on the value's decimal digits.
void roundFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int length = sqlite3_value_int(argv[1]);
    const bool truncate = !isNull(argv[2]) && sqlite3_value_int(argv[2]) != 0;
    const auto parsed = parseDecimal(valueText(argv[0]));
    if (!parsed) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("float")});
        return;
    }
    Decimal d = *parsed;
    // Digits to keep after the point, counted from the value's first digit when negative.
    const qsizetype keep = std::max(length, 0);
    if (truncate)
        d.fracDigits = d.fracDigits.left(keep);
    else
        d = roundDecimal(d, int(std::min<qsizetype>(keep, d.fracDigits.size())));
    if (length < 0) {
        d.fracDigits.clear();
        const qsizetype cut = -qsizetype(length);
        if (cut >= d.intDigits.size() + 1) {
            d.intDigits = QStringLiteral("0");
        } else {
            const bool up = !truncate && cut <= d.intDigits.size() && d.intDigits[d.intDigits.size() - cut] >= u'5';
            Decimal kept{d.negative, d.intDigits.left(d.intDigits.size() - cut), QString()};
            if (kept.intDigits.isEmpty())
                kept.intDigits = QStringLiteral("0");
            if (up)
                kept = roundDecimal(Decimal{d.negative, kept.intDigits, QStringLiteral("9")}, 0);
            d.intDigits = kept.intDigits == QLatin1String("0") ? kept.intDigits : kept.intDigits + QString(cut, u'0');
        }
    }
    const QString text = (d.negative ? QStringLiteral("-") : QString()) + d.intDigits +
                         (d.fracDigits.isEmpty() ? QString() : QLatin1Char('.') + d.fracDigits);
    bool whole = false;
    const qlonglong n = text.toLongLong(&whole);
    if (whole && sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
        sqlite3_result_int64(ctx, n);
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
    if (bits != 8 && bits != 16 && bits != 32 && bits != 64) {
        resultError(ctx, QStringLiteral("A whole number has 8, 16, 32 or 64 bits."));
        return;
    }
    int64_t r = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
        r = sqlite3_value_int64(argv[0]);
        break;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(argv[0]));
        if (std::fabs(d) > 9.2e18) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("int")});
            return;
        }
        r = int64_t(d);
        break;
    }
    default: {
        // A blank text is 0, as SQL Server converts it.
        const QString s = textArg(argv[0]).trimmed();
        bool ok = s.isEmpty();
        r = ok ? 0 : s.toLongLong(&ok);
        if (!ok) {
            resultError(ctx, serverError::NotAWholeNumber,
                        {QStringLiteral("varchar"), textArg(argv[0]), QStringLiteral("int")});
            return;
        }
    }
    }
    const int64_t lo = bits == 8 ? 0 : bits >= 64 ? std::numeric_limits<int64_t>::min() : -(int64_t(1) << (bits - 1));
    const int64_t hi = bits == 8    ? 255
                       : bits >= 64 ? std::numeric_limits<int64_t>::max()
                                    : (int64_t(1) << (bits - 1)) - 1;
    if (r < lo || r > hi) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("int")});
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
    // A blank text is 0, as SQL Server converts it.
    const QString s = textArg(argv[0]).trimmed();
    bool ok = s.isEmpty();
    const double d = ok ? 0 : s.toDouble(&ok);
    if (!ok) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("float")});
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
            resultError(ctx, serverError::NotAWholeNumber, {QStringLiteral("nvarchar"), s, QStringLiteral("bit")});
            return;
        }
        sqlite3_result_int(ctx, d != 0 ? 1 : 0);
        return;
    }
    sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0 ? 1 : 0);
}

// A date-time value: a text in the storage form that names a date.
std::optional<SqlDateTime> storedDateTime(sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    const QString s = textArg(v);
    return isStorageDateTime(s) ? parseSqlDateTime(s) : std::nullopt;
}

// The date-time `ms` milliseconds after `from`; SQL Server's overflow error
// when it leaves the range of a datetime (1753 to 9999).
void resultDateTimeAfter(sqlite3_context* ctx, const SqlDateTime& from, double ms)
{
    static const int64_t first = SqlDateTime{QDate(1753, 1, 1), 0}.msSinceDayZero();
    static const int64_t end = SqlDateTime{QDate(10000, 1, 1), 0}.msSinceDayZero();
    // Wider than the whole range, and exact in a double.
    constexpr double kWidest = 1e15;
    const int64_t to = std::isfinite(ms) && std::fabs(ms) < kWidest ? from.msSinceDayZero() + std::llround(ms) : end;
    if (to < first || to >= end) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("datetime")});
        return;
    }
    resultText(ctx, SqlDateTime::fromMsSinceDayZero(to).toStorageText());
}

// a + b where the statement does not show whether the operands are texts:
// two texts are joined; otherwise a text is read as a number (or as a
// date-time, to which a number adds days) and the values are added.
void addFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
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
        // A text of the storage form that is no date is read as a number.
        if (const std::optional<SqlDateTime> d = storedDateTime(text)) {
            resultDateTimeAfter(ctx, *d, sqlite3_value_double(number) * 86400000.0);
            return;
        }
        bool ok = false;
        const double v = s.trimmed().toDouble(&ok);
        if (!ok) {
            resultError(ctx, serverError::NotAWholeNumber, {QStringLiteral("nvarchar"), s, QStringLiteral("int")});
            return;
        }
        const qlonglong whole = s.trimmed().toLongLong(&ok);
        int64_t sum = 0;
        if (ok && sqlite3_value_type(number) == SQLITE_INTEGER &&
            !__builtin_add_overflow(whole, sqlite3_value_int64(number), &sum))
            sqlite3_result_int64(ctx, sum);
        else
            sqlite3_result_double(ctx, v + sqlite3_value_double(number));
        return;
    }
    // Whole numbers beyond 64 bits are added as doubles, as SQLite's own "+" does.
    int64_t sum = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && sqlite3_value_type(argv[1]) == SQLITE_INTEGER &&
        !__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &sum))
        sqlite3_result_int64(ctx, sum);
    else
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

// A number operand of / % -: a text is read as SQL Server converts it to a number.
bool numberOf(sqlite3_context* ctx, sqlite3_value* v, std::optional<double>& real, std::optional<int64_t>& whole)
{
    real.reset();
    whole.reset();
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        whole = sqlite3_value_int64(v);
        return true;
    case SQLITE_FLOAT:
        real = sqlite3_value_double(v);
        return true;
    default: {
        const QString s = textArg(v).trimmed();
        bool ok = false;
        const qlonglong n = s.toLongLong(&ok);
        if (ok) {
            whole = n;
            return true;
        }
        const double d = s.toDouble(&ok);
        if (ok) {
            real = d;
            return true;
        }
        resultError(ctx, serverError::NotAWholeNumber, {QStringLiteral("varchar"), textArg(v), QStringLiteral("int")});
        return false;
    }
    }
}

// tsql_div(a, b) and tsql_mod(a, b): / and % whose divisor the statement does
// not show to be non-zero; whole numbers divide as whole numbers.
template <bool Modulo> void divideFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    std::optional<double> realA, realB;
    std::optional<int64_t> wholeA, wholeB;
    if (!numberOf(ctx, argv[0], realA, wholeA) || !numberOf(ctx, argv[1], realB, wholeB))
        return;
    if ((wholeB && *wholeB == 0) || (realB && *realB == 0)) {
        resultError(ctx, serverError::DivideByZero);
        return;
    }
    if (wholeA && wholeB) {
        if (*wholeA == std::numeric_limits<int64_t>::min() && *wholeB == -1) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("int")});
            return;
        }
        sqlite3_result_int64(ctx, Modulo ? *wholeA % *wholeB : *wholeA / *wholeB);
        return;
    }
    const double a = wholeA ? double(*wholeA) : *realA;
    const double b = wholeB ? double(*wholeB) : *realB;
    sqlite3_result_double(ctx, Modulo ? std::fmod(a, b) : a / b);
}

// a - b where the statement does not show the operands' types: a date-time
// less a number of days, the time between two date-times (as a date-time
// after day 0), or the difference of two numbers.
void subtractFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    const std::optional<SqlDateTime> dateA = storedDateTime(argv[0]);
    if (dateA) {
        const std::optional<SqlDateTime> dateB = storedDateTime(argv[1]);
        if (!dateB && sqlite3_value_type(argv[1]) == SQLITE_TEXT && isStorageDateTime(textArg(argv[1]))) {
            resultError(ctx, serverError::DateOutOfRange);
            return;
        }
        resultDateTimeAfter(ctx, *dateA,
                            dateB ? -double(dateB->msSinceDayZero()) : -sqlite3_value_double(argv[1]) * 86400000.0);
        return;
    }
    std::optional<double> realA, realB;
    std::optional<int64_t> wholeA, wholeB;
    if (!numberOf(ctx, argv[0], realA, wholeA) || !numberOf(ctx, argv[1], realB, wholeB))
        return;
    int64_t difference = 0;
    if (wholeA && wholeB && !__builtin_sub_overflow(*wholeA, *wholeB, &difference)) {
        sqlite3_result_int64(ctx, difference);
        return;
    }
    sqlite3_result_double(ctx, (wholeA ? double(*wholeA) : *realA) - (wholeB ? double(*wholeB) : *realB));
}

} // namespace

std::span<const FunctionDef> numberFunctions()
{
    static const FunctionDef functions[] = {
        {"tsql_decimal", 3, &decimalFunction, true},   {"tsql_decimal_text", 2, &decimalTextFunction, true},
        {"tsql_int", 2, &intFunction, true},           {"tsql_round", 3, &roundFunction, true},
        {"tsql_float", 1, &floatFunction, true},       {"tsql_bit", 1, &bitFunction, true},
        {"tsql_add", 2, &addFunction, true},           {"tsql_sub", 2, &subtractFunction, true},
        {"tsql_div", 2, &divideFunction<false>, true}, {"tsql_mod", 2, &divideFunction<true>, true},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
