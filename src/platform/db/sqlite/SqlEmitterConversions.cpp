// Literals and values meeting columns: SQL Server converts a text literal to
// the type of the column (or typed expression) it is compared with or written
// into, and a value written into a column to the column's type.

#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqlWholeText.h"

#include <optional>
#include <string_view>

namespace platform::db::sqlite::translation {

namespace {

bool isComparison(const Piece& p)
{
    if (p.kind != Piece::Op || p.word == QLatin1String("SET"))
        return false;
    const QString& op = p.out.text;
    return op == QLatin1String("=") || op == QLatin1String("<>") || op == QLatin1String("!=") ||
           op == QLatin1String("<") || op == QLatin1String(">") || op == QLatin1String("<=") ||
           op == QLatin1String(">=");
}

bool isKeyword(const std::vector<Piece>& pieces, std::size_t k, const char* word)
{
    return k < pieces.size() && pieces[k].kind == Piece::Keyword && pieces[k].word == QLatin1String(word);
}

// The kind a value converts literals to: a column's declared one, else its type's.
ColumnKind kindOf(const Out& v)
{
    if ((v.source == Source::Column || v.type == Type::Number) && v.column != ColumnKind::Other)
        return v.column;
    switch (v.type) {
    case Type::Date:
        return ColumnKind::DateTime;
    case Type::Money:
        return ColumnKind::Money;
    case Type::Number:
        return ColumnKind::Decimal;
    case Type::Text:
        return ColumnKind::Text;
    case Type::Unknown:
    case Type::Null:
        break;
    }
    return ColumnKind::Other;
}

Out converted(const QString& text, ColumnKind kind)
{
    return Out{text, typeOfKind(kind)};
}

bool isNumberKind(ColumnKind kind)
{
    return kind == ColumnKind::Integer || kind == ColumnKind::Bit || kind == ColumnKind::Decimal ||
           kind == ColumnKind::Float || kind == ColumnKind::Money;
}

// `v` meeting a value of type `to` of higher precedence in a comparison: a
// text value converts to it, a number to a date-time; literals of texts are
// read where they meet (convertAgainst), and numbers meet numbers as they are.
void meetHigher(Out& v, const ValueType& from, const ValueType& to)
{
    if (v.source == Source::TextLiteral)
        return;
    if (from.kind == ColumnKind::Text || (to.kind == ColumnKind::DateTime && isNumberKind(from.kind)))
        v = convertedTo(v, to);
}

// A converted value whose SQLite literal is a number (money, decimals):
// bound as its text, it is the same number only where a column's numeric
// affinity reads it.
bool convertsToNumberText(ColumnKind kind)
{
    return kind == ColumnKind::Money || kind == ColumnKind::Decimal || kind == ColumnKind::Float;
}

bool numericKind(ColumnKind kind)
{
    return kind == ColumnKind::Integer || kind == ColumnKind::Bit || convertsToNumberText(kind);
}

} // namespace

bool Emitter::canBind(const Out& literal, bool where) const
{
    return where && m_parameters && literal.literalIndex >= 0 && !literal.bound;
}

void Emitter::bind(Out& out, int literal, Parameter::Value value, ColumnKind kind, int precision) const
{
    m_parameters->push_back(Parameter{literal, value, kind, precision});
    out.text = QLatin1Char('?') + QString::number(m_parameters->size());
    out.literalIndex = literal;
    out.bound = true;
}

void Emitter::meet(Out& a, Out& b)
{
    const ValueType ta = valueType(a);
    const ValueType tb = valueType(b);
    if (ta.kind == ColumnKind::Other || tb.kind == ColumnKind::Other)
        return;
    if (precedence(ta) > precedence(tb))
        meetHigher(b, tb, ta);
    else if (precedence(tb) > precedence(ta))
        meetHigher(a, ta, tb);
}

void Emitter::convertAgainst(const Out& target, Out& literal, bool comparison) const
{
    if (literal.source == Source::TextLiteral && target.source != Source::TextLiteral) {
        const ColumnKind kind = kindOf(target);
        if (convertsLiterals(kind)) {
            const bool bindable =
                canBind(literal, comparison) && (!convertsToNumberText(kind) || target.source == Source::Column);
            const int index = literal.literalIndex;
            const int precision = kind == ColumnKind::Integer ? valueType(target).precision : 0;
            literal = converted(convertedLiteral(literal.literal, kind, precision), kind);
            if (bindable)
                bind(literal, index, Parameter::Value::Converted, kind, precision);
        } else if (kind == ColumnKind::Text) {
            if (canBind(literal, comparison))
                bind(literal, literal.literalIndex, Parameter::Value::Text);
        } else if (kind == ColumnKind::Other) {
            // The value's type shows only at run time: a date-time value there
            // (in the storage form) takes the literal as a date-time.
            const DateText d = readDateText(literal.literal);
            if (d.hasDay && d.reading != DateReading::NotADate)
                literal.text = QStringLiteral("tsql_compared_literal(%1, %2)").arg(target.text, literal.text);
        }
    } else if (literal.source == Source::NumberLiteral && canBind(literal, comparison)) {
        const NumberForm form = numberForm(literal.literal);
        if (form == NumberForm::Whole)
            bind(literal, literal.literalIndex, Parameter::Value::Whole);
        else if (form == NumberForm::Decimal && target.source == Source::Column && numericKind(target.column))
            bind(literal, literal.literalIndex, Parameter::Value::Number);
    }
}

void Emitter::convertComparisons(std::vector<Piece>& pieces) const
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (isComparison(p)) {
            if (i == 0 || i + 1 >= pieces.size() || pieces[i - 1].kind != Piece::Operand ||
                pieces[i + 1].kind != Piece::Operand)
                continue;
            meet(pieces[i - 1].out, pieces[i + 1].out);
            const Out left = pieces[i - 1].out;
            const bool comparison = !p.inSelectList;
            convertAgainst(pieces[i + 1].out, pieces[i - 1].out, comparison);
            convertAgainst(left, pieces[i + 1].out, comparison);
            continue;
        }
        if (p.kind != Piece::Keyword || (p.word != QLatin1String("BETWEEN") && p.word != QLatin1String("LIKE")))
            continue;
        const std::size_t at = i >= 1 && isKeyword(pieces, i - 1, "NOT") ? i - 1 : i;
        if (at == 0 || pieces[at - 1].kind != Piece::Operand)
            continue;
        Out& tested = pieces[at - 1].out;
        if (p.word == QLatin1String("LIKE")) {
            // SQL Server matches the value's text in its default style ("Apr 15
            // 2024 10:00AM", "104.00"), which the stored value does not show.
            if (tested.type == Type::Date)
                refuse(QStringLiteral("LIKE on a date-time value"));
            if (tested.type == Type::Money)
                refuse(QStringLiteral("LIKE on a money value"));
            continue;
        }
        const bool comparison = !p.inSelectList;
        Out* low = i + 1 < pieces.size() && pieces[i + 1].kind == Piece::Operand ? &pieces[i + 1].out : nullptr;
        Out* high = isKeyword(pieces, i + 2, "AND") && i + 3 < pieces.size() && pieces[i + 3].kind == Piece::Operand
                        ? &pieces[i + 3].out
                        : nullptr;
        for (Out* bound : {low, high})
            if (bound)
                meet(tested, *bound);
        const Out target = tested;
        for (Out* bound : {low, high})
            if (bound)
                convertAgainst(target, *bound, comparison);
    }
}

