#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"
#include "platform/db/Backend.h"
#include "platform/db/odbc/OdbcBackend.h"
#include "platform/db/sqlite/SqliteBackend.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace platform::db {

namespace {

// A wrapper belongs to the test that set it: a fresh program has none.
ProgramWide<BackendWrapper> g_wrapper;

bool isSqlOleDb(const QString& lowerProvider)
{
    return lowerProvider == u"sqloledb" || lowerProvider.startsWith(u"sqloledb.");
}

std::unique_ptr<Backend> createUnwrapped(const ConnectionString& parsed)
{
    const QString provider = parsed.value(QStringLiteral("provider")).trimmed();
    const QString lower = provider.toLower();
    if (usesEmbeddedEngine(parsed))
        return std::make_unique<sqlite::SqliteBackend>();
    const bool sqlServer = isSqlOleDb(lower);
    const bool odbc =
        sqlServer || lower.startsWith(u"oraoledb") || lower.startsWith(u"microsoft.jet.oledb") ||
        lower.startsWith(u"msdasql") ||
        (provider.isEmpty() && (parsed.has(QStringLiteral("driver")) || parsed.has(QStringLiteral("dsn"))));
    if (odbc) {
        return odbc::createOdbcBackend(parsed);
    }
    throw DbError(adErr::ProviderNotFound,
                  QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)")
                      .arg(provider.isEmpty() ? QStringLiteral("no provider named") : provider),
                  QStringLiteral("ADODB.Connection"));
}

} // namespace

bool isEmbeddedServer(const QString& server)
{
    const QString value = embeddedServerPath(server);
    if (value.isEmpty())
        return false;
    for (const char* start : {"/", "./", "../", "~/"}) {
        if (value.startsWith(QLatin1String(start)))
            return true;
    }
    return QFileInfo(QDir(Runtime::instance().programFolder()).filePath(value)).isDir();
}

QString embeddedServerPath(const QString& server)
{
    qsizetype start = 0;
    while (start < server.size() && server.at(start).isSpace())
        ++start;
    return server.mid(start);
}

bool usesEmbeddedEngine(const ConnectionString& parsed)
{
    if (!isSqlOleDb(parsed.value(QStringLiteral("provider")).trimmed().toLower()))
        return false;
    return isEmbeddedServer(parsed.first({"server", "data source", "address", "addr", "network address"}));
}

std::unique_ptr<Backend> createBackend(const ConnectionString& parsed)
{
    std::unique_ptr<Backend> backend = createUnwrapped(parsed);
    if (const BackendWrapper* wrapper = g_wrapper.find(); wrapper && *wrapper)
        backend = (*wrapper)(std::move(backend));
    return backend;
}

void setBackendWrapper(BackendWrapper w)
{
    g_wrapper.set(std::make_unique<BackendWrapper>(std::move(w)));
}

} // namespace platform::db
