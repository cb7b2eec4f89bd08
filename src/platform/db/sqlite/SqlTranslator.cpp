#include "platform/db/sqlite/SqlTranslator.h"

#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace platform::db::sqlite {

namespace {

// ---------------------------------------------------------------- errors

[[noreturn]] void refuse(const QString& construct)
{
    throw DbError(
        adErr::Syntax,
        QStringLiteral("The embedded data base cannot run this statement: %1 is not supported.").arg(construct),
        QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
}

[[noreturn]] void syntaxError(const QString& description)
{
    throw DbError(adErr::Syntax, description, QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
}

// ---------------------------------------------------------------- tokens

enum class Tok { Word, Ident, String, Number, Op, Comma, Dot, Semicolon, LParen, RParen, Variable, Group };

struct Node
{
    Tok kind = Tok::Word;
    QString text; // Word: as written; Ident: the bare name; String: the content; Op: the operator
    bool newlineBefore = false;
    std::vector<Node> children; // Group: the nodes between ( and )
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('@');
}

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
        } else if (c == QLatin1Char('[')) {
            QString name;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n)
                    syntaxError(
                        QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(i + 1)));
                if (s[j] == QLatin1Char(']')) {
                    if (j + 1 < n && s[j + 1] == QLatin1Char(']')) {
                        name += QLatin1Char(']');
                        j += 2;
                        continue;
                    }
                    break;
                }
                name += s[j++];
            }
            push(Tok::Ident, name);
            i = j + 1;
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = s.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0)
                syntaxError(
                    QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(i + 1)));
            push(Tok::Ident, s.mid(i + 1, end - i - 1));
            i = end + 1;
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

