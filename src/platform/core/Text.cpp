#include "platform/core/Text.h"

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

QString Trim(QStringView s)
{
    return LTrim(RTrim(s));
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

QString SqlQuoteInner(QStringView s)
{
    return s.toString().replace(u'\'', QStringLiteral("''"));
}

QString SqlQuoted(QStringView s)
{
    return u'\'' + SqlQuoteInner(s) + u'\'';
}

} // namespace platform::text
