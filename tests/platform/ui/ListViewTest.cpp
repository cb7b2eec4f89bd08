#include "platform/ui/ListView.h"

#include "ControlErrorOf.h"
#include "platform/ui/ControlError.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using platform::ui::ListItem;
using platform::ui::ListView;
using platform::ui::toQColor;
using ui_tests::errorOf;
namespace controlErr = platform::ui::controlErr;

namespace {

// The change list's columns.
std::unique_ptr<ListView> makeList()
{
    auto list = std::make_unique<ListView>();
    using A = ListView::ColumnAlignment;
    list->AddColumnHeader(QStringLiteral("Fecha y hora"), 2000, A::Left);
    list->AddColumnHeader(QStringLiteral("Cant. registros"), 1400, A::Right);
    list->AddColumnHeader(QStringLiteral("Primera Hora"), 2000, A::Center);
    return list;
}

} // namespace

TEST(ListView, ItemsCarryTextSubItemsTagAndAlignment)
{
    auto list = makeList();
    EXPECT_EQ(list->ColumnHeaderCount(), 3);
    EXPECT_EQ(list->columnWidth(1), 93) << "1400 twips";
    ListItem& item = list->AddItem(QStringLiteral("01/02/2025 10:00:00"));
    item.setSubItems(1, QStringLiteral("12"));
    item.setSubItems(2, QStringLiteral("01/02/2025 10:00:05"));
    item.setTag(42);
    EXPECT_EQ(list->ItemCount(), 1);
    EXPECT_EQ(list->Item(1).Text(), u"01/02/2025 10:00:00");
    EXPECT_EQ(item.SubItems(1), u"12");
    EXPECT_EQ(item.SubItems(2), u"01/02/2025 10:00:05");
    EXPECT_EQ(item.Tag().toInt(), 42);
    EXPECT_EQ(item.textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(item.textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(errorOf([&] { item.setSubItems(3, {}); }), controlErr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { item.SubItems(0); }), controlErr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { list->Item(2); }), controlErr::IndexOutOfBounds);

    list->ClearItems();
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(list->SelectedItem(), nullptr);
}

TEST(ListView, BoldAndColoursApplyToTheItemAndEachSubItem)
{
    auto list = makeList();
    ListItem& item = list->AddItem(QStringLiteral("group"));
    item.setSubItems(1, QStringLiteral("3"));
    item.setBold(true);
    item.setForeColor(255);
    item.setSubItemForeColor(1, 255);
    EXPECT_TRUE(item.Bold());
    EXPECT_FALSE(item.font(1).bold()) << "sub-items keep the plain font";
    EXPECT_EQ(item.ForeColor(), 255u);
    EXPECT_EQ(item.SubItemForeColor(1), 255u);
    EXPECT_EQ(item.foreground(0).color(), QColor(255, 0, 0));
    EXPECT_EQ(item.foreground(1).color(), QColor(255, 0, 0));
    EXPECT_EQ(item.SubItemForeColor(2), list->ForeColor()) << "an untouched sub-item has the list's colour";
    list->setBackColor(0xE0E0E0u);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(224, 224, 224));
}

TEST(ListView, ItemsAreInsertedRemovedAndSelectedByPosition)
{
    auto list = makeList();
    list->AddItem(QStringLiteral("b"));
    list->AddItem(QStringLiteral("c"));
    list->InsertItem(1, QStringLiteral("a"));
    EXPECT_EQ(list->Item(1).Text(), u"a");
    EXPECT_EQ(list->Item(3).Index(), 3);
    list->RemoveItem(2);
    EXPECT_EQ(list->Item(2).Text(), u"c");
    EXPECT_EQ(errorOf([&] { list->InsertItem(4, {}); }), controlErr::IndexOutOfBounds);
    EXPECT_EQ(errorOf([&] { list->RemoveItem(0); }), controlErr::IndexOutOfBounds);

    EXPECT_EQ(list->SelectedItem(), nullptr);
    list->setSelectedItem(&list->Item(2));
    ASSERT_NE(list->SelectedItem(), nullptr);
    EXPECT_EQ(list->SelectedItem()->Text(), u"c");
    EXPECT_TRUE(list->Item(2).Selected());
    EXPECT_FALSE(list->Item(1).Selected());
}

TEST(ListView, CheckBoxesShowWhenSwitchedOn)
{
    auto list = makeList();
    list->AddItem(QStringLiteral("before"));
    list->setCheckboxes(true);
    ListItem& after = list->AddItem(QStringLiteral("after"));
    EXPECT_FALSE(after.Checked());
    after.setChecked(true);
    EXPECT_TRUE(after.Checked());
    EXPECT_TRUE(list->Item(1).flags() & Qt::ItemIsUserCheckable);
}

TEST(ListView, ItemClickFollowsTheMouseAndTheKeyboard)
{
    auto list = makeList();
    for (const char* text : {"uno", "dos", "tres"}) {
        list->AddItem(QString::fromLatin1(text));
    }
    list->resize(400, 200);
    list->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    QStringList clicked;
    QObject::connect(list.get(), &ListView::ItemClick, [&](ListItem* item) { clicked << item->Text(); });

    const QRect second = list->visualItemRect(&list->Item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    ASSERT_NE(list->SelectedItem(), nullptr);
    EXPECT_EQ(list->SelectedItem()->Text(), u"dos");
    list->setFocus();
    QTest::keyClick(list.get(), Qt::Key_Down);
    EXPECT_EQ(list->SelectedItem()->Text(), u"tres");
    QTest::keyClick(list.get(), Qt::Key_Down); // already on the last item: no pick
    list->setSelectedItem(&list->Item(1));     // chosen by the program: no event
    EXPECT_EQ(clicked, (QStringList{QStringLiteral("dos"), QStringLiteral("tres")}));
}
