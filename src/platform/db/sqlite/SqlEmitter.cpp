#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlKeywords.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqliteExtensions.h"

namespace platform::db::sqlite::translation {

Out Emitter::sequence(const std::vector<Node>& seq, bool plainArgument)
{
    std::vector<Piece> pieces;
    QString limit;
    bool compound = false;
    const std::size_t n = seq.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Node& t = seq[i];
        const Node* next = i + 1 < n ? &seq[i + 1] : nullptr;
        switch (t.kind) {
        case Tok::Word:
        case Tok::Ident: {
            const QString u = t.kind == Tok::Word ? t.text.toUpper() : QString();
            // Owners: dbo.T and [dbo].[T] name T.
            if (t.text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && next && next->kind == Tok::Dot &&
                i + 2 < n && (seq[i + 2].kind == Tok::Word || seq[i + 2].kind == Tok::Ident)) {
                ++i;
                break;
            }
            if (t.kind == Tok::Word && next && next->kind == Tok::Group && u == QLatin1String("WITH") &&
                isHintGroup(*next)) {
                ++i;
                break;
            }
            if (t.kind == Tok::Word && next && next->kind == Tok::Group && isFunction(u)) {
                const Out f = function(u, *next);
                pieces.push_back(Piece{Piece::Operand, f.text, f.type, {}, f.type == Type::Text});
                ++i;
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("TOP")) {
                limit = topCount(seq, i);
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("CURRENT_TIMESTAMP")) {
                pieces.push_back(Piece{Piece::Operand, QStringLiteral("tsql_getdate()"), Type::Date, {}});
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("NULL")) {
                pieces.push_back(Piece{Piece::Operand, QStringLiteral("NULL"), Type::Null, {}});
                break;
            }
            if (t.kind == Tok::Word && keywords().contains(u)) {
                if (u == QLatin1String("UNION") || u == QLatin1String("EXCEPT") || u == QLatin1String("INTERSECT"))
                    compound = true;
                if (u == QLatin1String("LEFT") || u == QLatin1String("RIGHT"))
                    pieces.push_back(Piece{Piece::Keyword, t.text, Type::Unknown, u});
                else
                    pieces.push_back(Piece{Piece::Keyword, t.text, Type::Unknown, u});
                break;
            }
            // A name, possibly qualified: a.b, a.*, [a].[b].
            QString name = nameText(t);
            while (i + 2 < n && seq[i + 1].kind == Tok::Dot &&
                   (seq[i + 2].kind == Tok::Word || seq[i + 2].kind == Tok::Ident ||
                    (seq[i + 2].kind == Tok::Op && seq[i + 2].text == QLatin1String("*")))) {
                name += QLatin1Char('.') + (seq[i + 2].kind == Tok::Op ? QStringLiteral("*") : nameText(seq[i + 2]));
                i += 2;
            }
            if (i + 1 < n && seq[i + 1].kind == Tok::Group) {
                if (isHintGroup(seq[i + 1])) {
                    ++i; // T (nolock)
                } else if (!pieces.empty() && pieces.back().kind == Piece::Keyword &&
                           (pieces.back().word == QLatin1String("INTO") ||
                            pieces.back().word == QLatin1String("VIEW") ||
                            pieces.back().word == QLatin1String("TABLE"))) {
                    // INSERT INTO T (a, b): the column list follows the name.
                } else {
                    // A function the translator does not know: SQLite names it if it lacks it.
                    name += group(seq[i + 1]).text;
                    ++i;
                }
            }
            pieces.push_back(Piece{Piece::Operand, name, Type::Unknown, {}});
            break;
        }
        case Tok::String: {
            if (const auto d = dateLiteral(t.text)) {
                pieces.push_back(Piece{Piece::Operand, quoteText(*d), Type::Date, {}});
            } else {
                pieces.push_back(Piece{Piece::Operand, quoteText(t.text), Type::Text, {}, m_collate});
            }
            break;
        }
        case Tok::Number:
            pieces.push_back(Piece{Piece::Operand, t.text, Type::Number, {}});
            break;
        case Tok::Op:
            pieces.push_back(Piece{Piece::Op, t.text, Type::Unknown, {}});
            break;
        case Tok::Comma:
            pieces.push_back(Piece{Piece::Comma, QStringLiteral(","), Type::Unknown, {}});
            break;
        case Tok::Group: {
            const Out g = group(t);
            pieces.push_back(Piece{Piece::Operand, g.text, g.type, {}});
            break;
        }
        case Tok::Variable:
            refuse(QStringLiteral("the variable %1").arg(t.text));
        case Tok::Dot:
            syntaxError(QStringLiteral("Incorrect syntax near '.'."));
        case Tok::Semicolon:
        case Tok::LParen:
        case Tok::RParen:
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text));
        }
    }
    if (!limit.isEmpty() && compound)
        refuse(QStringLiteral("TOP in a SELECT joined by UNION"));
    foldAdditions(pieces);
    collate(pieces, plainArgument);
    Out out;
    out.type = pieces.size() == 1 ? pieces.front().type : Type::Unknown;
    for (const Piece& p : pieces) {
        if (!out.text.isEmpty() && p.kind != Piece::Comma)
            out.text += QLatin1Char(' ');
        out.text += p.text;
    }
    if (!limit.isEmpty())
        out.text += QStringLiteral(" LIMIT ") + limit;
    return out;
}

void Emitter::collate(std::vector<Piece>& pieces, bool plainArgument) const
{
    const QString clause = QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    if (plainArgument && pieces.size() == 1)
        return;
    int openCases = 0;
    for (Piece& p : pieces) {
        if (p.kind == Piece::Keyword && p.word == QLatin1String("CASE")) {
            ++openCases;
        } else if (p.kind == Piece::Keyword && p.word == QLatin1String("END") && openCases > 0) {
            --openCases;
            p.text += clause;
        } else if (p.collate) {
            p.text += clause;
        }
    }
}

Out Emitter::group(const Node& g)
{
    const Out inner = sequence(g.children);
    return Out{QLatin1Char('(') + inner.text + QLatin1Char(')'), inner.type};
}

// TOP n / TOP (n) after SELECT [DISTINCT]; the nodes are consumed.
QString Emitter::topCount(const std::vector<Node>& seq, std::size_t& i)
{
    if (i + 1 >= seq.size())
        syntaxError(QStringLiteral("Incorrect syntax near 'TOP'."));
    const Node& countNode = seq[i + 1];
    QString count;
    if (countNode.kind == Tok::Number)
        count = countNode.text;
    else if (countNode.kind == Tok::Group && countNode.children.size() == 1 &&
             countNode.children.front().kind == Tok::Number)
        count = countNode.children.front().text;
    else
        refuse(QStringLiteral("TOP with an expression"));
    bool whole = false;
    count.toLongLong(&whole);
    if (!whole)
        refuse(QStringLiteral("TOP with a fraction"));
    i += 1;
    if (i + 1 < seq.size() && isWord(seq[i + 1], "PERCENT"))
        refuse(QStringLiteral("TOP ... PERCENT"));
    if (i + 2 < seq.size() && isWord(seq[i + 1], "WITH") && isWord(seq[i + 2], "TIES"))
        refuse(QStringLiteral("TOP ... WITH TIES"));
    return count;
}

} // namespace platform::db::sqlite::translation