void Emitter::meetList(Out& x, const std::vector<Out*>& values, bool comparison) const
{
    ValueType highest = valueType(x);
    for (const Out* v : values)
        if (v->source != Source::TextLiteral && valueType(*v).kind != ColumnKind::Other)
            highest = higherType(highest, valueType(*v));
    const ValueType tested = valueType(x);
    if (tested.kind != ColumnKind::Other && precedence(highest) > precedence(tested))
        meetHigher(x, tested, highest);
    for (Out* v : values) {
        meet(x, *v);
        convertAgainst(x, *v, comparison);
    }
}

Out Emitter::inList(const Node& g, Out& target)
{
    if (!g.children.empty() && isWord(g.children.front(), "SELECT")) {
        const ValueType tested = valueType(target);
        m_memberTarget = tested;
        Out query = group(g);
        if (tested.kind != ColumnKind::Other && precedence(m_firstColumn) > precedence(tested))
            meetHigher(target, tested, m_firstColumn);
        return query;
    }
    // x IN () is no list for SQL Server.
    if (g.children.empty())
        syntaxError(QStringLiteral("Incorrect syntax near ')'."));
    std::vector<Out> items;
    for (const auto& a : argNodes(g))
        items.push_back(sequence(a));
    std::vector<Out*> values;
    for (Out& item : items)
        values.push_back(&item);
    meetList(target, values, !m_inSelectList);
    QStringList texts;
    for (const Out& item : items)
        texts << item.text;
    return Out{QLatin1Char('(') + texts.join(QStringLiteral(", ")) + QLatin1Char(')')};
}

