// Jet files read through MDB Tools: what a file must be before the driver is
// given it, its data-base password, the rule that keeps it read-only, and the
// check that gives the driver only the queries it answers as Jet would.
#include "platform/db/odbc/OdbcInternal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace platform::db::odbc {

namespace {

const QString kJetSource = QStringLiteral("Microsoft JET Database Engine");

// ADO's number for a write that the data base refuses.
constexpr int32_t kPermissionDenied = int32_t(0x80040E09);

// The header page: the format's name, its version, and a stretch hidden under
// an RC4 stream of a fixed key, which holds the password and (Jet 4) the
// creation date whose whole days mask it.
constexpr int kVersionOffset = 0x14;
constexpr int kMaskedStart = 0x18;
constexpr int kPasswordOffset = 0x42;
constexpr int kCreationDateOffset = 0x72;
constexpr std::array<uint8_t, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};

struct JetVersion
{
    int maskedLength;
    int passwordLength;
    bool unicode;
};
constexpr JetVersion kJet3{126, 20, false};
constexpr JetVersion kJet4{128, 40, true};

void unmask(QByteArray& header, int length)
{
    std::array<uint8_t, 256> s{};
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = uint8_t(i);
    }
    for (std::size_t i = 0, j = 0; i < s.size(); ++i) {
        j = (j + s[i] + kHeaderKey[i % kHeaderKey.size()]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < std::size_t(length); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        const qsizetype at = kMaskedStart + qsizetype(n);
        header[at] = char(uint8_t(header[at]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

// The data-base password kept in an unmasked header; empty when it has none.
QString storedPassword(const QByteArray& header, const JetVersion& version)
{
    QByteArray secret = header.mid(kPasswordOffset, version.passwordLength);
    if (!version.unicode) {
        const qsizetype end = secret.indexOf('\0');
        return QString::fromLatin1(end < 0 ? secret : secret.left(end));
    }
    double created = 0;
    std::memcpy(&created, header.constData() + kCreationDateOffset, sizeof created);
    // A damaged date masks with nothing rather than overflow the conversion.
    const double whole = std::floor(created);
    const uint32_t days = std::isfinite(whole) && whole >= double(std::numeric_limits<int32_t>::min()) &&
                                  whole <= double(std::numeric_limits<int32_t>::max())
                              ? uint32_t(int32_t(whole))
                              : 0;
    for (qsizetype i = 0; i < secret.size(); ++i) {
        secret[i] = char(uint8_t(secret[i]) ^ uint8_t(days >> (8 * (i % 4))));
    }
    QString out;
    for (qsizetype i = 0; i + 1 < secret.size(); i += 2) {
        const char16_t unit = char16_t(uint8_t(secret[i]) | (uint8_t(secret[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        out += QChar(unit);
    }
    return out;
}

[[noreturn]] void fail(int jetNumber, const QString& description, std::vector<ErrorInfo>& errors)
{
    const ErrorInfo info = jetError(jetNumber, description);
    errors.push_back(info);
    throw DbError(info);
}

bool isWordChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_';
}

} // namespace

ErrorInfo jetError(int jetNumber, const QString& description)
{
    return ErrorInfo{adErr::Generic, description, kJetSource, QString::number(jetNumber), jetNumber};
}

int checkJetFile(const QString& path, const QString& password, std::vector<ErrorInfo>& errors)
{
    const QFileInfo info(path);
    if (path.isEmpty() || path.contains(u';') || !info.dir().exists()) {
        fail(jet::kInvalidPath,
             QStringLiteral("'%1' is not a valid path. Make sure that the path name is spelled correctly%2.")
                 .arg(path, path.contains(u';') ? QStringLiteral(" and holds no \";\", which the MDB Tools driver "
                                                                 "cannot be given")
                                                : QString()),
             errors);
    }
    if (!info.exists()) {
        fail(jet::kFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path), errors);
    }
    if (!info.isFile()) {
        fail(jet::kCannotOpen, QStringLiteral("Cannot open the file '%1': it is not a file.").arg(path), errors);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(jet::kCannotOpen, QStringLiteral("Cannot open the file '%1': %2.").arg(path, file.errorString()), errors);
    }
    QByteArray header = file.read(kMaskedStart + kJet4.maskedLength);
    const bool named = header.size() == kMaskedStart + kJet4.maskedLength &&
                       header.startsWith(QByteArray::fromRawData("\x00\x01\x00\x00", 4)) &&
                       header.mid(4, 16) == QByteArray("Standard Jet DB", 16);
    const char version = named ? header[kVersionOffset] : char(-1);
    if (version != 0 && version != 1) {
        fail(jet::kUnrecognizedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(path), errors);
    }
    const JetVersion& layout = version == 0 ? kJet3 : kJet4;
    unmask(header, layout.maskedLength);
    const QString stored = storedPassword(header, layout);
    if (!stored.isEmpty() && stored != password) {
        fail(jet::kInvalidPassword, QStringLiteral("Not a valid password."), errors);
    }
    return version == 0 ? 3 : 4;
}

ErrorInfo jetUnreadableError(const QString& path)
{
    return jetError(jet::kCannotOpen,
                    QStringLiteral("Cannot open the file '%1': the MDB Tools driver cannot read it.").arg(path));
}

bool onlyReads(const QString& sql)
{
    // Each statement's words outside literals, quoted names and comments:
    // the first must be SELECT, and none INTO (SELECT ... INTO makes a table).
    const qsizetype n = sql.size();
    bool first = true;
    for (qsizetype i = 0; i < n;) {
        const QChar ch = sql[i];
        if (ch == u'\'' || ch == u'"' || ch == u'[') {
            const QChar close = ch == u'[' ? QChar(u']') : ch;
            const qsizetype end = sql.indexOf(close, i + 1);
            i = end < 0 ? n : end + 1;
            if (first) {
                return false;
            }
        } else if (ch == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? n : end + 1;
        } else if (ch == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (ch == u';') {
            first = true;
            ++i;
        } else if (isWordChar(ch)) {
            qsizetype end = i;
            while (end < n && isWordChar(sql[end])) {
                ++end;
            }
            const QStringView word = QStringView(sql).mid(i, end - i);
            if ((first && word.compare(u"select", Qt::CaseInsensitive) != 0) ||
                word.compare(u"into", Qt::CaseInsensitive) == 0) {
                return false;
            }
            first = false;
            i = end;
        } else {
            if (first && !ch.isSpace() && ch != u'(') {
                return false;
            }
            ++i;
        }
    }
    return true;
}

ErrorInfo jetReadOnlyError(const QString& path)
{
    return ErrorInfo{kPermissionDenied,
                     QStringLiteral("Cannot update: the Jet file '%1' is open for reading only.").arg(path), kJetSource,
                     QString::number(jet::kReadOnly), jet::kReadOnly};
}

// ---- Queries --------------------------------------------------------------
// What the MDB Tools driver answers as Jet would, found by trying each
// construct on files written for the purpose: it compares Text, Long Integer
// and Integer columns with constants, joined by AND, OR and NOT with Jet's
// precedence. Everything else it either refuses with one message for every
// fault ("Couldn't parse SQL") or answers otherwise, without an error: a
// condition on a Currency column lets every row pass, IS [NOT] NULL matches
// none, dates are compared with the bits of the literal, a Null takes part in
// a comparison as 0 or as an empty text, texts are compared with capitals and
// small letters apart (Jet compares them alike) and by their first 255 bytes
// only, LIKE's _ stands for one byte, a decimal is cut to a whole number, a
// name it does not know in a condition is left out, and TOP n PERCENT rounds
// down. The check below refuses each of these before the driver sees it.

namespace {

// ADO's number for a name that a query uses and neither the table nor a
// parameter gives: Jet's answer to an unknown column.
constexpr int32_t kNoValueGiven = int32_t(0x80040E10);

// A text longer than this many bytes (in UTF-8, as the driver compares) may
// lose its end in the driver's 256-byte buffers.
constexpr qsizetype kComparedBytes = 251;
// A text column of at most this many characters never needs more than 255 bytes.
constexpr int64_t kShortTextCharacters = 85;

const QString kSubset = QStringLiteral(
    "the MDB Tools driver reads only SELECT [TOP n] columns or COUNT(*) FROM one table [WHERE comparisons of a "
    "column with a constant, joined by AND, OR and NOT]");

struct Token
{
    enum class Kind { End, Word, Name, Number, Text, Symbol };
    Kind kind = Kind::End;
    qsizetype start = 0;
    qsizetype length = 0;
    QString value; // a name without its brackets or quotes, a text without its apostrophes
};

[[noreturn]] void refuse(const QString& construct, const QString& why)
{
    throw DbError(ErrorInfo{adErr::Syntax,
                            QStringLiteral("The Jet file reader cannot evaluate %1: %2.").arg(construct, why),
                            kJetSource, QString::number(jet::kNotSupported), jet::kNotSupported});
}

bool isWord(const Token& t, QStringView word)
{
    return t.kind == Token::Kind::Word && t.value.compare(word, Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token& t, QStringView symbol)
{
    return t.kind == Token::Kind::Symbol && t.value == symbol;
}

// Words of SQL, which name no column or table where they stand.
bool isReserved(const Token& t)
{
    static const QStringList words{
        QStringLiteral("SELECT"),      QStringLiteral("FROM"),   QStringLiteral("WHERE"),   QStringLiteral("AND"),
        QStringLiteral("OR"),          QStringLiteral("NOT"),    QStringLiteral("IS"),      QStringLiteral("NULL"),
        QStringLiteral("LIKE"),        QStringLiteral("ILIKE"),  QStringLiteral("IN"),      QStringLiteral("BETWEEN"),
        QStringLiteral("TOP"),         QStringLiteral("LIMIT"),  QStringLiteral("PERCENT"), QStringLiteral("ORDER"),
        QStringLiteral("GROUP"),       QStringLiteral("HAVING"), QStringLiteral("AS"),      QStringLiteral("DISTINCT"),
        QStringLiteral("DISTINCTROW"), QStringLiteral("ALL"),    QStringLiteral("UNION"),   QStringLiteral("JOIN"),
        QStringLiteral("INNER"),       QStringLiteral("LEFT"),   QStringLiteral("RIGHT"),   QStringLiteral("FULL"),
        QStringLiteral("CROSS"),       QStringLiteral("OUTER"),  QStringLiteral("ON"),      QStringLiteral("EXISTS"),
        QStringLiteral("TRUE"),        QStringLiteral("FALSE"),  QStringLiteral("INTO"),
    };
    return t.kind == Token::Kind::Word && words.contains(t.value, Qt::CaseInsensitive);
}

// Whether a token ends an operand, so that a "-" after it subtracts.
bool endsOperand(const Token& t)
{
    return t.kind == Token::Kind::Name || t.kind == Token::Kind::Number || t.kind == Token::Kind::Text ||
           (t.kind == Token::Kind::Word && !isReserved(t)) || isSymbol(t, u")");
}

// Breaks a query into the driver's tokens; a comment, and a text or a name
// left open, are refused here.
std::vector<Token> tokenize(const QString& sql)
{
    std::vector<Token> out;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar ch = sql[i];
        const QChar next = i + 1 < n ? sql[i + 1] : QChar();
        if (ch.isSpace()) {
            ++i;
            continue;
        }
        if ((ch == u'-' && next == u'-') || (ch == u'/' && next == u'*')) {
            refuse(QStringLiteral("a comment"), kSubset);
        }
        Token t;
        t.start = i;
        if (ch == u'\'' || ch == u'[' || ch == u'"') {
            const QChar close = ch == u'[' ? QChar(u']') : ch;
            const qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0) {
                refuse(ch == u'\'' ? QStringLiteral("a text without its closing apostrophe")
                                   : QStringLiteral("a name without its closing %1").arg(close),
                       kSubset);
            }
            if (ch == u'\'' && end + 1 < n && sql[end + 1] == u'\'') {
                refuse(QStringLiteral("a text that holds an apostrophe"), kSubset);
            }
            t.kind = ch == u'\'' ? Token::Kind::Text : Token::Kind::Name;
            t.value = sql.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (ch.isDigit() || (ch == u'.' && next.isDigit()) ||
                   (ch == u'-' && (next.isDigit() || next == u'.') && (out.empty() || !endsOperand(out.back())))) {
            // A number runs on through letters, so that 1e3 or 0x1F are read whole.
            qsizetype end = i + 1;
            while (end < n && (isWordChar(sql[end]) || sql[end] == u'.')) {
                ++end;
            }
            t.kind = Token::Kind::Number;
            t.value = sql.mid(i, end - i);
            i = end;
        } else if (isWordChar(ch)) {
            qsizetype end = i;
            while (end < n && isWordChar(sql[end])) {
                ++end;
            }
            t.kind = Token::Kind::Word;
            t.value = sql.mid(i, end - i);
            i = end;
        } else {
            const bool pair = (ch == u'<' && (next == u'>' || next == u'=')) || (ch == u'>' && next == u'=') ||
                              (ch == u'!' && next == u'=');
            t.kind = Token::Kind::Symbol;
            t.value = sql.mid(i, pair ? 2 : 1);
            i += t.value.size();
        }
        t.length = i - t.start;
        out.push_back(t);
    }
    Token end;
    end.start = n;
    out.push_back(end);
    return out;
}

// A whole number as the driver reads one: digits without leading zeros (it
// misreads 012), within a Long Integer.
std::optional<int64_t> wholeNumber(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^-?(0|[1-9][0-9]{0,9})$"));
    if (!whole.match(text).hasMatch()) {
        return std::nullopt;
    }
    const int64_t value = text.toLongLong();
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return value;
}

bool hasCasedLetter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar ch) { return ch.isLower() || ch.isUpper() || ch.isTitleCase(); });
}

// The driver finds a column by its name with A to Z alike in either case,
// and every other letter only as written.
bool sameName(const QString& a, const QString& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() - u'A' + u'a') : c; };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class ColumnKind { Text, WholeNumber, Currency, Date, Other };

ColumnKind kindOf(DataTypeEnum type)
{
    switch (type) {
    case adVarWChar:
    case adVarChar:
    case adWChar:
    case adChar:
        return ColumnKind::Text;
    case adInteger:
    case adSmallInt:
        return ColumnKind::WholeNumber;
    case adCurrency:
        return ColumnKind::Currency;
    case adDBTimeStamp:
    case adDate:
        return ColumnKind::Date;
    default:
        return ColumnKind::Other;
    }
}

class QueryCheck
{
public:
    QueryCheck(const QString& sql, const JetColumnsOf& columnsOf)
        : m_sql(sql), m_tokens(tokenize(sql)), m_columnsOf(columnsOf)
    {
    }

    void run()
    {
        if (!isWord(peek(), u"SELECT")) {
            unexpected();
        }
        take();
        const bool top = isWord(peek(), u"TOP");
        if (top) {
            take();
            rowCount(QStringLiteral("TOP"));
            if (isWord(peek(), u"PERCENT")) {
                refuse(QStringLiteral("TOP n PERCENT"),
                       QStringLiteral("the MDB Tools driver rounds the share of rows down, where Jet rounds it up"));
            }
        }
        const std::vector<Token> selected = columnList();
        if (!isWord(peek(), u"FROM")) {
            unexpected();
        }
        take();
        table();
        for (const Token& t : selected) {
            column(t);
        }
        if (isWord(peek(), u"WHERE")) {
            if (m_count) {
                refuse(QStringLiteral("COUNT(*) with a WHERE condition"),
                       QStringLiteral("the MDB Tools driver returns no result for it"));
            }
            take();
            disjunction(false);
        }
        if (isWord(peek(), u"LIMIT")) {
            if (top) {
                refuse(QStringLiteral("LIMIT beside TOP"), kSubset);
            }
            take();
            rowCount(QStringLiteral("LIMIT"));
        }
        if (peek().kind != Token::Kind::End) {
            unexpected();
        }
    }

private:
    const Token& peek(std::size_t ahead = 0) const { return m_tokens[qMin(m_at + ahead, m_tokens.size() - 1)]; }
    const Token& take() { return m_tokens[m_at < m_tokens.size() - 1 ? m_at++ : m_at]; }
    QString text(const Token& t) const { return m_sql.mid(t.start, t.length); }
    // The statement's text from token `first` up to the current one.
    QString span(std::size_t first) const
    {
        const Token& last = m_tokens[m_at - 1];
        return m_sql.mid(m_tokens[first].start, last.start + last.length - m_tokens[first].start);
    }

    // Refuses the construct that starts at the current token, outside the
    // driver's SQL.
    [[noreturn]] void unexpected() const
    {
        const Token& t = peek();
        const Token& next = peek(1);
        const Token* before = m_at > 0 ? &m_tokens[m_at - 1] : nullptr;
        QString construct = QStringLiteral("'%1'").arg(text(t));
        switch (t.kind) {
        case Token::Kind::End:
            construct = QStringLiteral("an unfinished statement");
            break;
        case Token::Kind::Word:
            if (isSymbol(next, u"(")) {
                construct = call();
            } else if (isWord(t, u"ORDER") || isWord(t, u"GROUP")) {
                construct = t.value.toUpper() + QStringLiteral(" BY");
            } else if (isWord(t, u"DISTINCT") || isWord(t, u"DISTINCTROW") || isWord(t, u"HAVING") ||
                       isWord(t, u"UNION") || isWord(t, u"IN") || isWord(t, u"BETWEEN") || isWord(t, u"EXISTS")) {
                construct = t.value.toUpper();
            } else if (isWord(t, u"NOT") && next.kind == Token::Kind::Word) {
                construct = QStringLiteral("NOT ") + next.value.toUpper();
            } else if (isWord(t, u"JOIN") || isWord(t, u"INNER") || isWord(t, u"LEFT") || isWord(t, u"RIGHT") ||
                       isWord(t, u"FULL") || isWord(t, u"CROSS") || isWord(t, u"OUTER")) {
                construct = QStringLiteral("a join");
            } else if (isWord(t, u"SELECT")) {
                construct = QStringLiteral("a sub-query");
            } else if (isWord(t, u"AS") || (!isReserved(t) && before && endsOperand(*before))) {
                construct = QStringLiteral("an alias");
            }
            break;
        case Token::Kind::Name:
            if (before && endsOperand(*before)) {
                construct = QStringLiteral("an alias");
            }
            break;
        case Token::Kind::Number:
        case Token::Kind::Text:
            construct = QStringLiteral("the constant %1").arg(text(t));
            break;
        case Token::Kind::Symbol:
            if (t.value == u";") {
                refuse(next.kind == Token::Kind::End ? QStringLiteral("a closing ';'")
                                                     : QStringLiteral("a second statement"),
                       QStringLiteral("the MDB Tools driver reads one statement, without a ';'"));
            } else if (t.value == u"(") {
                construct = isWord(next, u"SELECT") ? QStringLiteral("a sub-query") : QStringLiteral("parentheses");
            } else if (t.value == u"." && before) {
                construct = QStringLiteral("the name %1.%2, with a table or an owner").arg(text(*before), text(next));
            } else if (t.value == u"#") {
                construct = QStringLiteral("a date between #");
            } else if (t.value == u"?" || t.value == u"@" || t.value == u":") {
                construct = QStringLiteral("a parameter");
            } else if (QStringView(u"+-*/&%^|").contains(t.value) && before && endsOperand(*before)) {
                construct = QStringLiteral("an expression");
            }
            break;
        }
        refuse(construct, kSubset);
    }

    // A function call as written, up to its closing parenthesis.
    QString call() const
    {
        int depth = 0;
        for (std::size_t i = m_at + 1; i < m_tokens.size() - 1; ++i) {
            depth += isSymbol(m_tokens[i], u"(") ? 1 : isSymbol(m_tokens[i], u")") ? -1 : 0;
            if (depth == 0) {
                return m_sql.mid(peek().start, m_tokens[i].start + 1 - peek().start);
            }
        }
        return text(peek()) + QStringLiteral("(...)");
    }

    void rowCount(const QString& clause)
    {
        const Token& t = peek();
        if (t.kind != Token::Kind::Number) {
            unexpected();
        }
        take();
        if (!wholeNumber(t.value) || t.value.startsWith(u'-')) {
            refuse(QStringLiteral("%1 %2").arg(clause, text(t)),
                   QStringLiteral("the MDB Tools driver takes a whole count of rows from 0 to 2147483647"));
        }
    }

    // The columns the statement reads: *, COUNT(*) or names.
    std::vector<Token> columnList()
    {
        std::vector<Token> names;
        int items = 0;
        bool star = false;
        for (;;) {
            ++items;
            if (isSymbol(peek(), u"*")) {
                take();
                star = true;
            } else if (isWord(peek(), u"COUNT") && isSymbol(peek(1), u"(") && isSymbol(peek(2), u"*") &&
                       isSymbol(peek(3), u")")) {
                m_at += 4;
                m_count = true;
            } else if (atName()) {
                names.push_back(take());
            } else {
                unexpected();
            }
            if (!isSymbol(peek(), u",")) {
                break;
            }
            take();
        }
        if (items > 1 && (star || m_count)) {
            // The driver fails on the first and ends the program on the second.
            refuse(star ? QStringLiteral("* beside other columns") : QStringLiteral("COUNT(*) beside other columns"),
                   kSubset);
        }
        return names;
    }

    static bool isName(const Token& t)
    {
        return t.kind == Token::Kind::Name || (t.kind == Token::Kind::Word && !isReserved(t));
    }

    // Whether the current token names a column or a table (and calls no function).
    bool atName() const { return isName(peek()) && !isSymbol(peek(1), u"("); }

    void table()
    {
        if (!atName()) {
            unexpected();
        }
        const Token& t = take();
        m_table = t.value;
        std::optional<std::vector<JetColumn>> columns = m_columnsOf(text(t));
        if (!columns) {
            throw DbError(ErrorInfo{adErr::NoSuchObject,
                                    QStringLiteral("The Microsoft Jet database engine cannot find the input table or "
                                                   "query '%1'.  Make sure it exists and that its name is spelled "
                                                   "correctly.")
                                        .arg(t.value),
                                    kJetSource, QString::number(jet::kNoSuchTable), jet::kNoSuchTable});
        }
        m_columns = std::move(*columns);
        if (isSymbol(peek(), u",")) {
            refuse(QStringLiteral("several tables"), kSubset);
        }
    }

    const JetColumn& column(const Token& t) const
    {
        for (const JetColumn& c : m_columns) {
            if (sameName(c.name, t.value)) {
                return c;
            }
        }
        for (const JetColumn& c : m_columns) {
            if (c.name.compare(t.value, Qt::CaseInsensitive) == 0) {
                refuse(QStringLiteral("the name %1").arg(text(t)),
                       QStringLiteral("the MDB Tools driver finds a column by the case of its letters beyond A to Z, "
                                      "and this one is %1")
                           .arg(c.name));
            }
        }
        throw DbError(ErrorInfo{kNoValueGiven,
                                QStringLiteral("No value given for one or more required parameters: the table '%1' "
                                               "has no column '%2'.")
                                    .arg(m_table, t.value),
                                kJetSource, QString::number(jet::kTooFewParameters), jet::kTooFewParameters});
    }

    // Conditions, with the count of NOTs above each comparison kept as `negated`.
    void disjunction(bool negated)
    {
        conjunction(negated);
        while (isWord(peek(), u"OR")) {
            take();
            conjunction(negated);
        }
    }

    void conjunction(bool negated)
    {
        negation(negated);
        while (isWord(peek(), u"AND")) {
            take();
            negation(negated);
        }
    }

    // A comparison under the NOTs written before it, which its refusal quotes.
    void negation(bool negated)
    {
        const std::size_t first = m_at;
        while (isWord(peek(), u"NOT")) {
            take();
            negated = !negated;
        }
        if (isSymbol(peek(), u"(")) {
            unexpected();
        }
        predicate(negated, first);
    }

    void predicate(bool negated, std::size_t first)
    {
        const Token left = operand();
        if (isWord(peek(), u"IS")) {
            take();
            const bool no = isWord(peek(), u"NOT");
            if (no) {
                take();
            }
            if (!isWord(peek(), u"NULL")) {
                unexpected();
            }
            refuse(no ? QStringLiteral("IS NOT NULL") : QStringLiteral("IS NULL"),
                   QStringLiteral("the MDB Tools driver matches no row with it"));
        }
        if (isWord(peek(), u"LIKE") || isWord(peek(), u"ILIKE")) {
            const bool folded = isWord(take(), u"ILIKE");
            if (peek().kind != Token::Kind::Text) {
                unexpected();
            }
            const Token pattern = take();
            like(left, pattern, folded, negated, span(first));
            return;
        }
        static const QStringList comparisons{QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                             QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
        if (peek().kind != Token::Kind::Symbol || !comparisons.contains(peek().value)) {
            unexpected();
        }
        const QString op = take().value;
        const Token right = operand();
        compare(left, op, right, negated, span(first));
    }

    Token operand()
    {
        const Token& t = peek();
        if (!atName() && t.kind != Token::Kind::Number && t.kind != Token::Kind::Text) {
            unexpected();
        }
        return take();
    }

    [[noreturn]] void mismatch(const QString& expression) const
    {
        throw DbError(ErrorInfo{adErr::TypeMismatch,
                                QStringLiteral("Data type mismatch in criteria expression: %1.").arg(expression),
                                kJetSource, QString::number(jet::kTypeMismatch), jet::kTypeMismatch});
    }

    // Refuses a condition on a column that the driver does not compare.
    void requireComparable(const JetColumn& c) const
    {
        switch (kindOf(c.type)) {
        case ColumnKind::Currency:
            refuse(QStringLiteral("a condition on the Currency column %1").arg(c.name),
                   QStringLiteral("the MDB Tools driver lets every row pass it"));
        case ColumnKind::Date:
            refuse(QStringLiteral("a condition on the Date/Time column %1").arg(c.name),
                   QStringLiteral("the MDB Tools driver does not compare dates"));
        case ColumnKind::Other:
            refuse(QStringLiteral("a condition on the column %1").arg(c.name),
                   QStringLiteral("the MDB Tools driver does not compare its type as Jet does"));
        case ColumnKind::Text:
        case ColumnKind::WholeNumber:
            break;
        }
    }

    // The driver reads a Null as 0 or as an empty text; a comparison that
    // this stand-in passes (under an even count of NOTs) or fails (under an
    // odd one) would let the rows where the column is Null through.
    void requireNullLeftOut(bool standInPasses, bool negated, const JetColumn& c, const QString& expression) const
    {
        if (standInPasses != negated) {
            refuse(expression, QStringLiteral("the MDB Tools driver reads a Null in %1 as %2, so the rows where it is "
                                              "Null would pass")
                                   .arg(c.name, kindOf(c.type) == ColumnKind::Text ? QStringLiteral("an empty text")
                                                                                   : QStringLiteral("0")));
        }
    }

    void requireWholeText(const Token& literal, const QString& expression) const
    {
        if (literal.value.toUtf8().size() > kComparedBytes) {
            refuse(expression, QStringLiteral("the MDB Tools driver compares only the first 255 bytes of a text"));
        }
    }

    void compare(const Token& left, QString op, const Token& right, bool negated, const QString& expression) const
    {
        const bool leftColumn = isName(left);
        const bool rightColumn = isName(right);
        if (leftColumn && rightColumn) {
            refuse(expression, QStringLiteral("the MDB Tools driver compares a column with a constant only"));
        }
        if (!leftColumn && !rightColumn) {
            if (left.kind == Token::Kind::Number && right.kind == Token::Kind::Number && wholeNumber(left.value) &&
                wholeNumber(right.value)) {
                return;
            }
            refuse(expression, QStringLiteral("the MDB Tools driver compares two constants as Jet does only when both "
                                              "are whole numbers"));
        }
        if (rightColumn) {
            // Read as the column's comparison with the constant.
            op = op == u"<"    ? QStringLiteral(">")
                 : op == u">"  ? QStringLiteral("<")
                 : op == u"<=" ? QStringLiteral(">=")
                 : op == u">=" ? QStringLiteral("<=")
                               : op;
        }
        const Token& name = leftColumn ? left : right;
        const Token& literal = leftColumn ? right : left;
        const JetColumn& c = column(name);
        requireComparable(c);
        if (kindOf(c.type) == ColumnKind::Text) {
            if (literal.kind != Token::Kind::Text) {
                mismatch(expression);
            }
            if (op != u"=" && op != u"<>") {
                refuse(expression,
                       QStringLiteral("the MDB Tools driver orders texts by this machine's locale, not as Jet does"));
            }
            if (hasCasedLetter(literal.value)) {
                refuse(expression, QStringLiteral("the MDB Tools driver tells capitals from small letters, which Jet "
                                                  "does not; its ILIKE does not either"));
            }
            requireWholeText(literal, expression);
            requireNullLeftOut((op == u"=") == literal.value.isEmpty(), negated, c, expression);
            return;
        }
        if (literal.kind != Token::Kind::Number) {
            mismatch(expression);
        }
        const std::optional<int64_t> value = wholeNumber(literal.value);
        if (!value) {
            refuse(expression, QStringLiteral("the MDB Tools driver compares a whole-number column only with whole "
                                              "numbers from -2147483648 to 2147483647, written without leading "
                                              "zeros"));
        }
        const bool standInPasses = op == u"="    ? 0 == *value
                                   : op == u"<>" ? 0 != *value
                                   : op == u"<"  ? 0 < *value
                                   : op == u">"  ? 0 > *value
                                   : op == u"<=" ? 0 <= *value
                                                 : 0 >= *value;
        requireNullLeftOut(standInPasses, negated, c, expression);
    }

    void like(const Token& left, const Token& pattern, bool folded, bool negated, const QString& expression) const
    {
        if (!isName(left)) {
            refuse(expression, QStringLiteral("the MDB Tools driver matches a column with a pattern only"));
        }
        const JetColumn& c = column(left);
        requireComparable(c);
        if (kindOf(c.type) != ColumnKind::Text) {
            refuse(expression, QStringLiteral("the MDB Tools driver matches only a text column with a pattern"));
        }
        const QString& p = pattern.value;
        if (p.contains(u'_')) {
            refuse(expression, QStringLiteral("the MDB Tools driver's _ stands for one byte, not for one character"));
        }
        if (p.contains(u'[')) {
            refuse(expression, QStringLiteral("the MDB Tools driver knows no lists of characters between [ and ]"));
        }
        if (!folded && hasCasedLetter(p)) {
            refuse(expression, QStringLiteral("the MDB Tools driver's LIKE tells capitals from small letters, which "
                                              "Jet's does not; its ILIKE does not"));
        }
        requireWholeText(pattern, expression);
        const qsizetype wildcard = p.indexOf(u'%');
        const bool endMatters = wildcard >= 0 && p.mid(wildcard).count(u'%') != p.size() - wildcard;
        if (endMatters && (c.characters <= 0 || c.characters > kShortTextCharacters)) {
            refuse(expression, QStringLiteral("the MDB Tools driver matches only the first 255 bytes of a text, and "
                                              "%1 may hold longer ones")
                                   .arg(c.name));
        }
        requireNullLeftOut(p.count(u'%') == p.size(), negated, c, expression);
    }

    const QString& m_sql;
    std::vector<Token> m_tokens;
    const JetColumnsOf& m_columnsOf;
    std::size_t m_at = 0;
    bool m_count = false;
    QString m_table;
    std::vector<JetColumn> m_columns;
};

} // namespace

void checkJetQuery(const QString& sql, const JetColumnsOf& columnsOf, std::vector<ErrorInfo>& errors)
{
    try {
        QueryCheck(sql, columnsOf).run();
    } catch (const DbError& e) {
        errors.push_back(e.info());
        throw;
    }
}

ErrorInfo jetDriverError(const QString& sql, const QString& message)
{
    const QString said = message.trimmed();
    return ErrorInfo{adErr::Syntax,
                     QStringLiteral("The MDB Tools driver cannot run the statement \"%1\": %2.")
                         .arg(sql, said.isEmpty() ? QStringLiteral("it says nothing of why") : said),
                     kJetSource, QString::number(jet::kNotSupported), jet::kNotSupported};
}

} // namespace platform::db::odbc
