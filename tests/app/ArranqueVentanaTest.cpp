#include "app/frmCorrigeCosto.h"

#include "ArranqueSoporte.h"
#include "app/Inicio.h"
#include "platform/core/Runtime.h"
#include "platform/ui/StatusBar.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace arranque_tests;
using platform::ui::Panel;
using platform::ui::StatusBar;

TEST(ArranqueVentana, TheMainWindowShowsWithItsStatusBarFilled)
{
    const QString servidor = ConstruirServidorDemo();
    InstalarDialogoGuionado();
    app::EstablecerLineaDeComandos(TextoDemo(servidor));

    app::frmCorrigeCosto formulario;
    auto* barra = formulario.findChild<StatusBar*>(QStringLiteral("sbStatusBar"));
    ASSERT_NE(barra, nullptr);
    const int anchoAlCargar = barra->Width();
    formulario.Form_Load();
    formulario.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&formulario));

    ASSERT_EQ(barra->PanelCount(), 7);
    EXPECT_TRUE(barra->isVisible());
    EXPECT_EQ(barra->Panels(QStringLiteral("SERVER")).Text(), QStringLiteral("Srv: ") + servidor);
    EXPECT_EQ(barra->Panels(QStringLiteral("BASEDEDATOS")).Text(), QStringLiteral("Db: BKDEMO"));
    EXPECT_EQ(barra->Panels(QStringLiteral("USUARIO")).Text(), QStringLiteral("Uid: demo"));
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("1 CAJA PRINCIPAL"));
    EXPECT_TRUE(barra->Panels(QStringLiteral("VERSION")).Text().startsWith(QStringLiteral("V.")));
    EXPECT_EQ(barra->Panels(6).style(), Panel::Style::Date);
    EXPECT_EQ(barra->Panels(6).Key(), QString());
    EXPECT_EQ(barra->Panels(QStringLiteral("MENSAJE")).Text(), QString());
    // The widths follow the bar's width at load.
    EXPECT_GT(anchoAlCargar, 0);
    EXPECT_EQ(barra->Panels(7).Width(), qRound(anchoAlCargar * 0.30));
}

TEST(ArranqueVentana, TheLoadEndsTheProgramWhenTheStartIsCancelled)
{
    ConstruirServidorDemo();
    InstalarDialogoGuionado().respuestas.push_back({});
    app::EstablecerLineaDeComandos(QString());

    app::frmCorrigeCosto formulario;
    EXPECT_THROW(formulario.Form_Load(), platform::ProgramExit);
}

} // namespace
