#pragma once

#include "platform/db/sqlite/SqliteBackend.h"

#include <QString>
#include <QVarLengthArray>

#include <chrono>
#include <functional>
#include <vector>

// What the files of the embedded engine's backend share: the provider's error
// entries, SQLite's failures in SQL Server's terms, and the state of one call.
namespace platform::db::sqlite::backend {

// The source every error of the embedded engine names.
extern const QString kProvider;

// An error entry as the SQL Server provider reports it.
ErrorInfo entry(int32_t number, const QString& description, const QString& sqlState, int32_t nativeError);

// Adds `info` to `errors` and raises it as DbError.
[[noreturn]] void raise(std::vector<ErrorInfo>& errors, ErrorInfo info);

// The first word of a statement in capitals ("SELECT"), empty when none.
QString firstWord(const QString& sql);

// SQLite's description of a failure in SQL Server's terms: the native
// number and SQLSTATE the program reads, and ADO's error number.
ErrorInfo translateError(int rc, int extended, const QString& message, const QString& statementSql,
                         const QString& database, bool timedOut);

} // namespace platform::db::sqlite::backend

namespace platform::db::sqlite {

struct SqliteBackend::Batch
{
    // The results as the client meets them: each statement's rows and, where
    // counts are reported, each write's count.
    std::vector<ResultSet> results;
    bool counted = false;
    int64_t affected = 0;
    // A batch whose literals are bound: its text and its translated steps,
    // for the report of a step that does not prepare.
    const QString* source = nullptr;
    const std::vector<TranslatedStep>* steps = nullptr;

    // What the batch gives its caller: its first result (one without rows
    // when there is none), the later ones after it, the rows changed in all.
    ResultSet answer();
};

// A prepared statement taken out of the connection's cache while it runs,
// reset and put back when done (unless the cache was emptied meanwhile).
class SqliteBackend::StatementLease
{
public:
    using Node = decltype(SqliteBackend::m_statements)::node_type;

    StatementLease() = default;
    StatementLease(SqliteBackend* backend, Node node)
        : m_backend(backend), m_node(std::move(node)), m_generation(backend->m_statementsGeneration)
    {
    }
    StatementLease(StatementLease&&) = default;
    StatementLease& operator=(StatementLease&&) = delete;
    ~StatementLease();

    sqlite3_stmt* get() const { return m_node ? m_node.mapped().statement.get() : nullptr; }
    ColumnsSeen* columns() { return &m_node.mapped().columns; }
    explicit operator bool() const { return get() != nullptr; }

private:
    SqliteBackend* m_backend = nullptr;
    Node m_node;
    quint64 m_generation = 0;
};

// Binds the values of a bound translation's parameters ?1, ?2, ... to each
// statement of its batch; the texts are bound as the UTF-8 this binder keeps,
// so it outlives the statements' steps.
class SqliteBackend::ParameterBinder
{
public:
    explicit ParameterBinder(const std::vector<Variant>& values);
    ParameterBinder(const ParameterBinder&) = delete;
    ParameterBinder& operator=(const ParameterBinder&) = delete;

    void operator()(sqlite3_stmt* statement) const;
    // This binder as runSteps takes it: empty when there is nothing to bind.
    Binder binder() const { return m_values.empty() ? Binder() : Binder(std::cref(*this)); }

private:
    const std::vector<Variant>& m_values;
    // The UTF-8 of the texts one after another (a batch's few literals fit
    // in place); m_ends[i] is where value i's ends.
    QVarLengthArray<char, 256> m_utf8;
    QVarLengthArray<qsizetype, 16> m_ends;
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

} // namespace platform::db::sqlite
