#pragma once

#include "platform/db/Backend.h"
#include "platform/db/sqlite/SqlTranslator.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace platform::db::sqlite {

// Creates the embedded data base file `filePath` and runs `script` (SQLite's
// own SQL, in one transaction) in it, with the registered collation and
// functions available. Raises DbError when the file exists or the script
// fails; a failed build leaves no file behind.
void createDatabase(const QString& filePath, const QString& script = {});

// The tables and views of an open SQLite data base with their columns' kinds,
// for the translator; what cannot be read is left out.
SqlCatalog readCatalog(sqlite3* db);

// The embedded engine: a server is a folder, a data base D is the file
// D.sqlite in it (found without regard to letter case). Statements in SQL
// Server's dialect are translated before SQLite runs them, and SQLite's
// failures are reported with SQL Server's native numbers. Opening never
// creates a file.
class SqliteBackend : public Backend
{
public:
    SqliteBackend();
    ~SqliteBackend() override;

    void open(const OpenParams& params, std::vector<ErrorInfo>& errors) override;
    void close() override;
    QString defaultDatabase() const override;
    void setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors) override;
    void setCommandTimeout(int seconds) override;

    ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) override;
    ResultSet executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors) override;
    // Stored procedures are kept in the data base file (SqliteProcedures.h).
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
    std::vector<Variant> readRow(const QString& table, const Variant& key, const std::vector<ColumnInfo>& columns,
                                 std::vector<ErrorInfo>& errors) override;

    struct DbCloser
    {
        void operator()(sqlite3* db) const;
    };
    struct StmtFinalizer
    {
        void operator()(sqlite3_stmt* statement) const;
    };
    using DbPtr = std::unique_ptr<sqlite3, DbCloser>;
    using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

