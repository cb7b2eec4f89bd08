#include "app/Inicio.h"

#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

struct CasoParametro
{
    const char* nombre;
    const char* texto;
    const char* clave;
    std::optional<QString> esperado;
};

void PrintTo(const CasoParametro& caso, std::ostream* salida)
{
    *salida << caso.nombre;
}

class InicioParametros : public ::testing::TestWithParam<CasoParametro>
{
};

TEST_P(InicioParametros, ReadsTheValueOfTheWholeKey)
{
    const CasoParametro& caso = GetParam();
    EXPECT_EQ(app::ValorParametro(QString::fromUtf8(caso.texto), QString::fromUtf8(caso.clave)), caso.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, InicioParametros,
    ::testing::Values(
        CasoParametro{"Simple", "@Server=srv;@DbName=BKDEMO", "@Server", QStringLiteral("srv")},
        CasoParametro{"LastEntryWithoutSemicolon", "@Server=srv;@DbName=BKDEMO", "@DbName", QStringLiteral("BKDEMO")},
        CasoParametro{"UpperCaseKey", "@SERVER=srv;", "@Server", QStringLiteral("srv")},
        CasoParametro{"LowerCaseKey", "@dbname=BKDEMO;", "@DbName", QStringLiteral("BKDEMO")},
        CasoParametro{"BlanksAroundKeyAndValue", " @usuario = ana ;", "@Usuario", QStringLiteral("ana")},
        CasoParametro{"UsuarioBeforeLogeado", "@Usuario=ana;@UsuarioLogeado=luis;", "@Usuario", QStringLiteral("ana")},
        CasoParametro{"LogeadoBeforeUsuario", "@UsuarioLogeado=luis;@Usuario=ana;", "@Usuario", QStringLiteral("ana")},
        CasoParametro{"LogeadoReadWhole", "@Usuario=ana;@UsuarioLogeado=luis;", "@UsuarioLogeado",
                      QStringLiteral("luis")},
        CasoParametro{"LogeadoAbsent", "@Usuario=ana;", "@UsuarioLogeado", std::nullopt},
        CasoParametro{"FirstOccurrenceWins", "@Caja=2;@caja=3;", "@Caja", QStringLiteral("2")},
        CasoParametro{"EqualsSignInsideValueKept", "@Password=a=b=;", "@Password", QStringLiteral("a=b=")},
        CasoParametro{"EmptyValuePresent", "@Caja=;@DbName=x", "@Caja", QStringLiteral("")},
        CasoParametro{"KeyAbsent", "@DbName=x", "@Caja", std::nullopt},
        CasoParametro{"EntryWithoutEqualsIgnored", "@Caja 3;@DbName=x", "@Caja", std::nullopt},
        CasoParametro{"StrayTextIgnored", "basura;@ParametroAdicional=;@Caja=1;orvo@", "@Caja", QStringLiteral("1")},
        CasoParametro{"KeyInsideAValueIsNotAKey", "@ParametroAdicional=@Caja=9;", "@Caja", std::nullopt},
        CasoParametro{"KeyInsideAValueIsPartOfIt", "@ParametroAdicional=@Caja=9;", "@ParametroAdicional",
                      QStringLiteral("@Caja=9")},
        CasoParametro{"LongerKeyIsNotAMatch", "@ServerX=otro;@Server=srv", "@Server", QStringLiteral("srv")},
        CasoParametro{"EmptyText", "", "@Server", std::nullopt}),
    [](const ::testing::TestParamInfo<CasoParametro>& caso) { return std::string(caso.param.nombre); });

TEST(InicioParametrosTexto, ReadsEveryKeyOfTheTable)
{
    const app::ParametrosInicio p = app::LeerParametros(
        u"@usuario=ana; @UsuarioLogeado= ; @Server=/srv; @DbName= BKDEMO; @Password=x=y; @ParametroAdicional=extra");
    EXPECT_EQ(p.Server, QStringLiteral("/srv"));
    EXPECT_EQ(p.DbName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(p.Usuario, QStringLiteral("ana"));
    EXPECT_EQ(p.UsuarioLogeado, QStringLiteral(""));
    EXPECT_EQ(p.Password, QStringLiteral("x=y"));
    EXPECT_EQ(p.ParametroAdicional, QStringLiteral("extra"));
    EXPECT_EQ(p.Caja, std::nullopt);
}

TEST(InicioArchivoIni, WithoutTheFileTheStoredDefaultsAreUsed)
{
    EXPECT_EQ(app::ParametrosDesdeArchivoIni(),
              QStringLiteral("@server=; @dbname= ; @usuario= Brenvik; @Password= marbelo; @ParametroAdicional=; "
                             "@Caja=1;orvo@"));
}

// Writes the settings file's connection section with the stored user and
// password enciphered.
void EscribirConexionIni(const QString& servidor, const QString& base, const QString& usuario, const QString& clave)
{
    const auto& api = platform::Dll_ApiWindows::shared();
    const auto& util = platform::Dll_Utilidades::shared();
    QFile ini(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    const QString seccion =
        api.NombreEquipo().toUpper() + u'|' + api.NombreUsuarioWindows().toUpper() + QStringLiteral("BaseDeDatos");
    ini.write((QStringLiteral("[") + seccion + QStringLiteral("]\r\nServidor=") + servidor +
               QStringLiteral("\r\nDbName=") + base + QStringLiteral("\r\nUsuario=") + util.Encriptar(usuario) +
               QStringLiteral("\r\nUserPassWord=") + util.Encriptar(clave) + QStringLiteral("\r\n"))
                  .toUtf8());
}

TEST(InicioArchivoIni, TheConnectionSectionGivesTheParameterText)
{
    EscribirConexionIni(QStringLiteral("srv|1"), QStringLiteral("BKDEMO"), QStringLiteral("demo"),
                        QStringLiteral("cla|ve"));

    const QString texto = app::ParametrosDesdeArchivoIni();
    EXPECT_EQ(texto, QStringLiteral("@server=srv1; @dbname= BKDEMO; @usuario= demo; @Password= clave; "
                                    "@ParametroAdicional=; @Caja=1;orvo@"));
    const app::ParametrosInicio p = app::LeerParametros(texto);
    EXPECT_EQ(p.Server, QStringLiteral("srv1"));
    EXPECT_EQ(p.Usuario, QStringLiteral("demo"));
    EXPECT_EQ(p.Password, QStringLiteral("clave"));
    EXPECT_EQ(p.Caja, QStringLiteral("1"));
}

TEST(InicioArchivoIni, AValueThatWouldSpliceTheTextIsRefusedWithAMessage)
{
    const QChar nul(u'\0');
    struct Caso
    {
        QString servidor, base, usuario, clave;
        const char* campo;
    };
    const Caso casos[] = {
        {QStringLiteral("srv;@UsuarioLogeado=admin"), QStringLiteral("BKDEMO"), QStringLiteral("demo"),
         QStringLiteral("demo"), "El servidor"},
        {QStringLiteral("srv"), QStringLiteral("BKDEMO"), QStringLiteral("demo"), QStringLiteral("cla;@Caja=9"),
         "La clave"},
        {QStringLiteral("srv"), QStringLiteral("BKDEMO"), QStringLiteral("de") + nul + QStringLiteral("mo"),
         QStringLiteral("demo"), "El usuario"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.campo);
        EscribirConexionIni(caso.servidor, caso.base, caso.usuario, caso.clave);
        testing_support::scriptedOperator().answerMsgBox(
            platform::msgbox::OK, QString::fromUtf8(caso.campo) + QStringLiteral(" de la conexion guardada"));
        EXPECT_EQ(app::ParametrosDesdeArchivoIni(), QString());
        EXPECT_EQ(testing_support::scriptedOperator().pending(), 0u);
    }
}

} // namespace
