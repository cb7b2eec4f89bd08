#include "platform/db/sqlite/SqlTokenizer.h"

#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTranslationErrors.h"

#include <QVarLengthArray>

#include <algorithm>

namespace platform::db::sqlite::translation {

namespace {

// ASCII first: the words of a statement are nearly always ASCII.
bool isWordStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
    return c.isLetter();
}

bool isWordPart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
               u == u'$' || u == u'@';
    return c.isLetterOrNumber();
}

} // namespace

namespace {

// The text between the marks of a quoted token at [begin, end) (an N before
// a text's apostrophe included), its doubled closing mark standing for itself.
QString unquoted(const QString& s, qsizetype begin, qsizetype end)
{
    if (s[begin] == QLatin1Char('N') || s[begin] == QLatin1Char('n'))
        ++begin;
    const QChar close = s[begin] == QLatin1Char('[') ? QLatin1Char(']') : s[begin];
    const QStringView inner = QStringView(s).mid(begin + 1, end - begin - 2);
    if (!inner.contains(close))
        return inner.toString();
    QString text;
    text.reserve(end - begin - 2);
    for (qsizetype j = begin + 1; j < end - 1; ++j) {
        text += s[j];
        if (s[j] == close)
            ++j;
    }
    return text;
}

// Where a text or a quoted name that opens at `open` (its mark) ends: after
// its closing mark; -1 when it is not closed.
qsizetype closedEnd(const QString& s, qsizetype open, QChar close)
{
    const qsizetype n = s.size();
    for (qsizetype j = open + 1; j < n; ++j) {
        if (s[j] == close) {
            if (j + 1 < n && s[j + 1] == close) {
                ++j;
                continue;
            }
            return j + 1;
        }
    }
    return -1;
}

// The same, raising the error of an unclosed one.
qsizetype quotedEnd(const QString& s, qsizetype open, QChar close)
{
    const qsizetype end = closedEnd(s, open, close);
    if (end < 0)
        syntaxError(QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(open + 1)));
    return end;
}

// Where the number that starts at `i` (a digit, or a point before a digit) ends.
qsizetype numberEnd(const QString& s, qsizetype i)
{
    const qsizetype n = s.size();
    qsizetype j = i;
    if (s[i] == QLatin1Char('0') && i + 1 < n && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        j += 2;
        while (j < n && isxdigit(static_cast<unsigned char>(s[j].toLatin1())))
            ++j;
        return j;
    }
    while (j < n && s[j].isDigit())
        ++j;
    if (j < n && s[j] == QLatin1Char('.'))
        for (++j; j < n && s[j].isDigit();)
            ++j;
    if (j + 1 < n && (s[j] == QLatin1Char('e') || s[j] == QLatin1Char('E')) &&
        (s[j + 1].isDigit() ||
         ((s[j + 1] == QLatin1Char('+') || s[j + 1] == QLatin1Char('-')) && j + 2 < n && s[j + 2].isDigit()))) {
        j += 2;
        while (j < n && s[j].isDigit())
            ++j;
    }
    return j;
}

// Walks the tokens of `s`: sink(kind, begin, end, newline before) for each,
// [begin, end) its span in `s`. Raises the tokenizer's errors.
template <typename Sink> void lex(const QString& s, Sink&& sink)
{
    bool newline = false;
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto push = [&](Tok kind, qsizetype begin, qsizetype end) {
        sink(kind, begin, end, newline);
        newline = false;
        i = end;
    };
    while (i < n) {
        const QChar c = s[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            newline = true;
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\r') && s[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                syntaxError(QStringLiteral("Missing end comment mark '*/'."));
            if (s.mid(i, end - i).contains(QLatin1Char('\n')) || s.mid(i, end - i).contains(QLatin1Char('\r')))
                newline = true;
            i = end + 2;
        } else if (c == QLatin1Char('\'') ||
                   ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n && s[i + 1] == QLatin1Char('\''))) {
            push(Tok::String, i, quotedEnd(s, c == QLatin1Char('\'') ? i : i + 1, QLatin1Char('\'')));
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            // A quoted name; its closing mark doubled stands for itself.
            push(Tok::Ident, i, quotedEnd(s, i, c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']')));
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            push(Tok::Number, i, numberEnd(s, i));
        } else if (c == QLatin1Char('#')) {
            refuse(QStringLiteral("the sign # (Access date literals, temporary tables)"));
        } else if (c == QLatin1Char('@')) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(s[j]))
                ++j;
            push(Tok::Variable, i, j);
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(s[j]))
                ++j;
            push(Tok::Word, i, j);
        } else if (c == QLatin1Char('(')) {
            push(Tok::LParen, i, i + 1);
        } else if (c == QLatin1Char(')')) {
            push(Tok::RParen, i, i + 1);
        } else if (c == QLatin1Char(',')) {
            push(Tok::Comma, i, i + 1);
        } else if (c == QLatin1Char(';')) {
            push(Tok::Semicolon, i, i + 1);
        } else if (c == QLatin1Char('.')) {
            push(Tok::Dot, i, i + 1);
        } else {
            const QChar next = i + 1 < n ? s[i + 1] : QChar();
            const bool two = (next == QLatin1Char('>') && (c == QLatin1Char('<') || c == QLatin1Char('!'))) ||
                             (next == QLatin1Char('=') &&
                              (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!'))) ||
                             (next == QLatin1Char('<') && c == QLatin1Char('!'));
            if (two)
                push(Tok::Op, i, i + 2);
            else if (QStringLiteral("+-*/%=<>&|^~").contains(c))
                push(Tok::Op, i, i + 1);
            else
                syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(c));
        }
    }
}

