#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace platform::db::sqlite::translation {

enum class Tok { Word, Ident, String, Number, Op, Comma, Dot, Semicolon, LParen, RParen, Variable, Group };

struct Node
{
    Tok kind = Tok::Word;
    QString text; // Word: as written; Ident: the bare name; String: the content; Op: the operator
    bool newlineBefore = false;
    std::vector<Node> children; // Group: the nodes between ( and )
    // A text or a number of a form SQLite reads exactly (NumberForm): its
    // position among the batch's literals; -1 for any other node.
    int literal = -1;
};

// The tokens of a batch of T-SQL text: comments are dropped, texts and
// bracketed names unquoted, and each token marks whether a line break came
// before it. Raises the translator's errors for an unclosed text, name or
// comment, for the sign # and for a character T-SQL does not use.
std::vector<Node> tokenize(const QString& s);

// The literals of a batch, as tokenize() numbers them, and the batch's text
// with each of them replaced by one character of its kind (1 a text, 2 a
// whole number, 3 a decimal): texts that differ only in their literals have
// the same shape. Raises the errors tokenize() raises.
struct LiteralScan
{
    QString shape;
    std::vector<QString> literals; // a text's content, a number as written
};
struct LiteralPattern;
// `pattern`, when given, receives the batch's text around its literals.
LiteralScan scanLiterals(const QString& s, LiteralPattern* pattern = nullptr);

// How a literal opens: the token before it ends where it ends only while the
// literal opens the same way (a letter N, a digit or a point would join a
// word or a number before it).
enum class LiteralOpening { Quote, PrefixedQuote, Digit, Point, Other };

// A batch's text around its literals, with how each opens and its mark in
// the shape: a later batch of the same text around other literals is read
// without lexing it again.
struct LiteralPattern
{
    struct Literal
    {
        LiteralOpening opening;
        QChar mark;
    };
    QString shape;
    std::vector<QString> segments; // before each literal, and after the last
    std::vector<Literal> openings;
};

// What scanLiterals(s) gives, when `s` is `pattern`'s text around literals
// that open and read as its own did; nullopt for any other text (which
// scanLiterals() reads, or raises the tokenizer's errors for). A literal
// that reads as the one in its place in `earlier` (the literals of an
// earlier text of the pattern) shares its string.
std::optional<LiteralScan> matchLiterals(const LiteralPattern& pattern, const QString& s,
                                         const std::vector<QString>* earlier = nullptr);

// The deepest nesting of parentheses a statement may have; SQLite's own
// parser gives up well before it.
inline constexpr std::size_t kMaxNesting = 64;

// Nests the tokens of one statement into groups between parentheses. Raises
// SQL Server's error 191 at once for nesting deeper than kMaxNesting.
std::vector<Node> nest(const std::vector<Node>& tokens);

// A word's text in upper case; empty for any other node.
QString upper(const Node& n);

// True when `n` is the word `word`, in any case.
bool isWord(const Node& n, const char* word);

// The depth-0 index of the first word `w` at or after `from`, or -1.
int findWord(const std::vector<Node>& nodes, const char* w, std::size_t from = 0);

} // namespace platform::db::sqlite::translation
