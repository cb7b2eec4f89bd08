#include "SoporteApp.h"

#include "app/ConexionBk.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_Utilidades.h"
#include "support/LocaleScope.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

using app_tests::ServidorDemo;

class ConexionBk : public ::testing::Test
{
protected:
    void SetUp() override { servidor.abrirPrincipal(); }

    QList<QStringList> timeOut()
    {
        return servidor.filas(
            QStringLiteral("SELECT GRUPO, CLAVE, VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'"),
            QStringLiteral("BK_ESTADISTICAS"));
    }

    ServidorDemo servidor;
};

TEST_F(ConexionBk, TheStatisticsSettingGivesTheCommandTimeOut)
{
    common::valoresCorrida().TiempoEsperaComandos = 1;
    app::VerificaConexionBk();
    EXPECT_EQ(common::valoresCorrida().TiempoEsperaComandos, 30);
    data::DB_Dll& bk = data::gDbEstadisticas();
    EXPECT_TRUE(bk.gOpenFlag);
    EXPECT_EQ(bk.gServidor, servidor.carpeta());
    EXPECT_EQ(bk.gUsuario, QStringLiteral("BK_ESTADISTICAS"));
    EXPECT_EQ(bk.gUserPassWord, QStringLiteral("KD_PLOMERIASTRE"));
    EXPECT_TRUE(servidor.tomarSentencias(QStringLiteral("BK_ESTADISTICAS"))
                    .contains(QStringLiteral(
                        "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'TimeOut'")));
    // A second run closes the first connection and opens it again.
    app::VerificaConexionBk();
    EXPECT_EQ(common::valoresCorrida().TiempoEsperaComandos, 30);
}

TEST_F(ConexionBk, AZeroOrMissingSettingGivesFortyFiveAndIsStoredAsZero)
{
    struct Caso
    {
        const char* preparar;
        const char* grupoEsperado;
    };
    for (const Caso& caso : {Caso{"UPDATE TA_CONFIGURACION SET VALOR = '0'", "BaseDeDatos"},
                             Caso{"DELETE FROM TA_CONFIGURACION", "BaseDeDatos"},
                             Caso{"UPDATE TA_CONFIGURACION SET VALOR = '99999'", "BaseDeDatos"}}) {
        servidor.ejecutar(QString::fromUtf8(caso.preparar), QStringLiteral("BK_ESTADISTICAS"));
        app::VerificaConexionBk();
        EXPECT_EQ(common::valoresCorrida().TiempoEsperaComandos, 45) << caso.preparar;
        const auto filas = timeOut();
        ASSERT_EQ(filas.size(), 1) << caso.preparar;
        EXPECT_EQ(filas[0][0], QString::fromUtf8(caso.grupoEsperado));
    }
    EXPECT_EQ(timeOut()[0][2], QStringLiteral("99999")); // out of range: left as it is
    servidor.ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION"), QStringLiteral("BK_ESTADISTICAS"));
    app::VerificaConexionBk();
    EXPECT_EQ(timeOut(),
              (QList<QStringList>{{QStringLiteral("BaseDeDatos"), QStringLiteral("TIMEOUT"), QStringLiteral("0")}}));
}

