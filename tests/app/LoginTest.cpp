#include "app/Login.h"

#include "ArranqueSoporte.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace arranque_tests;

struct CasoUsuario
{
    const char* nombre;
    const char* usuario;
    const char* clave;
    bool valido;
    bool administrador;
};

void PrintTo(const CasoUsuario& caso, std::ostream* salida)
{
    *salida << caso.nombre;
}

class LoginUsuarioValido : public ::testing::TestWithParam<CasoUsuario>
{
};

TEST_P(LoginUsuarioValido, ChecksTheUserOfThisSystem)
{
    const CasoUsuario& caso = GetParam();
    AbrirPrincipal(ConstruirServidorDemo());
    EXPECT_EQ(app::UsuarioValido(QString::fromUtf8(caso.usuario), QString::fromUtf8(caso.clave)), caso.valido);
    EXPECT_EQ(app::EsAdministrador(), caso.administrador);
    EXPECT_EQ(data::gDbPrincipal().gEsAdmin, caso.administrador);
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, LoginUsuarioValido,
    ::testing::Values(CasoUsuario{"AdministratorWithItsPassword", "demo", "demo", true, true},
                      CasoUsuario{"PasswordComparedIgnoringCase", "demo", "DEMO", true, true},
                      CasoUsuario{"NameTrimmed", "  demo ", "demo", true, true},
                      CasoUsuario{"UserOfSystemOrvo", "vendedor", "vendedor", true, false},
                      CasoUsuario{"UserOfAnotherSystem", "cajero", "cajero", false, false},
                      CasoUsuario{"WrongPasswordGrantsNoAdministrator", "demo", "mala", false, false},
                      CasoUsuario{"UnknownUser", "nadie", "demo", false, false},
                      CasoUsuario{"ApostropheInNameCannotChangeTheStatement", "x' OR '1'='1", "demo", false, false},
                      CasoUsuario{"AdministratorMarkerInTheNameIsPartOfTheName", "@Admin_demo", "demo", false, false},
                      CasoUsuario{"DataBaseNameIsNoUser", "bkdemo", "", false, false},
                      CasoUsuario{"DataBaseNameWithItselfAsPasswordIsNoUser", "BKDEMO", "bkdemo", false, false}),
    [](const ::testing::TestParamInfo<CasoUsuario>& caso) { return std::string(caso.param.nombre); });

TEST(Login, AFoundUserBecomesTheCurrentUserEvenWithAWrongPassword)
{
    AbrirPrincipal(ConstruirServidorDemo());
    common::valoresCorrida().UsuarioActual = QStringLiteral("otro");
    EXPECT_FALSE(app::UsuarioValido(QStringLiteral("demo"), QStringLiteral("mala")));
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("demo"));
}

TEST(Login, AWrongPasswordKeepsTheFlagsOfTheLastUserLoggedIn)
{
    AbrirPrincipal(ConstruirServidorDemo());
    ASSERT_TRUE(app::UsuarioValido(QStringLiteral("vendedor"), QStringLiteral("vendedor")));
    EXPECT_FALSE(app::UsuarioValido(QStringLiteral("demo"), QStringLiteral("mala")));
    EXPECT_FALSE(app::EsAdministrador());
    EXPECT_FALSE(data::gDbPrincipal().gEsAdmin);
}

} // namespace
