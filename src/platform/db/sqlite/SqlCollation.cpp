// The SQLSERVER collation and a LIKE that compares as it does.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/db/sqlite/SqlExtensionValues.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace platform::db::sqlite::extensions {

namespace {

// SQL Server's default order: the Spanish dictionary order of Unicode's
// collation algorithm (ICU, through Qt) at secondary strength, so letter case
// is ignored and accents count, with accented letters beside their base
// letter and "ñ" after "n".
class TextCollator
{
public:
    TextCollator() : m_collator(QLocale(QLocale::Spanish))
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
        m_collator.setNumericMode(false);
        m_collator.setIgnorePunctuation(false);
        // Printable ASCII characters have one weight each in this order, so
        // texts made of them compare position by position on their ranks.
        std::vector<char> chars;
        for (char c = kFirstFast; c <= kLastFast; ++c)
            chars.push_back(c);
        std::stable_sort(chars.begin(), chars.end(), [this](char a, char b) { return icu(a, b) < 0; });
        uint8_t rank = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            if (i == 0 || icu(chars[i - 1], chars[i]) != 0)
                ++rank;
            m_rank[uchar(chars[i])] = rank;
        }
    }

    int compare(const unsigned char* x, int lengthX, const unsigned char* y, int lengthY) const
    {
        const int n = std::min(lengthX, lengthY);
        for (int i = 0; i < n; ++i) {
            // Equal bytes leave equal texts so far: what follows decides.
            if (x[i] == y[i])
                continue;
            const uint8_t rx = m_rank[x[i]];
            const uint8_t ry = m_rank[y[i]];
            if (rx == 0 || ry == 0)
                return slow(x, lengthX, y, lengthY);
            if (rx != ry)
                return rx < ry ? -1 : 1;
        }
        if (lengthX == lengthY)
            return 0;
        // Equal so far: the shorter text comes first, unless the longer one
        // goes on with a character the ranks do not cover (it may be ignorable).
        const unsigned char next = lengthX > n ? x[n] : y[n];
        if (m_rank[next] == 0)
            return slow(x, lengthX, y, lengthY);
        return lengthX < lengthY ? -1 : 1;
    }

private:
    static constexpr char kFirstFast = ' ';
    static constexpr char kLastFast = '~';

    int icu(char a, char b) const { return m_collator.compare(QString(QLatin1Char(a)), QString(QLatin1Char(b))); }

    int slow(const unsigned char* x, int lengthX, const unsigned char* y, int lengthY) const
    {
        const int c = m_collator.compare(QString::fromUtf8(reinterpret_cast<const char*>(x), lengthX),
                                         QString::fromUtf8(reinterpret_cast<const char*>(y), lengthY));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }

    QCollator m_collator;
    uint8_t m_rank[256] = {}; // 0: not printable ASCII, compared by the collator
};

} // namespace

int compareText(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    static const TextCollator collator;
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    // Trailing blanks are not counted.
    while (lengthA > 0 && x[lengthA - 1] == ' ')
        --lengthA;
    while (lengthB > 0 && y[lengthB - 1] == ' ')
        --lengthB;
    return collator.compare(x, lengthA, y, lengthB);
}

namespace {

QString rightTrimmedBlanks(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n).toString();
}

// ---------------------------------------------------------------- LIKE

