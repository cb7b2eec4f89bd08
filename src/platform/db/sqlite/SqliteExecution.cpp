#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteIdentity.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform::db::sqlite {

using backend::entry;
using backend::kProvider;
using backend::raise;

namespace {

bool namesUnknown(const std::vector<TranslatedStep>& steps)
{
    for (const TranslatedStep& step : steps)
        if (step.unknownNames || namesUnknown(step.body))
            return true;
    return false;
}

// The steps in the order they run: each step, then the body of an IF.
void flatten(const std::vector<TranslatedStep>& steps, std::vector<const TranslatedStep*>& out)
{
    for (const TranslatedStep& step : steps) {
        out.push_back(&step);
        flatten(step.body, out);
    }
}

// A statement that reports the rows it changed.
bool countsRows(const char* sql)
{
    while (*sql == ' ' || *sql == '\t' || *sql == '\r' || *sql == '\n')
        ++sql;
    for (const char* verb : {"INSERT", "UPDATE", "DELETE", "REPLACE"}) {
        const std::size_t n = std::strlen(verb);
        if (qstrnicmp(sql, verb, uint(n)) == 0 && !std::isalnum(static_cast<unsigned char>(sql[n])))
            return true;
    }
    return false;
}

// Appends the UTF-8 of `text`. Statements' texts are nearly always ASCII:
// those are copied byte for byte, without a converted copy of their own.
template <qsizetype N> void appendUtf8(QVarLengthArray<char, N>& out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            out.resize(start);
            const QByteArray utf8 = text.toUtf8();
            out.append(utf8.constData(), utf8.size());
            return;
        }
        *to++ = char(c.unicode());
    }
}

} // namespace

SqliteBackend::StatementLease::~StatementLease()
{
    if (!get())
        return;
    sqlite3_reset(get());
    if (m_generation != m_backend->m_statementsGeneration ||
        m_backend->m_statements.size() >= std::size_t(SqliteBackend::kStatementLimit))
        return;
    m_backend->m_statements.insert(std::move(m_node));
}

void SqliteBackend::clearStatements()
{
    m_statements.clear();
    ++m_statementsGeneration;
}

void SqliteBackend::noteSchemaChange(sqlite3_stmt* statement, bool changesSchema)
{
    // SQLite prepares a statement again when the schema changed under it
    // (another connection's DDL); this connection's own DDL changes it too.
    // The count is taken back to 0, as the statement may run again.
    if (sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 1) > 0 || changesSchema)
        m_catalogStale = true;
}

const SqlCatalog& SqliteBackend::catalog(std::vector<ErrorInfo>& errors)
{
    if (m_catalogStale) {
        m_translator.setCatalog(readCatalog(db(errors)));
        clearStatements();
        m_catalogStale = false;
    }
    return m_translator.catalog();
}

BoundTranslation SqliteBackend::translate(const QString& sql, std::vector<ErrorInfo>& errors)
{
    catalog(errors);
    try {
        bool fromCache = false;
        BoundTranslation translation = m_translator.translateBound(sql, &fromCache);
        // A table or written column the catalogue lacks: another connection
        // may have changed the schema since it was read.
        if (!fromCache && namesUnknown(*translation.steps)) {
            m_translator.setCatalog(readCatalog(db(errors)));
            clearStatements();
            translation = m_translator.translateBound(sql);
        }
        return translation;
    } catch (const DbError& e) {
        ErrorInfo info = e.info();
        info.Source = kProvider;
        if (info.SQLState.isEmpty())
            info.SQLState = QStringLiteral("42000");
        if (info.NativeError == 0 && info.Description.startsWith(QLatin1String("Unclosed quotation mark")))
            info.NativeError = 105;
        if (info.NativeError == 0 && info.Description.startsWith(QLatin1String("Incorrect syntax near")))
            info.NativeError = 102;
        raise(errors, std::move(info));
    }
}

SqliteBackend::ParameterBinder::ParameterBinder(const std::vector<Variant>& values) : m_values(values)
{
    m_ends.reserve(qsizetype(values.size()));
    for (const Variant& value : values) {
        if (value.type() == VariantType::Text)
            appendUtf8(m_utf8, value.toText());
        m_ends.push_back(m_utf8.size());
    }
}

