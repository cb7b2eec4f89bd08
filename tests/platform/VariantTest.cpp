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
