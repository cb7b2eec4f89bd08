#include "platform/db/sqlite/SqlLiterals.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlMoneyText.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqlWholeText.h"

namespace platform::db::sqlite::translation {

namespace {

// Money as SQLite stores it: a whole number, or a real of at most four decimals.
QString moneyText(Currency amount)
{
    return amount.toString();
}

QString moneyLiteral(const QString& text)
{
    const MoneyText m = readMoneyText(text);
    if (m.reading == MoneyReading::NotAnAmount)
        serverFailure(serverError::NotMoney);
    if (m.reading == MoneyReading::Overflow)
        serverFailure(serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("money")});
    return moneyText(m.value);
}

QString dateTimeText(const QString& text)
{
    const DateText d = readDateText(text);
    if (d.reading == DateReading::NotADate)
        serverFailure(serverError::NotADate);
    if (d.reading == DateReading::OutOfRange)
        serverFailure(serverError::DateOutOfRange);
    return d.value.toStorageText();
}

int64_t wholeNumber(const QString& text, int precision)
{
    const WholeType& type = wholeTypeOfPrecision(precision);
    const WholeText read = readWholeText(text, type);
    if (read.reading != WholeReading::Whole) {
        QStringList values;
        const ServerError& error = wholeTextError(read, type, QStringLiteral("varchar"), text, values);
        serverFailure(error, values);
    }
    return read.value;
}

int64_t bitValue(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0)
        return 1;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0 || t.isEmpty())
        return 0;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok)
        serverFailure(serverError::NotAWholeNumber, {QStringLiteral("varchar"), text, QStringLiteral("bit")});
    return d != 0 ? 1 : 0;
}

// A text converted to a decimal (`exponent` false) or a float: a float also
// takes an exponent, and a blank text is 0.
QString decimalLiteral(const QString& text, const char* typeName, bool exponent)
{
    const QString t = text.trimmed();
    if (exponent && t.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    t.toDouble(&ok);
    // Only plain decimal notation: no hexadecimal, no infinity.
    for (const QChar c : t)
        ok = ok && (c.isDigit() || c == u'.' || c == u'-' || c == u'+' || (exponent && (c == u'e' || c == u'E')));
    if (!ok)
        serverFailure(serverError::NotANumber, {QStringLiteral("varchar"), QLatin1String(typeName)});
    return t.startsWith(u'+') ? t.mid(1) : t;
}

} // namespace

QString quoteName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString quoteText(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

bool convertsLiterals(ColumnKind kind)
{
    return kind != ColumnKind::Text && kind != ColumnKind::Other;
}

Variant convertedValue(const QString& text, ColumnKind kind, int precision)
{
    switch (kind) {
    case ColumnKind::DateTime:
        return dateTimeText(text);
    case ColumnKind::Money:
        return moneyLiteral(text);
    case ColumnKind::Integer:
        return wholeNumber(text, precision);
    case ColumnKind::Bit:
        return bitValue(text);
    case ColumnKind::Decimal:
        return decimalLiteral(text, "numeric", false);
    case ColumnKind::Float:
        return decimalLiteral(text, "float", true);
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return text;
}

QString convertedLiteral(const QString& text, ColumnKind kind, int precision)
{
    const Variant value = convertedValue(text, kind, precision);
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Bit:
        return QString::number(*value.toInteger());
    case ColumnKind::Money:
    case ColumnKind::Decimal:
    case ColumnKind::Float:
        return value.toText();
    case ColumnKind::DateTime:
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return quoteText(value.toText());
}

int64_t wholeNumberWritten(const QString& number, int precision)
{
    const int64_t value = number.toLongLong();
    const WholeType& type = wholeTypeOfPrecision(precision);
    if (value < type.low || value > type.high) {
        QStringList values;
        const ServerError& error = wholeNumberOverflow(value, type, values);
        serverFailure(error, values);
    }
    return value;
}

QString moneyLiteralOfNumber(const QString& number)
{
    if (!number.contains(QLatin1Char('e')) && !number.contains(QLatin1Char('E')))
        return moneyLiteral(number);
    // A float literal.
    const double value = number.toDouble();
    if (!Currency::holds(value))
        serverFailure(serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("money")});
    return moneyText(Currency::fromDouble(value));
}

NumberForm numberForm(QStringView number)
{
    bool digits = !number.isEmpty();
    bool decimal = false;
    for (const QChar c : number) {
        if (c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-')
            decimal = true;
        else if (c < u'0' || c > u'9')
            return NumberForm::Other;
    }
    if (decimal)
        return NumberForm::Decimal;
    // Up to 18 digits always fit in 64 bits.
    if (digits && number.size() <= 18)
        return NumberForm::Whole;
    bool fits = false;
    (void)number.toLongLong(&fits);
    return digits && fits ? NumberForm::Whole : NumberForm::Other;
}

Variant parameterValue(const Parameter& parameter, const QString& literal)
{
    switch (parameter.value) {
    case Parameter::Value::Text:
    case Parameter::Value::Number:
        return literal;
    case Parameter::Value::Whole:
        return parameter.kind == ColumnKind::Integer ? wholeNumberWritten(literal, parameter.precision)
                                                     : int64_t(literal.toLongLong());
    case Parameter::Value::Converted:
        return convertedValue(literal, parameter.kind, parameter.precision);
    case Parameter::Value::Money:
        return moneyLiteralOfNumber(literal);
    }
    return literal;
}

} // namespace platform::db::sqlite::translation
