// The conversions to decimal, money, the integer types, float and bit, and
// the operations whose operands the statement does not show.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlExtensionValues.h"
#include "platform/db/sqlite/SqlWholeText.h"

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

// Rounds to `scale` fraction digits (none or more), half away from zero.
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

// A value read once from its argument, or the value that one step of an
// operation folded over several arguments gives the next.
struct Operand
{
    int type = SQLITE_NULL; // as sqlite3_value_type()
    int64_t whole = 0;
    double real = 0; // as sqlite3_value_double() reads it
    QString text;    // a text's or a blob's

    static Operand of(sqlite3_value* v)
    {
        Operand o;
        o.type = sqlite3_value_type(v);
        o.whole = sqlite3_value_int64(v);
        o.real = sqlite3_value_double(v);
        if (o.isText())
            o.text = textArg(v);
        return o;
    }
    static Operand ofWhole(int64_t n) { return Operand{SQLITE_INTEGER, n, double(n), {}}; }
    static Operand ofReal(double d) { return Operand{SQLITE_FLOAT, int64_t(0), d, {}}; }
    static Operand ofText(QString t) { return Operand{SQLITE_TEXT, int64_t(0), 0, std::move(t)}; }

    bool isText() const { return type == SQLITE_TEXT || type == SQLITE_BLOB; }
};

void resultOperand(sqlite3_context* ctx, const Operand& o)
{
    switch (o.type) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, o.whole);
        break;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, o.real);
        break;
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        break;
    default:
        resultText(ctx, o.text);
    }
}

std::optional<ScaledNumber> scaledNumber(const Operand& v)
{
    ScaledNumber n;
    if (v.type == SQLITE_INTEGER) {
        n.negative = v.whole < 0;
        n.digits = n.negative ? uint64_t(0) - uint64_t(v.whole) : uint64_t(v.whole);
        return n;
    }
    const double d = v.real;
    if (v.type != SQLITE_FLOAT || !std::isfinite(d))
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
    const std::optional<ScaledNumber> n = scaledNumber(Operand::of(v));
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
    // Read whole: a number beyond 32 bits is no scale, not the scale of its low bits.
    const int64_t scale = sqlite3_value_int64(argv[1]);
    if (scale < 0 || scale > 38) {
        resultError(ctx, QStringLiteral("A decimal has a scale of 0 to 38."));
        return;
    }
    const auto parsed = parseDecimal(valueText(argv[0]));
    if (!parsed) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("numeric")});
        return;
    }
    resultText(ctx, decimalText(roundDecimal(*parsed, int(scale)), int(scale)));
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
// (16) or tinyint (8): numbers lose their fraction, texts must hold a whole
// number; a value beyond the type fails as SQL Server fails it.
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
    const WholeType& type = wholeType(bits);
    int64_t r = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
        r = sqlite3_value_int64(argv[0]);
        break;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(argv[0]));
        if (!(std::fabs(d) <= 9.2e18)) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QLatin1String(type.name)});
            return;
        }
        r = int64_t(d);
        break;
    }
    default: {
        const QString text = textArg(argv[0]);
        const WholeText read = readWholeText(text, type);
        if (read.reading != WholeReading::Whole) {
            QStringList values;
            const ServerError& error = wholeTextError(read, type, QStringLiteral("varchar"), text, values);
            resultError(ctx, error, values);
            return;
        }
        r = read.value;
    }
    }
    if (r < type.low || r > type.high) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QLatin1String(type.name)});
        return;
    }
    sqlite3_result_int64(ctx, r);
}

// A whole-number operand of tsql_int_op: false (the error set) for a text
// that holds none.
bool wholeOperand(sqlite3_context* ctx, sqlite3_value* v, int64_t& out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        out = sqlite3_value_int64(v);
        return true;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(v));
        if (!(std::fabs(d) <= 9.2e18)) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("bigint")});
            return false;
        }
        out = int64_t(d);
        return true;
    }
    default: {
        const QString text = textArg(v);
        const WholeText read = readWholeText(text, wholeType(64));
        if (read.reading != WholeReading::Whole) {
            QStringList values;
            resultError(ctx, wholeTextError(read, wholeType(32), QStringLiteral("varchar"), text, values), values);
            return false;
        }
        out = read.value;
        return true;
    }
    }
}