// A LIKE pattern as SQL Server reads it: % any run, _ one character,
// [abc], [a-z] and [^...] sets; letters compared after case folding.
class LikePattern
{
public:
    LikePattern(const QString& pattern, char32_t escape)
    {
        const QList<uint> p = pattern.toCaseFolded().toUcs4();
        for (qsizetype i = 0; i < p.size(); ++i) {
            const char32_t c = p[i];
            if (escape != 0 && c == escape && i + 1 < p.size()) {
                m_items.push_back(Item{Item::Char, char32_t(p[++i]), false, {}});
            } else if (c == U'%') {
                if (m_items.empty() || m_items.back().kind != Item::Any)
                    m_items.push_back(Item{Item::Any, 0, false, {}});
            } else if (c == U'_') {
                m_items.push_back(Item{Item::One, 0, false, {}});
            } else if (c == U'[' && closeOf(p, i) > i) {
                const qsizetype close = closeOf(p, i);
                Item set{Item::Set, 0, false, {}};
                qsizetype j = i + 1;
                if (p[j] == U'^' && j + 1 < close) {
                    set.negated = true;
                    ++j;
                }
                for (; j < close; ++j) {
                    if (j + 2 < close && p[j + 1] == U'-')
                        set.ranges.push_back({char32_t(p[j]), char32_t(p[j + 2])}), j += 2;
                    else
                        set.ranges.push_back({char32_t(p[j]), char32_t(p[j])});
                }
                m_items.push_back(std::move(set));
                i = close;
            } else {
                m_items.push_back(Item{Item::Char, c, false, {}});
            }
        }
    }

    bool matches(const QList<uint>& s) const
    {
        // Greedy matching with one back-track point per %.
        qsizetype pi = 0;
        qsizetype si = 0;
        qsizetype starItem = -1;
        qsizetype starText = 0;
        const qsizetype pn = qsizetype(m_items.size());
        while (si < s.size()) {
            if (pi < pn && m_items[std::size_t(pi)].kind == Item::Any) {
                starItem = pi++;
                starText = si;
            } else if (pi < pn && one(m_items[std::size_t(pi)], s[si])) {
                ++pi;
                ++si;
            } else if (starItem >= 0) {
                pi = starItem + 1;
                si = ++starText;
            } else {
                return false;
            }
        }
        while (pi < pn && m_items[std::size_t(pi)].kind == Item::Any)
            ++pi;
        return pi == pn;
    }

private:
    struct Item
    {
        enum Kind { Char, One, Any, Set } kind;
        char32_t c;
        bool negated;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };

    static qsizetype closeOf(const QList<uint>& p, qsizetype open)
    {
        // The first "]" after at least one member closes the set.
        for (qsizetype j = open + 2; j < p.size(); ++j)
            if (p[j] == U']')
                return j;
        return -1;
    }

    static bool one(const Item& item, char32_t c)
    {
        switch (item.kind) {
        case Item::Char:
            return item.c == c;
        case Item::One:
            return true;
        case Item::Set: {
            bool in = false;
            for (const auto& [lo, hi] : item.ranges)
                if (c >= lo && c <= hi)
                    in = true;
            return in != item.negated;
        }
        case Item::Any:
            break;
        }
        return false;
    }

    std::vector<Item> m_items;
};

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // SQLite calls like(pattern, text[, escape]).
    if (nullResultOnNull(ctx, argc, argv))
        return;
    char32_t escape = 0;
    if (argc == 3) {
        const QList<uint> e = textArg(argv[2]).toUcs4();
        if (e.size() != 1) {
            resultError(ctx, QStringLiteral("The escape character of LIKE must be one character."));
            return;
        }
        escape = e[0];
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new LikePattern(textArg(argv[0]), escape);
        sqlite3_set_auxdata(ctx, 0, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) { // SQLite dropped it at once: match with a local copy
            const LikePattern local(textArg(argv[0]), escape);
            const QString text = valueText(argv[1]).toCaseFolded();
            sqlite3_result_int(ctx, local.matches(text.toUcs4()) || local.matches(rightTrimmedBlanks(text).toUcs4()));
            return;
        }
    }
    const QString text = valueText(argv[1]).toCaseFolded();
    // Trailing blanks of the value are ignored, as for SQL Server's char and varchar.
    bool match = pattern->matches(text.toUcs4());
    if (!match && text.endsWith(QLatin1Char(' ')))
        match = pattern->matches(rightTrimmedBlanks(text).toUcs4());
    sqlite3_result_int(ctx, match ? 1 : 0);
}

} // namespace

std::span<const FunctionDef> likeFunctions()
{
    static const FunctionDef functions[] = {
        {"like", 2, &likeFunction, true},
        {"like", 3, &likeFunction, true},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