// Nests the tokens of one statement into groups between parentheses.
std::vector<Node> nest(const std::vector<Node>& tokens)
{
    std::vector<std::vector<Node>> stack(1);
    std::vector<bool> newlines;
    for (const Node& t : tokens) {
        if (t.kind == Tok::LParen) {
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

const QSet<QString>& statementKeywords()
{
    static const QSet<QString> set = {
        QStringLiteral("SELECT"),   QStringLiteral("INSERT"),   QStringLiteral("UPDATE"),    QStringLiteral("DELETE"),
        QStringLiteral("CREATE"),   QStringLiteral("DROP"),     QStringLiteral("ALTER"),     QStringLiteral("BEGIN"),
        QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"), QStringLiteral("IF"),        QStringLiteral("SET"),
        QStringLiteral("USE"),      QStringLiteral("EXEC"),     QStringLiteral("EXECUTE"),   QStringLiteral("DECLARE"),
        QStringLiteral("TRUNCATE"), QStringLiteral("PRINT"),    QStringLiteral("GO"),        QStringLiteral("SAVE"),
        QStringLiteral("GRANT"),    QStringLiteral("MERGE"),    QStringLiteral("RAISERROR"), QStringLiteral("RETURN"),
    };
    return set;
}

const QSet<QString>& keywords()
{
    static const QSet<QString> set = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),       QStringLiteral("WHERE"),      QStringLiteral("AND"),
        QStringLiteral("OR"),     QStringLiteral("NOT"),        QStringLiteral("IS"),         QStringLiteral("IN"),
        QStringLiteral("LIKE"),   QStringLiteral("BETWEEN"),    QStringLiteral("AS"),         QStringLiteral("ON"),
        QStringLiteral("JOIN"),   QStringLiteral("INNER"),      QStringLiteral("LEFT"),       QStringLiteral("RIGHT"),
        QStringLiteral("OUTER"),  QStringLiteral("CROSS"),      QStringLiteral("FULL"),       QStringLiteral("GROUP"),
        QStringLiteral("BY"),     QStringLiteral("ORDER"),      QStringLiteral("HAVING"),     QStringLiteral("UNION"),
        QStringLiteral("ALL"),    QStringLiteral("DISTINCT"),   QStringLiteral("CASE"),       QStringLiteral("WHEN"),
        QStringLiteral("THEN"),   QStringLiteral("ELSE"),       QStringLiteral("END"),        QStringLiteral("ASC"),
        QStringLiteral("DESC"),   QStringLiteral("INTO"),       QStringLiteral("VALUES"),     QStringLiteral("SET"),
        QStringLiteral("UPDATE"), QStringLiteral("DELETE"),     QStringLiteral("INSERT"),     QStringLiteral("TOP"),
        QStringLiteral("WITH"),   QStringLiteral("EXISTS"),     QStringLiteral("ESCAPE"),     QStringLiteral("CREATE"),
        QStringLiteral("VIEW"),   QStringLiteral("DROP"),       QStringLiteral("TABLE"),      QStringLiteral("ALTER"),
        QStringLiteral("ADD"),    QStringLiteral("CONSTRAINT"), QStringLiteral("DEFAULT"),    QStringLiteral("PRIMARY"),
        QStringLiteral("KEY"),    QStringLiteral("EXCEPT"),     QStringLiteral("INTERSECT"),  QStringLiteral("COLLATE"),
        QStringLiteral("CHECK"),  QStringLiteral("UNIQUE"),     QStringLiteral("REFERENCES"), QStringLiteral("FOREIGN"),
        QStringLiteral("INDEX"),  QStringLiteral("PERCENT"),    QStringLiteral("TIES"),
    };
    return set;
}

const QSet<QString>& tableHints()
{
    static const QSet<QString> set = {
        QStringLiteral("NOLOCK"),        QStringLiteral("READUNCOMMITTED"), QStringLiteral("ROWLOCK"),
        QStringLiteral("UPDLOCK"),       QStringLiteral("HOLDLOCK"),        QStringLiteral("READPAST"),
        QStringLiteral("TABLOCK"),       QStringLiteral("TABLOCKX"),        QStringLiteral("PAGLOCK"),
        QStringLiteral("XLOCK"),         QStringLiteral("NOWAIT"),          QStringLiteral("SERIALIZABLE"),
        QStringLiteral("READCOMMITTED"), QStringLiteral("REPEATABLEREAD"),
    };
    return set;
}

// A group that holds only table hints: (nolock), (rowlock, updlock).
bool isHintGroup(const Node& n)
{
    if (n.kind != Tok::Group || n.children.empty())
        return false;
    for (const Node& c : n.children)
        if (!(c.kind == Tok::Comma || (c.kind == Tok::Word && tableHints().contains(c.text.toUpper()))))
            return false;
    return true;
}

// ---------------------------------------------------------------- emitting

enum class Type { Unknown, Text, Number, Date, Null };

struct Out
{
    QString text;
    Type type = Type::Unknown;
};

QString quoteName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString quoteText(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// A literal that holds a date in one of the system's forms becomes the
// storage form, so that it compares as a date. "yyyymmdd" alone stays a
// text: it cannot be told from a numeric code (the date functions read it
// as a date all the same).
std::optional<QString> dateLiteral(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() < 8)
        return std::nullopt;
    bool allDigits = true;
    for (QChar c : t)
        allDigits = allDigits && c.isDigit();
    if (allDigits)
        return std::nullopt;
    const auto d = parseSqlDateTime(t);
    if (!d)
        return std::nullopt;
    return d->toStorageText();
}

struct Piece
{
    enum Kind { Operand, Op, Keyword, Comma };
    Kind kind;
    QString text;
    Type type = Type::Unknown;
    QString word; // keywords: upper case
};

class Emitter
{
public:
    explicit Emitter(bool collateLiterals) : m_collate(collateLiterals) {}

    // One scope: a statement or the inside of parentheses. A TOP of a
    // SELECT in this scope becomes a LIMIT at its end.
    Out sequence(const std::vector<Node>& seq)
    {
        std::vector<Piece> pieces;
        QString limit;
        bool compound = false;
        const std::size_t n = seq.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Node& t = seq[i];
            const Node* next = i + 1 < n ? &seq[i + 1] : nullptr;
            switch (t.kind) {
            case Tok::Word:
            case Tok::Ident: {
                const QString u = t.kind == Tok::Word ? t.text.toUpper() : QString();
                // Owners: dbo.T and [dbo].[T] name T.
                if (t.text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && next && next->kind == Tok::Dot &&
                    i + 2 < n && (seq[i + 2].kind == Tok::Word || seq[i + 2].kind == Tok::Ident)) {
                    ++i;
                    break;
                }
                if (t.kind == Tok::Word && next && next->kind == Tok::Group && u == QLatin1String("WITH") &&
                    isHintGroup(*next)) {
                    ++i;
                    break;
                }
                if (t.kind == Tok::Word && next && next->kind == Tok::Group && isFunction(u)) {
                    pieces.push_back(Piece{Piece::Operand, {}, Type::Unknown, {}});
                    Out f = function(u, *next);
                    pieces.back().text = f.text;
                    pieces.back().type = f.type;
                    ++i;
                    break;
                }
                if (t.kind == Tok::Word && u == QLatin1String("TOP")) {
                    limit = topCount(seq, i);
                    break;
                }
                if (t.kind == Tok::Word && u == QLatin1String("CURRENT_TIMESTAMP")) {
                    pieces.push_back(Piece{Piece::Operand, QStringLiteral("tsql_getdate()"), Type::Date, {}});
                    break;
                }
                if (t.kind == Tok::Word && u == QLatin1String("NULL")) {
                    pieces.push_back(Piece{Piece::Operand, QStringLiteral("NULL"), Type::Null, {}});
                    break;
                }
                if (t.kind == Tok::Word && keywords().contains(u)) {
                    if (u == QLatin1String("UNION") || u == QLatin1String("EXCEPT") || u == QLatin1String("INTERSECT"))
                        compound = true;
                    if (u == QLatin1String("LEFT") || u == QLatin1String("RIGHT"))
                        pieces.push_back(Piece{Piece::Keyword, t.text, Type::Unknown, u});
                    else
                        pieces.push_back(Piece{Piece::Keyword, t.text, Type::Unknown, u});
                    break;
                }
                // A name, possibly qualified: a.b, a.*, [a].[b].
                QString name = nameText(t);
                while (i + 2 < n && seq[i + 1].kind == Tok::Dot &&
                       (seq[i + 2].kind == Tok::Word || seq[i + 2].kind == Tok::Ident ||
                        (seq[i + 2].kind == Tok::Op && seq[i + 2].text == QLatin1String("*")))) {
                    name +=
                        QLatin1Char('.') + (seq[i + 2].kind == Tok::Op ? QStringLiteral("*") : nameText(seq[i + 2]));
                    i += 2;
                }
                if (i + 1 < n && seq[i + 1].kind == Tok::Group) {
                    if (isHintGroup(seq[i + 1])) {
                        ++i; // T (nolock)
                    } else if (!pieces.empty() && pieces.back().kind == Piece::Keyword &&
                               (pieces.back().word == QLatin1String("INTO") ||
                                pieces.back().word == QLatin1String("VIEW") ||
                                pieces.back().word == QLatin1String("TABLE"))) {
                        // INSERT INTO T (a, b): the column list follows the name.
                    } else {
                        // A function the translator does not know: SQLite names it if it lacks it.
                        name += group(seq[i + 1]).text;
                        ++i;
                    }
                }
                pieces.push_back(Piece{Piece::Operand, name, Type::Unknown, {}});
                break;
            }
            case Tok::String: {
                if (const auto d = dateLiteral(t.text)) {
                    pieces.push_back(Piece{Piece::Operand, quoteText(*d), Type::Date, {}});
                } else {
                    pieces.push_back(
                        Piece{Piece::Operand,
                              quoteText(t.text) +
                                  (m_collate ? QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation) : QString()),
                              Type::Text,
                              {}});
                }
                break;
            }
            case Tok::Number:
                pieces.push_back(Piece{Piece::Operand, t.text, Type::Number, {}});
                break;
            case Tok::Op:
                pieces.push_back(Piece{Piece::Op, t.text, Type::Unknown, {}});
                break;
            case Tok::Comma:
                pieces.push_back(Piece{Piece::Comma, QStringLiteral(","), Type::Unknown, {}});
                break;
            case Tok::Group: {
                const Out g = group(t);
                pieces.push_back(Piece{Piece::Operand, g.text, g.type, {}});
                break;
            }
            case Tok::Variable:
                refuse(QStringLiteral("the variable %1").arg(t.text));
            case Tok::Dot:
                syntaxError(QStringLiteral("Incorrect syntax near '.'."));
            case Tok::Semicolon:
            case Tok::LParen:
            case Tok::RParen:
                syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text));
            }
        }
        if (!limit.isEmpty() && compound)
            refuse(QStringLiteral("TOP in a SELECT joined by UNION"));
        foldAdditions(pieces);
        Out out;
        out.type = pieces.size() == 1 ? pieces.front().type : Type::Unknown;
        for (const Piece& p : pieces) {
            if (!out.text.isEmpty() && p.kind != Piece::Comma)
                out.text += QLatin1Char(' ');
            out.text += p.text;
        }
        if (!limit.isEmpty())
            out.text += QStringLiteral(" LIMIT ") + limit;
        return out;
    }