// tsql_int_op(a, b, step [, c, step]...): a + b, a - b, a * b, a / b or a % b
// between whole numbers, folded from the left over the operands, each step
// coded operation * 100 + bits (operation 0 to 4; the result's type of 8,
// 16, 32 or 64 bits): a result beyond its type fails with 8115, a division
// by zero with 8134; a division drops the fraction. Null once an operand is
// Null, as the nested operations give.
void intOperationFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    int64_t r = 0;
    const auto step = [&](int i, int64_t code) {
        const int64_t operation = code / 100;
        const int64_t bits = code % 100;
        if (code < 0 || operation > 4 || (bits != 8 && bits != 16 && bits != 32 && bits != 64)) {
            resultError(ctx, QStringLiteral("An operation between whole numbers is one of 0 to 4, of 8, 16, 32 or "
                                            "64 bits."));
            return false;
        }
        const WholeType& type = wholeType(int(bits));
        int64_t a = r;
        int64_t b = 0;
        if ((i == 1 && !wholeOperand(ctx, argv[0], a)) || !wholeOperand(ctx, argv[i], b))
            return false;
        bool overflow = false;
        switch (operation) {
        case 0:
            overflow = __builtin_add_overflow(a, b, &r);
            break;
        case 1:
            overflow = __builtin_sub_overflow(a, b, &r);
            break;
        case 2:
            overflow = __builtin_mul_overflow(a, b, &r);
            break;
        default:
            if (b == 0) {
                resultError(ctx, serverError::DivideByZero);
                return false;
            }
            overflow = a == std::numeric_limits<int64_t>::min() && b == -1;
            if (!overflow)
                r = operation == 3 ? a / b : a % b;
            break;
        }
        if (overflow || r < type.low || r > type.high) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QLatin1String(type.name)});
            return false;
        }
        return true;
    };
    if (foldSteps(ctx, argc, argv, "An operation between whole numbers", step))
        sqlite3_result_int64(ctx, r);
}

// A decimal as SQL Server computes with it: its digits as one whole
// number (38 digits fit in 128 bits) and the count of them after the point.
struct ExactDecimal
{
    __int128 digits = 0;
    int scale = 0;
};

