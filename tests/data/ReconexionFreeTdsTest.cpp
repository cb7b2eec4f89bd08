// The lost-connection rule reached from a real FreeTDS link: the main instance
// names a SQL Server on a loopback port whose listener accepts every
// connection and closes it at once, so every open and every reconnect fails
// in the driver as a broken link does (0x80004005, SQLSTATE 08001, native 11).
// No SQL Server answers here, so a reconnection that succeeds is covered by
// the tests that break an embedded link on demand.
#include "PausasReconexion.h"

#include "data/DB_Dll.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "support/LoopbackListener.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using data::DB_Dll;
using data_tests::Pausa;
using data_tests::preguntaConexion;
using data_tests::registrarPausas;
using data_tests::ventanaReconectar;
using platform::Variant;
namespace db = platform::db;
namespace msgbox = platform::msgbox;

namespace {

// The first entry of the main connection's Errors, as the lost-connection
// rule reads it.
struct Entrada
{
    int32_t numero = 0;
    QString estado;
    int32_t nativo = 0;
};

Entrada primeraEntrada()
{
    const db::Errors& errores = data::gDbPrincipal().gCnn->errors();
    if (errores.Count() == 0) {
        return {};
    }
    const db::ErrorInfo e = errores.Item(0);
    return {e.Number, e.SQLState, e.NativeError};
}

// A SQL Server on 127.0.0.1 that closes every connection it accepts, and the
// main instance opened on it (the open fails, as at a start with the server
// gone). The one-second login time-out bounds every attempt.
class ServidorQueCierra
{
public:
    ServidorQueCierra() : m_listener(testing_support::LoopbackListener::Mode::Close) {}

    bool listo() const { return m_listener.port() != 0; }
    QString servidor() const { return QStringLiteral("127.0.0.1,%1").arg(m_listener.port()); }
    int conexiones() const { return m_listener.accepted(); }

    DB_Dll& abrirPrincipal()
    {
        DB_Dll& principal = data::gDbPrincipal();
        principal.gServidor = servidor();
        principal.gDBName = QStringLiteral("PRECIOS");
        principal.OpenServerADODB(false, 3,
                                  QStringLiteral("PROVIDER=SQLOLEDB;Server=") + servidor() +
                                      QStringLiteral(";Database =PRECIOS;UId=demo;Pwd=demo;Connect Timeout=1;"),
                                  false, false);
        return principal;
    }

private:
    testing_support::LoopbackListener m_listener;
};

class ReconexionFreeTds : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!testing_support::freeTdsInstalled()) {
            GTEST_SKIP() << "the FreeTDS ODBC driver is not installed";
        }
        ASSERT_TRUE(servidor.listo());
    }

    ServidorQueCierra servidor;
};

TEST_F(ReconexionFreeTds, TheOpenAtStartFailsAsABrokenLink)
{
    DB_Dll& db = servidor.abrirPrincipal();
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(db.gCnn->State(), db::adStateClosed);
    const Entrada e = primeraEntrada();
    EXPECT_EQ(e.numero, db::adErr::Generic);
    EXPECT_EQ(e.estado, QStringLiteral("08001"));
    EXPECT_EQ(e.nativo, db::native::LostLink);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
    EXPECT_EQ(servidor.conexiones(), 1);
}

TEST_F(ReconexionFreeTds, OneSilentAttemptThenTheQuestionThenSeriesUntilCerrarSistemaEndsTheProgram)
{
    DB_Dll& db = servidor.abrirPrincipal();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Yes, preguntaConexion(servidor.servidor()));
    std::vector<Entrada> entradas;
    auto pausas = registrarPausas([&entradas](int n, QWidget* ventana) {
        entradas.push_back(primeraEntrada());
        if (n == 12) {
            data_tests::pulsar(ventana, QStringLiteral("cmdCancelar"));
        }
    });

    data::RecordsetPtr rs;
    EXPECT_THROW(db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs), platform::ProgramExit);

    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Conexion a la base de datos"));
    EXPECT_EQ(op.asked()[0].prompt, preguntaConexion(servidor.servidor()));
    EXPECT_EQ(op.asked()[0].style, msgbox::YesNo | msgbox::Critical);
    ASSERT_EQ(pausas->size(), 12u);
    std::vector<int> progreso;
    std::vector<bool> habilitado;
    for (const Pausa& p : *pausas) {
        progreso.push_back(p.progreso);
        habilitado.push_back(p.reintentarHabilitado);
        EXPECT_EQ(p.milisegundos, 500);
        EXPECT_EQ(p.mensaje, QStringLiteral("Intentando reconectar con el servidor...\r\nAsegurarConexion"));
    }
    EXPECT_EQ(progreso, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 10, 20}));
    EXPECT_EQ(habilitado,
              (std::vector<bool>{false, false, false, false, false, false, false, false, false, true, false, false}));
    // Every attempt of the series failed in the driver as a broken link.
    for (const Entrada& e : entradas) {
        EXPECT_EQ(e.numero, db::adErr::Generic);
        EXPECT_EQ(e.estado, QStringLiteral("08001"));
        EXPECT_EQ(e.nativo, db::native::LostLink);
    }
    // The open at start, the open of AsegurarConexion, its silent attempt and the twelve of the series.
    EXPECT_EQ(servidor.conexiones(), 15);
    EXPECT_EQ(ventanaReconectar(), nullptr);
    EXPECT_FALSE(db.gOpenFlag);
}

