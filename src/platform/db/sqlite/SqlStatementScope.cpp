#include "platform/db/sqlite/SqlStatementScope.h"

#include "platform/db/sqlite/SqlKeywords.h"

namespace platform::db::sqlite::translation {

namespace {

bool isName(const Node& n)
{
    return n.kind == Tok::Ident || (n.kind == Tok::Word && !keywords().contains(n.text.toUpper()));
}

} // namespace

NameScope::Level NameScope::references(const std::vector<Node>& nodes)
{
    Level level;
    const std::size_t n = nodes.size();
    for (std::size_t k = 0; k < n; ++k) {
        const Node& t = nodes[k];
        const bool from = isWord(t, "FROM");
        if (!from && !isWord(t, "JOIN") && !isWord(t, "UPDATE") && !isWord(t, "INTO"))
            continue;
        // One table after JOIN, UPDATE and INTO, a list of them after FROM.
        std::size_t j = k + 1;
        for (;;) {
            Reference ref;
            if (j < n && nodes[j].kind == Tok::Group) {
                ++j; // a derived table: its columns are not known here
            } else if (j < n && isName(nodes[j])) {
                ref.table = nodes[j].text;
                // owner.table or data base.owner.table: the last part names it
                while (j + 2 < n && nodes[j + 1].kind == Tok::Dot && isName(nodes[j + 2])) {
                    ref.table = nodes[j + 2].text;
                    j += 2;
                }
                ++j;
            } else {
                break;
            }
            if (j < n && isWord(nodes[j], "AS"))
                ++j;
            if (j < n && isName(nodes[j]))
                ref.alias = nodes[j++].text;
            level.push_back(ref);
            if (!from || j >= n || nodes[j].kind != Tok::Comma)
                break;
            ++j;
        }
    }
    return level;
}

bool NameScope::enter(const std::vector<Node>& nodes)
{
    if (m_catalog.isEmpty())
        return false;
    Level level = references(nodes);
    if (level.empty())
        return false;
    for (Reference& ref : level) {
        if (ref.table.isEmpty())
            continue;
        ref.columns = m_catalog.columns(ref.table);
        m_unknownTable = m_unknownTable || !ref.columns;
    }
    m_levels.push_back(std::move(level));
    return true;
}

namespace {

const CatalogColumn* columnNamed(const std::vector<CatalogColumn>* columns, const QString& name)
{
    if (columns)
        for (const CatalogColumn& c : *columns)
            if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                return &c;
    return nullptr;
}

} // namespace

const CatalogColumn* NameScope::column(const QString& qualifier, const QString& name) const
{
    for (auto level = m_levels.rbegin(); level != m_levels.rend(); ++level) {
        if (!qualifier.isEmpty()) {
            for (const Reference& ref : *level) {
                if (ref.alias.compare(qualifier, Qt::CaseInsensitive) == 0 ||
                    (ref.alias.isEmpty() && ref.table.compare(qualifier, Qt::CaseInsensitive) == 0))
                    return columnNamed(ref.columns, name);
            }
            continue;
        }
        const CatalogColumn* found = nullptr;
        bool derived = false;
        for (const Reference& ref : *level) {
            if (ref.table.isEmpty()) {
                derived = true;
                continue;
            }
            const CatalogColumn* c = columnNamed(ref.columns, name);
            if (!c)
                continue;
            if (found && found->kind != c->kind)
                return nullptr;
            found = c;
        }
        // A derived table of the level may hold the name as well.
        if (derived)
            return nullptr;
        if (found)
            return found;
    }
    return nullptr;
}

QString NameScope::writtenTable(const std::vector<Node>& statement)
{
    if (statement.empty() ||
        !(isWord(statement[0], "INSERT") || isWord(statement[0], "UPDATE") || isWord(statement[0], "DELETE")))
        return {};
    const Level level = references(statement);
    return level.empty() ? QString() : level.front().table;
}

} // namespace platform::db::sqlite::translation
