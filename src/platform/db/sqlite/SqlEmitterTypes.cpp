// SQL Server's types of emitted values and its data-type precedence: where
// values of two types meet, the one of lower precedence converts to the
// other's type.

#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlWholeText.h"
#include "platform/db/Types.h"

#include <algorithm>

namespace platform::db::sqlite::translation {

namespace {

// A number literal's type: an int when whole and within 32 bits, a decimal
// of its digits (1.50 is decimal(3,2), 0.05 decimal(2,2)), a float with an exponent.
ValueType literalType(QStringView number)
{
    if (number.startsWith(u'-') || number.startsWith(u'+'))
        number = number.mid(1);
    if (number.contains(u'e') || number.contains(u'E'))
        return ValueType{ColumnKind::Float, 0, 0};
    const qsizetype point = number.indexOf(u'.');
    QStringView whole = point < 0 ? number : number.left(point);
    const int fraction = point < 0 ? 0 : int(number.size() - point - 1);
    while (!whole.isEmpty() && whole.front() == u'0')
        whole = whole.mid(1);
    if (point < 0) {
        const WholeText read = readWholeText(number, wholeType(32));
        if (read.reading == WholeReading::Whole)
            return ValueType{ColumnKind::Integer, 10, 0};
    }
    const int digits = std::clamp(int(whole.size()) + fraction, 1, 38);
    return ValueType{ColumnKind::Decimal, digits, std::min(fraction, digits)};
}

int integerRank(int precision)
{
    switch (precision) {
    case 3:
        return 1;
    case 5:
        return 2;
    case 19:
        return 4;
    default:
        return 3;
    }
}

} // namespace

std::pair<int, int> decimalDigits(const ValueType& t)
{
    switch (t.kind) {
    case ColumnKind::Decimal:
        return {t.precision, t.scale};
    case ColumnKind::Money:
        return {19, 4};
    case ColumnKind::Integer:
        return {t.precision, 0};
    case ColumnKind::Bit:
        return {1, 0};
    default:
        return {38, 0};
    }
}

ValueType valueType(const Out& v)
{
    switch (v.type) {
    case Type::Text:
        return ValueType{ColumnKind::Text, 0, 0};
    case Type::Date:
        return ValueType{ColumnKind::DateTime, 0, 0};
    case Type::Money:
        return ValueType{ColumnKind::Money, 19, 4};
    case Type::Number:
        if (v.source == Source::NumberLiteral)
            return literalType(v.literal);
        switch (v.column) {
        case ColumnKind::Integer:
            return ValueType{ColumnKind::Integer,
                             v.precision == 3 || v.precision == 5 || v.precision == 19 ? v.precision : 10, 0};
        case ColumnKind::Bit:
            return ValueType{ColumnKind::Bit, 1, 0};
        case ColumnKind::Decimal:
            return ValueType{ColumnKind::Decimal, v.precision > 0 ? v.precision : 18, std::max(v.scale, 0)};
        case ColumnKind::Float:
            return ValueType{ColumnKind::Float, 0, 0};
        default:
            break;
        }
        break;
    case Type::Unknown:
    case Type::Null:
        break;
    }
    return ValueType{};
}

int precedence(const ValueType& t)
{
    switch (t.kind) {
    case ColumnKind::DateTime:
        return 100;
    case ColumnKind::Float:
        return 90;
    case ColumnKind::Decimal:
        return 80;
    case ColumnKind::Money:
        return 70;
    case ColumnKind::Integer:
        return 60 + integerRank(t.precision);
    case ColumnKind::Bit:
        return 50;
    case ColumnKind::Text:
        return 40;
    case ColumnKind::Other:
        break;
    }
    return 0;
}

ValueType higherType(const ValueType& a, const ValueType& b)
{
    if (a.kind == ColumnKind::Decimal || b.kind == ColumnKind::Decimal) {
        const bool bothNumbers = precedence(a) > precedence(ValueType{ColumnKind::Text, 0, 0}) &&
                                 precedence(b) > precedence(ValueType{ColumnKind::Text, 0, 0}) &&
                                 precedence(a) <= precedence(ValueType{ColumnKind::Decimal, 0, 0}) &&
                                 precedence(b) <= precedence(ValueType{ColumnKind::Decimal, 0, 0});
        if (bothNumbers) {
            // max(s1, s2) + max(p1 - s1, p2 - s2), at most 38 digits.
            const auto [p1, s1] = decimalDigits(a);
            const auto [p2, s2] = decimalDigits(b);
            const int scale = std::max(s1, s2);
            const int integral = std::max(p1 - s1, p2 - s2);
            return ValueType{ColumnKind::Decimal, std::min(scale + integral, 38),
                             std::min(scale, 38 - std::min(integral, 38))};
        }
    }
    return precedence(b) > precedence(a) ? b : a;
}

QString declaredType(const ValueType& t)
{
    switch (t.kind) {
    case ColumnKind::DateTime:
        return QStringLiteral("datetime");
    case ColumnKind::Float:
        return QStringLiteral("float");
    case ColumnKind::Decimal:
        return QStringLiteral("decimal(%1,%2)").arg(t.precision).arg(t.scale);
    case ColumnKind::Money:
        return QStringLiteral("money");
    case ColumnKind::Integer:
        return QLatin1String(wholeTypeOfPrecision(t.precision).name);
    case ColumnKind::Bit:
        return QStringLiteral("bit");
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return {};
}

void giveType(Out& v, const ValueType& t)
{
    v.type = typeOfKind(t.kind);
    v.column = v.type == Type::Number ? t.kind : ColumnKind::Other;
    v.precision = t.precision;
    v.scale = t.kind == ColumnKind::Decimal ? t.scale : -1;
    v.declared = declaredType(t);
}

QString convertedAtRunTime(const Out& v, const ValueType& t)
{
    switch (t.kind) {
    case ColumnKind::Integer:
        return QStringLiteral("tsql_int(%1, %2)").arg(v.text, QString::number(wholeTypeOfPrecision(t.precision).bits));
    case ColumnKind::Bit:
        return QStringLiteral("tsql_bit(%1)").arg(v.text);
    case ColumnKind::Decimal:
        return QStringLiteral("tsql_decimal(%1, %2, %3)")
            .arg(v.text, QString::number(t.precision), QString::number(t.scale));
    case ColumnKind::Float:
        return QStringLiteral("tsql_float(%1)").arg(v.text);
    case ColumnKind::Money:
        return QStringLiteral("tsql_money(%1)").arg(moneyArgument(v));
    case ColumnKind::DateTime:
        return QStringLiteral("tsql_datetime(%1, NULL, 0)").arg(v.text);
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return v.text;
}

Out identity(bool scoped)
{
    Out out{scoped ? QStringLiteral("tsql_identity(1)") : QStringLiteral("tsql_identity(0)")};
    giveType(out, ValueType{ColumnKind::Decimal, 38, 0});
    return out;
}

Out convertedTo(const Out& v, const ValueType& t)
{
    const ValueType from = valueType(v);
    // A value whose type the statement does not show keeps what it holds.
    if (v.type == Type::Null || from.kind == ColumnKind::Other || precedence(t) <= precedence(from) ||
        t.kind == ColumnKind::Text || t.kind == ColumnKind::Other)
        return v;
    Out out = v;
    if (v.source == Source::TextLiteral && !v.bound) {
        // Read now when it converts; one that does not fails where it is
        // evaluated, as on SQL Server (a CASE branch no row reaches does not).
        try {
            out.text = convertedLiteral(v.literal, t.kind, t.precision);
        } catch (const DbError& e) {
            out.text = QStringLiteral("tsql_error(%1)").arg(quoteText(e.info().Description));
        }
        out.literalIndex = -1;
        out.source = Source::Computed;
    } else if (from.kind == ColumnKind::Text || t.kind == ColumnKind::DateTime) {
        out.text = convertedAtRunTime(v, t);
        out.source = Source::Computed;
    }
    // A converted chain is no longer open to the next operand of its operator.
    out.chain = nullptr;
    out.collate = false;
    giveType(out, t);
    return out;
}

} // namespace platform::db::sqlite::translation
