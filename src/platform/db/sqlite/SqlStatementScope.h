#pragma once

#include "platform/db/sqlite/SqlCatalog.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QString>

#include <vector>

namespace platform::db::sqlite::translation {

// The tables a statement names, level by level (the statement, each
// sub-query), with their aliases: what the translator looks a column up in to
// learn its declared kind. A name resolves in the innermost level that can
// hold it, as SQL Server resolves it.
class NameScope
{
public:
    explicit NameScope(const SqlCatalog& catalog) : m_catalog(catalog) {}

    // Enters the query level of `nodes` (the tables of its FROM, JOIN, UPDATE
    // and INTO, not those of nested groups); false, entering nothing, when the
    // level names no table.
    bool enter(const std::vector<Node>& nodes);
    void leave() { m_levels.pop_back(); }

    // The column a name (a, t.a, [t].[a]) stands for when the tables tell it
    // unambiguously; nullptr otherwise (an alias of the select list, a column
    // of a derived table, a name that tables of one level hold with different
    // kinds).
    // `qualifier`: the table or alias before the column's name, or empty.
    const CatalogColumn* column(const QString& qualifier, const QString& name) const;

    const SqlCatalog& catalog() const { return m_catalog; }
    // A level entered so far named a table the catalogue does not hold.
    bool unknownTable() const { return m_unknownTable; }

    // The table an INSERT, UPDATE or DELETE statement writes; empty for others.
    static QString writtenTable(const std::vector<Node>& statement);

private:
    struct Reference
    {
        QString table; // empty for a derived table
        QString alias;
        const std::vector<CatalogColumn>* columns = nullptr; // the catalogue's, once entered
    };
    using Level = std::vector<Reference>;
    static Level references(const std::vector<Node>& nodes);

    const SqlCatalog& m_catalog;
    std::vector<Level> m_levels;
    bool m_unknownTable = false;
};

} // namespace platform::db::sqlite::translation
