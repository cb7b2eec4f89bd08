#include "platform/db/odbc/OdbcBackend.h"

#include "platform/db/odbc/OdbcInternal.h"
#include "platform/db/odbc/OdbcProcedures.h"

#include <QHash>
#include <QStringList>

#include <utility>

namespace platform::db::odbc {

namespace {

// ADO's number for an update or delete whose row is no longer there.
constexpr int32_t kRowNotFound = int32_t(0x80040E38);

// Owns one ODBC handle; freeing a connection handle first disconnects it.
class Handle
{
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE handle) : m_type(type), m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& o) noexcept : m_type(o.m_type), m_handle(std::exchange(o.m_handle, nullptr)) {}
    Handle& operator=(Handle&& o) noexcept
    {
        if (this != &o) {
            reset();
            m_type = o.m_type;
            m_handle = std::exchange(o.m_handle, nullptr);
        }
        return *this;
    }
    ~Handle() { reset(); }

    SQLHANDLE get() const { return m_handle; }
    SQLSMALLINT type() const { return m_type; }
    explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }
    void reset()
    {
        if (m_handle != SQL_NULL_HANDLE) {
            SQLFreeHandle(m_type, m_handle);
            m_handle = SQL_NULL_HANDLE;
        }
    }

private:
    SQLSMALLINT m_type = SQL_HANDLE_ENV;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

const SQLWCHAR* sqlW(const std::u16string& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.c_str());
}

SQLWCHAR* sqlW(std::u16string& text)
{
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

// The diagnostic records of a handle, as entries of the Errors collection.
// The text of the first informational record left out goes to `informational`.
std::vector<ErrorInfo> diagnostics(SQLSMALLINT type, SQLHANDLE handle, const QString& source, bool stripVendor,
                                   QString& informational)
{
    std::vector<ErrorInfo> out;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        std::u16string message(512, u'\0');
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &nativeError, sqlW(message),
                                      SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.assign(std::size_t(length) + 1, u'\0');
            rc = SQLGetDiagRecW(type, handle, record, state, &nativeError, sqlW(message), SQLSMALLINT(message.size()),
                                &length);
        }
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        const QString text = fromSqlW(sqlW(message), qMin<qsizetype>(length, qsizetype(message.size()) - 1));
        if (auto entry = diagnosticEntry(fromSqlW(state, 5), int32_t(nativeError), text, source, stripVendor,
                                         type == SQL_HANDLE_STMT)) {
            out.push_back(std::move(*entry));
        } else if (informational.isEmpty()) {
            informational = text;
        }
    }
    return out;
}

// One part of a table name, without the [brackets] or "quotes" it may carry.
QString unquotedPart(QString part)
{
    part = part.trimmed();
    if (part.size() >= 2 &&
        ((part.front() == u'[' && part.back() == u']') || (part.front() == u'"' && part.back() == u'"'))) {
        part = part.mid(1, part.size() - 2);
    }
    return part;
}

// Escapes the search-pattern characters of a catalogue function's argument.
QString escapedPattern(const QString& name, const QString& escape)
{
    if (escape.isEmpty()) {
        return name;
    }
    QString out;
    for (const QChar ch : name) {
        if (ch == u'_' || ch == u'%' || QString(ch) == escape) {
            out += escape;
        }
        out += ch;
    }
    return out;
}

ColumnInfo schemaColumn(const char* name, DataTypeEnum type)
{
    ColumnInfo c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    return c;
}

class OdbcBackend final : public Backend
{
public:
    explicit OdbcBackend(ConnectionString parsed) : m_parsed(std::move(parsed)) {}
    ~OdbcBackend() override { close(); }

    void open(const OpenParams& params, std::vector<ErrorInfo>& errors) override;
    void close() override;
    QString defaultDatabase() const override;
    void setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors) override;
    void setCommandTimeout(int seconds) override { m_commandTimeout = seconds; }

    ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) override;
    ResultSet executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors) override;
    ResultSet executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                               std::vector<ErrorInfo>& errors) override;
    void beginTransaction(std::vector<ErrorInfo>& errors) override;
    void commitTransaction(std::vector<ErrorInfo>& errors) override;
    void rollbackTransaction(std::vector<ErrorInfo>& errors) override;

    ResultSet openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                         std::vector<ErrorInfo>& errors) override;

    Variant insertRow(const QString& table, const std::vector<QString>& columns, const std::vector<Variant>& values,
                      std::vector<ErrorInfo>& errors) override;
    void updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                   const std::vector<Variant>& values, std::vector<ErrorInfo>& errors) override;
    void deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors) override;

