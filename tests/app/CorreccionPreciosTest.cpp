// The correction run without the form, on the test group of CorrigeCostoSoporte.h:
// the statements it sends, the rows it leaves and the log it writes, all
// written out.
#include "CorrigeCostoSoporte.h"
#include "SoporteApp.h"

#include "app/CorreccionPrecios.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "support/RawSqlite.h"
#include "support/LocaleScope.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <vector>

using app::CorreccionPrecios;
using app::Regla;

namespace {

using Textos = std::vector<const char*>;

QStringList Lista(const Textos& textos)
{
    QStringList lista;
    for (const char* t : textos) {
        lista.append(QString::fromUtf8(t));
    }
    return lista;
}

QByteArray Archivo(const QString& ruta)
{
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
    return f.readAll();
}

// The log's header for the test group, then the change lines.
QByteArray Log(const char* clase, const Textos& lineas)
{
    QByteArray bytes = "== Log de correcciones de precio ==\r\n"
                       "Fecha de ejecuci\xC3\xB3n: 2024-04-02 10:20:30\r\n"
                       "Clase de precio: Precio " +
                       QByteArray(clase) +
                       "\r\n"
                       "Rango analizado: 01-04-2024 10:00:05.000 a 01-04-2024 10:00:40.999\r\n"
                       "------------------------------------\r\n"
                       "IdArticulo\tPrecio maestro\tPrecio nuevo\tFecha hist.\r\n";
    for (const char* linea : lineas) {
        bytes += QByteArray(linea) + "\r\n";
    }
    return bytes;
}

QStringList Unidas(const QList<QStringList>& filas)
{
    QStringList unidas;
    for (const QStringList& fila : filas) {
        unidas.append(fila.join(u'|'));
    }
    return unidas;
}

const QString kArticulosDelGrupo = QStringLiteral("('1001', '1002', '1003', '1004', '1007', '8888', '9999')");

QStringList ArticulosDelGrupo(const app_tests::ServidorDemo& servidor)
{
    return Unidas(servidor.filas(QStringLiteral("SELECT IDARTICULO, Costo, Precio1, DESDETRIGGER FROM V_MA_ARTICULOS "
                                                "WHERE LTRIM(IDARTICULO) IN ") +
                                 kArticulosDelGrupo + QStringLiteral(" ORDER BY IDARTICULO")));
}

QStringList PreciosDelGrupo(const app_tests::ServidorDemo& servidor)
{
    return Unidas(
        servidor.filas(QStringLiteral("SELECT IDARTICULO, idlista, Costo, Precio2, DESDETRIGGER FROM "
                                      "V_MA_PRECIOS WHERE IDARTICULO IN ('1002', '1004') AND idlista = '0002' "
                                      "ORDER BY IDARTICULO")));
}

// Every other row of the two tables the run may write.
QStringList RestoDeLasTablas(const app_tests::ServidorDemo& servidor)
{
    return Unidas(servidor.filas(QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE LTRIM(IDARTICULO) NOT IN ") +
                                 kArticulosDelGrupo + QStringLiteral(" ORDER BY IDARTICULO"))) +
           Unidas(servidor.filas(QStringLiteral("SELECT * FROM V_MA_PRECIOS WHERE NOT (IDARTICULO IN ('1002', '1004') "
                                                "AND idlista = '0002') ORDER BY IDARTICULO, idlista")));
}

// The run's lines of BKERR.LOG, the error log (the data class writes its own there too).
QStringList ErroresRegistrados()
{
    QFile f(testing_support::testFolder() + QStringLiteral("/BKERR.LOG"));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(f.readAll())
        .split(QStringLiteral("\r\n"))
        .filter(QStringLiteral(" Rutina: - EjecutarCorreccion Mensaje "));
}

const Textos kMaestroAntes{"   1001|650|850|False", "1002|450|750|False", "1003|330|500|False", "1004|200|300|False",
                           "1007|120|120|False"};
const Textos kListaAntes{"1002|0002|451|700|False", "1004|0002|200|333.33|False"};

struct Caso
{
    const char* nombre;
    const char* clase;
    const char* lista;
    Regla regla;
    Textos lineas;     // the change lines of the log
    int sinCambio;     // rows the rule leaves as they are
    Textos omitidos;   // the skipped rows' lines of the error log
    Textos maestro;    // the group's articles in the master afterwards
    Textos precios;    // its rows of list 0002 afterwards
    Textos sentencias; // every statement the run sends (not pinned when empty)
};

// The error log's lines of the rows of the master that every class skips.
#define LINEA_ERROR(texto) "04-02-2024 10:20:30 Rutina: - EjecutarCorreccion Mensaje " texto " Respondio : "
const char* const kSinHistoria = LINEA_ERROR("Artículo 8888 omitido: no hay precio anterior al rango en el historial.");
const char* const kFueraDelMaestro = LINEA_ERROR("Artículo 9999 omitido: no está en el maestro de artículos.");
const char* const kPrecioVacio =
    LINEA_ERROR("Artículo 1007 omitido: el precio anterior al rango está vacío (historial del 2024-03-31 18:00:05).");

void PrintTo(const Caso& caso, std::ostream* os)
{
    *os << caso.nombre;
}

const Caso kCasos[] = {
    {"MasterPrecio1Everything",
     "1",
     "",
     Regla::Todos,
     {"1001\t850\t900.00\t2024-03-31 18:00:01", "1002\t750\t700.00\t2024-03-31 18:00:02",
      "1004\t300\t300.01\t2024-03-31 18:00:04"},
     2,
     {kSinHistoria, kPrecioVacio, kFueraDelMaestro},
     {"   1001|650|900|True", "1002|450|700|True", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     kListaAntes,
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora < '01-04-2024 "
         "10:00:41.000'  and (idlista = '' or idlista is null) ORDER BY FechaHora;",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '   1001'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001' ",
         "UPDATE  V_MA_ARTICULOS SET precio1 = 900.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1001'",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1002'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1002' ",
         "UPDATE  V_MA_ARTICULOS SET precio1 = 700.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1002'",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1003'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1003' ",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1004'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1004' ",
         "UPDATE  V_MA_ARTICULOS SET precio1 = 300.01, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1004'",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '8888'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1007'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '9999'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='9999' ",
         "SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '   1001'  and (idlista = '' or "
         "idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001' ",
     }},
    {"MasterPrecio1OnlyWhenThePreviousIsHigher",
     "1",
     "",
     Regla::Mayor,
     {"1001\t850\t900.00\t2024-03-31 18:00:01", "1004\t300\t300.01\t2024-03-31 18:00:04"},
     3,
     {kSinHistoria, kPrecioVacio, kFueraDelMaestro},
     {"   1001|650|900|True", "1002|450|750|False", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     kListaAntes,
     {}},
    {"MasterPrecio1OnlyWhenThePreviousIsLower",
     "1",
     "",
     Regla::Menor,
     {"1002\t750\t700.00\t2024-03-31 18:00:02"},
     4,
     {kSinHistoria, kPrecioVacio, kFueraDelMaestro},
     {"   1001|650|850|False", "1002|450|700|True", "1003|330|500|False", "1004|200|300|False", "1007|120|120|False"},
     kListaAntes,
     {}},
    {"MasterCostMatchesTheTrimmedId",
     "Costo",
     "",
     Regla::Todos,
     {"1001\t650\t600.00\t2024-03-31 18:00:01", "1003\t330\t320.00\t2024-03-31 18:00:03",
      "1004\t200\t210.00\t2024-03-31 18:00:04", "1007\t120\t100.00\t2024-03-31 18:00:05"},
     2,
     {kSinHistoria, kFueraDelMaestro},
     {"   1001|600|850|True", "1002|450|750|False", "1003|320|500|True", "1004|210|300|True", "1007|100|120|True"},
     kListaAntes,
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora < '01-04-2024 "
         "10:00:41.000'  and (idlista = '' or idlista is null) ORDER BY FechaHora;",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1001'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001' ",
         "UPDATE  V_MA_ARTICULOS SET Costo = 600.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1001'",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1002'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1002' ",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1003'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1003' ",
         "UPDATE  V_MA_ARTICULOS SET Costo = 320.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1003'",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1004'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1004' ",
         "UPDATE  V_MA_ARTICULOS SET Costo = 210.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1004'",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '8888'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1007'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1007' ",
         "UPDATE  V_MA_ARTICULOS SET Costo = 100.00, DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '1007'",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '9999'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='9999' ",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1001'  and (idlista "
         "= '' or idlista is null)   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1001' ",
     }},
    {"ListPrecio2",
     "2",
     "0002",
     Regla::Todos,
     {"1002\t700\t777.77\t2024-03-31 18:00:07"},
     1,
     {},
     kMaestroAntes,
     {"1002|0002|451|777.77|True", "1004|0002|200|333.33|False"},
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora < '01-04-2024 "
         "10:00:41.000'  and idlista = '0002' ORDER BY FechaHora;",
         "SELECT TOP 1  precio2 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1002'  and idlista = '0002'   "
         "AND "
         "FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1002'  AND  idarticulo = "
         "'1002' and idlista = '0002'",
         "UPDATE  V_MA_PRECIOS SET precio2 = 777.77, DESDETRIGGER = 1 WHERE IDARTICULO = '1002' and idlista = '0002'",
         "SELECT TOP 1  precio2 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '1004'  and idlista = '0002'   "
         "AND "
         "FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1004'  AND  idarticulo = "
         "'1004' and idlista = '0002'",
     }},
    {"ListCost",
     "Costo",
     "0002",
     Regla::Todos,
     {"1004\t200\t211.00\t2024-03-31 18:00:08"},
     1,
     {},
     kMaestroAntes,
     {"1002|0002|451|700|False", "1004|0002|211|333.33|True"},
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora < '01-04-2024 "
         "10:00:41.000'  and idlista = '0002' ORDER BY FechaHora;",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1002'  and idlista "
         "= '0002'   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1002'  AND  idarticulo = "
         "'1002' and idlista = '0002'",
         "SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1004'  and idlista "
         "= '0002'   AND FechaHora < '01-04-2024 10:00:05.000'ORDER BY FechaHora DESC;",
         "SELECT TOP 1 * FROM V_MA_PRECIOS with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='1004'  AND  idarticulo = "
         "'1004' and idlista = '0002'",
         "UPDATE  V_MA_PRECIOS SET Costo = 211, DESDETRIGGER = 1 WHERE IDARTICULO = '1004' and idlista = '0002'",
     }},
};

