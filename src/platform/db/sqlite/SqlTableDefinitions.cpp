#include "platform/db/sqlite/SqlTableDefinitions.h"

#include "platform/db/sqlite/SqlEmitter.h"
#include "platform/db/sqlite/SqlKeywords.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/db/sqlite/SqliteIdentity.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace platform::db::sqlite::translation {

namespace {

inline constexpr ServerError kIdentityType{
    2749, adErr::Syntax, "42000",
    "Identity column '%1' must be of data type int, bigint, smallint, tinyint, or decimal or numeric with a scale "
    "of 0, and constrained to be nonnullable."};
inline constexpr ServerError kTwoIdentities{
    2744, adErr::Syntax, "42000",
    "Multiple identity columns specified for table '%1'. Only one identity column per table is allowed."};

QString nameText(const Node& n)
{
    return n.kind == Tok::Ident ? quoteName(n.text) : n.text;
}

// Nodes as the emitter writes them, without a catalogue.
QString emitted(const std::vector<Node>& nodes)
{
    return Emitter(false, nullptr).sequence(nodes).text;
}

// A whole number written with or without its sign at nodes[k]; k moves past it.
std::optional<qint64> signedWhole(const std::vector<Node>& nodes, std::size_t& k)
{
    bool negative = false;
    if (k < nodes.size() && nodes[k].kind == Tok::Op &&
        (nodes[k].text == QLatin1String("-") || nodes[k].text == QLatin1String("+"))) {
        negative = nodes[k].text == QLatin1String("-");
        ++k;
    }
    bool whole = false;
    const qint64 value = k < nodes.size() && nodes[k].kind == Tok::Number ? nodes[k].text.toLongLong(&whole) : 0;
    if (!whole)
        return std::nullopt;
    ++k;
    return negative ? -value : value;
}

// The constant after DEFAULT, at nodes[k], in parentheses or not (0, (0),
// ((-1)), -1), converted to the column's `kind`, as SQLite takes only a
// constant default in ALTER TABLE ADD COLUMN; k moves past it.
QString defaultLiteral(const std::vector<Node>& nodes, std::size_t& k, ColumnKind kind, const QString& construct)
{
    const std::vector<Node>* within = &nodes;
    std::size_t at = k;
    while (at < within->size() && (*within)[at].kind == Tok::Group) {
        within = &(*within)[at].children;
        at = 0;
    }
    const bool grouped = within != &nodes;
    QString literal;
    const Node* v = at < within->size() ? &(*within)[at] : nullptr;
    if (v && v->kind == Tok::Op && (v->text == QLatin1String("-") || v->text == QLatin1String("+")) &&
        at + 1 < within->size() && (*within)[at + 1].kind == Tok::Number) {
        literal = v->text + (*within)[at + 1].text;
        at += 2;
    } else if (v && v->kind == Tok::Number) {
        literal = v->text;
        ++at;
    } else if (v && v->kind == Tok::String) {
        literal = convertedLiteral(v->text, kind);
        ++at;
    } else if (v && isWord(*v, "NULL")) {
        literal = QStringLiteral("NULL");
        ++at;
    }
    if (literal.isEmpty() || (grouped && at != within->size()))
        refuse(QStringLiteral("%1 with a DEFAULT that is not a constant").arg(construct));
    k = grouped ? k + 1 : at;
    return literal;
}

} // namespace

