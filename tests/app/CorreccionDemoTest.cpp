// The correction run of each mass change of the small demo, rule "Todos", on a fresh
// demo copy: its log and the values it stored, compared byte for byte with
// the golden files of tests/fixtures/correccion/ (what the engine stores, read
// back with SQLite itself, so that a change of how values are read, bound or
// converted shows).
#include "CorrigeCostoSoporte.h"

#include "app/CorreccionPrecios.h"
#include "data/DB_Dll.h"
#include "demo/DemoChanges.h"
#include "support/RawSqlite.h"
#include "support/TestEnvironment.h"
#include "support/ParamName.h"

#include <QCryptographicHash>
#include <QFile>

#include <gtest/gtest.h>

using app::CorreccionPrecios;

namespace {

QByteArray Archivo(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every stored value of the two tables the run writes, in key order.
const char* const kTablas = "SELECT quote(IDARTICULO), '', quote(Costo), quote(Precio1), quote(Precio2), "
                            "quote(Precio3), quote(Precio4), quote(Precio5), quote(Precio6), quote(Precio7), "
                            "quote(Precio8), quote(DESDETRIGGER) FROM V_MA_ARTICULOS "
                            "UNION ALL SELECT quote(IDARTICULO), quote(idlista), quote(Costo), quote(Precio1), "
                            "quote(Precio2), quote(Precio3), quote(Precio4), quote(Precio5), quote(Precio6), "
                            "quote(Precio7), quote(Precio8), quote(DESDETRIGGER) FROM V_MA_PRECIOS ORDER BY 1, 2";

// The run of one mass change: its counts, its log, the rows it marked as
// written and a digest of both tables whole.
QByteArray Salida(const demo::KnownChange& cambio)
{
    const QString servidor = corrige_tests::ServidorDemo();
    corrige_tests::AbrirPrincipalDemo(servidor);
    const QDateTime minuto =
        QDateTime::fromString(QString::fromLatin1(cambio.minute), QStringLiteral("yyyy-MM-dd HH:mm"));
    CorreccionPrecios::Eleccion eleccion;
    eleccion.primera = platform::DateTime(minuto.date(), minuto.time().addSecs(cambio.firstSecond));
    eleccion.ultima = platform::DateTime(minuto.date(), minuto.time().addSecs(cambio.lastSecond));
    eleccion.ClasePrecio = QString::fromLatin1(cambio.priceClass);
    eleccion.CodigoLista = cambio.onMaster ? QString() : QString::fromLatin1(cambio.listCode).trimmed();
    eleccion.regla = app::Regla::Todos;
    CorreccionPrecios corrida(data::gDbPrincipal(), [] { return corrige_tests::AhoraFijo(); });
    const CorreccionPrecios::Resultado r = corrida.EjecutarCorreccion(eleccion, [](const QString&) {});

    const QString archivo = servidor + QStringLiteral("/BKDEMO.sqlite");
    QByteArray salida =
        CorreccionPrecios::AvisoFinal(r).texto.toUtf8() + "\r\n== log\r\n" + Archivo(r.archivo) + "== written\r\n";
    const QString tablas = QString::fromLatin1(kTablas);
    const QStringList filas = testing_support::rawRows(archivo, tablas);
    for (const QString& fila : filas) {
        if (fila.endsWith(QStringLiteral("\t1"))) {
            salida += fila.toUtf8() + "\r\n";
        }
    }
    salida +=
        "== tables " +
        QCryptographicHash::hash(filas.join(QStringLiteral("\r\n")).toUtf8(), QCryptographicHash::Sha256).toHex() +
        "\r\n";
    return salida;
}

class CorreccionDelDemo : public ::testing::TestWithParam<int>
{
};

TEST_P(CorreccionDelDemo, WritesWhatTheGoldenFileHolds)
{
    const demo::KnownChange& cambio = demo::kKnownChanges[GetParam()];
    const QString nombre = QStringLiteral("correccion/%1.txt").arg(GetParam() + 1);
    const QByteArray esperada = Archivo(testing_support::fixturePath(nombre));
    ASSERT_FALSE(esperada.isEmpty()) << nombre.toStdString();
    EXPECT_EQ(Salida(cambio), esperada) << cambio.minute;
}

INSTANTIATE_TEST_SUITE_P(CambiosMasivos, CorreccionDelDemo, ::testing::Range(0, int(std::size(demo::kKnownChanges))),
                         [](const ::testing::TestParamInfo<int>& caso) {
                             return "Cambio" + testing_support::ParamName(demo::kKnownChanges[caso.param].minute);
                         });

} // namespace
