#include "platform/core/Variant.h"

#include <gtest/gtest.h>

using platform::Variant;
using platform::VariantType;

TEST(Variant, EmptyAndNullAreDistinct)
{
    const Variant empty;
    const Variant null = Variant::null();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(null.isEmpty());
    EXPECT_FALSE(empty == null);
    EXPECT_EQ(empty.toText(), u"");
    EXPECT_EQ(null.toText(), u"");
    EXPECT_FALSE(null.toCurrency().has_value());
}

TEST(Variant, ConversionsFollowTheSystemsRules)
{
    EXPECT_EQ(Variant(true).toText(), u"True");
    EXPECT_EQ(*Variant(u"True").toBoolean(), true);
    EXPECT_EQ(*Variant(u"1").toBoolean(), true);
    EXPECT_EQ(*Variant(u"0").toBoolean(), false);
    EXPECT_FALSE(Variant(u"si").toBoolean().has_value());
    EXPECT_EQ(Variant(u"12.345").toCurrency()->toString(), u"12.345");
    EXPECT_EQ(*Variant(u" 42 ").toInteger(), 42);
    EXPECT_FALSE(Variant(u"4x").toInteger().has_value());
    EXPECT_EQ(Variant(int64_t(7)).type(), VariantType::Integer);
}

// A double's text is Qt's fifteen significant digits, also for the amounts
// written without it: whole numbers, cents, the sixth decimal, negatives,
// both ends of the range and values that have no short decimal.
TEST(Variant, ADoubleReadsAsItsFifteenSignificantDigits)
{
    const double cases[] = {0.0,
                            -0.0,
                            1.0,
                            -1.0,
                            0.1,
                            0.3,
                            1.005,
                            12.34,
                            -12.34,
                            100.0,
                            123456.78,
                            0.0001,
                            0.00012,
                            0.000123,
                            0.0005,
                            0.00001,
                            1.234567,
                            0.1234567,
                            1e14,
                            99999999999999.9,
                            1e15,
                            999999999999999.0,
                            123456789012345.6,
                            2.0 / 3.0,
                            1e-5,
                            1e300,
                            5e-324,
                            9007199254740993.0,
                            0.30000000000000004,
                            1234567.890123};
    for (double d : cases)
        EXPECT_EQ(Variant(d).toText(), QString::number(d, 'g', 15)) << d;
    // Prices as a page shows them: cents up to a million, and four-decimal rates.
    uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double cents = double(state >> 40) / 100.0;
        const double rate = double(state >> 44) / 10000.0 - 500.0;
        EXPECT_EQ(Variant(cents).toText(), QString::number(cents, 'g', 15)) << cents;
        EXPECT_EQ(Variant(rate).toText(), QString::number(rate, 'g', 15)) << rate;
    }
}
