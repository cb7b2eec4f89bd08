#include "json/JSON.h"

#include "json/cStringBuilder.h"
#include "platform/core/Collection.h"
#include "platform/core/Decimal.h"
#include "platform/core/Dictionary.h"

#include <memory>

namespace json {

namespace {

using platform::Collection;
using platform::Decimal;
using platform::Dictionary;
using platform::Variant;

// The error lines of the last parse.
QString ParseErrorText;

const QString kDuplicateKey = QStringLiteral("This key is already associated with an element of this collection");

bool isNumberChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
}

// A container that failed inside keeps its place with what it read.
bool isContainer(const Variant& value)
{
    return value.type() == platform::VariantType::Dictionary || value.type() == platform::VariantType::Collection;
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The readers of one parse. Positions are 1-based characters, passed by
// reference and advanced as characters are consumed. A failed value sets
// m_failed, and every reader then returns at once: the parse ends with what
// was read so far.
class Reader
{
public:
    explicit Reader(const QString& str) : m_str(str), m_size(str.size()) {}

    Variant ReadObject(qsizetype& index);
    Variant ReadArray(qsizetype& index);
    Variant ReadValue(qsizetype& index);
    QString ReadString(qsizetype& index);
    Variant ReadNumber(qsizetype& index);
    bool ReadBoolean(qsizetype& index);
    Variant ReadNull(qsizetype& index);
    QString ReadKey(qsizetype& index);
    void SkipBlanks(qsizetype& index) const;

private:
    // The character at `index`, 0 past the end.
    char16_t at(qsizetype index) const { return index <= m_size ? m_str[index - 1].unicode() : 0; }
    bool startsWith(qsizetype index, QStringView word) const
    {
        return QStringView(m_str).mid(index - 1, word.size()) == word;
    }
    QString from(qsizetype index, qsizetype length = -1) const { return m_str.mid(index - 1, length); }
    static void line(const QString& text) { ParseErrorText += text + QStringLiteral("\r\n"); }
    static QString position(qsizetype index) { return QString::number(index); }
    // Enters a container opened at `index`; fails the parse past kMaxNesting.
    bool enter(qsizetype index);
    // Reads the members of the container opened at `index` up to `close`
    // with `readMember`, which answers false when the container ends there.
    template <typename ReadMember> void ReadMembers(qsizetype& index, char16_t close, ReadMember readMember);
    // After a failed value: the container's line for it, `context` after
    // the failure's description, where the value left that line to it.
    void writeFailure(const QString& context);

    const QString& m_str;
    const qsizetype m_size;
    int m_depth = 0;
    bool m_failed = false;
    // The description of a failed value whose line the enclosing container
    // writes with its own context (the key, or the text that follows).
    QString m_failure;
    // Collects the characters of one string at a time.
    cStringBuilder m_chars;
};

void Reader::SkipBlanks(qsizetype& index) const
{
    bool startOfComment = false;
    bool inComment = false;
    bool inLongComment = false;
    for (; index <= m_size; ++index) {
        const char16_t c = at(index);
        if (inLongComment) {
            // Only "*/" ends a block comment.
            if (c == u'/' && startOfComment) {
                startOfComment = inComment = inLongComment = false;
            } else {
                startOfComment = c == u'*';
            }
            continue;
        }
        if (inComment) {
            // A line comment runs to the line break, whatever it holds.
            if (c == u'\r' || c == u'\n') {
                startOfComment = inComment = false;
            }
            continue;
        }
        switch (c) {
        case u'\r':
        case u'\n':
            startOfComment = false;
            break;
        case u'\t':
        case u' ':
        case u'(':
        case u')':
            break;
        case u'/':
            // A lone "/" is skipped like a blank; a second one opens a line comment.
            inComment = startOfComment;
            startOfComment = !startOfComment;
            break;
        case u'*':
            inComment = inLongComment = startOfComment;
            startOfComment = !startOfComment;
            break;
        default:
            return;
        }
    }
}

bool Reader::enter(qsizetype index)
{
    if (m_depth >= kMaxNesting) {
        line(QStringLiteral("Nesting too deep at position ") + position(index) + QStringLiteral(" : ") +
             from(index, 20));
        m_failed = true;
        return false;
    }
    ++m_depth;
    return true;
}

template <typename ReadMember> void Reader::ReadMembers(qsizetype& index, char16_t close, ReadMember readMember)
{
    if (!enter(index)) {
        return;
    }
    ++index;
    while (true) {
        SkipBlanks(index);
        const char16_t c = at(index);
        if (c == close) {
            ++index;
            break;
        }
        if (c == u',') {
            // Commas are optional, so a trailing one closes nothing.
            ++index;
            continue;
        }
        if (index > m_size) {
            line(QStringLiteral("Missing '") + QChar(close) + QStringLiteral("': ") + m_str.right(20));
            break;
        }
        if (!readMember()) {
            break;
        }
    }
    --m_depth;
}

void Reader::writeFailure(const QString& context)
{
    if (!m_failure.isEmpty()) {
        line(m_failure + QStringLiteral(": ") + context);
        m_failure.clear();
    }
}

Variant Reader::ReadObject(qsizetype& index)
{
    auto dictionary = std::make_shared<Dictionary>();
    SkipBlanks(index);
    if (at(index) != u'{') {
        line(QStringLiteral("Invalid Object at position ") + position(index) + QStringLiteral(" : ") + from(index));
        return dictionary;
    }
    ReadMembers(index, u'}', [&] {
        const QString key = ReadKey(index);
        const Variant value = ReadValue(index);
        if (m_failed) {
            writeFailure(key);
            if (isContainer(value)) {
                dictionary->add(key, value);
            }
            return false;
        }
        if (!dictionary->add(key, value)) {
            line(kDuplicateKey + QStringLiteral(": ") + key);
            m_failed = true;
            return false;
        }
        return true;
    });
    return dictionary;
}

Variant Reader::ReadArray(qsizetype& index)
{
    auto collection = std::make_shared<Collection>();
    SkipBlanks(index);
    if (at(index) != u'[') {
        line(QStringLiteral("Invalid Array at position ") + position(index) + QStringLiteral(" : ") + from(index, 20));
        return collection;
    }
    ReadMembers(index, u']', [&] {
        const Variant value = ReadValue(index);
        if (!m_failed) {
            collection->add(value);
            return true;
        }
        writeFailure(from(index, 20));
        if (isContainer(value)) {
            collection->add(value);
        }
        return false;
    });
    return collection;
}

Variant Reader::ReadValue(qsizetype& index)
{
    SkipBlanks(index);
    switch (at(index)) {
    case u'{':
        return ReadObject(index);
    case u'[':
        return ReadArray(index);
    case u'"':
    case u'\'':
        return ReadString(index);
    case u't':
    case u'f':
        return ReadBoolean(index);
    case u'n':
        return ReadNull(index);
    default:
        return ReadNumber(index);
    }
}

QString Reader::ReadString(qsizetype& index)
{
    const char16_t quote = at(index);
    ++index;
    m_chars.Remove(0, m_chars.Length());
    // Plain characters are copied a run at a time.
    qsizetype run = index;
    const auto flush = [&] { m_chars.Append(QStringView(m_str).mid(run - 1, index - run)); };
    while (index <= m_size) {
        const char16_t c = at(index);
        if (c == quote) {
            flush();
            ++index;
            return m_chars.toString();
        }
        if (c != u'\\') {
            ++index;
            continue;
        }
        flush();
        ++index;
        if (index > m_size) {
            break;
        }
        const char16_t escaped = at(index);
        ++index;
        char16_t out = escaped;
        switch (escaped) {
        case u'b':
            out = 8;
            break;
        case u'f':
            out = 12;
            break;
        case u'n':
            out = u'\n';
            break;
        case u'r':
            out = u'\r';
            break;
        case u't':
            out = u'\t';
            break;
        case u'u': {
            int unit = 0;
            qsizetype digits = 0;
            for (; digits < 4 && index + digits <= m_size; ++digits) {
                const int h = hexValue(at(index + digits));
                if (h < 0) {
                    break;
                }
                unit = unit * 16 + h;
            }
            // Without four hexadecimal digits the "u" stands for itself.
            if (digits == 4) {
                out = char16_t(unit);
                index += 4;
            }
            break;
        }
        default:
            // Quotes, the backslash, "/" and any other character stand for themselves.
            break;
        }
        m_chars.Append(QStringView(&out, 1));
        run = index;
    }
    flush();
    return m_chars.toString();
}

Variant Reader::ReadNumber(qsizetype& index)
{
    SkipBlanks(index);
    const qsizetype start = index;
    while (index <= m_size && isNumberChar(at(index))) {
        ++index;
    }
    Decimal::ParseError why = Decimal::ParseError::Malformed;
    const auto number = Decimal::parse(QStringView(m_str).mid(start - 1, index - start), &why);
    if (!number) {
        m_failed = true;
        m_failure = why == Decimal::ParseError::Overflow ? QStringLiteral("Overflow") : QStringLiteral("Type mismatch");
        return {};
    }
    return *number;
}

bool Reader::ReadBoolean(qsizetype& index)
{
    SkipBlanks(index);
    if (startsWith(index, u"true")) {
        index += 4;
        return true;
    }
    if (startsWith(index, u"false")) {
        index += 5;
        return false;
    }
    line(QStringLiteral("Invalid Boolean at position ") + position(index) + QStringLiteral(" : ") + from(index));
    m_failed = true;
    return false;
}

Variant Reader::ReadNull(qsizetype& index)
{
    SkipBlanks(index);
    if (startsWith(index, u"null")) {
        index += 4;
        return Variant::null();
    }
    line(QStringLiteral("Invalid null value at position ") + position(index) + QStringLiteral(" : ") + from(index));
    m_failed = true;
    return {};
}

QString Reader::ReadKey(qsizetype& index)
{
    SkipBlanks(index);
    QString key;
    bool doubleQuoted = false;
    bool singleQuoted = false;
    while (index <= m_size) {
        const char16_t c = at(index);
        if ((c == u'"' && !singleQuoted) || (c == u'\'' && !doubleQuoted)) {
            bool& quoted = c == u'"' ? doubleQuoted : singleQuoted;
            quoted = !quoted;
            ++index;
            if (!quoted) {
                SkipBlanks(index);
                if (at(index) != u':') {
                    line(QStringLiteral("Invalid Key at position ") + position(index) + QStringLiteral(" : ") + key);
                    return key;
                }
            }
            continue;
        }
        if (!doubleQuoted && !singleQuoted) {
            if (c == u':') {
                ++index;
                return key;
            }
            // Outside quotes the structure ends the key, and is left to the object.
            if (c == u',' || c == u'{' || c == u'}' || c == u'[' || c == u']') {
                return key;
            }
        }
        if (c != u'\r' && c != u'\n' && c != u'\t' && c != u' ') {
            key += QChar(c);
        }
        ++index;
    }
    return key;
}

} // namespace

platform::Variant ParseDocument(const QString& str)
{
    ParseErrorText.clear();
    Reader reader(str);
    qsizetype index = 1;
    reader.SkipBlanks(index);
    const char16_t first = index <= str.size() ? str[index - 1].unicode() : 0;
    if (first == u'{') {
        return reader.ReadObject(index);
    }
    if (first == u'[') {
        return reader.ReadArray(index);
    }
    ParseErrorText = QStringLiteral("Invalid JSON");
    return {};
}

QString LastParseErrors()
{
    return ParseErrorText;
}

} // namespace json
