#include "SoporteApp.h"

#include "app/Registros.h"
#include "common/ValoresCorrida.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_ApiWindows.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ServidorDemo;

class Registros : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor.abrirPrincipal();
        platform::Runtime::instance().setClock(
            [] { return platform::DateTime(QDate(2026, 12, 7), QTime(23, 55, 41, 250)); });
    }

    QString maquina() const { return platform::Dll_ApiWindows::shared().NombreEquipo(); }

    ServidorDemo servidor;
};

TEST_F(Registros, TheAccessRowIsWrittenWithTheUsersTaskAndTheEntryTime)
{
    // The demo's menu names this program's process; the test runs under its own name.
    const QString programa = platform::Runtime::instance().programName();
    servidor.ejecutar(QStringLiteral("UPDATE TA_MENU SET Proceso = '") + programa +
                      QStringLiteral("X' WHERE Clave = 'D0601'"));
    common::valoresCorrida().UsuarioActual = QStringLiteral("demo ");
    app::RegistraIngresoTarea();

    const QStringList sentencias = servidor.tomarSentencias();
    ASSERT_EQ(sentencias.size(), 3);
    EXPECT_EQ(
        sentencias[0],
        QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM TA_TAREAS  "
                       "with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
                       "(TA_TAREAS.USUARIO = 'demo ') AND (TA_MENU.Proceso LIKE '%") +
            programa + QStringLiteral("%')"));
    const QString insert = QStringLiteral("INSERT INTO Control_Acceso (Maquina,Usuario,Formulario,Tarea,Ingreso,"
                                          "NombreUsuario) VALUES ('") +
                           maquina().trimmed().toUpper() + QStringLiteral("','DEMO','") + programa.toUpper() +
                           QStringLiteral("','CORRECCIÓN DE PRECIOS','20261207 23:55','demo ')");
    EXPECT_EQ(sentencias[1], QStringLiteral("BEGIN TRANSACTION \r\r\r") + insert + u'\r');
    EXPECT_EQ(sentencias[2], QStringLiteral("COMMIT TRANSACTION"));

    const auto filas = servidor.filas(
        QStringLiteral("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario FROM Control_Acceso"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0], (QStringList{maquina().trimmed().toUpper(), QStringLiteral("DEMO"), programa.toUpper(),
                                     QStringLiteral("CORRECCIÓN DE PRECIOS"), QStringLiteral("2026-12-07 23:55:00"),
                                     QStringLiteral("demo ")}));
}

TEST_F(Registros, AUserWithoutATaskGetsAnEmptyTaskUnlessTheLoginIsTheDataBase)
{
    common::valoresCorrida().UsuarioActual = QStringLiteral("vendedor");
    data::gDbPrincipal().gUsuario = QStringLiteral("otro");
    app::RegistraIngresoTarea();
    data::gDbPrincipal().gUsuario = QStringLiteral("bkdemo");
    app::RegistraIngresoTarea();
    const auto filas = servidor.filas(QStringLiteral("SELECT Tarea FROM Control_Acceso ORDER BY id"));
    EXPECT_EQ(filas, (QList<QStringList>{{QString()}, {platform::Runtime::instance().programName().toUpper()}}));
}

TEST_F(Registros, AnEmptyUserTakesTheDataBaseLoginAndApostrophesAreKept)
{
    data::gDbPrincipal().gUsuario = QStringLiteral("O'Brien");
    app::RegistraIngresoTarea();
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("O'Brien"));
    const auto filas = servidor.filas(QStringLiteral("SELECT Usuario, NombreUsuario FROM Control_Acceso"));
    EXPECT_EQ(filas, (QList<QStringList>{{QStringLiteral("O'BRIEN"), QStringLiteral("O'Brien")}}));
}