namespace {

// The keyword positions of the SELECTs of a scope: its first and each one
// after UNION [ALL], EXCEPT or INTERSECT.
std::vector<std::size_t> memberSelects(const std::vector<Piece>& pieces)
{
    std::vector<std::size_t> selects;
    bool joined = true;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (pieces[k].kind != Piece::Keyword)
            continue;
        const QString& w = pieces[k].word;
        if (w == QLatin1String("SELECT") && joined) {
            selects.push_back(k);
            joined = false;
        } else if (w == QLatin1String("UNION") || w == QLatin1String("EXCEPT") || w == QLatin1String("INTERSECT")) {
            joined = true;
        } else if (w != QLatin1String("ALL")) {
            joined = joined && selects.empty();
        }
    }
    return selects;
}

// The value of a select item [b, e): its first piece when nothing but an
// alias follows it; nullptr otherwise.
Out* itemValue(std::vector<Piece>& pieces, std::size_t b, std::size_t e)
{
    if (pieces[b].kind != Piece::Operand)
        return nullptr;
    if (e - b == 1 || isKeyword(pieces, b + 1, "AS") || (e - b == 2 && pieces[b + 1].kind == Piece::Operand))
        return &pieces[b].out;
    return nullptr;
}

} // namespace

ValueType Emitter::unifyMembers(std::vector<Piece>& pieces, const std::optional<ValueType>& outer) const
{
    const std::vector<std::size_t> selects = memberSelects(pieces);
    // A lone SELECT whose column meets nothing keeps its types.
    if (selects.size() < 2 && !outer)
        return ValueType{};
    std::vector<std::vector<Out*>> columns;
    for (const std::size_t select : selects) {
        const auto items = selectItems(pieces, select);
        if (columns.size() < items.size())
            columns.resize(items.size());
        for (std::size_t n = 0; n < items.size(); ++n)
            columns[n].push_back(itemValue(pieces, items[n].first, items[n].second));
    }
    for (std::size_t n = 0; n < columns.size(); ++n) {
        std::vector<Out*>& members = columns[n];
        if (members.size() < 2 && !(outer && n == 0))
            continue;
        ValueType highest = n == 0 && outer ? *outer : ValueType{};
        bool all = true;
        for (const Out* v : members) {
            all = all && v;
            if (v && valueType(*v).kind != ColumnKind::Other)
                highest = higherType(highest, valueType(*v));
        }
        if (!all || precedence(highest) <= precedence(ValueType{ColumnKind::Text, 0, 0}))
            continue;
        for (Out* v : members) {
            if (valueType(*v).kind == ColumnKind::Other && v->type != Type::Null)
                continue;
            *v = convertedTo(*v, highest);
            if (members.size() > 1)
                giveType(*v, highest);
        }
    }
    if (columns.empty() || columns.front().empty() || !columns.front().front())
        return ValueType{};
    return valueType(*columns.front().front());
}

