// Error reporting and the lost-connection rule, with links broken on demand.
#include "BaseDePrueba.h"
#include "PausasReconexion.h"

#include "data/DialogoReconexion.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using data::DB_Dll;
using data_tests::BaseDePrueba;
using data_tests::Pausa;
using data_tests::preguntaConexion;
using data_tests::registrarPausas;
using data_tests::ventanaReconectar;
using platform::Variant;
namespace msgbox = platform::msgbox;

namespace {

int filas(DB_Dll& db, const QString& sql)
{
    data::RecordsetPtr rs;
    db.AbrirRecordset(sql, rs);
    return rs->State() == platform::db::adStateOpen ? int(rs->RecordCount()) : -1;
}

class DB_DllExpuesto : public DB_Dll
{
public:
    using DB_Dll::EvaluaErrorConexion;
};

TEST(Reconexion, ALostLinkIsMendedSilentlyAndTheOpenRunsAgain)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    base.registro().fallarSentencias = 1;
    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs);
    ASSERT_EQ(rs->State(), platform::db::adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(base.tomarLlamadas(), QStringList(2, QStringLiteral("SELECT * FROM ARTICULOS")));
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
    EXPECT_TRUE(db.gOpenFlag);
}

TEST(Reconexion, ServerAwayAsksThenTheDialogReconnectsAndTheOpenResumes)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Yes, preguntaConexion(base.carpeta()));
    auto pausas = registrarPausas([&base](int n, QWidget*) {
        if (n == 3) {
            base.servidor().broken = false; // the server is back for the fourth attempt
        }
    });
    base.servidor().broken = true;

    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs);

    ASSERT_EQ(rs->State(), platform::db::adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 3);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Conexion a la base de datos"));
    EXPECT_EQ(op.asked()[0].prompt, preguntaConexion(base.carpeta()));
    EXPECT_EQ(op.asked()[0].style, msgbox::YesNo | msgbox::Critical);
    ASSERT_EQ(pausas->size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((*pausas)[i].progreso, (i + 1) * 10);
        EXPECT_FALSE((*pausas)[i].reintentarHabilitado);
        EXPECT_EQ((*pausas)[i].milisegundos, 500);
    }
    EXPECT_EQ((*pausas)[0].mensaje, QStringLiteral("Intentando reconectar con el servidor...\r\nAbrirRecordset"));
    EXPECT_EQ(ventanaReconectar(), nullptr);
    EXPECT_TRUE(db.gOpenFlag);
}

TEST(Reconexion, ASeriesOfTenEnablesReintentarOnItsLastAttemptAndANewSeriesFollows)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, QStringLiteral("SE PERDIO LA CONEXION"));
    auto pausas = registrarPausas([&base](int n, QWidget*) {
        if (n == 12) {
            base.servidor().broken = false;
        }
    });
    base.servidor().broken = true;
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM ARTICULOS")), 3);
    ASSERT_EQ(pausas->size(), 12u);
    std::vector<int> progreso;
    std::vector<bool> habilitado;
    for (const Pausa& p : *pausas) {
        progreso.push_back(p.progreso);
        habilitado.push_back(p.reintentarHabilitado);
    }
    EXPECT_EQ(progreso, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 10, 20}));
    EXPECT_EQ(habilitado,
              (std::vector<bool>{false, false, false, false, false, false, false, false, false, true, false, false}));
}

TEST(Reconexion, ReintentarOnTheLastAttemptStartsAFreshSeries)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, QStringLiteral("SE PERDIO LA CONEXION"));
    auto pausas = registrarPausas([&base](int n, QWidget* ventana) {
        if (n == 10) {
            data_tests::pulsar(ventana, QStringLiteral("CmdReintentar"));
        }
        if (n == 11) {
            base.servidor().broken = false;
        }
    });
    base.servidor().broken = true;
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM ARTICULOS")), 3);
    ASSERT_EQ(pausas->size(), 11u);
    EXPECT_EQ(pausas->back().progreso, 10);
}

