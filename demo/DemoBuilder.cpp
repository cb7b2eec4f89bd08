#include "demo/DemoBuilder.h"

#include "demo/DemoCatalogue.h"
#include "demo/DemoData.h"
#include "demo/DemoRows.h"
#include "demo/DemoSchema.h"
#include "demo/DemoSqlite.h"
#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/util/Dll_Utilidades.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <chrono>
#include <exception>

namespace demo {

using namespace detail;

QString storedPassword(const QString& plain)
{
    // The users table keeps passwords as the utility object enciphers them.
    return platform::Dll_Utilidades::shared().Encriptar(plain);
}

QString demoPasswordStored()
{
    return storedPassword(QString::fromLatin1(kDemoPassword));
}

namespace {

DbPtr openNew(const QString& path)
{
    QFile::remove(path);
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DbPtr db(raw);
    if (rc != SQLITE_OK)
        throw BuildError("cannot create " + path.toStdString() + ": " +
                         (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    if (platform::db::sqlite::registerSqlServerExtensions(raw) != SQLITE_OK)
        throw BuildError("cannot register the text collation on " + path.toStdString());
    platform::db::sqlite::stampCollationVersion(raw);
    exec(raw, "PRAGMA journal_mode = OFF");
    exec(raw, "PRAGMA synchronous = OFF");
    exec(raw, "PRAGMA cache_size = -65536");
    return db;
}

// Builds one data base under a temporary name and puts it in place when complete.
template <typename Fill> void buildFile(const QString& folder, const char* name, Fill fill)
{
    const QString finalPath = QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".sqlite"));
    const QString partPath = finalPath + QStringLiteral(".part");
    {
        DbPtr db = openNew(partPath);
        exec(db.get(), "BEGIN");
        fill(db.get());
        exec(db.get(), "COMMIT");
        // The file keeps the mode: every connection that writes it later logs
        // ahead, and a commit survives a crash of the program.
        exec(db.get(), "PRAGMA journal_mode = WAL");
        if (sqlite3_close_v2(db.release()) != SQLITE_OK)
            throw BuildError("cannot close " + partPath.toStdString());
    }
    // A log left by an earlier file of the name would be replayed on this one.
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(finalPath + QLatin1String(suffix));
    if (!QFile::rename(partPath, finalPath))
        throw BuildError("cannot rename " + partPath.toStdString() + " to " + finalPath.toStdString());
}

} // namespace

long long minimumHistoryRows(long long historyRows)
{
    const int articles = articleCount(historyRows);
    return static_cast<long long>(articles) * (1 + kListCount) + massRowTotal(articles);
}

BuildResult buildDemoServer(const BuildOptions& options)
{
    BuildResult result;
    const auto started = std::chrono::steady_clock::now();
    const long long minimum = minimumHistoryRows(options.historyRows);
    if (options.historyRows < minimum || options.historyRows > 100000000LL) {
        result.error = QStringLiteral("history rows must be between %1 and 100000000").arg(minimum);
        return result;
    }
    if (options.folder.trimmed().isEmpty() || !QDir().mkpath(options.folder)) {
        result.error = QStringLiteral("cannot create the server folder \"%1\"").arg(options.folder);
        return result;
    }
    const QString partMain = QDir(options.folder).filePath(QString::fromLatin1(kMainDatabase) + ".sqlite.part");
    const QString partStats = QDir(options.folder).filePath(QString::fromLatin1(kStatisticsDatabase) + ".sqlite.part");
    try {
        Generator rng(options.seed);
        const int articles = articleCount(options.historyRows);
        Dataset data = generate(articles, options.historyRows, rng);

        buildFile(options.folder, kMainDatabase, [&](sqlite3* db) {
            for (const Table& table : mainTables())
                exec(db, createTableSql(table));
            writeHistory(db, data);
            writeArticlesAndLists(db, data);
            writeConfiguration(db);
            writeUsersAndCompany(db);
            writeAccounting(db);
            for (const Table& table : catalogueTables())
                exec(db, createTableSql(table));
            writeCatalogue(db);
            writeProcedures(db);
            for (const char* sql : kIndexes)
                exec(db, sql);
            for (const char* sql : kRestrictedViews)
                exec(db, sql);
            for (const char* sql : kCatalogueViews)
                exec(db, sql);
            // Statistics, as a real server keeps them, so that the planner picks
            // the selective index of each look-up.
            exec(db, "ANALYZE");
        });
        buildFile(options.folder, kStatisticsDatabase, [](sqlite3* db) {
            exec(db, createTableSql(configurationTable()));
            exec(db, "CREATE INDEX IX_Configuracion_Clave ON TA_CONFIGURACION (CLAVE, GRUPO)");
            insertRows(db, "TA_CONFIGURACION", {"GRUPO", "CLAVE", "VALOR", "VALORAUX", "PoliticaNegocio"},
                       {{text("BaseDeDatos"), text("TIMEOUT"), text("30"), text(""), 0LL}});
        });
        result.articles = articles;
        result.historyRows = static_cast<long long>(data.events.size());
        result.ok = true;
    } catch (const std::exception& e) {
        QFile::remove(partMain);
        QFile::remove(partStats);
        result.error = QString::fromStdString(e.what());
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace demo