void Emitter::foldCases(std::vector<Piece>& pieces)
{
    for (;;) {
        // The innermost CASE: the last one opened before the first END.
        std::optional<std::size_t> open;
        std::size_t end = pieces.size();
        for (std::size_t k = 0; k < pieces.size() && end == pieces.size(); ++k) {
            if (isKeyword(pieces, k, "CASE"))
                open = k;
            else if (open && isKeyword(pieces, k, "END"))
                end = k;
        }
        if (!open || end == pieces.size())
            return;
        // Its parts: the tested value of a simple CASE, then the conditions
        // (or values) after WHEN and the results after THEN and ELSE.
        struct Part
        {
            const char* keyword;
            std::vector<Piece> pieces;
        };
        std::vector<Part> parts{{"", {}}};
        for (std::size_t k = *open + 1; k < end; ++k) {
            Piece& p = pieces[k];
            if (p.kind == Piece::Keyword &&
                (p.word == QLatin1String("WHEN") || p.word == QLatin1String("THEN") || p.word == QLatin1String("ELSE")))
                parts.push_back({p.word == QLatin1String("WHEN")   ? "WHEN"
                                 : p.word == QLatin1String("THEN") ? "THEN"
                                                                   : "ELSE",
                                 {}});
            else
                parts.back().pieces.push_back(std::move(p));
        }
        for (Part& part : parts) {
            foldArithmetic(part.pieces);
            convertComparisons(part.pieces);
        }
        auto single = [](Part& part) -> Out* {
            return part.pieces.size() == 1 && part.pieces.front().kind == Piece::Operand ? &part.pieces.front().out
                                                                                         : nullptr;
        };
        // A simple CASE compares its value with each value after WHEN.
        if (Out* tested = single(parts.front())) {
            std::vector<Out*> compared;
            for (Part& part : parts)
                if (part.keyword == std::string_view("WHEN") && single(part))
                    compared.push_back(single(part));
            meetList(*tested, compared, !pieces[*open].inSelectList);
        }
        // The results take the type of highest precedence among them.
        ValueType highest;
        bool typed = true;
        std::vector<Out*> results;
        for (Part& part : parts) {
            if (part.keyword != std::string_view("THEN") && part.keyword != std::string_view("ELSE"))
                continue;
            Out* result = single(part);
            if (!result || (result->type != Type::Null && valueType(*result).kind == ColumnKind::Other)) {
                typed = false;
                continue;
            }
            highest = higherType(highest, valueType(*result));
            results.push_back(result);
        }
        const bool converts = typed && precedence(highest) > precedence(ValueType{ColumnKind::Text, 0, 0});
        if (converts)
            for (Out* result : results)
                *result = convertedTo(*result, highest);
        Out folded{QStringLiteral("CASE")};
        for (Part& part : parts) {
            if (*part.keyword)
                folded.text += QLatin1Char(' ') + QLatin1String(part.keyword);
            if (!part.pieces.empty())
                folded.text += QLatin1Char(' ') + joined(std::move(part.pieces), false).text;
        }
        folded.text += QStringLiteral(" END");
        if (converts)
            giveType(folded, highest);
        else if (typed && highest.kind == ColumnKind::Text)
            folded.type = Type::Text;
        // A text result compares and sorts with the text collation, as a column's value.
        folded.collate = !converts;
        const bool inSelectList = pieces[*open].inSelectList;
        pieces.erase(pieces.begin() + std::ptrdiff_t(*open) + 1, pieces.begin() + std::ptrdiff_t(end) + 1);
        pieces[*open] = Piece{Piece::Operand, std::move(folded), {}, inSelectList};
    }
}

