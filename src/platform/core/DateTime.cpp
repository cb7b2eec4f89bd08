#include "platform/core/DateTime.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <unordered_map>
#include <vector>

namespace platform {

DateTime::DateTime(QDate date, QTime time) : m_value(date, time, Qt::UTC) {}

DateTime DateTime::fromQDateTime(const QDateTime& local)
{
    return DateTime(local.date(), local.time());
}

DateTime DateTime::addMSecs(qint64 ms) const
{
    DateTime r;
    r.m_value = m_value.addMSecs(ms);
    return r;
}

DateTime DateTime::addDays(qint64 days) const
{
    DateTime r;
    r.m_value = m_value.addDays(days);
    return r;
}

DateTime DateTime::addMonths(int months) const
{
    DateTime r;
    r.m_value = m_value.addMonths(months);
    return r;
}

DateTime DateTime::addYears(int years) const
{
    DateTime r;
    r.m_value = m_value.addYears(years);
    return r;
}

QString DateTime::toStorageText() const
{
    if (!isValid()) {
        return {};
    }
    const QDate d = date();
    const QTime t = time();
    if (d.year() < 0 || d.year() > 9999) {
        return m_value.toString(t.msec() != 0 ? u"yyyy-MM-dd HH:mm:ss.zzz" : u"yyyy-MM-dd HH:mm:ss");
    }
    // Written digit by digit: every value stored or compared passes here.
    char16_t text[23];
    auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) {
            text[at + i] = char16_t(u'0' + value % 10);
        }
    };
    put(0, d.year(), 4);
    text[4] = u'-';
    put(5, d.month(), 2);
    text[7] = u'-';
    put(8, d.day(), 2);
    text[10] = u' ';
    put(11, t.hour(), 2);
    text[13] = u':';
    put(14, t.minute(), 2);
    text[16] = u':';
    put(17, t.second(), 2);
    if (t.msec() == 0) {
        return QString(reinterpret_cast<const QChar*>(text), 19);
    }
    text[19] = u'.';
    put(20, t.msec(), 3);
    return QString(reinterpret_cast<const QChar*>(text), 23);
}

