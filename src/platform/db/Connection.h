#pragma once

#include "platform/db/Backend.h"
#include "platform/db/Types.h"

#include <QString>

#include <memory>
#include <vector>

namespace platform::db {

class Recordset;

// The provider's entries of the last Open or Execute.
class Errors
{
public:
    int Count() const { return int(m_items.size()); }
    const ErrorInfo& Item(int index) const { return m_items.at(std::size_t(index)); }
    void Clear() { m_items.clear(); }
    std::vector<ErrorInfo>& items() { return m_items; }
    const std::vector<ErrorInfo>& items() const { return m_items; }

private:
    std::vector<ErrorInfo> m_items;
};

// A connection to one data base, in ADO's shape. Every failing call raises
// DbError; Errors is cleared at the start of each Open and Execute.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString ConnectionString() const { return m_connectionString; }
    void setConnectionString(const QString& text);
    int ConnectionTimeout() const { return m_connectionTimeout; }
    void setConnectionTimeout(int seconds);
    int CommandTimeout() const { return m_commandTimeout; }
    void setCommandTimeout(int seconds);
    int CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(int location) { m_cursorLocation = location; }
    int IsolationLevel() const { return m_isolationLevel; }
    void setIsolationLevel(int level) { m_isolationLevel = level; }
    QString DefaultDatabase() const;
    void setDefaultDatabase(const QString& name);
    // The provider named by the connection string ("SQLOLEDB", "OraOLEDB.Oracle.1", ...).
    QString Provider() const;

    void Open(const QString& connectionString = {}, const QString& userId = {}, const QString& password = {},
              int options = -1);
    void Close();
    int State() const;

    // Runs a statement or batch. Returns the record set of its first result:
    // the rows of a query, or closed for a statement without rows (with SET
    // NOCOUNT OFF, a write before a query in the batch is such a result; its
    // NextRecordset reaches the query's rows). `recordsAffected` receives the
    // rows the batch changed, or -1, ADO's unknown count, when the server
    // reports none (a query, SET NOCOUNT ON, a write to a view through its
    // triggers).
    std::shared_ptr<Recordset> Execute(const QString& sql, int64_t* recordsAffected = nullptr, int options = adCmdText);
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    std::shared_ptr<Recordset> OpenSchema(SchemaEnum schema, const std::vector<Variant>& criteria = {});

    Errors& errors() { return m_errors; }
    const Errors& errors() const { return m_errors; }

    // The backend of an open connection (record sets write through it).
    Backend& backend();

private:
    friend class Command;
    friend class Recordset;
    void requireOpen() const;
    // The record set of a statement's result: read-only, closed when the
    // result has no rows, holding the batch's later results.
    std::shared_ptr<Recordset> recordsetOf(ResultSet result, const QString& source);
    // Runs one call of the provider with a fresh error list: the entries of a
    // failing call replace Errors (informational ones left out, class 08
    // carrying native error 11) and the raised DbError carries the first;
    // `clearFirst` calls (Open, Execute) empty Errors also when they succeed.
    template <class Call> void provider(bool clearFirst, Call&& call)
    {
        std::vector<ErrorInfo> entries;
        try {
            call(*m_backend, entries);
        } catch (const DbError& e) {
            providerFailed(std::move(entries), e);
        }
        providerDone(clearFirst, std::move(entries));
    }
    [[noreturn]] void providerFailed(std::vector<ErrorInfo> entries, const DbError& error);
    void providerDone(bool clearFirst, std::vector<ErrorInfo> entries);

    QString m_connectionString;
    int m_connectionTimeout = 15;
    int m_commandTimeout = 30;
    int m_cursorLocation = adUseServer;
    int m_isolationLevel = adXactReadCommitted;
    int m_transactionLevel = 0;
    std::unique_ptr<Backend> m_backend;
    Errors m_errors;
    // Record sets hold a weak copy, so a write after the connection is gone fails cleanly.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

class Field;

// A client-side record set: rows fetched whole, so RecordCount is exact.
// Opened with a lock type other than read-only on a single-table query, it
// can add, change and delete rows.
class Recordset : public std::enable_shared_from_this<Recordset>
{
public:
    Recordset();
    ~Recordset();

    void Open(const QString& source, Connection* activeConnection, int cursorType = adOpenForwardOnly,
              int lockType = adLockReadOnly, int options = adCmdUnknown);
    void Close();
    int State() const { return m_open ? adStateOpen : adStateClosed; }
    // The batch's next result as a record set of its own (closed for a
    // statement without rows), `recordsAffected` its count; nullptr when
    // there is none. This record set is closed and keeps no results.
    std::shared_ptr<Recordset> NextRecordset(int64_t* recordsAffected = nullptr);

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    void Move(int64_t offset);
    int64_t RecordCount() const;
    // 1-based position of the current row; adPosBOF / adPosEOF at the marks.
    int64_t AbsolutePosition() const;
    void setAbsolutePosition(int64_t position);

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString& name);
    // The current row's value of a field, by index or case-insensitive name.
    Variant value(int index) const;
    Variant value(const QString& name) const;
    int fieldIndex(const QString& name) const; // -1 when absent
    const ColumnInfo& column(int index) const;

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    int EditMode() const { return m_editMode; }
    int LockType() const { return m_lockType; }
    QString Source() const { return m_source; }

    // For the Connection: takes a fetched result; one without rows leaves
    // the record set closed. The batch's later results wait for NextRecordset.
    void attach(ResultSet result, Connection* connection, int lockType, const QString& source);

private:
    friend class Field;
    void requireOpen() const;
    void requireCurrent() const;
    void setValue(int index, const Variant& value);
    Connection& writableConnection() const;
    void finishPendingEdit();
    void leaveDeletedRow();
    bool updatable() const;
    // Raises unless the rows can be written back: the data base's own refusal
    // when it refuses every write, else "operation not allowed".
    void requireUpdatable() const;

    bool m_open = false;
    Connection* m_connection = nullptr;
    std::weak_ptr<int> m_connectionAlive;
    // After Delete the current row is gone: m_position names the row that
    // followed it, and the next MoveNext stays there.
    bool m_onDeleted = false;
    int64_t m_positionBeforeAdd = 0;
    ResultSet m_result;
    int64_t m_position = 0; // 0-based; == rows.size() at EOF, -1 at BOF
    int m_lockType = adLockReadOnly;
    int m_editMode = adEditNone;
    std::vector<Variant> m_editBuffer;
    std::vector<bool> m_changed;
    QString m_source;
    std::vector<ResultSet> m_pending;
};

// A column of a record set's current row.
class Field
{
public:
    Field(Recordset* owner, int index) : m_owner(owner), m_index(index) {}

    QString Name() const;
    int Type() const;
    int64_t DefinedSize() const;
    int Precision() const;
    int NumericScale() const;
    Variant Value() const;
    void setValue(const Variant& value);

private:
    Recordset* m_owner;
    int m_index;
};

} // namespace platform::db