private:
    static QString nameText(const Node& t) { return t.kind == Tok::Ident ? quoteName(t.text) : t.text; }

    Out group(const Node& g)
    {
        const Out inner = sequence(g.children);
        return Out{QLatin1Char('(') + inner.text + QLatin1Char(')'), inner.type};
    }

    // TOP n / TOP (n) after SELECT [DISTINCT]; the nodes are consumed.
    static QString topCount(const std::vector<Node>& seq, std::size_t& i)
    {
        if (i + 1 >= seq.size())
            syntaxError(QStringLiteral("Incorrect syntax near 'TOP'."));
        const Node& countNode = seq[i + 1];
        QString count;
        if (countNode.kind == Tok::Number)
            count = countNode.text;
        else if (countNode.kind == Tok::Group && countNode.children.size() == 1 &&
                 countNode.children.front().kind == Tok::Number)
            count = countNode.children.front().text;
        else
            refuse(QStringLiteral("TOP with an expression"));
        bool whole = false;
        count.toLongLong(&whole);
        if (!whole)
            refuse(QStringLiteral("TOP with a fraction"));
        i += 1;
        if (i + 1 < seq.size() && isWord(seq[i + 1], "PERCENT"))
            refuse(QStringLiteral("TOP ... PERCENT"));
        if (i + 2 < seq.size() && isWord(seq[i + 1], "WITH") && isWord(seq[i + 2], "TIES"))
            refuse(QStringLiteral("TOP ... WITH TIES"));
        return count;
    }

    static bool isFunction(const QString& u)
    {
        static const QSet<QString> set = {
            QStringLiteral("GETDATE"),  QStringLiteral("DATEADD"),    QStringLiteral("DATEDIFF"),
            QStringLiteral("DATEPART"), QStringLiteral("YEAR"),       QStringLiteral("MONTH"),
            QStringLiteral("DAY"),      QStringLiteral("CONVERT"),    QStringLiteral("CAST"),
            QStringLiteral("ISNULL"),   QStringLiteral("COALESCE"),   QStringLiteral("NULLIF"),
            QStringLiteral("LEN"),      QStringLiteral("DATALENGTH"), QStringLiteral("LTRIM"),
            QStringLiteral("RTRIM"),    QStringLiteral("SUBSTRING"),  QStringLiteral("LEFT"),
            QStringLiteral("RIGHT"),    QStringLiteral("CHARINDEX"),  QStringLiteral("REPLACE"),
            QStringLiteral("UPPER"),    QStringLiteral("LOWER"),      QStringLiteral("COUNT"),
            QStringLiteral("SUM"),      QStringLiteral("AVG"),        QStringLiteral("MIN"),
            QStringLiteral("MAX"),      QStringLiteral("ABS"),
        };
        return set.contains(u);
    }

    // The arguments of a call, split at the commas of its own level.
    std::vector<std::vector<Node>> argNodes(const Node& g)
    {
        std::vector<std::vector<Node>> args;
        if (g.children.empty())
            return args;
        args.emplace_back();
        for (const Node& c : g.children) {
            if (c.kind == Tok::Comma)
                args.emplace_back();
            else
                args.back().push_back(c);
        }
        for (const auto& a : args)
            if (a.empty())
                syntaxError(QStringLiteral("Incorrect syntax near ','."));
        return args;
    }

    std::vector<Out> args(const Node& g, std::size_t expected, const QString& name)
    {
        std::vector<Out> out;
        for (const auto& a : argNodes(g))
            out.push_back(sequence(a));
        if (expected != std::size_t(-1) && out.size() != expected)
            syntaxError(QStringLiteral("The %1 function requires %2 argument(s).").arg(name).arg(expected));
        return out;
    }

    static QString call(const char* name, const std::vector<Out>& a)
    {
        QString s = QLatin1String(name) + QLatin1Char('(');
        for (std::size_t i = 0; i < a.size(); ++i)
            s += (i ? QStringLiteral(", ") : QString()) + a[i].text;
        return s + QLatin1Char(')');
    }

    // The date part word of DATEADD, DATEDIFF and DATEPART, as a text argument.
    static Out datePartArg(const std::vector<Node>& a)
    {
        if (a.size() != 1 || (a[0].kind != Tok::Word && a[0].kind != Tok::Ident && a[0].kind != Tok::String))
            syntaxError(QStringLiteral("Invalid parameter 1 specified for a date function."));
        return Out{quoteText(a[0].text), Type::Text};
    }

    Out datePartCall(const char* fn, const Node& g, std::size_t count, Type type, const QString& name)
    {
        const auto raw = argNodes(g);
        if (raw.size() != count)
            syntaxError(QStringLiteral("The %1 function requires %2 arguments.").arg(name).arg(count));
        std::vector<Out> a{datePartArg(raw[0])};
        for (std::size_t k = 1; k < raw.size(); ++k)
            a.push_back(sequence(raw[k]));
        return Out{call(fn, a), type};
    }

    // CONVERT(type, x[, style]) and CAST(x AS type).
    Out conversion(const std::vector<Node>& typeNodes, const Out& value, const std::optional<Out>& style,
                   const QString& construct)
    {
        if (typeNodes.empty() || typeNodes[0].kind != Tok::Word)
            syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
        const QString t = typeNodes[0].text.toUpper();
        std::vector<QString> params;
        if (typeNodes.size() > 2)
            syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
        if (typeNodes.size() == 2) {
            if (typeNodes[1].kind != Tok::Group)
                syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
            for (const auto& p : argNodes(typeNodes[1])) {
                if (p.size() != 1 || (p[0].kind != Tok::Number && !isWord(p[0], "MAX")))
                    syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
                params.push_back(p[0].text.toUpper());
            }
        }
        const QString styleText = style ? style->text : QStringLiteral("NULL");
        if (t == QLatin1String("VARCHAR") || t == QLatin1String("NVARCHAR") || t == QLatin1String("CHAR") ||
            t == QLatin1String("NCHAR") || t == QLatin1String("TEXT") || t == QLatin1String("NTEXT")) {
            // Without a length SQL Server converts to 30 characters.
            const QString length = params.empty()                      ? QStringLiteral("30")
                                   : params[0] == QLatin1String("MAX") ? QStringLiteral("0")
                                                                       : params[0];
            return Out{QStringLiteral("tsql_convert_text(%1, %2, %3)").arg(value.text, styleText, length), Type::Text};
        }
        if (t == QLatin1String("DECIMAL") || t == QLatin1String("NUMERIC") || t == QLatin1String("MONEY") ||
            t == QLatin1String("SMALLMONEY")) {
            QString p = QStringLiteral("18");
            QString s = QStringLiteral("0");
            if (t == QLatin1String("MONEY")) {
                p = QStringLiteral("19");
                s = QStringLiteral("4");
            } else if (t == QLatin1String("SMALLMONEY")) {
                p = QStringLiteral("10");
                s = QStringLiteral("4");
            } else if (!params.empty()) {
                p = params[0];
                if (params.size() > 1)
                    s = params[1];
            }
            return Out{QStringLiteral("tsql_decimal(%1, %2, %3)").arg(value.text, p, s), Type::Number};
        }
        static const QHash<QString, int> intBits = {{QStringLiteral("INT"), 32},
                                                    {QStringLiteral("INTEGER"), 32},
                                                    {QStringLiteral("BIGINT"), 64},
                                                    {QStringLiteral("SMALLINT"), 16},
                                                    {QStringLiteral("TINYINT"), 8}};
        if (intBits.contains(t))
            return Out{QStringLiteral("tsql_int(%1, %2)").arg(value.text).arg(intBits.value(t)), Type::Number};
        if (t == QLatin1String("FLOAT") || t == QLatin1String("REAL"))
            return Out{QStringLiteral("tsql_float(%1)").arg(value.text), Type::Number};
        if (t == QLatin1String("BIT"))
            return Out{QStringLiteral("tsql_bit(%1)").arg(value.text), Type::Number};
        if (t == QLatin1String("DATETIME") || t == QLatin1String("SMALLDATETIME") || t == QLatin1String("DATE") ||
            t == QLatin1String("DATETIME2"))
            return Out{QStringLiteral("tsql_datetime(%1, %2)").arg(value.text, styleText), Type::Date};
        refuse(QStringLiteral("%1 to the type %2").arg(construct, typeNodes[0].text));
    }

    Out function(const QString& u, const Node& g)
    {
        if (u == QLatin1String("GETDATE")) {
            if (!g.children.empty())
                syntaxError(QStringLiteral("The getdate function requires 0 arguments."));
            return Out{QStringLiteral("tsql_getdate()"), Type::Date};
        }
        if (u == QLatin1String("DATEADD"))
            return datePartCall("tsql_dateadd", g, 3, Type::Date, QStringLiteral("dateadd"));
        if (u == QLatin1String("DATEDIFF"))
            return datePartCall("tsql_datediff", g, 3, Type::Number, QStringLiteral("datediff"));
        if (u == QLatin1String("DATEPART"))
            return datePartCall("tsql_datepart", g, 2, Type::Number, QStringLiteral("datepart"));
        if (u == QLatin1String("YEAR") || u == QLatin1String("MONTH") || u == QLatin1String("DAY")) {
            const auto a = args(g, 1, u.toLower());
            return Out{call(u == QLatin1String("YEAR")    ? "tsql_year"
                            : u == QLatin1String("MONTH") ? "tsql_month"
                                                          : "tsql_day",
                            a),
                       Type::Number};
        }
        if (u == QLatin1String("CONVERT")) {
            const auto raw = argNodes(g);
            if (raw.size() < 2 || raw.size() > 3)
                syntaxError(QStringLiteral("The convert function requires 2 or 3 arguments."));
            const Out value = sequence(raw[1]);
            std::optional<Out> style;
            if (raw.size() == 3)
                style = sequence(raw[2]);
            return conversion(raw[0], value, style, QStringLiteral("CONVERT"));
        }
        if (u == QLatin1String("CAST")) {
            // CAST(x AS type): the last AS of the call's own level.
            std::size_t as = g.children.size();
            for (std::size_t k = 0; k < g.children.size(); ++k)
                if (isWord(g.children[k], "AS"))
                    as = k;
            if (as == g.children.size() || as == 0)
                syntaxError(QStringLiteral("Incorrect syntax near 'CAST'."));
            const std::vector<Node> valueNodes(g.children.begin(), g.children.begin() + std::ptrdiff_t(as));
            const std::vector<Node> typeNodes(g.children.begin() + std::ptrdiff_t(as) + 1, g.children.end());
            return conversion(typeNodes, sequence(valueNodes), std::nullopt, QStringLiteral("CAST"));
        }
        if (u == QLatin1String("ISNULL")) {
            const auto a = args(g, 2, QStringLiteral("isnull"));
            return Out{call("ifnull", a),
                       a[0].type != Type::Unknown && a[0].type != Type::Null ? a[0].type : a[1].type};
        }
        if (u == QLatin1String("COALESCE")) {
            const auto a = args(g, std::size_t(-1), QStringLiteral("coalesce"));
            if (a.size() < 2)
                syntaxError(QStringLiteral("The coalesce function requires at least 2 arguments."));
            return Out{call("coalesce", a), a[0].type};
        }
        if (u == QLatin1String("NULLIF")) {
            const auto a = args(g, 2, QStringLiteral("nullif"));
            return Out{call("nullif", a), a[0].type};
        }
        if (u == QLatin1String("LEN"))
            return Out{call("tsql_len", args(g, 1, QStringLiteral("len"))), Type::Number};
        if (u == QLatin1String("DATALENGTH"))
            return Out{call("tsql_datalength", args(g, 1, QStringLiteral("datalength"))), Type::Number};
        if (u == QLatin1String("LTRIM"))
            return Out{call("ltrim", args(g, 1, QStringLiteral("ltrim"))), Type::Text};
        if (u == QLatin1String("RTRIM"))
            return Out{call("rtrim", args(g, 1, QStringLiteral("rtrim"))), Type::Text};
        if (u == QLatin1String("SUBSTRING"))
            return Out{call("tsql_substring", args(g, 3, QStringLiteral("substring"))), Type::Text};
        if (u == QLatin1String("LEFT"))
            return Out{call("tsql_left", args(g, 2, QStringLiteral("left"))), Type::Text};
        if (u == QLatin1String("RIGHT"))
            return Out{call("tsql_right", args(g, 2, QStringLiteral("right"))), Type::Text};
        if (u == QLatin1String("CHARINDEX")) {
            const auto a = args(g, std::size_t(-1), QStringLiteral("charindex"));
            if (a.size() < 2 || a.size() > 3)
                syntaxError(QStringLiteral("The charindex function requires 2 or 3 arguments."));
            return Out{call("tsql_charindex", a), Type::Number};
        }
        if (u == QLatin1String("REPLACE"))
            return Out{call("tsql_replace", args(g, 3, QStringLiteral("replace"))), Type::Text};
        if (u == QLatin1String("UPPER"))
            return Out{call("tsql_upper", args(g, 1, QStringLiteral("upper"))), Type::Text};
        if (u == QLatin1String("LOWER"))
            return Out{call("tsql_lower", args(g, 1, QStringLiteral("lower"))), Type::Text};
        // Aggregates and ABS keep their names.
        const Out inner = group(g);
        Type type = Type::Number;
        if (u == QLatin1String("MIN") || u == QLatin1String("MAX"))
            type = inner.type;
        return Out{u + inner.text, type};
    }

    // a + b: joined when both are texts, added when both are numbers, and
    // decided at run time by tsql_add when the statement does not show it.
    static void foldAdditions(std::vector<Piece>& pieces)
    {
        std::vector<Piece> out;
        std::size_t i = 0;
        auto isOp = [&](std::size_t k, const char* ops) {
            return k < pieces.size() && pieces[k].kind == Piece::Op && pieces[k].text.size() == 1 &&
                   QLatin1String(ops).contains(pieces[k].text[0]);
        };
        // A term: [unary +/-] operand { (* / %) [unary] operand }.
        auto term = [&](std::size_t k, std::size_t& end, Out& t) {
            std::size_t j = k;
            QString text;
            int count = 0;
            bool arithmetic = false;
            for (;;) {
                while (isOp(j, "+-~")) {
                    text += pieces[j].text;
                    arithmetic = true;
                    ++j;
                }
                if (j >= pieces.size() || pieces[j].kind != Piece::Operand)
                    return false;
                text += pieces[j].text;
                t.type = pieces[j].type;
                ++count;
                ++j;
                if (isOp(j, "*/%") && j + 1 < pieces.size() &&
                    (pieces[j + 1].kind == Piece::Operand || isOp(j + 1, "+-~"))) {
                    text += QLatin1Char(' ') + pieces[j].text + QLatin1Char(' ');
                    arithmetic = true;
                    ++j;
                    continue;
                }
                break;
            }
            if (arithmetic)
                t.type = Type::Number;
            t.text = count > 1 || arithmetic ? QLatin1Char('(') + text + QLatin1Char(')') : text;
            end = j;
            return true;
        };
        while (i < pieces.size()) {
            const bool canStart = pieces[i].kind == Piece::Operand ||
                                  (isOp(i, "+-~") && (i == 0 || pieces[i - 1].kind != Piece::Operand));
            std::size_t end = 0;
            Out first;
            if (!canStart || !term(i, end, first)) {
                out.push_back(pieces[i++]);
                continue;
            }
            // Does a binary + follow within this chain?
            std::vector<std::pair<QString, Out>> rest;
            std::size_t k = end;
            while (isOp(k, "+-")) {
                std::size_t e = 0;
                Out t;
                if (!term(k + 1, e, t))
                    break;
                rest.emplace_back(pieces[k].text, t);
                k = e;
            }
            bool hasPlus = false;
            for (const auto& r : rest)
                hasPlus = hasPlus || r.first == QLatin1String("+");
            if (!hasPlus) {
                for (std::size_t m = i; m < k; ++m)
                    out.push_back(pieces[m]);
                i = k;
                continue;
            }
            Out acc = first;
            for (const auto& [op, t] : rest) {
                if (op == QLatin1String("-")) {
                    acc = Out{acc.text + QStringLiteral(" - ") + t.text,
                              acc.type == Type::Number && t.type == Type::Number ? Type::Number : Type::Unknown};
                } else if (acc.type == Type::Text && t.type == Type::Text) {
                    acc = Out{QLatin1Char('(') + acc.text + QStringLiteral(" || ") + t.text + QLatin1Char(')'),
                              Type::Text};
                } else if (acc.type == Type::Number && t.type == Type::Number) {
                    acc = Out{acc.text + QStringLiteral(" + ") + t.text, Type::Number};
                } else {
                    const bool dated = (acc.type == Type::Date && t.type == Type::Number) ||
                                       (acc.type == Type::Number && t.type == Type::Date);
                    acc = Out{QStringLiteral("tsql_add(") + acc.text + QStringLiteral(", ") + t.text + QLatin1Char(')'),
                              dated ? Type::Date : Type::Unknown};
                }
            }
            out.push_back(Piece{Piece::Operand, acc.text, acc.type, {}});
            i = k;
        }
        pieces = std::move(out);
    }

    bool m_collate;
};

