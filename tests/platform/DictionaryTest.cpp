#include "platform/core/Collection.h"
#include "platform/core/Dictionary.h"
#include "platform/core/RunTimeError.h"

#include <gtest/gtest.h>

using platform::Collection;
using platform::Dictionary;
using platform::RunTimeError;
using platform::Variant;

TEST(Dictionary, KeepsInsertionOrderAndExactKeys)
{
    Dictionary d;
    EXPECT_TRUE(d.add(QStringLiteral("b"), 1));
    EXPECT_TRUE(d.add(QStringLiteral("a"), 2));
    EXPECT_TRUE(d.add(QStringLiteral("B"), 3));
    EXPECT_FALSE(d.add(QStringLiteral("a"), 9));
    EXPECT_EQ(d.keys(), QStringList({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("B")}));
    EXPECT_EQ(d.value(QStringLiteral("a")), Variant(2));
    EXPECT_TRUE(d.value(QStringLiteral("A")).isEmpty());
    d.insert(QStringLiteral("b"), u"x");
    d.insert(QStringLiteral("c"), 4);
    EXPECT_EQ(d.keys(),
              QStringList({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c")}));
    EXPECT_EQ(d.value(QStringLiteral("b")), Variant(u"x"));
}

TEST(Dictionary, FindsKeysOnceItOutgrowsAShortScan)
{
    Dictionary d;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(d.add(QString::number(i), i));
    }
    EXPECT_FALSE(d.add(QStringLiteral("42"), 0));
    d.insert(QStringLiteral("7"), u"seven");
    EXPECT_EQ(d.count(), 100);
    EXPECT_EQ(d.value(QStringLiteral("99")), Variant(99));
    EXPECT_EQ(d.value(QStringLiteral("7")), Variant(u"seven"));
    EXPECT_EQ(d.keys().first(), u"0");
    EXPECT_FALSE(d.contains(QStringLiteral("100")));
}

TEST(Collection, CountsFromOne)
{
    Collection c;
    c.add(u"x");
    c.add(Variant::null());
    EXPECT_EQ(c.count(), 2);
    EXPECT_EQ(c.item(1), Variant(u"x"));
    EXPECT_TRUE(c.item(2).isNull());
    for (qsizetype bad : {qsizetype(0), qsizetype(3), qsizetype(-1)}) {
        try {
            (void)c.item(bad);
            ADD_FAILURE() << bad;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}

TEST(Variant, HoldsObjectsByReferenceAndComparesTheirContents)
{
    auto a = std::make_shared<Dictionary>();
    a->add(QStringLiteral("k"), 1);
    const Variant held(a);
    const Variant copy = held;
    a->add(QStringLiteral("l"), 2);
    EXPECT_EQ(copy.toDictionary()->count(), 2);
    EXPECT_EQ(held.type(), platform::VariantType::Dictionary);
    EXPECT_EQ(held.toText(), u"");
    EXPECT_EQ(held.toCollection(), nullptr);

    auto b = std::make_shared<Dictionary>();
    b->add(QStringLiteral("k"), 1);
    b->add(QStringLiteral("l"), 2);
    EXPECT_EQ(held, Variant(b));
    b->insert(QStringLiteral("l"), 3);
    EXPECT_FALSE(held == Variant(b));

    auto list = std::make_shared<Collection>();
    list->add(held);
    auto same = std::make_shared<Collection>();
    same->add(Variant(a));
    EXPECT_EQ(Variant(list), Variant(same));
    EXPECT_FALSE(Variant(list) == held);
}

TEST(Variant, ConvertsDecimals)
{
    const Variant d(*platform::Decimal::parse(u"-12.3456789"));
    EXPECT_EQ(d.type(), platform::VariantType::Decimal);
    EXPECT_TRUE(d.isNumber());
    EXPECT_EQ(d.toText(), u"-12.3456789");
    EXPECT_EQ(*d.toInteger(), -12);
    EXPECT_EQ(d.toCurrency()->toString(), u"-12.3457");
    EXPECT_DOUBLE_EQ(*d.toDouble(), -12.3456789);
    EXPECT_TRUE(*d.toBoolean());
    EXPECT_EQ(d.toDecimal(), d.toDecimal());
    EXPECT_EQ(Variant(u"1.50").toDecimal()->toString(), u"1.5");
    EXPECT_EQ(Variant(true).toDecimal()->toString(), u"-1");
    EXPECT_EQ(Variant(0.1).toDecimal()->toString(), u"0.1");
    EXPECT_FALSE(Variant::null().toDecimal().has_value());
    EXPECT_EQ(Variant(*platform::Decimal::parse(u"1.5")), Variant(*platform::Decimal::parse(u"1.50")));
}
