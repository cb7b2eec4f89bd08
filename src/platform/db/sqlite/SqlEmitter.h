#pragma once

#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlCatalog.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlStatementScope.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace platform::db::sqlite::translation {

// What an emitted expression is known to hold, where the statement or the
// catalogue shows it.
enum class Type { Unknown, Text, Number, Money, Date, Null };

// Where an emitted expression comes from, for the conversions its context
// asks for (a literal takes the type of the column it meets).
enum class Source { Computed, TextLiteral, NumberLiteral, Column };

// An emitted expression.
struct Out
{
    Out() = default;
    Out(QString t, Type ty = Type::Unknown) : text(std::move(t)), type(ty) {}
    Out(QString t, Type ty, Source from, QString as, ColumnKind kind = ColumnKind::Other, bool collated = false)
        : text(std::move(t)), type(ty), source(from), literal(std::move(as)), column(kind), collate(collated)
    {
    }

    QString text;
    Type type = Type::Unknown;
    Source source = Source::Computed;
    QString literal;                       // a literal as written; a column's name
    ColumnKind column = ColumnKind::Other; // a column's declared kind
    // A text literal or a computed text: it takes the text collation where it
    // is compared, sorted or grouped, as a column's value would.
    bool collate = false;
    // A literal: its position in the batch (Node::literal); -1 for anything else.
    int literalIndex = -1;
    // The literal became a parameter (`text` is its mark).
    bool bound = false;
    // A conversion to a character type: a text also where it reads as a date-time.
    bool convertedText = false;
    // A decimal's scale (its digits after the point, which its text shows); -1 unknown.
    int scale = -1;
    // The expression is a flat chain of one operator, "||" or a money
    // function's name, whose last operand ends its text just before the
    // closing parenthesis: one more operand of that operator joins it there.
    const char* chain = nullptr;
};

// One item of a scope while it is emitted.
struct Piece
{
    enum Kind { Operand, Op, Keyword, Comma };
    Kind kind;
    Out out;      // the text of every piece; all of an operand
    QString word; // keywords: upper case; "=" of an assignment: "SET"
    // The piece stands in a select list (its scope's or an enclosing one's).
    bool inSelectList = false;
};

// Writes nested T-SQL nodes as SQLite text. `collateLiterals` gives text
// literals the text collation. With a name scope, columns take the kinds the
// catalogue declares and literals are converted where SQL Server converts
// them. With `parameters`, a literal compared with or written into a column
// (outside select lists) becomes a parameter ?n, n its position in
// `parameters`, where the value SQLite would read from the literal is the
// same bound (a text, a whole number, or a number text that the column's
// numeric affinity reads). Raises the translator's errors for what it cannot translate. The walk
// over a scope is in SqlEmitter.cpp, functions and conversions in
// SqlEmitterFunctions.cpp, arithmetic in SqlEmitterArithmetic.cpp, literals
// meeting columns in SqlEmitterConversions.cpp, the select list in
// SqlEmitterSelectList.cpp.
class Emitter
{
public:
    Emitter(bool collateLiterals, NameScope* names, std::vector<Parameter>* parameters = nullptr)
        : m_collate(collateLiterals), m_names(names), m_parameters(parameters)
    {
    }

    // One scope: a statement or the inside of parentheses. A TOP of a SELECT
    // in this scope, or its OFFSET ... FETCH, becomes a LIMIT at its end. The
    // whole argument of a function that compares nothing (`plainArgument`)
    // needs no collation.
    Out sequence(const std::vector<Node>& seq, bool plainArgument = false);

    // The statement's own scope writes these columns: the columns of an
    // INSERT's value rows, in order, or the table of an UPDATE's SET.
    void setInsertColumns(std::vector<const CatalogColumn*> columns) { m_insertColumns = std::move(columns); }
    void setUpdatedTable(const QString& table) { m_updatedTable = table; }
    // The table written is a view: its columns' values pass through its
    // triggers, so only texts and whole numbers are bound for them.
    void setWritesView(bool view) { m_writesView = view; }

