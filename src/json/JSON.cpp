#include "json/JSON.h"

#include "json/cStringBuilder.h"
#include "platform/core/Collection.h"
#include "platform/core/Decimal.h"
#include "platform/core/Dictionary.h"
#include "platform/core/RunTimeError.h"

#include <memory>
#include <new>

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

// Characters a key drops, inside quotes or not.
bool isKeyBlank(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == u'\t' || c == u' ';
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
    explicit Reader(const QString& str) : m_str(str), m_text(QStringView(str).utf16()), m_size(str.size()) {}

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
    char16_t at(qsizetype index) const { return index <= m_size ? m_text[index - 1] : 0; }
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
    // Fails the value being read, leaving its line to the container with
    // `description` before the container's context.
    void fail(const QString& description);
    // After a failed value: the container's line for it, `context` after
    // the failure's description, where the value left that line to it.
    void writeFailure(const QString& context);

    const QString& m_str;
    const char16_t* const m_text;
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
    bool inComment = false;
    bool inLongComment = false;
    // Comments open only at "//" and "/*" and a block comment ends only at
    // "*/", the two characters side by side: `previous` is the character
    // before this one, or 0 where it ended a comment mark and pairs with none.
    char16_t previous = 0;
    for (; index <= m_size; ++index) {
        const char16_t c = at(index);
        const char16_t before = previous;
        previous = c;
        if (inLongComment) {
            if (before == u'*' && c == u'/') {
                inLongComment = false;
                previous = 0;
            }
            continue;
        }
        if (inComment) {
            // A line comment runs to the line break, whatever it holds.
            inComment = c != u'\r' && c != u'\n';
            continue;
        }
        switch (c) {
        case u'\r':
        case u'\n':
        case u'\t':
        case u' ':
        case u'(':
        case u')':
            break;
        case u'/':
            // A lone "/" is skipped like a blank.
            if (before == u'/') {
                inComment = true;
                previous = 0;
            }
            break;
        case u'*':
            // So is a lone "*", but "*/" outside a comment is ordinary text.
            if (before == u'/') {
                inLongComment = true;
                previous = 0;
            } else if (at(index + 1) == u'/') {
                return;
            }
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

void Reader::fail(const QString& description)
{
    m_failed = true;
    m_failure = description;
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
    try {
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
    } catch (const platform::RunTimeError& error) {
        // The string builder refuses a string past what it holds.
        fail(error.description());
    } catch (const std::bad_alloc&) {
        fail(QStringLiteral("Out of memory"));
    }
    return {};
}

QString Reader::ReadString(qsizetype& index)
{
    const char16_t quote = at(index);
    ++index;
    m_chars.Remove(0, m_chars.Length());
    while (true) {
        // Plain characters are copied a run at a time.
        const qsizetype run = index;
        while (index <= m_size && m_text[index - 1] != quote && m_text[index - 1] != u'\\') {
            ++index;
        }
        m_chars.Append(QStringView(m_text + run - 1, index - run));
        // A string that the text ends inside ends there, and so does a
        // backslash with nothing left to escape.
        if (index > m_size) {
            break;
        }
        if (m_text[index - 1] == quote) {
            ++index;
            break;
        }
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
    }
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
        fail(why == Decimal::ParseError::Overflow ? QStringLiteral("Overflow") : QStringLiteral("Type mismatch"));
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
    const char16_t quote = at(index);
    if (quote == u'"' || quote == u'\'') {
        ++index;
        while (index <= m_size) {
            const char16_t c = at(index);
            ++index;
            if (c == quote) {
                SkipBlanks(index);
                if (at(index) == u':') {
                    ++index;
                } else {
                    line(QStringLiteral("Invalid Key at position ") + position(index) + QStringLiteral(" : ") + key);
                }
                return key;
            }
            // Blanks are dropped even inside quotes.
            if (!isKeyBlank(c)) {
                key += QChar(c);
            }
        }
        return key;
    }
    while (index <= m_size) {
        const char16_t c = at(index);
        if (c == u':') {
            ++index;
            return key;
        }
        // The structure and quotes end an unquoted key, and are left to the value.
        if (c == u',' || c == u'{' || c == u'}' || c == u'[' || c == u']' || c == u'"' || c == u'\'') {
            return key;
        }
        if (!isKeyBlank(c)) {
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
    if (first != u'{' && first != u'[') {
        ParseErrorText = QStringLiteral("Invalid JSON");
        return {};
    }
    try {
        return first == u'{' ? reader.ReadObject(index) : reader.ReadArray(index);
    } catch (const std::bad_alloc&) {
        // Memory ran out in the top-level container itself, not in one of its values.
        ParseErrorText += QStringLiteral("Out of memory\r\n");
        return first == u'{' ? Variant(std::make_shared<Dictionary>()) : Variant(std::make_shared<Collection>());
    }
}

QString LastParseErrors()
{
    return ParseErrorText;
}

} // namespace json
