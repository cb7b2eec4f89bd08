#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace platform::db::sqlite {

// What the translator knows of a column from its declared type.
enum class ColumnKind { Other, Text, Integer, Bit, Decimal, Float, Money, DateTime };

// The kind of a declared type ("datetime", "money", "varchar(20)").
ColumnKind kindOfDeclaredType(const QString& declared);

// How a column is a table's identity: numbered by the engine from its seed
// by its increment (IDENTITY of CREATE TABLE), or SQLite's AUTOINCREMENT key
// of the embedded schemas, which also takes the values it is given.
enum class Identity { None, Numbered, Key };

struct CatalogColumn
{
    QString name;
    ColumnKind kind = ColumnKind::Other;
    int precision = 0; // Decimal
    int scale = 0;     // Decimal
    Identity identity = Identity::None;
};

// The tables and views of one data base with their columns, so that the
// translator can give a literal the type SQL Server converts it to where it
// meets a column (a date-time, an amount, a number). Names are found without
// regard to letter case.
class SqlCatalog
{
public:
    void addTable(const QString& name, std::vector<CatalogColumn> columns, bool view = false);
    // The columns of a table or view in their order; nullptr for an unknown name.
    const std::vector<CatalogColumn>* columns(const QString& table) const;
    const CatalogColumn* column(const QString& table, const QString& column) const;
    bool isView(const QString& table) const;
    // The identity column of a table; nullptr when it has none.
    const CatalogColumn* identity(const QString& table) const;
    bool isEmpty() const { return m_tables.isEmpty(); }

private:
    struct Table
    {
        std::vector<CatalogColumn> columns;
        bool view = false;
    };
    QHash<QString, Table> m_tables; // lower-case name
};

} // namespace platform::db::sqlite
