// The connection and reconnect dialogs show every text whole at their design
// sizes, in the program's fonts.
#include "data/frmAcceso.h"
#include "data/frmReconectar.h"

#include "support/TextFit.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

TEST(TextosEnterosDialogos, TheConnectionDialogShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    data::frmAcceso dialogo;
    dialogo.TxtUserId->setText(QStringLiteral("demo"));
    dialogo.TxtDbName->setText(QStringLiteral("BKDEMO"));
    dialogo.TxtServidor->setText(QStringLiteral("srv01\\TORVANE"));
    const QStringList cortados = testing_support::cutTextsOnScreen(dialogo);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}

TEST(TextosEnterosDialogos, TheReconnectDialogShowsEveryTextWhole)
{
    const testing_support::DesignFonts fuentes;
    data::frmReconectar dialogo;
    dialogo.lblMensaje->setText(QStringLiteral("Intentando reconectar con el servidor...\r\nAbrirRecordset"));
    const QStringList cortados = testing_support::cutTextsOnScreen(dialogo);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}