    // The ADO types of the first SELECT's result columns that their values
    // cannot show (money, date-times); adEmpty where the values tell.
    const std::vector<DataTypeEnum>& resultTypes() const { return m_resultTypes; }
    // The statement writes a column the catalogue does not hold.
    bool unknownTarget() const { return m_unknownTarget; }

private:
    static QString nameText(const Node& t) { return t.kind == Tok::Ident ? quoteName(t.text) : t.text; }
    Out group(const Node& g);
    // A column reference written `text`; `qualifier` the part before its `name`.
    Out column(const QString& text, const QString& qualifier, const QString& name, bool qualified) const;
    static QString topCount(const std::vector<Node>& seq, std::size_t& i);
    static QString offsetFetch(const std::vector<Node>& seq, std::size_t& i);
    // Joins the pieces of a scope, with their collation.
    Out joined(std::vector<Piece> pieces, bool plainArgument) const;

    // SqlEmitterFunctions.cpp
    static bool isFunction(const QString& u);
    std::vector<std::vector<Node>> argNodes(const Node& g);
    // The arguments of a call; `compares` when the function compares them
    // (NULLIF), so that they keep the text collation.
    std::vector<Out> args(const Node& g, std::size_t expected, const QString& name, bool compares = false);
    static QString call(const char* name, const std::vector<Out>& a);
    static Out datePartArg(const std::vector<Node>& a);
    Out datePartCall(const char* fn, const Node& g, std::size_t count, Type type, const QString& name);
    Out conversion(const std::vector<Node>& typeNodes, const Out& value, const std::optional<Out>& style,
                   const QString& construct);
    Out function(const QString& u, const Node& g);

    // SqlEmitterArithmetic.cpp: * / % + - folded into single operands.
    static void foldArithmetic(std::vector<Piece>& pieces);

    // SqlEmitterConversions.cpp
    // A literal meeting `target` takes its type; in a `comparison` it may
    // become a parameter.
    void convertAgainst(const Out& target, Out& literal, bool comparison = false) const;
    void convertComparisons(std::vector<Piece>& pieces) const;
    // The value written into a column, as SQL Server converts it there; a
    // literal `bindable` there may become a parameter.
    Out assigned(const Out& value, const CatalogColumn* target, bool bindable = false) const;
    // Whether `literal` may become a parameter where it stands.
    bool canBind(const Out& literal, bool where) const;
    // Makes `out` (the value of the literal at `literal`) the next parameter.
    void bind(Out& out, int literal, Parameter::Value value, ColumnKind kind = ColumnKind::Other) const;
    // UPDATE ... SET column = value, ...: the values converted for their columns.
    void convertAssignments(std::vector<Piece>& pieces);
    void markAssignments(std::vector<Piece>& pieces) const;
    // ( v1, v2, ... ) of an INSERT's VALUES.
    Out valuesRow(const Node& g);
    // INSERT ... SELECT v1, v2, ...: the values converted for their columns.
    void convertInsertedSelect(std::vector<Piece>& pieces) const;
    // x IN ( literal, ... ): the literals take x's type.
    Out inList(const Node& g, const Out& target);

    // SqlEmitterSelectList.cpp
    // 'alias' = expr, alias = expr, expr AS 'alias', expr 'alias' in the
    // select lists of a scope (a derived table's and a UNION's members too);
    // with `nameUnnamed` (the statement's first SELECT) its unnamed columns
    // named "" as SQL Server leaves them.
    void nameSelectList(std::vector<Piece>& pieces, bool nameUnnamed) const;
    void recordResultTypes(const std::vector<Piece>& pieces);

    bool m_collate;
    NameScope* m_names;
    std::vector<Parameter>* m_parameters;
    int m_depth = 0; // 0: the statement's own scope
    // The scope being walked stands in a select list.
    bool m_inSelectList = false;
    std::vector<const CatalogColumn*> m_insertColumns;
    QString m_updatedTable;
    bool m_writesView = false;
    std::vector<DataTypeEnum> m_resultTypes;
    bool m_unknownTarget = false;
};

// The type a column of `kind` gives its values.
Type typeOfKind(ColumnKind kind);

// A value as an argument of the money functions (numeric literals as written).
QString moneyArgument(const Out& value);

// The [begin, end) ranges of the items of the SELECT whose keyword is at `select`.
std::vector<std::pair<std::size_t, std::size_t>> selectItems(const std::vector<Piece>& pieces, std::size_t select);

} // namespace platform::db::sqlite::translation
