#include "platform/db/sqlite/SqlTranslationErrors.h"

#include "platform/db/Types.h"

namespace platform::db::sqlite::translation {

[[noreturn]] void refuse(const QString& construct)
{
    throw DbError(
        adErr::Syntax,
        QStringLiteral("The embedded data base cannot run this statement: %1 is not supported.").arg(construct),
        QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
}

[[noreturn]] void syntaxError(const QString& description)
{
    throw DbError(adErr::Syntax, description, QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
}

} // namespace platform::db::sqlite::translation