private:
    [[noreturn]] void fail(SQLSMALLINT type, SQLHANDLE handle, std::vector<ErrorInfo>& errors) const;
    [[noreturn]] void raise(int32_t number, const QString& description) const;
    [[noreturn]] void raiseFound(std::vector<ErrorInfo> found, const QString& informational,
                                 std::vector<ErrorInfo>& errors) const;
    void check(SQLRETURN rc, const Handle& handle, std::vector<ErrorInfo>& errors) const
    {
        if (!SQL_SUCCEEDED(rc)) {
            fail(handle.type(), handle.get(), errors);
        }
    }
    void requireOpen() const;
    // A Jet file is read through a driver that cannot write: every write is
    // refused before it reaches the driver, so nothing is half-written.
    void refuseJetWrite(std::vector<ErrorInfo>& errors) const
    {
        if (m_plan.target == Target::Jet) {
            requireOpen();
            const ErrorInfo refusal = jetReadOnlyError(m_plan.jetFile);
            errors.push_back(refusal);
            throw DbError(refusal);
        }
    }
    // The columns of a Jet table as the check of a query needs them, from
    // the driver's description of the table's result; nullopt when the
    // driver finds no such table. Raises DbError when the driver fails to
    // describe it (the check records the entry).
    std::optional<std::vector<JetColumn>> jetColumns(const QString& table);
    Handle newStatement(std::vector<ErrorInfo>& errors) const;
    QString infoText(SQLUSMALLINT item) const;
    void setAutocommit(bool on, std::vector<ErrorInfo>& errors);
    void endTransaction(SQLSMALLINT completion, std::vector<ErrorInfo>& errors);

    // The results of an executed statement (`rc` its execution's result):
    // the first row result, the row counts summed.
    ResultSet results(const Handle& stmt, SQLRETURN rc, std::vector<ErrorInfo>& errors);
    // Reads every row of the statement's current result.
    void fetchAll(const Handle& stmt, SQLSMALLINT columnCount, ResultSet& result, std::vector<ErrorInfo>& errors);
    void assignRowKeys(ResultSet& result);
    // The single-column primary key of a table; empty when it has none or several.
    QString primaryKey(const QString& table);
    QString requireKey(const QString& table);
    QString quotedName(const QString& name) const;
    // Runs a statement with parameters; returns its handle for more results.
    Handle runWithParameters(const QString& sql, const std::vector<Variant>& values, std::vector<ErrorInfo>& errors);
    int64_t rowCount(const Handle& stmt) const;

    ConnectionString m_parsed;
    // Declared in this order so that the connection is freed before its environment.
    Handle m_env;
    Handle m_dbc;
    bool m_connected = false;
    bool m_inTransaction = false;
    ConnectPlan m_plan;
    QString m_database;
    QString m_dbmsName;
    QString m_quote = QStringLiteral("\"");
    QString m_searchEscape;
    int m_commandTimeout = 30;
    QHash<QString, QString> m_primaryKeys; // lower-case table name -> key column
    int m_jetVersion = 4;
    QHash<QString, std::vector<JetColumn>> m_jetTables; // lower-case table name as written -> its columns
};

void OdbcBackend::fail(SQLSMALLINT type, SQLHANDLE handle, std::vector<ErrorInfo>& errors) const
{
    QString informational;
    std::vector<ErrorInfo> found =
        diagnostics(type, handle, m_plan.source, m_plan.target != Target::Odbc, informational);
    raiseFound(std::move(found), informational, errors);
}