TEST(Reconexion, CerrarSistemaEndsTheProgramThroughTheExitRoutine)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, QStringLiteral("SE PERDIO LA CONEXION"));
    registrarPausas([](int n, QWidget* ventana) {
        if (n == 2) {
            data_tests::pulsar(ventana, QStringLiteral("cmdCancelar"));
        }
    });
    base.servidor().broken = true;
    data::RecordsetPtr rs;
    EXPECT_THROW(db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs), platform::ProgramExit);
}

// A reconnect dialog without a window: records what the class shows it.
class ReconexionGuionada final : public data::DialogoReconexion
{
public:
    void Mostrar(const QString& mensaje) override { mensajes.push_back(mensaje); }
    void Avance(int porcentaje, bool reintentarHabilitado) override
    {
        avances.push_back(porcentaje);
        habilitados.push_back(reintentarHabilitado);
    }
    bool Cancelar() const override { return false; }
    bool Reintentar() const override { return false; }
    void Cerrar() override { ++cierres; }

    QStringList mensajes;
    std::vector<int> avances;
    std::vector<bool> habilitados;
    int cierres = 0;
};

TEST(Reconexion, TheSeriesDrivesTheInstalledDialogAndClosesItWhenTheLinkIsBack)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, preguntaConexion(base.carpeta()));
    auto guion = std::make_unique<ReconexionGuionada>();
    ReconexionGuionada& dialogo = *guion;
    data::InstalarDialogoReconexion(std::move(guion));
    int pausas = 0;
    DB_Dll::EstablecerPausaReconexion([&](int) {
        if (++pausas == 2) {
            base.servidor().broken = false;
        }
    });
    base.servidor().broken = true;

    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM ARTICULOS")), 3);
    EXPECT_EQ(dialogo.mensajes,
              QStringList{QStringLiteral("Intentando reconectar con el servidor...\r\nAbrirRecordset")});
    EXPECT_EQ(dialogo.avances, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(dialogo.habilitados, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(dialogo.cierres, 1);
    EXPECT_EQ(ventanaReconectar(), nullptr);
}

TEST(Reconexion, WithoutAReconnectDialogYesGivesUpAtOnceAndEndsTheProgram)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(msgbox::Yes, preguntaConexion(base.carpeta()));
    int pausas = 0;
    DB_Dll::EstablecerPausaReconexion([&](int) { ++pausas; });
    base.servidor().broken = true;
    data::RecordsetPtr rs;
    EXPECT_THROW(db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs), platform::ProgramExit);
    EXPECT_EQ(pausas, 0);
    EXPECT_EQ(ventanaReconectar(), nullptr);
}

TEST(Reconexion, NoEndsTheProgramAfterTheLogsAreFlushed)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    platform::LogFile log;
    ASSERT_TRUE(log.open(QDir(testing_support::testFolder()).filePath(QStringLiteral("corrida.txt"))));
    ASSERT_TRUE(log.writeLine(QStringLiteral("antes del corte")));
    testing_support::scriptedOperator().answerMsgBox(msgbox::No, QStringLiteral("SE PERDIO LA CONEXION"));
    base.servidor().broken = true;
    EXPECT_THROW(db.DatosTabla(QStringLiteral("ARTICULOS"), QStringLiteral("0001"), QStringLiteral("NOMBRE"),
                               QStringLiteral("CODIGO"), Variant(8), QString(), true, false),
                 platform::ProgramExit);
    EXPECT_FALSE(log.isOpen());
    QFile f(log.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("antes del corte\r\n"));
}