__int128 power128(int n)
{
    __int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Whether the rest of a division is at least half its divisor (compared
// without doubling it, which could leave 128 bits).
bool atLeastHalf(__int128 rest, __int128 divisor)
{
    const __int128 r = rest < 0 ? -rest : rest;
    const __int128 d = divisor < 0 ? -divisor : divisor;
    return r >= d - r;
}

// 10^38, one past the largest 38-digit number.
const __int128 kDecimalLimit = power128(38);

// `d` with `scale` digits after the point, rounded half away from zero;
// false when it would not fit in 38 digits.
bool rescaled(ExactDecimal& d, int scale)
{
    if (scale >= d.scale) {
        const int shift = scale - d.scale;
        if (shift > 38)
            return d.digits == 0;
        __int128 r = 0;
        if (__builtin_mul_overflow(d.digits, power128(shift), &r) || r >= kDecimalLimit || -r >= kDecimalLimit)
            return false;
        d.digits = r;
    } else {
        const int shift = d.scale - scale;
        if (shift > 38) {
            d.digits = 0;
        } else {
            const __int128 divisor = power128(shift);
            const __int128 rest = d.digits % divisor;
            d.digits /= divisor;
            if (atLeastHalf(rest, divisor))
                d.digits += d.digits < 0 || rest < 0 ? -1 : 1;
        }
    }
    d.scale = scale;
    return true;
}

// An operand read exactly: a whole number, a double's shortest digits, a
// decimal text; nullopt when it holds more digits than a decimal has.
std::optional<ExactDecimal> exactOperand(const Operand& v, bool& notANumber)
{
    notANumber = false;
    ExactDecimal d;
    if (v.type == SQLITE_INTEGER) {
        d.digits = v.whole;
        return d;
    }
    if (v.type == SQLITE_FLOAT) {
        const std::optional<ScaledNumber> n = scaledNumber(v);
        if (!n)
            return std::nullopt;
        d.digits = n->negative ? -__int128(n->digits) : __int128(n->digits);
        d.scale = std::max(-n->exponent, 0);
        if (n->exponent > 0) {
            // A whole number: its digits followed by zeros.
            if (n->exponent > 38 || __builtin_mul_overflow(d.digits, power128(n->exponent), &d.digits) ||
                d.digits >= kDecimalLimit || -d.digits >= kDecimalLimit)
                return std::nullopt;
        } else if (d.scale > 38) {
            rescaled(d, 38);
        }
        return d;
    }
    const auto parsed = parseDecimal(v.text);
    if (!parsed) {
        notANumber = true;
        return std::nullopt;
    }
    const QString all = parsed->intDigits + parsed->fracDigits;
    if (all.size() > 38)
        return std::nullopt;
    for (const QChar c : all)
        d.digits = d.digits * 10 + (c.unicode() - u'0');
    if (parsed->negative)
        d.digits = -d.digits;
    d.scale = int(parsed->fracDigits.size());
    return d;
}

// a op b exactly, at the scale `scale`; false when a step leaves 38 digits.
bool exactOperation(ExactDecimal a, ExactDecimal b, int operation, int scale, ExactDecimal& out)
{
    switch (operation) {
    case 0:
    case 1:
    case 4: {
        const int common = std::max(a.scale, b.scale);
        if (!rescaled(a, common) || !rescaled(b, common))
            return false;
        out.scale = common;
        out.digits = operation == 0 ? a.digits + b.digits : operation == 1 ? a.digits - b.digits : a.digits % b.digits;
        return out.digits < kDecimalLimit && -out.digits < kDecimalLimit && rescaled(out, scale);
    }
    case 2:
        out.scale = a.scale + b.scale;
        return !__builtin_mul_overflow(a.digits, b.digits, &out.digits) && out.digits < kDecimalLimit &&
               -out.digits < kDecimalLimit && rescaled(out, scale);
    case 3: {
        // a / b at `scale`: a's digits shifted so that the quotient has them.
        const int shift = scale + b.scale - a.scale;
        __int128 numerator = a.digits;
        __int128 denominator = b.digits;
        if (shift >= 0 && (shift > 38 || __builtin_mul_overflow(numerator, power128(shift), &numerator)))
            return false;
        if (shift < 0 && (-shift > 38 || __builtin_mul_overflow(denominator, power128(-shift), &denominator)))
            return false;
        out.scale = scale;
        out.digits = numerator / denominator;
        const __int128 rest = numerator % denominator;
        if (atLeastHalf(rest, denominator))
            out.digits += (numerator < 0) != (denominator < 0) ? -1 : 1;
        return true;
    }
    default:
        return false;
    }
}

// a op b between decimals at `precision` and `scale`: the value SQLite
// holds for the result (a whole number at scale 0, else the nearest double),
// or nullopt with the error set.
std::optional<Operand> decimalStep(sqlite3_context* ctx, const Operand& x, const Operand& y, int operation,
                                   int precision, int scale)
{
    bool notA = false;
    bool notB = false;
    const std::optional<ExactDecimal> a = exactOperand(x, notA);
    const std::optional<ExactDecimal> b = exactOperand(y, notB);
    if (notA || notB) {
        resultError(ctx, serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("numeric")});
        return std::nullopt;
    }
    const bool zero = b ? b->digits == 0 : y.real == 0;
    if ((operation == 3 || operation == 4) && zero) {
        resultError(ctx, serverError::DivideByZero);
        return std::nullopt;
    }
    ExactDecimal r;
    if (!a || !b || !exactOperation(*a, *b, operation, scale, r)) {
        // Beyond 38 digits on the way: in doubles, which overflow where the result would.
        const double z = operation == 0   ? x.real + y.real
                         : operation == 1 ? x.real - y.real
                         : operation == 2 ? x.real * y.real
                         : operation == 3 ? x.real / y.real
                                          : std::fmod(x.real, y.real);
        if (!std::isfinite(z) || std::fabs(z) >= std::pow(10.0, precision - scale)) {
            resultError(ctx, serverError::ArithmeticOverflow,
                        {QStringLiteral("expression"), QStringLiteral("numeric")});
            return std::nullopt;
        }
        const auto parsed = parseDecimal(QString::number(z, 'g', 17));
        const Decimal rounded = roundDecimal(*parsed, scale);
        return Operand::ofReal(decimalText(rounded, scale).toDouble());
    }
    const __int128 magnitude = r.digits < 0 ? -r.digits : r.digits;
    if (magnitude >= power128(precision)) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("numeric")});
        return std::nullopt;
    }
    if (scale == 0 && magnitude <= std::numeric_limits<int64_t>::max())
        return Operand::ofWhole(int64_t(r.digits));
    if (magnitude < (__int128(1) << 53) && scale <= 22) {
        // Both exact: the quotient is the double nearest the decimal.
        return Operand::ofReal(double(r.digits) / double(power128(scale)));
    }
    // The decimal's text, read as the nearest double.
    QString digits;
    for (__int128 m = magnitude; m > 0 || digits.size() <= scale; m /= 10)
        digits.prepend(QChar(u'0' + int(m % 10)));
    digits.insert(digits.size() - scale, u'.');
    return Operand::ofReal((r.digits < 0 ? u'-' + digits : digits).toDouble());
}

