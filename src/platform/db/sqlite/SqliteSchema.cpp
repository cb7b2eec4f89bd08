#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteIdentity.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <sqlite3.h>

#include <QHash>

namespace platform::db::sqlite {

using backend::entry;
using backend::raise;

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

void SqliteBackend::truncateTable(const QString& table, std::vector<ErrorInfo>& errors)
{
    sqlite3* handle = db(errors);
    const QByteArray name = table.toUtf8();
    // Runs `sql` with the table's name as ?1; true when it gave a row.
    auto run = [&](const QString& sql) {
        StmtPtr statement = prepare(sql, errors);
        sqlite3_bind_text(statement.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(statement.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail(rc, sql, errors);
        return rc == SQLITE_ROW;
    };
    auto exists = [&](const char* type) {
        return run(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = '%1' AND name = ?1 COLLATE NOCASE")
                       .arg(QLatin1String(type)));
    };
    if (!exists("table"))
        raise(errors, entry(adErr::Syntax,
                            QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                           "permissions.")
                                .arg(table),
                            QStringLiteral("42000"), 4701));
    // SQL Server truncates no table that a foreign key refers to, rows or not.
    if (run(QStringLiteral("SELECT 1 FROM sqlite_master m, pragma_foreign_key_list(m.name) f WHERE m.type = "
                           "'table' AND f.\"table\" = ?1 COLLATE NOCASE LIMIT 1")))
        raise(errors,
              entry(adErr::Syntax,
                    QStringLiteral(
                        "Cannot truncate table '%1' because it is being referenced by a FOREIGN KEY constraint.")
                        .arg(table),
                    QStringLiteral("42000"), 4712));
    execSimple("SAVEPOINT tsql_truncate", errors);
    try {
        run(QStringLiteral("DELETE FROM %1").arg(translation::quoteName(table)));
        // The identity starts again at its seed: the engine's counter, or the AUTOINCREMENT key's.
        if (run(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1' COLLATE NOCASE")
                    .arg(QLatin1String(kIdentityTable))))
            run(QStringLiteral("UPDATE %1 SET LAST_VALUE = NULL WHERE TABLE_NAME = ?1")
                    .arg(QLatin1String(kIdentityTable)));
        if (run(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'sqlite_sequence'")))
            run(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE"));
    } catch (const DbError&) {
        sqlite3_exec(handle, "ROLLBACK TO tsql_truncate; RELEASE tsql_truncate", nullptr, nullptr, nullptr);
        throw;
    }
    execSimple("RELEASE tsql_truncate", errors);
}

namespace {

// The identity columns the engine numbers, by lower-case table name: those
// of the counters whose table still has its numbering trigger.
QHash<QString, QString> numberedIdentities(sqlite3* db)
{
    QHash<QString, QString> identities;
    sqlite3_stmt* raw = nullptr;
    const QByteArray sql = QStringLiteral("SELECT i.TABLE_NAME, i.COLUMN_NAME FROM %1 i JOIN sqlite_master t ON "
                                          "t.type = 'trigger' AND t.name = '%1_' || i.TABLE_NAME COLLATE NOCASE")
                               .arg(QLatin1String(kIdentityTable))
                               .toUtf8();
    // A data base without such a column has no table of counters.
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        return identities;
    const SqliteBackend::StmtPtr counters(raw);
    while (sqlite3_step(counters.get()) == SQLITE_ROW)
        identities.insert(readStorage(counters.get(), 0).toText().toLower(), readStorage(counters.get(), 1).toText());
    return identities;
}

} // namespace

SqlCatalog readCatalog(sqlite3* db)
{
    SqlCatalog catalog;
    sqlite3_stmt* rawTables = nullptr;
    sqlite3_stmt* rawColumns = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, type, sql FROM sqlite_master WHERE type IN ('table', 'view')", -1, &rawTables,
                       nullptr);
    SqliteBackend::StmtPtr tables(rawTables);
    sqlite3_prepare_v2(db, "SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid", -1, &rawColumns, nullptr);
    SqliteBackend::StmtPtr columns(rawColumns);
    if (!tables || !columns)
        return catalog;
    const QHash<QString, QString> numbered = numberedIdentities(db);
    while (sqlite3_step(tables.get()) == SQLITE_ROW) {
        const QString name = readStorage(tables.get(), 0).toText();
        const QByteArray utf8 = name.toUtf8();
        // The embedded schemas' identity key: "integer ... PRIMARY KEY AUTOINCREMENT".
        const bool autoincrement =
            readStorage(tables.get(), 2).toText().contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        const QString numberedColumn = numbered.value(name.toLower());
        sqlite3_reset(columns.get());
        sqlite3_bind_text(columns.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        std::vector<CatalogColumn> list;
        // A view that no longer compiles has no columns to know; statements on it fail on their own.
        while (sqlite3_step(columns.get()) == SQLITE_ROW) {
            const QString column = readStorage(columns.get(), 0).toText();
            const QString declared = readStorage(columns.get(), 1).toText();
            const ColumnInfo info = columnForDeclaredType(QString(), declared);
            CatalogColumn c{column, kindOfDeclaredType(declared), info.precision, info.scale};
            if (!numberedColumn.isEmpty() && column.compare(numberedColumn, Qt::CaseInsensitive) == 0)
                c.identity = Identity::Numbered;
            else if (autoincrement && sqlite3_column_int(columns.get(), 2) == 1 &&
                     declared.compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0)
                c.identity = Identity::Key;
            list.push_back(std::move(c));
        }
        catalog.addTable(name, std::move(list), readStorage(tables.get(), 1).toText() == u"view");
    }
    return catalog;
}

} // namespace platform::db::sqlite
