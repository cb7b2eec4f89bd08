// Throughput of the price-correction run (history rows per second) on the
// million-row demo, for one group of the cost class and one of a numbered
// class, rule "Todos": the run of CorreccionPrecios through the program's
// data-access class, beside the same statements sent straight to a connection
// of the data base file (the ratio is the cost of the run's own work). Each
// run works on a fresh copy of the data base, so every run writes its changes.
//
//   CorreccionBench [server folder]   (built with a million history rows when absent)

#include "app/CorreccionPrecios.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/db/Types.h"
#include "platform/core/Operator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

// Answers every question with OK and prints it: a benchmark has nobody to ask.
class OperadorSilencioso final : public platform::Operator
{
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        std::printf("  message: %s\n", qPrintable(prompt));
        return platform::msgbox::OK;
    }
    void TimedMsgBox(const QString& prompt, int, const QString&, int) override
    {
        std::printf("  message: %s\n", qPrintable(prompt));
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

struct Grupo
{
    const char* nombre;
    const demo::KnownChange& cambio;
    const char* lista; // "" the article master
};

// A second of the group's minute ("yyyy-mm-dd hh:mm").
platform::DateTime segundo(const demo::KnownChange& cambio, int s)
{
    const QDateTime minuto =
        QDateTime::fromString(QString::fromLatin1(cambio.minute), QStringLiteral("yyyy-MM-dd HH:mm"));
    return platform::DateTime(minuto.date(), minuto.time().addSecs(s));
}

app::CorreccionPrecios::Eleccion eleccion(const Grupo& grupo)
{
    app::CorreccionPrecios::Eleccion e;
    e.primera = segundo(grupo.cambio, grupo.cambio.firstSecond);
    e.ultima = segundo(grupo.cambio, grupo.cambio.lastSecond);
    e.ClasePrecio = QString::fromLatin1(grupo.cambio.priceClass);
    e.CodigoLista = QString::fromLatin1(grupo.lista);
    e.regla = app::Regla::Todos;
    return e;
}

bool copiar(const QString& origen, const QString& destino)
{
    QDir().mkpath(destino);
    for (const char* base : {demo::kMainDatabase, demo::kStatisticsDatabase}) {
        const QString nombre = QString::fromLatin1(base) + QStringLiteral(".sqlite");
        QFile::remove(destino + u'/' + nombre);
        if (!QFile::copy(origen + u'/' + nombre, destino + u'/' + nombre)) {
            return false;
        }
    }
    return true;
}

QString cadena(const QString& servidor)
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=demo;Pwd=demo;")
        .arg(servidor, QString::fromLatin1(demo::kMainDatabase));
}

struct Medida
{
    long long filas = 0;
    int cambios = 0;
    double segundos = 0;
};

// The run of the class, as "&Corregir precios" starts it, with the label's
// yield after each row.
Medida porLaClase(const Grupo& grupo, const QString& servidor)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    principal.gServidor = servidor;
    principal.gDBName = QString::fromLatin1(demo::kMainDatabase);
    principal.gUsuario = principal.gDBName;
    principal.gUserPassWord = principal.gDBName;
    principal.OpenServerADODB(false, platform::db::adUseClient, QString(), false, false);
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    Medida medida;
    if (!principal.gOpenFlag) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(servidor));
        return medida;
    }
    app::CorreccionPrecios corrida(principal, [] { return platform::now(); });
    QElapsedTimer reloj;
    reloj.start();
    const app::CorreccionPrecios::Resultado r = corrida.EjecutarCorreccion(eleccion(grupo), [&](const QString&) {
        ++medida.filas;
        QCoreApplication::processEvents();
    });
    medida.segundos = double(reloj.nsecsElapsed()) / 1e9;
    medida.cambios = r.modificados;
    std::printf("  final message: %s\n", qPrintable(app::CorreccionPrecios::AvisoFinal(r).texto.replace(
                                             QStringLiteral("\r\n"), QStringLiteral(" "))));
    data::LiberarDbPrincipal();
    return medida;
}

