#include "SoporteApp.h"

#include "app/ContextoApp.h"
#include "app/TextosSQL.h"
#include "data/DB_Dll.h"
#include "platform/db/Types.h"

#include <gtest/gtest.h>

namespace {

std::vector<app::CampoValor>& pendientes()
{
    return app::contexto().CamposPendientes;
}

TEST(SQLValorCampo, QuotesTextsDoublingApostrophesAndWritesNullBare)
{
    app::SQLValorCampo(QStringLiteral("A"), QStringLiteral("O'Brien"), QStringLiteral("'"), true);
    app::SQLValorCampo(QStringLiteral("B"), QStringLiteral("null"), QStringLiteral("'"), false);
    app::SQLValorCampo(QStringLiteral("C"), QStringLiteral("12.5"), QStringLiteral("@"), false);
    app::SQLValorCampo(QStringLiteral("D"), QStringLiteral("GETDATE()'"), QString(), false);
    ASSERT_EQ(pendientes().size(), 4u);
    EXPECT_EQ(pendientes()[0].Campo, QStringLiteral("A"));
    EXPECT_EQ(pendientes()[0].Valor, QStringLiteral("'O''Brien'"));
    EXPECT_EQ(pendientes()[1].Valor, QStringLiteral("Null"));
    EXPECT_EQ(pendientes()[2].Valor, QStringLiteral("12.5"));
    // Pasted as it stands: its apostrophes are removed.
    EXPECT_EQ(pendientes()[3].Valor, QStringLiteral("GETDATE()"));
    app::SQLValorCampo(QStringLiteral("E"), QStringLiteral("x"), QStringLiteral("'"), true);
    EXPECT_EQ(pendientes().size(), 1u);
}

TEST(ArmaSQLGrabacion, BuildsAnInsertAndLeavesOneEmptyPair)
{
    app::SQLValorCampo(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("'"), true);
    app::SQLValorCampo(QStringLiteral("B"), QStringLiteral("NULL"), QStringLiteral("'"), false);
    QStringList sentencias{QString()};
    QString condicion;
    app::ArmaSQLGrabacion(pendientes(), sentencias, QStringLiteral("T"), false, condicion, false);
    EXPECT_EQ(sentencias, (QStringList{QString(), QStringLiteral("INSERT INTO T (A,B) VALUES ('x',Null)")}));
    ASSERT_EQ(pendientes().size(), 1u);
    EXPECT_TRUE(pendientes()[0].Campo.isEmpty());
}

TEST(ArmaSQLGrabacion, BuildsAnUpdateWithItsCondition)
{
    struct Caso
    {
        std::vector<app::CampoValor> campos;
        QString condicion;
        QString sentencia;
        QString condicionDespues;
    };
    const std::vector<Caso> casos = {
        {{{"A", "'x'"}, {"B", "'y'"}}, "ID = 5", "UPDATE T SET A = 'x',B = 'y'  WHERE ID = 5", " WHERE ID = 5"},
        {{{"A", "'x'"}}, "where ID = 5", "UPDATE T SET A = 'x' where ID = 5", "where ID = 5"},
    };
    for (const Caso& caso : casos) {
        std::vector<app::CampoValor> campos = caso.campos;
        QStringList sentencias;
        QString condicion = caso.condicion;
        app::ArmaSQLGrabacion(campos, sentencias, QStringLiteral("T"), true, condicion, true);
        EXPECT_EQ(sentencias, QStringList{caso.sentencia});
        EXPECT_EQ(condicion, caso.condicionDespues);
        EXPECT_EQ(campos.size(), caso.campos.size());
    }
}

TEST(ArmaSQLValores, FollowsTheHeadAndEmptiesTheList)
{
    std::vector<app::CampoValor> campos = {{"A", "'x'"}, {"B", "0"}};
    QString texto = QStringLiteral(" INSERT INTO T ");
    app::ArmaSQLValores(texto, campos, true);
    EXPECT_EQ(texto, QStringLiteral(" INSERT INTO T (A,B) VALUES ('x',0)"));
    EXPECT_TRUE(campos.empty());
}

TEST(AdaptaSQLMotor, RewritesOnlyForOracle)
{
    data::DB_Dll& db = data::gDbPrincipal();
    db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=x;");
    EXPECT_EQ(app::AdaptaSQLMotor(QStringLiteral("Select TOP 1 * from T ")), QStringLiteral("Select TOP 1 * from T "));
    EXPECT_EQ(app::AdaptaSQLMotor(QStringLiteral("len")), QStringLiteral("len"));

    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=BASE;");
    const std::vector<std::pair<QString, QString>> casos = {
        {"Select TOP 1 * from T ", "Select  *  from T  WHERE ROWNUM <=  1 "},
        {"select top 5 * from T where A = 1", "select  *  from T where A = 1 WHERE ROWNUM <=  5 "},
        {"len", "LENGTH"},
        {"LEN(x)", "LEN(x)"},
        {"Select A from T", "Select A from T"},
    };
    for (const auto& [entrada, salida] : casos) {
        EXPECT_EQ(app::AdaptaSQLMotor(entrada), salida) << entrada.toStdString();
    }
    EXPECT_THROW(app::AdaptaSQLMotor(QStringLiteral("Select top 1 A from T")), platform::db::DbError);
}

} // namespace
