#include "platform/db/sqlite/SqliteBackend.h"

#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <sqlite3.h>

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

SqlCatalog readCatalog(sqlite3* db)
{
    SqlCatalog catalog;
    sqlite3_stmt* rawTables = nullptr;
    sqlite3_stmt* rawColumns = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view')", -1, &rawTables,
                       nullptr);
    SqliteBackend::StmtPtr tables(rawTables);
    sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid", -1, &rawColumns, nullptr);
    SqliteBackend::StmtPtr columns(rawColumns);
    if (!tables || !columns)
        return catalog;
    while (sqlite3_step(tables.get()) == SQLITE_ROW) {
        const QString name = readStorage(tables.get(), 0).toText();
        const QByteArray utf8 = name.toUtf8();
        sqlite3_reset(columns.get());
        sqlite3_bind_text(columns.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        std::vector<CatalogColumn> list;
        // A view that no longer compiles has no columns to know; statements on it fail on their own.
        while (sqlite3_step(columns.get()) == SQLITE_ROW) {
            const QString declared = readStorage(columns.get(), 1).toText();
            const ColumnInfo info = columnForDeclaredType(QString(), declared);
            list.push_back(CatalogColumn{readStorage(columns.get(), 0).toText(), kindOfDeclaredType(declared),
                                         info.precision, info.scale});
        }
        catalog.addTable(name, std::move(list), readStorage(tables.get(), 1).toText() == u"view");
    }
    return catalog;
}

} // namespace platform::db::sqlite