TEST_F(ReconexionFreeTds, ReintentarOnTheLastAttemptStartsAFreshSeries)
{
    DB_Dll& db = servidor.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, preguntaConexion(servidor.servidor()));
    auto pausas = registrarPausas([](int n, QWidget* ventana) {
        if (n == 10) {
            data_tests::pulsar(ventana, QStringLiteral("CmdReintentar"));
        }
        if (n == 11) {
            data_tests::pulsar(ventana, QStringLiteral("cmdCancelar"));
        }
    });
    data::RecordsetPtr rs;
    EXPECT_THROW(db.AbrirRecordset(QStringLiteral("SELECT 1"), rs), platform::ProgramExit);
    ASSERT_EQ(pausas->size(), 11u);
    EXPECT_EQ((*pausas)[9].progreso, 100);
    EXPECT_EQ((*pausas)[10].progreso, 10);
}

TEST_F(ReconexionFreeTds, NoEndsTheProgramAfterTheLogsAreFlushed)
{
    DB_Dll& db = servidor.abrirPrincipal();
    platform::LogFile log;
    ASSERT_TRUE(log.open(QDir(testing_support::testFolder()).filePath(QStringLiteral("corrida.txt"))));
    ASSERT_TRUE(log.writeLine(QStringLiteral("antes del corte")));
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::No, preguntaConexion(servidor.servidor()));
    auto pausas = registrarPausas([](int, QWidget*) {});

    EXPECT_THROW(db.DatosTabla(QStringLiteral("ARTICULOS"), QStringLiteral("0001"), QStringLiteral("NOMBRE"),
                               QStringLiteral("CODIGO"), Variant(8), QString(), true, false),
                 platform::ProgramExit);

    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Conexion a la base de datos"));
    EXPECT_TRUE(pausas->empty());
    EXPECT_EQ(servidor.conexiones(), 3); // the open at start, AsegurarConexion's open, its silent attempt
    EXPECT_FALSE(log.isOpen());
    QFile f(log.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("antes del corte\r\n"));
}

TEST_F(ReconexionFreeTds, ACommandAsksAgainAfterEachFailedYesAndNoEnds)
{
    DB_Dll& db = servidor.abrirPrincipal();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Yes, QStringLiteral("Se perdio la conexion con la base de datos PRECIOS"));
    op.answerMsgBox(msgbox::No, QStringLiteral("Se perdio la conexion con la base de datos PRECIOS"));
    QString sql = QStringLiteral("UPDATE ARTICULOS SET N = 1");
    EXPECT_THROW(db.EjecutaConsultaSQL(sql), platform::ProgramExit);
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("AVISO AL OPERADOR"));
    EXPECT_EQ(op.asked()[1].title, QStringLiteral("AVISO AL OPERADOR"));
    // The open at start, four silent attempts before the question, one after the Yes.
    EXPECT_EQ(servidor.conexiones(), 6);
}

TEST_F(ReconexionFreeTds, WithoutMessagesNothingIsAskedAndTheFailedCommandIsLogged)
{
    DB_Dll& db = servidor.abrirPrincipal();
    db.SinMensajes = true;
    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs);
    EXPECT_EQ(rs->State(), db::adStateClosed);
    QString sql = QStringLiteral("UPDATE ARTICULOS SET N = 1");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
    EXPECT_EQ(primeraEntrada().nativo, db::native::LostLink);
    // The open at start, AsegurarConexion's open and silent attempt, four silent attempts of the command.
    EXPECT_EQ(servidor.conexiones(), 7);
    QFile f(QDir(testing_support::testFolder()).filePath(QStringLiteral("BKERR.LOG")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains(QStringLiteral("Sentencia: UPDATE ARTICULOS SET N = 1")));
}

} // namespace