// A demo copy with the test group, the main connection open on it.
class GrupoDePrueba : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corrige_tests::SembrarGrupo(servidor.carpeta());
        servidor.abrirPrincipal();
        common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    }

    // The run of the test group with the case's choices.
    CorreccionPrecios::Resultado Correr(const Caso& caso, const CorreccionPrecios::Progreso& progreso = {})
    {
        CorreccionPrecios corrida(data::gDbPrincipal(), [] { return corrige_tests::AhoraFijo(); });
        CorreccionPrecios::Eleccion eleccion;
        eleccion.primera = corrige_tests::PrimeraDelGrupo();
        eleccion.ultima = corrige_tests::UltimaDelGrupo();
        eleccion.ClasePrecio = QString::fromLatin1(caso.clase);
        eleccion.CodigoLista = QString::fromLatin1(caso.lista);
        eleccion.regla = caso.regla;
        return corrida.EjecutarCorreccion(eleccion, [&progreso](const QString& texto) {
            if (progreso) {
                progreso(texto);
            }
        });
    }

    app_tests::ServidorDemo servidor;
};

class CorreccionDelGrupo : public GrupoDePrueba, public ::testing::WithParamInterface<Caso>
{
};

} // namespace

TEST_P(CorreccionDelGrupo, WritesTheChangesOfTheRuleLogsThemAndASecondRunWritesNothing)
{
    const Caso& caso = GetParam();
    const QStringList resto = RestoDeLasTablas(servidor);
    ASSERT_EQ(ArticulosDelGrupo(servidor), Lista(kMaestroAntes));
    ASSERT_EQ(PreciosDelGrupo(servidor), Lista(kListaAntes));

    const CorreccionPrecios::Resultado r = Correr(caso);
    const QStringList sentencias = servidor.tomarSentencias();
    EXPECT_EQ(r.fin, CorreccionPrecios::Fin::Completa);
    EXPECT_EQ(r.modificados, int(caso.lineas.size()));
    EXPECT_EQ(r.sinCambio, caso.sinCambio);
    EXPECT_EQ(r.omitidos, int(caso.omitidos.size()));
    EXPECT_EQ(r.fallidos, 0);
    EXPECT_EQ(r.revisadas(), r.filas);
    EXPECT_EQ(ErroresRegistrados(), Lista(caso.omitidos));
    const QString carpeta = testing_support::testFolder() + u'/';
    EXPECT_EQ(r.archivo, carpeta + QStringLiteral("CorreccionesPrecio_20240402_102030.txt"));
    EXPECT_EQ(Archivo(r.archivo), Log(caso.clase, caso.lineas));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(caso.maestro));
    EXPECT_EQ(PreciosDelGrupo(servidor), Lista(caso.precios));
    EXPECT_EQ(RestoDeLasTablas(servidor), resto);
    if (!caso.sentencias.empty()) {
        EXPECT_EQ(sentencias, Lista(caso.sentencias));
    }

    // The same group again, in the same second: a log of its own, no change.
    const CorreccionPrecios::Resultado segunda = Correr(caso);
    EXPECT_EQ(segunda.modificados, 0);
    EXPECT_EQ(segunda.sinCambio, caso.sinCambio + int(caso.lineas.size()));
    EXPECT_EQ(segunda.omitidos, int(caso.omitidos.size()));
    EXPECT_EQ(segunda.archivo, carpeta + QStringLiteral("CorreccionesPrecio_20240402_102030_2.txt"));
    EXPECT_EQ(Archivo(segunda.archivo), Log(caso.clase, {}));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(caso.maestro));
    EXPECT_EQ(PreciosDelGrupo(servidor), Lista(caso.precios));
}

