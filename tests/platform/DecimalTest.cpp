#include "platform/core/Decimal.h"

#include <gtest/gtest.h>

using platform::Decimal;

TEST(Decimal, ParsesToTheShortestExactText)
{
    struct Case
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0", "0"},
        {"-0", "0"},
        {"007", "7"},
        {" +12.50 ", "12.5"},
        {"-3", "-3"},
        {".5", "0.5"},
        {"5.", "5"},
        {"1e3", "1000"},
        {"1.5E+2", "150"},
        {"25e-3", "0.025"},
        {"0.000e5", "0"},
        {"79228162514264337593543950335", "79228162514264337593543950335"},
        {"-79228162514264337593543950335", "-79228162514264337593543950335"},
        {"0.0000000000000000000000000001", "0.0000000000000000000000000001"},
        {"1e-28", "0.0000000000000000000000000001"},
        {"7.9228162514264337593543950335", "7.9228162514264337593543950335"},
        // Past the 28th decimal or past 96 bits the last digits round half to even.
        {"0.00000000000000000000000000005", "0"},
        {"0.00000000000000000000000000015", "0.0000000000000000000000000002"},
        {"0.000000000000000000000000000051", "0.0000000000000000000000000001"},
        {"1e-400", "0"},
        {"9.9999999999999999999999999999", "10"},
        {"1.23456789012345678901234567891", "1.2345678901234567890123456789"},
        {"79228162514264337593543950334.5", "79228162514264337593543950334"},
        {"79228162514264337593543950335.49", "79228162514264337593543950335"},
    };
    for (const Case& c : cases) {
        const auto d = Decimal::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(d.has_value()) << c.text;
        EXPECT_EQ(d->toString(), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST(Decimal, TellsMalformedTextFromOverflow)
{
    using E = Decimal::ParseError;
    struct Case
    {
        const char* text;
        E expected;
    } cases[] = {
        {"", E::Malformed},
        {"-", E::Malformed},
        {".", E::Malformed},
        {"1.2.3", E::Malformed},
        {"1,5", E::Malformed},
        {"1-2", E::Malformed},
        {"1e", E::Malformed},
        {"e5", E::Malformed},
        {"--1", E::Malformed},
        {"12a", E::Malformed},
        {"79228162514264337593543950336", E::Overflow},
        {"79228162514264337593543950335.5", E::Overflow},
        {"-1e29", E::Overflow},
        {"1e99999999999999999999", E::Overflow},
    };
    for (const Case& c : cases) {
        E why = E::Malformed;
        EXPECT_FALSE(Decimal::parse(QString::fromUtf8(c.text), &why).has_value()) << c.text;
        EXPECT_EQ(why, c.expected) << c.text;
    }
}

TEST(Decimal, EqualValuesCompareEqualAndConvert)
{
    EXPECT_EQ(*Decimal::parse(u"1.50"), *Decimal::parse(u"15e-1"));
    EXPECT_NE(*Decimal::parse(u"1.5"), *Decimal::parse(u"-1.5"));
    EXPECT_EQ(Decimal::parse(u"2.5")->scale(), 1);
    EXPECT_EQ(*Decimal::parse(u"2.5")->toInt64(), 2);
    EXPECT_EQ(*Decimal::parse(u"3.5")->toInt64(), 4);
    EXPECT_EQ(*Decimal::parse(u"-3.5")->toInt64(), -4);
    EXPECT_EQ(*Decimal::parse(u"-9223372036854775808")->toInt64(), INT64_MIN);
    EXPECT_FALSE(Decimal::parse(u"9223372036854775808")->toInt64().has_value());
    EXPECT_EQ(Decimal::fromInt(INT64_MIN).toString(), u"-9223372036854775808");
    EXPECT_DOUBLE_EQ(Decimal::parse(u"0.25")->toDouble(), 0.25);
    EXPECT_EQ(Decimal::parse(u"1,5", nullptr, u',')->toString(), u"1.5");
}
