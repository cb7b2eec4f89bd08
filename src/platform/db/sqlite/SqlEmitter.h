#pragma once

#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlCatalog.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlStatementScope.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <utility>
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
    // A decimal's scale (its digits after the point, which its text shows); -1 unknown.
    int scale = -1;
    // A decimal's precision, or a whole number's (3 tinyint, 5 smallint, 10
    // int, 19 bigint); 0 unknown.
    int precision = 0;
    // SQL Server's type of the value ("decimal(14,2)", "varchar(10)") where a
    // conversion, arithmetic or the meeting of types fixes it; empty elsewhere.
    QString declared;
    // The expression is a flat chain: "||", or the name of a function that
    // folds its operands and their steps from the left, whose last step ends
    // its text just before the closing parenthesis: one more operand of that
    // operator joins it there. Any other text of the value clears it.
    const char* chain = nullptr;
    // The arguments of the chain's function.
    int chainArguments = 0;
};

// SQL Server's type of a value, as far as the statement shows it: a kind
// (Other where it does not show), with a decimal's precision and scale and a
// whole number's precision (as Out::precision).
struct ValueType
{
    ColumnKind kind = ColumnKind::Other;
    int precision = 0;
    int scale = 0;
};

// The type of an emitted value: a column's, a literal's (a whole number
// within 32 bits is an int, beyond it a decimal; 1.50 a decimal(3,2); 1e0 a
// float), a conversion's or a computation's.
ValueType valueType(const Out& v);
// SQL Server's data-type precedence: datetime > float > decimal > money >
// bigint > int > smallint > tinyint > bit > texts; 0 for an unknown type.
int precedence(const ValueType& t);
// The type of higher precedence (`a` when they are equal), decimals widened
// to hold both, as UNION, CASE and COALESCE widen them.
ValueType higherType(const ValueType& a, const ValueType& b);
// The precision and scale of a value of type `t` taken as a decimal (money
// is decimal(19,4), an int decimal(10,0), a bit decimal(1,0)).
std::pair<int, int> decimalDigits(const ValueType& t);
// The declared type that describes `t` ("int", "decimal(14,2)"); empty for
// texts and unknown types.
QString declaredType(const ValueType& t);
// SCOPE_IDENTITY() (`scoped`) or @@IDENTITY: the batch's or the session's
// last identity, a numeric(38,0) as SQL Server types both.
Out identity(bool scoped);
// Marks `v` as holding a value of type `t` (its type, kind, precision, scale
// and declared type), without converting it.
void giveType(Out& v, const ValueType& t);
// The SQL that converts `v` to `t` as CONVERT would.
QString convertedAtRunTime(const Out& v, const ValueType& t);
// `v` meeting a value of type `t` where `t` has the higher precedence: a
// text literal read as `t` now (or, when it does not convert, where it is
// evaluated), a text value converted at run time, a number taken as days
// after 1900-01-01 for a date-time; numbers meet other numbers as they are.
// Typed as `t`; `v` itself where `t` is not the higher.
Out convertedTo(const Out& v, const ValueType& t);

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

    // The declared types of the first SELECT's result columns where the
    // statement shows SQL Server's type (a conversion, arithmetic, money,
    // date-times); empty where the values tell.
    const std::vector<QString>& resultTypes() const { return m_resultTypes; }
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
    // Two values compared: the one of lower precedence converts to the
    // other's type where it is a text value (not a literal) or a number
    // meeting a date-time.
    static void meet(Out& a, Out& b);
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
    void bind(Out& out, int literal, Parameter::Value value, ColumnKind kind = ColumnKind::Other,
              int precision = 0) const;
    // UPDATE ... SET column = value, ...: the values converted for their columns.
    void convertAssignments(std::vector<Piece>& pieces);
    void markAssignments(std::vector<Piece>& pieces) const;
    // ( v1, v2, ... ) of an INSERT's VALUES.
    Out valuesRow(const Node& g);
    // INSERT ... SELECT v1, v2, ... [UNION ALL SELECT ...]: the values of
    // every SELECT converted for their columns.
    void convertInsertedSelect(std::vector<Piece>& pieces) const;
    // CASE ... END, innermost first, folded into one operand of the type of
    // highest precedence among its results.
    void foldCases(std::vector<Piece>& pieces);
    // `x` and `values` meeting as in x IN (v1, ...) or a simple CASE: they
    // take the type of highest precedence among them; the values are
    // compared with x, texts bound where `comparison` allows.
    void meetList(Out& x, const std::vector<Out*>& values, bool comparison) const;
    // The SELECTs of a scope joined by UNION, EXCEPT or INTERSECT: each
    // column takes the type of highest precedence among its members (and
    // `outer`, the value an IN sub-query's column meets). Returns the first
    // column's type where they meet something (unknown otherwise).
    ValueType unifyMembers(std::vector<Piece>& pieces, const std::optional<ValueType>& outer) const;
    // x IN ( v1, ... ) and x IN (SELECT ...): x and the values take the type
    // of highest precedence among them.
    Out inList(const Node& g, Out& target);

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
    std::vector<QString> m_resultTypes;
    bool m_unknownTarget = false;
    // The type an IN sub-query's column meets, for the scope emitted next.
    std::optional<ValueType> m_memberTarget;
    // The type of the column of the last IN sub-query emitted.
    ValueType m_firstColumn;
};

// The type a column of `kind` gives its values.
Type typeOfKind(ColumnKind kind);

// A value as an argument of the money functions (numeric literals as written).
QString moneyArgument(const Out& value);

// The [begin, end) ranges of the items of the SELECT whose keyword is at `select`.
std::vector<std::pair<std::size_t, std::size_t>> selectItems(const std::vector<Piece>& pieces, std::size_t select);

} // namespace platform::db::sqlite::translation
