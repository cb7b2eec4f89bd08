// The whole start-up road on the demo data base, with the scripted operator
// and a scripted connection dialog.
#include "app/Inicio.h"
#include "app/Login.h"

#include "ArranqueSoporte.h"
#include "common/MensajeError.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace arranque_tests;
namespace msgbox = platform::msgbox;

const QString kPrimerMensaje =
    QStringLiteral("El usuario o clave en la base de datos es incorrecto!\r\nIntentelo nuevamente");
const QString kIntentoFallido = QStringLiteral("Usuario o Clave incorrecta");
const QString kDemasiadosIntentos =
    QStringLiteral("Demasiados intentos para iniciar sesion!\r\nComuniquese con el administrador de sistemas");

class Arranque : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor = ConstruirServidorDemo();
        dialogo = &InstalarDialogoGuionado();
    }

    // Runs the road as the startup form does, with `linea` as the command
    // line; returns the exit status, or nullopt when the road returned.
    std::optional<int> Arrancar(const QString& linea)
    {
        app::EstablecerLineaDeComandos(linea);
        QString cadena;
        try {
            app::VerificaConexion(false, QString(), cadena, 3);
        } catch (const platform::ProgramExit& salida) {
            return salida.status;
        }
        return std::nullopt;
    }

    QList<QStringList> Accesos() const
    {
        return Filas(servidor, QStringLiteral("SELECT Usuario, NombreUsuario FROM Control_Acceso"));
    }
    QList<QStringList> Auditoria() const
    {
        return Filas(servidor, QStringLiteral("SELECT Tipo_accion, SYSTEMUSER, IdComplemento FROM V_MV_CPTEACCIONES"));
    }

    QString servidor;
    DialogoGuionado* dialogo = nullptr;
};

TEST_F(Arranque, TheParameterTextLogsInAndRecordsTheAccess)
{
    EXPECT_EQ(Arrancar(TextoDemo(servidor) + QStringLiteral(";@ParametroAdicional=extra")), std::nullopt);

    const data::DB_Dll& principal = data::gDbPrincipal();
    EXPECT_TRUE(principal.gOpenFlag);
    EXPECT_EQ(principal.gDBName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(principal.gServidor, servidor);
    EXPECT_EQ(principal.gCnn->IsolationLevel(), 256);
    EXPECT_EQ(principal.gCnn->CommandTimeout(), common::valoresCorrida().TiempoEsperaComandos);
    EXPECT_TRUE(principal.gEsAdmin);
    EXPECT_TRUE(app::EsAdministrador());
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("demo"));
    EXPECT_EQ(common::valoresCorrida().CajaActual, QStringLiteral("1"));
    EXPECT_EQ(common::valoresCorrida().ValorParametroAdicional, QStringLiteral("extra"));
    EXPECT_TRUE(dialogo->aperturas.isEmpty());
    EXPECT_TRUE(MensajesPreguntados().isEmpty());
    ASSERT_EQ(Accesos().size(), 1);
    EXPECT_EQ(Accesos().front().front().toLower(), QStringLiteral("demo"));
    EXPECT_TRUE(Auditoria().isEmpty());
    EXPECT_TRUE(QFile::exists(testing_support::testFolder() + QStringLiteral("/consultas.bkd")));
}