void OdbcBackend::raiseFound(std::vector<ErrorInfo> found, const QString& informational,
                             std::vector<ErrorInfo>& errors) const
{
    if (found.empty()) {
        // Some failures come with an informational record only (the driver
        // manager's "Can't open lib"); its text still says what went wrong.
        raise(adErr::Generic, informational.isEmpty() ? QStringLiteral("Unspecified error") : informational);
    }
    errors.insert(errors.end(), found.begin(), found.end());
    throw DbError(found.front());
}

void OdbcBackend::raise(int32_t number, const QString& description) const
{
    throw DbError(ErrorInfo{number, description, m_plan.source, {}, 0});
}

void OdbcBackend::requireOpen() const
{
    if (!m_connected) {
        throw DbError(adErr::ConnectionUnusable,
                      QStringLiteral("Requested operation requires an OLE DB Session object, which is not supported "
                                     "by the current provider."));
    }
}

Handle OdbcBackend::newStatement(std::vector<ErrorInfo>& errors) const
{
    requireOpen();
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc.get(), &h))) {
        fail(SQL_HANDLE_DBC, m_dbc.get(), errors);
    }
    Handle stmt(SQL_HANDLE_STMT, h);
    // A driver that cannot bound the time answers with information only.
    SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(qMax(0, m_commandTimeout))), 0);
    return stmt;
}

QString OdbcBackend::infoText(SQLUSMALLINT item) const
{
    std::u16string buffer(256, u'\0');
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetInfoW(m_dbc.get(), item, sqlW(buffer), SQLSMALLINT(buffer.size() * sizeof(char16_t)), &length))) {
        return {};
    }
    return fromSqlW(sqlW(buffer), qMin<qsizetype>(length / 2, qsizetype(buffer.size()) - 1));
}

void OdbcBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    close();
    SQLHANDLE env = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        raise(adErr::Generic, QStringLiteral("The ODBC driver manager could not be initialised."));
    }
    m_env = Handle(SQL_HANDLE_ENV, env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

    m_plan = planConnection(m_parsed, params.connectionString, findInstalledDrivers(env), params.programFolder);
    m_database = m_parsed.first({"database", "initial catalog"});
    if (m_plan.target == Target::Jet) {
        m_jetVersion = checkJetFile(m_plan.jetFile, m_plan.jetPassword, errors);
    }

    SQLHANDLE dbc = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        fail(SQL_HANDLE_ENV, env, errors);
    }
    m_dbc = Handle(SQL_HANDLE_DBC, dbc);
    const int loginTimeout = m_plan.loginTimeout >= 0 ? m_plan.loginTimeout : qMax(0, params.connectionTimeout);
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(loginTimeout)), 0);

    const std::u16string text = m_plan.odbcString.toStdU16String();
    std::u16string completed(1024, u'\0');
    SQLSMALLINT completedLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, const_cast<SQLWCHAR*>(sqlW(text)), SQL_NTS, sqlW(completed),
                                           SQLSMALLINT(completed.size()), &completedLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        QString informational;
        std::vector<ErrorInfo> found =
            diagnostics(SQL_HANDLE_DBC, dbc, m_plan.source, m_plan.target != Target::Odbc, informational);
        m_dbc.reset();
        m_env.reset();
        if (found.empty() && m_plan.target == Target::Jet) {
            found.push_back(jetUnreadableError(m_plan.jetFile));
        }
        raiseFound(std::move(found), informational, errors);
    }
    m_connected = true;
    m_commandTimeout = params.commandTimeout;
    m_dbmsName = infoText(SQL_DBMS_NAME);
    const QString quote = infoText(SQL_IDENTIFIER_QUOTE_CHAR).trimmed();
    m_quote = quote;
    m_searchEscape = infoText(SQL_SEARCH_PATTERN_ESCAPE);
}

void OdbcBackend::close()
{
    if (m_connected) {
        if (m_inTransaction) {
            SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_ROLLBACK);
        }
        SQLDisconnect(m_dbc.get());
    }
    m_connected = false;
    m_inTransaction = false;
    m_primaryKeys.clear();
    m_jetTables.clear();
    m_dbc.reset();
    m_env.reset();
}

