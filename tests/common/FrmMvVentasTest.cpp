#include "common/FrmMvVentas.h"
#include "platform/ui/CommPort.h"
#include "platform/ui/FlexGrid.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QLineEdit>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using common::FrmMvVentas;

TEST(FrmMvVentas, LoadsWithItsControlsAndTexts)
{
    FrmMvVentas form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const char* texts[3] = {"sucursal", "letra", "numero"};
    for (int i = 0; i < 3; ++i) {
        auto* box = form.findChild<QLineEdit*>(QStringLiteral("txtfields_%1").arg(i));
        ASSERT_NE(box, nullptr) << i;
        EXPECT_EQ(box, form.txtfields[i]);
        EXPECT_EQ(box->text(), QString::fromLatin1(texts[i]));
        EXPECT_TRUE(box->isVisible());
    }
    for (const char* name : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3"}) {
        EXPECT_NE(form.findChild<platform::ui::FlexGrid*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(form.findChild<QToolBar*>(QStringLiteral("tbarimp")), form.tbarimp);
    EXPECT_EQ(form.findChild<platform::ui::CommPort*>(QStringLiteral("MSComm1")), form.MSComm1);
}

TEST(FrmMvVentas, ItsMembersDoNothing)
{
    FrmMvVentas form;
    form.show();
    form.AgregoRegargo(platform::Variant(12));
    form.AnulacionCompleta(u"FC", 1, 123, u"A");
    form.AnulacionCompleta({}, {}, {}, {});
    form.ObtieneBorrador();
    emit form.MSComm1->OnComm();
    QCoreApplication::processEvents();

    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.txtfields[0]->text(), QStringLiteral("sucursal"));
    EXPECT_EQ(form.txtfields[1]->text(), QStringLiteral("letra"));
    EXPECT_EQ(form.txtfields[2]->text(), QStringLiteral("numero"));
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}