TEST_F(Registros, TheAuditRowOfAFailedLogIn)
{
    common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    common::valoresCorrida().ValorParametroAdicional = QStringLiteral("extra");
    app::RegistraAccionCpte(QString(), QString(), QStringLiteral("0"), true, false, false,
                            QStringLiteral("Intento de inicio de sesion fallido"), QString(), false);
    const QString programa = platform::Runtime::instance().programName();
    EXPECT_EQ(servidor.tomarSentencias().last(),
              QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES (TC,IdComprobante,IdComplemento,Tipo_accion,FECHAHORA,"
                             "Usuario,PC,SYSTEMUSER,Proceso,ProcesoLote,Cuenta) VALUES ('0000','',0,'A','20261207 "
                             "23:55:41','demo','") +
                  maquina() + QStringLiteral("','Intento de inicio de sesion fallido','") + programa +
                  QStringLiteral(" extra','','')"));
    const auto filas = servidor.filas(QStringLiteral(
        "SELECT TC, IdComplemento, Tipo_accion, FECHAHORA, Usuario, SYSTEMUSER, Proceso FROM V_MV_CPTEACCIONES"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0], (QStringList{QStringLiteral("0000"), QStringLiteral("0"), QStringLiteral("A"),
                                     QStringLiteral("2026-12-07 23:55:41"), QStringLiteral("demo"),
                                     QStringLiteral("Intento de inicio de sesion fallido"),
                                     programa + QStringLiteral(" extra")}));
}

TEST_F(Registros, TheActionTypeAndTheCutsOfTheAuditRow)
{
    struct Caso
    {
        bool alta, modificacion, error;
        const char* tipo;
    };
    for (const Caso& c : {Caso{true, true, true, "ER"}, Caso{true, true, false, "A"}, Caso{false, true, false, "M"},
                          Caso{false, false, false, "B"}}) {
        app::RegistraAccionCpte(QStringLiteral(" 7 "), QStringLiteral("O'1"), QString(), c.alta, c.modificacion, false,
                                QString(300, u'd'), QStringLiteral("  1.1.01.001.0000099  "), c.error);
    }
    const auto filas = servidor.filas(QStringLiteral("SELECT Tipo_accion, TC, IdComprobante, IdComplemento, "
                                                     "LEN(SYSTEMUSER), Cuenta FROM V_MV_CPTEACCIONES ORDER BY ID"));
    ASSERT_EQ(filas.size(), 4);
    EXPECT_EQ(filas[0], (QStringList{QStringLiteral("ER"), QStringLiteral("0007"), QStringLiteral("O'1"),
                                     QStringLiteral("0"), QStringLiteral("255"), QStringLiteral("1.1.01.001.0000")}));
    EXPECT_EQ(filas[1][0], QStringLiteral("A"));
    EXPECT_EQ(filas[2][0], QStringLiteral("M"));
    EXPECT_EQ(filas[3][0], QStringLiteral("B"));
}

TEST_F(Registros, AComplementThatIsNotANumberIsQuotedNotPasted)
{
    app::RegistraAccionCpte(QStringLiteral("FA"), QStringLiteral("1"), QStringLiteral("1); DELETE FROM AUX_ERR; --"),
                            true, false, false, QString(), QString(), false);
    EXPECT_TRUE(servidor.tomarSentencias().last().contains(QStringLiteral(",'1); DELETE FROM AUX_ERR; --',")));
}

TEST_F(Registros, TheErrorRow)
{
    common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    app::RegistraErrorAux(QStringLiteral("BEGIN TRANSACTION x"), QStringLiteral("OTRO"), 208, QStringLiteral("falla"));
    EXPECT_EQ(servidor.tomarSentencias().first(), QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "));
    const auto filas =
        servidor.filas(QStringLiteral("SELECT Proceso, fecha, Error, Descripcion, sql, PC, Usuario FROM AUX_ERR"));
    EXPECT_EQ(filas, (QList<QStringList>{{QStringLiteral("OTRO"), QStringLiteral("2026-12-07 23:55:00"),
                                          QStringLiteral("208"), QStringLiteral("falla"),
                                          QStringLiteral("BEGIN TRANSACTION x"), maquina(), QStringLiteral("demo")}}));
}

} // namespace
