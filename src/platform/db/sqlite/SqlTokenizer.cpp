#include "platform/db/sqlite/SqlTokenizer.h"

#include "platform/db/sqlite/SqlTranslationErrors.h"

#include <QStringList>

namespace platform::db::sqlite::translation {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('@');
}

} // namespace

std::vector<Node> tokenize(const QString& s)
{
    std::vector<Node> out;
    bool newline = false;
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto push = [&](Tok kind, QString text) {
        out.push_back(Node{kind, std::move(text), newline, {}});
        newline = false;
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
            if (c != QLatin1Char('\''))
                ++i;
            QString text;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n)
                    syntaxError(
                        QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(i + 1)));
                if (s[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && s[j + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += s[j++];
            }
            push(Tok::String, text);
            i = j + 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            // A quoted name; its closing mark doubled stands for itself.
            const QChar close = c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']');
            QString name;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n)
                    syntaxError(
                        QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(i + 1)));
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close) {
                        name += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                name += s[j++];
            }
            push(Tok::Ident, name);
            i = j + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            qsizetype j = i;
            if (c == QLatin1Char('0') && i + 1 < n && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
                j += 2;
                while (j < n && isxdigit(s[j].toLatin1()))
                    ++j;
            } else {
                while (j < n && s[j].isDigit())
                    ++j;
                if (j < n && s[j] == QLatin1Char('.'))
                    for (++j; j < n && s[j].isDigit();)
                        ++j;
                if (j + 1 < n && (s[j] == QLatin1Char('e') || s[j] == QLatin1Char('E')) &&
                    (s[j + 1].isDigit() || ((s[j + 1] == QLatin1Char('+') || s[j + 1] == QLatin1Char('-')) &&
                                            j + 2 < n && s[j + 2].isDigit()))) {
                    j += 2;
                    while (j < n && s[j].isDigit())
                        ++j;
                }
            }
            push(Tok::Number, s.mid(i, j - i));
            i = j;
        } else if (c == QLatin1Char('#')) {
            refuse(QStringLiteral("the sign # (Access date literals, temporary tables)"));
        } else if (c == QLatin1Char('@')) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(s[j]))
                ++j;
            push(Tok::Variable, s.mid(i, j - i));
            i = j;
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(s[j]))
                ++j;
            push(Tok::Word, s.mid(i, j - i));
            i = j;
        } else if (c == QLatin1Char('(')) {
            push(Tok::LParen, QStringLiteral("("));
            ++i;
        } else if (c == QLatin1Char(')')) {
            push(Tok::RParen, QStringLiteral(")"));
            ++i;
        } else if (c == QLatin1Char(',')) {
            push(Tok::Comma, QStringLiteral(","));
            ++i;
        } else if (c == QLatin1Char(';')) {
            push(Tok::Semicolon, QStringLiteral(";"));
            ++i;
        } else if (c == QLatin1Char('.')) {
            push(Tok::Dot, QStringLiteral("."));
            ++i;
        } else {
            static const QStringList twoChar = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">="),
                                                QStringLiteral("!="), QStringLiteral("!<"), QStringLiteral("!>")};
            const QString two = s.mid(i, 2);
            if (twoChar.contains(two)) {
                push(Tok::Op, two == QLatin1String("!<")   ? QStringLiteral(">=")
                              : two == QLatin1String("!>") ? QStringLiteral("<=")
                                                           : two);
                i += 2;
            } else if (QStringLiteral("+-*/%=<>&|^~").contains(c)) {
                push(Tok::Op, QString(c));
                ++i;
            } else {
                syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(c));
            }
        }
    }
    return out;
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
