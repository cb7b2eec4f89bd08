// The file of registered connections and the desktop entry texts.
#include "data/ConexionesRegistradas.h"

#include "AyudasPrueba.h"

#include "platform/core/Runtime.h"
#include "platform/util/Dll_Utilidades.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using data::ConexionRegistrada;
using data_tests::Entorno;
using data_tests::leerBytes;

namespace {

QString rutaEnPrograma()
{
    return QDir(testing_support::testFolder()).filePath(QStringLiteral("BASES.TXT"));
}

void escribirBytes(const QString& ruta, const QByteArray& bytes)
{
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(bytes);
}

QByteArray golden()
{
    return leerBytes(testing_support::fixturePath(QStringLiteral("bases/registro_ventas.txt")));
}

bool grabarVentas(QString* error = nullptr)
{
    return data::GrabarConexionEnBases(QStringLiteral("VENTAS / SRV01"), QStringLiteral("ventas"),
                                       QStringLiteral("ventas"), QStringLiteral("ventas"), QStringLiteral("srv01:1433"),
                                       error);
}

} // namespace

TEST(ConexionesRegistradas, TheKeyIsTheUpperCasedDataBaseAndServerCutBeforeThePort)
{
    struct Caso
    {
        const char* base;
        const char* servidor;
        const char* clave;
    };
    const Caso casos[] = {
        {"ventas", "srv01:1433", "VENTAS / SRV01"},
        {"  Ventas ", " srv01\\inst ", "VENTAS / SRV01\\INST"},
        {"x", "a:b:c", "X / A"},
        {"", "", " / "},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(data::ClaveConexion(QString::fromUtf8(c.base), QString::fromUtf8(c.servidor)),
                  QString::fromUtf8(c.clave))
            << c.base << " " << c.servidor;
    }
}

TEST(ConexionesRegistradas, TheFirstRecordCreatesTheFileByteForByte)
{
    ASSERT_FALSE(QFile::exists(rutaEnPrograma()));
    QString error;
    ASSERT_TRUE(grabarVentas(&error)) << error.toStdString();
    EXPECT_EQ(leerBytes(rutaEnPrograma()), golden());

    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    ASSERT_EQ(registros->size(), 1);
    const ConexionRegistrada& r = registros->first();
    EXPECT_EQ(r.Clave, QStringLiteral("VENTAS / SRV01"));
    EXPECT_EQ(r.Base, QStringLiteral("ventas"));
    EXPECT_EQ(r.Usuario, QStringLiteral("ventas"));
    EXPECT_EQ(platform::Dll_Utilidades::shared().Desencriptar(r.Password), QStringLiteral("ventas"));
    EXPECT_EQ(r.Servidor, QStringLiteral("srv01:1433"));
}

TEST(ConexionesRegistradas, ARecordIsAppendedWithALoneCarriageReturnOnlyAfterAnUnfinishedLine)
{
    struct Caso
    {
        const char* antes;
        const char* separador;
        int registros;
    };
    const Caso casos[] = {
        {"", "", 1},
        {"A / B,a,a,x,b\r\n", "", 2},
        {"A / B,a,a,x,b", "\r", 2},
        {"A / B,a,a,x,b\r\n   ", "", 2},
    };
    for (const Caso& c : casos) {
        escribirBytes(rutaEnPrograma(), c.antes);
        ASSERT_TRUE(grabarVentas());
        EXPECT_EQ(leerBytes(rutaEnPrograma()), QByteArray(c.antes) + c.separador + golden()) << c.antes;
        const auto registros = data::LeerConexionesRegistradas();
        ASSERT_TRUE(registros);
        ASSERT_EQ(registros->size(), c.registros) << c.antes;
        EXPECT_EQ(registros->last().Clave, QStringLiteral("VENTAS / SRV01"));
        EXPECT_EQ(registros->last().Servidor, QStringLiteral("srv01:1433"));
        QFile::remove(rutaEnPrograma());
    }
}

TEST(ConexionesRegistradas, AFieldThatWouldBreakTheRecordIsRefusedAndNothingIsWritten)
{
    const QString bien = QStringLiteral("ventas");
    const QString casos[] = {QStringLiteral("ven,tas"), QStringLiteral("ven\ntas"), QStringLiteral("ven\rtas")};
    for (const QString& malo : casos) {
        for (int campo = 0; campo < 5; ++campo) {
            QString v[5] = {bien, bien, bien, bien, bien};
            v[campo] = malo;
            QString error;
            EXPECT_FALSE(data::GrabarConexionEnBases(v[0], v[1], v[2], v[3], v[4], &error));
            EXPECT_FALSE(error.isEmpty());
            EXPECT_FALSE(QFile::exists(rutaEnPrograma()));
        }
    }
}

TEST(ConexionesRegistradas, FieldsEndingOnAPrintZoneBoundaryAreFollowedByNoBlank)
{
    EXPECT_EQ(data::LineaConexion(QStringLiteral("ABCDEFGHIJKLM"), QStringLiteral(" b "), QStringLiteral("c"),
                                  QStringLiteral("d"), QStringLiteral(" s ")),
              QStringLiteral("ABCDEFGHIJKLM,b,            c,            d,            s\r\n"));
}