INSTANTIATE_TEST_SUITE_P(Casos, CorreccionDelGrupo, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& caso) { return std::string(caso.param.nombre); });

TEST_F(GrupoDePrueba, ShowsTheCountAndPercentageOfEachRow)
{
    QStringList progreso;
    Correr(kCasos[0], [&progreso](const QString& texto) { progreso.append(texto); });
    EXPECT_EQ(progreso, (QStringList{
                            QStringLiteral("   1/8  13% | Por favor, espere\u2026 Verificando articulo 1001"),
                            QStringLiteral("   2/8  25% | Por favor, espere\u2026 Verificando articulo 1002"),
                            QStringLiteral("   3/8  38% | Por favor, espere\u2026 Verificando articulo 1003"),
                            QStringLiteral("   4/8  50% | Por favor, espere\u2026 Verificando articulo 1004"),
                            QStringLiteral("   5/8  63% | Por favor, espere\u2026 Verificando articulo 8888"),
                            QStringLiteral("   6/8  75% | Por favor, espere\u2026 Verificando articulo 1007"),
                            QStringLiteral("   7/8  88% | Por favor, espere\u2026 Verificando articulo 9999"),
                            QStringLiteral("   8/8  100% | Por favor, espere\u2026 Verificando articulo 1001"),
                        }));
}

