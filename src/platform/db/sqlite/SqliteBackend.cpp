#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <climits>

namespace platform::db::sqlite {

namespace {

const QString kProvider = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

ErrorInfo entry(int32_t number, const QString& description, const QString& sqlState, int32_t nativeError)
{
    return ErrorInfo{number, description, kProvider, sqlState, nativeError};
}

[[noreturn]] void raise(std::vector<ErrorInfo>& errors, ErrorInfo info)
{
    errors.push_back(info);
    throw DbError(std::move(info));
}

QString quoted(const QString& identifier)
{
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString firstWord(const QString& sql)
{
    static const QRegularExpression word(QStringLiteral(R"(^\s*([A-Za-z]+))"));
    return word.match(sql).captured(1).toUpper();
}

QString withoutMain(QString name)
{
    if (name.startsWith(QLatin1String("main."), Qt::CaseInsensitive))
        name.remove(0, 5);
    return name;
}

// SQLite's description of a failure in SQL Server's terms: the native
// number and SQLSTATE the system reads, and ADO's error number.
ErrorInfo translateError(int rc, int extended, const QString& message, const QString& statementSql,
                         const QString& database, bool timedOut)
{
    const QString verb = firstWord(statementSql);
    const int primary = rc & 0xff;
    if (primary == SQLITE_INTERRUPT && timedOut)
        return entry(adErr::Timeout, QStringLiteral("Query timeout expired"), QStringLiteral("HYT00"), 0);
    if (primary == SQLITE_CONSTRAINT) {
        const QString detail = message.section(u':', 1).trimmed();
        switch (extended) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE: {
            const QString table = detail.section(u'.', 0, 0);
            const QString kind =
                extended == SQLITE_CONSTRAINT_PRIMARYKEY ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE KEY");
            return entry(adErr::Constraint,
                         QStringLiteral("Violation of %1 constraint (%2). Cannot insert duplicate key in object "
                                        "'dbo.%3'.")
                             .arg(kind, detail, table),
                         QStringLiteral("23000"), native::DuplicateKey);
        }
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return entry(adErr::Constraint,
                         QStringLiteral("The %1 statement conflicted with the %2 constraint. The conflict occurred in "
                                        "database \"%3\".")
                             .arg(verb.isEmpty() ? QStringLiteral("INSERT") : verb,
                                  verb == u"DELETE" ? QStringLiteral("REFERENCE") : QStringLiteral("FOREIGN KEY"),
                                  database),
                         QStringLiteral("23000"), native::ConstraintConflict);
        case SQLITE_CONSTRAINT_NOTNULL: {
            const QString table = detail.section(u'.', 0, 0);
            const QString column = detail.section(u'.', 1);
            return entry(adErr::Constraint,
                         QStringLiteral("Cannot insert the value NULL into column '%1', table '%2.dbo.%3'; column "
                                        "does not allow nulls. %4 fails.")
                             .arg(column, database, table, verb.isEmpty() ? QStringLiteral("INSERT") : verb),
                         QStringLiteral("23000"), native::NullNotAllowed);
        }
        case SQLITE_CONSTRAINT_CHECK:
            // The embedded schemas name the length check of a text column maxlen_<column>.
            if (detail.startsWith(QLatin1String("maxlen_"), Qt::CaseInsensitive))
                return entry(adErr::DataOverflow, QStringLiteral("String or binary data would be truncated."),
                             QStringLiteral("22001"), native::TextTooLong);
            // ... and the number check of a money column numeric_<column>.
            if (detail.startsWith(QLatin1String("numeric_"), Qt::CaseInsensitive))
                return entry(adErr::TypeMismatch,
                             QStringLiteral("Cannot convert a char value to money. The char value has incorrect "
                                            "syntax."),
                             QStringLiteral("22018"), native::CannotConvertToMoney);
            return entry(adErr::Constraint,
                         QStringLiteral("The %1 statement conflicted with the CHECK constraint \"%2\". The conflict "
                                        "occurred in database \"%3\".")
                             .arg(verb.isEmpty() ? QStringLiteral("INSERT") : verb, detail, database),
                         QStringLiteral("23000"), native::ConstraintConflict);
        default:
            return entry(adErr::Constraint, message, QStringLiteral("23000"), native::ConstraintConflict);
        }
    }
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return entry(adErr::Timeout, QStringLiteral("Lock request time out period exceeded."), QStringLiteral("HYT00"),
                     1222);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return entry(
            adErr::Generic,
            QStringLiteral("The data base \"%1\" is damaged or is not a data base (%2).").arg(database, message),
            QStringLiteral("HY000"), 0);
    case SQLITE_READONLY:
        return entry(
            adErr::Syntax,
            QStringLiteral("Failed to update database \"%1\" because the database is read-only.").arg(database),
            QStringLiteral("25000"), 3906);
    case SQLITE_TOOBIG:
        return entry(adErr::DataOverflow, QStringLiteral("String or binary data would be truncated."),
                     QStringLiteral("22001"), native::TextTooLong);
    case SQLITE_MISMATCH:
        return entry(adErr::Syntax, QStringLiteral("Conversion failed: %1.").arg(message), QStringLiteral("22018"),
                     245);
    case SQLITE_ERROR:
        break;
    default:
        return entry(adErr::Generic, message, QStringLiteral("HY000"), 0);
    }