Out Emitter::assigned(const Out& value, const CatalogColumn* target, bool bindable) const
{
    if (!target)
        return value;
    const ColumnKind kind = target->kind;
    bindable = canBind(value, bindable);
    // A number text is the same number where the column's affinity reads it,
    // which a view's triggers need not do.
    const bool numbersBind = bindable && !m_writesView;
    const int precision = kind == ColumnKind::Integer ? target->precision : 0;
    if (value.source == Source::TextLiteral && convertsLiterals(kind)) {
        Out v = converted(convertedLiteral(value.literal, kind, precision), kind);
        if (kind == ColumnKind::Decimal)
            v.text = QStringLiteral("tsql_decimal(%1, %2, %3)")
                         .arg(v.text, QString::number(target->precision), QString::number(target->scale));
        else if (convertsToNumberText(kind) ? numbersBind : bindable)
            bind(v, value.literalIndex, Parameter::Value::Converted, kind, precision);
        return v;
    }
    switch (kind) {
    case ColumnKind::Money:
        if (value.source == Source::NumberLiteral) {
            Out v{moneyLiteralOfNumber(value.literal), Type::Money};
            if (numbersBind)
                bind(v, value.literalIndex, Parameter::Value::Money);
            return v;
        }
        // Stored as SQL Server stores it: rounded to four decimals.
        return Out{QStringLiteral("tsql_money(%1)").arg(moneyArgument(value)), Type::Money};
    case ColumnKind::Decimal:
        return Out{QStringLiteral("tsql_decimal(%1, %2, %3)")
                       .arg(value.text, QString::number(target->precision), QString::number(target->scale)),
                   Type::Number};
    case ColumnKind::DateTime:
        if (value.type == Type::Date)
            return value;
        return Out{QStringLiteral("tsql_datetime(%1, NULL, 0)").arg(value.text), Type::Date};
    case ColumnKind::Integer: {
        // The value must lie within the column's type: a whole number is
        // checked now (and when it is bound), anything else as it is stored;
        // a decimal or a float loses its fraction, money and date-times round.
        if (value.source == Source::NumberLiteral && numberForm(value.literal) == NumberForm::Whole) {
            Out v = value;
            if (bindable)
                bind(v, value.literalIndex, Parameter::Value::Whole, kind, precision);
            else
                wholeNumberWritten(value.literal, precision);
            return v;
        }
        const ValueType given = valueType(value);
        if (value.type == Type::Null ||
            (given.kind == ColumnKind::Integer && precedence(given) <= precedence(ValueType{kind, precision, 0})) ||
            given.kind == ColumnKind::Bit)
            return value;
        const QString number =
            value.type == Type::Date ? QStringLiteral("tsql_date_number(%1)").arg(value.text) : value.text;
        const bool rounds = value.type == Type::Date || value.type == Type::Money;
        return Out{QStringLiteral("tsql_int(%1, %2)")
                       .arg(rounds ? QStringLiteral("tsql_round(%1, 0, 0)").arg(number) : number,
                            QString::number(wholeTypeOfPrecision(precision).bits)),
                   Type::Number,
                   Source::Computed,
                   {},
                   ColumnKind::Integer};
    }
    case ColumnKind::Bit:
        // Any value other than 0 is stored as 1.
        if (value.source == Source::NumberLiteral) {
            Out v{
                convertedLiteral(value.literal, ColumnKind::Bit), Type::Number, Source::Computed, {}, ColumnKind::Bit};
            if (bindable)
                bind(v, value.literalIndex, Parameter::Value::Converted, ColumnKind::Bit);
            return v;
        }
        if (value.type == Type::Null || valueType(value).kind == ColumnKind::Bit)
            return value;
        return Out{QStringLiteral("tsql_bit(%1)").arg(value.text), Type::Number, Source::Computed, {}, ColumnKind::Bit};
    case ColumnKind::Text:
        // A number keeps the digits it was written with.
        if (value.source == Source::NumberLiteral) {
            Out v{quoteText(value.literal), Type::Text};
            if (bindable)
                bind(v, value.literalIndex, Parameter::Value::Text);
            return v;
        }
        break;
    case ColumnKind::Float:
    case ColumnKind::Other:
        break;
    }
    // A literal written as it is.
    Out v = value;
    if (bindable && value.source == Source::TextLiteral) {
        bind(v, value.literalIndex, Parameter::Value::Text);
    } else if (bindable && value.source == Source::NumberLiteral) {
        const NumberForm form = numberForm(value.literal);
        if (form == NumberForm::Whole)
            bind(v, value.literalIndex, Parameter::Value::Whole);
        else if (form == NumberForm::Decimal && numbersBind && numericKind(kind))
            bind(v, value.literalIndex, Parameter::Value::Number);
    }
    return v;
}

