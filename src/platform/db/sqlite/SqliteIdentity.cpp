#include "platform/db/sqlite/SqliteIdentity.h"

#include "platform/db/sqlite/SqlLiterals.h"

namespace platform::db::sqlite {

using translation::quoteName;
using translation::quoteText;

QString identityTrigger(const QString& table)
{
    return QLatin1String(kIdentityTable) + QLatin1Char('_') + table;
}

QString identityDefinition(const QString& table, const QString& column, qint64 seed, qint64 increment)
{
    const QString counters = QLatin1String(kIdentityTable);
    const QString row = QStringLiteral(" WHERE TABLE_NAME = ") + quoteText(table);
    const QString target = quoteName(table);
    const QString numbered = quoteName(column);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ") + counters +
           QStringLiteral(" (TABLE_NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, COLUMN_NAME "
                          "varchar(128) COLLATE SQLSERVER NOT NULL, SEED integer NOT NULL, INCREMENT integer NOT "
                          "NULL, LAST_VALUE integer);\n") +
           QStringLiteral("INSERT OR REPLACE INTO ") + counters + QStringLiteral(" VALUES (") + quoteText(table) +
           QStringLiteral(", ") + quoteText(column) + QStringLiteral(", ") + QString::number(seed) +
           QStringLiteral(", ") + QString::number(increment) + QStringLiteral(", NULL);\n") +
           QStringLiteral("CREATE TRIGGER ") + quoteName(identityTrigger(table)) + QStringLiteral(" AFTER INSERT ON ") +
           target + QStringLiteral(" FOR EACH ROW WHEN NEW.") + numbered + QStringLiteral(" IS NULL BEGIN\n  UPDATE ") +
           counters + QStringLiteral(" SET LAST_VALUE = ifnull(LAST_VALUE + INCREMENT, SEED)") + row +
           QStringLiteral(";\n  UPDATE ") + target + QStringLiteral(" SET ") + numbered +
           QStringLiteral(" = (SELECT LAST_VALUE FROM ") + counters + row +
           QStringLiteral(") WHERE rowid = NEW.rowid;\nEND");
}

} // namespace platform::db::sqlite