TEST(CorreccionPrecios, ModificarFollowsTheRule)
{
    struct Fila
    {
        const char* anterior;
        const char* actual;
        bool mayor;
        bool menor;
        bool todos;
    };
    const Fila filas[] = {
        {"10.00", "8.00", true, false, true},     {"8.00", "10.00", false, true, true},
        {"10.004", "10.00", false, false, false}, {"10.01", "10.00", true, false, true},
        {"10.00", "10.01", false, true, true},    {"10.00", "", false, false, false},
        {"", "10.00", false, false, false},       {"abc", "10.00", false, false, false},
    };
    for (const Fila& f : filas) {
        const QString anterior = QString::fromLatin1(f.anterior);
        const QString actual = QString::fromLatin1(f.actual);
        EXPECT_EQ(CorreccionPrecios::Modificar(anterior, actual, Regla::Mayor), f.mayor)
            << f.anterior << " " << f.actual;
        EXPECT_EQ(CorreccionPrecios::Modificar(anterior, actual, Regla::Menor), f.menor)
            << f.anterior << " " << f.actual;
        EXPECT_EQ(CorreccionPrecios::Modificar(anterior, actual, Regla::Todos), f.todos)
            << f.anterior << " " << f.actual;
        EXPECT_FALSE(CorreccionPrecios::Modificar(anterior, actual, Regla::Ninguna));
    }
}

