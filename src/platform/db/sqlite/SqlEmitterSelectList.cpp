// The select lists of a scope: the names SQL Server gives their columns, and
// the types the values of the statement's first SELECT cannot show.

#include "platform/db/sqlite/SqlEmitter.h"

#include <QSet>

namespace platform::db::sqlite::translation {

// The [begin, end) ranges of the items of the SELECT at `select`.
std::vector<std::pair<std::size_t, std::size_t>> selectItems(const std::vector<Piece>& pieces, std::size_t select)
{
    static const QSet<QString> clauses = {
        QStringLiteral("FROM"),   QStringLiteral("WHERE"),     QStringLiteral("GROUP"),
        QStringLiteral("HAVING"), QStringLiteral("ORDER"),     QStringLiteral("UNION"),
        QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"), QStringLiteral("INTO"),
    };
    std::vector<std::pair<std::size_t, std::size_t>> items;
    std::size_t k = select + 1;
    while (k < pieces.size() && pieces[k].kind == Piece::Keyword &&
           (pieces[k].word == QLatin1String("DISTINCT") || pieces[k].word == QLatin1String("ALL")))
        ++k;
    std::size_t begin = k;
    for (; k <= pieces.size(); ++k) {
        const bool end = k == pieces.size() || (pieces[k].kind == Piece::Keyword && clauses.contains(pieces[k].word));
        if (end || pieces[k].kind == Piece::Comma) {
            if (k > begin)
                items.emplace_back(begin, k);
            if (end)
                break;
            begin = k + 1;
        }
    }
    return items;
}

namespace {

bool isKeyword(const Piece& p, const char* word)
{
    return p.kind == Piece::Keyword && p.word == QLatin1String(word);
}

bool isStar(const Piece& p)
{
    return (p.kind == Piece::Op && p.out.text == QLatin1String("*")) ||
           (p.kind == Piece::Operand && p.out.source == Source::Column && p.out.text.endsWith(QLatin1String(".*")));
}

// A bare name or a text, as an alias is written.
bool isAliasText(const Piece& p)
{
    return p.kind == Piece::Operand &&
           (p.out.source == Source::TextLiteral || (p.out.source == Source::Column && !p.out.literal.isEmpty()));
}

Piece aliasPiece(const QString& name)
{
    return Piece{Piece::Operand, Out{quoteName(name)}, {}};
}

// The aliases of the select list of the SELECT at `select`; with
// `nameUnnamed`, a column without a name is named "".
void nameItems(std::vector<Piece>& pieces, std::size_t select, bool nameUnnamed)
{
    const auto items = selectItems(pieces, select);
    // Back to front, so that the ranges before stay valid while pieces are added.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const std::size_t b = it->first;
        const std::size_t e = it->second;
        const std::size_t size = e - b;
        const auto at = [&](std::size_t k) { return pieces.begin() + std::ptrdiff_t(k); };
        if (size >= 3 && isAliasText(pieces[b]) && pieces[b + 1].kind == Piece::Op &&
            pieces[b + 1].out.text == QLatin1String("=")) {
            // 'alias' = expr
            const QString alias = pieces[b].out.literal;
            pieces.insert(at(e),
                          {Piece{Piece::Keyword, Out{QStringLiteral("AS")}, QStringLiteral("AS")}, aliasPiece(alias)});
            pieces.erase(at(b), at(b + 2));
            continue;
        }
        const Piece& last = pieces[e - 1];
        if (size >= 2 && last.kind == Piece::Operand && last.out.source == Source::TextLiteral &&
            (isKeyword(pieces[e - 2], "AS") || pieces[e - 2].kind == Piece::Operand)) {
            // expr AS 'alias', expr 'alias'
            const bool withAs = isKeyword(pieces[e - 2], "AS");
            pieces[e - 1] = aliasPiece(last.out.literal);
            if (!withAs)
                pieces.insert(at(e - 1), Piece{Piece::Keyword, Out{QStringLiteral("AS")}, QStringLiteral("AS")});
            continue;
        }
        bool named = (size == 1 && (isStar(last) || (last.kind == Piece::Operand && last.out.source == Source::Column &&
                                                     !last.out.text.endsWith(QLatin1Char(')'))))) ||
                     (size >= 2 && last.kind == Piece::Operand && last.out.source == Source::Column &&
                      !last.out.literal.isEmpty() && pieces[e - 2].kind == Piece::Operand);
        for (std::size_t k = b; k < e && !named; ++k)
            named = isKeyword(pieces[k], "AS");
        // SQL Server leaves a computed column without a name.
        if (!named && nameUnnamed)
            pieces.insert(
                at(e), {Piece{Piece::Keyword, Out{QStringLiteral("AS")}, QStringLiteral("AS")}, aliasPiece(QString())});
    }
}

} // namespace

void Emitter::nameSelectList(std::vector<Piece>& pieces, bool nameUnnamed) const
{
    // Back to front, so that the SELECTs and ranges before stay valid while pieces are added.
    for (std::size_t select = pieces.size(); select-- > 0;) {
        if (isKeyword(pieces[select], "SELECT"))
            nameItems(pieces, select, nameUnnamed && select == 0);
    }
}

void Emitter::recordResultTypes(const std::vector<Piece>& pieces)
{
    m_resultTypes.clear();
    for (const auto& [b, e] : selectItems(pieces, 0)) {
        bool star = false;
        for (std::size_t k = b; k < e; ++k)
            star = star || isStar(pieces[k]);
        // The positions after a * are not known here.
        if (star)
            break;
        if (pieces[b].kind != Piece::Operand) {
            m_resultTypes.emplace_back();
            continue;
        }
        // The type a conversion, arithmetic or the meeting of types fixes; a
        // date-time converted to text ("2024-03-18 08:05:00.000", style 121)
        // stays a text. A column's own declared type tells its type.
        const Out& value = pieces[b].out;
        m_resultTypes.push_back(!value.declared.isEmpty()        ? value.declared
                                : value.source == Source::Column ? QString()
                                : value.type == Type::Money      ? QStringLiteral("money")
                                : value.type == Type::Date       ? QStringLiteral("datetime")
                                                                 : QString());
    }
}

} // namespace platform::db::sqlite::translation
