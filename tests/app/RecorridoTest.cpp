// The README's walk-through on the demo, typed and clicked as a clerk does it.
#include "CorrigeCostoSoporte.h"
#include "SoporteApp.h"

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "controls/grid/BkDbGrid.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ListView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using app::frmCorrigeCosto;
using corrige_tests::FormularioDemo;

namespace {

void Teclear(QLineEdit* caja, const QString& texto)
{
    QTest::mouseClick(caja, Qt::LeftButton);
    caja->selectAll();
    QTest::keyClicks(caja, texto);
}

// The day in both date boxes (an empty one stands for today), the hour range
// and "Cargar": the mass change of 08:05 is in sight without scrolling, and a
// click shows its 400 rows in the grid.
TEST(Recorrido, ElDiaEnLasDosCajasMuestraElCambioDeLas0805ALaVista)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    Teclear(form.FhOcx1->txtFechas[0], QStringLiteral("18/03/2024"));
    Teclear(form.FhOcx1->txtFechas[1], QStringLiteral("18/03/2024"));
    Teclear(form.txtfields[0], QStringLiteral("08:00"));
    Teclear(form.txtfields[1], QStringLiteral("09:00"));
    QTest::mouseClick(form.cmdRecargar, Qt::LeftButton);

    platform::ui::ListItem* grupo = nullptr;
    for (int i = 1; i <= form.lstListado->ItemCount(); ++i) {
        if (form.lstListado->Item(i).Text() == QStringLiteral("18/03/2024 08:05:00")) {
            grupo = &form.lstListado->Item(i);
        }
    }
    ASSERT_NE(grupo, nullptr);
    EXPECT_EQ(grupo->SubItems(1), QStringLiteral("400"));
    const QRect lugar = form.lstListado->visualItemRect(grupo);
    EXPECT_TRUE(form.lstListado->viewport()->rect().contains(lugar)) << lugar.y();

    QTest::mouseClick(form.lstListado->viewport(), Qt::LeftButton, {}, lugar.center());
    EXPECT_EQ(form.BkDbGrid1->MsFlexGrid->Rows(), 401);
}

} // namespace
