// The failure that a query or command handled inside leaves behind for its
// caller, with the operator's answer to the error box.
#include "BaseDePrueba.h"

#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using data::DB_Dll;
using data_tests::BaseDePrueba;
namespace msgbox = platform::msgbox;

namespace {

struct CasoRespuesta
{
    const char* nombre;
    std::vector<int> respuestas; // to the error boxes, in order
    int queda;                   // the answer kept
};

class FalloDeConsulta : public ::testing::TestWithParam<CasoRespuesta>
{
};

TEST_P(FalloDeConsulta, KeepsTheErrorAndTheAnswerThatEndedTheCall)
{
    const CasoRespuesta& caso = GetParam();
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    for (int respuesta : caso.respuestas) {
        testing_support::scriptedOperator().answerMsgBox(respuesta, QStringLiteral("NO_EXISTE"));
    }
    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM NO_EXISTE"), rs);
    ASSERT_TRUE(db.UltimoFallo.has_value());
    EXPECT_EQ(db.UltimoFallo->respuesta, caso.queda);
    EXPECT_EQ(db.UltimoFallo->error.Description, QStringLiteral("Invalid object name 'NO_EXISTE'."));

    for (int respuesta : caso.respuestas) {
        testing_support::scriptedOperator().answerMsgBox(respuesta, QStringLiteral("NO_EXISTE"));
    }
    const platform::Variant valor = db.DatosTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("1"), QStringLiteral("N"),
                                                  QStringLiteral("N"), platform::Variant(8), QString(), true, false);
    EXPECT_TRUE(valor.isEmpty());
    ASSERT_TRUE(db.UltimoFallo.has_value());
    EXPECT_EQ(db.UltimoFallo->respuesta, caso.queda);

    // A call that succeeds leaves nothing behind.
    db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs);
    EXPECT_FALSE(db.UltimoFallo.has_value());
}

INSTANTIATE_TEST_SUITE_P(Respuestas, FalloDeConsulta,
                         ::testing::Values(CasoRespuesta{"Ignore", {msgbox::Ignore}, msgbox::Ignore},
                                           CasoRespuesta{"Abort", {msgbox::Abort}, msgbox::Abort},
                                           CasoRespuesta{
                                               "RetryThenIgnore", {msgbox::Retry, msgbox::Ignore}, msgbox::Ignore}),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(FalloDeComando, AFailedCommandIsKeptWithoutAnAnswerAndASuccessfulOneClearsIt)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QString sql = QStringLiteral("UPDATE NO_EXISTE SET N = 1");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    ASSERT_TRUE(db.UltimoFallo.has_value());
    EXPECT_EQ(db.UltimoFallo->respuesta, 0);
    EXPECT_EQ(db.UltimoFallo->error.Description, QStringLiteral("Invalid object name 'NO_EXISTE'."));

    sql = QStringLiteral("UPDATE ARTICULOS SET N = 1");
    EXPECT_TRUE(db.EjecutaConsultaSQL(sql));
    EXPECT_FALSE(db.UltimoFallo.has_value());
}

} // namespace
