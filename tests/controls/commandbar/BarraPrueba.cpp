#include "BarraPrueba.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/util/Dll_ApiWindows.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace commandbar_tests {

namespace {

const char* const kVariables[] = {"USERNAME", "COMPUTERNAME", "QRT_DBNAME", "GDBNAME", "DBNAME"};

} // namespace

void BarraTest::SetUp()
{
    for (const char* nombre : kVariables) {
        entorno(nombre, std::nullopt);
    }
    controls::ModUtilVekBar::EstablecerLineaDeComandos(QString());
}

void BarraTest::TearDown()
{
    for (const auto& [nombre, valor] : m_guardadas) {
        if (valor) {
            qputenv(nombre.c_str(), *valor);
        } else {
            qunsetenv(nombre.c_str());
        }
    }
    controls::ModUtilVekBar::EstablecerLineaDeComandos(std::nullopt);
}

void BarraTest::entorno(const char* nombre, std::optional<QString> valor)
{
    if (!m_guardadas.count(nombre)) {
        m_guardadas[nombre] = qEnvironmentVariableIsSet(nombre) ? std::optional(qgetenv(nombre)) : std::nullopt;
    }
    if (valor) {
        qputenv(nombre, valor->toUtf8());
    } else {
        qunsetenv(nombre);
    }
}

void escribirIni(const QString& texto)
{
    QFile f(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto.toUtf8());
}

void escribirPng(const QString& ruta, QSize tamano, const QColor& color)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ruta).path()));
    QImage imagen(tamano, QImage::Format_ARGB32);
    imagen.fill(color);
    ASSERT_TRUE(imagen.save(ruta, "PNG")) << ruta.toStdString();
}

QImage captura(controls::UtilVek& barra)
{
    return barra.grab().toImage();
}

QColor colorEn(const QImage& imagen, double x, double y)
{
    return imagen.pixelColor(int(x / 15), int(y / 15));
}

QColor qcolor(platform::ui::OleColor c)
{
    return platform::ui::toQColor(c);
}

QString usuarioWindows()
{
    return platform::Dll_ApiWindows::shared().NombreUsuarioWindows().toUpper();
}

} // namespace commandbar_tests
