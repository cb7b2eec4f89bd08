#include "platform/db/sqlite/SqlEmitter.h"

#include <utility>

namespace platform::db::sqlite::translation {

// a + b: joined when both are texts, added when both are numbers, and
// decided at run time by tsql_add when the statement does not show it.
void Emitter::foldAdditions(std::vector<Piece>& pieces)
{
    std::vector<Piece> out;
    std::size_t i = 0;
    auto isOp = [&](std::size_t k, const char* ops) {
        return k < pieces.size() && pieces[k].kind == Piece::Op && pieces[k].text.size() == 1 &&
               QLatin1String(ops).contains(pieces[k].text[0]);
    };
    // A term: [unary +/-] operand { (* / %) [unary] operand }.
    auto term = [&](std::size_t k, std::size_t& end, Out& t) {
        std::size_t j = k;
        QString text;
        int count = 0;
        bool arithmetic = false;
        for (;;) {
            while (isOp(j, "+-~")) {
                text += pieces[j].text;
                arithmetic = true;
                ++j;
            }
            if (j >= pieces.size() || pieces[j].kind != Piece::Operand)
                return false;
            text += pieces[j].text;
            t.type = pieces[j].type;
            ++count;
            ++j;
            if (isOp(j, "*/%") && j + 1 < pieces.size() &&
                (pieces[j + 1].kind == Piece::Operand || isOp(j + 1, "+-~"))) {
                text += QLatin1Char(' ') + pieces[j].text + QLatin1Char(' ');
                arithmetic = true;
                ++j;
                continue;
            }
            break;
        }
        if (arithmetic)
            t.type = Type::Number;
        t.text = count > 1 || arithmetic ? QLatin1Char('(') + text + QLatin1Char(')') : text;
        end = j;
        return true;
    };
    while (i < pieces.size()) {
        const bool canStart =
            pieces[i].kind == Piece::Operand || (isOp(i, "+-~") && (i == 0 || pieces[i - 1].kind != Piece::Operand));
        std::size_t end = 0;
        Out first;
        if (!canStart || !term(i, end, first)) {
            out.push_back(pieces[i++]);
            continue;
        }
        // Does a binary + follow within this chain?
        std::vector<std::pair<QString, Out>> rest;
        std::size_t k = end;
        while (isOp(k, "+-")) {
            std::size_t e = 0;
            Out t;
            if (!term(k + 1, e, t))
                break;
            rest.emplace_back(pieces[k].text, t);
            k = e;
        }
        bool hasPlus = false;
        for (const auto& r : rest)
            hasPlus = hasPlus || r.first == QLatin1String("+");
        if (!hasPlus) {
            for (std::size_t m = i; m < k; ++m)
                out.push_back(pieces[m]);
            i = k;
            continue;
        }
        Out acc = first;
        for (const auto& [op, t] : rest) {
            if (op == QLatin1String("-")) {
                acc = Out{acc.text + QStringLiteral(" - ") + t.text,
                          acc.type == Type::Number && t.type == Type::Number ? Type::Number : Type::Unknown};
            } else if (acc.type == Type::Text && t.type == Type::Text) {
                acc = Out{QLatin1Char('(') + acc.text + QStringLiteral(" || ") + t.text + QLatin1Char(')'), Type::Text};
            } else if (acc.type == Type::Number && t.type == Type::Number) {
                acc = Out{acc.text + QStringLiteral(" + ") + t.text, Type::Number};
            } else {
                const bool dated = (acc.type == Type::Date && t.type == Type::Number) ||
                                   (acc.type == Type::Number && t.type == Type::Date);
                acc = Out{QStringLiteral("tsql_add(") + acc.text + QStringLiteral(", ") + t.text + QLatin1Char(')'),
                          dated ? Type::Date : Type::Unknown};
            }
        }
        out.push_back(
            Piece{Piece::Operand, acc.text, acc.type, {}, acc.type == Type::Text || acc.type == Type::Unknown});
        i = k;
    }
    pieces = std::move(out);
}

} // namespace platform::db::sqlite::translation