// The text of a token as Node keeps it.
QString tokenText(const QString& s, Tok kind, qsizetype begin, qsizetype end)
{
    switch (kind) {
    case Tok::String:
    case Tok::Ident:
        return unquoted(s, begin, end);
    case Tok::Op: {
        const QStringView op = QStringView(s).mid(begin, end - begin);
        if (op == u"!<")
            return QStringLiteral(">=");
        if (op == u"!>")
            return QStringLiteral("<=");
        return op.toString();
    }
    default:
        return s.mid(begin, end - begin);
    }
}

// The literals a statement's values can take the place of: texts, and
// numbers of the forms SQLite reads as this system writes them.
bool isValueLiteral(const QString& s, Tok kind, qsizetype begin, qsizetype end)
{
    return kind == Tok::String ||
           (kind == Tok::Number && numberForm(QStringView(s).mid(begin, end - begin)) != NumberForm::Other);
}

// How the token at `i` opens, as far as it can be a literal.
LiteralOpening openingOf(const QString& s, qsizetype i)
{
    const QChar c = s[i];
    const bool more = i + 1 < s.size();
    if (c == QLatin1Char('\''))
        return LiteralOpening::Quote;
    if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && more && s[i + 1] == QLatin1Char('\''))
        return LiteralOpening::PrefixedQuote;
    if (c.isDigit())
        return LiteralOpening::Digit;
    if (c == QLatin1Char('.') && more && s[i + 1].isDigit())
        return LiteralOpening::Point;
    return LiteralOpening::Other;
}

} // namespace

std::vector<Node> tokenize(const QString& s)
{
    std::vector<Node> out;
    int literals = 0;
    lex(s, [&](Tok kind, qsizetype begin, qsizetype end, bool newline) {
        out.push_back(Node{kind, tokenText(s, kind, begin, end), newline, {}});
        if (isValueLiteral(s, kind, begin, end))
            out.back().literal = literals++;
    });
    return out;
}

LiteralScan scanLiterals(const QString& s, LiteralPattern* pattern)
{
    LiteralScan scan;
    scan.shape.reserve(s.size());
    qsizetype copied = 0;
    lex(s, [&](Tok kind, qsizetype begin, qsizetype end, bool) {
        if (!isValueLiteral(s, kind, begin, end))
            return;
        scan.shape.append(QStringView(s).mid(copied, begin - copied));
        const bool text = kind == Tok::String;
        const QString value = text ? unquoted(s, begin, end) : s.mid(begin, end - begin);
        const QChar mark = text ? QChar(1) : numberForm(value) == NumberForm::Whole ? QChar(2) : QChar(3);
        scan.shape.append(mark);
        scan.literals.push_back(value);
        if (pattern) {
            pattern->segments.push_back(s.mid(copied, begin - copied));
            pattern->openings.push_back({openingOf(s, begin), mark});
        }
        copied = end;
    });
    scan.shape.append(QStringView(s).mid(copied));
    if (pattern) {
        pattern->segments.push_back(s.mid(copied));
        pattern->shape = scan.shape;
    }
    return scan;
}

