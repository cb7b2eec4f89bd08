#include "platform/db/sqlite/SqlBatchSplitter.h"

#include "platform/db/sqlite/SqlKeywords.h"

#include <QSet>

namespace platform::db::sqlite::translation {

std::vector<std::vector<Node>> splitBatch(const std::vector<Node>& tokens)
{
    std::vector<std::vector<Node>> out(1);
    int depth = 0;
    auto continues = [&](const std::vector<Node>& cur, const QString& word) {
        if (cur.empty())
            return true;
        const QString firstWord = upper(cur.front());
        const Node& last = cur.back();
        if (last.kind == Tok::LParen || last.kind == Tok::Comma || last.kind == Tok::Op || last.kind == Tok::Dot)
            return true;
        static const QSet<QString> joiners = {QStringLiteral("UNION"),  QStringLiteral("ALL"),
                                              QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
                                              QStringLiteral("AS"),     QStringLiteral("EXISTS")};
        if (joiners.contains(upper(last)))
            return true;
        if (word == QLatin1String("SELECT") && firstWord == QLatin1String("INSERT") && findWord(cur, "VALUES") < 0 &&
            findWord(cur, "SELECT") < 0)
            return true;
        if (word == QLatin1String("SET") && firstWord == QLatin1String("UPDATE") && findWord(cur, "SET") < 0)
            return true;
        if (firstWord == QLatin1String("IF") && last.kind == Tok::RParen) {
            // IF [NOT] EXISTS (...) followed by its statement on the next line.
            int d = 0;
            std::size_t k = 1;
            if (k < cur.size() && isWord(cur[k], "NOT"))
                ++k;
            if (k < cur.size() && isWord(cur[k], "EXISTS")) {
                for (++k; k < cur.size(); ++k) {
                    if (cur[k].kind == Tok::LParen)
                        ++d;
                    else if (cur[k].kind == Tok::RParen && --d == 0)
                        break;
                }
                if (k == cur.size() - 1)
                    return true;
            }
        }
        return false;
    };
    for (const Node& t : tokens) {
        if (t.kind == Tok::LParen)
            ++depth;
        else if (t.kind == Tok::RParen)
            --depth;
        if (depth == 0 && t.kind == Tok::Semicolon) {
            out.emplace_back();
            continue;
        }
        if (depth == 0 && t.newlineBefore && t.kind == Tok::Word && statementKeywords().contains(t.text.toUpper()) &&
            !continues(out.back(), t.text.toUpper()))
            out.emplace_back();
        out.back().push_back(t);
    }
    return out;
}

} // namespace platform::db::sqlite::translation