TEST_F(GrupoDePrueba, UpdatesThatFailAreCountedAndNotLogged)
{
    // The master becomes a view of a copy of its prices: it reads, but every update of it fails.
    for (const char* sql :
         {"CREATE TABLE ARTICULOS_COPIA (IDARTICULO varchar(15), Costo money, Precio1 money, DESDETRIGGER bit)",
          "INSERT INTO ARTICULOS_COPIA SELECT IDARTICULO, Costo, Precio1, DESDETRIGGER FROM V_MA_ARTICULOS",
          "DROP TABLE V_MA_ARTICULOS", "CREATE VIEW V_MA_ARTICULOS AS SELECT * FROM ARTICULOS_COPIA"}) {
        servidor.ejecutar(QString::fromLatin1(sql));
    }
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.fin, CorreccionPrecios::Fin::Completa);
    EXPECT_EQ(r.modificados, 0);
    // 1001 twice: its first update left the price as it was.
    EXPECT_EQ(r.fallidos, 4);
    EXPECT_EQ(Archivo(r.archivo), Log("1", {}));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(kMaestroAntes));
    const QStringList errores = ErroresRegistrados();
    ASSERT_EQ(errores.size(), 7);
    EXPECT_TRUE(
        errores[0].startsWith(QStringLiteral(LINEA_ERROR("Artículo 1001 no se pudo modificar: no se pudo actualizar: "))
                                  .chopped(int(sizeof(" Respondio : ")) - 1)))
        << errores[0].toStdString();
    const CorreccionPrecios::Aviso aviso = CorreccionPrecios::AvisoFinal(r);
    EXPECT_EQ(aviso.texto, QStringLiteral("Corrección finalizada con errores.\r\nFilas del historial: 8. Precios "
                                          "modificados: 0. Sin cambios: 1. Omitidos: 3. No se pudieron modificar: 4."
                                          "\r\nLos artículos omitidos y los que no se pudieron modificar figuran, con "
                                          "el motivo, en ") +
                               testing_support::testFolder() + QStringLiteral("/BKERR.LOG."))
        << aviso.texto.toStdString();
    EXPECT_EQ(aviso.estilo, 48);
}

struct CasoBloqueo
{
    const char* nombre;
    int respuesta; // to the error box of the locked read
    CorreccionPrecios::Fin fin;
    int modificados;
    int fallidos;
    Textos maestro;
    const char* aviso;
    Textos errores; // the run's lines of the error log
};

void PrintTo(const CasoBloqueo& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class CorreccionConBloqueo : public GrupoDePrueba, public ::testing::WithParamInterface<CasoBloqueo>
{
};

// The read of article 1002's previous price (row 2 of 8) waits for a lock
// until its time-out, as on a server where another program holds the rows,
// and the error box of the read is answered; a read tried again finds the
// rows free.
TEST_P(CorreccionConBloqueo, TheAnswerToTheErrorBoxDecidesTheRow)
{
    const CasoBloqueo& caso = GetParam();
    testing_support::scriptedOperator().answerMsgBox(caso.respuesta, QStringLiteral("Lock request time out"));

    const CorreccionPrecios::Resultado r = Correr(kCasos[0], [&](const QString& texto) {
        if (texto.startsWith(QStringLiteral("   2/8 "))) {
            servidor.fallas().lockTimeouts = 1;
        }
    });

    EXPECT_EQ(r.fin, caso.fin);
    EXPECT_EQ(r.modificados, caso.modificados);
    EXPECT_EQ(r.fallidos, caso.fallidos);
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(caso.maestro));
    const CorreccionPrecios::Aviso aviso = CorreccionPrecios::AvisoFinal(r);
    EXPECT_EQ(aviso.texto, QString::fromUtf8(caso.aviso).replace(QStringLiteral("<BKERR>"), r.archivoErrores))
        << aviso.texto.toStdString();
    EXPECT_EQ(ErroresRegistrados(), Lista(caso.errores));
    const QStringList preguntas = corrige_tests::MensajesPreguntados();
    ASSERT_EQ(preguntas.size(), 1);
    EXPECT_TRUE(preguntas[0].contains(QStringLiteral("Lock request time out period exceeded.")))
        << preguntas[0].toStdString();
}