TEST(Reconexion, WithoutMessagesAnUnmendedLinkLeavesTheRecordSetClosed)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.SinMensajes = true;
    base.servidor().broken = true;
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM ARTICULOS")), -1);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(Reconexion, ACommandOnALostLinkRunsOnceMoreAfterReconnecting)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    base.registro().fallarSentencias = 1;
    QString sql = QStringLiteral("INSERT INTO VACIA VALUES (5)");
    EXPECT_TRUE(db.EjecutaConsultaSQL(sql));
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM VACIA")), 1);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(Reconexion, ACommandWithTheServerAwayAsksAgainAfterEachFailedYesAndNoEnds)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Yes, QStringLiteral("Se perdio la conexion con la base de datos PRUEBA"));
    op.answerMsgBox(msgbox::No, QStringLiteral("Se perdio la conexion con la base de datos PRUEBA"));
    base.servidor().broken = true;
    QString sql = QStringLiteral("INSERT INTO VACIA VALUES (5)");
    EXPECT_THROW(db.EjecutaConsultaSQL(sql), platform::ProgramExit);
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("AVISO AL OPERADOR"));
    EXPECT_EQ(op.asked()[0].prompt, QStringLiteral("\r\n\r\n\r\nSe perdio la conexion con la base de datos PRUEBA\r\n "
                                                   "Servidor ") +
                                        base.carpeta() +
                                        QStringLiteral("\r\n\r\nElija SI para reintentar conectarse\r\nElija NO para "
                                                       "cerrar la aplicacion\r\n\r\n\r\n"));
}

// Answers the lost-connection question after bringing the server back.
class OperadorQueRepara : public platform::Operator
{
public:
    explicit OperadorQueRepara(testing_support::FaultSwitch& servidor, QStringList& titulos)
        : m_servidor(servidor), m_titulos(titulos)
    {
    }
    int MsgBox(const QString&, int, const QString& title) override
    {
        m_titulos.push_back(title);
        m_servidor.broken = false;
        return msgbox::Yes;
    }
    void TimedMsgBox(const QString&, int, const QString&, int) override {}
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return {}; }

private:
    testing_support::FaultSwitch& m_servidor;
    QStringList& m_titulos;
};

TEST(Reconexion, ACommandResumesWhenYesFindsTheServerBack)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QStringList titulos;
    platform::Runtime::instance().setOperator(std::make_unique<OperadorQueRepara>(base.servidor(), titulos));
    base.servidor().broken = true;
    QString sql = QStringLiteral("INSERT INTO VACIA VALUES (5)");
    EXPECT_TRUE(db.EjecutaConsultaSQL(sql));
    EXPECT_EQ(titulos, QStringList{QStringLiteral("AVISO AL OPERADOR")});
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM VACIA")), 1);
}

TEST(Reconexion, AStatementHoldingTransIsLeftWithoutReconnecting)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    base.registro().fallarSentencias = 1;
    QString sql = QStringLiteral("UPDATE TRANSFERENCIAS SET N = 1");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{sql});
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(Reconexion, WithoutMessagesACommandThatCannotReconnectFailsSilently)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.SinMensajes = true;
    base.servidor().broken = true;
    QString sql = QStringLiteral("INSERT INTO VACIA VALUES (5)");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(Reconexion, OnlyLinkErrorsCountAndTheThirdFailingCallAsksAtOnce)
{
    BaseDePrueba base;
    DB_DllExpuesto db;
    db.gConnString = base.cadena();
    int intentos = 0;
    EXPECT_EQ(db.EvaluaErrorConexion(91, intentos, QStringLiteral("x")), data::DecisionConexion::ManejoComun);
    EXPECT_EQ(intentos, 0);
    EXPECT_EQ(db.gCnn->State(), platform::db::adStateClosed); // no attempt was made
    EXPECT_EQ(db.EvaluaErrorConexion(platform::db::adErr::ConnectionUnusable, intentos, QStringLiteral("x")),
              data::DecisionConexion::Reintentar);
    EXPECT_EQ(intentos, 0);
    EXPECT_EQ(db.gCnn->State(), platform::db::adStateOpen);

    testing_support::scriptedOperator().answerMsgBox(msgbox::No, QStringLiteral("SE PERDIO LA CONEXION"));
    base.servidor().broken = true;
    intentos = 2;
    EXPECT_EQ(db.EvaluaErrorConexion(platform::db::adErr::ObjectClosed, intentos, QStringLiteral("x")),
              data::DecisionConexion::TerminarPrograma);
    EXPECT_EQ(intentos, 2);
    db.SinMensajes = true;
    intentos = 0;
    EXPECT_EQ(db.EvaluaErrorConexion(platform::db::adErr::Generic, intentos, QStringLiteral("x")),
              data::DecisionConexion::ManejoComun);
    EXPECT_EQ(intentos, 1);
}

