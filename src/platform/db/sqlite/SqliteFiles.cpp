#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace platform::db::sqlite {

namespace {

// The journal mode the file records ("wal", "delete", ...), read without writing.
QByteArray journalMode(sqlite3* db)
{
    sqlite3_stmt* raw = nullptr;
    QByteArray mode;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &raw, nullptr) == SQLITE_OK &&
        sqlite3_step(raw) == SQLITE_ROW)
        mode = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0))).toLower();
    sqlite3_finalize(raw);
    return mode;
}

} // namespace

using backend::entry;
using backend::kProvider;
using backend::raise;

void createDatabase(const QString& filePath, const QString& script)
{
    if (QFileInfo::exists(filePath))
        throw DbError(adErr::Generic, QStringLiteral("The data base file \"%1\" already exists.").arg(filePath),
                      kProvider);
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(filePath).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqliteBackend::DbPtr handle(raw);
    QString failure;
    if (rc != SQLITE_OK) {
        failure = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    } else if (registerSqlServerExtensions(raw) != SQLITE_OK) {
        failure = QStringLiteral("the collation and functions could not be registered");
    } else {
        stampCollationVersion(raw);
        // Written ahead of the file: a commit survives a crash of the program,
        // and a power cut can lose the last commits but never damage the file.
        const QByteArray text =
            QByteArrayLiteral("PRAGMA journal_mode = WAL; BEGIN;") + script.toUtf8() + QByteArrayLiteral(";\nCOMMIT;");
        char* message = nullptr;
        if (sqlite3_exec(raw, text.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            failure = QString::fromUtf8(message ? message : sqlite3_errmsg(raw));
            sqlite3_free(message);
        }
    }
    handle.reset();
    if (!failure.isEmpty()) {
        QFile::remove(filePath);
        throw DbError(adErr::Generic,
                      QStringLiteral("The data base \"%1\" could not be built: %2").arg(filePath, failure), kProvider);
    }
}

SqliteBackend::DbPtr SqliteBackend::openDatabase(const QString& name, QString& foundName,
                                                 std::vector<ErrorInfo>& errors) const
{
    // Only names of files in the folder match, so a name cannot reach outside it.
    QString path;
    const QString wanted = name.trimmed() + QStringLiteral(".sqlite");
    const QStringList files = QDir(m_folder).entryList(QDir::Files);
    for (const QString& file : files) {
        if (file.compare(wanted, Qt::CaseInsensitive) == 0) {
            path = QDir(m_folder).filePath(file);
            foundName = file.left(file.size() - 7);
            break;
        }
    }
    const ErrorInfo cannotOpen = entry(
        adErr::Generic,
        QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(name.trimmed()),
        QStringLiteral("42000"), native::CannotOpenDatabase);
    if (path.isEmpty())
        raise(errors, cannotOpen);

    // A connection is used by one thread at a time (the program's): SQLite
    // need not take the connection's lock at every call.
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    DbPtr handle(raw);
    QString problem;
    if (rc != SQLITE_OK) {
        problem = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    } else {
        sqlite3_extended_result_codes(raw, 1);
        // A damaged file or one that is no data base fails here, not at the first query.
        char* message = nullptr;
        if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) != SQLITE_OK) {
            problem = QString::fromUtf8(message ? message : sqlite3_errmsg(raw));
            sqlite3_free(message);
        } else if (QFileInfo(path).size() == 0 && QFileInfo(path + QStringLiteral("-wal")).size() == 0) {
            // SQLite takes an empty file for a new data base; no data base of the system is empty.
            problem = QStringLiteral("the file is empty");
        } else if (registerSqlServerExtensions(raw) != SQLITE_OK) {
            problem = QStringLiteral("the collation and functions could not be registered");
        } else {
            sqlite3_exec(raw, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
            // A file that logs ahead loses no commit in a crash of the program
            // without waiting for the disk at each one; a file in another
            // mode keeps the full wait (its mode is the file's, never changed here).
            if (journalMode(raw) == "wal")
                sqlite3_exec(raw, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
        }
    }
    if (!problem.isEmpty()) {
        ErrorInfo info = cannotOpen;
        info.Description = QStringLiteral("Cannot open database \"%1\" requested by the login. The file \"%2\" is "
                                          "damaged or is not a data base (%3).")
                               .arg(name.trimmed(), path, problem);
        raise(errors, info);
    }
    sqlite3_busy_handler(raw, &SqliteBackend::busy, const_cast<SqliteBackend*>(this));
    refreshCollationIndexes(raw);
    sqlite3_progress_handler(raw, 1000, &SqliteBackend::progress, const_cast<SqliteBackend*>(this));
    registerIdentityFunction(raw);
    return handle;
}

} // namespace platform::db::sqlite