const CasoBloqueo kBloqueos[] = {
    {"IgnoreCountsTheArticleAsFailedAndGoesOn",
     platform::msgbox::Ignore,
     CorreccionPrecios::Fin::Completa,
     2,
     1,
     {"   1001|650|900|True", "1002|450|750|False", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     "Corrección finalizada con errores.\r\nFilas del historial: 8. Precios modificados: 2. Sin cambios: 2. Omitidos: "
     "3. No se pudieron modificar: 1.\r\nLos artículos omitidos y los que no se pudieron modificar figuran, con el "
     "motivo, en <BKERR>.",
     {LINEA_ERROR("Artículo 1002 no se pudo modificar: no se pudo leer el precio anterior (Lock request time out "
                  "period exceeded.)."),
      kSinHistoria, kPrecioVacio, kFueraDelMaestro}},
    {"AbortStopsTheRun",
     platform::msgbox::Abort,
     CorreccionPrecios::Fin::Detenida,
     1,
     0,
     {"   1001|650|900|True", "1002|450|750|False", "1003|330|500|False", "1004|200|300|False", "1007|120|120|False"},
     "La corrección se detuvo: no se pudo leer el precio anterior del artículo 1002 (Lock request time out period "
     "exceeded.).\r\nFilas del historial: 8. Precios modificados: 1. Sin cambios: 0. Omitidos: 0. No se pudieron "
     "modificar: 0. Sin revisar: 7.",
     {LINEA_ERROR("Corrección detenida: no se pudo leer el precio anterior del artículo 1002 (Lock request time out "
                  "period exceeded.).")}},
    {"RetryReadsAgain",
     platform::msgbox::Retry,
     CorreccionPrecios::Fin::Completa,
     3,
     0,
     {"   1001|650|900|True", "1002|450|700|True", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     "Corrección finalizada con artículos omitidos.\r\nFilas del historial: 8. Precios modificados: 3. Sin cambios: 2. "
     "Omitidos: 3. No se pudieron modificar: 0.\r\nLos artículos omitidos y los que no se pudieron modificar "
     "figuran, con el motivo, en <BKERR>.",
     {kSinHistoria, kPrecioVacio, kFueraDelMaestro}},
};

INSTANTIATE_TEST_SUITE_P(Respuestas, CorreccionConBloqueo, ::testing::ValuesIn(kBloqueos),
                         [](const ::testing::TestParamInfo<CasoBloqueo>& caso) {
                             return std::string(caso.param.nombre);
                         });

// A previous price at the very limits of money (the nearest the embedded
// engine stores, which keeps money as a real), rounded to the decimals of the
// article master's setting (two for a list): where the rounded amount does not
// fit in money, the row fails with the reason and the run goes on; the
// difference from the current value is taken also where it does not fit.
struct CasoLimite
{
    const char* nombre;
    const char* decimales; // CantidadDecimales; "0" takes the locale's (yen: none)
    const char* lista;
    const char* importe; // the previous cost of 1003 (master) or 1004 (list 0002)
    const char* nuevo;   // the value written, nullptr when the row fails
};

void PrintTo(const CasoLimite& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class CorreccionEnElLimite : public GrupoDePrueba, public ::testing::WithParamInterface<CasoLimite>
{
};

TEST_P(CorreccionEnElLimite, AnAmountThatRoundsBeyondMoneyFailsItsRowAndTheRunGoesOn)
{
    const CasoLimite& caso = GetParam();
    const testing_support::LocaleScope yen(QLocale(QLocale::Japanese, QLocale::Japan));
    common::valoresCorrida().DecimalesMoneda = QString::fromLatin1(caso.decimales);
    const bool maestro = QByteArray(caso.lista).isEmpty();
    servidor.ejecutar(QStringLiteral("UPDATE V_MV_PreciosHis SET Costo = %1 WHERE FechaHora = '%2'")
                          .arg(QString::fromLatin1(caso.importe), maestro ? QStringLiteral("2024-03-31 18:00:03")
                                                                          : QStringLiteral("2024-03-31 18:00:08")));
    const Caso& base = maestro ? kCasos[3] : kCasos[5];
    ASSERT_STREQ(base.nombre, maestro ? "MasterCostMatchesTheTrimmedId" : "ListCost");

    const CorreccionPrecios::Resultado r = Correr(base);
    EXPECT_EQ(r.fin, CorreccionPrecios::Fin::Completa);
    EXPECT_EQ(r.revisadas(), r.filas);
    EXPECT_EQ(r.fallidos, caso.nuevo ? 0 : 1);
    EXPECT_EQ(r.modificados, int(base.lineas.size()) - (caso.nuevo ? 0 : 1));
    const QString error = QStringLiteral(LINEA_ERROR("Artículo 1003 no se pudo modificar: falló el cálculo (error 6, "
                                                     "Overflow)."));
    EXPECT_EQ(ErroresRegistrados().contains(error), caso.nuevo == nullptr);
    const QString valor =
        servidor
            .filas(maestro ? QStringLiteral("SELECT Costo FROM V_MA_ARTICULOS WHERE IDARTICULO = '1003'")
                           : QStringLiteral("SELECT Costo FROM V_MA_PRECIOS WHERE IDARTICULO = '1004' AND idlista = "
                                            "'0002'"))
            .value(0)
            .value(0);
    EXPECT_EQ(valor, caso.nuevo ? QString::fromLatin1(caso.nuevo) : QStringLiteral("330"));
    // The other articles of the group are corrected as ever.
    if (maestro) {
        EXPECT_EQ(Unidas(servidor.filas(QStringLiteral("SELECT IDARTICULO, Costo FROM V_MA_ARTICULOS WHERE "
                                                       "LTRIM(IDARTICULO) IN ('1001', '1004', '1007') ORDER BY "
                                                       "IDARTICULO"))),
                  (QStringList{QStringLiteral("   1001|600"), QStringLiteral("1004|210"), QStringLiteral("1007|100")}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Decimales, CorreccionEnElLimite,
    ::testing::Values(CasoLimite{"MaxLocaleWithoutDecimals", "0", "", "922337203685477.5", nullptr},
                      CasoLimite{"MaxOne", "1", "", "922337203685477.5", "922337203685477.5"},
                      CasoLimite{"MaxTwo", "2", "", "922337203685477.5", "922337203685477.5"},
                      CasoLimite{"MaxThree", "3", "", "922337203685477.5", "922337203685477.5"},
                      CasoLimite{"MaxFour", "4", "", "922337203685477.5", "922337203685477.5"},
                      CasoLimite{"MinLocaleWithoutDecimals", "0", "", "-922337203685477.5", nullptr},
                      CasoLimite{"MinTwo", "2", "", "-922337203685477.5", "-922337203685477.5"},
                      CasoLimite{"MinFour", "4", "", "-922337203685477.5", "-922337203685477.5"},
                      CasoLimite{"ListMaxLocaleWithoutDecimals", "0", "0002", "922337203685477.5", "922337203685477.5"},
                      CasoLimite{"ListMinThree", "3", "0002", "-922337203685477.5", "-922337203685477.5"}),
    [](const ::testing::TestParamInfo<CasoLimite>& caso) { return std::string(caso.param.nombre); });

TEST(CorreccionPrecios, ModificarComparesAmountsAtTheLimitsOfMoney)
{
    const platform::Currency maximo = platform::Currency::fromUnits(std::numeric_limits<int64_t>::max());
    const platform::Currency minimo = platform::Currency::fromUnits(std::numeric_limits<int64_t>::min());
    EXPECT_TRUE(CorreccionPrecios::Modificar(maximo, minimo, Regla::Mayor));
    EXPECT_FALSE(CorreccionPrecios::Modificar(maximo, minimo, Regla::Menor));
    EXPECT_TRUE(CorreccionPrecios::Modificar(minimo, maximo, Regla::Menor));
    EXPECT_TRUE(CorreccionPrecios::Modificar(minimo, platform::Currency(), Regla::Todos));
    EXPECT_FALSE(CorreccionPrecios::Modificar(minimo, minimo, Regla::Todos));
    EXPECT_FALSE(CorreccionPrecios::Modificar(
        maximo, platform::Currency::fromUnits(std::numeric_limits<int64_t>::max() - 99), Regla::Todos));
    EXPECT_TRUE(CorreccionPrecios::Modificar(QStringLiteral("922337203685477.5807"),
                                             QStringLiteral("-922337203685477.5808"), Regla::Todos));
}

TEST_F(GrupoDePrueba, AHistoryThatCannotBeReadIsTheRunsFailure)
{
    servidor.ejecutar(QStringLiteral("DROP TABLE V_MV_PreciosHis"));
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Ignore, QStringLiteral("V_MV_PreciosHis"));
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.fin, CorreccionPrecios::Fin::Detenida);
    EXPECT_EQ(r.filas, 0);
    EXPECT_EQ(Archivo(r.archivo), Log("1", {}));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(kMaestroAntes));
    const CorreccionPrecios::Aviso aviso = CorreccionPrecios::AvisoFinal(r);
    EXPECT_EQ(aviso.texto, QStringLiteral("La corrección se detuvo: no se pudieron leer las filas del historial del "
                                          "rango (Invalid object name 'V_MV_PreciosHis'.).\r\nFilas del historial: 0. "
                                          "Precios modificados: 0. Sin cambios: 0. Omitidos: 0. No se pudieron "
                                          "modificar: 0."))
        << aviso.texto.toStdString();
    EXPECT_EQ(aviso.estilo, 16);
    EXPECT_EQ(ErroresRegistrados(),
              QStringList{QStringLiteral(LINEA_ERROR("Corrección detenida: no se pudieron leer las filas del historial "
                                                     "del rango (Invalid object name 'V_MV_PreciosHis'.)."))});
}

TEST_F(GrupoDePrueba, AnUpdateWithAnUnknownRowCountIsLoggedAndCountedAsChanged)
{
    servidor.fallas().unknownRowCount = true;
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.modificados, 3);
    EXPECT_EQ(r.fallidos, 0);
    EXPECT_EQ(Archivo(r.archivo), Log("1", kCasos[0].lineas));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(kCasos[0].maestro));
}

TEST_F(GrupoDePrueba, AnArticleIdThatLooksLikeADateIsCountedLikeAnyOther)
{
    // Written as another program writes it: the text exactly as given.
    testing_support::runRawSql(servidor.carpeta() + QStringLiteral("/BKDEMO.sqlite"),
                               QStringLiteral("INSERT INTO V_MV_PreciosHis (FechaHora, IdArticulo, idLista, Costo, "
                                              "Precio1, Precio2) VALUES ('2024-03-31 18:00:09', '05/01/2024', '', 1, "
                                              "10, 1), ('2024-04-01 10:00:38', '05/01/2024', '', 1, 1, 1)"));
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.filas, 9);
    EXPECT_EQ(r.revisadas(), 9);
    EXPECT_EQ(r.modificados, 3);
    EXPECT_EQ(r.omitidos, 4);
    EXPECT_EQ(ErroresRegistrados().size(), 4);
}