void SqliteBackend::ParameterBinder::operator()(sqlite3_stmt* statement) const
{
    const int count = std::min(sqlite3_bind_parameter_count(statement), int(m_values.size()));
    for (int i = 1; i <= count; ++i) {
        const qsizetype at = i - 1;
        const Variant& value = m_values[std::size_t(at)];
        if (value.type() != VariantType::Text) {
            bindStorage(statement, i, value);
            continue;
        }
        const qsizetype start = at == 0 ? 0 : m_ends[at - 1];
        sqlite3_bind_text64(statement, i, m_utf8.constData() + start, sqlite3_uint64(m_ends[at] - start), SQLITE_STATIC,
                            SQLITE_UTF8);
    }
}

SqliteBackend::StatementLease SqliteBackend::lease(const TranslatedStep& step, const Batch* batch,
                                                   std::vector<ErrorInfo>& errors)
{
    const StatementKey key{step.sql, step.sqlHash != 0 ? step.sqlHash : qHash(step.sql)};
    if (auto cached = m_statements.find(key); cached != m_statements.end()) {
        db(errors);
        return StatementLease(this, m_statements.extract(cached));
    }
    return lease(step.sql, batch, errors);
}

SqliteBackend::StatementLease SqliteBackend::lease(const QString& sql, const Batch* batch,
                                                   std::vector<ErrorInfo>& errors)
{
    sqlite3* handle = db(errors);
    const StatementKey key{sql, qHash(sql)};
    if (auto cached = m_statements.find(key); cached != m_statements.end())
        return StatementLease(this, m_statements.extract(cached));
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v3(handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &raw, &tail);
    StmtPtr statement(raw);
    if (rc != SQLITE_OK)
        failToPrepare(rc, sql, batch, errors);
    while (tail && tail < text.constData() + text.size() && std::isspace(static_cast<unsigned char>(*tail)))
        ++tail;
    if (!statement || (tail && *tail))
        return {};
    const auto added = m_statements.emplace(key, Prepared{std::move(statement), {}}).first;
    return StatementLease(this, m_statements.extract(added));
}

void SqliteBackend::failToPrepare(int rc, const QString& sql, const Batch* batch, std::vector<ErrorInfo>& errors)
{
    // SQLite's description may quote the text near the fault: that of the
    // statement with its literals, as the program wrote them.
    if (batch && batch->source && batch->steps) {
        std::vector<const TranslatedStep*> bound;
        flatten(*batch->steps, bound);
        std::vector<const TranslatedStep*> plain;
        const std::vector<TranslatedStep> written = SqlTranslator::translateUncached(*batch->source, catalog(errors));
        flatten(written, plain);
        for (std::size_t i = 0; i < bound.size() && i < plain.size(); ++i) {
            if (bound[i]->sql != sql)
                continue;
            const QByteArray text = plain[i]->sql.toUtf8();
            sqlite3_stmt* raw = nullptr;
            const int plainRc = sqlite3_prepare_v2(m_db.get(), text.constData(), int(text.size()), &raw, nullptr);
            const StmtPtr statement(raw);
            if (plainRc != SQLITE_OK)
                fail(plainRc, plain[i]->sql, errors);
            break;
        }
    }
    fail(rc, sql, errors);
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

ResultSet SqliteBackend::fetch(sqlite3_stmt* statement, bool keyed, std::vector<ErrorInfo>& errors,
                               const std::vector<QString>& resultTypes, ColumnsSeen* seen)
{
    ResultSet result;
    // The columns are read after the first step: a statement prepared before
    // a change of the schema is prepared again by it.
    int rc = sqlite3_step(statement);
    const int count = sqlite3_column_count(statement);
    if (count == 0) {
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(statement);
        if (rc != SQLITE_DONE)
            fail(rc, QString::fromUtf8(sqlite3_sql(statement)), errors);
        if (countsRows(sqlite3_sql(statement)))
            result.recordsAffected = sqlite3_changes64(m_db.get());
        return result;
    }
    result.hasRows = true;
    const int first = keyed ? 1 : 0;
    if (seen && seen->known && sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 0) == 0) {
        result.columns = seen->columns;
    } else {
        result.columns.reserve(std::size_t(count - first));
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
        // An expression has no declared type, and a column of a UNION takes the
        // type of highest precedence among its members: the statement shows
        // SQL Server's type where the values cannot.
        for (std::size_t position = 0; position < result.columns.size() && position < resultTypes.size(); ++position) {
            if (resultTypes[position].isEmpty())
                continue;
            const ColumnInfo& column = result.columns[position];
            ColumnInfo typed = columnForDeclaredType(column.name, resultTypes[position]);
            typed.baseTable = column.baseTable;
            typed.baseColumn = column.baseColumn;
            result.columns.edit(position) = std::move(typed);
        }
        if (seen)
            *seen = ColumnsSeen{result.columns, true};
    }
    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement)) {
        std::vector<Variant> row;
        row.reserve(std::size_t(count - first));
        for (int i = first; i < count; ++i)
            appendStorage(row, statement, i);
        if (keyed)
            result.rowKeys.push_back(readStorage(statement, 0));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail(rc, QString::fromUtf8(sqlite3_sql(statement)), errors);
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        if (result.columns[c].type == adEmpty)
            typeFromValues(result.columns.edit(c), result.rows, c);
    }
    // The values keep their storage form until they are read.
    result.readValue = &fromStorage;
    return result;
}