private:
    struct Batch;
    class CommandClock;
    class StatementLease;

    DbPtr openDatabase(const QString& name, QString& foundName, std::vector<ErrorInfo>& errors) const;
    sqlite3* db(std::vector<ErrorInfo>& errors) const;
    // The batch with its literals that meet columns as parameters (their
    // values in the result).
    BoundTranslation translate(const QString& sql, std::vector<ErrorInfo>& errors);
    // Marks the translator's catalogue out of date when a statement that ran
    // met a change of the schema, or made one (`changesSchema`).
    void noteSchemaChange(sqlite3_stmt* statement, bool changesSchema);
    // The translator's catalogue, read again first when it is out of date.
    const SqlCatalog& catalog(std::vector<ErrorInfo>& errors);
    // Binds a procedure's parameter values to a prepared statement; empty for
    // a plain batch.
    using Binder = std::function<void(sqlite3_stmt*)>;
    // Binds the values of a bound translation's parameters ?1, ?2, ...
    class ParameterBinder;
    void runSteps(const std::vector<TranslatedStep>& steps, Batch& batch, std::vector<ErrorInfo>& errors,
                  const Binder& bind = {});
    void runStatement(const TranslatedStep& step, Batch& batch, std::vector<ErrorInfo>& errors, const Binder& bind);
    // The statements of a step that holds several, prepared each time.
    void runStatements(const TranslatedStep& step, Batch& batch, std::vector<ErrorInfo>& errors, const Binder& bind);
    // Adds a statement's result to the batch's count and results.
    void record(ResultSet result, const TranslatedStep& step, Batch& batch) const;
    StmtPtr prepare(const QString& sql, std::vector<ErrorInfo>& errors);
    // The prepared statement of `sql`, from the cache when it was prepared
    // before; an empty lease when `sql` holds more than one statement. A
    // failure to prepare a step of `batch` is reported as its text with the
    // literals written out would fail.
    StatementLease lease(const QString& sql, const Batch* batch, std::vector<ErrorInfo>& errors);
    // The same for a translated step (its text's hash taken at translation).
    StatementLease lease(const TranslatedStep& step, const Batch* batch, std::vector<ErrorInfo>& errors);
    [[noreturn]] void failToPrepare(int rc, const QString& sql, const Batch* batch, std::vector<ErrorInfo>& errors);
    // Forgets the prepared statements (the schema changed, the connection closes).
    void clearStatements();
    // The columns of a statement's result as it last described them, kept
    // with the prepared statement until SQLite prepares it again.
    struct ColumnsSeen
    {
        ColumnList columns;
        bool known = false;
    };
    // `resultTypes`: the declared types of columns SQL Server types by their expression (a translated step's).
    ResultSet fetch(sqlite3_stmt* statement, bool keyed, std::vector<ErrorInfo>& errors,
                    const std::vector<QString>& resultTypes = {}, ColumnsSeen* seen = nullptr);
    void execSimple(const char* sql, std::vector<ErrorInfo>& errors);
    [[noreturn]] void fail(int rc, const QString& statementSql, std::vector<ErrorInfo>& errors);
    // Lower-case column name -> declared type, for converting written values.
    QMap<QString, QString> declaredTypes(const QString& table, std::vector<ErrorInfo>& errors);
    static int progress(void* self);
    // A stored procedure's definition; raises 2812 when there is none.
    QString procedureDefinition(const QString& name, std::vector<ErrorInfo>& errors);
    // SQLite's busy handler: while another connection holds the lock, the
    // wait yields to window events, until the command time-out.
    static int busy(void* self, int count);
    // tsql_identity(scope) on a connection of this backend: SCOPE_IDENTITY()
    // with 1, @@IDENTITY with 0.
    void registerIdentityFunction(sqlite3* db) const;
    static void identityFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv);
    // After an INSERT that inserted `inserted` rows: the identity it gave, as
    // `identitySql` reads it back (TranslatedStep).
    void noteInsert(const QString& identitySql, int64_t inserted, const Batch* batch, std::vector<ErrorInfo>& errors);
    // A record set's insert (or update) of `columns` of `table`: SQL Server's
    // 544 (8102) when one is the identity the engine numbers.
    void refuseIdentity(const QString& table, const std::vector<QString>& columns, bool insert,
                        std::vector<ErrorInfo>& errors);
    // After a rollback: the numbers the transaction gave stay given.
    void keepNumbersGiven();
    // TRUNCATE TABLE: every row deleted and the table's identity back at its seed.
    void truncateTable(const QString& table, std::vector<ErrorInfo>& errors);

    QString m_folder;
    QString m_database;
    DbPtr m_db;
    // The prepared statements of this connection by their SQLite text, kept
    // for the next statement of the same text; a statement in use is out of
    // the cache. Emptied when the schema changes (`m_statementsGeneration` counts that).
    struct Prepared
    {
        StmtPtr statement;
        ColumnsSeen columns;
    };
    // A statement's text with its hash, taken once per translation.
    struct StatementKey
    {
        QString sql;
        std::size_t hash;
        bool operator==(const StatementKey& other) const { return sql == other.sql; }
    };
    struct KeyHash
    {
        std::size_t operator()(const StatementKey& key) const { return key.hash; }
    };
    std::unordered_map<StatementKey, Prepared, KeyHash> m_statements;
    quint64 m_statementsGeneration = 0;
    static constexpr int kStatementLimit = 200;
    SqlTranslator m_translator;
    // The translator's catalogue is read again before the next translation.
    bool m_catalogStale = true;
    int m_transactionDepth = 0;
    // SET NOCOUNT ON of the session: statements report no row count (-1).
    bool m_noCount = false;
    // SCOPE_IDENTITY(): the last identity an INSERT of the running batch or
    // procedure gave; @@IDENTITY: the session's last, none again after an
    // INSERT into a table without one.
    std::optional<int64_t> m_scopeIdentity;
    std::optional<int64_t> m_sessionIdentity;
    // The last number given to each table the engine numbers (by name)
    // inside the open transaction.
    QHash<QString, int64_t> m_numberedInTransaction;
    int m_commandTimeout = 30;
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::time_point::max();
    int m_clockDepth = 0;
    bool m_timedOut = false;
    // Set while busy() lets window events run: a statement sent from one of
    // them on this connection is refused.
    bool m_waitingForLock = false;
    std::chrono::steady_clock::time_point m_lockWaitStart;
};

} // namespace platform::db::sqlite