QString OdbcBackend::defaultDatabase() const
{
    if (m_connected) {
        std::u16string buffer(256, u'\0');
        SQLINTEGER length = 0;
        if (SQL_SUCCEEDED(SQLGetConnectAttrW(m_dbc.get(), SQL_ATTR_CURRENT_CATALOG, sqlW(buffer),
                                             SQLINTEGER(buffer.size() * sizeof(char16_t)), &length)) &&
            length > 0) {
            return fromSqlW(sqlW(buffer), qMin<qsizetype>(length / 2, qsizetype(buffer.size()) - 1));
        }
    }
    return m_database;
}

void OdbcBackend::setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors)
{
    requireOpen();
    std::u16string text = name.toStdU16String();
    const SQLRETURN rc = SQLSetConnectAttrW(m_dbc.get(), SQL_ATTR_CURRENT_CATALOG, sqlW(text),
                                            SQLINTEGER(text.size() * sizeof(char16_t)));
    check(rc, m_dbc, errors);
    m_database = name;
    m_primaryKeys.clear();
}

ResultSet OdbcBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    const bool jet = m_plan.target == Target::Jet;
    if (jet) {
        if (!onlyReads(sql)) {
            refuseJetWrite(errors);
        }
        requireOpen();
        checkJetQuery(
            sql, [&](const QString& table) { return jetColumns(table); }, errors);
    }
    Handle stmt = newStatement(errors);
    const std::u16string text = sql.toStdU16String();
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(sqlW(text)), SQL_NTS);
    if (jet && !SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        // The driver's record says only that it could not parse the text,
        // under a SQLSTATE of no meaning; the entry carries the statement.
        QString informational;
        const std::vector<ErrorInfo> found =
            diagnostics(SQL_HANDLE_STMT, stmt.get(), m_plan.source, true, informational);
        const ErrorInfo info = jetDriverError(sql, found.empty() ? informational : found.front().Description);
        errors.push_back(info);
        throw DbError(info);
    }
    if (rc != SQL_NO_DATA) {
        check(rc, stmt, errors);
    }
    return results(stmt, rc, errors);
}

std::optional<std::vector<JetColumn>> OdbcBackend::jetColumns(const QString& table)
{
    std::vector<ErrorInfo> errors;
    const QString key = table.toLower();
    if (const auto it = m_jetTables.constFind(key); it != m_jetTables.constEnd()) {
        return it.value();
    }
    Handle stmt = newStatement(errors);
    const std::u16string text = QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table).toStdU16String();
    if (!SQL_SUCCEEDED(SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(sqlW(text)), SQL_NTS))) {
        return std::nullopt;
    }
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(stmt.get(), &count), stmt, errors);
    ResultSet described;
    fetchAll(stmt, count, described, errors);
    std::vector<JetColumn> columns;
    for (const ColumnInfo& c : described.columns) {
        // A Jet 4 text keeps two bytes for each character of its length.
        columns.push_back({c.name, c.type, m_jetVersion == 4 ? c.definedSize / 2 : c.definedSize});
    }
    m_jetTables.insert(key, columns);
    return columns;
}

ResultSet OdbcBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    ResultSet result = execute(sql, errors);
    if (m_plan.target == Target::Jet) {
        result.refusedWrites = jetReadOnlyError(m_plan.jetFile);
    }
    return result;
}

ResultSet OdbcBackend::executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                                        std::vector<ErrorInfo>& errors)
{
    // A stored query of a Jet file may write.
    refuseJetWrite(errors);
    const ProcedureCall call = procedureCall(name, parameters);
    Handle stmt = newStatement(errors);
    Parameters bound;
    check(bound.bind(stmt.get(), call.values), stmt, errors);
    const std::u16string text = call.text.toStdU16String();
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(sqlW(text)), SQL_NTS);
    if (rc != SQL_NO_DATA) {
        check(rc, stmt, errors);
    }
    ResultSet result = results(stmt, rc, errors);
    SQLFreeStmt(stmt.get(), SQL_RESET_PARAMS);
    return result;
}