namespace {

// A Qt pattern of numeric fields (yy, yyyy, M, MM, d, dd, H, HH, m, mm, s,
// ss, zzz) and quoted literals, written digit by digit; any other pattern
// has no parts and is written by Qt.
struct NumericPattern
{
    struct Part
    {
        char field = 0; // 0: `literal`
        int width = 0;
        QString literal;
    };
    QString qtPattern;
    std::vector<Part> parts;
};

NumericPattern compiled(const QString& qtPattern)
{
    NumericPattern pattern{qtPattern, {}};
    std::vector<NumericPattern::Part> parts;
    for (qsizetype i = 0; i < qtPattern.size();) {
        const QChar c = qtPattern[i];
        if (c == u'\'') {
            QString literal;
            for (++i; i < qtPattern.size(); ++i) {
                if (qtPattern[i] == u'\'') {
                    if (i + 1 < qtPattern.size() && qtPattern[i + 1] == u'\'') {
                        literal += u'\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += qtPattern[i];
            }
            parts.push_back({0, 0, literal});
            continue;
        }
        if (!c.isLetter()) {
            parts.push_back({0, 0, QString(c)});
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < qtPattern.size() && qtPattern[j] == c) {
            ++j;
        }
        const int width = int(j - i);
        const char field = char(c.unicode() < 128 ? c.unicode() : 0);
        const bool numeric = (field == 'y' && (width == 2 || width == 4)) || (field == 'z' && width == 3) ||
                             (QByteArrayView("MdHms").contains(field) && field != 0 && width <= 2);
        if (!numeric) {
            return pattern;
        }
        parts.push_back({field, width, {}});
        i = j;
    }
    pattern.parts = std::move(parts);
    return pattern;
}

// The digits of a formatted date-time, written in place and turned into
// one QString at the end.
using FormatBuffer = QVarLengthArray<char16_t, 32>;

void appendNumber(FormatBuffer& out, int value, int width)
{
    char16_t digits[4];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 4);
    for (int k = n; k < width; ++k) {
        out.append(u'0');
    }
    while (n > 0) {
        out.append(digits[--n]);
    }
}

} // namespace

QString DateTime::format(const QString& systemPattern) const
{
    // A program formats with a handful of patterns, again and again.
    thread_local std::unordered_map<QString, NumericPattern> patterns;
    auto known = patterns.find(systemPattern);
    if (known == patterns.end()) {
        if (patterns.size() >= 64) {
            patterns.clear();
        }
        known = patterns.emplace(systemPattern, compiled(formatPattern(systemPattern))).first;
    }
    const NumericPattern& pattern = known->second;
    int year = 0;
    int month = 0;
    int day = 0;
    date().getDate(&year, &month, &day);
    if (pattern.parts.empty() || !isValid() || year < 1000 || year > 9999) {
        return m_value.toString(pattern.qtPattern);
    }
    const QTime t = time();
    FormatBuffer out;
    for (const NumericPattern::Part& part : pattern.parts) {
        switch (part.field) {
        case 0:
            out.append(reinterpret_cast<const char16_t*>(part.literal.utf16()), part.literal.size());
            break;
        case 'y':
            appendNumber(out, part.width == 2 ? year % 100 : year, part.width);
            break;
        case 'M':
            appendNumber(out, month, part.width);
            break;
        case 'd':
            appendNumber(out, day, part.width);
            break;
        case 'H':
            appendNumber(out, t.hour(), part.width);
            break;
        case 'm':
            appendNumber(out, t.minute(), part.width);
            break;
        case 's':
            appendNumber(out, t.second(), part.width);
            break;
        case 'z':
            appendNumber(out, t.msec(), 3);
            break;
        }
    }
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
}

namespace {

bool isLetterRun(QChar c)
{
    return QStringLiteral("dmyhnsfzDMYHNSFZ").contains(c);
}

} // namespace

QString formatPattern(const QString& p)
{
    // Split into runs of one letter, then decide what each "m" run means.
    struct Run
    {
        QChar letter;
        int length;
        QString literal;
    };
    QList<Run> runs;
    for (qsizetype i = 0; i < p.size();) {
        if (p.mid(i, 5).compare(u"am/pm", Qt::CaseInsensitive) == 0) {
            runs.append({QChar(), 0, p.mid(i, 5).at(0).isUpper() ? QStringLiteral("AP") : QStringLiteral("ap")});
            i += 5;
            continue;
        }
        const QChar c = p[i];
        if (isLetterRun(c)) {
            qsizetype j = i;
            while (j < p.size() && p[j].toLower() == c.toLower()) {
                ++j;
            }
            runs.append({c.toLower(), int(j - i), {}});
            i = j;
        } else {
            QString lit;
            while (i < p.size() && !isLetterRun(p[i]) && p.mid(i, 5).compare(u"am/pm", Qt::CaseInsensitive) != 0) {
                lit += p[i++];
            }
            runs.append({QChar(), 0, lit});
        }
    }
    auto neighbourLetter = [&](qsizetype at, int step) -> QChar {
        for (qsizetype k = at + step; k >= 0 && k < runs.size(); k += step) {
            if (!runs[k].letter.isNull()) {
                return runs[k].letter;
            }
            if (!runs[k].literal.trimmed().isEmpty() && runs[k].literal.trimmed() != u":") {
                return QChar();
            }
        }
        return QChar();
    };
    QString out;
    for (qsizetype k = 0; k < runs.size(); ++k) {
        const Run& r = runs[k];
        if (r.letter.isNull()) {
            if (r.literal == u"AP" || r.literal == u"ap") {
                out += r.literal;
            } else {
                out += u'\'' + QString(r.literal).replace(u'\'', QStringLiteral("''")) + u'\'';
            }
            continue;
        }
        const int n = r.length;
        switch (r.letter.unicode()) {
        case 'd':
            out += QString(std::min(n, 4), u'd');
            break;
        case 'y':
            out += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case 'h':
            out += QString(std::min(n, 2), u'H');
            break;
        case 'n':
            out += QString(std::min(n, 2), u'm');
            break;
        case 's':
            out += QString(std::min(n, 2), u's');
            break;
        case 'f':
        case 'z':
            out += QStringLiteral("zzz");
            break;
        case 'm': {
            const bool minute = n <= 2 && (neighbourLetter(k, -1) == u'h' || neighbourLetter(k, +1) == u's');
            out += minute ? QString(n, u'm') : QString(std::min(n, 4), u'M');
            break;
        }
        }
    }
    return out;
}

} // namespace platform
