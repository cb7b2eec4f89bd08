#include "platform/xlsx/CellText.h"

namespace platform::xlsx {

namespace {

// "_xHHHH_".
constexpr int kEscapeLength = 7;

enum class Stored { Plain, Pair, Escaped };

bool isHex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// Whether the underscore at `i` begins "_xHHHH_", which a reader would take
// for an escape.
bool beginsEscape(const QString& text, qsizetype i)
{
    if (i + kEscapeLength > text.size() || text[i + 1] != u'x' || text[i + 6] != u'_') {
        return false;
    }
    return isHex(text[i + 2]) && isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]);
}

// How the file stores the character at `i`.
Stored storedAt(const QString& text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c >= 0x20 && c < 0xD800) {
        return c == u'_' && beginsEscape(text, i) ? Stored::Escaped : Stored::Plain;
    }
    if (c < 0x20) {
        return c == u'\t' || c == u'\n' ? Stored::Plain : Stored::Escaped;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        return Stored::Pair;
    }
    return QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF ? Stored::Escaped : Stored::Plain;
}

} // namespace

QString fittingText(const QString& text)
{
    // Even escaped throughout, a text this short fits.
    if (text.size() <= kMaxTextLength / kEscapeLength) {
        return text;
    }
    // The application counts UTF-16 units; the writing library counts the
    // stored form's characters. Both must stay within the limit.
    qsizetype units = 0;
    qsizetype stored = 0;
    while (units < text.size()) {
        const Stored s = storedAt(text, units);
        const qsizetype width = s == Stored::Pair ? 2 : 1;
        const qsizetype room = s == Stored::Escaped ? kEscapeLength : 1;
        if (units + width > kMaxTextLength || stored + room > kMaxTextLength) {
            return text.left(units);
        }
        units += width;
        stored += room;
    }
    return text;
}

QByteArray storedText(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const Stored s = storedAt(text, i);
        if (s == Stored::Escaped) {
            break;
        }
        i += s == Stored::Pair ? 2 : 1;
    }
    if (i == text.size()) {
        return text.toUtf8();
    }
    QString escaped = text.left(i);
    escaped.reserve(text.size() + kEscapeLength);
    for (; i < text.size(); ++i) {
        switch (storedAt(text, i)) {
        case Stored::Escaped:
            escaped +=
                QStringLiteral("_x") + QString::number(text[i].unicode(), 16).toUpper().rightJustified(4, u'0') + u'_';
            break;
        case Stored::Pair:
            escaped += text[i];
            escaped += text[++i];
            break;
        case Stored::Plain:
            escaped += text[i];
            break;
        }
    }
    return escaped.toUtf8();
}

} // namespace platform::xlsx
