// The application context: the state of the start-up and the log-in is the
// program's until the program context is reset.
#include "app/ContextoApp.h"
#include "app/Inicio.h"
#include "app/Login.h"
#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(ContextoApp, TheStartUpStateAndTheAdministratorFlagAreDroppedWithTheProgramContext)
{
    app::EstablecerLineaDeComandos(QStringLiteral("@Server=./servidor; @DbName=BKDEMO"));
    app::ImpresionPrograma().CarpetaPrograma = QStringLiteral("/opt/programa");
    app::EsAdministrador() = true;
    app::contexto().CondicionIvaEmpresaTexto = QStringLiteral("1");
    EXPECT_EQ(app::LineaDeComandos(), QStringLiteral("@Server=./servidor; @DbName=BKDEMO"));
    EXPECT_EQ(app::contexto().impresion.CarpetaPrograma, QStringLiteral("/opt/programa"));
    EXPECT_TRUE(app::contexto().EsAdministrador);

    platform::Runtime::instance().reset();
    testing_support::installScriptedOperator();
    EXPECT_EQ(app::LineaDeComandos(), QCoreApplication::arguments().mid(1).join(u' '));
    EXPECT_TRUE(app::ImpresionPrograma().CarpetaPrograma.isEmpty());
    EXPECT_FALSE(app::EsAdministrador());
    EXPECT_TRUE(app::contexto().CondicionIvaEmpresaTexto.isEmpty());
}
