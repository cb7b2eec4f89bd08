#include "SoporteApp.h"

#include "app/Lotes.h"
#include "app/Registros.h"
#include "platform/core/Runtime.h"
#include "common/ValoresCorrida.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ServidorDemo;

const QString kInsertUno = QStringLiteral("INSERT INTO V_TA_Cajas (IdCajas, Descripcion) VALUES (7, 'CAJA 7')");
const QString kInsertDos = QStringLiteral("INSERT INTO V_TA_Cajas (IdCajas, Descripcion) VALUES (8, 'CAJA 8')");
// Cash box 1 exists: a duplicate key.
const QString kInsertRepetido = QStringLiteral("INSERT INTO V_TA_Cajas (IdCajas, Descripcion) VALUES (1, 'OTRA')");

class Lotes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor.abrirPrincipal();
        common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    }

    QList<QStringList> cajas()
    {
        return servidor.filas(QStringLiteral("SELECT IdCajas, Descripcion FROM V_TA_Cajas ORDER BY IdCajas"));
    }

    void correr(const QStringList& sentencias, bool mostrar = true, bool ignorar2627 = false)
    {
        app::GActualizarDatoScript(sentencias, hayError, nroError, ignorar2627, false, ejecutado, textoError, mostrar);
    }

    ServidorDemo servidor;
    bool hayError = true;
    int32_t nroError = -1;
    QString ejecutado = QStringLiteral("sin tocar");
    QString textoError = QStringLiteral("sin tocar");
};

TEST_F(Lotes, ASuccessfulBatchSendsTheTransactionTextThenCommit)
{
    correr({QString(), kInsertUno, QStringLiteral("   "), kInsertDos});
    const QString esperado = QStringLiteral("BEGIN TRANSACTION \r\r\r") + kInsertUno + u'\r' + kInsertDos + u'\r';
    EXPECT_EQ(ejecutado, esperado);
    EXPECT_EQ(servidor.tomarSentencias(), (QStringList{esperado, QStringLiteral("COMMIT TRANSACTION")}));
    EXPECT_FALSE(hayError);
    EXPECT_EQ(nroError, 0);
    EXPECT_EQ(textoError, QStringLiteral("sin tocar"));
    EXPECT_EQ(cajas().size(), 5);
}

TEST_F(Lotes, BlankStatementsSendNothing)
{
    correr({QString(), QStringLiteral("  ")});
    EXPECT_TRUE(servidor.tomarLlamadas().isEmpty());
    EXPECT_FALSE(hayError);
    EXPECT_EQ(nroError, -1);
    EXPECT_EQ(ejecutado, QStringLiteral("sin tocar"));
}

TEST_F(Lotes, AFailingStatementRollsTheWholeBatchBackAndWritesAnErrorRow)
{
    const auto antes = cajas();
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("2627 : "));
    correr({kInsertUno, kInsertRepetido, kInsertDos});
    EXPECT_TRUE(hayError);
    EXPECT_EQ(nroError, 2627);
    EXPECT_TRUE(textoError.startsWith(QStringLiteral("2627 : "))) << textoError.toStdString();
    EXPECT_TRUE(textoError.endsWith(QStringLiteral("\r\n")));
    // Nothing of the batch is left, and COMMIT was never sent.
    EXPECT_EQ(cajas(), antes);
    const QStringList sentencias = servidor.tomarSentencias();
    ASSERT_GE(sentencias.size(), 2);
    EXPECT_EQ(sentencias[1], QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_FALSE(sentencias.contains(QStringLiteral("COMMIT TRANSACTION")));
    const auto& preguntas = testing_support::scriptedOperator().asked();
    ASSERT_EQ(preguntas.size(), 1);
    EXPECT_EQ(preguntas[0].title, QStringLiteral("Aviso al Operador!"));
    EXPECT_EQ(preguntas[0].style, 16);
    EXPECT_EQ(preguntas[0].prompt, textoError);

    const auto filas =
        servidor.filas(QStringLiteral("SELECT Proceso, Error, Descripcion, sql, Usuario, fecha FROM AUX_ERR"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0][0], platform::Runtime::instance().programName());
    EXPECT_EQ(filas[0][1], QStringLiteral("2627"));
    EXPECT_EQ(filas[0][2], textoError);
    EXPECT_EQ(filas[0][3], ejecutado);
    EXPECT_EQ(filas[0][4], QStringLiteral("demo"));
    EXPECT_EQ(filas[0][5].size(), 19) << filas[0][5].toStdString(); // a date-time value, not a short text
}

TEST_F(Lotes, AnIgnoredDuplicateIsAQuietFailure)
{
    correr({kInsertRepetido}, true, true);
    EXPECT_TRUE(hayError);
    EXPECT_EQ(nroError, 2627);
    EXPECT_FALSE(textoError.startsWith(QStringLiteral("2627")));
    EXPECT_FALSE(textoError.isEmpty());
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
    const auto filas = servidor.filas(QStringLiteral("SELECT Error, Descripcion FROM AUX_ERR"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0], (QStringList{QStringLiteral("2627"), QString()}));
}

TEST_F(Lotes, NoMessageWhenNotAllowed)
{
    correr({QStringLiteral("INSERT INTO NoExiste (A) VALUES (1)")}, false);
    EXPECT_TRUE(hayError);
    EXPECT_EQ(nroError, 208);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST_F(Lotes, InformationalMessagesDoNotRollTheBatchBack)
{
    servidor.fallas().informational = true;
    correr({kInsertUno});
    servidor.fallas().informational = false;
    EXPECT_FALSE(hayError);
    EXPECT_EQ(servidor.tomarSentencias().last(), QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_EQ(cajas().size(), 4);
}

TEST_F(Lotes, ADescriptionOverTwoHundredFiftyCharactersIsCutInTheErrorRowButTheBatchIsWhole)
{
    const QString largo =
        QStringLiteral("INSERT INTO NoExiste (A) VALUES ('") + QString(400, u'x') + QStringLiteral("')");
    correr({largo}, false);
    app::RegistraErrorAux(largo, QString(), 1, QString(300, u'd'));
    const auto filas = servidor.filas(QStringLiteral("SELECT Descripcion, sql FROM AUX_ERR ORDER BY ID"));
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[1][0], QString(250, u'd'));
    EXPECT_EQ(filas[1][1], largo);
    EXPECT_TRUE(filas[0][1].contains(largo));
}

} // namespace