// ---------------------------------------------------------------- statements

QString emitStatement(const std::vector<Node>& nodes)
{
    return Emitter(true).sequence(nodes).text;
}

// The depth-0 index of the first word `w` at or after `from`, or -1.
int findWord(const std::vector<Node>& nodes, const char* w, std::size_t from = 0)
{
    for (std::size_t k = from; k < nodes.size(); ++k)
        if (isWord(nodes[k], w))
            return int(k);
    return -1;
}

// The literal inside DEFAULT (...): parentheses around it are removed, as
// SQLite's ALTER TABLE ADD COLUMN takes only a constant default.
QString defaultLiteral(const Node& n)
{
    const Node* v = &n;
    while (v->kind == Tok::Group && v->children.size() == 1)
        v = &v->children.front();
    if (v->kind == Tok::Group && v->children.size() == 2 && v->children[0].kind == Tok::Op &&
        (v->children[0].text == QLatin1String("-") || v->children[0].text == QLatin1String("+")) &&
        v->children[1].kind == Tok::Number)
        return v->children[0].text + v->children[1].text;
    if (v->kind == Tok::Number)
        return v->text;
    if (v->kind == Tok::String) {
        const auto d = dateLiteral(v->text);
        return quoteText(d ? *d : v->text);
    }
    if (isWord(*v, "NULL"))
        return QStringLiteral("NULL");
    refuse(QStringLiteral("ALTER TABLE ... ADD with a DEFAULT that is not a constant"));
}

