#pragma once

#include "platform/db/Types.h"

#include <QMap>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace platform::db {

// A connection string taken apart: keys without regard to case or to blanks
// around them ("Database =" is "database"), values unquoted ({...} or "...").
class ConnectionString
{
public:
    static ConnectionString parse(const QString& text);
    QString value(const QString& key, const QString& fallback = {}) const;
    bool has(const QString& key) const;
    // The first of several synonyms that is present ("server", "data source").
    QString first(std::initializer_list<const char*> keys, const QString& fallback = {}) const;

private:
    QMap<QString, QString> m_values; // lower-case key -> value; the first occurrence wins
};

struct ColumnInfo
{
    QString name;
    DataTypeEnum type = adVarWChar;
    int64_t definedSize = 0;
    int precision = 0;
    int scale = 0;
    bool nullable = true;
    // The base table and column the value comes from, when the backend knows;
    // an updatable record set writes through them.
    QString baseTable;
    QString baseColumn;
};

// The descriptions of a result's columns. Copies share one list (the results
// of one prepared statement share theirs); a list that changes takes its own
// copy first, so no other result sees the change.
class ColumnList
{
public:
    ColumnList() = default;
    ColumnList(std::initializer_list<ColumnInfo> columns)
        : m_columns(std::make_shared<std::vector<ColumnInfo>>(columns))
    {
    }

    std::size_t size() const { return m_columns ? m_columns->size() : 0; }
    bool empty() const { return size() == 0; }
    const ColumnInfo& operator[](std::size_t index) const { return (*m_columns)[index]; }
    std::vector<ColumnInfo>::const_iterator begin() const { return all().begin(); }
    std::vector<ColumnInfo>::const_iterator end() const { return all().end(); }
    const std::vector<ColumnInfo>& all() const
    {
        static const std::vector<ColumnInfo> none;
        return m_columns ? *m_columns : none;
    }

    void reserve(std::size_t count) { own().reserve(count); }
    void push_back(ColumnInfo column) { own().push_back(std::move(column)); }
    // The column at `index`, to change in this list alone.
    ColumnInfo& edit(std::size_t index) { return own()[index]; }

private:
    std::vector<ColumnInfo>& own()
    {
        if (!m_columns)
            m_columns = std::make_shared<std::vector<ColumnInfo>>();
        else if (m_columns.use_count() > 1)
            m_columns = std::make_shared<std::vector<ColumnInfo>>(*m_columns);
        return *m_columns;
    }

    std::shared_ptr<std::vector<ColumnInfo>> m_columns;
};

// One result of a statement, fetched whole.
struct ResultSet
{
    bool hasRows = false; // the statement produced a row set (possibly with no rows)
    ColumnList columns;
    std::vector<std::vector<Variant>> rows;
    // One key per row that the backend can later use to update or delete it
    // (empty when the rows cannot be written back).
    std::vector<Variant> rowKeys;
    QString baseTable;
    int64_t recordsAffected = -1;
    // Set when the data base refuses every write (a Jet file is open for
    // reading only): the error a write through the rows raises.
    std::optional<ErrorInfo> refusedWrites;
    // When set, `rows` hold values in the backend's storage form and each is
    // turned into its column's value when it is read (idempotent on a value
    // already of the column's type).
    Variant (*readValue)(const Variant& stored, const ColumnInfo& column) = nullptr;
    // The later results of the batch, in order, for NextRecordset.
    std::vector<ResultSet> next;

    // A row's value at `column` as its column gives it.
    Variant value(std::size_t row, std::size_t column) const
    {
        const Variant& stored = rows[row][column];
        return readValue ? readValue(stored, columns[column]) : stored;
    }
};

// One parameter of a stored-procedure call, in the order of the call, its
// value already of the parameter's type.
struct ProcedureParameter
{
    QString name;
    DataTypeEnum type = adVarWChar;
    int direction = 1; // adParamInput
    int64_t size = 0;
    Variant value; // Empty: not given, the procedure's default applies
};

struct OpenParams
{
    QString connectionString;
    ConnectionString parsed;
    int connectionTimeout = 15;
    int commandTimeout = 30;
    QString programFolder;
};

