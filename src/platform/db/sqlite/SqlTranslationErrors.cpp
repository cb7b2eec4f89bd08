#include "platform/db/sqlite/SqlTranslationErrors.h"

#include "platform/db/Types.h"

namespace platform::db::sqlite::translation {

namespace {

const QString kProvider = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

} // namespace

[[noreturn]] void refuse(const QString& construct)
{
    throw DbError(
        adErr::Syntax,
        QStringLiteral("The embedded data base cannot run this statement: %1 is not supported.").arg(construct),
        kProvider);
}

[[noreturn]] void syntaxError(const QString& description)
{
    throw DbError(adErr::Syntax, description, kProvider);
}

[[noreturn]] void serverFailure(const ServerError& error, const QStringList& values)
{
    throw DbError(ErrorInfo{error.number, serverMessage(error, values), kProvider, QString::fromLatin1(error.sqlState),
                            error.native});
}

} // namespace platform::db::sqlite::translation
