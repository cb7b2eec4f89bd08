#include "platform/db/sqlite/SqlStatementTranslator.h"

#include "platform/db/sqlite/SqlEmitter.h"
#include "platform/db/sqlite/SqlKeywords.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqlStatementScope.h"
#include "platform/db/sqlite/SqlTableDefinitions.h"

#include <algorithm>

namespace platform::db::sqlite::translation {

namespace {

// The columns an INSERT writes, in the order of its values: those of its
// column list, or every column of the table.
std::vector<const CatalogColumn*> insertColumns(const std::vector<Node>& nodes, const SqlCatalog& catalog,
                                                const QString& table)
{
    std::vector<const CatalogColumn*> columns;
    const std::size_t k = afterInsertedTable(nodes);
    if (k < nodes.size() && nodes[k].kind == Tok::Group) {
        for (const Node& c : nodes[k].children)
            if (c.kind == Tok::Word || c.kind == Tok::Ident)
                columns.push_back(catalog.column(table, c.text));
    } else if (const auto* all = catalog.columns(table)) {
        for (const CatalogColumn& c : *all)
            columns.push_back(&c);
    }
    return columns;
}

// One statement as SQLite runs it, with what its results and count need;
// with `parameters`, its literals meeting columns become parameters.
TranslatedStep statementStep(const std::vector<Node>& written, const SqlCatalog& catalog,
                             std::vector<Parameter>* parameters = nullptr)
{
    NameScope names(catalog);
    Emitter emitter(true, &names, parameters);
    const QString target = catalog.isEmpty() ? QString() : NameScope::writtenTable(written);
    std::vector<Node> rewritten;
    const std::vector<Node>& nodes =
        !target.isEmpty() && identityRules(written, catalog, target, rewritten) ? rewritten : written;
    if (!target.isEmpty() && isWord(nodes[0], "INSERT"))
        emitter.setInsertColumns(insertColumns(nodes, catalog, target));
    if (!target.isEmpty() && isWord(nodes[0], "UPDATE"))
        emitter.setUpdatedTable(target);
    emitter.setWritesView(!target.isEmpty() && catalog.isView(target));
    TranslatedStep step{TranslatedStep::Kind::Statement, emitter.sequence(nodes).text, false, {}};
    step.resultTypes = emitter.resultTypes();
    step.countUnknown = !target.isEmpty() && catalog.isView(target);
    step.unknownNames = names.unknownTable() || emitter.unknownTarget();
    step.insert = !target.isEmpty() && isWord(nodes[0], "INSERT");
    if (step.insert) {
        for (const CatalogColumn* c : insertColumns(nodes, catalog, target))
            step.unknownNames = step.unknownNames || !c;
        step.identitySql = identityReadBack(catalog, target);
    }
    return step;
}

QString emitStatement(const std::vector<Node>& nodes, const SqlCatalog& catalog,
                      std::vector<Parameter>* parameters = nullptr)
{
    return statementStep(nodes, catalog, parameters).sql;
}

// ALTER TABLE t ADD [COLUMN] c type [(n)] [NOT] NULL [CONSTRAINT name] [DEFAULT (v)]
QString alterTableAdd(const std::vector<Node>& nodes, const SqlCatalog& catalog)
{
    const int add = findWord(nodes, "ADD");
    if (add < 0 || !isWord(nodes[1], "TABLE"))
        refuse(QStringLiteral("ALTER other than ALTER TABLE ... ADD"));
    std::size_t k = std::size_t(add) + 1;
    if (k < nodes.size() && isWord(nodes[k], "COLUMN"))
        ++k;
    if (k + 1 >= nodes.size() || (nodes[k].kind != Tok::Word && nodes[k].kind != Tok::Ident))
        syntaxError(QStringLiteral("Incorrect syntax near 'ADD'."));
    for (const Node& n : nodes)
        if (n.kind == Tok::Comma)
            refuse(QStringLiteral("ALTER TABLE ... ADD of several columns"));
    const std::vector<Node> head(nodes.begin(), nodes.begin() + add);
    return emitStatement(head, catalog) + QStringLiteral(" ADD COLUMN ") +
           columnDefinition(nodes, k, QStringLiteral("ALTER TABLE ... ADD"), false).sql;
}

void translateTransaction(TranslatedStep::Kind kind, std::vector<Node>& nodes, const SqlCatalog& catalog,
                          std::vector<TranslatedStep>& steps, std::vector<Parameter>* parameters)
{
    std::size_t k = 1;
    const bool begin = kind == TranslatedStep::Kind::Begin;
    if (k < nodes.size() &&
        (isWord(nodes[k], "TRAN") || isWord(nodes[k], "TRANSACTION") || (!begin && isWord(nodes[k], "WORK"))))
        ++k;
    else if (begin)
        refuse(QStringLiteral("BEGIN ... END blocks"));
    // An optional transaction name.
    if (k < nodes.size() && (nodes[k].kind == Tok::Word || nodes[k].kind == Tok::Ident) &&
        !statementKeywords().contains(upper(nodes[k])))
        ++k;
    steps.push_back(TranslatedStep{kind, {}, false, {}});
    if (k < nodes.size())
        translateStatement(std::vector<Node>(nodes.begin() + std::ptrdiff_t(k), nodes.end()), catalog, steps,
                           parameters);
}

} // namespace

void translateStatement(std::vector<Node> nodes, const SqlCatalog& catalog, std::vector<TranslatedStep>& steps,
                        std::vector<Parameter>* parameters)
{
    if (nodes.empty())
        return;
    const QString first = upper(nodes[0]);
    if (nodes[0].kind != Tok::Word)
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(nodes[0].text));
    if (first == QLatin1String("BEGIN"))
        return translateTransaction(TranslatedStep::Kind::Begin, nodes, catalog, steps, parameters);
    if (first == QLatin1String("COMMIT"))
        return translateTransaction(TranslatedStep::Kind::Commit, nodes, catalog, steps, parameters);
    if (first == QLatin1String("ROLLBACK"))
        return translateTransaction(TranslatedStep::Kind::Rollback, nodes, catalog, steps, parameters);
    if (first == QLatin1String("GO") && nodes.size() == 1)
        return;
    if (first == QLatin1String("USE")) {
        if (nodes.size() != 2 || (nodes[1].kind != Tok::Word && nodes[1].kind != Tok::Ident))
            syntaxError(QStringLiteral("Incorrect syntax near 'USE'."));
        steps.push_back(TranslatedStep{TranslatedStep::Kind::UseDatabase, nodes[1].text, false, {}});
        return;
    }
    if (first == QLatin1String("SET")) {
        if (nodes.size() == 3 && isWord(nodes[1], "NOCOUNT") && (isWord(nodes[2], "ON") || isWord(nodes[2], "OFF"))) {
            steps.push_back(TranslatedStep{isWord(nodes[2], "ON") ? TranslatedStep::Kind::NoCountOn
                                                                  : TranslatedStep::Kind::NoCountOff,
                                           {},
                                           false,
                                           {}});
            return;
        }
        refuse(QStringLiteral("SET %1").arg(nodes.size() > 1 ? nodes[1].text : QString()));
    }
    if (first == QLatin1String("IF")) {
        std::size_t k = 1;
        bool negate = false;
        if (k < nodes.size() && isWord(nodes[k], "NOT")) {
            negate = true;
            ++k;
        }
        if (k + 1 >= nodes.size() + 1 || k >= nodes.size() || !isWord(nodes[k], "EXISTS") || k + 1 >= nodes.size() ||
            nodes[k + 1].kind != Tok::Group)
            refuse(QStringLiteral("IF without EXISTS (...)"));
        TranslatedStep step{
            TranslatedStep::Kind::IfExists, emitStatement(nodes[k + 1].children, catalog, parameters), negate, {}};
        const std::vector<Node> body(nodes.begin() + std::ptrdiff_t(k) + 2, nodes.end());
        if (body.empty())
            syntaxError(QStringLiteral("Incorrect syntax: IF EXISTS (...) has no statement."));
        if (findWord(body, "ELSE") >= 0)
            refuse(QStringLiteral("IF ... ELSE"));
        if (isWord(body.front(), "BEGIN") &&
            !(body.size() > 1 && (isWord(body[1], "TRAN") || isWord(body[1], "TRANSACTION"))))
            refuse(QStringLiteral("IF ... BEGIN ... END"));
        translateStatement(body, catalog, step.body, parameters);
        steps.push_back(std::move(step));
        return;
    }
    if (first == QLatin1String("TRUNCATE")) {
        // TRUNCATE TABLE [owner.]name, and nothing after it.
        std::size_t k = 2;
        while (k + 2 < nodes.size() && nodes[k + 1].kind == Tok::Dot)
            k += 2;
        if (nodes.size() < 3 || !isWord(nodes[1], "TABLE") ||
            (nodes[k].kind != Tok::Word && nodes[k].kind != Tok::Ident))
            syntaxError(QStringLiteral("Incorrect syntax near 'TRUNCATE'."));
        if (k + 1 < nodes.size()) {
            if (nodes[k + 1].kind == Tok::Word && keywords().contains(upper(nodes[k + 1])))
                serverFailure(serverError::SyntaxNearKeyword, {nodes[k + 1].text});
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(nodes[k + 1].text));
        }
        steps.push_back(TranslatedStep{TranslatedStep::Kind::Truncate, nodes[k].text, false, {}});
        return;
    }
    if (first == QLatin1String("CREATE") && nodes.size() > 1 && isWord(nodes[1], "TABLE")) {
        bool identity = false;
        TranslatedStep step{TranslatedStep::Kind::Statement, createTable(nodes, identity), false, {}};
        step.changesSchema = true;
        step.composite = identity;
        steps.push_back(std::move(step));
        return;
    }
    if (first == QLatin1String("DELETE")) {
        if (nodes.size() < 2 || isWord(nodes[1], "TOP"))
            refuse(QStringLiteral("DELETE TOP"));
        if (!isWord(nodes[1], "FROM"))
            nodes.insert(nodes.begin() + 1, Node{Tok::Word, QStringLiteral("FROM"), false, {}});
        if (findWord(nodes, "FROM", 2) >= 0)
            refuse(QStringLiteral("DELETE ... FROM with a second FROM (a join)"));
    } else if (first == QLatin1String("UPDATE")) {
        if (nodes.size() > 1 && isWord(nodes[1], "TOP"))
            refuse(QStringLiteral("UPDATE TOP"));
        const int set = findWord(nodes, "SET");
        if (set >= 0 && findWord(nodes, "FROM", std::size_t(set)) >= 0)
            refuse(QStringLiteral("UPDATE ... FROM"));
    } else if (first == QLatin1String("SELECT")) {
        const int into = findWord(nodes, "INTO");
        if (into >= 0)
            refuse(QStringLiteral("SELECT ... INTO"));
    } else if (first == QLatin1String("ALTER")) {
        TranslatedStep step{TranslatedStep::Kind::Statement, alterTableAdd(nodes, catalog), false, {}};
        step.changesSchema = true;
        steps.push_back(std::move(step));
        return;
    } else if (first == QLatin1String("CREATE") || first == QLatin1String("DROP")) {
        if (findWord(nodes, "IDENTITY") >= 0)
            refuse(QStringLiteral("IDENTITY columns"));
        if (nodes.size() > 1 && (isWord(nodes[1], "PROCEDURE") || isWord(nodes[1], "PROC") ||
                                 isWord(nodes[1], "FUNCTION") || isWord(nodes[1], "TRIGGER")))
            refuse(QStringLiteral("%1 %2").arg(first, nodes[1].text.toUpper()));
    } else if (first != QLatin1String("INSERT") && first != QLatin1String("WITH")) {
        refuse(first == QLatin1String("EXEC") || first == QLatin1String("EXECUTE")
                   ? QStringLiteral("EXEC (stored procedures)")
                   : QStringLiteral("the statement %1").arg(first));
    }
    // A view keeps no parameters; nor does any other definition.
    const bool definition = first == QLatin1String("CREATE") || first == QLatin1String("DROP");
    TranslatedStep step = statementStep(nodes, catalog, definition ? nullptr : parameters);
    // Only what the emitter drops (a table hint after WITH): nothing that
    // SQL Server would run, and no statement for SQLite to run either.
    if (step.sql.trimmed().isEmpty())
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(nodes[0].text));
    step.changesSchema = definition;
    steps.push_back(std::move(step));
}

} // namespace platform::db::sqlite::translation