    static const QRegularExpression noColumn(QStringLiteral(R"(^no such column: (.+)$)"));
    static const QRegularExpression noTable(QStringLiteral(R"(^no such (?:table|view): (.+)$)"));
    static const QRegularExpression noFunction(QStringLiteral(R"(^no such function: (.+)$)"));
    static const QRegularExpression ambiguous(QStringLiteral(R"(^ambiguous column name: (.+)$)"));
    static const QRegularExpression exists(QStringLiteral(R"(^(?:table|view|index) (.+) already exists$)"));
    static const QRegularExpression unclosed(QStringLiteral(R"re(^unrecognized token: "'(.*)"$)re"));
    static const QRegularExpression near(QStringLiteral(R"re(^near "(.*)": syntax error$)re"));
    QRegularExpressionMatch m;
    if ((m = noColumn.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Invalid column name '%1'.").arg(m.captured(1)),
                     QStringLiteral("42S22"), native::InvalidColumn);
    if ((m = noTable.match(message)).hasMatch())
        return entry(adErr::NoSuchObject, QStringLiteral("Invalid object name '%1'.").arg(withoutMain(m.captured(1))),
                     QStringLiteral("42S02"), native::InvalidObject);
    if ((m = noFunction.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("'%1' is not a recognized built-in function name.").arg(m.captured(1)),
                     QStringLiteral("42000"), 195);
    if ((m = ambiguous.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Ambiguous column name '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 209);
    if ((m = exists.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("There is already an object named '%1' in the database.").arg(m.captured(1)),
                     QStringLiteral("42S01"), 2714);
    if ((m = unclosed.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 105);
    if ((m = near.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 102);
    if (message == u"incomplete input")
        return entry(adErr::Syntax, QStringLiteral("Incorrect syntax near the end of the statement."),
                     QStringLiteral("42000"), 102);
    return entry(adErr::Syntax, message, QStringLiteral("42000"), 0);
}

// A SELECT whose rows stand for rows of one table: no grouping, no set
// operation, no ordinal ORDER BY (a key column put in front would shift it).
bool keyableSelect(const QString& sql)
{
    static const QRegularExpression literal(QStringLiteral(R"('(?:[^']|'')*')"));
    static const QRegularExpression start(QStringLiteral(R"(^\s*select\s)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression excluded(
        QStringLiteral(R"(\b(distinct|group\s+by|union|intersect|except|having)\b|\border\s+by\s+\d)"),
        QRegularExpression::CaseInsensitiveOption);
    QString bare = sql;
    bare.replace(literal, QStringLiteral("''"));
    return start.match(bare).hasMatch() && !excluded.match(bare).hasMatch();
}

const char* kKeyColumn = "__cp_rowkey";

} // namespace

struct SqliteBackend::Batch
{
    bool haveRows = false;
    ResultSet firstRows;
    ResultSet last;
    bool counted = false;
    int64_t affected = 0;
};

// The command time-out runs while a call of the layer runs SQLite code, and
// only then; nested calls (a USE inside a batch) share the outer deadline.
class SqliteBackend::CommandClock
{
public:
    explicit CommandClock(SqliteBackend& backend) : m_backend(backend)
    {
        if (m_backend.m_clockDepth++ == 0) {
            m_backend.m_timedOut = false;
            m_backend.m_deadline = m_backend.m_commandTimeout > 0 ? std::chrono::steady_clock::now() +
                                                                        std::chrono::seconds(m_backend.m_commandTimeout)
                                                                  : std::chrono::steady_clock::time_point::max();
        }
    }
    ~CommandClock()
    {
        if (--m_backend.m_clockDepth == 0)
            m_backend.m_deadline = std::chrono::steady_clock::time_point::max();
    }
    CommandClock(const CommandClock&) = delete;
    CommandClock& operator=(const CommandClock&) = delete;

private:
    SqliteBackend& m_backend;
};

void SqliteBackend::DbCloser::operator()(sqlite3* handle) const
{
    sqlite3_close_v2(handle);
}

void SqliteBackend::StmtFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

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
        const QByteArray text = QByteArrayLiteral("BEGIN;") + script.toUtf8() + QByteArrayLiteral(";\nCOMMIT;");
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

SqliteBackend::SqliteBackend() = default;

SqliteBackend::~SqliteBackend()
{
    close();
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

    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
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
        } else if (registerSqlServerExtensions(raw) != SQLITE_OK) {
            problem = QStringLiteral("the collation and functions could not be registered");
        } else {
            sqlite3_exec(raw, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
        }
    }
    if (!problem.isEmpty()) {
        ErrorInfo info = cannotOpen;
        info.Description = QStringLiteral("Cannot open database \"%1\" requested by the login. The file \"%2\" is "
                                          "damaged or is not a data base (%3).")
                               .arg(name.trimmed(), path, problem);
        raise(errors, info);
    }
    sqlite3_progress_handler(raw, 1000, &SqliteBackend::progress, const_cast<SqliteBackend*>(this));
    sqlite3_busy_timeout(raw, m_commandTimeout > 0 ? m_commandTimeout * 1000 : INT_MAX);
    return handle;
}

void SqliteBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    QString server = params.parsed.first({"server", "data source", "address", "addr", "network address"}).trimmed();
    if (QDir::isRelativePath(server))
        server = QDir(params.programFolder).filePath(server);
    m_folder = QDir::cleanPath(server);
    m_commandTimeout = params.commandTimeout;
    if (!QFileInfo(m_folder).isDir()) {
        raise(errors, entry(adErr::Generic,
                            QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access "
                                           "denied. (no folder \"%1\")")
                                .arg(m_folder),
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
        m_db = std::move(handle);
        m_database = QStringLiteral("master");
        return;
    }
    QString found;
    m_db = openDatabase(name, found, errors);
    m_database = found;
    m_transactionDepth = 0;
}

void SqliteBackend::close()
{
    if (m_db && m_transactionDepth > 0)
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    m_transactionDepth = 0;
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
    m_db = std::move(next);
    m_database = found;
}

void SqliteBackend::setCommandTimeout(int seconds)
{
    m_commandTimeout = seconds;
    if (m_db)
        sqlite3_busy_timeout(m_db.get(), seconds > 0 ? seconds * 1000 : INT_MAX);
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

sqlite3* SqliteBackend::db(std::vector<ErrorInfo>& errors) const
{
    if (!m_db)
        raise(errors, entry(adErr::ConnectionUnusable, QStringLiteral("The connection is closed."),
                            QStringLiteral("08003"), 0));
    return m_db.get();
}

void SqliteBackend::fail(int rc, const QString& statementSql, std::vector<ErrorInfo>& errors)
{
    sqlite3* handle = m_db.get();
    ErrorInfo info = translateError(rc, handle ? sqlite3_extended_errcode(handle) : rc,
                                    QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc)),
                                    statementSql, m_database, m_timedOut);
    // SQLite may end the transaction itself after some failures.
    if (handle && m_transactionDepth > 0 && sqlite3_get_autocommit(handle))
        m_transactionDepth = 0;
    raise(errors, std::move(info));
}

std::vector<TranslatedStep> SqliteBackend::translate(const QString& sql, std::vector<ErrorInfo>& errors)
{
    try {
        return m_translator.translate(sql);
    } catch (const DbError& e) {
        ErrorInfo info = e.info();
        info.Source = kProvider;
        if (info.SQLState.isEmpty())
            info.SQLState = QStringLiteral("42000");
        if (info.NativeError == 0 && info.Description.startsWith(QLatin1String("Unclosed quotation mark")))
            info.NativeError = 105;
        raise(errors, std::move(info));
    }
}

SqliteBackend::StmtPtr SqliteBackend::prepare(const QString& sql, std::vector<ErrorInfo>& errors)
{
    sqlite3* handle = db(errors);
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &raw, nullptr);
    StmtPtr statement(raw);
    if (rc != SQLITE_OK)
        fail(rc, sql, errors);
    return statement;
}

void SqliteBackend::execSimple(const char* sql, std::vector<ErrorInfo>& errors)
{
    const int rc = sqlite3_exec(db(errors), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, QString::fromUtf8(sql), errors);
}

ResultSet SqliteBackend::fetch(sqlite3_stmt* statement, bool keyed, std::vector<ErrorInfo>& errors)
{
    ResultSet result;
    const int count = sqlite3_column_count(statement);
    const QString sql = QString::fromUtf8(sqlite3_sql(statement));
    if (count == 0) {
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            fail(rc, sql, errors);
        const QString verb = firstWord(sql);
        if (verb == u"INSERT" || verb == u"UPDATE" || verb == u"DELETE" || verb == u"REPLACE")
            result.recordsAffected = sqlite3_changes64(m_db.get());
        return result;
    }
    result.hasRows = true;
    const int first = keyed ? 1 : 0;
    for (int i = first; i < count; ++i) {
        const char* declared = sqlite3_column_decltype(statement, i);
        ColumnInfo column = columnForDeclaredType(QString::fromUtf8(sqlite3_column_name(statement, i)),
                                                  QString::fromUtf8(declared ? declared : ""));
        if (const char* table = sqlite3_column_table_name(statement, i))
            column.baseTable = QString::fromUtf8(table);
        if (const char* origin = sqlite3_column_origin_name(statement, i))
            column.baseColumn = QString::fromUtf8(origin);
        result.columns.push_back(std::move(column));
    }
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<Variant> row;
        row.reserve(std::size_t(count - first));
        for (int i = first; i < count; ++i)
            row.push_back(readStorage(statement, i));
        if (keyed)
            result.rowKeys.push_back(readStorage(statement, 0));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail(rc, sql, errors);
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        ColumnInfo& column = result.columns[c];
        if (column.type == adEmpty)
            typeFromValues(column, result.rows, c);
        for (auto& row : result.rows)
            row[c] = fromStorage(row[c], column);
    }
    return result;
}

void SqliteBackend::runText(const QString& sql, Batch& batch, std::vector<ErrorInfo>& errors)
{
    // One step normally holds one statement; any further ones run in turn.
    sqlite3* handle = db(errors);
    const QByteArray text = sql.toUtf8();
    const char* rest = text.constData();
    const char* end = rest + text.size();
    while (rest < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(handle, rest, int(end - rest), &raw, &tail);
        StmtPtr statement(raw);
        if (rc != SQLITE_OK)
            fail(rc, QString::fromUtf8(rest, int(end - rest)), errors);
        rest = tail ? tail : end;
        if (!statement)
            continue; // only blanks or comments
        ResultSet result = fetch(statement.get(), false, errors);
        if (result.recordsAffected >= 0) {
            batch.counted = true;
            batch.affected += result.recordsAffected;
        }
        if (result.hasRows && !batch.haveRows) {
            batch.haveRows = true;
            batch.firstRows = result;
        }
        batch.last = std::move(result);
    }
}

void SqliteBackend::runSteps(const std::vector<TranslatedStep>& steps, Batch& batch, std::vector<ErrorInfo>& errors)
{
    for (const TranslatedStep& step : steps) {
        switch (step.kind) {
        case TranslatedStep::Kind::Statement:
            runText(step.sql, batch, errors);
            break;
        case TranslatedStep::Kind::Begin:
            beginTransaction(errors);
            break;
        case TranslatedStep::Kind::Commit:
            commitTransaction(errors);
            break;
        case TranslatedStep::Kind::Rollback:
            rollbackTransaction(errors);
            break;
        case TranslatedStep::Kind::IfExists: {
            StmtPtr probe = prepare(step.sql, errors);
            const int rc = sqlite3_step(probe.get());
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                fail(rc, step.sql, errors);
            probe.reset();
            if ((rc == SQLITE_ROW) != step.negate)
                runSteps(step.body, batch, errors);
            break;
        }
        case TranslatedStep::Kind::UseDatabase:
            setDefaultDatabase(step.sql, errors);
            break;
        }
    }
}

ResultSet SqliteBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const std::vector<TranslatedStep> steps = translate(sql, errors);
    const CommandClock clock(*this);
    Batch batch;
    runSteps(steps, batch, errors);
    ResultSet result = batch.haveRows ? std::move(batch.firstRows) : std::move(batch.last);
    result.recordsAffected = batch.counted ? batch.affected : -1;
    return result;
}

ResultSet SqliteBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const std::vector<TranslatedStep> steps = translate(sql, errors);
    if (steps.size() != 1 || steps.front().kind != TranslatedStep::Kind::Statement || !keyableSelect(steps.front().sql))
        return execute(sql, errors);

    // The row key is the table's rowid, put in front of the select list. A
    // join makes it ambiguous and a view or sub-query has none: those fail to
    // prepare and stay read-only.
    static const QRegularExpression start(QStringLiteral(R"(^\s*select\s)"), QRegularExpression::CaseInsensitiveOption);
    QString keyed = steps.front().sql;
    const auto m = start.match(keyed);
    keyed.insert(m.capturedEnd(), QStringLiteral("rowid AS %1, ").arg(QString::fromUtf8(kKeyColumn)));
    const QByteArray text = keyed.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(m_db.get(), text.constData(), int(text.size()), &raw, nullptr);
    StmtPtr statement(raw);
    if (rc != SQLITE_OK || !statement)
        return execute(sql, errors);
    const char* keyTable = sqlite3_column_table_name(statement.get(), 0);
    const char* keyDatabase = sqlite3_column_database_name(statement.get(), 0);
    bool oneTable = keyTable && keyDatabase && qstrcmp(keyDatabase, "main") == 0;
    for (int i = 1; oneTable && i < sqlite3_column_count(statement.get()); ++i) {
        const char* table = sqlite3_column_table_name(statement.get(), i);
        oneTable = table && qstricmp(table, keyTable) == 0;
    }
    if (!oneTable)
        return execute(sql, errors);
    const CommandClock clock(*this);
    ResultSet result = fetch(statement.get(), true, errors);
    result.baseTable = QString::fromUtf8(keyTable);
    return result;
}

void SqliteBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    if (m_transactionDepth == 0)
        execSimple("BEGIN", errors);
    ++m_transactionDepth;
}

void SqliteBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    db(errors);
    if (m_transactionDepth == 0)
        raise(errors, entry(adErr::Syntax,
                            QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                            QStringLiteral("25000"), native::NoBeginForCommit));
    if (m_transactionDepth == 1)
        execSimple("COMMIT", errors);
    --m_transactionDepth;
}

void SqliteBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    db(errors);
    if (m_transactionDepth == 0)
        raise(errors, entry(adErr::Syntax,
                            QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                            QStringLiteral("25000"), native::NoBeginForRollback));
    // As on SQL Server, a rollback ends every nested level at once.
    m_transactionDepth = 0;
    if (!sqlite3_get_autocommit(m_db.get()))
        execSimple("ROLLBACK", errors);
}

ResultSet SqliteBackend::openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                    std::vector<ErrorInfo>& errors)
{
    db(errors);
    const CommandClock clock(*this);
    auto matches = [&](std::size_t position, const QString& value) {
        return position >= criteria.size() || criteria[position].isBlank() ||
               criteria[position].toText().trimmed().compare(value, Qt::CaseInsensitive) == 0;
    };
    auto text = [](const char* name, int64_t size) {
        ColumnInfo c;
        c.name = QString::fromUtf8(name);
        c.type = adVarWChar;
        c.definedSize = size;
        return c;
    };
    ResultSet result;
    result.hasRows = true;
    result.columns = {text("TABLE_CATALOG", 128), text("TABLE_SCHEMA", 128), text("TABLE_NAME", 128)};

    StmtPtr tables = prepare(QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') "
                                            "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"),
                             errors);
    std::vector<std::pair<QString, QString>> found;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW) {
        const QString name = readStorage(tables.get(), 0).toText();
        const QString type =
            readStorage(tables.get(), 1).toText() == u"view" ? QStringLiteral("VIEW") : QStringLiteral("TABLE");
        if (matches(0, m_database) && matches(1, QStringLiteral("dbo")) && matches(2, name))
            found.emplace_back(name, type);
    }
    if (rc != SQLITE_DONE)
        fail(rc, QStringLiteral("sqlite_master"), errors);

    if (schema == adSchemaTables) {
        result.columns.push_back(text("TABLE_TYPE", 128));
        for (const auto& [name, type] : found) {
            if (matches(3, type))
                result.rows.push_back({Variant(m_database), Variant("dbo"), Variant(name), Variant(type)});
        }
        return result;
    }
    if (schema != adSchemaColumns)
        raise(errors, entry(adErr::NotSupported, QStringLiteral("The schema %1 is not supported.").arg(int(schema)),
                            QStringLiteral("HYC00"), 0));
    result.columns.push_back(text("COLUMN_NAME", 128));
    ColumnInfo ordinal;
    ordinal.name = QStringLiteral("ORDINAL_POSITION");
    ordinal.type = adInteger;
    ordinal.definedSize = 4;
    ColumnInfo dataType = ordinal;
    dataType.name = QStringLiteral("DATA_TYPE");
    dataType.type = adSmallInt;
    dataType.definedSize = 2;
    result.columns.push_back(ordinal);
    result.columns.push_back(dataType);
    for (const auto& entryName : found) {
        StmtPtr columns = prepare(QStringLiteral("SELECT cid, name, type FROM pragma_table_info(?)"), errors);
        const QByteArray tableName = entryName.first.toUtf8();
        sqlite3_bind_text(columns.get(), 1, tableName.constData(), int(tableName.size()), SQLITE_TRANSIENT);
        while ((rc = sqlite3_step(columns.get())) == SQLITE_ROW) {
            const QString column = readStorage(columns.get(), 1).toText();
            if (!matches(3, column))
                continue;
            const ColumnInfo info = columnForDeclaredType(column, readStorage(columns.get(), 2).toText());
            result.rows.push_back({Variant(m_database), Variant("dbo"), Variant(entryName.first), Variant(column),
                                   Variant(*readStorage(columns.get(), 0).toInteger() + 1),
                                   Variant(int64_t(info.type == adEmpty ? adVarWChar : info.type))});
        }
        if (rc != SQLITE_DONE)
            fail(rc, QStringLiteral("pragma_table_info"), errors);
    }
    return result;
}

