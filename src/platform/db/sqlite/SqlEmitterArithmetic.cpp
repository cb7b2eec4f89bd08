#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqlWholeText.h"

#include <algorithm>

#include <utility>

namespace platform::db::sqlite::translation {

QString moneyArgument(const Out& value)
{
    // A numeric literal reaches the money functions as written, so it stays
    // exact; a float literal (1.5e0) is a float there too.
    return value.source == Source::NumberLiteral && valueType(value).kind != ColumnKind::Float
               ? quoteText(value.literal)
               : value.text;
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

// A whole number: an int, smallint, tinyint or bigint (a literal within 32
// bits among them), or a bit.
bool isWhole(const Out& v)
{
    const ColumnKind kind = valueType(v).kind;
    return kind == ColumnKind::Integer || kind == ColumnKind::Bit;
}

bool isNumber(const ValueType& t)
{
    return t.kind == ColumnKind::Integer || t.kind == ColumnKind::Bit || t.kind == ColumnKind::Decimal ||
           t.kind == ColumnKind::Float || t.kind == ColumnKind::Money;
}

constexpr const char* kConcatenation = "||";
// The functions that fold a chain of operations of one kind of operands.
constexpr const char* kMoney = "tsql_money_op";
constexpr const char* kWhole = "tsql_int_op";
constexpr const char* kDecimal = "tsql_decimal_op";
constexpr const char* kUntyped = "tsql_op"; // + - / % typed at run time
// SQLite's limit on the arguments of a function.
constexpr int kMaxArguments = 127;

// a op b, where op is `chain`: "||", or a function that folds its operands
// and their steps, fn(a, b, step [, c, step]...), `first` being a's text as
// its first operand. When a is a chain of the same function (with room for
// two more arguments), b and its step join it, so that a chain of any length
// stays a level or two deep for SQLite's parser, which takes parentheses and
// calls nested only so deep.
Out chained(const char* chain, const Out& a, const QString& first, const QString& b, const QString& step, Type type)
{
    QString text;
    if (chain == kConcatenation) {
        text = a.chain == chain ? a.text.chopped(1) : QLatin1Char('(') + a.text;
        text += QStringLiteral(" || ") + b + QLatin1Char(')');
        Out out{std::move(text), type};
        out.chain = chain;
        return out;
    }
    const bool joins = a.chain == chain && a.chainArguments + 2 <= kMaxArguments;
    text = joins ? a.text.chopped(1) : QLatin1String(chain) + QLatin1Char('(') + first;
    text += QStringLiteral(", ") + b + QStringLiteral(", ") + step + QLatin1Char(')');
    Out out{std::move(text), type};
    out.chain = chain;
    out.chainArguments = (joins ? a.chainArguments : 1) + 2;
    return out;
}

// Whether a * b, a / b or a % b, between floats or operands typed at run
// time, folds into tsql_op: a division whose divisor may be zero (SQLite
// would give Null), and a product after such a division, which keeps the
// fold open; SQLite's own operator otherwise.
bool folds(const QString& op, const Out& a, const Out& b)
{
    return op == QLatin1String("*") ? a.chain == kUntyped : !nonZeroLiteral(b);
}

// a op b without parentheses: the fold groups by SQLite's own precedence
// and order, and nesting would spend its parser's depth.
Out infix(const Out& a, const QString& op, const Out& b, Type type)
{
    return Out{a.text + QLatin1Char(' ') + op + QLatin1Char(' ') + b.text, type};
}

// The operation's code in the steps of the folding functions: + - * / %.
int operationCode(const QString& op)
{
    return int(QStringView(u"+-*/%").indexOf(op.front()));
}

// SQL Server's name of an arithmetic operator in its errors.
QString operatorName(const QString& op)
{
    static const char* const names[] = {"add", "subtract", "multiply", "divide", "modulo"};
    return QLatin1String(names[operationCode(op)]);
}

// A decimal's digits and scale, as a value `v` takes part in decimal
// arithmetic: a whole-number literal with the digits it has, a whole-number
// column with all the digits of its type.
std::pair<int, int> operandDigits(const Out& v)
{
    const ValueType t = valueType(v);
    if (v.source == Source::NumberLiteral && t.kind == ColumnKind::Integer) {
        const QStringView digits = QStringView(v.literal).mid(v.literal.startsWith(u'-') ? 1 : 0);
        return {std::max(1, int(digits.size())), 0};
    }
    return decimalDigits(t);
}

// SQL Server's precision and scale of a op b between decimals, reduced to
// at most 38 digits as it reduces them.
ValueType decimalResult(const QString& op, const Out& a, const Out& b)
{
    const auto [p1, s1] = operandDigits(a);
    const auto [p2, s2] = operandDigits(b);
    int p = 0;
    int s = 0;
    const QChar o = op.front();
    if (o == u'+' || o == u'-') {
        s = std::max(s1, s2);
        p = std::max(p1 - s1, p2 - s2) + s + 1;
        if (p > 38) {
            s = std::max(0, std::min(s, 38 - std::max(p1 - s1, p2 - s2)));
            p = 38;
        }
        return ValueType{ColumnKind::Decimal, p, s};
    }
    if (o == u'%') {
        s = std::max(s1, s2);
        p = std::min(std::min(p1 - s1, p2 - s2) + s, 38);
        return ValueType{ColumnKind::Decimal, std::max(p, 1), std::min(s, p)};
    }
    if (o == u'*') {
        p = p1 + p2 + 1;
        s = s1 + s2;
    } else {
        s = std::max(6, s1 + p2 + 1);
        p = p1 - s1 + s2 + s;
    }
    if (p > 38) {
        // The integral part keeps its digits; the scale gives way, to no
        // fewer than 6 digits where the integral part is long.
        const int integral = p - s;
        s = integral < 32 ? std::min(s, 38 - integral) : std::min(s, 6);
        p = 38;
    }
    return ValueType{ColumnKind::Decimal, p, s};
}

// a op b with SQL Server's types: the result takes the type of higher
// precedence; whole numbers stay within their type, decimals take SQL
// Server's precision and scale, money stays exact at four decimals,
// date-times move by days, texts join, a division by zero fails; where the
// statement does not show the types, functions decide at run time.
Out combine(const QString& op, const Out& a, const Out& b)
{
    const ValueType ta = valueType(a);
    const ValueType tb = valueType(b);
    if (ta.kind == ColumnKind::Bit || tb.kind == ColumnKind::Bit)
        serverFailure(serverError::BadOperandType, {QStringLiteral("bit"), operatorName(op)});
    // A date-time only adds and subtracts; texts only join.
    const bool additive = op == QLatin1String("+") || op == QLatin1String("-");
    if (!additive && (ta.kind == ColumnKind::DateTime || tb.kind == ColumnKind::DateTime))
        serverFailure(serverError::BadOperandType, {QStringLiteral("datetime"), operatorName(op)});
    if (op != QLatin1String("+") && ta.kind == ColumnKind::Text && tb.kind == ColumnKind::Text)
        serverFailure(serverError::BadOperandType, {QStringLiteral("varchar"), operatorName(op)});
    // A text meeting a date-time is read as one; a date-time added to
    // another adds its days after 1900-01-01.
    if (ta.kind == ColumnKind::DateTime && tb.kind == ColumnKind::Text)
        return combine(op, a, convertedTo(b, ta));
    if (tb.kind == ColumnKind::DateTime && ta.kind == ColumnKind::Text)
        return combine(op, convertedTo(a, tb), b);
    if (op == QLatin1String("+") && ta.kind == ColumnKind::DateTime && tb.kind == ColumnKind::DateTime)
        return combine(op, a, Out{QStringLiteral("tsql_date_number(") + b.text + QLatin1Char(')'), Type::Number});
    // A text meeting a number converts to the number's type, as SQL Server
    // converts it: '12' + 1 is 13, '1.5' + 1 fails.
    if (ta.kind == ColumnKind::Text && isNumber(tb))
        return combine(op, convertedTo(a, tb), b);
    if (tb.kind == ColumnKind::Text && isNumber(ta))
        return combine(op, a, convertedTo(b, ta));
    const QString code = QString::number(operationCode(op));
    // Money with money or a whole number stays money; with a decimal it is a
    // decimal, with a float a float.
    const bool anyMoney = a.type == Type::Money || b.type == Type::Money;
    const bool money = anyMoney && (a.type == Type::Money || isWhole(a)) && (b.type == Type::Money || isWhole(b));
    if (!money && isNumber(ta) && isNumber(tb)) {
        const ValueType result = higherType(ta, tb);
        Out out;
        if (result.kind == ColumnKind::Float) {
            out = folds(op, a, b) ? chained(kUntyped, a, a.text, b.text, code, Type::Number)
                                  : infix(a, op, b, Type::Number);
            giveType(out, result);
            return out;
        }
        if (result.kind == ColumnKind::Decimal) {
            const ValueType decimal = decimalResult(op, a, b);
            out = chained(kDecimal, a, moneyArgument(a), moneyArgument(b),
                          QString::number(operationCode(op) * 10000 + decimal.precision * 100 + decimal.scale),
                          Type::Number);
            giveType(out, decimal);
            return out;
        }
        // Whole numbers: the type of more bits, within whose range the result must lie.
        out = chained(kWhole, a, a.text, b.text,
                      QString::number(operationCode(op) * 100 + wholeTypeOfPrecision(result.precision).bits),
                      Type::Number);
        giveType(out, result);
        return out;
    }
    const bool numbers = (a.type == Type::Number || a.type == Type::Money) &&
                         (b.type == Type::Number || b.type == Type::Money) && !money;
    Out out;
    if (money) {
        out = chained(kMoney, a, moneyArgument(a), moneyArgument(b), code, Type::Money);
    } else if (op == QLatin1String("*") || op == QLatin1String("/") || op == QLatin1String("%")) {
        out = folds(op, a, b) ? chained(kUntyped, a, a.text, b.text, code, numbers ? Type::Number : Type::Unknown)
                              : infix(a, op, b, numbers ? Type::Number : Type::Unknown);
    } else if (op == QLatin1String("+")) {
        if (a.type == Type::Text && b.type == Type::Text) {
            Out joinedText = chained(kConcatenation, a, a.text, b.text, {}, Type::Text);
            joinedText.collate = true;
            return joinedText;
        } else if (numbers) {
            out = infix(a, op, b, Type::Number);
        } else {
            const bool dated =
                (a.type == Type::Date && b.type == Type::Number) || (a.type == Type::Number && b.type == Type::Date);
            Out sum = chained(kUntyped, a, a.text, b.text, code, dated ? Type::Date : Type::Unknown);
            sum.collate = !dated; // two texts at run time are joined
            return sum;
        }
    } else if (numbers) { // "-"
        out = infix(a, op, b, Type::Number);
    } else {
        out = chained(kUntyped, a, a.text, b.text, code,
                      a.type == Type::Date && b.type == Type::Number ? Type::Date : Type::Unknown);
    }
    if (money)
        out.declared = QStringLiteral("money");
    return out;
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
            // A sign keeps a number's type; ~ makes a whole number of one.
            const ValueType kept = valueType(v);
            Out signed_{QLatin1Char('(') + signs + v.text + QLatin1Char(')'), type,
                        literal ? Source::NumberLiteral : Source::Computed, literal ? signs + v.literal : QString()};
            if (!literal && isNumber(kept) && !signs.contains(u'~'))
                giveType(signed_, kept);
            v = std::move(signed_);
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
        if (k == i + 1) {
            out.push_back(std::move(pieces[i])); // a lone operand keeps all it carries
        } else {
            // SQLite's operators leave a float's range as infinity, SQL Server with an overflow.
            if (valueType(acc).kind == ColumnKind::Float) {
                acc.text = QStringLiteral("tsql_finite(") + acc.text + QLatin1Char(')');
                acc.chain = nullptr;
            }
            out.push_back(Piece{Piece::Operand, std::move(acc), {}});
        }
        i = k;
    }
    pieces = std::move(out);
}

} // namespace platform::db::sqlite::translation