void Emitter::markAssignments(std::vector<Piece>& pieces) const
{
    // SET a = ..., b = ... up to WHERE: each "=" after a column at the start of an item.
    bool inSet = false;
    bool itemStart = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        Piece& p = pieces[i];
        if (p.kind == Piece::Keyword && p.word == QLatin1String("SET")) {
            inSet = true;
            itemStart = true;
            continue;
        }
        if (!inSet)
            continue;
        if (p.kind == Piece::Keyword && (p.word == QLatin1String("WHERE") || p.word == QLatin1String("FROM")))
            break;
        if (itemStart && p.kind == Piece::Operand && i + 1 < pieces.size() && pieces[i + 1].kind == Piece::Op &&
            pieces[i + 1].out.text == QLatin1String("="))
            pieces[i + 1].word = QStringLiteral("SET");
        itemStart = p.kind == Piece::Comma;
    }
}

void Emitter::convertAssignments(std::vector<Piece>& pieces)
{
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
        if (pieces[i].kind != Piece::Op || pieces[i].word != QLatin1String("SET"))
            continue;
        const Out& name = pieces[i - 1].out;
        const CatalogColumn* target =
            name.source == Source::Column ? m_names->catalog().column(m_updatedTable, name.literal) : nullptr;
        if (!target) {
            m_unknownTarget = true;
            continue;
        }
        // The value: every piece up to the next item or WHERE, as one.
        std::size_t end = i + 1;
        while (end < pieces.size() && pieces[end].kind != Piece::Comma &&
               !(pieces[end].kind == Piece::Keyword && pieces[end].word == QLatin1String("WHERE")))
            ++end;
        std::vector<Piece> valuePieces(std::make_move_iterator(pieces.begin() + std::ptrdiff_t(i) + 1),
                                       std::make_move_iterator(pieces.begin() + std::ptrdiff_t(end)));
        Out value = assigned(joined(std::move(valuePieces), false), target, true);
        pieces.erase(pieces.begin() + std::ptrdiff_t(i) + 1, pieces.begin() + std::ptrdiff_t(end));
        pieces.insert(pieces.begin() + std::ptrdiff_t(i) + 1, Piece{Piece::Operand, std::move(value), {}});
    }
}

void Emitter::convertInsertedSelect(std::vector<Piece>& pieces) const
{
    const std::vector<std::size_t> selects = memberSelects(pieces);
    // Back to front, so that the ranges before stay valid.
    for (auto select = selects.rbegin(); select != selects.rend(); ++select) {
        const auto items = selectItems(pieces, *select);
        for (std::size_t n = std::min(items.size(), m_insertColumns.size()); n-- > 0;) {
            std::size_t b = items[n].first;
            std::size_t e = items[n].second;
            for (std::size_t k = b; k < e; ++k)
                if (isKeyword(pieces, k, "AS"))
                    e = k; // the alias names nothing here
            std::vector<Piece> value(std::make_move_iterator(pieces.begin() + std::ptrdiff_t(b)),
                                     std::make_move_iterator(pieces.begin() + std::ptrdiff_t(e)));
            Out converted = assigned(joined(std::move(value), false), m_insertColumns[n]);
            pieces.erase(pieces.begin() + std::ptrdiff_t(b), pieces.begin() + std::ptrdiff_t(e));
            pieces.insert(pieces.begin() + std::ptrdiff_t(b), Piece{Piece::Operand, std::move(converted), {}});
        }
    }
}

Out Emitter::valuesRow(const Node& g)
{
    const auto raw = argNodes(g);
    QStringList items;
    for (std::size_t k = 0; k < raw.size(); ++k) {
        const CatalogColumn* target = k < m_insertColumns.size() ? m_insertColumns[k] : nullptr;
        items << joined({Piece{Piece::Operand, assigned(sequence(raw[k]), target, !m_inSelectList), {}}}, false).text;
    }
    return Out{QLatin1Char('(') + items.join(QStringLiteral(", ")) + QLatin1Char(')')};
}

} // namespace platform::db::sqlite::translation