ResultSet OdbcBackend::results(const Handle& stmt, SQLRETURN rc, std::vector<ErrorInfo>& errors)
{
    // Each set of rows and each reported count is a result of its own, as
    // ADO meets them; a statement that reports no count (SET NOCOUNT ON) is none.
    std::vector<ResultSet> all;
    int64_t affected = -1;
    for (;;) {
        ResultSet one;
        if (rc == SQL_NO_DATA) {
            // A searched update or delete that matched nothing.
            one.recordsAffected = 0;
        } else {
            SQLSMALLINT columns = 0;
            check(SQLNumResultCols(stmt.get(), &columns), stmt, errors);
            if (columns > 0) {
                fetchAll(stmt, columns, one, errors);
            } else {
                one.recordsAffected = rowCount(stmt);
            }
        }
        if (one.recordsAffected >= 0) {
            affected = qMax<int64_t>(affected, 0) + one.recordsAffected;
        }
        if (one.hasRows || one.recordsAffected >= 0) {
            all.push_back(std::move(one));
        }
        // MDB Tools runs one statement and has no further results to ask for.
        if (m_plan.target == Target::Jet) {
            break;
        }
        rc = SQLMoreResults(stmt.get());
        if (rc == SQL_NO_DATA) {
            break;
        }
        check(rc, stmt, errors);
    }
    ResultSet result;
    if (!all.empty()) {
        result = std::move(all.front());
        result.next.assign(std::make_move_iterator(all.begin() + 1), std::make_move_iterator(all.end()));
    }
    result.recordsAffected = affected;
    // Looked up once the statement's results are all read: the link serves one statement at a time.
    if (m_plan.target != Target::Jet) {
        assignRowKeys(result);
    }
    return result;
}

int64_t OdbcBackend::rowCount(const Handle& stmt) const
{
    SQLLEN n = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(stmt.get(), &n))) {
        return -1;
    }
    return int64_t(n);
}

void OdbcBackend::fetchAll(const Handle& stmt, SQLSMALLINT columnCount, ResultSet& result,
                           std::vector<ErrorInfo>& errors)
{
    result.hasRows = true;
    std::vector<SqlColumn> described(static_cast<std::size_t>(columnCount));
    for (SQLSMALLINT c = 1; c <= columnCount; ++c) {
        std::u16string name(256, u'\0');
        SQLSMALLINT nameLength = 0;
        SqlColumn& column = described[std::size_t(c - 1)];
        SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
        check(SQLDescribeColW(stmt.get(), SQLUSMALLINT(c), sqlW(name), SQLSMALLINT(name.size()), &nameLength,
                              &column.sqlType, &column.size, &column.scale, &nullable),
              stmt, errors);
        auto attribute = [&](SQLUSMALLINT field) {
            std::u16string buffer(256, u'\0');
            SQLSMALLINT length = 0;
            if (!SQL_SUCCEEDED(SQLColAttributeW(stmt.get(), SQLUSMALLINT(c), field, sqlW(buffer),
                                                SQLSMALLINT(buffer.size() * sizeof(char16_t)), &length, nullptr))) {
                return QString();
            }
            return fromSqlW(sqlW(buffer), qMin<qsizetype>(length / 2, qsizetype(buffer.size()) - 1));
        };
        column.typeName = attribute(SQL_DESC_TYPE_NAME);
        ColumnInfo info;
        info.name = fromSqlW(sqlW(name), qMin<qsizetype>(nameLength, qsizetype(name.size()) - 1));
        // MDB Tools counts a name in UTF-8 bytes, past its end when it holds
        // a letter beyond A to Z.
        if (const qsizetype nul = info.name.indexOf(QChar(u'\0')); nul >= 0) {
            info.name.truncate(nul);
        }
        info.type = adoTypeOf(column);
        info.definedSize = int64_t(column.size);
        info.precision = int(column.size);
        info.scale = column.scale;
        info.nullable = nullable != SQL_NO_NULLS;
        info.baseTable = attribute(SQL_DESC_BASE_TABLE_NAME);
        info.baseColumn = attribute(SQL_DESC_BASE_COLUMN_NAME);
        result.columns.push_back(std::move(info));
    }
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(stmt.get()))) {
        std::vector<Variant> row(static_cast<std::size_t>(columnCount));
        for (SQLSMALLINT c = 1; c <= columnCount; ++c) {
            const std::size_t i = std::size_t(c - 1);
            check(readValue(stmt.get(), SQLUSMALLINT(c), described[i], result.columns[i].type, row[i]), stmt, errors);
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQL_NO_DATA) {
        check(rc, stmt, errors);
    }
}

