// The correction run without the form, on the test group of CorrigeCostoSoporte.h:
// the statements it sends, the rows it leaves and the log it writes, all
// written out.
#include "CorrigeCostoSoporte.h"
#include "SoporteApp.h"

#include "app/CorreccionPrecios.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

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
    Textos maestro;    // the group's articles in the master afterwards
    Textos precios;    // its rows of list 0002 afterwards
    Textos sentencias; // every statement the run sends (not pinned when empty)
};

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
     {"   1001|650|900|True", "1002|450|700|True", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     kListaAntes,
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora <= '01-04-2024 "
         "10:00:40.999'  and (idlista = '' or idlista is null) ORDER BY FechaHora;",
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
     {"   1001|650|900|True", "1002|450|750|False", "1003|330|500|False", "1004|200|300.01|True", "1007|120|120|False"},
     kListaAntes,
     {}},
    {"MasterPrecio1OnlyWhenThePreviousIsLower",
     "1",
     "",
     Regla::Menor,
     {"1002\t750\t700.00\t2024-03-31 18:00:02"},
     {"   1001|650|850|False", "1002|450|700|True", "1003|330|500|False", "1004|200|300|False", "1007|120|120|False"},
     kListaAntes,
     {}},
    {"MasterCostMatchesTheTrimmedId",
     "Costo",
     "",
     Regla::Todos,
     {"1001\t650\t600.00\t2024-03-31 18:00:01", "1003\t330\t320.00\t2024-03-31 18:00:03",
      "1004\t200\t210.00\t2024-03-31 18:00:04", "1007\t120\t100.00\t2024-03-31 18:00:05"},
     {"   1001|600|850|True", "1002|450|750|False", "1003|320|500|True", "1004|210|300|True", "1007|100|120|True"},
     kListaAntes,
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora <= '01-04-2024 "
         "10:00:40.999'  and (idlista = '' or idlista is null) ORDER BY FechaHora;",
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
     kMaestroAntes,
     {"1002|0002|451|777.77|True", "1004|0002|200|333.33|False"},
     {
         "SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '01-04-2024 10:00:05.000' AND FechaHora <= '01-04-2024 "
         "10:00:40.999'  and idlista = '0002' ORDER BY FechaHora;",
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
     kMaestroAntes,
     {"1002|0002|451|700|False", "1004|0002|211|333.33|True"},
     {}},
};

class CorreccionDelGrupo : public ::testing::TestWithParam<Caso>
{
protected:
    void SetUp() override
    {
        corrige_tests::SembrarGrupo(servidor.carpeta());
        servidor.abrirPrincipal();
        common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    }

    CorreccionPrecios::Resultado Correr(const Caso& caso, QStringList* progreso = nullptr)
    {
        CorreccionPrecios corrida(data::gDbPrincipal(), [] { return corrige_tests::AhoraFijo(); });
        CorreccionPrecios::Eleccion eleccion;
        eleccion.primera = corrige_tests::PrimeraDelGrupo();
        eleccion.ultima = corrige_tests::UltimaDelGrupo();
        eleccion.ClasePrecio = QString::fromLatin1(caso.clase);
        eleccion.CodigoLista = QString::fromLatin1(caso.lista);
        eleccion.regla = caso.regla;
        return corrida.EjecutarCorreccion(eleccion, [progreso](const QString& texto) {
            if (progreso) {
                progreso->append(texto);
            }
        });
    }

    app_tests::ServidorDemo servidor;
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
    EXPECT_EQ(r.fallidos, 0);
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
    EXPECT_EQ(segunda.archivo, carpeta + QStringLiteral("CorreccionesPrecio_20240402_102030_2.txt"));
    EXPECT_EQ(Archivo(segunda.archivo), Log(caso.clase, {}));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(caso.maestro));
    EXPECT_EQ(PreciosDelGrupo(servidor), Lista(caso.precios));
}

INSTANTIATE_TEST_SUITE_P(Casos, CorreccionDelGrupo, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& caso) { return std::string(caso.param.nombre); });

TEST_F(CorreccionDelGrupo, ShowsTheCountAndPercentageOfEachRow)
{
    QStringList progreso;
    Correr(kCasos[0], &progreso);
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

TEST_F(CorreccionDelGrupo, UpdatesThatFailAreCountedAndNotLogged)
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
    EXPECT_EQ(r.fallidos, 4);
    EXPECT_EQ(Archivo(r.archivo), Log("1", {}));
    EXPECT_EQ(ArticulosDelGrupo(servidor), Lista(kMaestroAntes));
    const CorreccionPrecios::Aviso aviso = CorreccionPrecios::AvisoFinal(r);
    EXPECT_EQ(aviso.texto,
              QStringLiteral("Corrección finalizada con errores.\r\nPrecios modificados: 0. Precios que no "
                             "se pudieron modificar: 4."));
    EXPECT_EQ(aviso.estilo, 48);
}
