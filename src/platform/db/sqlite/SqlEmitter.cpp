#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlKeywords.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <utility>

namespace platform::db::sqlite::translation {

namespace {

// Enters the query level of a scope for its column look-ups, and the depth.
class ScopeGuard
{
public:
    ScopeGuard(NameScope* names, const std::vector<Node>& seq, int& depth)
        : m_names(names && names->enter(seq) ? names : nullptr), m_depth(depth)
    {
        ++m_depth;
    }
    ~ScopeGuard()
    {
        --m_depth;
        if (m_names)
            m_names->leave();
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

private:
    NameScope* m_names;
    int& m_depth;
};

// The clauses that end a select list.
bool endsSelectList(const QString& keyword)
{
    for (const char* clause : {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "EXCEPT", "INTERSECT", "INTO"})
        if (keyword == QLatin1String(clause))
            return true;
    return false;
}

Piece operand(Out out)
{
    return Piece{Piece::Operand, std::move(out), {}};
}

// After "x IN" or "x NOT IN": the operand x.
Out* inListTarget(std::vector<Piece>& pieces)
{
    std::size_t n = pieces.size();
    if (n < 2 || pieces[n - 1].kind != Piece::Keyword || pieces[n - 1].word != QLatin1String("IN"))
        return nullptr;
    --n;
    if (pieces[n - 1].kind == Piece::Keyword && pieces[n - 1].word == QLatin1String("NOT"))
        --n;
    return n >= 1 && pieces[n - 1].kind == Piece::Operand ? &pieces[n - 1].out : nullptr;
}

} // namespace

Type typeOfKind(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Text:
        return Type::Text;
    case ColumnKind::Integer:
    case ColumnKind::Bit:
    case ColumnKind::Decimal:
    case ColumnKind::Float:
        return Type::Number;
    case ColumnKind::Money:
        return Type::Money;
    case ColumnKind::DateTime:
        return Type::Date;
    case ColumnKind::Other:
        break;
    }
    return Type::Unknown;
}

Out Emitter::column(const QString& text, const QString& qualifier, const QString& name, bool qualified) const
{
    Out out{text, Type::Unknown, Source::Column, qualified ? QString() : name, ColumnKind::Other, false};
    if (const CatalogColumn* c = m_names ? m_names->column(qualifier, name) : nullptr) {
        out.column = c->kind;
        out.type = typeOfKind(c->kind);
        if (c->kind == ColumnKind::Decimal)
            out.scale = c->scale;
        if (c->kind == ColumnKind::Decimal || c->kind == ColumnKind::Integer)
            out.precision = c->precision;
    }
    return out;
}

Out Emitter::sequence(const std::vector<Node>& seq, bool plainArgument)
{
    // A sub-query of IN: its column meets the tested value.
    const std::optional<ValueType> memberTarget = std::exchange(m_memberTarget, std::nullopt);
    const ScopeGuard scope(m_names, seq, m_depth);
    const bool statementScope = m_depth == 1;
    // Select lists: between this scope's SELECT and the clause after it, and
    // everything inside an enclosing one.
    const bool enclosingSelectList = m_inSelectList;
    bool selectList = false;
    std::vector<Piece> pieces;
    pieces.reserve(seq.size() + 2);
    QString limit;
    bool top = false;
    bool compound = false;
    bool inValues = false;
    const std::size_t n = seq.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Node& t = seq[i];
        const Node* next = i + 1 < n ? &seq[i + 1] : nullptr;
        const std::size_t first = pieces.size();
        if (t.kind != Tok::Group && t.kind != Tok::Comma)
            inValues = false;
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
                Out f = function(u, *next);
                f.collate = f.type == Type::Text;
                pieces.push_back(operand(std::move(f)));
                ++i;
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("TOP")) {
                limit = topCount(seq, i);
                top = true;
                break;
            }
            // A signed count is told from a column less a number by the ROWS after it.
            if (t.kind == Tok::Word && u == QLatin1String("OFFSET") && next &&
                (next->kind == Tok::Number || next->kind == Tok::Group ||
                 (next->kind == Tok::Op && i + 3 < n && seq[i + 2].kind == Tok::Number &&
                  (isWord(seq[i + 3], "ROWS") || isWord(seq[i + 3], "ROW"))))) {
                if (!limit.isEmpty())
                    serverFailure(serverError::TopWithOffset);
                if (findWord(seq, "ORDER") < 0 || std::size_t(findWord(seq, "ORDER")) > i)
                    syntaxError(QStringLiteral("Incorrect syntax near 'OFFSET'."));
                limit = offsetFetch(seq, i);
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("FOR") && next && next->kind == Tok::Word)
                refuse(QStringLiteral("FOR %1").arg(next->text.toUpper()));
            if (t.kind == Tok::Word && u == QLatin1String("CURRENT_TIMESTAMP")) {
                pieces.push_back(operand(Out{QStringLiteral("tsql_getdate()"), Type::Date}));
                break;
            }
            if (t.kind == Tok::Word && u == QLatin1String("NULL")) {
                pieces.push_back(operand(Out{QStringLiteral("NULL"), Type::Null}));
                break;
            }
            if (t.kind == Tok::Word && keywords().contains(u)) {
                if (u == QLatin1String("UNION") || u == QLatin1String("EXCEPT") || u == QLatin1String("INTERSECT"))
                    compound = true;
                if (u == QLatin1String("SELECT"))
                    selectList = true;
                else if (endsSelectList(u))
                    selectList = false;
                m_inSelectList = enclosingSelectList || selectList;
                if (u == QLatin1String("VALUES"))
                    inValues = statementScope && !m_insertColumns.empty();
                pieces.push_back(Piece{Piece::Keyword, Out{t.text}, u});
                break;
            }
            // A name, possibly qualified: a.b, a.*, [a].[b].
            QString name = nameText(t);
            const QString* qualifier = nullptr;
            const QString* last = &t.text;
            while (i + 2 < n && seq[i + 1].kind == Tok::Dot &&
                   (seq[i + 2].kind == Tok::Word || seq[i + 2].kind == Tok::Ident ||
                    (seq[i + 2].kind == Tok::Op && seq[i + 2].text == QLatin1String("*")))) {
                name += QLatin1Char('.') + (seq[i + 2].kind == Tok::Op ? QStringLiteral("*") : nameText(seq[i + 2]));
                qualifier = last;
                last = &seq[i + 2].text;
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
                    if (isEngineOnlyFunction(*last))
                        serverFailure(serverError::UnknownFunction, {*last});
                    pieces.push_back(operand(Out{name + group(seq[i + 1]).text}));
                    ++i;
                    break;
                }
            }
            pieces.push_back(operand(column(name, qualifier ? *qualifier : QString(), *last, qualifier != nullptr)));
            break;
        }
        case Tok::String:
            pieces.push_back(
                operand(Out{quoteText(t.text), Type::Text, Source::TextLiteral, t.text, ColumnKind::Other, m_collate}));
            pieces.back().out.literalIndex = t.literal;
            break;
        case Tok::Number:
            pieces.push_back(operand(Out{t.text, Type::Number, Source::NumberLiteral, t.text}));
            pieces.back().out.literalIndex = t.literal;
            // 1.50 is a decimal of scale 2.
            if (numberForm(t.text) == NumberForm::Decimal && !t.text.contains(QLatin1Char('e'), Qt::CaseInsensitive))
                pieces.back().out.scale = int(t.text.size() - t.text.indexOf(QLatin1Char('.')) - 1);
            break;
        case Tok::Op:
            pieces.push_back(Piece{Piece::Op, Out{t.text}, {}});
            break;
        case Tok::Comma:
            pieces.push_back(Piece{Piece::Comma, Out{QStringLiteral(",")}, {}});
            break;
        case Tok::Group:
            // A derived table needs a name: FROM (SELECT ...) AS q.
            if (!t.children.empty() && isWord(t.children.front(), "SELECT") && !pieces.empty() &&
                pieces.back().kind == Piece::Keyword &&
                (pieces.back().word == QLatin1String("FROM") || pieces.back().word == QLatin1String("JOIN")) &&
                !(next && (next->kind == Tok::Ident ||
                           (next->kind == Tok::Word && (isWord(*next, "AS") || !keywords().contains(upper(*next))))))) {
                if (next && next->kind == Tok::Word)
                    serverFailure(serverError::SyntaxNearKeyword, {next->text});
                syntaxError(QStringLiteral("Incorrect syntax near ')'."));
            }
            if (inValues) {
                pieces.push_back(operand(valuesRow(t)));
            } else if (Out* target = inListTarget(pieces)) {
                pieces.push_back(operand(inList(t, *target)));
            } else {
                pieces.push_back(operand(group(t)));
            }
            break;
        case Tok::Variable:
            // The session's last identity (SqliteBackend keeps it).
            if (t.text.compare(QLatin1String("@@IDENTITY"), Qt::CaseInsensitive) == 0) {
                pieces.push_back(operand(identity(false)));
                break;
            }
            refuse(QStringLiteral("the variable %1").arg(t.text));
        case Tok::Dot:
            syntaxError(QStringLiteral("Incorrect syntax near '.'."));
        case Tok::Semicolon:
        case Tok::LParen:
        case Tok::RParen:
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text));
        }
        for (std::size_t k = first; k < pieces.size(); ++k)
            pieces[k].inSelectList = m_inSelectList;
    }
    m_inSelectList = enclosingSelectList;
    // OFFSET ... FETCH after the ORDER BY of a UNION pages the whole of it, as LIMIT does.
    if (top && compound)
        refuse(QStringLiteral("TOP in a SELECT joined by UNION"));
    const bool select =
        !pieces.empty() && pieces.front().kind == Piece::Keyword && pieces.front().word == QLatin1String("SELECT");
    nameSelectList(pieces, statementScope && select);
    if (statementScope && !m_updatedTable.isEmpty())
        markAssignments(pieces);
    foldCases(pieces);
    foldArithmetic(pieces);
    convertComparisons(pieces);
    if (statementScope && !m_updatedTable.isEmpty())
        convertAssignments(pieces);
    if (select)
        m_firstColumn = unifyMembers(pieces, memberTarget);
    if (statementScope && !m_insertColumns.empty())
        convertInsertedSelect(pieces);
    if (statementScope && select)
        recordResultTypes(pieces);
    Out out = joined(std::move(pieces), plainArgument);
    if (!limit.isEmpty())
        out.text += QStringLiteral(" LIMIT ") + limit;
    return out;
}

