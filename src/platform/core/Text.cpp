#include "platform/core/Text.h"

#include <QStringDecoder>

#include <algorithm>

namespace platform::text {

QString LTrim(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ') {
        ++i;
    }
    return s.mid(i).toString();
}

QString RTrim(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ') {
        --n;
    }
    return s.left(n).toString();
}

namespace {

// The part of `s` without blanks at its ends.
QStringView trimmedView(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == u' ') {
        --end;
    }
    while (begin < end && s[begin] == u' ') {
        ++begin;
    }
    return s.mid(begin, end - begin);
}

bool isAscii(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// An ASCII needle in an ASCII text, without regard to letter case: Unicode
// case folding matches just the ASCII letters' other case there.
bool containsAsciiNoCase(QStringView hay, QStringView needle)
{
    const auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    const qsizetype last = hay.size() - needle.size();
    const char16_t first = fold(needle[0].unicode());
    for (qsizetype i = 0; i <= last; ++i) {
        if (fold(hay[i].unicode()) != first) {
            continue;
        }
        qsizetype j = 1;
        while (j < needle.size() && fold(hay[i + j].unicode()) == fold(needle[j].unicode())) {
            ++j;
        }
        if (j == needle.size()) {
            return true;
        }
    }
    return false;
}

} // namespace

QString Trim(QStringView s)
{
    return trimmedView(s).toString();
}

QString Trim(const QString& s)
{
    const QStringView trimmed = trimmedView(s);
    return trimmed.size() == s.size() ? s : trimmed.toString();
}

QString Left(QStringView s, qsizetype n)
{
    return n <= 0 ? QString() : s.left(n).toString();
}

QString Right(QStringView s, qsizetype n)
{
    return n <= 0 ? QString() : s.right(n).toString();
}

QString Mid(QStringView s, qsizetype start, qsizetype length)
{
    if (start < 1 || start > s.size()) {
        return {};
    }
    return length < 0 ? s.mid(start - 1).toString() : s.mid(start - 1, length).toString();
}

qsizetype InStr(QStringView hay, QStringView needle, qsizetype start, bool ignoreCase)
{
    if (start < 1) {
        start = 1;
    }
    if (start > hay.size() + 1) {
        return 0;
    }
    const qsizetype at = hay.indexOf(needle, start - 1, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return at < 0 ? 0 : at + 1;
}

bool Contains(QStringView hay, QStringView needle, bool ignoreCase)
{
    // Statements are nearly always ASCII: the fold of every character is then simple.
    if (ignoreCase && !needle.isEmpty() && isAscii(needle) && isAscii(hay)) {
        return containsAsciiNoCase(hay, needle);
    }
    return hay.contains(needle, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool EqualsNoCase(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int CompareNoCase(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

QString Replace(QStringView s, QStringView find, QStringView with, bool ignoreCase)
{
    QString r = s.toString();
    if (!find.isEmpty()) {
        r.replace(find.toString(), with.toString(), ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    }
    return r;
}

QString FoldLineBreaks(QStringView s)
{
    QString r = s.toString();
    r.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    r.replace(u'\r', u' ');
    r.replace(u'\n', u' ');
    return r;
}

QStringList SplitLines(QStringView s)
{
    QString r = s.toString();
    r.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    r.replace(u'\r', u'\n');
    return r.split(u'\n');
}

namespace {

// Windows-1252 in the range 0x80..0x9F; the other bytes are Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString DecodeFileText(const QByteArray& bytes, bool* wasUtf8)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (wasUtf8) {
        *wasUtf8 = !utf8.hasError();
    }
    if (!utf8.hasError()) {
        return text;
    }
    text.clear();
    text.reserve(view.size());
    for (char c : view) {
        const quint8 b = quint8(c);
        text += QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

QString SqlQuoteInner(QStringView s)
{
    return s.toString().replace(u'\'', QStringLiteral("''"));
}

QString SqlQuoted(QStringView s)
{
    return u'\'' + SqlQuoteInner(s) + u'\'';
}

} // namespace platform::text
