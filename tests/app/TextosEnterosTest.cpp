// Every text of the main form shows whole at the sizes the form was designed
// for, in the program's fonts.
#include "CorrigeCostoSoporte.h"

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "platform/ui/ListView.h"
#include "platform/ui/StatusBar.h"
#include "support/TextFit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using corrige_tests::FormularioDemo;

TEST(TextosEnteros, TheMainFormShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    FormularioDemo demo;
    app::frmCorrigeCosto& form = *demo.form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // A day with its changes listed and one group shown in the grid.
    form.FhOcx1->Fh_Desde = QStringLiteral("18/03/2024");
    form.FhOcx1->Fh_Hasta = QStringLiteral("18/03/2024");
    form.FhOcx1->txtFechas[0]->setText(QStringLiteral("18/03/2024"));
    form.FhOcx1->txtFechas[1]->setText(QStringLiteral("18/03/2024"));
    form.txtfields[0]->setText(QStringLiteral("08:00"));
    form.txtfields[1]->setText(QStringLiteral("09:00"));
    form.cmdRecargar->click();
    ASSERT_GT(form.lstListado->ItemCount(), 0);
    platform::ui::ListItem* item = &form.lstListado->Item(1);
    QTest::mouseClick(form.lstListado->viewport(), Qt::LeftButton, {}, form.lstListado->visualItemRect(item).center());
    ASSERT_EQ(form.lstListado->SelectedItem(), item);

    // The status bar's panels show the run's values, not texts of the form.
    const QStringList cortados = testing_support::cutTextsOnScreen(form, {form.sbStatusBar});
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}
