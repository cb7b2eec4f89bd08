#include "platform/db/sqlite/SqlLiterals.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlMoneyText.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"

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

QString dateTimeLiteral(const QString& text)
{
    const DateText d = readDateText(text);
    if (d.reading == DateReading::NotADate)
        serverFailure(serverError::NotADate);
    if (d.reading == DateReading::OutOfRange)
        serverFailure(serverError::DateOutOfRange);
    return quoteText(d.value.toStorageText());
}

QString wholeNumberLiteral(const QString& text, const char* typeName)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok)
        serverFailure(serverError::NotAWholeNumber, {QStringLiteral("varchar"), text, QLatin1String(typeName)});
    return QString::number(n);
}

QString bitLiteral(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0)
        return QStringLiteral("1");
    if (t.compare(u"false", Qt::CaseInsensitive) == 0 || t.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok)
        serverFailure(serverError::NotAWholeNumber, {QStringLiteral("varchar"), text, QStringLiteral("bit")});
    return d != 0 ? QStringLiteral("1") : QStringLiteral("0");
}

QString decimalLiteral(const QString& text, const char* typeName)
{
    const QString t = text.trimmed();
    bool ok = false;
    t.toDouble(&ok);
    // Only plain decimal notation: no hexadecimal, no infinity.
    for (const QChar c : t)
        ok = ok && (c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E');
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

QString convertedLiteral(const QString& text, ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::DateTime:
        return dateTimeLiteral(text);
    case ColumnKind::Money:
        return moneyLiteral(text);
    case ColumnKind::Integer:
        return wholeNumberLiteral(text, "int");
    case ColumnKind::Bit:
        return bitLiteral(text);
    case ColumnKind::Decimal:
        return decimalLiteral(text, "numeric");
    case ColumnKind::Float:
        return decimalLiteral(text, "float");
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return quoteText(text);
}

QString moneyLiteralOfNumber(const QString& number)
{
    if (!number.contains(u'e', Qt::CaseInsensitive))
        return moneyLiteral(number);
    // A float literal.
    const double value = number.toDouble();
    if (!Currency::holds(value))
        serverFailure(serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("money")});
    return moneyText(Currency::fromDouble(value));
}

} // namespace platform::db::sqlite::translation