TEST_F(Arranque, WithoutAServerTheConnectionDialogAsks)
{
    dialogo->respuestas.push_back(
        {true, QStringLiteral("demo"), QStringLiteral("demo"), QStringLiteral("BKDEMO"), servidor, std::nullopt});
    EXPECT_EQ(Arrancar(QStringLiteral("@DbName=BKDEMO;@Usuario=demo;@Password=demo")), std::nullopt);

    ASSERT_EQ(dialogo->aperturas.size(), 1);
    EXPECT_EQ(dialogo->aperturas.front().TxtDbName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(dialogo->aperturas.front().TxtUserId, QStringLiteral("demo"));
    EXPECT_EQ(data::gDbPrincipal().gDBName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(Accesos().size(), 1);
}

TEST_F(Arranque, AnEmptyCommandLineAsksForEverything)
{
    dialogo->respuestas.push_back(
        {true, QStringLiteral("demo"), QStringLiteral("demo"), QStringLiteral("BKDEMO"), servidor, std::nullopt});
    EXPECT_EQ(Arrancar(QString()), std::nullopt);
    ASSERT_EQ(dialogo->aperturas.size(), 1);
    EXPECT_EQ(dialogo->aperturas.front().TxtServidor, QString());
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("demo"));
    EXPECT_EQ(Accesos().size(), 1);
}

TEST_F(Arranque, ACancelledConnectionDialogEndsTheProgram)
{
    dialogo->respuestas.push_back({});
    const auto salida = Arrancar(QStringLiteral("@DbName=BKDEMO;@Usuario=demo"));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_FALSE(data::gDbPrincipal().gOpenFlag);
}

TEST_F(Arranque, AServerThatCannotBeOpenedEndsTheProgram)
{
    testing_support::scriptedOperator().answerMsgBox(msgbox::No);
    const auto salida = Arrancar(QStringLiteral("@Server=") + servidor +
                                 QStringLiteral(";@DbName=NOEXISTE;@Usuario=demo;@Password=demo"));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_TRUE(Accesos().isEmpty());
}

TEST_F(Arranque, AWrongPasswordGivesThreeTriesThenEndsTheProgram)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::OK, kPrimerMensaje);
    for (int i = 0; i < 3; ++i) {
        dialogo->respuestas.push_back({true,
                                       QStringLiteral("demo"),
                                       QStringLiteral("mala") + QString::number(i),
                                       std::nullopt,
                                       std::nullopt,
                                       {}});
        op.answerMsgBox(msgbox::OK, kIntentoFallido);
    }
    op.answerMsgBox(msgbox::OK, kDemasiadosIntentos);

    const auto salida = Arrancar(TextoDemo(servidor, QStringLiteral("mala")));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);

    EXPECT_EQ(MensajesPreguntados(),
              (QStringList{kPrimerMensaje, kIntentoFallido, kIntentoFallido, kIntentoFallido, kDemasiadosIntentos}));
    const auto& preguntas = op.asked();
    EXPECT_EQ(preguntas.front().style, msgbox::Critical);
    EXPECT_EQ(preguntas.front().title, QStringLiteral("Atencion!"));
    EXPECT_EQ(preguntas.at(1).style, msgbox::Information);
    EXPECT_EQ(preguntas.at(1).title, QStringLiteral("Atencion"));
    EXPECT_EQ(preguntas.back().style, msgbox::Critical);

    ASSERT_EQ(dialogo->aperturas.size(), 3);
    EXPECT_EQ(dialogo->aperturas.front().TxtDbName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(dialogo->aperturas.front().TxtServidor, servidor);
    EXPECT_EQ(dialogo->aperturas.front().TxtUserId, QStringLiteral("demo"));
    EXPECT_EQ(dialogo->aperturas.front().TxtUserPassword, QStringLiteral("mala"));
    EXPECT_EQ(dialogo->aperturas.at(2).TxtUserPassword, QStringLiteral("mala1"));

    const QStringList fila{QStringLiteral("A"), QStringLiteral("Intento de inicio de sesion fallido"),
                           QStringLiteral("0")};
    EXPECT_EQ(Auditoria(), (QList<QStringList>{fila, fila, fila}));
    EXPECT_TRUE(Accesos().isEmpty());
    EXPECT_FALSE(app::EsAdministrador());
}