Out Emitter::joined(std::vector<Piece> pieces, bool plainArgument) const
{
    const QString clause = QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    if (!(plainArgument && pieces.size() == 1)) {
        for (Piece& p : pieces) {
            if (p.out.collate) {
                p.out.text += clause;
                p.out.collate = false;
                p.out.chain = nullptr; // its text no longer ends with the chain's last operand
            }
        }
    }
    if (pieces.size() == 1 && pieces.front().kind == Piece::Operand)
        return std::move(pieces.front().out);
    Out out;
    for (const Piece& p : pieces) {
        if (!out.text.isEmpty() && p.kind != Piece::Comma)
            out.text += QLatin1Char(' ');
        out.text += p.out.text;
    }
    return out;
}

Out Emitter::group(const Node& g)
{
    Out inner = sequence(g.children);
    Out out{QLatin1Char('(') + inner.text + QLatin1Char(')'),
            inner.type,
            Source::Computed,
            {},
            inner.type == Type::Number ? inner.column : ColumnKind::Other};
    out.scale = inner.type == Type::Number ? inner.scale : -1;
    out.precision = inner.type == Type::Number ? inner.precision : 0;
    out.declared = inner.declared;
    // A number literal in parentheses keeps its type: (2) is an int, (1.5) a decimal.
    if (inner.source == Source::NumberLiteral)
        giveType(out, valueType(inner));
    return out;
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

// OFFSET n ROW[S] [FETCH FIRST|NEXT m ROW[S] ONLY] after ORDER BY: SQLite's
// "m OFFSET n" (m is -1, all the rows, without FETCH); the nodes are consumed.
// A negative offset fails with 10742, a FETCH of no rows or fewer with 10744.
QString Emitter::offsetFetch(const std::vector<Node>& seq, std::size_t& i)
{
    // The whole number at `at`, signed, in parentheses or not; `at` moves past it.
    auto count = [&](std::size_t& at, const char* clause) {
        const bool grouped = at < seq.size() && seq[at].kind == Tok::Group;
        const std::vector<Node>& nodes = grouped ? seq[at].children : seq;
        std::size_t k = grouped ? 0 : at;
        const bool signed_ = k < nodes.size() && nodes[k].kind == Tok::Op &&
                             (nodes[k].text == QLatin1String("-") || nodes[k].text == QLatin1String("+"));
        const bool negative = signed_ && nodes[k].text == QLatin1String("-");
        if (signed_)
            ++k;
        bool whole = false;
        const qlonglong value = k < nodes.size() && nodes[k].kind == Tok::Number ? nodes[k].text.toLongLong(&whole) : 0;
        if (!whole || (grouped && k + 1 != nodes.size()))
            refuse(QStringLiteral("%1 with an expression").arg(QLatin1String(clause)));
        at = grouped ? at + 1 : k + 1;
        return negative ? -value : value;
    };
    auto rows = [&](std::size_t at) {
        if (at >= seq.size() || !(isWord(seq[at], "ROW") || isWord(seq[at], "ROWS")))
            syntaxError(QStringLiteral("Incorrect syntax near 'OFFSET'."));
    };
    std::size_t at = i + 1;
    const qlonglong offset = count(at, "OFFSET");
    if (offset < 0)
        serverFailure(serverError::NegativeOffset);
    rows(at);
    i = at;
    qlonglong fetch = -1;
    if (i + 1 < seq.size() && isWord(seq[i + 1], "FETCH")) {
        if (i + 2 >= seq.size() || !(isWord(seq[i + 2], "FIRST") || isWord(seq[i + 2], "NEXT")))
            syntaxError(QStringLiteral("Incorrect syntax near 'FETCH'."));
        at = i + 3;
        fetch = count(at, "FETCH");
        if (fetch <= 0)
            serverFailure(serverError::FetchNotPositive);
        rows(at);
        if (at + 1 >= seq.size() || !isWord(seq[at + 1], "ONLY"))
            syntaxError(QStringLiteral("Incorrect syntax near 'FETCH'."));
        i = at + 1;
    }
    return QString::number(fetch) + QStringLiteral(" OFFSET ") + QString::number(offset);
}

} // namespace platform::db::sqlite::translation