void SqliteBackend::registerIdentityFunction(sqlite3* db) const
{
    sqlite3_create_function_v2(db, "tsql_identity", 1, SQLITE_UTF8, const_cast<SqliteBackend*>(this),
                               &SqliteBackend::identityFunction, nullptr, nullptr, nullptr);
}

void SqliteBackend::identityFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto* backend = static_cast<const SqliteBackend*>(sqlite3_user_data(ctx));
    const std::optional<int64_t>& identity =
        sqlite3_value_int(argv[0]) != 0 ? backend->m_scopeIdentity : backend->m_sessionIdentity;
    if (identity)
        sqlite3_result_int64(ctx, *identity);
    else
        sqlite3_result_null(ctx);
}

void SqliteBackend::noteInsert(const QString& identitySql, int64_t inserted, const Batch* batch,
                               std::vector<ErrorInfo>& errors)
{
    // SQL Server's @@IDENTITY is NULL after an INSERT that gave no identity.
    m_sessionIdentity.reset();
    if (inserted <= 0 || identitySql.isEmpty())
        return;
    const StatementLease read = lease(identitySql, batch, errors);
    if (read && sqlite3_step(read.get()) == SQLITE_ROW && sqlite3_column_type(read.get(), 0) != SQLITE_NULL) {
        m_sessionIdentity = sqlite3_column_int64(read.get(), 0);
        m_scopeIdentity = m_sessionIdentity;
        if (m_transactionDepth > 0 && sqlite3_column_type(read.get(), 1) != SQLITE_NULL)
            m_numberedInTransaction.insert(readStorage(read.get(), 1).toText(), *m_sessionIdentity);
    }
}

void SqliteBackend::keepNumbersGiven()
{
    // As on SQL Server, a number given is not given again when the transaction
    // that gave it is rolled back: the counters are put back where it left them.
    const QString sql = QStringLiteral("UPDATE %1 SET LAST_VALUE = ?2 WHERE TABLE_NAME = ?1 AND (LAST_VALUE IS "
                                       "NULL OR (INCREMENT > 0 AND LAST_VALUE < ?2) OR (INCREMENT < 0 AND "
                                       "LAST_VALUE > ?2))")
                            .arg(QLatin1String(kIdentityTable));
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    if (!m_numberedInTransaction.isEmpty() &&
        sqlite3_prepare_v2(m_db.get(), text.constData(), int(text.size()), &raw, nullptr) == SQLITE_OK) {
        const StmtPtr statement(raw);
        for (auto it = m_numberedInTransaction.cbegin(); it != m_numberedInTransaction.cend(); ++it) {
            const QByteArray table = it.key().toUtf8();
            sqlite3_bind_text(statement.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(statement.get(), 2, it.value());
            sqlite3_step(statement.get());
            sqlite3_reset(statement.get());
        }
    }
    m_numberedInTransaction.clear();
}

void SqliteBackend::runStatement(const TranslatedStep& step, Batch& batch, std::vector<ErrorInfo>& errors,
                                 const Binder& bind)
{
    // A definition runs once; any other statement is prepared once per connection.
    if (!step.changesSchema) {
        if (StatementLease statement = lease(step, &batch, errors)) {
            if (bind)
                bind(statement.get());
            ResultSet result = fetch(statement.get(), false, errors, step.resultTypes, statement.columns());
            noteSchemaChange(statement.get(), false);
            if (step.insert)
                noteInsert(step.identitySql, result.recordsAffected, &batch, errors);
            record(std::move(result), step, batch);
            return;
        }
    }
    // The statements of a composite step all run or none does.
    if (step.composite) {
        execSimple("SAVEPOINT tsql_composite", errors);
        try {
            runStatements(step, batch, errors, bind);
        } catch (const DbError&) {
            sqlite3_exec(m_db.get(), "ROLLBACK TO tsql_composite; RELEASE tsql_composite", nullptr, nullptr, nullptr);
            throw;
        }
        execSimple("RELEASE tsql_composite", errors);
        return;
    }
    runStatements(step, batch, errors, bind);
}

void SqliteBackend::runStatements(const TranslatedStep& step, Batch& batch, std::vector<ErrorInfo>& errors,
                                  const Binder& bind)
{
    // One step normally holds one statement; any further ones run in turn.
    sqlite3* handle = db(errors);
    const QByteArray text = step.sql.toUtf8();
    const char* rest = text.constData();
    const char* end = rest + text.size();
    bool first = true;
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
        if (bind)
            bind(statement.get());
        static const std::vector<QString> none;
        ResultSet result = fetch(statement.get(), false, errors, first ? step.resultTypes : none);
        noteSchemaChange(statement.get(), step.changesSchema);
        first = false;
        if (!step.composite)
            record(std::move(result), step, batch);
    }
}

