#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqlServerErrors.h"
#include "platform/db/sqlite/SqlTableDefinitions.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace platform::db::sqlite {

using backend::entry;
using backend::raise;

namespace {

QString quoted(const QString& identifier)
{
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
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

ResultSet SqliteBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    db(errors);
    const BoundTranslation translation = translate(sql, errors);
    const std::vector<TranslatedStep>& steps = *translation.steps;
    if (steps.size() != 1 || steps.front().kind != TranslatedStep::Kind::Statement || !keyableSelect(steps.front().sql))
        return execute(sql, errors);

    // The row key is the table's rowid, put in front of the select list. A
    // join makes it ambiguous and a view or sub-query has none: those fail to
    // prepare and stay read-only.
    static const QRegularExpression start(QStringLiteral(R"(^\s*select\s)"), QRegularExpression::CaseInsensitiveOption);
    QString keyed = steps.front().sql;
    const auto m = start.match(keyed);
    keyed.insert(m.capturedEnd(), QStringLiteral("rowid AS %1, ").arg(QString::fromUtf8(kKeyColumn)));
    // A statement that does not prepare with the key is read without it.
    const auto keyedStatement = [&]() -> StatementLease {
        try {
            return lease(keyed, nullptr, errors);
        } catch (const DbError&) {
            errors.pop_back();
            return {};
        }
    };
    StatementLease statement = keyedStatement();
    if (!statement)
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
    // The binder keeps the bound texts until the rows are fetched.
    const ParameterBinder parameters(translation.parameters);
    parameters(statement.get());
    ResultSet result = fetch(statement.get(), true, errors, steps.front().resultTypes, statement.columns());
    noteSchemaChange(statement.get(), false);
    result.baseTable = QString::fromUtf8(keyTable);
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
    refuseIdentity(table, columns, true, errors);
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
    const Variant key(int64_t(sqlite3_last_insert_rowid(m_db.get())));
    noteInsert(translation::identityReadBack(catalog(errors), table), 1, nullptr, errors);
    return key;
}

void SqliteBackend::refuseIdentity(const QString& table, const std::vector<QString>& columns, bool insert,
                                   std::vector<ErrorInfo>& errors)
{
    const CatalogColumn* identity = catalog(errors).identity(table);
    if (!identity || identity->identity != Identity::Numbered)
        return;
    const ServerError& error = insert ? serverError::IdentityGiven : serverError::IdentityUpdated;
    for (const QString& c : columns)
        if (c.compare(identity->name, Qt::CaseInsensitive) == 0)
            raise(errors, entry(error.number, serverMessage(error, {insert ? table : identity->name}),
                                QString::fromLatin1(error.sqlState), error.native));
}

void SqliteBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                              const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    db(errors);
    if (columns.empty())
        return;
    const CommandClock clock(*this);
    refuseIdentity(table, columns, false, errors);
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