TEST(Reconexion, ReconnectingAddsAConnectTimeoutOnlyWhenTheStringHasNone)
{
    BaseDePrueba base;
    DB_Dll db;
    const QString sinTiempo =
        QStringLiteral("PROVIDER=SQLOLEDB;Server=") + base.carpeta() + QStringLiteral(";Database =PRUEBA;UId=sa;Pwd=x");
    db.gConnString = sinTiempo;
    ASSERT_TRUE(db.ReintentaConectar());
    EXPECT_EQ(db.gCnn->ConnectionString(), sinTiempo + QStringLiteral(";Connect Timeout=5"));
    EXPECT_EQ(db.gConnString, sinTiempo);
    EXPECT_EQ(db.gCnn->CommandTimeout(), 10);
    db.gConnString = base.cadena();
    ASSERT_TRUE(db.ReintentaConectar());
    EXPECT_EQ(db.gCnn->ConnectionString(), base.cadena());
    db.gConnString.clear();
    db.gCnn = nullptr;
    EXPECT_FALSE(db.ReintentaConectar());
    EXPECT_FALSE(db.gOpenFlag);
}

TEST(Errores, TratamientoErroresShowsLogsAndReturnsTheAnswer)
{
    DB_Dll db;
    db.gLogErr = QDir(testing_support::testFolder()).filePath(QStringLiteral("errores.log"));
    platform::Runtime::instance().setClock(
        [] { return platform::DateTime::fromQDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))); });
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Ignore);
    EXPECT_EQ(db.TratamientoErrores(platform::ErrObject(5, QStringLiteral(" Sin permiso "), QStringLiteral("ADODB")),
                                    std::nullopt, QStringLiteral("CierraRecordset")),
              msgbox::Ignore);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt, QStringLiteral("Ha ocurrido el Siguiente Error (5) Sin permiso"));
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("ADODB - CierraRecordset Aviso al operador!!! - 5 "));
    EXPECT_EQ(op.asked()[0].style, msgbox::AbortRetryIgnore | msgbox::Critical);

    EXPECT_EQ(db.TratamientoErrores(platform::ErrObject(0, QStringLiteral("nada"))), 0);
    db.SinMensajes = true;
    EXPECT_EQ(db.TratamientoErrores(platform::ErrObject(7, QStringLiteral("otra"))), 0);

    QFile f(db.gLogErr);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("03-05-2024 14:07:09 Rutina: - CierraRecordset Mensaje Ha ocurrido el Siguiente Error (5) "
                             "Sin permiso Respondio : Ignorar\r\n"));
}

TEST(Errores, ClosingARecordSetWithAPendingEditCancelsItQuietly)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM VACIA"), rs, nullptr, platform::db::adOpenKeyset,
                      platform::db::adLockOptimistic);
    ASSERT_EQ(rs->State(), platform::db::adStateOpen);
    rs->AddNew();
    rs->Fields(QStringLiteral("N")).setValue(Variant(9));
    db.CierraRecordset(rs);
    EXPECT_EQ(rs->State(), platform::db::adStateClosed);
    EXPECT_EQ(filas(db, QStringLiteral("SELECT * FROM VACIA")), 0);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(Errores, NoConnectionWhenOpeningIsReportedByTheUtilityDialog)
{
    DB_Dll& db = data::gDbPrincipal();
    db.gConnString = QStringLiteral("PROVIDER=Nope;Data Source=/nada/base.mdb;");
    db.SinMensajes = false;
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Abort, QStringLiteral("Provider cannot be found")); // AsegurarConexion's own report
    op.answerMsgBox(msgbox::Abort, QStringLiteral("No hay conexion con la base de datos."));
    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT 1"), rs);
    EXPECT_EQ(rs->State(), platform::db::adStateClosed);
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_EQ(op.asked()[1].title, QStringLiteral(" - AbrirRecordset"));
}

} // namespace
