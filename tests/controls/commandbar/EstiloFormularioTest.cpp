// The form styling reaches a real command bar on the form.
#include "BarraPrueba.h"

#include "common/AplicarEstilo.h"

#include <QSignalSpy>

using commandbar_tests::BarraTest;
using controls::UtilVek;

using EstiloFormularioTest = BarraTest;

TEST_F(EstiloFormularioTest, TheFormsStyleBecomesTheBarsStyle)
{
    const struct
    {
        int estiloFormulario;
        int estiloBarra;
        platform::ui::OleColor normal;
    } casos[] = {
        {-1, 5, platform::ui::rgb(122, 122, 122)},
        {0, 1, platform::ui::rgb(96, 138, 204)},
        {2, 3, platform::ui::rgb(160, 155, 135)},
        {7, 2, platform::ui::rgb(42, 42, 42)},
    };
    for (const auto& caso : casos) {
        QWidget form;
        auto* barra = new UtilVek(new QWidget(&form));
        QSignalSpy avisos(barra, &UtilVek::PropertyChanged);
        common::AplicarEstilo(&form, true, caso.estiloFormulario);
        SCOPED_TRACE(caso.estiloFormulario);
        EXPECT_EQ(barra->Estilo(), caso.estiloBarra);
        EXPECT_EQ(barra->NormalBackColor(), caso.normal);
        ASSERT_EQ(avisos.count(), 1);
        EXPECT_EQ(avisos.at(0).at(0).toString(), QStringLiteral("Theme"));
    }
}
