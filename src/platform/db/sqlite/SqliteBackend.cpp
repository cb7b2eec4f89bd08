#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace platform::db::sqlite {

using backend::entry;
using backend::raise;

void SqliteBackend::DbCloser::operator()(sqlite3* handle) const
{
    sqlite3_close_v2(handle);
}

void SqliteBackend::StmtFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

SqliteBackend::SqliteBackend() = default;

SqliteBackend::~SqliteBackend()
{
    close();
}

void SqliteBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    // A blank at the end of the value is part of the folder's name.
    QString server =
        embeddedServerPath(params.parsed.first({"server", "data source", "address", "addr", "network address"}));
    if (server.startsWith(QLatin1String("~/")))
        server = QDir::home().filePath(server.mid(2));
    else if (QDir::isRelativePath(server))
        server = QDir(params.programFolder).filePath(server);
    m_folder = QDir::cleanPath(server);
    m_commandTimeout = params.commandTimeout;
    if (!QFileInfo(m_folder).isDir()) {
        // The server is a folder: its absence is told by its name, not as a
        // server or instance that does not answer.
        raise(errors, entry(adErr::Generic, QStringLiteral("The server folder \"%1\" was not found.").arg(m_folder),
                            QStringLiteral("08001"), 17));
    }
    const QString name = params.parsed.first({"database", "initial catalog"}).trimmed();
    if (name.isEmpty()) {
        // Without a data base the login lands in an empty one, as on a server's master.
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
        DbPtr handle(raw);
        if (rc != SQLITE_OK || registerSqlServerExtensions(raw) != SQLITE_OK)
            raise(errors, entry(adErr::Generic, QStringLiteral("The embedded engine could not start."),
                                QStringLiteral("HY000"), 0));
        sqlite3_extended_result_codes(raw, 1);
        sqlite3_progress_handler(raw, 1000, &SqliteBackend::progress, this);
        registerIdentityFunction(raw);
        clearStatements();
        m_db = std::move(handle);
        m_database = QStringLiteral("master");
        m_catalogStale = true;
        return;
    }
    QString found;
    DbPtr opened = openDatabase(name, found, errors);
    clearStatements();
    m_db = std::move(opened);
    m_database = found;
    m_transactionDepth = 0;
    m_catalogStale = true;
}

void SqliteBackend::close()
{
    if (m_db && m_transactionDepth > 0) {
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        keepNumbersGiven();
    }
    m_transactionDepth = 0;
    m_noCount = false;
    m_scopeIdentity.reset();
    m_sessionIdentity.reset();
    clearStatements();
    m_db.reset();
}

QString SqliteBackend::defaultDatabase() const
{
    return m_db ? m_database : QString();
}

void SqliteBackend::setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors)
{
    db(errors);
    if (name.trimmed().compare(m_database, Qt::CaseInsensitive) == 0)
        return;
    if (m_transactionDepth > 0)
        raise(errors,
              entry(adErr::Generic, QStringLiteral("The data base cannot be changed while a transaction is open."),
                    QStringLiteral("25000"), 0));
    QString found;
    std::vector<ErrorInfo> openErrors;
    DbPtr next;
    try {
        next = openDatabase(name, found, openErrors);
    } catch (const DbError&) {
        // On a server, changing to a data base that is not there is error 911.
        raise(errors,
              entry(adErr::Generic,
                    QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.")
                        .arg(name.trimmed()),
                    QStringLiteral("42000"), native::NoSuchDatabase));
    }
    clearStatements();
    m_db = std::move(next);
    m_database = found;
    m_catalogStale = true;
}

void SqliteBackend::setCommandTimeout(int seconds)
{
    m_commandTimeout = seconds;
}

int SqliteBackend::progress(void* self)
{
    auto* backend = static_cast<SqliteBackend*>(self);
    if (std::chrono::steady_clock::now() > backend->m_deadline) {
        backend->m_timedOut = true;
        return 1;
    }
    return 0;
}

int SqliteBackend::busy(void* self, int count)
{
    auto* backend = static_cast<SqliteBackend*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0)
        backend->m_lockWaitStart = now;
    // Each lock is waited for up to the command time-out (0 waits without
    // end), and never past the time-out of the statement that waits.
    const bool waitedEnough = backend->m_commandTimeout > 0 &&
                              now - backend->m_lockWaitStart >= std::chrono::seconds(backend->m_commandTimeout);
    if (waitedEnough || now > backend->m_deadline)
        return 0;
    if (QCoreApplication::instance()) {
        backend->m_waitingForLock = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        backend->m_waitingForLock = false;
    }
    sqlite3_sleep(10);
    return 1;
}

sqlite3* SqliteBackend::db(std::vector<ErrorInfo>& errors) const
{
    if (m_waitingForLock)
        raise(errors,
              entry(adErr::OperationNotAllowed, QStringLiteral("Connection is busy with results for another command"),
                    QStringLiteral("HY000"), 0));
    if (!m_db)
        raise(errors, entry(adErr::ConnectionUnusable, QStringLiteral("The connection is closed."),
                            QStringLiteral("08003"), 0));
    return m_db.get();
}

} // namespace platform::db::sqlite
