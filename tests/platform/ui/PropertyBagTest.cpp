#include "platform/ui/PropertyBag.h"

#include <gtest/gtest.h>

using platform::ui::PropertyBag;

TEST(PropertyBag, ReadGivesTheReadersDefaultForAnAbsentEntry)
{
    PropertyBag bag;
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("PageSize"), 5).toInt(), 5);
    EXPECT_FALSE(bag.ReadProperty(QStringLiteral("SQL")).isValid());
    bag.WriteProperty(QStringLiteral("PageSize"), 4000, 4000);
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("PageSize"), 5).toInt(), 5)
        << "a value written equal to the writer's default is not stored, so the reader's default applies";
}

TEST(PropertyBag, WritesStoreOnlyValuesThatDifferFromTheirDefault)
{
    const struct
    {
        const char* name;
        QVariant value;
        QVariant defaultValue;
        bool stored;
    } cases[] = {
        {"Find", 2, 2, false},
        {"Order", 1, 2, true},
        {"PrimaryKey", QStringLiteral("ID"), QVariant(), true},
        {"Columnas", false, QVariant(), true},
        {"AnchoColFijo", true, true, false},
        {"SQL", QString(), QString(), false},
        {"Caption", QStringLiteral("id"), QStringLiteral("ID"), true},
    };
    for (const auto& c : cases) {
        PropertyBag bag;
        bag.WriteProperty(QString::fromLatin1(c.name), c.value, c.defaultValue);
        EXPECT_EQ(bag.contains(QString::fromLatin1(c.name)), c.stored) << c.name;
        if (c.stored) {
            EXPECT_EQ(bag.ReadProperty(QString::fromLatin1(c.name), QStringLiteral("other")), c.value) << c.name;
        }
    }
}

TEST(PropertyBag, KeepsTheWritingOrderAndIgnoresLetterCaseOfNames)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("SQL"), QStringLiteral(" SELECT 1"));
    bag.WriteProperty(QStringLiteral("PrimaryKey"), QStringLiteral("ID"));
    bag.WriteProperty(QStringLiteral("Find"), 1, 2);
    bag.WriteProperty(QStringLiteral("PageSize"), 2000);
    EXPECT_EQ(bag.names(), (QStringList{QStringLiteral("SQL"), QStringLiteral("PrimaryKey"), QStringLiteral("Find"),
                                        QStringLiteral("PageSize")}));
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("sql")).toString(), u" SELECT 1");

    bag.WriteProperty(QStringLiteral("pagesize"), 100);
    EXPECT_EQ(bag.count(), 4) << "a rewrite replaces the entry in its place";
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("PageSize")).toInt(), 100);
    bag.WriteProperty(QStringLiteral("FIND"), 2, 2);
    EXPECT_FALSE(bag.contains(QStringLiteral("Find"))) << "back to its default, the entry goes";
    EXPECT_EQ(bag.count(), 3);
}