// What the Connection needs of a data-base engine. Every call raises DbError
// on failure after appending the provider's entries to `errors`;
// informational messages are never appended.
class Backend
{
public:
    virtual ~Backend() = default;

    virtual void open(const OpenParams& params, std::vector<ErrorInfo>& errors) = 0;
    virtual void close() = 0;
    virtual QString defaultDatabase() const = 0;
    virtual void setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors) = 0;
    virtual void setCommandTimeout(int seconds) = 0;

    // Runs a statement or a batch; returns its first result, with the later
    // ones in `next` as the client meets them (each with its own count), and
    // recordsAffected summed over the batch. A result is a statement's rows,
    // or, where the server reports counts (SET NOCOUNT OFF), a write's count
    // with no rows; a batch without results gives one without rows.
    virtual ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) = 0;
    // Runs one SELECT for a record set that may write back: the result carries
    // baseTable and one row key per row when all its columns come from one
    // table; otherwise it is the plain result of execute().
    virtual ResultSet executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
    {
        return execute(sql, errors);
    }
    // Runs the stored procedure `name` with its parameters bound by position,
    // never pasted into a statement; the result as execute() gives it.
    // A backend without stored procedures raises adErr::NotSupported.
    virtual ResultSet executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                                       std::vector<ErrorInfo>& errors)
    {
        (void)parameters;
        (void)errors;
        throw DbError(adErr::NotSupported,
                      QStringLiteral("The provider cannot run the stored procedure %1.").arg(name));
    }
    virtual void beginTransaction(std::vector<ErrorInfo>& errors) = 0;
    virtual void commitTransaction(std::vector<ErrorInfo>& errors) = 0;
    virtual void rollbackTransaction(std::vector<ErrorInfo>& errors) = 0;

    // Tables: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE.
    // Columns: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, DATA_TYPE.
    // `criteria` restrict by position (Empty matches all), as ADO's OpenSchema does.
    virtual ResultSet openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                 std::vector<ErrorInfo>& errors) = 0;

    // Writes of an updatable record set, by the row key the result gave.
    virtual Variant insertRow(const QString& table, const std::vector<QString>& columns,
                              const std::vector<Variant>& values, std::vector<ErrorInfo>& errors) = 0;
    virtual void updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                           const std::vector<Variant>& values, std::vector<ErrorInfo>& errors) = 0;
    virtual void deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors) = 0;
    // The stored values of a written row, in the order of `columns` (their
    // baseColumn), so a record set sees defaults and converted values; empty
    // when the backend cannot read a row back.
    virtual std::vector<Variant> readRow(const QString& table, const Variant& key,
                                         const std::vector<ColumnInfo>& columns, std::vector<ErrorInfo>& errors)
    {
        (void)table;
        (void)key;
        (void)columns;
        (void)errors;
        return {};
    }
};

// Whether a server value names a folder of the embedded engine: a path (it
// starts with "/", "./", "../" or "~/") or the name of a folder that exists
// in the program folder. Any other value (a host, "host\instance",
// "host:port", "prefix/address:port") names a server reached through ODBC.
// Blanks in front of the value do not count; blanks at its end belong to the
// folder's name.
bool isEmbeddedServer(const QString& server);
// The folder that an embedded server value names, as written: without the
// blanks in front of it.
QString embeddedServerPath(const QString& server);

// Whether a connection string opens the embedded engine: SQLOLEDB with a
// Server= value that isEmbeddedServer. Callers that send statements shaped
// for the engine ask this rather than repeating the rule.
bool usesEmbeddedEngine(const ConnectionString& parsed);

// Chooses and creates the backend for a connection string: the embedded
// engine where usesEmbeddedEngine, ODBC with FreeTDS for any other SQLOLEDB
// server, ODBC for OraOLEDB, ODBC through MDB Tools, read-only, for the Jet
// providers.
std::unique_ptr<Backend> createBackend(const ConnectionString& parsed);

// Tests wrap every backend created from now on (to inject faults a real engine
// cannot produce on demand); an empty function removes the wrapper.
using BackendWrapper = std::function<std::unique_ptr<Backend>(std::unique_ptr<Backend>)>;
void setBackendWrapper(BackendWrapper wrapper);

} // namespace platform::db