std::optional<LiteralScan> matchLiterals(const LiteralPattern& pattern, const QString& s,
                                         const std::vector<QString>* earlier)
{
    // The text around the literals is the pattern's own, so it lexes as it
    // did; each literal opens as the pattern's did, so the token before it
    // ends where it ended, and is lexed by the lexer's own rules, so it ends
    // where lex() would end it. Anything else is left to scanLiterals().
    // The literals are taken out once the whole text is known to match.
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 16> spans;
    const qsizetype n = s.size();
    qsizetype at = 0;
    for (std::size_t i = 0; i < pattern.openings.size(); ++i) {
        const QString& segment = pattern.segments[i];
        if (n - at < segment.size() || QStringView(s).mid(at, segment.size()) != segment)
            return std::nullopt;
        at += segment.size();
        if (at >= n || openingOf(s, at) != pattern.openings[i].opening)
            return std::nullopt;
        qsizetype end = -1;
        switch (pattern.openings[i].opening) {
        case LiteralOpening::Quote:
            end = closedEnd(s, at, QLatin1Char('\''));
            break;
        case LiteralOpening::PrefixedQuote:
            end = closedEnd(s, at + 1, QLatin1Char('\''));
            break;
        case LiteralOpening::Digit:
        case LiteralOpening::Point:
            end = numberEnd(s, at);
            break;
        case LiteralOpening::Other:
            break;
        }
        if (end < 0)
            return std::nullopt;
        if (pattern.openings[i].mark != QChar(1)) {
            const NumberForm form = numberForm(QStringView(s).mid(at, end - at));
            if (form == NumberForm::Other || (form == NumberForm::Whole) != (pattern.openings[i].mark == QChar(2)))
                return std::nullopt;
        }
        spans.append({at, end});
        at = end;
    }
    if (QStringView(s).mid(at) != pattern.segments.back())
        return std::nullopt;
    LiteralScan scan;
    scan.shape = pattern.shape;
    scan.literals.reserve(std::size_t(spans.size()));
    for (qsizetype i = 0; i < spans.size(); ++i) {
        const auto [begin, end] = spans[i];
        const bool text = pattern.openings[std::size_t(i)].mark == QChar(1);
        // A text's content as written: its value unless it doubles an apostrophe.
        const qsizetype open = pattern.openings[std::size_t(i)].opening == LiteralOpening::PrefixedQuote ? 1 : 0;
        const QStringView written = text ? QStringView(s).mid(begin + open + 1, end - begin - open - 2)
                                         : QStringView(s).mid(begin, end - begin);
        const bool plain = !text || std::find(written.begin(), written.end(), u'\'') == written.end();
        if (plain && earlier && std::size_t(i) < earlier->size() && (*earlier)[std::size_t(i)] == written)
            scan.literals.push_back((*earlier)[std::size_t(i)]);
        else
            scan.literals.push_back(plain ? written.toString() : unquoted(s, begin, end));
    }
    return scan;
}

std::vector<Node> nest(const std::vector<Node>& tokens)
{
    std::vector<std::vector<Node>> stack(1);
    std::vector<bool> newlines;
    for (const Node& t : tokens) {
        if (t.kind == Tok::LParen) {
            // Refused before anything deeper is built: every later step walks the nesting.
            if (newlines.size() >= kMaxNesting)
                serverFailure(serverError::NestedTooDeeply);
            stack.emplace_back();
            newlines.push_back(t.newlineBefore);
        } else if (t.kind == Tok::RParen) {
            if (stack.size() == 1)
                syntaxError(QStringLiteral("Incorrect syntax near ')'."));
            Node group{Tok::Group, {}, newlines.back(), std::move(stack.back())};
            newlines.pop_back();
            stack.pop_back();
            stack.back().push_back(std::move(group));
        } else {
            stack.back().push_back(t);
        }
    }
    if (stack.size() != 1)
        syntaxError(QStringLiteral("Incorrect syntax: a '(' is not closed."));
    return std::move(stack.front());
}

QString upper(const Node& n)
{
    return n.kind == Tok::Word ? n.text.toUpper() : QString();
}

bool isWord(const Node& n, const char* word)
{
    return n.kind == Tok::Word && n.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

int findWord(const std::vector<Node>& nodes, const char* w, std::size_t from)
{
    for (std::size_t k = from; k < nodes.size(); ++k)
        if (isWord(nodes[k], w))
            return int(k);
    return -1;
}

} // namespace platform::db::sqlite::translation
