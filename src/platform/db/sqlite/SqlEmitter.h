#pragma once

#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace platform::db::sqlite::translation {

// What an emitted expression is known to hold, where the text shows it.
enum class Type { Unknown, Text, Number, Date, Null };

// An emitted expression.
struct Out
{
    QString text;
    Type type = Type::Unknown;
};

// One item of a scope while it is emitted, before "+" is resolved.
struct Piece
{
    enum Kind { Operand, Op, Keyword, Comma };
    Kind kind;
    QString text;
    Type type = Type::Unknown;
    QString word; // keywords: upper case
    // A text literal or a computed text: it takes the text collation where
    // it is compared, sorted or grouped, as a column's value would.
    bool collate = false;
};

// Writes nested T-SQL nodes as SQLite text. `collateLiterals` adds the
// text collation to each text literal. Raises the translator's errors for
// what it cannot translate. The walk over a scope is in SqlEmitter.cpp, the
// functions and conversions in SqlEmitterFunctions.cpp, "+" in
// SqlEmitterAdditions.cpp.
class Emitter
{
public:
    explicit Emitter(bool collateLiterals) : m_collate(collateLiterals) {}

    // One scope: a statement or the inside of parentheses. A TOP of a
    // SELECT in this scope becomes a LIMIT at its end. The whole argument of a
    // function that compares nothing (`plainArgument`) needs no collation.
    Out sequence(const std::vector<Node>& seq, bool plainArgument = false);

private:
    static QString nameText(const Node& t) { return t.kind == Tok::Ident ? quoteName(t.text) : t.text; }
    Out group(const Node& g);
    static QString topCount(const std::vector<Node>& seq, std::size_t& i);

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

    static void foldAdditions(std::vector<Piece>& pieces);
    // Adds the text collation to the pieces that take it, and after the END
    // of each CASE.
    void collate(std::vector<Piece>& pieces, bool plainArgument) const;

    bool m_collate;
};

} // namespace platform::db::sqlite::translation