ColumnDefinition columnDefinition(const std::vector<Node>& nodes, std::size_t from, const QString& construct, bool keys)
{
    std::size_t k = from;
    if (k >= nodes.size() || (nodes[k].kind != Tok::Word && nodes[k].kind != Tok::Ident))
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(k < nodes.size() ? nodes[k].text : construct));
    ColumnDefinition def;
    def.name = nodes[k].text;
    const QString column = nameText(nodes[k]);
    ++k;
    if (k >= nodes.size() || nodes[k].kind != Tok::Word)
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(def.name));
    const QString type = nodes[k].text.toUpper();
    QString typeText = nodes[k].text;
    QString length;
    ++k;
    if (k < nodes.size() && nodes[k].kind == Tok::Group) {
        typeText += emitted({nodes[k]});
        if (nodes[k].children.size() == 1 && nodes[k].children[0].kind == Tok::Number)
            length = nodes[k].children[0].text;
        ++k;
    }
    const bool text =
        type.contains(QLatin1String("CHAR")) || type == QLatin1String("TEXT") || type == QLatin1String("NTEXT");
    const ColumnInfo declared = columnForDeclaredType(QString(), typeText);
    const ColumnKind kind = kindOfDeclaredType(typeText);
    QString sql = column + QLatin1Char(' ') + typeText;
    if (text)
        sql += QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    QString constraints;
    QString constraintName;
    bool notNull = false;
    bool nullable = false;
    // "CONSTRAINT name" before the constraint it names.
    auto constraint = [&](const QString& clause) {
        if (!constraintName.isEmpty())
            constraints += QStringLiteral(" CONSTRAINT ") + quoteName(constraintName);
        constraintName.clear();
        constraints += QLatin1Char(' ') + clause;
    };
    auto skipIndexKind = [&]() {
        if (k < nodes.size() && (isWord(nodes[k], "CLUSTERED") || isWord(nodes[k], "NONCLUSTERED")))
            ++k;
    };
    while (k < nodes.size()) {
        const Node& n = nodes[k];
        if (isWord(n, "NOT") && k + 1 < nodes.size() && isWord(nodes[k + 1], "NULL")) {
            notNull = true;
            k += 2;
        } else if (isWord(n, "NULL")) {
            nullable = true;
            ++k;
        } else if (isWord(n, "CONSTRAINT") && k + 1 < nodes.size()) {
            constraintName = nodes[k + 1].text;
            k += 2;
        } else if (isWord(n, "DEFAULT")) {
            ++k;
            constraint(QStringLiteral("DEFAULT ") + defaultLiteral(nodes, k, kind, construct));
        } else if (keys && isWord(n, "PRIMARY") && k + 1 < nodes.size() && isWord(nodes[k + 1], "KEY")) {
            k += 2;
            skipIndexKind();
            constraint(QStringLiteral("PRIMARY KEY"));
        } else if (keys && isWord(n, "UNIQUE")) {
            ++k;
            skipIndexKind();
            constraint(QStringLiteral("UNIQUE"));
        } else if (keys && isWord(n, "CHECK") && k + 1 < nodes.size() && nodes[k + 1].kind == Tok::Group) {
            constraint(QStringLiteral("CHECK ") + emitted({nodes[k + 1]}));
            k += 2;
        } else if (keys && isWord(n, "REFERENCES")) {
            constraint(emitted(std::vector<Node>(nodes.begin() + std::ptrdiff_t(k), nodes.end())));
            k = nodes.size();
        } else if (keys && isWord(n, "IDENTITY")) {
            def.identity = true;
            ++k;
            if (k < nodes.size() && nodes[k].kind == Tok::Group) {
                const std::vector<Node>& args = nodes[k].children;
                std::size_t at = 0;
                const std::optional<qint64> seed = signedWhole(args, at);
                const bool comma = at < args.size() && args[at].kind == Tok::Comma;
                ++at;
                const std::optional<qint64> increment = comma ? signedWhole(args, at) : std::nullopt;
                if (!seed || !increment || at != args.size())
                    syntaxError(QStringLiteral("Incorrect syntax near 'IDENTITY'."));
                def.seed = *seed;
                def.increment = *increment;
                ++k;
            }
        } else {
            refuse(QStringLiteral("%1 with '%2'").arg(construct, n.text));
        }
    }
    if (def.identity) {
        const bool whole = kind == ColumnKind::Integer || (kind == ColumnKind::Decimal && declared.scale == 0);
        if (!whole || nullable)
            serverFailure(kIdentityType, {def.name});
    } else if (notNull) {
        sql += QStringLiteral(" NOT NULL");
    }
    sql += constraints;
    // A text too long for its column fails as SQL Server's 8152 does.
    if (text && !length.isEmpty())
        sql += QStringLiteral(" CONSTRAINT %1 CHECK (length(%2) <= %3)")
                   .arg(quoteName(QStringLiteral("maxlen_") + def.name), column, length);
    // Money holds numbers only, as SQL Server converts or refuses what it is given.
    if (kind == ColumnKind::Money)
        sql += QStringLiteral(" CONSTRAINT %1 CHECK (typeof(%2) IN ('integer', 'real', 'null'))")
                   .arg(quoteName(QStringLiteral("numeric_") + def.name), column);
    def.sql = sql;
    return def;
}