// tsql_decimal_op(a, b, step [, c, step]...): a + b, a - b, a * b, a / b or
// a % b between decimals (money and whole numbers among them), folded from
// the left over the operands, each step coded operation * 10000 + precision
// * 100 + scale (operation 0 to 4, of the result's precision and scale):
// exact and rounded half away from zero to the result's scale, as SQL
// Server computes them; 8115 when a result has more than its precision's
// digits, 8134 for a division by zero. Null once an operand is Null.
void decimalOperationFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    Operand acc;
    const auto step = [&](int i, int64_t code) {
        const int operation = int(code / 10000);
        const int precision = int(code / 100 % 100);
        const int scale = int(code % 100);
        if (code < 0 || operation > 4 || precision < 1 || precision > 38 || scale > precision) {
            resultError(ctx, QStringLiteral("A decimal operation is one of 0 to 4, of a precision of 1 to 38 and a "
                                            "scale of 0 to its precision."));
            return false;
        }
        std::optional<Operand> r =
            decimalStep(ctx, i == 1 ? Operand::of(argv[0]) : acc, Operand::of(argv[i]), operation, precision, scale);
        if (r)
            acc = std::move(*r);
        return r.has_value();
    };
    if (foldSteps(ctx, argc, argv, "A decimal operation", step))
        resultOperand(ctx, acc);
}

// tsql_error(message): fails with `message`, where it is evaluated: the
// conversion of a literal that the translation knows to fail. Not
// deterministic, so that SQLite does not evaluate it before a row reaches it.
void errorFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    resultError(ctx, textArg(argv[0]));
}

// tsql_date_number(value): a date-time as SQL Server converts it to a
// number: the days after 1900-01-01, the time a fraction of a day.
void dateNumberFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = textArg(argv[0]);
    const DateText d = readDateText(text);
    if (d.reading != DateReading::Date) {
        resultError(ctx, d.reading == DateReading::OutOfRange ? serverError::DateOutOfRange : serverError::NotADate);
        return;
    }
    sqlite3_result_double(ctx, double(d.value.msSinceDayZero()) / 86400000.0);
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
std::optional<SqlDateTime> storedDateTime(const Operand& v)
{
    if (v.type != SQLITE_TEXT)
        return std::nullopt;
    return isStorageDateTime(v.text) ? parseSqlDateTime(v.text) : std::nullopt;
}

// The date-time `ms` milliseconds after `from`; SQL Server's overflow error
// when it leaves the range of a datetime (1753 to 9999).
std::optional<Operand> dateTimeAfter(sqlite3_context* ctx, const SqlDateTime& from, double ms)
{
    static const int64_t first = SqlDateTime{QDate(1753, 1, 1), 0}.msSinceDayZero();
    static const int64_t end = SqlDateTime{QDate(10000, 1, 1), 0}.msSinceDayZero();
    // Wider than the whole range, and exact in a double.
    constexpr double kWidest = 1e15;
    const int64_t to = std::isfinite(ms) && std::fabs(ms) < kWidest ? from.msSinceDayZero() + std::llround(ms) : end;
    if (to < first || to >= end) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("datetime")});
        return std::nullopt;
    }
    return Operand::ofText(SqlDateTime::fromMsSinceDayZero(to).toStorageText());
}