// ALTER TABLE t ADD c type [(n)] [NOT] NULL [CONSTRAINT name] [DEFAULT (v)]
QString alterTableAdd(const std::vector<Node>& nodes)
{
    const int add = findWord(nodes, "ADD");
    if (add < 0 || !isWord(nodes[1], "TABLE"))
        refuse(QStringLiteral("ALTER other than ALTER TABLE ... ADD"));
    std::size_t k = std::size_t(add) + 1;
    if (k < nodes.size() && isWord(nodes[k], "COLUMN"))
        ++k;
    if (k + 1 >= nodes.size() || (nodes[k].kind != Tok::Word && nodes[k].kind != Tok::Ident))
        syntaxError(QStringLiteral("Incorrect syntax near 'ADD'."));
    for (const Node& n : nodes)
        if (n.kind == Tok::Comma)
            refuse(QStringLiteral("ALTER TABLE ... ADD of several columns"));
    const std::vector<Node> head(nodes.begin(), nodes.begin() + add);
    const QString column = nodes[k].kind == Tok::Ident ? quoteName(nodes[k].text) : nodes[k].text;
    const QString columnName = nodes[k].text;
    ++k;
    if (nodes[k].kind != Tok::Word)
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(columnName));
    const QString type = nodes[k].text.toUpper();
    QString typeText = nodes[k].text;
    QString length;
    ++k;
    if (k < nodes.size() && nodes[k].kind == Tok::Group) {
        typeText += Emitter(false).sequence(std::vector<Node>{nodes[k]}).text;
        if (nodes[k].children.size() == 1 && nodes[k].children[0].kind == Tok::Number)
            length = nodes[k].children[0].text;
        ++k;
    }
    const bool text =
        type.contains(QLatin1String("CHAR")) || type == QLatin1String("TEXT") || type == QLatin1String("NTEXT");
    QString sql = emitStatement(head) + QStringLiteral(" ADD COLUMN ") + column + QLatin1Char(' ') + typeText;
    if (text)
        sql += QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    QString constraintName;
    for (; k < nodes.size(); ++k) {
        if (isWord(nodes[k], "NOT") && k + 1 < nodes.size() && isWord(nodes[k + 1], "NULL")) {
            sql += QStringLiteral(" NOT NULL");
            ++k;
        } else if (isWord(nodes[k], "NULL")) {
            // nullable is SQLite's default
        } else if (isWord(nodes[k], "CONSTRAINT") && k + 1 < nodes.size()) {
            constraintName = nodes[++k].text;
        } else if (isWord(nodes[k], "DEFAULT") && k + 1 < nodes.size()) {
            if (!constraintName.isEmpty())
                sql += QStringLiteral(" CONSTRAINT ") + quoteName(constraintName);
            constraintName.clear();
            sql += QStringLiteral(" DEFAULT ") + defaultLiteral(nodes[++k]);
        } else {
            refuse(QStringLiteral("ALTER TABLE ... ADD with '%1'").arg(nodes[k].text));
        }
    }
    // A text too long for its column fails as SQL Server's 8152 does.
    if (text && !length.isEmpty())
        sql += QStringLiteral(" CONSTRAINT %1 CHECK (length(%2) <= %3)")
                   .arg(quoteName(QStringLiteral("maxlen_") + columnName), column, length);
    return sql;
}