void SqliteBackend::record(ResultSet result, const TranslatedStep& step, Batch& batch) const
{
    const bool write = !result.hasRows && (result.recordsAffected >= 0 || step.countUnknown);
    // A view's triggers change the rows of a write to it; SQLite counts none.
    if (m_noCount || step.countUnknown)
        result.recordsAffected = -1;
    if (result.recordsAffected >= 0) {
        batch.counted = true;
        batch.affected += result.recordsAffected;
    }
    // Under SET NOCOUNT ON a write sends its client nothing, as SQL Server's DONE without a count.
    if (result.hasRows || (write && !m_noCount))
        batch.results.push_back(std::move(result));
}

ResultSet SqliteBackend::Batch::answer()
{
    ResultSet first;
    if (!results.empty()) {
        first = std::move(results.front());
        first.next.assign(std::make_move_iterator(results.begin() + 1), std::make_move_iterator(results.end()));
    }
    first.recordsAffected = counted ? affected : -1;
    return first;
}

void SqliteBackend::runSteps(const std::vector<TranslatedStep>& steps, Batch& batch, std::vector<ErrorInfo>& errors,
                             const Binder& bind)
{
    for (const TranslatedStep& step : steps) {
        switch (step.kind) {
        case TranslatedStep::Kind::Statement:
            runStatement(step, batch, errors, bind);
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
            int rc = SQLITE_DONE;
            {
                const StatementLease probe = lease(step, &batch, errors);
                if (!probe)
                    failToPrepare(SQLITE_ERROR, step.sql, &batch, errors);
                if (bind)
                    bind(probe.get());
                rc = sqlite3_step(probe.get());
                if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                    fail(rc, step.sql, errors);
                noteSchemaChange(probe.get(), false);
            }
            if ((rc == SQLITE_ROW) != step.negate)
                runSteps(step.body, batch, errors, bind);
            break;
        }
        case TranslatedStep::Kind::UseDatabase:
            setDefaultDatabase(step.sql, errors);
            break;
        case TranslatedStep::Kind::NoCountOn:
        case TranslatedStep::Kind::NoCountOff:
            m_noCount = step.kind == TranslatedStep::Kind::NoCountOn;
            break;
        case TranslatedStep::Kind::Truncate:
            truncateTable(step.sql, errors);
            break;
        }
    }
}

ResultSet SqliteBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    db(errors);
    // Each batch is a scope of its own.
    m_scopeIdentity.reset();
    const BoundTranslation translation = translate(sql, errors);
    const CommandClock clock(*this);
    Batch batch;
    batch.source = &sql;
    batch.steps = translation.steps.get();
    const ParameterBinder parameters(translation.parameters);
    runSteps(*translation.steps, batch, errors, parameters.binder());
    return batch.answer();
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
    if (m_transactionDepth == 1) {
        execSimple("COMMIT", errors);
        m_numberedInTransaction.clear();
    }
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
    keepNumbersGiven();
}

} // namespace platform::db::sqlite