// a + b where the statement does not show whether the operands are texts:
// two texts are joined; otherwise a text is read as a number (or as a
// date-time, to which a number adds days) and the values are added.
std::optional<Operand> added(sqlite3_context* ctx, const Operand& a, const Operand& b)
{
    if (a.isText() && b.isText())
        return Operand::ofText(a.text + b.text);
    if (a.isText() || b.isText()) {
        const Operand& text = a.isText() ? a : b;
        const Operand& number = a.isText() ? b : a;
        // A text of the storage form that is no date is read as a number.
        if (const std::optional<SqlDateTime> d = storedDateTime(text))
            return dateTimeAfter(ctx, *d, number.real * 86400000.0);
        bool ok = false;
        const double v = text.text.trimmed().toDouble(&ok);
        if (!ok) {
            resultError(ctx, serverError::NotAWholeNumber,
                        {QStringLiteral("nvarchar"), text.text, QStringLiteral("int")});
            return std::nullopt;
        }
        const qlonglong whole = text.text.trimmed().toLongLong(&ok);
        int64_t sum = 0;
        if (ok && number.type == SQLITE_INTEGER && !__builtin_add_overflow(whole, number.whole, &sum))
            return Operand::ofWhole(sum);
        return Operand::ofReal(v + number.real);
    }
    // Whole numbers beyond 64 bits are added as doubles, as SQLite's own "+" does.
    int64_t sum = 0;
    if (a.type == SQLITE_INTEGER && b.type == SQLITE_INTEGER && !__builtin_add_overflow(a.whole, b.whole, &sum))
        return Operand::ofWhole(sum);
    return Operand::ofReal(a.real + b.real);
}

// A number operand of / % -: a text is read as SQL Server converts it to a number.
bool numberOf(sqlite3_context* ctx, const Operand& v, std::optional<double>& real, std::optional<int64_t>& whole)
{
    real.reset();
    whole.reset();
    switch (v.type) {
    case SQLITE_INTEGER:
        whole = v.whole;
        return true;
    case SQLITE_FLOAT:
        real = v.real;
        return true;
    default: {
        const QString s = v.text.trimmed();
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
        resultError(ctx, serverError::NotAWholeNumber, {QStringLiteral("varchar"), v.text, QStringLiteral("int")});
        return false;
    }
    }
}

// a * b after a step of a fold: whole numbers beyond 64 bits are multiplied
// as doubles, as SQLite's own "*" does.
std::optional<Operand> multiplied(sqlite3_context* ctx, const Operand& x, const Operand& y)
{
    std::optional<double> realA, realB;
    std::optional<int64_t> wholeA, wholeB;
    if (!numberOf(ctx, x, realA, wholeA) || !numberOf(ctx, y, realB, wholeB))
        return std::nullopt;
    int64_t product = 0;
    if (wholeA && wholeB && !__builtin_mul_overflow(*wholeA, *wholeB, &product))
        return Operand::ofWhole(product);
    return Operand::ofReal((wholeA ? double(*wholeA) : *realA) * (wholeB ? double(*wholeB) : *realB));
}

// a / b and a % b where the statement does not show the divisor to be
// non-zero: whole numbers divide as whole numbers.
std::optional<Operand> divided(sqlite3_context* ctx, const Operand& x, const Operand& y, bool modulo)
{
    std::optional<double> realA, realB;
    std::optional<int64_t> wholeA, wholeB;
    if (!numberOf(ctx, x, realA, wholeA) || !numberOf(ctx, y, realB, wholeB))
        return std::nullopt;
    if ((wholeB && *wholeB == 0) || (realB && *realB == 0)) {
        resultError(ctx, serverError::DivideByZero);
        return std::nullopt;
    }
    if (wholeA && wholeB) {
        if (*wholeA == std::numeric_limits<int64_t>::min() && *wholeB == -1) {
            resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("int")});
            return std::nullopt;
        }
        return Operand::ofWhole(modulo ? *wholeA % *wholeB : *wholeA / *wholeB);
    }
    const double a = wholeA ? double(*wholeA) : *realA;
    const double b = wholeB ? double(*wholeB) : *realB;
    return Operand::ofReal(modulo ? std::fmod(a, b) : a / b);
}