void translateStatement(std::vector<Node> nodes, std::vector<TranslatedStep>& steps);

void translateTransaction(TranslatedStep::Kind kind, std::vector<Node>& nodes, std::vector<TranslatedStep>& steps)
{
    std::size_t k = 1;
    const bool begin = kind == TranslatedStep::Kind::Begin;
    if (k < nodes.size() &&
        (isWord(nodes[k], "TRAN") || isWord(nodes[k], "TRANSACTION") || (!begin && isWord(nodes[k], "WORK"))))
        ++k;
    else if (begin)
        refuse(QStringLiteral("BEGIN ... END blocks"));
    // An optional transaction name.
    if (k < nodes.size() && (nodes[k].kind == Tok::Word || nodes[k].kind == Tok::Ident) &&
        !statementKeywords().contains(upper(nodes[k])))
        ++k;
    steps.push_back(TranslatedStep{kind, {}, false, {}});
    if (k < nodes.size())
        translateStatement(std::vector<Node>(nodes.begin() + std::ptrdiff_t(k), nodes.end()), steps);
}

void translateStatement(std::vector<Node> nodes, std::vector<TranslatedStep>& steps)
{
    if (nodes.empty())
        return;
    const QString first = upper(nodes[0]);
    if (nodes[0].kind != Tok::Word)
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(nodes[0].text));
    if (first == QLatin1String("BEGIN"))
        return translateTransaction(TranslatedStep::Kind::Begin, nodes, steps);
    if (first == QLatin1String("COMMIT"))
        return translateTransaction(TranslatedStep::Kind::Commit, nodes, steps);
    if (first == QLatin1String("ROLLBACK"))
        return translateTransaction(TranslatedStep::Kind::Rollback, nodes, steps);
    if (first == QLatin1String("GO") && nodes.size() == 1)
        return;
    if (first == QLatin1String("USE")) {
        if (nodes.size() != 2 || (nodes[1].kind != Tok::Word && nodes[1].kind != Tok::Ident))
            syntaxError(QStringLiteral("Incorrect syntax near 'USE'."));
        steps.push_back(TranslatedStep{TranslatedStep::Kind::UseDatabase, nodes[1].text, false, {}});
        return;
    }
    if (first == QLatin1String("SET")) {
        if (nodes.size() == 3 && isWord(nodes[1], "NOCOUNT") && (isWord(nodes[2], "ON") || isWord(nodes[2], "OFF")))
            return; // the embedded engine sends no count messages
        refuse(QStringLiteral("SET %1").arg(nodes.size() > 1 ? nodes[1].text : QString()));
    }
    if (first == QLatin1String("IF")) {
        std::size_t k = 1;
        bool negate = false;
        if (k < nodes.size() && isWord(nodes[k], "NOT")) {
            negate = true;
            ++k;
        }
        if (k + 1 >= nodes.size() + 1 || k >= nodes.size() || !isWord(nodes[k], "EXISTS") || k + 1 >= nodes.size() ||
            nodes[k + 1].kind != Tok::Group)
            refuse(QStringLiteral("IF without EXISTS (...)"));
        TranslatedStep step{TranslatedStep::Kind::IfExists, emitStatement(nodes[k + 1].children), negate, {}};
        const std::vector<Node> body(nodes.begin() + std::ptrdiff_t(k) + 2, nodes.end());
        if (body.empty())
            syntaxError(QStringLiteral("Incorrect syntax: IF EXISTS (...) has no statement."));
        if (findWord(body, "ELSE") >= 0)
            refuse(QStringLiteral("IF ... ELSE"));
        if (isWord(body.front(), "BEGIN") &&
            !(body.size() > 1 && (isWord(body[1], "TRAN") || isWord(body[1], "TRANSACTION"))))
            refuse(QStringLiteral("IF ... BEGIN ... END"));
        translateStatement(body, step.body);
        steps.push_back(std::move(step));
        return;
    }
    if (first == QLatin1String("TRUNCATE")) {
        if (nodes.size() < 3 || !isWord(nodes[1], "TABLE"))
            syntaxError(QStringLiteral("Incorrect syntax near 'TRUNCATE'."));
        nodes.erase(nodes.begin(), nodes.begin() + 2);
        nodes.insert(nodes.begin(), {Node{Tok::Word, QStringLiteral("DELETE"), false, {}},
                                     Node{Tok::Word, QStringLiteral("FROM"), false, {}}});
    } else if (first == QLatin1String("DELETE")) {
        if (nodes.size() < 2 || isWord(nodes[1], "TOP"))
            refuse(QStringLiteral("DELETE TOP"));
        if (!isWord(nodes[1], "FROM"))
            nodes.insert(nodes.begin() + 1, Node{Tok::Word, QStringLiteral("FROM"), false, {}});
        if (findWord(nodes, "FROM", 2) >= 0)
            refuse(QStringLiteral("DELETE ... FROM with a second FROM (a join)"));
    } else if (first == QLatin1String("UPDATE")) {
        if (nodes.size() > 1 && isWord(nodes[1], "TOP"))
            refuse(QStringLiteral("UPDATE TOP"));
        const int set = findWord(nodes, "SET");
        if (set >= 0 && findWord(nodes, "FROM", std::size_t(set)) >= 0)
            refuse(QStringLiteral("UPDATE ... FROM"));
    } else if (first == QLatin1String("SELECT")) {
        const int into = findWord(nodes, "INTO");
        if (into >= 0)
            refuse(QStringLiteral("SELECT ... INTO"));
    } else if (first == QLatin1String("ALTER")) {
        steps.push_back(TranslatedStep{TranslatedStep::Kind::Statement, alterTableAdd(nodes), false, {}});
        return;
    } else if (first == QLatin1String("CREATE") || first == QLatin1String("DROP")) {
        if (findWord(nodes, "IDENTITY") >= 0)
            refuse(QStringLiteral("IDENTITY columns"));
        if (nodes.size() > 1 && (isWord(nodes[1], "PROCEDURE") || isWord(nodes[1], "PROC") ||
                                 isWord(nodes[1], "FUNCTION") || isWord(nodes[1], "TRIGGER")))
            refuse(QStringLiteral("%1 %2").arg(first, nodes[1].text.toUpper()));
    } else if (first != QLatin1String("INSERT") && first != QLatin1String("WITH")) {
        refuse(first == QLatin1String("EXEC") || first == QLatin1String("EXECUTE")
                   ? QStringLiteral("EXEC (stored procedures)")
                   : QStringLiteral("the statement %1").arg(first));
    }
    steps.push_back(TranslatedStep{TranslatedStep::Kind::Statement, emitStatement(nodes), false, {}});
}

