// LEN, DATALENGTH, SUBSTRING, LEFT, RIGHT, CHARINDEX, REPLACE, UPPER, LOWER,
// REPLICATE, SPACE and STUFF as SQL Server computes them.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/db/sqlite/SqlExtensionValues.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform::db::sqlite::extensions {

namespace {

// The number of characters without the trailing blanks.
void lenFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = valueText(argv[0]).toUtf8();
    qsizetype n = utf8.size();
    while (n > 0 && utf8[n - 1] == ' ')
        --n;
    int64_t count = 0;
    for (qsizetype i = 0; i < n; ++i)
        if ((uchar(utf8[i]) & 0xC0) != 0x80)
            ++count;
    sqlite3_result_int64(ctx, count);
}

// Bytes as a single-byte column holds them: one per character of a text.
void dataLengthFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_BLOB:
        sqlite3_result_int(ctx, sqlite3_value_bytes(argv[0]));
        return;
    case SQLITE_INTEGER: {
        const int64_t v = sqlite3_value_int64(argv[0]);
        sqlite3_result_int(
            ctx, v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max() ? 4 : 8);
        return;
    }
    case SQLITE_FLOAT:
        sqlite3_result_int(ctx, 8);
        return;
    default:
        sqlite3_result_int64(ctx, textArg(argv[0]).toUcs4().size());
    }
}

// SUBSTRING(text, start, length) with 1-based start; a start before 1 eats into the length.
void substringFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    const int64_t start = sqlite3_value_int64(argv[1]);
    const int64_t length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        resultError(ctx, serverError::BadLengthLeft);
        return;
    }
    const QList<uint> s = valueText(argv[0]).toUcs4();
    const int64_t from = std::max<int64_t>(start, 1);
    // A start and length beyond the text reach its end, however large they are.
    int64_t end = 0;
    if (__builtin_add_overflow(start, length, &end))
        end = std::numeric_limits<int64_t>::max();
    const int64_t to = std::min<int64_t>(end, int64_t(s.size()) + 1); // exclusive
    if (to <= from) {
        resultText(ctx, QString());
        return;
    }
    resultText(ctx,
               QString::fromUcs4(reinterpret_cast<const char32_t*>(s.constData()) + (from - 1), qsizetype(to - from)));
}

template <bool FromLeft> void leftRightFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    const int64_t n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        resultError(ctx, FromLeft ? serverError::BadLengthLeft : serverError::BadLengthRight);
        return;
    }
    const QList<uint> s = valueText(argv[0]).toUcs4();
    const qsizetype k = qsizetype(std::min<int64_t>(n, s.size()));
    const auto* data = reinterpret_cast<const char32_t*>(s.constData());
    resultText(ctx, QString::fromUcs4(FromLeft ? data : data + (s.size() - k), k));
}

// CHARINDEX(find, text[, start]): 1-based, 0 when absent, without regard to case.
void charIndexFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString find = valueText(argv[0]);
    const QString text = valueText(argv[1]);
    qsizetype from = 0;
    if (argc == 3 && !isNull(argv[2]))
        from = qsizetype(std::max<int64_t>(sqlite3_value_int64(argv[2]), 1) - 1);
    if (find.isEmpty()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const qsizetype at = text.indexOf(find, from, Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : int64_t(at) + 1);
}

// REPLACE without regard to case, as the collation compares.
void replaceFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (nullResultOnNull(ctx, argc, argv))
        return;
    const QString find = valueText(argv[1]);
    QString s = valueText(argv[0]);
    if (!find.isEmpty())
        s.replace(find, valueText(argv[2]), Qt::CaseInsensitive);
    resultText(ctx, s);
}

// The longest text REPLICATE and SPACE give: SQL Server cuts their result
// at 8000 bytes of a character type.
constexpr int64_t kLongestRepeat = 8000;

// `unit` `times` times, cut at kLongestRepeat characters; Null for a negative count.
void resultRepeated(sqlite3_context* ctx, const QString& unit, int64_t times)
{
    if (times < 0) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s;
    if (!unit.isEmpty()) {
        const int64_t whole = std::min<int64_t>(times, kLongestRepeat / unit.size() + 1);
        s = unit.repeated(qsizetype(whole)).left(qsizetype(kLongestRepeat));
    }
    resultText(ctx, s);
}

// REPLICATE(text, n).
void replicateFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!nullResultOnNull(ctx, argc, argv))
        resultRepeated(ctx, valueText(argv[0]), sqlite3_value_int64(argv[1]));
}

// SPACE(n): n blanks.
void spaceFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!nullResultOnNull(ctx, argc, argv))
        resultRepeated(ctx, QStringLiteral(" "), sqlite3_value_int64(argv[0]));
}

// STUFF(text, start, length, insert): `length` characters from the 1-based
// `start` replaced by `insert` (nothing when it is Null); Null for a start
// outside the text or a negative length.
void stuffFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QList<uint> s = valueText(argv[0]).toUcs4();
    const int64_t start = sqlite3_value_int64(argv[1]);
    const int64_t length = sqlite3_value_int64(argv[2]);
    if (start < 1 || start > int64_t(s.size()) || length < 0) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* data = reinterpret_cast<const char32_t*>(s.constData());
    const qsizetype from = qsizetype(start - 1);
    const qsizetype to = from + qsizetype(std::min<int64_t>(length, s.size() - from));
    resultText(ctx, QString::fromUcs4(data, from) + (isNull(argv[3]) ? QString() : valueText(argv[3])) +
                        QString::fromUcs4(data + to, s.size() - to));
}

template <bool Upper> void caseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = valueText(argv[0]);
    resultText(ctx, Upper ? s.toUpper() : s.toLower());
}

} // namespace

std::span<const FunctionDef> textFunctions()
{
    static const FunctionDef functions[] = {
        {"tsql_len", 1, &lenFunction, true},
        {"tsql_datalength", 1, &dataLengthFunction, true},
        {"tsql_substring", 3, &substringFunction, true},
        {"tsql_left", 2, &leftRightFunction<true>, true},
        {"tsql_right", 2, &leftRightFunction<false>, true},
        {"tsql_charindex", 2, &charIndexFunction, true},
        {"tsql_charindex", 3, &charIndexFunction, true},
        {"tsql_replace", 3, &replaceFunction, true},
        {"tsql_upper", 1, &caseFunction<true>, true},
        {"tsql_lower", 1, &caseFunction<false>, true},
        {"tsql_replicate", 2, &replicateFunction, true},
        {"tsql_space", 1, &spaceFunction, true},
        {"tsql_stuff", 4, &stuffFunction, true},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