QMap<QString, QString> SqliteBackend::declaredTypes(const QString& table, std::vector<ErrorInfo>& errors)
{
    StmtPtr statement = prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), errors);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(statement.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QMap<QString, QString> types;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        types.insert(readStorage(statement.get(), 0).toText().toLower(), readStorage(statement.get(), 1).toText());
    if (rc != SQLITE_DONE)
        fail(rc, QStringLiteral("pragma_table_info"), errors);
    return types;
}

namespace {

// Binds the values converted for their columns; a value that does not
// convert fails as ADO's multiple-step error does, before anything is written.
void bindConverted(sqlite3_stmt* statement, const QMap<QString, QString>& types, const std::vector<QString>& columns,
                   const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::optional<Variant> stored = toStorage(values[i], types.value(columns[i].toLower()));
        if (!stored)
            raise(errors,
                  entry(adErr::NotSupported,
                        QStringLiteral("Multiple-step operation generated errors. Check each status value. (the value "
                                       "\"%1\" does not convert for the column %2)")
                            .arg(values[i].toText(), columns[i]),
                        QStringLiteral("22018"), 0));
        bindStorage(statement, int(i) + 1, *stored);
    }
}

} // namespace

Variant SqliteBackend::insertRow(const QString& table, const std::vector<QString>& columns,
                                 const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const CommandClock clock(*this);
    const QMap<QString, QString> types = declaredTypes(table, errors);
    QString sql;
    if (columns.empty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table));
    } else {
        QStringList names, marks;
        for (const QString& c : columns) {
            names << quoted(c);
            marks << QStringLiteral("?");
        }
        sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(table), names.join(u", "), marks.join(u", "));
    }
    StmtPtr statement = prepare(sql, errors);
    bindConverted(statement.get(), types, columns, values, errors);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        fail(rc, sql, errors);
    return Variant(int64_t(sqlite3_last_insert_rowid(m_db.get())));
}

void SqliteBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                              const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    db(errors);
    if (columns.empty())
        return;
    const CommandClock clock(*this);
    const QMap<QString, QString> types = declaredTypes(table, errors);
    QStringList sets;
    for (const QString& c : columns)
        sets << quoted(c) + QStringLiteral(" = ?");
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(table), sets.join(u", "));
    StmtPtr statement = prepare(sql, errors);
    bindConverted(statement.get(), types, columns, values, errors);
    bindStorage(statement.get(), int(columns.size()) + 1, key);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        fail(rc, sql, errors);
    if (sqlite3_changes(m_db.get()) == 0)
        raise(errors, entry(adErr::RowNotFound,
                            QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                           "since it was last read."),
                            QStringLiteral("HY000"), 0));
}

void SqliteBackend::deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const CommandClock clock(*this);
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(table));
    StmtPtr statement = prepare(sql, errors);
    bindStorage(statement.get(), 1, key);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        fail(rc, sql, errors);
    if (sqlite3_changes(m_db.get()) == 0)
        raise(errors, entry(adErr::RowNotFound,
                            QStringLiteral("Row cannot be located for deleting. Some values may have been changed "
                                           "since it was last read."),
                            QStringLiteral("HY000"), 0));
}

std::vector<Variant> SqliteBackend::readRow(const QString& table, const Variant& key,
                                            const std::vector<ColumnInfo>& columns, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const CommandClock clock(*this);
    QStringList names;
    for (const ColumnInfo& c : columns)
        names << quoted(c.baseColumn);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(names.join(u", "), quoted(table));
    StmtPtr statement = prepare(sql, errors);
    bindStorage(statement.get(), 1, key);
    const int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_DONE)
        return {};
    if (rc != SQLITE_ROW)
        fail(rc, sql, errors);
    std::vector<Variant> row;
    for (std::size_t i = 0; i < columns.size(); ++i)
        row.push_back(fromStorage(readStorage(statement.get(), int(i)), columns[i]));
    return row;
}

} // namespace platform::db::sqlite
