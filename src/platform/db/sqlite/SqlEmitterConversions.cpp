// Literals and values meeting columns: SQL Server converts a text literal to
// the type of the column (or typed expression) it is compared with or written
// into, and a value written into a column to the column's type.

#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"

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
    if (v.source == Source::Column && v.column != ColumnKind::Other)
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

void Emitter::bind(Out& out, int literal, Parameter::Value value, ColumnKind kind) const
{
    m_parameters->push_back(Parameter{literal, value, kind});
    out.text = QLatin1Char('?') + QString::number(m_parameters->size());
    out.literalIndex = literal;
    out.bound = true;
}

void Emitter::convertAgainst(const Out& target, Out& literal, bool comparison) const
{
    if (literal.source == Source::TextLiteral && target.source != Source::TextLiteral) {
        const ColumnKind kind = kindOf(target);
        if (convertsLiterals(kind)) {
            const bool bindable =
                canBind(literal, comparison) && (!convertsToNumberText(kind) || target.source == Source::Column);
            const int index = literal.literalIndex;
            literal = converted(convertedLiteral(literal.literal, kind), kind);
            if (bindable)
                bind(literal, index, Parameter::Value::Converted, kind);
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
    } else if (target.type == Type::Date && literal.type == Type::Text && literal.source != Source::TextLiteral) {
        // A text value compared with a date-time is read as one.
        literal = Out{QStringLiteral("tsql_datetime(%1, NULL, 0)").arg(literal.text), Type::Date};
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
        const Out target = pieces[at - 1].out;
        if (p.word == QLatin1String("LIKE")) {
            // SQL Server matches the value's text in its default style ("Apr 15
            // 2024 10:00AM", "104.00"), which the stored value does not show.
            if (target.type == Type::Date)
                refuse(QStringLiteral("LIKE on a date-time value"));
            if (target.type == Type::Money)
                refuse(QStringLiteral("LIKE on a money value"));
            continue;
        }
        const bool comparison = !p.inSelectList;
        if (i + 1 < pieces.size() && pieces[i + 1].kind == Piece::Operand)
            convertAgainst(target, pieces[i + 1].out, comparison);
        if (isKeyword(pieces, i + 2, "AND") && i + 3 < pieces.size() && pieces[i + 3].kind == Piece::Operand)
            convertAgainst(target, pieces[i + 3].out, comparison);
    }
}

Out Emitter::inList(const Node& g, const Out& target)
{
    if (!g.children.empty() && isWord(g.children.front(), "SELECT"))
        return group(g);
    QStringList items;
    for (const auto& a : argNodes(g)) {
        Out item = sequence(a);
        convertAgainst(target, item, !m_inSelectList);
        items << item.text;
    }
    return Out{QLatin1Char('(') + items.join(QStringLiteral(", ")) + QLatin1Char(')')};
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
    if (value.source == Source::TextLiteral && convertsLiterals(kind)) {
        Out v = converted(convertedLiteral(value.literal, kind), kind);
        if (kind == ColumnKind::Decimal)
            v.text = QStringLiteral("tsql_decimal(%1, %2, %3)").arg(v.text).arg(target->precision).arg(target->scale);
        else if (convertsToNumberText(kind) ? numbersBind : bindable)
            bind(v, value.literalIndex, Parameter::Value::Converted, kind);
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
        return Out{QStringLiteral("tsql_decimal(%1, %2, %3)").arg(value.text).arg(target->precision).arg(target->scale),
                   Type::Number};
    case ColumnKind::DateTime:
        if (value.type == Type::Date)
            return value;
        return Out{QStringLiteral("tsql_datetime(%1, NULL, 0)").arg(value.text), Type::Date};
    case ColumnKind::Integer:
        // A decimal loses its fraction.
        if (value.source == Source::NumberLiteral && value.literal.contains(QLatin1Char('.')))
            return Out{QStringLiteral("tsql_int(%1, 64)").arg(value.text), Type::Number};
        break;
    case ColumnKind::Text:
        // A number keeps the digits it was written with.
        if (value.source == Source::NumberLiteral) {
            Out v{quoteText(value.literal), Type::Text};
            if (bindable)
                bind(v, value.literalIndex, Parameter::Value::Text);
            return v;
        }
        break;
    case ColumnKind::Bit:
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
    std::size_t select = 0;
    while (select < pieces.size() && !isKeyword(pieces, select, "SELECT"))
        ++select;
    if (select == pieces.size())
        return;
    const auto items = selectItems(pieces, select);
    // Back to front, so that the ranges before stay valid.
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
