// The column chooser shows every text whole at its design size, in the
// program's fonts.
#include "controls/grid/FrmCampos.h"

#include "support/TextFit.h"

#include <gtest/gtest.h>

TEST(TextosEnteros, TheColumnChooserShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    controls::FrmCampos chooser;
    // The columns of the price history, the key column last, two of them chosen.
    chooser.gCampos = QStringLiteral("[FechaHora]|[IdArticulo]|[idLista]|[Costo]|[Precio1]|[Precio2]|[Precio3]|"
                                     "[Precio4]|[Precio5]|[Precio6]|[Precio7]|[Precio8]|[ID]|");
    chooser.gCamposSel = QStringLiteral("[IdArticulo],[Costo],[ID]");
    chooser.gOrdinalSel = QStringLiteral("1|2|");
    const QStringList cortados = testing_support::cutTextsOnScreen(chooser);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}