QString createTable(const std::vector<Node>& nodes, bool& identity)
{
    std::size_t g = 2;
    while (g < nodes.size() && nodes[g].kind != Tok::Group)
        ++g;
    if (g >= nodes.size() || (nodes[g - 1].kind != Tok::Word && nodes[g - 1].kind != Tok::Ident))
        syntaxError(QStringLiteral("Incorrect syntax near 'TABLE'."));
    const QString table = nodes[g - 1].text;
    // The filegroups of SQL Server's scripts: the embedded data base has one file.
    for (std::size_t k = g + 1; k < nodes.size(); k += 2) {
        if (!(isWord(nodes[k], "ON") || isWord(nodes[k], "TEXTIMAGE_ON")) || k + 1 >= nodes.size())
            refuse(QStringLiteral("CREATE TABLE with '%1'").arg(nodes[k].text));
    }
    QStringList elements;
    const ColumnDefinition* numbered = nullptr;
    std::vector<ColumnDefinition> columns;
    std::vector<std::vector<Node>> parts(1);
    for (const Node& c : nodes[g].children) {
        if (c.kind == Tok::Comma)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    columns.reserve(parts.size());
    for (std::vector<Node>& part : parts) {
        if (part.empty())
            syntaxError(QStringLiteral("Incorrect syntax near ','."));
        if (isWord(part[0], "CONSTRAINT") || isWord(part[0], "PRIMARY") || isWord(part[0], "UNIQUE") ||
            isWord(part[0], "FOREIGN") || isWord(part[0], "CHECK")) {
            std::erase_if(part, [](const Node& n) { return isWord(n, "CLUSTERED") || isWord(n, "NONCLUSTERED"); });
            elements << emitted(part);
            continue;
        }
        columns.push_back(columnDefinition(part, 0, QStringLiteral("CREATE TABLE"), true));
        elements << columns.back().sql;
        if (columns.back().identity) {
            if (numbered)
                serverFailure(kTwoIdentities, {table});
            numbered = &columns.back();
        }
    }
    QString sql = emitted(std::vector<Node>(nodes.begin(), nodes.begin() + std::ptrdiff_t(g))) + QStringLiteral(" (") +
                  elements.join(QStringLiteral(", ")) + QLatin1Char(')');
    identity = numbered != nullptr;
    if (numbered)
        sql += QStringLiteral(";\n") + identityDefinition(table, numbered->name, numbered->seed, numbered->increment);
    return sql;
}

std::size_t afterInsertedTable(const std::vector<Node>& nodes)
{
    std::size_t k = std::size_t(std::max(findWord(nodes, "INTO"), 0)) + 1;
    while (k + 2 < nodes.size() && nodes[k + 1].kind == Tok::Dot)
        k += 2;
    return k + 1;
}

bool identityRules(const std::vector<Node>& nodes, const SqlCatalog& catalog, const QString& table,
                   std::vector<Node>& rewritten)
{
    const CatalogColumn* identity = catalog.identity(table);
    if (!identity || identity->identity != Identity::Numbered || isWord(nodes[0], "DELETE"))
        return false;
    auto names = [&](const Node& n) {
        return (n.kind == Tok::Word || n.kind == Tok::Ident) &&
               n.text.compare(identity->name, Qt::CaseInsensitive) == 0;
    };
    if (isWord(nodes[0], "UPDATE")) {
        // The column before the "=" of each assignment of the SET list.
        const int set = findWord(nodes, "SET");
        bool assignmentStart = true;
        for (std::size_t k = set < 0 ? nodes.size() : std::size_t(set) + 1; k < nodes.size(); ++k) {
            if (isWord(nodes[k], "WHERE") || isWord(nodes[k], "FROM"))
                break;
            if (nodes[k].kind == Tok::Comma) {
                assignmentStart = true;
                continue;
            }
            if (assignmentStart && k + 1 < nodes.size() && nodes[k + 1].kind == Tok::Op &&
                nodes[k + 1].text == QLatin1String("=") && names(nodes[k]))
                serverFailure(serverError::IdentityUpdated, {identity->name});
            assignmentStart = assignmentStart &&
                              (nodes[k].kind == Tok::Dot || k + 1 >= nodes.size() || nodes[k + 1].kind == Tok::Dot);
        }
        return false;
    }
    const std::size_t k = afterInsertedTable(nodes);
    if (k < nodes.size() && nodes[k].kind == Tok::Group) {
        for (const Node& c : nodes[k].children)
            if (names(c))
                serverFailure(serverError::IdentityGiven, {table});
        return false;
    }
    if (k < nodes.size() && isWord(nodes[k], "DEFAULT"))
        return false;
    Node list{Tok::Group, {}, false, {}};
    for (const CatalogColumn& c : *catalog.columns(table)) {
        if (&c == identity)
            continue;
        if (!list.children.empty())
            list.children.push_back(Node{Tok::Comma, QStringLiteral(","), false, {}});
        list.children.push_back(Node{Tok::Ident, c.name, false, {}});
    }
    rewritten = nodes;
    rewritten.insert(rewritten.begin() + std::ptrdiff_t(k), std::move(list));
    return true;
}

QString identityReadBack(const SqlCatalog& catalog, const QString& table)
{
    const CatalogColumn* identity = catalog.identity(table);
    if (!identity)
        return {};
    // The key is the rowid; a numbered identity is a column of the row the rowid finds.
    if (identity->identity == Identity::Key)
        return QStringLiteral("SELECT last_insert_rowid(), NULL");
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE rowid = last_insert_rowid()")
        .arg(quoteName(identity->name), quoteText(table), quoteName(table));
}

} // namespace platform::db::sqlite::translation