TEST_F(ConexionBk, AnUnreachableStatisticsDataBaseLeavesFortyFiveSilently)
{
    QFile::remove(servidor.carpeta() + QStringLiteral("/BK_ESTADISTICAS.sqlite"));
    common::valoresCorrida().TiempoEsperaComandos = 1;
    app::VerificaConexionBk();
    EXPECT_EQ(common::valoresCorrida().TiempoEsperaComandos, 45);
    EXPECT_FALSE(data::gDbEstadisticas().gOpenFlag);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

TEST(ObtieneIP, KeepsTheHostPart)
{
    const std::vector<std::pair<QString, QString>> casos = {
        {"SERVIDOR", "SERVIDOR"},
        {"SERVIDOR\\SQLEXPRESS", "SERVIDOR\\SQLEXPRESS"},
        {"192.168.0.10:1433", "192.168.0.10"},
        {"", ""},
        // A prefix and an address with its port give the address; after two
        // "/" all that follows the first one stays.
        {"prefijo/10.0.0.5:1433", "10.0.0.5"},
        {"demo/server", "server"},
        {"a/b/c:1", "b/c"},
        {"C:/datos:x/y", "datos"},
        // A folder of the embedded engine is never cut.
        {"/srv/datos/demo:1", "/srv/datos/demo:1"},
        {"./demo:1", "./demo:1"},
        {"~/demo", "~/demo"},
        {"datos/server", "datos/server"},
    };
    QDir(testing_support::testFolder()).mkpath(QStringLiteral("datos/server"));
    for (const auto& [servidor, esperado] : casos) {
        EXPECT_EQ(app::ObtieneIP(servidor), esperado) << servidor.toStdString();
    }
}

TEST(TiempoInicio, ElapsedSecondsCountAcrossMidnightAndTinyOnesAreZero)
{
    platform::DateTime ahora(QDate(2026, 1, 1), QTime(23, 59, 59));
    platform::Runtime::instance().setClock([&] { return ahora; });
    const float inicio = app::Temporizador();
    EXPECT_FLOAT_EQ(inicio, 86399.0f);
    ahora = platform::DateTime(QDate(2026, 1, 2), QTime(0, 0, 1));
    EXPECT_NEAR(app::SegundosTranscurridos(inicio), 2.0f, 0.01f);
    ahora = platform::DateTime(QDate(2026, 1, 1), QTime(23, 59, 59, 5));
    EXPECT_EQ(app::SegundosTranscurridos(inicio), 0.0f);
}

TEST(TiempoInicio, TheLineLayout)
{
    platform::DateTime ahora(QDate(2026, 3, 4), QTime(9, 5, 7, 250));
    platform::Runtime::instance().setClock([&] { return ahora; });
    const float inicio = app::Temporizador() - 1.5f;
    EXPECT_EQ(
        app::LineaTiempoInicio(QStringLiteral("VerificaConexion inicio"), inicio, QStringLiteral(" UltimoValor=False")),
        QStringLiteral("2026-03-04 09:05:07 | PERF | VerificaConexion inicio | 1.500s |  UltimoValor=False"));
    EXPECT_EQ(app::LineaTiempoInicio(QStringLiteral("paso"), inicio, QStringLiteral("   ")),
              QStringLiteral("2026-03-04 09:05:07 | PERF | paso | 1.500s"));
    EXPECT_EQ(app::LineaTiempoInicio(QStringLiteral("paso"), -1.0f, QStringLiteral("d")),
              QStringLiteral("2026-03-04 09:05:07 | PERF | paso | d"));
    const testing_support::LocaleScope espanol(QLocale(QLocale::Spanish, QLocale::Argentina));
    EXPECT_EQ(app::LineaTiempoInicio(QStringLiteral("paso"), inicio, QString()),
              QStringLiteral("2026-03-04 09:05:07 | PERF | paso | 1,500s"));
}

TEST(TiempoInicio, TheLogIsSwitchedOff)
{
    app::RegistraTiempoInicio(QStringLiteral("paso"), 0.0f, QStringLiteral("detalle"));
    EXPECT_FALSE(QFile::exists(QDir(testing_support::testFolder()).filePath(QStringLiteral("startup_perf.log"))));
}

TEST(DefineArchivoErrores, TheProgramFolderWhenWritableElseTemp)
{
    const QString carpeta = testing_support::testFolder();
    app::DefineArchivoErrores();
    EXPECT_TRUE(QFile::exists(carpeta + QStringLiteral("/BKERR.LOG")));

    // A program folder below a plain file can never be written.
    QFile archivo(carpeta + QStringLiteral("/archivo"));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    const QString temporal = carpeta + QStringLiteral("/temporal");
    QDir().mkpath(temporal);
    platform::Runtime::instance().setProgramFolder(carpeta + QStringLiteral("/archivo/programa"));
    qputenv("TEMP", temporal.toUtf8());
    app::DefineArchivoErrores();
    // The utility object's error display now appends to TEMP's log.
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK);
    platform::Dll_Utilidades::shared().MostrarError(platform::ErrObject(5, QStringLiteral("x")), 0);
    EXPECT_TRUE(QFile::exists(temporal + QStringLiteral("/BKERR.LOG")));
}

} // namespace
