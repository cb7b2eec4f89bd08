// Searches and trims of the program's text routines.
#include "platform/core/Text.h"

#include <gtest/gtest.h>

namespace text = platform::text;

namespace {

struct ContainsCase
{
    const char16_t* hay;
    const char16_t* needle;
    bool ignoreCase;
    bool found;
};

TEST(TextTest, ContainsFindsTheNeedleWithUnicodeCaseFolding)
{
    const ContainsCase cases[] = {
        {u"UPDATE t SET a = 1", u"update", true, true},
        {u"UPDATE t SET a = 1", u"update", false, false},
        {u"create table t; drop table t", u"DROP", true, true},
        {u"SELECT a FROM t", u"DROP", true, false},
        {u"DRO", u"DROP", true, false},
        {u"xDROp", u"drop", true, true},
        {u"abc", u"", true, true},
        {u"", u"a", true, false},
        {u"[ab]", u"[AB]", true, true},
        // Beyond ASCII: letters fold as Unicode folds them.
        {u"ÁRBOL", u"árbol", true, true},
        {u"\u212Aey", u"KEY", true, true},
        {u"Añejo", u"AÑEJO", true, true},
    };
    for (const ContainsCase& c : cases) {
        EXPECT_EQ(text::Contains(QStringView(c.hay), QStringView(c.needle), c.ignoreCase), c.found)
            << QString::fromUtf16(c.hay).toStdString() << " / " << QString::fromUtf16(c.needle).toStdString();
    }
}

TEST(TextTest, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(text::Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(text::Trim(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
    EXPECT_EQ(text::Trim(QStringLiteral("   ")), QString());
    EXPECT_EQ(text::Trim(QStringView(u" x")), QStringLiteral("x"));
    const QString whole = QStringLiteral("abc");
    EXPECT_EQ(text::Trim(whole), whole);
}

} // namespace