TEST_F(GrupoDePrueba, AnArticleIdHoldingTheAdministratorMarkerIsLookedUpAsItIs)
{
    // Article 1020's price differs from its history: a look-up under the
    // wrong id would restore it.
    servidor.ejecutar(QStringLiteral("UPDATE V_MA_ARTICULOS SET Precio1 = 1 WHERE IDARTICULO = '1020'"));
    servidor.ejecutar(QStringLiteral("INSERT INTO V_MV_PreciosHis (FechaHora, IdArticulo, idLista, Costo, Precio1, "
                                     "Precio2) VALUES ('2024-04-01 10:00:39', '10@Admin_20', '', 1, 1, 1)"));
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.modificados, 3);
    EXPECT_EQ(r.omitidos, 4);
    EXPECT_EQ(Unidas(servidor.filas(QStringLiteral("SELECT Precio1, DESDETRIGGER FROM V_MA_ARTICULOS WHERE IDARTICULO "
                                                   "= '1020'"))),
              QStringList{QStringLiteral("1|False")});
    EXPECT_TRUE(ErroresRegistrados().contains(
        QStringLiteral(LINEA_ERROR("Artículo 10@Admin_20 omitido: no hay precio anterior al rango en el historial."))));
}

TEST_F(GrupoDePrueba, TheSpanTakesItsLastSecondWholeAndNothingOfTheNextOne)
{
    servidor.ejecutar(QStringLiteral("INSERT INTO V_MV_PreciosHis (FechaHora, IdArticulo, idLista, Costo, Precio1, "
                                     "Precio2) VALUES ('2024-04-01 10:00:40.999', '8888', '', 1, 1, 1)"));
    servidor.ejecutar(QStringLiteral("INSERT INTO V_MV_PreciosHis (FechaHora, IdArticulo, idLista, Costo, Precio1, "
                                     "Precio2) VALUES ('2024-04-01 10:00:41.000', '8888', '', 1, 1, 1)"));
    const CorreccionPrecios::Resultado r = Correr(kCasos[0]);
    EXPECT_EQ(r.filas, 9);
    EXPECT_EQ(r.omitidos, 4);
}