TEST(ConexionesRegistradas, AWindowsCodePageFileIsReadAndCarriedOverIntoUtf8)
{
    // "AÑO / SRV,año,año,x,srv" in Windows-1252, without its final line break.
    escribirBytes(rutaEnPrograma(), QByteArray("A\xD1O / SRV,a\xF1o,a\xF1o,x,srv"));
    ASSERT_TRUE(grabarVentas());

    const QByteArray bytes = leerBytes(rutaEnPrograma());
    EXPECT_EQ(bytes, QByteArray("A\xC3\x91O / SRV,a\xC3\xB1o,a\xC3\xB1o,x,srv\r") + golden());
    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    ASSERT_EQ(registros->size(), 2);
    EXPECT_EQ(registros->first().Clave, QStringLiteral("AÑO / SRV"));
    EXPECT_EQ(registros->first().Base, QStringLiteral("año"));
}

TEST(ConexionesRegistradas, ReadingSkipsBlankLinesAndKeepsBlankKeys)
{
    escribirBytes(rutaEnPrograma(), "\r\n ,x,x,x,s1\r\n\r\nB / S,  b ,b,x\nC / S,c,c,x,s3\r\n");
    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    ASSERT_EQ(registros->size(), 3);
    EXPECT_EQ((*registros)[0].Clave, QString());
    EXPECT_EQ((*registros)[0].Servidor, QStringLiteral("s1"));
    EXPECT_EQ((*registros)[1].Base, QStringLiteral("b"));
    EXPECT_EQ((*registros)[1].Servidor, QString());
    EXPECT_EQ((*registros)[2].Servidor, QStringLiteral("s3"));
}

TEST(ConexionesRegistradas, AMissingFileReadsAsNoRecords)
{
    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    EXPECT_TRUE(registros->isEmpty());
}

TEST(ConexionesRegistradas, TheFileNameIsFoundWithoutRegardToCase)
{
    escribirBytes(QDir(testing_support::testFolder()).filePath(QStringLiteral("Bases.txt")), golden());
    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    ASSERT_EQ(registros->size(), 1);
    ASSERT_TRUE(grabarVentas());
    EXPECT_EQ(leerBytes(QDir(testing_support::testFolder()).filePath(QStringLiteral("Bases.txt"))),
              golden() + golden());
}

TEST(ConexionesRegistradas, ExecArgumentsAreQuotedAsTheDesktopEntryFormatAsks)
{
    struct Caso
    {
        const char* argumento;
        const char* exec;
    };
    const Caso casos[] = {
        {"/opt/cp/CorrigePrecios", "/opt/cp/CorrigePrecios"},
        {"/opt/mis programas/cp", "\"/opt/mis programas/cp\""},
        {"", "\"\""},
        {"a\"b", "\"a\\\"b\""},
        {"$HOME", "\"\\$HOME\""},
        {"a\\b", "\"a\\\\b\""},
        {"50%", "50%%"},
        {" ; @server=x; @Caja=;", "\" ; @server=x; @Caja=;\""},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(data::ArgumentoExec(QString::fromUtf8(c.argumento)), QString::fromUtf8(c.exec)) << c.argumento;
    }
}

TEST(ConexionesRegistradas, TheDesktopEntryStartsTheProgramWithTheParameterText)
{
    const QString argumentos =
        data::ParametrosAccesoDirecto(QStringLiteral("srv\\inst"), QStringLiteral("ventas"), QString());
    EXPECT_EQ(argumentos, QStringLiteral(" ; @server=srv\\inst; @dbname=ventas; @usuario=; @Password=; "
                                         "@ParametroAdicional=; orvo@ ; @UsuarioLogeado = ; @Caja=;"));
    const QString contenido =
        data::ContenidoAccesoDirecto(QStringLiteral("Corrige"), QStringLiteral("/opt/cp/CorrigePrecios"), argumentos);
    EXPECT_EQ(contenido, QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Corrige\n"
                                        "Exec=/opt/cp/CorrigePrecios \" ; @server=srv\\\\\\\\inst; @dbname=ventas; "
                                        "@usuario=; @Password=; @ParametroAdicional=; orvo@ ; @UsuarioLogeado = ; "
                                        "@Caja=;\"\nIcon=/opt/cp/CorrigePrecios\nTerminal=false\n"));
}

TEST(ConexionesRegistradas, TheDesktopFolderComesFromXdgUserDirElseHomeDesktop)
{
    const QString carpeta = testing_support::testFolder();
    Entorno config("XDG_CONFIG_HOME", (carpeta + QStringLiteral("/config")).toUtf8());
    Entorno home("HOME", (carpeta + QStringLiteral("/home")).toUtf8());
    Entorno escritorio("XDG_DESKTOP_DIR", (carpeta + QStringLiteral("/Escritorio")).toUtf8());
    EXPECT_EQ(data::CarpetaEscritorio(), carpeta + QStringLiteral("/Escritorio"));
    qunsetenv("XDG_DESKTOP_DIR");
    EXPECT_EQ(data::CarpetaEscritorio(), carpeta + QStringLiteral("/home/Desktop"));
}
