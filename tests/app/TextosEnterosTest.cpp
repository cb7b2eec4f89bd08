// Every text of the main form shows whole at the sizes the form was designed
// for, in the program's fonts.
#include "CorrigeCostoSoporte.h"

#include "app/frmCorrigeCosto.h"
#include "platform/ui/StatusBar.h"
#include "support/TextFit.h"

#include <gtest/gtest.h>

using corrige_tests::FormularioDemo;

TEST(TextosEnteros, TheMainFormShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    FormularioDemo demo;
    app::frmCorrigeCosto& form = *demo.form;
    // A day with its changes listed and one group shown in the grid.
    ASSERT_NO_FATAL_FAILURE(corrige_tests::MostrarUnGrupo(form));

    // The status bar's panels show the run's values, not texts of the form.
    const QStringList cortados = testing_support::cutTextsOnScreen(form, {form.sbStatusBar});
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}
