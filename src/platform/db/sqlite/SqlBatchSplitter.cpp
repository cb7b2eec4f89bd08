#include "platform/db/sqlite/SqlBatchSplitter.h"

#include "platform/db/sqlite/SqlKeywords.h"

#include <QSet>

namespace platform::db::sqlite::translation {

namespace {

// Where the statement that `cur` holds begins: after the conditions of the
// IF [NOT] EXISTS (...) in front of it; cur.size() when a condition has just
// ended, so that its statement is still to come.
std::size_t statementStart(const std::vector<Node>& cur)
{
    std::size_t k = 0;
    while (k < cur.size() && isWord(cur[k], "IF")) {
        ++k;
        if (k < cur.size() && isWord(cur[k], "NOT"))
            ++k;
        if (k >= cur.size() || !isWord(cur[k], "EXISTS"))
            return k;
        int depth = 0;
        for (++k; k < cur.size(); ++k) {
            if (cur[k].kind == Tok::LParen) {
                ++depth;
            } else if (cur[k].kind == Tok::RParen && --depth == 0) {
                ++k;
                break;
            }
        }
    }
    return k;
}

// Whether one of `words` stands outside parentheses in cur[from, end).
bool hasOuterWord(const std::vector<Node>& cur, std::size_t from, std::initializer_list<const char*> words)
{
    int depth = 0;
    for (std::size_t k = from; k < cur.size(); ++k) {
        if (cur[k].kind == Tok::LParen)
            ++depth;
        else if (cur[k].kind == Tok::RParen)
            --depth;
        else if (depth == 0)
            for (const char* w : words)
                if (isWord(cur[k], w))
                    return true;
    }
    return false;
}

// Whether the statement keyword `word` (upper case) continues the statement
// that `cur` holds rather than beginning the next one, as SQL Server reads a
// batch: the SELECT of INSERT ... SELECT, the SET of UPDATE, the statement
// after an IF's condition, a UNION's next member, a view's query...
bool continues(const std::vector<Node>& cur, const QString& word)
{
    if (cur.empty())
        return true;
    const Node& last = cur.back();
    if (last.kind == Tok::LParen || last.kind == Tok::Comma || last.kind == Tok::Op || last.kind == Tok::Dot)
        return true;
    static const QSet<QString> joiners = {QStringLiteral("UNION"),     QStringLiteral("ALL"), QStringLiteral("EXCEPT"),
                                          QStringLiteral("INTERSECT"), QStringLiteral("AS"),  QStringLiteral("EXISTS"),
                                          QStringLiteral("ELSE")};
    if (joiners.contains(upper(last)))
        return true;
    const std::size_t start = statementStart(cur);
    if (start >= cur.size())
        return true;
    const QString first = upper(cur[start]);
    if (word == QLatin1String("SELECT") && first == QLatin1String("INSERT") &&
        !hasOuterWord(cur, start, {"VALUES", "SELECT"}))
        return true;
    if (word == QLatin1String("SET") && first == QLatin1String("UPDATE") && !hasOuterWord(cur, start, {"SET"}))
        return true;
    // WITH name AS (...) [, ...] before the statement that reads it.
    if (first == QLatin1String("WITH") &&
        (word == QLatin1String("SELECT") || word == QLatin1String("INSERT") || word == QLatin1String("UPDATE") ||
         word == QLatin1String("DELETE")) &&
        !hasOuterWord(cur, start, {"SELECT", "INSERT", "UPDATE", "DELETE"}))
        return true;
    // ALTER TABLE t DROP ..., ALTER TABLE t ALTER COLUMN ...
    if (first == QLatin1String("ALTER") && (word == QLatin1String("DROP") || word == QLatin1String("ALTER")) &&
        (last.kind == Tok::Word || last.kind == Tok::Ident) && !keywords().contains(upper(last)))
        return true;
    return false;
}

} // namespace

std::vector<std::vector<Node>> splitBatch(const std::vector<Node>& tokens)
{
    std::vector<std::vector<Node>> out(1);
    int depth = 0;
    for (const Node& t : tokens) {
        if (t.kind == Tok::LParen)
            ++depth;
        else if (t.kind == Tok::RParen)
            --depth;
        if (depth == 0 && t.kind == Tok::Semicolon) {
            out.emplace_back();
            continue;
        }
        // GO is no reserved word: only at the start of a line does it end a batch's statement.
        if (depth == 0 && t.kind == Tok::Word) {
            const QString word = t.text.toUpper();
            if (statementKeywords().contains(word) && (t.newlineBefore || word != QLatin1String("GO")) &&
                !continues(out.back(), word))
                out.emplace_back();
        }
        out.back().push_back(t);
    }
    return out;
}

} // namespace platform::db::sqlite::translation