// Splits a batch at ";" and at line breaks before a new statement's first
// word, keeping together what belongs to one statement.
std::vector<std::vector<Node>> splitBatch(const std::vector<Node>& tokens)
{
    std::vector<std::vector<Node>> out(1);
    int depth = 0;
    auto continues = [&](const std::vector<Node>& cur, const QString& word) {
        if (cur.empty())
            return true;
        const QString firstWord = upper(cur.front());
        const Node& last = cur.back();
        if (last.kind == Tok::LParen || last.kind == Tok::Comma || last.kind == Tok::Op || last.kind == Tok::Dot)
            return true;
        static const QSet<QString> joiners = {QStringLiteral("UNION"),  QStringLiteral("ALL"),
                                              QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
                                              QStringLiteral("AS"),     QStringLiteral("EXISTS")};
        if (joiners.contains(upper(last)))
            return true;
        if (word == QLatin1String("SELECT") && firstWord == QLatin1String("INSERT") && findWord(cur, "VALUES") < 0 &&
            findWord(cur, "SELECT") < 0)
            return true;
        if (word == QLatin1String("SET") && firstWord == QLatin1String("UPDATE") && findWord(cur, "SET") < 0)
            return true;
        if (firstWord == QLatin1String("IF") && last.kind == Tok::RParen) {
            // IF [NOT] EXISTS (...) followed by its statement on the next line.
            int d = 0;
            std::size_t k = 1;
            if (k < cur.size() && isWord(cur[k], "NOT"))
                ++k;
            if (k < cur.size() && isWord(cur[k], "EXISTS")) {
                for (++k; k < cur.size(); ++k) {
                    if (cur[k].kind == Tok::LParen)
                        ++d;
                    else if (cur[k].kind == Tok::RParen && --d == 0)
                        break;
                }
                if (k == cur.size() - 1)
                    return true;
            }
        }
        return false;
    };
    for (const Node& t : tokens) {
        if (t.kind == Tok::LParen)
            ++depth;
        else if (t.kind == Tok::RParen)
            --depth;
        if (depth == 0 && t.kind == Tok::Semicolon) {
            out.emplace_back();
            continue;
        }
        if (depth == 0 && t.newlineBefore && t.kind == Tok::Word && statementKeywords().contains(t.text.toUpper()) &&
            !continues(out.back(), t.text.toUpper()))
            out.emplace_back();
        out.back().push_back(t);
    }
    return out;
}

} // namespace

std::vector<TranslatedStep> SqlTranslator::translateUncached(const QString& tsql)
{
    std::vector<TranslatedStep> steps;
    for (const auto& statement : splitBatch(tokenize(tsql)))
        translateStatement(nest(statement), steps);
    return steps;
}

std::vector<TranslatedStep> SqlTranslator::translate(const QString& tsql)
{
    const auto hit = m_cache.constFind(tsql);
    if (hit != m_cache.constEnd())
        return hit.value();
    std::vector<TranslatedStep> steps = translateUncached(tsql);
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    m_cache.insert(tsql, steps);
    return steps;
}

} // namespace platform::db::sqlite
