#include "PrintQString.h"
#include "json/cStringBuilder.h"
#include "platform/core/RunTimeError.h"

#include <gtest/gtest.h>

#include <functional>

using json::cStringBuilder;

namespace {

// The error number `action` raised, 0 when it raised none.
int raised(const std::function<void()>& action)
{
    try {
        action();
    } catch (const platform::RunTimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(StringBuilder, StartsEmpty)
{
    const cStringBuilder sb;
    EXPECT_EQ(sb.toString(), QString());
    EXPECT_EQ(sb.Length(), 0);
    EXPECT_EQ(sb.Capacity(), 0);
    EXPECT_EQ(sb.ChunkSize(), 8192);
}

TEST(StringBuilder, GrowsByWholeChunks)
{
    cStringBuilder sb;
    sb.Append(QString(20000, u'x'));
    EXPECT_EQ(sb.Length(), 20000);
    EXPECT_EQ(sb.Capacity(), 24576);

    cStringBuilder small;
    small.setChunkSize(4);
    small.Append(u"abc");
    small.Append(u"defg");
    EXPECT_EQ(small.Capacity(), 8);
    small.AppendByVal(QStringLiteral("h"));
    EXPECT_EQ(small.Capacity(), 8);
    small.AppendNL(u"i");
    EXPECT_EQ(small.toString(), QStringLiteral("abcdefghi\r\n"));
    EXPECT_EQ(small.Capacity(), 12);
}

TEST(StringBuilder, InsertsAndRemovesAtTheEdges)
{
    cStringBuilder sb;
    sb.setChunkSize(8);
    sb.setTheString(u"1234567");
    EXPECT_EQ(sb.Capacity(), 8);
    // Longer than a chunk into a nearly full buffer: as many chunks as needed.
    sb.Insert(3, QString(20, u'-'));
    EXPECT_EQ(sb.toString(), QStringLiteral("123--------------------4567"));
    EXPECT_EQ(sb.Capacity(), 32);

    sb.setTheString(u"bc");
    sb.Insert(0, u"a");
    sb.InsertByVal(sb.Length(), QStringLiteral("d"));
    EXPECT_EQ(sb.toString(), QStringLiteral("abcd"));
    sb.Remove(1, 2);
    EXPECT_EQ(sb.toString(), QStringLiteral("ad"));
    sb.Remove(2, 0);
    sb.Remove(0, sb.Length());
    EXPECT_EQ(sb.toString(), QString());
    EXPECT_EQ(sb.Capacity(), 32);
}

TEST(StringBuilder, RejectsPositionsOutsideTheText)
{
    cStringBuilder sb;
    sb.Append(u"abc");
    const struct
    {
        const char* what;
        std::function<void()> action;
    } cases[] = {
        {"insert one beyond the end", [&] { sb.Insert(4, u"x"); }},
        {"insert before the start", [&] { sb.Insert(-1, u"x"); }},
        {"remove from beyond the end", [&] { sb.Remove(4, 0); }},
        {"remove past the end", [&] { sb.Remove(2, 2); }},
        {"remove before the start", [&] { sb.Remove(-1, 1); }},
        {"remove a negative length", [&] { sb.Remove(2, -1); }},
        {"remove a length that wraps around", [&] { sb.Remove(1, 0x7fffffff); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(raised(c.action), 9) << c.what;
        EXPECT_EQ(sb.toString(), QStringLiteral("abc")) << c.what;
    }
    EXPECT_EQ(raised([&] { sb.setChunkSize(0x40000000); }), 6);
    EXPECT_EQ(sb.ChunkSize(), 8192);
}

TEST(StringBuilder, FindsInTheUsedTextOnly)
{
    cStringBuilder sb;
    sb.Append(u"abcabc");
    const struct
    {
        const char16_t* needle;
        int32_t start;
        Qt::CaseSensitivity compare;
        int32_t expected;
    } cases[] = {
        {u"b", 1, Qt::CaseSensitive, 2},
        {u"b", 0, Qt::CaseSensitive, 2},
        {u"b", -5, Qt::CaseSensitive, 2},
        {u"b", 3, Qt::CaseSensitive, 5},
        {u"B", 1, Qt::CaseSensitive, 0},
        {u"B", 1, Qt::CaseInsensitive, 2},
        // A match that starts at the last used character.
        {u"c", 4, Qt::CaseSensitive, 6},
        // The blanks of the unused capacity are not text.
        {u"c ", 1, Qt::CaseSensitive, 0},
        {u"bc ", 1, Qt::CaseSensitive, 0},
        {u"a", 7, Qt::CaseSensitive, 0},
        {u"a", 100, Qt::CaseSensitive, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sb.Find(QStringView(c.needle), c.start, c.compare), c.expected)
            << QString::fromUtf16(c.needle).toStdString() << " from " << c.start;
    }
}

TEST(StringBuilder, ChunkSizeOfZeroOrLessGrowsByWhatIsNeeded)
{
    for (int32_t chunk : {0, -1, -8192}) {
        cStringBuilder sb;
        sb.setChunkSize(chunk);
        sb.Append(u"abc");
        sb.Insert(1, u"xy");
        sb.setTheString(u"0123456789");
        EXPECT_EQ(sb.toString(), QStringLiteral("0123456789")) << chunk;
        EXPECT_EQ(sb.Capacity(), 10) << chunk;
        sb.Remove(0, 8);
        sb.HeapMinimize();
        EXPECT_EQ(sb.Capacity(), 3) << chunk;
        EXPECT_EQ(sb.toString(), QStringLiteral("89")) << chunk;
    }
}

TEST(StringBuilder, SetsClearsAndGivesBackChunks)
{
    cStringBuilder sb;
    sb.setChunkSize(4);
    sb.setTheString(u"0123456789");
    EXPECT_EQ(sb.Capacity(), 12);
    // Setting a shorter text keeps the capacity and drops the rest.
    sb.setTheString(u"abc");
    EXPECT_EQ(sb.toString(), QStringLiteral("abc"));
    EXPECT_EQ(sb.Capacity(), 12);
    sb.Append(QString(17, u'x'));
    EXPECT_EQ(sb.Capacity(), 20);
    sb.Remove(0, 15);
    sb.HeapMinimize();
    EXPECT_EQ(sb.Capacity(), 8);
    EXPECT_EQ(sb.toString(), QStringLiteral("xxxxx"));
    sb.HeapMinimize();
    EXPECT_EQ(sb.Capacity(), 8);

    sb.setTheString(u"");
    EXPECT_EQ(sb.Capacity(), 0);
    EXPECT_EQ(sb.Length(), 0);
    sb.Append(u"z");
    sb.Clear();
    EXPECT_EQ(sb.Capacity(), 0);
    EXPECT_EQ(sb.toString(), QString());
}
