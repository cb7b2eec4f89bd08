// The program started as a process on each way the start-up ends it after a
// failure: it must end with its status, never with a crash. The arranque
// robot answers the windows; each window it saw is one "VENTANA" line.
#include "ArranqueSoporte.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

using namespace arranque_tests;

struct Salida
{
    QProcess::ExitStatus estado = QProcess::CrashExit;
    int codigo = -1;
    QStringList ventanas;
    QString error;
};

// Starts the program with `parametros` as its one argument (none when
// empty), the robot's `pasos` and the user's language `idioma`, and waits
// for its end.
Salida Arrancar(const QString& parametros, const QString& pasos, const QString& idioma = QStringLiteral("C"))
{
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove(QStringLiteral("LANGUAGE"));
    entorno.insert(QStringLiteral("LC_ALL"), idioma);
    entorno.insert(QStringLiteral("LANG"), idioma);
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    entorno.insert(QStringLiteral("ARRANQUE_CARPETA"), testing_support::testFolder());
    entorno.insert(QStringLiteral("ARRANQUE_PASOS"), pasos);
    proceso.setProcessEnvironment(entorno);
    proceso.start(QStringLiteral(ARRANQUE_PATH), parametros.isEmpty() ? QStringList() : QStringList{parametros});
    Salida salida;
    if (!proceso.waitForFinished(60000)) {
        proceso.kill();
        proceso.waitForFinished();
        salida.error = QStringLiteral("the program did not end");
        return salida;
    }
    salida.estado = proceso.exitStatus();
    salida.codigo = proceso.exitCode();
    for (const QString& linea : QString::fromUtf8(proceso.readAllStandardOutput()).split(u'\n')) {
        if (linea.startsWith(QStringLiteral("VENTANA "))) {
            salida.ventanas.append(linea.mid(8));
        }
    }
    salida.error = QString::fromUtf8(proceso.readAllStandardError());
    return salida;
}

struct CasoFallido
{
    const char* nombre;
    // The parameter text; "<S>" stands for the demo server folder, "<D>" for
    // a folder whose BKDEMO file is damaged and "<V>" for one where it is empty.
    const char* parametros;
    const char* pasos;
    // A part of each window's title and text, in order.
    std::vector<const char*> ventanas;
};

void PrintTo(const CasoFallido& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class ArranqueProceso : public ::testing::TestWithParam<CasoFallido>
{
};

TEST_P(ArranqueProceso, EndsWithItsStatusAndNoCrash)
{
    const CasoFallido& caso = GetParam();
    const QString servidor = ConstruirServidorDemo();
    const QString danado = testing_support::testFolder() + QStringLiteral("/danado");
    ASSERT_TRUE(QDir().mkpath(danado));
    QFile archivo(danado + QStringLiteral("/BKDEMO.sqlite"));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(QByteArray(4096, 'x'));
    archivo.close();
    const QString vacio = testing_support::testFolder() + QStringLiteral("/vacio");
    ASSERT_TRUE(QDir().mkpath(vacio));
    QFile archivoVacio(vacio + QStringLiteral("/BKDEMO.sqlite"));
    ASSERT_TRUE(archivoVacio.open(QIODevice::WriteOnly));
    archivoVacio.close();

    QString parametros = QString::fromUtf8(caso.parametros);
    parametros.replace(QStringLiteral("<S>"), servidor)
        .replace(QStringLiteral("<D>"), danado)
        .replace(QStringLiteral("<V>"), vacio);
    const Salida salida = Arrancar(parametros, QString::fromUtf8(caso.pasos));

    EXPECT_EQ(salida.estado, QProcess::NormalExit) << salida.error.toStdString();
    EXPECT_EQ(salida.codigo, 1) << salida.error.toStdString();
    ASSERT_EQ(salida.ventanas.size(), qsizetype(caso.ventanas.size())) << salida.ventanas.join(u'\n').toStdString();
    for (std::size_t i = 0; i < caso.ventanas.size(); ++i) {
        EXPECT_TRUE(salida.ventanas[qsizetype(i)].contains(QString::fromUtf8(caso.ventanas[i])))
            << salida.ventanas[qsizetype(i)].toStdString();
    }
}

const char* const kIncorrecto = "El usuario o clave en la base de datos es incorrecto!";
const char* const kAcceso = "Control de Acceso | frmAcceso";
const char* const kIntento = "Atencion | Usuario o Clave incorrecta";
const char* const kErrorConexion = "Error de Conexion a Base de Datos";

INSTANTIATE_TEST_SUITE_P(
    Fallos, ArranqueProceso,
    ::testing::Values(
        CasoFallido{"WrongPasswordThenCancel",
                    "@Server=<S>;@DbName=BKDEMO;@Usuario=demo;@Password=mala;@Caja=1",
                    "Aceptar|Cancelar",
                    {kIncorrecto, kAcceso}},
        CasoFallido{"ThreeFailedTries",
                    "@Server=<S>;@DbName=BKDEMO;@Usuario=demo;@Password=mala;@Caja=1",
                    "Aceptar|Conectar:demo:x|Aceptar|Conectar:demo:y|Aceptar|Conectar:demo:z|Aceptar|Aceptar",
                    {kIncorrecto, kAcceso, kIntento, kAcceso, kIntento, kAcceso, kIntento,
                     "Demasiados intentos para iniciar sesion!"}},
        CasoFallido{"UnknownDataBase",
                    "@Server=<S>;@DbName=NOEXISTE;@Usuario=demo;@Password=demo;@Caja=1",
                    "No",
                    {kErrorConexion}},
        CasoFallido{"MissingFolder",
                    "@Server=<S>/falta;@DbName=BKDEMO;@Usuario=demo;@Password=demo;@Caja=1",
                    "No",
                    {kErrorConexion}},
        CasoFallido{
            "DamagedFile", "@Server=<D>;@DbName=BKDEMO;@Usuario=demo;@Password=demo;@Caja=1", "No", {kErrorConexion}},
        CasoFallido{
            "EmptyFile", "@Server=<V>;@DbName=BKDEMO;@Usuario=demo;@Password=demo;@Caja=1", "No", {kErrorConexion}},
        CasoFallido{"EmptyDataBaseName",
                    "@Server=<S>;@DbName=;@Usuario=demo;@Password=demo;@Caja=1",
                    "Aceptar",
                    {"Falta el nombre de la base de datos."}},
        CasoFallido{"NoParametersThenCancel", "", "Cancelar", {kAcceso}}),
    [](const ::testing::TestParamInfo<CasoFallido>& c) { return std::string(c.param.nombre); });

TEST(ArranqueIdioma, TheStandardButtonsSpeakTheUsersLanguage)
{
    const QString servidor = ConstruirServidorDemo();
    const Salida salida = Arrancar(QStringLiteral("@Server=") + servidor +
                                       QStringLiteral(";@DbName=NOEXISTE;@Usuario=demo;@Password=demo;@Caja=1"),
                                   QStringLiteral("No"), QStringLiteral("es_AR.UTF-8"));
    EXPECT_EQ(salida.codigo, 1) << salida.error.toStdString();
    ASSERT_EQ(salida.ventanas.size(), 1);
    EXPECT_TRUE(salida.ventanas[0].endsWith(QStringLiteral(" | &Sí &No"))) << salida.ventanas[0].toStdString();
}

} // namespace
