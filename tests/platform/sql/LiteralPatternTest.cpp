// A text read against the pattern of an earlier one gives what lexing it
// gives, or is left to the lexer: never another shape or other literals.
#include "platform/db/sqlite/SqlTokenizer.h"

#include <gtest/gtest.h>

#include <ostream>

using platform::db::sqlite::translation::LiteralPattern;
using platform::db::sqlite::translation::LiteralScan;
using platform::db::sqlite::translation::matchLiterals;
using platform::db::sqlite::translation::scanLiterals;

namespace {

struct Case
{
    const char* name;
    const char* earlier; // the text the pattern comes from
    const char* later;
    bool matches;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

const Case kCases[] = {
    {"OtherValues", "SELECT * FROM T WHERE a = 'x' AND b = 12 AND c < 1.5",
     "SELECT * FROM T WHERE a = 'yy' AND b = 3 AND c < 22.25", true},
    {"DoubledApostrophes", "UPDATE T SET a = 'x' WHERE b = 'y'", "UPDATE T SET a = 'o''brien' WHERE b = ''''", true},
    {"PrefixedTexts", "SELECT 1 FROM T WHERE a = N'x'", "SELECT 1 FROM T WHERE a = n'zz'", true},
    {"NoLiterals", "SELECT * FROM T", "SELECT * FROM T", true},
    {"LiteralsAtBothEnds", "'a' + b + 1", "'bb' + b + 22", true},
    {"Exponents", "SELECT 1 FROM T WHERE a = 1.5e3", "SELECT 1 FROM T WHERE a = 2.5E-3", true},
    // The text around the literals differs.
    {"OtherText", "SELECT * FROM T WHERE a = 'x'", "SELECT * FROM U WHERE a = 'x'", false},
    {"LongerText", "SELECT * FROM T WHERE a = 'x'", "SELECT * FROM T WHERE a = 'x' AND b = 1", false},
    {"ShorterText", "SELECT * FROM T WHERE a = 'x' AND b = 1", "SELECT * FROM T WHERE a = 'x'", false},
    // The lexer would read these in another way.
    {"PrefixAdded", "SELECT 1 FROM T WHERE a = 'x'", "SELECT 1 FROM T WHERE a = N'x'", false},
    {"PrefixJoinsAWord", "SELECT 1 FROM T WHERE a=AND'x'", "SELECT 1 FROM T WHERE a=ANDN'x'", false},
    {"WholeBecomesDecimal", "SELECT 1 FROM T WHERE a = 1", "SELECT 1 FROM T WHERE a = 1.5", false},
    {"DecimalBecomesWhole", "SELECT 1 FROM T WHERE a = 1.5", "SELECT 1 FROM T WHERE a = 2", false},
    {"NumberBecomesText", "SELECT 1 FROM T WHERE a = 1", "SELECT 1 FROM T WHERE a = '1'", false},
    {"TextBecomesNumber", "SELECT 1 FROM T WHERE a = '1'", "SELECT 1 FROM T WHERE a = 1", false},
    {"Hexadecimal", "SELECT 1 FROM T WHERE a = 1", "SELECT 1 FROM T WHERE a = 0x1F", false},
    {"PointBecomesDigit", "SELECT 1 FROM T WHERE a = .5", "SELECT 1 FROM T WHERE a = 0.5", false},
    {"NumberRunsOn", "SELECT 1 FROM T WHERE a = 1.5 AND b = 2", "SELECT 1 FROM T WHERE a = 1.5.5 AND b = 2", false},
    {"TextSwallowsTheRest", "UPDATE T SET a = 'x' WHERE b = 'y'", "UPDATE T SET a = 'x'' WHERE b = ''y'", false},
    {"Unclosed", "SELECT 1 FROM T WHERE a = 'x'", "SELECT 1 FROM T WHERE a = 'x", false},
    {"TooLargeForAWholeNumber", "SELECT 1 FROM T WHERE a = 1", "SELECT 1 FROM T WHERE a = 99999999999999999999", false},
};

class LiteralPatternTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(LiteralPatternTest, GivesWhatLexingGives)
{
    const Case& c = GetParam();
    LiteralPattern pattern;
    scanLiterals(QString::fromUtf8(c.earlier), &pattern);
    const QString later = QString::fromUtf8(c.later);
    const std::optional<LiteralScan> matched = matchLiterals(pattern, later);
    ASSERT_EQ(matched.has_value(), c.matches);
    if (!matched)
        return;
    const LiteralScan lexed = scanLiterals(later);
    EXPECT_EQ(matched->shape, lexed.shape);
    EXPECT_EQ(matched->literals, lexed.literals);
}

INSTANTIATE_TEST_SUITE_P(Texts, LiteralPatternTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

} // namespace

// Literals read with those of an earlier text at hand: the same as lexing
// gives, also where a text written with doubled apostrophes reads as the
// earlier one's value.
TEST(LiteralPatternEarlierTest, GivesWhatLexingGives)
{
    LiteralPattern pattern;
    const LiteralScan earlier =
        scanLiterals(QStringLiteral("UPDATE T SET a = 'o''''b', b = 'x' WHERE c = 12"), &pattern);
    ASSERT_EQ(earlier.literals,
              (std::vector<QString>{QStringLiteral("o''b"), QStringLiteral("x"), QStringLiteral("12")}));
    for (const char* text :
         {"UPDATE T SET a = 'o''b', b = 'x' WHERE c = 12", "UPDATE T SET a = 'o''''b', b = 'y' WHERE c = 13",
          "UPDATE T SET a = '''', b = '' WHERE c = 12"}) {
        const QString later = QString::fromUtf8(text);
        const std::optional<LiteralScan> matched = matchLiterals(pattern, later, &earlier.literals);
        ASSERT_TRUE(matched.has_value()) << text;
        EXPECT_EQ(matched->literals, scanLiterals(later).literals) << text;
    }
}
