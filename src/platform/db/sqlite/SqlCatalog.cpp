#include "platform/db/sqlite/SqlCatalog.h"

#include "platform/db/sqlite/SqliteTypes.h"

namespace platform::db::sqlite {

ColumnKind kindOfDeclaredType(const QString& declared)
{
    switch (columnForDeclaredType(QString(), declared).type) {
    case adVarChar:
    case adVarWChar:
    case adChar:
    case adWChar:
    case adLongVarChar:
    case adLongVarWChar:
        return ColumnKind::Text;
    case adInteger:
    case adSmallInt:
    case adTinyInt:
    case adBigInt:
        return ColumnKind::Integer;
    case adBoolean:
        return ColumnKind::Bit;
    case adNumeric:
        return ColumnKind::Decimal;
    case adDouble:
    case adSingle:
        return ColumnKind::Float;
    case adCurrency:
        return ColumnKind::Money;
    case adDBTimeStamp:
        return ColumnKind::DateTime;
    default:
        return ColumnKind::Other;
    }
}

void SqlCatalog::addTable(const QString& name, std::vector<CatalogColumn> columns, bool view)
{
    m_tables.insert(name.toLower(), Table{std::move(columns), view});
}

const std::vector<CatalogColumn>* SqlCatalog::columns(const QString& table) const
{
    const auto it = m_tables.constFind(table.toLower());
    return it == m_tables.constEnd() ? nullptr : &it->columns;
}

const CatalogColumn* SqlCatalog::column(const QString& table, const QString& column) const
{
    if (const auto* list = columns(table))
        for (const CatalogColumn& c : *list)
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                return &c;
    return nullptr;
}

const CatalogColumn* SqlCatalog::identity(const QString& table) const
{
    if (const auto* list = columns(table))
        for (const CatalogColumn& c : *list)
            if (c.identity != Identity::None)
                return &c;
    return nullptr;
}

bool SqlCatalog::isView(const QString& table) const
{
    const auto it = m_tables.constFind(table.toLower());
    return it != m_tables.constEnd() && it->view;
}

} // namespace platform::db::sqlite
