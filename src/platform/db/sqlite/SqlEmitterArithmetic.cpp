#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlTranslationErrors.h"

#include <utility>

namespace platform::db::sqlite::translation {

QString moneyArgument(const Out& value)
{
    // A numeric literal reaches the money functions as written, so it stays exact.
    return value.source == Source::NumberLiteral ? quoteText(value.literal) : value.text;
}

namespace {

constexpr int kMaxChain = 1000;

bool isOp(const std::vector<Piece>& pieces, std::size_t k, const char* ops)
{
    return k < pieces.size() && pieces[k].kind == Piece::Op && pieces[k].out.text.size() == 1 &&
           QLatin1String(ops).contains(pieces[k].out.text[0]);
}

bool nonZeroLiteral(const Out& v)
{
    return v.source == Source::NumberLiteral && v.literal.toDouble() != 0;
}

// A whole number: a literal without decimals, an integer column or function.
bool isWhole(const Out& v)
{
    if (v.source == Source::NumberLiteral)
        return !v.literal.contains(QLatin1Char('.')) && !v.literal.contains(QLatin1Char('e'), Qt::CaseInsensitive);
    return v.type == Type::Number && (v.column == ColumnKind::Integer || v.column == ColumnKind::Bit);
}

Out calling(const char* fn, const QString& a, const QString& b, Type type)
{
    return Out{QLatin1String(fn) + QLatin1Char('(') + a + QStringLiteral(", ") + b + QLatin1Char(')'), type};
}

constexpr const char* kConcatenation = "||";
constexpr const char* kMoneyAdd = "tsql_money_add";
constexpr const char* kMoneySubtract = "tsql_money_sub";

// a op b, where op is `chain` ("||" or a money function that folds its
// arguments): when a is a chain of the same operator, b joins it, so that a
// chain of any length stays one level deep for SQLite's parser, which takes
// parentheses and calls nested only so deep.
Out chained(const char* chain, const Out& a, const QString& b, Type type)
{
    const bool concatenation = chain == kConcatenation;
    QString text;
    if (a.chain == chain)
        text = a.text.chopped(1);
    else if (concatenation)
        text = QLatin1Char('(') + a.text;
    else
        text = QLatin1String(chain) + QLatin1Char('(') + moneyArgument(a);
    text += (concatenation ? QStringLiteral(" || ") : QStringLiteral(", ")) + b + QLatin1Char(')');
    Out out{std::move(text), type};
    out.chain = chain;
    return out;
}

// a op b without parentheses: the fold groups by SQLite's own precedence
// and order, and nesting would spend its parser's depth.
Out infix(const Out& a, const QString& op, const Out& b, Type type)
{
    Out out{a.text + QLatin1Char(' ') + op + QLatin1Char(' ') + b.text, type};
    if (type == Type::Number && isWhole(a) && isWhole(b))
        out.column = ColumnKind::Integer;
    return out;
}

// a op b with SQL Server's types: money stays exact at four decimals,
// date-times move by days, texts join, a division by zero fails; where the
// statement does not show the types, functions decide at run time.
Out combine(const QString& op, const Out& a, const Out& b)
{
    // Money with money or a whole number stays money; with a decimal it is a
    // decimal (SQL Server's precedence), computed as a number.
    const bool anyMoney = a.type == Type::Money || b.type == Type::Money;
    const bool money = anyMoney && (a.type == Type::Money || isWhole(a)) && (b.type == Type::Money || isWhole(b));
    const bool numbers = (a.type == Type::Number || a.type == Type::Money) &&
                         (b.type == Type::Number || b.type == Type::Money) && !money;
    if (op == QLatin1String("*")) {
        if (money)
            return calling("tsql_money_mul", moneyArgument(a), moneyArgument(b), Type::Money);
        return infix(a, op, b, numbers ? Type::Number : Type::Unknown);
    }
    if (op == QLatin1String("/") || op == QLatin1String("%")) {
        if (money && op == QLatin1String("/"))
            return calling("tsql_money_div", moneyArgument(a), moneyArgument(b), Type::Money);
        if (nonZeroLiteral(b))
            return infix(a, op, b, numbers ? Type::Number : Type::Unknown);
        return calling(op == QLatin1String("/") ? "tsql_div" : "tsql_mod", a.text, b.text,
                       numbers ? Type::Number : Type::Unknown);
    }
    if (op == QLatin1String("+")) {
        if (money)
            return chained(kMoneyAdd, a, moneyArgument(b), Type::Money);
        if (a.type == Type::Text && b.type == Type::Text) {
            Out joinedText = chained(kConcatenation, a, b.text, Type::Text);
            joinedText.collate = true;
            return joinedText;
        }
        if (numbers)
            return infix(a, op, b, Type::Number);
        const bool dated =
            (a.type == Type::Date && b.type == Type::Number) || (a.type == Type::Number && b.type == Type::Date);
        Out sum = calling("tsql_add", a.text, b.text, dated ? Type::Date : Type::Unknown);
        sum.collate = !dated; // two texts at run time are joined
        return sum;
    }
    // "-"
    if (money)
        return chained(kMoneySubtract, a, moneyArgument(b), Type::Money);
    if (numbers)
        return infix(a, op, b, Type::Number);
    return calling("tsql_sub", a.text, b.text,
                   a.type == Type::Date && b.type == Type::Number ? Type::Date : Type::Unknown);
}

} // namespace

void Emitter::foldArithmetic(std::vector<Piece>& pieces)
{
    bool arithmetic = false;
    for (std::size_t k = 0; k < pieces.size() && !arithmetic; ++k)
        arithmetic = isOp(pieces, k, "+-*/%~");
    if (!arithmetic)
        return;
    // [unary + - ~] operand: false when no operand follows.
    auto unary = [&](std::size_t k, std::size_t& end, Out& v) {
        QString signs;
        std::size_t j = k;
        while (isOp(pieces, j, "+-~"))
            signs += pieces[j++].out.text;
        if (j >= pieces.size() || pieces[j].kind != Piece::Operand)
            return false;
        v = pieces[j].out;
        if (!signs.isEmpty()) {
            const Type type = v.type == Type::Money ? Type::Money : Type::Number;
            const bool literal = v.source == Source::NumberLiteral && signs == QLatin1String("-");
            v = Out{QLatin1Char('(') + signs + v.text + QLatin1Char(')'), type,
                    literal ? Source::NumberLiteral : Source::Computed, literal ? signs + v.literal : QString()};
        }
        end = j + 1;
        return true;
    };
    // Folds into `acc` each operand that `read` finds after one of `ops`.
    // SQLite takes no expression deeper than 1000: a longer chain is refused
    // before its text is built.
    auto chain = [&](const char* ops, const auto& read, std::size_t& end, Out& acc) {
        for (int links = 0; isOp(pieces, end, ops); ++links) {
            if (links >= kMaxChain)
                serverFailure(serverError::NestedTooDeeply);
            std::size_t next = 0;
            Out rhs;
            if (!read(end + 1, next, rhs))
                break;
            acc = combine(pieces[end].out.text, acc, rhs);
            end = next;
        }
    };
    // A term: unary { (* / %) unary }.
    auto term = [&](std::size_t k, std::size_t& end, Out& v) {
        if (!unary(k, end, v))
            return false;
        chain("*/%", unary, end, v);
        return true;
    };
    std::vector<Piece> out;
    out.reserve(pieces.size());
    std::size_t i = 0;
    while (i < pieces.size()) {
        const bool canStart = pieces[i].kind == Piece::Operand ||
                              (isOp(pieces, i, "+-~") && (i == 0 || pieces[i - 1].kind != Piece::Operand));
        std::size_t end = 0;
        Out acc;
        if (!canStart || !term(i, end, acc)) {
            out.push_back(std::move(pieces[i++]));
            continue;
        }
        std::size_t k = end;
        chain("+-", term, k, acc);
        if (k == i + 1)
            out.push_back(std::move(pieces[i])); // a lone operand keeps all it carries
        else
            out.push_back(Piece{Piece::Operand, std::move(acc), {}});
        i = k;
    }
    pieces = std::move(out);
}

} // namespace platform::db::sqlite::translation