void OdbcBackend::assignRowKeys(ResultSet& result)
{
    if (!result.hasRows) {
        return;
    }
    QString table;
    for (const ColumnInfo& c : result.columns) {
        if (c.baseTable.isEmpty()) {
            continue;
        }
        if (table.isEmpty()) {
            table = c.baseTable;
        } else if (table.compare(c.baseTable, Qt::CaseInsensitive) != 0) {
            return; // a join: its rows cannot be written back
        }
    }
    if (table.isEmpty()) {
        return;
    }
    result.baseTable = table;
    const QString key = primaryKey(table);
    if (key.isEmpty()) {
        return;
    }
    for (std::size_t i = 0; i < result.columns.size(); ++i) {
        const ColumnInfo& c = result.columns[i];
        const QString& source = c.baseColumn.isEmpty() ? c.name : c.baseColumn;
        if (source.compare(key, Qt::CaseInsensitive) == 0) {
            result.rowKeys.reserve(result.rows.size());
            for (const auto& row : result.rows) {
                result.rowKeys.push_back(row[i]);
            }
            return;
        }
    }
}

QString OdbcBackend::primaryKey(const QString& table)
{
    const QString cacheKey = table.toLower();
    if (const auto it = m_primaryKeys.constFind(cacheKey); it != m_primaryKeys.constEnd()) {
        return it.value();
    }
    QStringList parts = table.split(u'.');
    for (QString& p : parts) {
        p = unquotedPart(p);
    }
    const std::u16string name = parts.takeLast().toStdU16String();
    const std::u16string schema = parts.isEmpty() ? std::u16string() : parts.takeLast().toStdU16String();
    QStringList keys;
    std::vector<ErrorInfo> ignored;
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc.get(), &h))) {
        Handle stmt(SQL_HANDLE_STMT, h);
        const SQLRETURN rc =
            SQLPrimaryKeysW(h, nullptr, 0, schema.empty() ? nullptr : const_cast<SQLWCHAR*>(sqlW(schema)),
                            schema.empty() ? 0 : SQLSMALLINT(SQL_NTS), const_cast<SQLWCHAR*>(sqlW(name)), SQL_NTS);
        if (SQL_SUCCEEDED(rc)) {
            while (SQL_SUCCEEDED(SQLFetch(h))) {
                Variant column;
                SqlColumn text;
                text.sqlType = SQL_WVARCHAR;
                if (SQL_SUCCEEDED(readValue(h, 4, text, adVarWChar, column)) && !column.isNull()) {
                    keys << column.toText();
                }
            }
        }
    }
    const QString key = keys.size() == 1 ? keys.front() : QString();
    m_primaryKeys.insert(cacheKey, key);
    return key;
}

QString OdbcBackend::requireKey(const QString& table)
{
    requireOpen();
    const QString key = primaryKey(table);
    if (key.isEmpty()) {
        raise(adErr::OperationNotAllowed,
              QStringLiteral("Operation is not allowed in this context: the table \"%1\" has no single-column "
                             "primary key by which its rows can be written.")
                  .arg(table));
    }
    return key;
}

QString OdbcBackend::quotedName(const QString& name) const
{
    // SQL Server's brackets work whatever QUOTED_IDENTIFIER says.
    const bool brackets = m_plan.target == Target::SqlServer;
    QStringList parts;
    for (const QString& raw : name.split(u'.')) {
        const QString part = unquotedPart(raw);
        if (brackets) {
            parts << u'[' + QString(part).replace(u']', QStringLiteral("]]")) + u']';
        } else if (m_quote.isEmpty()) {
            parts << part;
        } else {
            parts << m_quote + QString(part).replace(m_quote, m_quote + m_quote) + m_quote;
        }
    }
    return parts.join(u'.');
}

