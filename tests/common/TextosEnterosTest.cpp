// The timed message box and the busy banner show every text whole at their
// design sizes, in the program's fonts.
#include "common/FrmMsgBox.h"
#include "common/Lbf_CtrlDisplay.h"

#include "support/TextFit.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(TextosEnteros, TheTimedMessageBoxShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    common::FrmMsgBox box;
    box.Titulo = QStringLiteral("Aviso");
    box.mensaje = QStringLiteral("Corrección finalizada con éxito.");
    box.ActualizarLeyenda();
    const QStringList cortados = testing_support::cutTextsOnScreen(box);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}

TEST(TextosEnteros, TheBusyBannerShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    common::Lbf_CtrlDisplay banner;
    banner.LblCtrol[0]->setText(QStringLiteral("Iniciando Aplicacion"));
    banner.LblCtrol[1]->setText(QStringLiteral("CorrigePrecios"));
    banner.LblCtrol[2]->setText(QStringLiteral("Espere por favor"));
    banner.CmdDisplayCancelar->setVisible(true);
    const QStringList cortados = testing_support::cutTextsOnScreen(banner);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}