TEST_F(Arranque, ARightPasswordOnTheSecondTryGoesOn)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::OK, kPrimerMensaje);
    dialogo->respuestas.push_back(
        {true, QStringLiteral("demo"), QStringLiteral("otra"), std::nullopt, std::nullopt, {}});
    op.answerMsgBox(msgbox::OK, kIntentoFallido);
    dialogo->respuestas.push_back(
        {true, QStringLiteral("vendedor"), QStringLiteral("vendedor"), std::nullopt, std::nullopt, {}});

    EXPECT_EQ(Arrancar(TextoDemo(servidor, QStringLiteral("mala"))), std::nullopt);

    EXPECT_EQ(dialogo->aperturas.size(), 2);
    EXPECT_EQ(Auditoria().size(), 1);
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("vendedor"));
    // The administrator's name was typed with a wrong password: the flags
    // are those of the user who logged in.
    EXPECT_FALSE(app::EsAdministrador());
    EXPECT_FALSE(data::gDbPrincipal().gEsAdmin);
    ASSERT_EQ(Accesos().size(), 1);
    EXPECT_EQ(Accesos().front().front().toLower(), QStringLiteral("vendedor"));
}

TEST_F(Arranque, ALoginOnAnotherDataBaseConnectsThereAndChecksAgain)
{
    ASSERT_TRUE(QFile::copy(servidor + QStringLiteral("/BKDEMO.sqlite"), servidor + QStringLiteral("/BKOTRA.sqlite")));
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::OK, kPrimerMensaje);
    dialogo->respuestas.push_back(
        {true, QStringLiteral("demo"), QStringLiteral("demo"), QStringLiteral("BKOTRA"), std::nullopt, {}});

    EXPECT_EQ(Arrancar(TextoDemo(servidor, QStringLiteral("mala"))), std::nullopt);

    EXPECT_EQ(data::gDbPrincipal().gDBName, QStringLiteral("BKOTRA"));
    EXPECT_EQ(data::gDbPrincipal().gCnn->DefaultDatabase().toUpper(), QStringLiteral("BKOTRA"));
    EXPECT_EQ(Filas(servidor, QStringLiteral("SELECT Usuario FROM Control_Acceso"), QStringLiteral("BKOTRA")).size(),
              1);
    EXPECT_TRUE(Accesos().isEmpty());
}

TEST_F(Arranque, ACancelledLoginTryEndsTheProgram)
{
    testing_support::scriptedOperator().answerMsgBox(msgbox::OK, kPrimerMensaje);
    dialogo->respuestas.push_back({});
    const auto salida = Arrancar(TextoDemo(servidor, QStringLiteral("mala")));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_TRUE(Accesos().isEmpty());
}

struct CasoSinClave
{
    const char* nombre;
    const char* usuario;
    const char* clave;
};

