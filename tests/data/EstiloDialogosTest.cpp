// The connection and reconnect dialogs style themselves when they load.
#include "data/frmAcceso.h"
#include "data/frmReconectar.h"

#include "platform/util/Dll_ApiWindows.h"
#include "support/TestEnvironment.h"

#include <QColor>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QColor rol(const QWidget* w, QPalette::ColorRole r)
{
    return w->palette().color(r);
}

// Style 2 for the user's sections without a data base (no connection is open).
void escribirEstiloDos()
{
    const QString usuario = platform::Dll_ApiWindows::shared().NombreUsuarioWindows().toUpper();
    QFile ini(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[%1_Styles]\r\nStyles=2\r\n").arg(usuario).toUtf8());
}

// Style 4's form background, and its button face mixed with the accept green
// and the cancel red.
const QColor kFondo(235, 236, 238);
const QColor kCaraAceptar(123, 187, 138);
const QColor kCaraCancelar(206, 131, 132);
const QColor kCara(218, 221, 224);

} // namespace

TEST(EstiloDialogos, TheConnectionDialogIsStyledOnLoad)
{
    data::frmAcceso dialogo;
    EXPECT_EQ(rol(&dialogo, QPalette::Window), kFondo);
    EXPECT_TRUE(dialogo.bcAceptar->isFlat());
    EXPECT_EQ(rol(dialogo.bcAceptar, QPalette::Button), kCaraAceptar);
    EXPECT_EQ(rol(dialogo.bcCancelar, QPalette::Button), kCaraCancelar);
    EXPECT_EQ(rol(dialogo.CmdLineaComando, QPalette::Button), kCara);
}

TEST(EstiloDialogos, TheReconnectDialogIsStyledOnLoad)
{
    data::frmReconectar dialogo;
    EXPECT_EQ(rol(&dialogo, QPalette::Window), kFondo);
    EXPECT_EQ(rol(dialogo.cmdCancelar, QPalette::Button), kCaraCancelar);
    EXPECT_EQ(rol(dialogo.CmdReintentar, QPalette::Button), kCara);
}

TEST(EstiloDialogos, TheDialogsTakeTheStyleOfTheSettings)
{
    escribirEstiloDos();
    data::frmAcceso acceso;
    data::frmReconectar reconectar;
    EXPECT_EQ(rol(&acceso, QPalette::Window), QColor(242, 241, 225));
    EXPECT_EQ(rol(&reconectar, QPalette::Window), QColor(242, 241, 225));
}
