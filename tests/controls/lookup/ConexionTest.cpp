// The look-up box's own connection, its settings through sp1_getCfg, its
// error dialog and its two value routines.
#include "BusquedaPrueba.h"

#include "demo/DemoBuilder.h"
#include "platform/db/Connection.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using A = controls::BusquedaCodigoAcceso;
using testing_support::scriptedOperator;

class Conexion : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_conexion = testing_support::demoServer();
        m_carpeta = QDir(testing_support::testFolder()).filePath(QStringLiteral("demo"));
    }

    // A box opened on `conexion`.
    std::unique_ptr<controls::BusquedaCodigo> abrir(const QString& conexion)
    {
        auto b = std::make_unique<controls::BusquedaCodigo>();
        b->setConnString(conexion);
        b->AbrirConexion();
        return b;
    }

    void configurar(const QString& clave, const QString& valor, const QString& aux = QString())
    {
        busqueda_tests::ejecutar(m_conexion,
                                 QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = '%1'").arg(clave));
        busqueda_tests::ejecutar(m_conexion,
                                 QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX) "
                                                "VALUES ('DATOS', '%1', '%2', '%3')")
                                     .arg(clave, valor, aux));
    }

    QString m_conexion;
    QString m_carpeta;
};

TEST_F(Conexion, ABlankConnectionStringOpensNothingAndSaysNothing)
{
    auto b = abrir(QStringLiteral("   "));
    EXPECT_FALSE(A::conexionAbierta(*b));
    EXPECT_EQ(A::conexion(*b).State(), platform::db::adStateClosed);
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

TEST_F(Conexion, TheDataBaseIsTheDatabaseEntryOfTheConnectionString)
{
    // A server folder whose name holds the word "database".
    const QString otra = QDir(testing_support::testFolder()).filePath(QStringLiteral("mydatabase_srv"));
    demo::BuildOptions opciones;
    opciones.folder = otra;
    ASSERT_TRUE(demo::buildDemoServer(opciones).ok);
    struct Caso
    {
        QString conexion;
        QString base;
    };
    const Caso casos[] = {
        {QStringLiteral("Provider=SQLOLEDB;Server=%1;Database=BKDEMO").arg(m_carpeta), QStringLiteral("BKDEMO")},
        {QStringLiteral("Provider=SQLOLEDB;Server=%1;DATABASE = bkdemo ;UId=x;").arg(m_carpeta),
         QStringLiteral("BKDEMO")},
        {QStringLiteral("Provider=SQLOLEDB;Server=%1;Initial Catalog=BKDEMO;").arg(m_carpeta),
         QStringLiteral("BKDEMO")},
        {QStringLiteral("Provider=SQLOLEDB;Server=%1;Database=BKDEMO;").arg(otra), QStringLiteral("BKDEMO")},
    };
    for (const Caso& c : casos) {
        auto b = abrir(c.conexion);
        EXPECT_TRUE(A::conexionAbierta(*b)) << c.conexion.toStdString();
        EXPECT_EQ(A::conexion(*b).DefaultDatabase(), c.base) << c.conexion.toStdString();
        EXPECT_EQ(A::conexion(*b).CommandTimeout(), 60);
    }
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

TEST_F(Conexion, AFailedOpenIsReportedAndOnlyAnOpenConnectionCountsAsOpen)
{
    const QString falta = QStringLiteral("Provider=SQLOLEDB;Server=%1;Database=NADA").arg(m_carpeta);
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::Ignore, QStringLiteral("(-2147467259) Cannot open database"));
    auto b = abrir(falta);
    EXPECT_FALSE(A::conexionAbierta(*b));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::AbortRetryIgnore | platform::msgbox::Critical);
    EXPECT_TRUE(op.asked()[0].title.endsWith(QStringLiteral(" Aviso al operador!!! ")));

    // Retry opens again; Abort leaves.
    op.answerMsgBox(platform::msgbox::Retry, QStringLiteral("Cannot open database"))
        .answerMsgBox(platform::msgbox::Abort, QStringLiteral("Cannot open database"));
    b->AbrirConexion();
    EXPECT_EQ(op.asked().size(), 3);
    EXPECT_FALSE(A::conexionAbierta(*b));
}

