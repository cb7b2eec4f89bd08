#include "app/Consultas.h"
#include "common/MensajeError.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray leer(const QString& ruta)
{
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

QByteArray esperado()
{
    return leer(testing_support::fixturePath(QStringLiteral("consultas/consultas.bkd")));
}

QString rutaConsultas()
{
    return QDir(testing_support::testFolder()).filePath(QStringLiteral("consultas.bkd"));
}

TEST(Consultas, AMissingFileGetsTheElevenDefaultDefinitionsByteForByte)
{
    app::ConsultasPrograma().ArchivoConsultas = rutaConsultas();
    app::AseguraDefinicionesBusqueda();
    const QByteArray escrito = leer(rutaConsultas());
    ASSERT_EQ(escrito.size(), 13222);
    EXPECT_EQ(escrito, esperado());
}

TEST(Consultas, AnExistingFileIsLeftUntouchedWhateverTheCaseOfItsName)
{
    const QString otra = QDir(testing_support::testFolder()).filePath(QStringLiteral("CONSULTAS.BKD"));
    QFile archivo(otra);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write("propio");
    archivo.close();
    app::ConsultasPrograma().ArchivoConsultas = rutaConsultas();
    app::AseguraDefinicionesBusqueda();
    EXPECT_EQ(leer(otra), QByteArray("propio"));
    EXPECT_FALSE(QFile::exists(rutaConsultas()));
}

TEST(Consultas, WritingOnAnExistingFileAppendsAfterItsLastWholeRecord)
{
    QFile archivo(rutaConsultas());
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    const QByteArray primero = esperado().left(1202);
    archivo.write(primero + QByteArray("resto cortado"));
    archivo.close();
    app::ConsultasPrograma().ArchivoConsultas = rutaConsultas();
    ASSERT_TRUE(app::GrabaDefinicionesBusqueda());
    EXPECT_EQ(leer(rutaConsultas()), primero + esperado());
}

TEST(Consultas, AFolderThatCannotBeWrittenIsSkippedAndLogged)
{
    QFile archivo(QDir(testing_support::testFolder()).filePath(QStringLiteral("archivo")));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    const QString imposible = archivo.fileName() + QStringLiteral("/consultas.bkd");
    app::ConsultasPrograma().ArchivoConsultas = imposible;
    app::AseguraDefinicionesBusqueda();
    EXPECT_FALSE(QFile::exists(imposible));
    const QByteArray log = leer(common::ArchivoBkErr());
    EXPECT_TRUE(log.contains("Rutina: - GrabaDefinicionesBusqueda Mensaje ")) << log.toStdString();
    EXPECT_TRUE(log.contains(imposible.toUtf8()));
}

} // namespace