// The same statements, built the same way, sent straight to a connection:
// the history rows, and per row the previous price, the current value and
// the update.
Medida directo(const Grupo& grupo, const QString& servidor)
{
    namespace db = platform::db;
    const app::CorreccionPrecios::Eleccion e = eleccion(grupo);
    const bool maestro = e.CodigoLista.isEmpty();
    const QString columna =
        e.ClasePrecio == u"Costo" ? QStringLiteral("Costo") : QStringLiteral("precio") + e.ClasePrecio;
    const QString filtro = app::CorreccionPrecios::FiltroLista(e.CodigoLista);
    const QString inicio = app::CorreccionPrecios::InicioDelRango(e.primera);
    const QString limite = app::CorreccionPrecios::LimiteDelRango(e.ultima);

    db::Connection cnn;
    cnn.Open(cadena(servidor));
    Medida medida;
    QElapsedTimer reloj;
    reloj.start();
    auto historia = cnn.Execute(QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE FechaHora >= '") + inicio +
                                QStringLiteral("' AND FechaHora < '") + limite + QStringLiteral("' ") + filtro +
                                QStringLiteral("ORDER BY FechaHora;"));
    for (; !historia->Eof(); historia->MoveNext()) {
        ++medida.filas;
        const QString id = historia->value(QStringLiteral("IdArticulo")).toText();
        const QString clave = columna == u"Costo" ? QStringLiteral("LTRIM(RTRIM(IdArticulo)) = '") + id.trimmed()
                                                  : QStringLiteral("IdArticulo = '") + id;
        auto previo = cnn.Execute(QStringLiteral("SELECT TOP 1  ") + columna +
                                  QStringLiteral(" as precio, * FROM V_MV_PreciosHis WHERE ") + clave +
                                  QStringLiteral("' ") + filtro + QStringLiteral("  AND FechaHora < '") + inicio +
                                  QStringLiteral("'ORDER BY FechaHora DESC;"));
        if (previo->Eof()) {
            continue;
        }
        const std::optional<platform::Currency> anterior = previo->value(QStringLiteral("precio")).toCurrency();
        const QString lista = previo->value(QStringLiteral("idLista")).toText();
        const QString condicion = maestro ? QString()
                                          : QStringLiteral(" AND  idarticulo = '") + id +
                                                QStringLiteral("' and idlista = '") + lista + QStringLiteral("'");
        auto actual = cnn.Execute(QStringLiteral("SELECT TOP 1 * FROM ") +
                                  (maestro ? QStringLiteral("V_MA_ARTICULOS") : QStringLiteral("V_MA_PRECIOS")) +
                                  QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(IdArticulo)) ='") + id.trimmed() +
                                  QStringLiteral("' ") + condicion);
        const std::optional<platform::Currency> valor =
            actual->Eof() ? std::nullopt : actual->value(columna).toCurrency();
        if (!anterior || !valor || !app::CorreccionPrecios::Modificar(*anterior, *valor, e.regla)) {
            continue;
        }
        int64_t afectados = 0;
        cnn.Execute(maestro ? QStringLiteral("UPDATE  V_MA_ARTICULOS SET ") + columna + QStringLiteral(" = ") +
                                  anterior->rounded(2).toFixed(2) +
                                  QStringLiteral(", DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '") + id.trimmed() +
                                  QStringLiteral("'")
                            : QStringLiteral("UPDATE  V_MA_PRECIOS SET ") + columna + QStringLiteral(" = ") +
                                  anterior->rounded(2).toString() +
                                  QStringLiteral(", DESDETRIGGER = 1 WHERE IDARTICULO = '") + id +
                                  QStringLiteral("' and idlista = '") + lista + QStringLiteral("'"),
                    &afectados);
        medida.cambios += afectados > 0 ? 1 : 0;
    }
    medida.segundos = double(reloj.nsecsElapsed()) / 1e9;
    return medida;
}

void imprimir(const char* como, const Medida& m)
{
    std::printf("  %-34s %7lld history rows  %6d changed  %8.2f s  %10.0f rows/s\n", como, m.filas, m.cambios,
                m.segundos, m.segundos > 0 ? double(m.filas) / m.segundos : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;

    QTemporaryDir trabajo;
    platform::Runtime& rt = platform::Runtime::instance();
    rt.setOperator(std::make_unique<OperadorSilencioso>());
    rt.setProgramFolder(trabajo.path());

    const Grupo grupos[] = {
        {"list 0003, Costo", demo::kKnownChanges[5], "0003"},
        {"list 0001, Precio 1", demo::kKnownChanges[3], "0001"},
    };
    const QString copia = trabajo.path() + QStringLiteral("/servidor");
    for (const Grupo& grupo : grupos) {
        std::printf("%s\n", grupo.nombre);
        if (!copiar(folder, copia)) {
            std::fprintf(stderr, "cannot copy the demo into %s\n", qPrintable(copia));
            return 1;
        }
        const Medida clase = porLaClase(grupo, copia);
        imprimir("CorreccionPrecios", clase);
        if (!copiar(folder, copia)) {
            std::fprintf(stderr, "cannot copy the demo into %s\n", qPrintable(copia));
            return 1;
        }
        const Medida solo = directo(grupo, copia);
        imprimir("the same statements, straight", solo);
        std::printf("  ratio run / straight: %.2f\n", solo.segundos > 0 ? clase.segundos / solo.segundos : 0.0);
    }
    return 0;
}