TEST_F(Conexion, TheSettingsComeFromTheStoredProcedure)
{
    auto b = abrir(m_conexion);
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(b->sp_Cfg(QStringLiteral("NoExisteEstaClave"), aux), QStringLiteral(" "));
    EXPECT_EQ(aux, QString());
    EXPECT_EQ(b->sp_Cfg(QStringLiteral("ClaseDePrecioDefault"), aux), QStringLiteral("1"));
    EXPECT_EQ(b->sp_Cfg(QStringLiteral("mensaje_bienvenida"), aux), QStringLiteral("Bienvenido a La Espiga"));
    EXPECT_EQ(aux, QStringLiteral("Bienvenido a La Espiga"));
    configurar(QStringLiteral("OtraClave"), QString(), QStringLiteral("auxiliar"));
    EXPECT_EQ(b->sp_Cfg(QStringLiteral("OtraClave"), aux), QString());
    EXPECT_EQ(aux, QStringLiteral("auxiliar"));
    EXPECT_FALSE(b->DeshabilitarBCArticulos);
    EXPECT_FALSE(b->DeshabilitarBCTodos);
}

TEST_F(Conexion, AStoredSiDisablesTheLookUp)
{
    configurar(QStringLiteral("DeshabilitaBusquedaCodigoArt"), QStringLiteral("si"));
    auto b = abrir(m_conexion);
    EXPECT_TRUE(b->DeshabilitarBCArticulos);
    EXPECT_FALSE(b->DeshabilitarBCTodos);
    configurar(QStringLiteral("DeshabilitaBusquedaCodigo"), QStringLiteral("SI"));
    EXPECT_TRUE(abrir(m_conexion)->DeshabilitarBCTodos);
    // Without the settings neither flag is set.
    busqueda_tests::ejecutar(m_conexion,
                             QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE LIKE 'Deshabilita%'"));
    auto c = abrir(m_conexion);
    EXPECT_FALSE(c->DeshabilitarBCArticulos);
    EXPECT_FALSE(c->DeshabilitarBCTodos);
}

TEST_F(Conexion, RetryInTheSettingsReaderRunsTheFailedStepAgain)
{
    const auto grabacion = busqueda_tests::grabar();
    auto c = std::make_unique<controls::BusquedaCodigo>();
    c->setConnString(m_conexion);
    c->AbrirConexion();
    grabacion->fallar = 1;
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::Retry, QStringLiteral("General network error."));
    QString aux;
    EXPECT_EQ(c->sp_Cfg(QStringLiteral("ClaseDePrecioDefault"), aux), QStringLiteral("1"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_TRUE(op.asked()[0].title.endsWith(QStringLiteral(" - sp_Cfg Aviso al operador!!! ")));
    EXPECT_EQ(grabacion->sentencias.filter(QStringLiteral("call sp1_getCfg")).size(), 4);

    // Abort leaves at once with the empty text.
    grabacion->fallar = 1;
    op.answerMsgBox(platform::msgbox::Abort, QStringLiteral("General network error."));
    aux = QStringLiteral("sin tocar");
    EXPECT_EQ(c->sp_Cfg(QStringLiteral("ClaseDePrecioDefault"), aux), QString());
    EXPECT_EQ(aux, QStringLiteral("sin tocar"));
}

TEST_F(Conexion, TheErrorDialogShowsNothingForErrorZero)
{
    controls::BusquedaCodigo b;
    EXPECT_EQ(b.TratamientoErrores(platform::ErrObject(0, QStringLiteral("nada"), QStringLiteral("x"))), 0);
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK);
    EXPECT_EQ(b.TratamientoErrores(platform::ErrObject(91, QStringLiteral(" Sin objeto "), QStringLiteral("Caja")),
                                   platform::msgbox::OKOnly, QStringLiteral("Rutina")),
              platform::msgbox::OK);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt, QStringLiteral("Ha ocurrido el Siguiente Error (91) Sin objeto"));
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Caja - Rutina Aviso al operador!!! "));
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::OKOnly);
}

TEST(ValoresDeLaCaja, FmtLeerCodigoAlignsNumericCodes)
{
    controls::BusquedaCodigo b;
    struct Caso
    {
        const char* codigo;
        std::optional<int> largo;
        const char* esperado;
    };
    const Caso casos[] = {
        {"12", 4, "  12"}, {"A1", 4, "A1"},     {"12345", 4, "1234"},           {" 7", std::nullopt, " 7"},
        {" 7 ", 0, "  7"}, {"0001", 4, "0001"}, {" A 1 ", std::nullopt, "A 1"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(b.FmtLeerCodigo(QString::fromUtf8(c.codigo), c.largo), QString::fromUtf8(c.esperado)) << c.codigo;
}

TEST(ValoresDeLaCaja, FieldValGivesTextAndNullAsEmpty)
{
    controls::BusquedaCodigo b;
    EXPECT_EQ(b.FieldVal(platform::Variant::null()), QString());
    EXPECT_EQ(b.FieldVal(platform::Variant()), QString());
    EXPECT_EQ(b.FieldVal(platform::Variant(int64_t(12))), QStringLiteral("12"));
    EXPECT_EQ(b.FieldVal(platform::Variant(QStringLiteral(" a "))), QStringLiteral(" a "));
}

} // namespace