Handle OdbcBackend::runWithParameters(const QString& sql, const std::vector<Variant>& values,
                                      std::vector<ErrorInfo>& errors)
{
    Handle stmt = newStatement(errors);
    Parameters parameters;
    check(parameters.bind(stmt.get(), values), stmt, errors);
    const std::u16string text = sql.toStdU16String();
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(sqlW(text)), SQL_NTS);
    if (rc != SQL_NO_DATA) {
        check(rc, stmt, errors);
    }
    // The values were read at execution; unbind before the buffers go.
    SQLFreeStmt(stmt.get(), SQL_RESET_PARAMS);
    return stmt;
}

Variant OdbcBackend::insertRow(const QString& table, const std::vector<QString>& columns,
                               const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    refuseJetWrite(errors);
    const QString key = requireKey(table);
    QStringList names;
    QStringList markers;
    int keyIndex = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names << quotedName(columns[i]);
        markers << QStringLiteral("?");
        if (columns[i].compare(key, Qt::CaseInsensitive) == 0) {
            keyIndex = int(i);
        }
    }
    QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedName(table))
                                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(quotedName(table), names.join(QStringLiteral(", ")),
                                             markers.join(QStringLiteral(", ")));
    const bool sqlServer = m_dbmsName.contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive);
    if (keyIndex < 0 && sqlServer) {
        // In the same batch, so that the identity is the one of this insert.
        sql += QStringLiteral("; SELECT SCOPE_IDENTITY()");
    }
    Handle stmt = runWithParameters(sql, values, errors);
    if (keyIndex >= 0) {
        return values[std::size_t(keyIndex)];
    }
    if (sqlServer) {
        for (;;) {
            SQLSMALLINT count = 0;
            if (SQL_SUCCEEDED(SQLNumResultCols(stmt.get(), &count)) && count > 0) {
                ResultSet identity;
                fetchAll(stmt, count, identity, errors);
                return identity.rows.empty() ? Variant::null() : identity.rows.front().front();
            }
            const SQLRETURN rc = SQLMoreResults(stmt.get());
            if (rc == SQL_NO_DATA) {
                return Variant::null();
            }
            check(rc, stmt, errors);
        }
    }
    if (m_dbmsName.contains(QStringLiteral("SQLite"), Qt::CaseInsensitive)) {
        const ResultSet identity = execute(QStringLiteral("SELECT last_insert_rowid()"), errors);
        return identity.rows.empty() ? Variant::null() : identity.rows.front().front();
    }
    return Variant::null();
}

void OdbcBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                            const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    refuseJetWrite(errors);
    const QString keyColumn = requireKey(table);
    if (columns.empty()) {
        return;
    }
    QStringList assignments;
    for (const QString& c : columns) {
        assignments << quotedName(c) + QStringLiteral(" = ?");
    }
    std::vector<Variant> parameters = values;
    parameters.push_back(key);
    const Handle stmt =
        runWithParameters(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                              .arg(quotedName(table), assignments.join(QStringLiteral(", ")), quotedName(keyColumn)),
                          parameters, errors);
    // Only a count of 0 says the row is gone; a count the server does not
    // report (-1, SET NOCOUNT ON) leaves the write as done.
    if (rowCount(stmt) == 0) {
        raise(kRowNotFound,
              QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was "
                             "last read."));
    }
}

void OdbcBackend::deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors)
{
    refuseJetWrite(errors);
    const QString keyColumn = requireKey(table);
    const Handle stmt = runWithParameters(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quotedName(table), quotedName(keyColumn)), {key}, errors);
    // As for an update: an unknown count (-1) is no missing row.
    if (rowCount(stmt) == 0) {
        raise(kRowNotFound,
              QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was "
                             "last read."));
    }
}

void OdbcBackend::setAutocommit(bool on, std::vector<ErrorInfo>& errors)
{
    const SQLRETURN rc =
        SQLSetConnectAttr(m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQLULEN(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)), 0);
    check(rc, m_dbc, errors);
}

void OdbcBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    requireOpen();
    setAutocommit(false, errors);
    m_inTransaction = true;
}

void OdbcBackend::endTransaction(SQLSMALLINT completion, std::vector<ErrorInfo>& errors)
{
    requireOpen();
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), completion);
    check(rc, m_dbc, errors);
    m_inTransaction = false;
    setAutocommit(true, errors);
}

void OdbcBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    endTransaction(SQL_COMMIT, errors);
}

void OdbcBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    endTransaction(SQL_ROLLBACK, errors);
}

ResultSet OdbcBackend::openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                  std::vector<ErrorInfo>& errors)
{
    if (schema != adSchemaTables && schema != adSchemaColumns) {
        raise(adErr::NotSupported, QStringLiteral("Object or provider is not capable of performing requested "
                                                  "operation."));
    }
    Handle stmt = newStatement(errors);
    // Criteria by position: catalogue, schema, table, then type or column.
    std::vector<std::u16string> args(4);
    std::vector<bool> given(4, false);
    for (std::size_t i = 0; i < 4 && i < criteria.size(); ++i) {
        if (!criteria[i].isBlank()) {
            given[i] = true;
            const QString text = criteria[i].toText();
            // Names are patterns to the driver; escape them to match exactly.
            const bool pattern = i == 1 || i == 2 || (i == 3 && schema == adSchemaColumns);
            args[i] = (pattern ? escapedPattern(text, m_searchEscape) : text).toStdU16String();
        }
    }
    auto arg = [&](std::size_t i) { return given[i] ? const_cast<SQLWCHAR*>(sqlW(args[i])) : nullptr; };
    auto len = [&](std::size_t i) { return given[i] ? SQLSMALLINT(SQL_NTS) : SQLSMALLINT(0); };
    const SQLRETURN rc = schema == adSchemaTables
                             ? SQLTablesW(stmt.get(), arg(0), len(0), arg(1), len(1), arg(2), len(2), arg(3), len(3))
                             : SQLColumnsW(stmt.get(), arg(0), len(0), arg(1), len(1), arg(2), len(2), arg(3), len(3));
    check(rc, stmt, errors);

    ResultSet raw;
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(stmt.get(), &count), stmt, errors);
    fetchAll(stmt, count, raw, errors);

    ResultSet out;
    out.hasRows = true;
    const bool tables = schema == adSchemaTables;
    out.columns = {schemaColumn("TABLE_CATALOG", adVarWChar), schemaColumn("TABLE_SCHEMA", adVarWChar),
                   schemaColumn("TABLE_NAME", adVarWChar)};
    if (tables) {
        out.columns.push_back(schemaColumn("TABLE_TYPE", adVarWChar));
    } else {
        out.columns.push_back(schemaColumn("COLUMN_NAME", adVarWChar));
        out.columns.push_back(schemaColumn("ORDINAL_POSITION", adInteger));
        out.columns.push_back(schemaColumn("DATA_TYPE", adSmallInt));
    }
    auto text = [](const Variant& v) { return v.isNull() ? Variant::null() : Variant(v.toText()); };
    for (const auto& row : raw.rows) {
        if (row.size() < (tables ? 4u : 17u)) {
            continue;
        }
        // Drivers that ignore the escape may return near matches; keep exact ones.
        bool exact = true;
        for (std::size_t i = 1; i < 4; ++i) {
            if (given[i] && (tables ? i < 3 : true) &&
                row[i].toText().compare(criteria[i].toText(), Qt::CaseInsensitive) != 0) {
                exact = false;
            }
        }
        if (!exact) {
            continue;
        }
        std::vector<Variant> values{text(row[0]), text(row[1]), text(row[2]), text(row[3])};
        if (!tables) {
            SqlColumn described;
            described.sqlType = SQLSMALLINT(row[4].toInteger().value_or(SQL_UNKNOWN_TYPE));
            described.size = SQLULEN(qMax<int64_t>(0, row[6].toInteger().value_or(0)));
            described.scale = SQLSMALLINT(row[8].toInteger().value_or(0));
            described.typeName = row[5].toText();
            values.push_back(Variant(row[16].toInteger().value_or(0)));
            values.push_back(Variant(int64_t(adoTypeOf(described))));
        }
        out.rows.push_back(std::move(values));
    }
    return out;
}

} // namespace

std::unique_ptr<Backend> createOdbcBackend(const ConnectionString& parsed)
{
    return std::make_unique<OdbcBackend>(parsed);
}

} // namespace platform::db::odbc