void PrintTo(const CasoSinClave& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class ArranqueSinClave : public Arranque, public ::testing::WithParamInterface<CasoSinClave>
{
};

// Only a users-table row holding the typed password lets a user in: neither
// the data base's name nor a password equal to it stands for one.
TEST_P(ArranqueSinClave, IsRefusedAsAWrongLogIn)
{
    const CasoSinClave& caso = GetParam();
    testing_support::scriptedOperator().answerMsgBox(msgbox::OK, kPrimerMensaje);
    dialogo->respuestas.push_back({});
    const auto salida = Arrancar(QStringLiteral("@Server=") + servidor + QStringLiteral(";@DbName=BKDEMO;@Usuario=") +
                                 QString::fromUtf8(caso.usuario) + QStringLiteral(";@Password=") +
                                 QString::fromUtf8(caso.clave) + QStringLiteral(";@Caja=1"));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    ASSERT_EQ(dialogo->aperturas.size(), 1);
    EXPECT_EQ(dialogo->aperturas.front().TxtUserPassword, QString::fromUtf8(caso.clave));
    EXPECT_TRUE(Accesos().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tabla, ArranqueSinClave,
                         ::testing::Values(CasoSinClave{"PasswordEqualToTheDataBaseName", "demo", "bkdemo"},
                                           CasoSinClave{"StoredPasswordMarker", "demo", "* *"},
                                           CasoSinClave{"DataBaseNameAsUser", "BKDEMO", "cualquiera"},
                                           CasoSinClave{"DataBaseNameAsUserAndPassword", "bkdemo", "bkdemo"}),
                         [](const ::testing::TestParamInfo<CasoSinClave>& c) { return std::string(c.param.nombre); });

TEST_F(Arranque, AnEmptyDataBaseNameIsSaidToBeMissing)
{
    testing_support::scriptedOperator().answerMsgBox(msgbox::OK,
                                                     QStringLiteral("Falta el nombre de la base de datos."));
    const auto salida = Arrancar(QStringLiteral("@Server=") + servidor +
                                 QStringLiteral(";@DbName=;@Usuario=demo;@Password=demo;@Caja=1"));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_TRUE(Accesos().isEmpty());
}

TEST_F(Arranque, AnEmptyDataBaseFileIsRefusedAtOpen)
{
    QFile archivo(servidor + QStringLiteral("/BKDEMO.sqlite"));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    archivo.close();
    testing_support::scriptedOperator().answerMsgBox(msgbox::No, QStringLiteral("is damaged or is not a data base"));
    const auto salida = Arrancar(TextoDemo(servidor));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
}

TEST_F(Arranque, AbortToAnErrorOfTheStartUpEndsIt)
{
    Ejecutar(servidor, QStringLiteral("DROP TABLE TA_CONFIGURACION"));
    testing_support::scriptedOperator().answerMsgBox(msgbox::Abort, QStringLiteral("ta_configuracion"));
    const auto salida = Arrancar(TextoDemo(servidor));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_EQ(MensajesPreguntados().size(), 1);
    EXPECT_TRUE(Accesos().isEmpty());
}

TEST_F(Arranque, TheLoggedInUserAndTheCashBoxComeFromTheText)
{
    EXPECT_EQ(Arrancar(QStringLiteral("@UsuarioLogeado=vendedor;@Server=") + servidor +
                       QStringLiteral(";@DbName=BKDEMO;@Usuario=demo;@Password=vendedor;@Caja=")),
              std::nullopt);
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("vendedor"));
    EXPECT_EQ(common::valoresCorrida().CajaActual, QString());
}

TEST_F(Arranque, ASecondCallWithTheConnectionOpenSkipsTheParameters)
{
    ASSERT_EQ(Arrancar(TextoDemo(servidor)), std::nullopt);
    EXPECT_EQ(Arrancar(QStringLiteral("@Server=otro;@DbName=OTRA;@Usuario=nadie;@Caja=9")), std::nullopt);
    EXPECT_EQ(data::gDbPrincipal().gDBName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(common::valoresCorrida().CajaActual, QStringLiteral("1"));
    EXPECT_EQ(Accesos().size(), 2);
}

TEST_F(Arranque, AnOracleServerGetsTheOracleProviderText)
{
    testing_support::scriptedOperator().answerMsgBox(msgbox::No);
    app::EstablecerLineaDeComandos(QStringLiteral("@Server=#orasrv;@DbName=ORCL;@Usuario=demo;@Password=p;w"));
    QString cadena;
    EXPECT_THROW(app::VerificaConexion(false, QString(), cadena, 3), platform::ProgramExit);
    EXPECT_EQ(cadena, QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=demo;Password=p;"));
    EXPECT_EQ(data::gDbPrincipal().gServidor, QStringLiteral("orasrv"));
}

TEST_F(Arranque, AnUnexpectedErrorIsShownAndLoggedBeforeTheEnd)
{
    dialogo->respuestas.push_back({true, {}, {}, {}, {}, 3709});
    testing_support::scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("Fallo del dialogo de conexion"));

    const auto salida = Arrancar(QStringLiteral("@DbName=BKDEMO"));
    ASSERT_TRUE(salida.has_value());
    EXPECT_NE(*salida, 0);
    EXPECT_EQ(testing_support::scriptedOperator().asked().front().style, msgbox::Critical);

    QFile log(common::ArchivoBkErr());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString contenido = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(contenido.contains(QStringLiteral("VerificaConexion"))) << contenido.toStdString();
    EXPECT_TRUE(contenido.contains(QStringLiteral("Fallo del dialogo de conexion"))) << contenido.toStdString();
}

} // namespace