// a - b where the statement does not show the operands' types: a date-time
// less a number of days, the time between two date-times (as a date-time
// after day 0), or the difference of two numbers.
std::optional<Operand> subtracted(sqlite3_context* ctx, const Operand& a, const Operand& b)
{
    if (const std::optional<SqlDateTime> dateA = storedDateTime(a)) {
        const std::optional<SqlDateTime> dateB = storedDateTime(b);
        if (!dateB && b.type == SQLITE_TEXT && isStorageDateTime(b.text)) {
            resultError(ctx, serverError::DateOutOfRange);
            return std::nullopt;
        }
        return dateTimeAfter(ctx, *dateA, dateB ? -double(dateB->msSinceDayZero()) : -b.real * 86400000.0);
    }
    std::optional<double> realA, realB;
    std::optional<int64_t> wholeA, wholeB;
    if (!numberOf(ctx, a, realA, wholeA) || !numberOf(ctx, b, realB, wholeB))
        return std::nullopt;
    int64_t difference = 0;
    if (wholeA && wholeB && !__builtin_sub_overflow(*wholeA, *wholeB, &difference))
        return Operand::ofWhole(difference);
    return Operand::ofReal((wholeA ? double(*wholeA) : *realA) - (wholeB ? double(*wholeB) : *realB));
}

// tsql_op(a, b, operation [, c, operation]...): + (0), - (1), * (2), / (3)
// and % (4) where the statement does not show the operands' types (or, for
// / and %, that the divisor is not zero), folded from the left over the
// operands, each step as its own operator gives it. Null once an operand is
// Null.
void untypedOperationFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    Operand acc;
    const auto step = [&](int i, int64_t operation) {
        if (operation < 0 || operation > 4) {
            resultError(ctx, QStringLiteral("An operation is one of 0 to 4."));
            return false;
        }
        const Operand a = i == 1 ? Operand::of(argv[0]) : std::move(acc);
        const Operand b = Operand::of(argv[i]);
        std::optional<Operand> r = operation == 0   ? added(ctx, a, b)
                                   : operation == 1 ? subtracted(ctx, a, b)
                                   : operation == 2 ? multiplied(ctx, a, b)
                                                    : divided(ctx, a, b, operation == 4);
        if (r)
            acc = std::move(*r);
        return r.has_value();
    };
    if (foldSteps(ctx, argc, argv, "An operation", step))
        resultOperand(ctx, acc);
}

// tsql_finite(x): a float computed by SQLite's own operators, which leaves
// the range of a float as SQL Server's arithmetic overflow, not infinity.
void finiteFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT && !std::isfinite(sqlite3_value_double(argv[0]))) {
        resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("float")});
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

} // namespace

// The folds are registered for one and two steps too, which the functions'
// fuzzer reaches (it calls those of a fixed number of arguments).
std::span<const FunctionDef> numberFunctions()
{
    static const FunctionDef functions[] = {
        {"tsql_decimal", 3, &decimalFunction, true},
        {"tsql_decimal_text", 2, &decimalTextFunction, true},
        {"tsql_int", 2, &intFunction, true},
        {"tsql_round", 3, &roundFunction, true},
        {"tsql_float", 1, &floatFunction, true},
        {"tsql_bit", 1, &bitFunction, true},
        {"tsql_op", 3, &untypedOperationFunction, true},
        {"tsql_op", 5, &untypedOperationFunction, true},
        {"tsql_op", -1, &untypedOperationFunction, true},
        {"tsql_finite", 1, &finiteFunction, true},
        {"tsql_int_op", 3, &intOperationFunction, true},
        {"tsql_int_op", 5, &intOperationFunction, true},
        {"tsql_int_op", -1, &intOperationFunction, true},
        {"tsql_decimal_op", 3, &decimalOperationFunction, true},
        {"tsql_decimal_op", 5, &decimalOperationFunction, true},
        {"tsql_decimal_op", -1, &decimalOperationFunction, true},
        {"tsql_date_number", 1, &dateNumberFunction, true},
        {"tsql_error", 1, &errorFunction, false},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
