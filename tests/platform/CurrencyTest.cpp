#include "platform/core/Currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using platform::Currency;

TEST(Currency, ParsesAndRoundsHalfToEven)
{
    struct Case
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"12.5", "12.5"},       {" -3 ", "-3"},     {"0.00005", "0"}, {"0.00015", "0.0002"},
        {"0.000051", "0.0001"}, {"2.675", "2.675"}, {"+7.10", "7.1"}, {"922337203685477", "922337203685477"},
    };
    for (const Case& c : cases) {
        const auto v = Currency::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->toString(), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST(Currency, RejectsMalformedText)
{
    for (const char* text : {"", "  ", "abc", "1.2.3", "1,5", "-", ".", "12a", "99999999999999999999"}) {
        EXPECT_FALSE(Currency::parse(QString::fromUtf8(text)).has_value()) << text;
    }
    EXPECT_EQ(Currency::parse(u"1,5", u',')->toString(), u"1.5");
}

TEST(Currency, FixedDecimalsRoundHalfToEven)
{
    EXPECT_EQ(Currency::parse(u"2.675")->toFixed(2), u"2.68");
    EXPECT_EQ(Currency::parse(u"2.665")->toFixed(2), u"2.66");
    EXPECT_EQ(Currency::parse(u"12.5")->toFixed(0), u"12");
    EXPECT_EQ(Currency::parse(u"13.5")->toFixed(0), u"14");
    EXPECT_EQ(Currency::parse(u"-13.5")->toFixed(0), u"-14");
    EXPECT_EQ(Currency::parse(u"10.004")->toFixed(2), u"10.00");
    EXPECT_EQ(Currency::parse(u"-0.5")->toFixed(1), u"-0.5");
}

TEST(Currency, ArithmeticStaysExact)
{
    const Currency a = *Currency::parse(u"0.1");
    const Currency b = *Currency::parse(u"0.2");
    EXPECT_EQ((a + b).toString(), u"0.3");
    EXPECT_EQ((*Currency::parse(u"10.01") - *Currency::parse(u"10.00")).toString(), u"0.01");
    EXPECT_EQ((*Currency::parse(u"1.5") * *Currency::parse(u"1.5")).toString(), u"2.25");
    EXPECT_EQ((Currency::fromInt(1) / Currency::fromInt(3)).toString(), u"0.3333");
}

TEST(Currency, AmountsOutOfRangeAreOverflowsNeverWrappedValues)
{
    const Currency max = Currency::fromUnits(INT64_MAX);
    const Currency min = Currency::fromUnits(INT64_MIN);
    auto overflow = [](auto&& call) {
        try {
            call();
        } catch (const platform::CurrencyError& e) {
            return e.kind() == platform::CurrencyError::Kind::Overflow && e.number() == 6;
        }
        return false;
    };
    EXPECT_TRUE(overflow([&] { return max + Currency::fromUnits(1); }));
    EXPECT_TRUE(overflow([&] { return min - Currency::fromUnits(1); }));
    EXPECT_TRUE(overflow([&] { return -min; }));
    EXPECT_TRUE(overflow([&] { return max * Currency::fromInt(2); }));
    EXPECT_TRUE(overflow([&] { return max / *Currency::parse(u"0.5"); }));
    EXPECT_TRUE(overflow([&] { return Currency::fromInt(922337203685478); }));
    EXPECT_TRUE(overflow([&] { return Currency::fromDouble(1e300); }));
    EXPECT_TRUE(overflow([&] { return Currency::fromDouble(std::nan("")); }));
    EXPECT_TRUE(overflow([&] { return max.rounded(0); }));
    EXPECT_EQ(max.toWhole(), 922337203685478);
    EXPECT_EQ(min.toWhole(), -922337203685478);
    EXPECT_EQ((max - Currency::fromUnits(1) + Currency::fromUnits(1)), max);
    // The extremes parse; a ten-thousandth beyond them does not.
    EXPECT_EQ(Currency::parse(u"922337203685477.5807"), max);
    EXPECT_EQ(Currency::parse(u"-922337203685477.5808"), min);
    EXPECT_FALSE(Currency::parse(u"922337203685477.5808").has_value());
    EXPECT_FALSE(Currency::parse(u"922337203685477.58075").has_value());
}

TEST(Currency, DivisionByZeroIsAnErrorNotACrash)
{
    try {
        (void)(Currency::fromInt(1) / Currency());
        FAIL() << "no error";
    } catch (const platform::CurrencyError& e) {
        EXPECT_EQ(e.kind(), platform::CurrencyError::Kind::DivisionByZero);
        EXPECT_EQ(e.number(), 11);
    }
}

TEST(Currency, RoundsHalfAwayFromZeroWhenAsked)
{
    const auto away = Currency::Rounding::HalfAwayFromZero;
    EXPECT_EQ(Currency::parse(u"0.00025", u'.', away)->toString(), u"0.0003");
    EXPECT_EQ(Currency::parse(u"-0.00025", u'.', away)->toString(), u"-0.0003");
    EXPECT_EQ(Currency::parse(u"2.665")->toFixed(2, away), u"2.67");
    EXPECT_EQ(Currency::fromInt(1000).dividedBy(Currency::fromInt(3), away).toString(), u"333.3333");
    EXPECT_EQ(Currency::fromInt(2).dividedBy(Currency::fromInt(3), away).toString(), u"0.6667");
}
