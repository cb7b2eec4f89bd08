#include "platform/db/sqlite/SqlLiterals.h"

#include "platform/db/sqlite/SqlDateText.h"

namespace platform::db::sqlite::translation {

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

std::optional<QString> dateLiteral(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() < 8)
        return std::nullopt;
    bool allDigits = true;
    for (QChar c : t)
        allDigits = allDigits && c.isDigit();
    if (allDigits)
        return std::nullopt;
    const auto d = parseSqlDateTime(t);
    if (!d)
        return std::nullopt;
    return d->toStorageText();
}

} // namespace platform::db::sqlite::translation
