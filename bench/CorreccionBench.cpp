// Throughput of the price-correction run (history rows per second) on the
// million-row demo, rule "Todos", for a group of a list with the cost class, a
// list with a numbered class and the article master with the cost class: the
// run of CorreccionPrecios through the program's data-access class, beside the
// same work done directly on the data base file with sqlite3: the same
// look-ups and updates as statements prepared once in C, each update
// committed by itself, and one set-based UPDATE of the whole group. Each figure
// is taken on a fresh copy of the data base, written to disk before it starts,
// so every run writes its changes.
//
//   CorreccionBench [server folder]   (built with a million history rows when absent)

#include "app/CorreccionPrecios.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/core/Runtime.h"
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/core/Operator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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

// Copies the data bases and writes them to disk, so that the first commit of
// a figure does not wait for the copy's pages.
bool copiar(const QString& origen, const QString& destino)
{
    QDir().mkpath(destino);
    for (const char* base : {demo::kMainDatabase, demo::kStatisticsDatabase}) {
        const QString nombre = QString::fromLatin1(base) + QStringLiteral(".sqlite");
        QFile::remove(destino + u'/' + nombre);
        if (!QFile::copy(origen + u'/' + nombre, destino + u'/' + nombre)) {
            return false;
        }
        QFile copia(destino + u'/' + nombre);
        if (!copia.open(QIODevice::ReadWrite) || ::fsync(copia.handle()) != 0) {
            return false;
        }
    }
    return true;
}

struct Medida
{
    long long filas = 0;
    int cambios = 0;
    double segundos = 0;
    double filasPorSegundo() const { return segundos > 0 ? double(filas) / segundos : 0.0; }
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

// The data base file opened with sqlite3 itself, with the collation and
// functions its text columns and indexes name.
class Archivo
{
public:
    explicit Archivo(const QString& servidor)
    {
        const QString ruta = servidor + u'/' + QString::fromLatin1(demo::kMainDatabase) + QStringLiteral(".sqlite");
        sqlite3* raw = nullptr;
        m_ok = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
        m_db.reset(raw);
        m_ok = m_ok && platform::db::sqlite::registerSqlServerExtensions(raw) == SQLITE_OK &&
               sqlite3_exec(raw, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    bool ok() const { return m_ok; }
    sqlite3* db() const { return m_db.get(); }

    // A statement prepared once; nullptr (after printing why) when it does not prepare.
    sqlite3_stmt* preparar(const std::string& sql)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            std::printf("  direct statement failed: %s\n", sqlite3_errmsg(m_db.get()));
            return nullptr;
        }
        m_sentencias.emplace_back(raw);
        return raw;
    }

private:
    struct Cierre
    {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    struct Final
    {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    std::unique_ptr<sqlite3, Cierre> m_db;
    std::vector<std::unique_ptr<sqlite3_stmt, Final>> m_sentencias;
    bool m_ok = false;
};

// What the group's statements compare, in SQLite's own SQL.
struct Sql
{
    std::string columna; // the price column
    std::string tabla;   // V_MA_ARTICULOS or V_MA_PRECIOS
    std::string filtro;  // the history rows of the list (alias h)
    std::string inicio;  // the span's start, in the storage form
    std::string limite;  // the second after its end
    bool maestro = false;
    bool costo = false;
};

Sql sql(const Grupo& grupo)
{
    const app::CorreccionPrecios::Eleccion e = eleccion(grupo);
    Sql s;
    s.costo = e.ClasePrecio == u"Costo";
    s.maestro = e.CodigoLista.isEmpty();
    s.columna = s.costo ? "Costo" : "Precio" + e.ClasePrecio.toStdString();
    s.tabla = s.maestro ? "V_MA_ARTICULOS" : "V_MA_PRECIOS";
    s.filtro =
        s.maestro ? "(h.idLista = '' OR h.idLista IS NULL)" : "h.idLista = '" + e.CodigoLista.toStdString() + "'";
    s.inicio = e.primera.toStorageText().toStdString();
    s.limite = e.ultima.addMSecs(1000).toStorageText().toStdString();
    return s;
}

// The look-ups and updates of the run as statements prepared once in C: the
// history rows of the span; for each, the article's last history price before
// the span, its current value and, when they differ, the update, each
// committed by itself.
Medida porFilasDirecto(const Grupo& grupo, const QString& servidor)
{
    Medida medida;
    Archivo archivo(servidor);
    if (!archivo.ok()) {
        return medida;
    }
    const Sql s = sql(grupo);
    QElapsedTimer reloj;
    reloj.start();
    sqlite3_stmt* historia =
        archivo.preparar("SELECT h.IdArticulo FROM V_MV_PreciosHis h WHERE h.FechaHora >= '" + s.inicio +
                         "' AND h.FechaHora < '" + s.limite + "' AND " + s.filtro + " ORDER BY h.FechaHora");
    const std::string clave =
        s.costo ? "ltrim(rtrim(h.IdArticulo)) COLLATE SQLSERVER = ltrim(rtrim(?1))" : "h.IdArticulo = ?1";
    sqlite3_stmt* previo = archivo.preparar("SELECT h." + s.columna +
                                            ", h.IdArticulo, h.idLista FROM V_MV_PreciosHis h "
                                            "WHERE " +
                                            clave + " AND " + s.filtro + " AND h.FechaHora < '" + s.inicio +
                                            "' ORDER BY h.FechaHora DESC LIMIT 1");
    const std::string fila = s.maestro ? "ltrim(rtrim(IDARTICULO)) COLLATE SQLSERVER = ltrim(rtrim(?1))"
                                       : "IDARTICULO = ?1 AND idlista = ?2";
    sqlite3_stmt* actual = archivo.preparar("SELECT " + s.columna + " FROM " + s.tabla + " WHERE " + fila);
    const std::string donde =
        s.maestro ? "ltrim(IDARTICULO) COLLATE SQLSERVER = ltrim(?2)" : "IDARTICULO = ?2 AND idlista = ?3";
    sqlite3_stmt* cambio =
        archivo.preparar("UPDATE " + s.tabla + " SET " + s.columna + " = ?1, DESDETRIGGER = 1 WHERE " + donde);
    if (!historia || !previo || !actual || !cambio) {
        return medida;
    }
    // The history rows are read first, as the run reads them whole: an open
    // statement would hold every update in one transaction.
    std::vector<std::string> articulos;
    while (sqlite3_step(historia) == SQLITE_ROW) {
        articulos.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(historia, 0)));
    }
    sqlite3_reset(historia);
    for (const std::string& historico : articulos) {
        ++medida.filas;
        sqlite3_bind_text(previo, 1, historico.c_str(), -1, SQLITE_STATIC);
        if (sqlite3_step(previo) != SQLITE_ROW) {
            sqlite3_reset(previo);
            continue;
        }
        const double anterior = sqlite3_column_double(previo, 0);
        const std::string articulo = reinterpret_cast<const char*>(sqlite3_column_text(previo, 1));
        const char* lista = reinterpret_cast<const char*>(sqlite3_column_text(previo, 2));
        const std::string idLista = lista ? lista : "";
        sqlite3_reset(previo);
        sqlite3_bind_text(actual, 1, articulo.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(actual, 2, idLista.c_str(), -1, SQLITE_STATIC);
        const bool hay = sqlite3_step(actual) == SQLITE_ROW;
        const double valor = hay ? sqlite3_column_double(actual, 0) : 0;
        sqlite3_reset(actual);
        if (!hay || std::fabs(anterior - valor) < 0.005) {
            continue;
        }
        sqlite3_bind_double(cambio, 1, std::round(anterior * 100) / 100);
        sqlite3_bind_text(cambio, 2, articulo.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(cambio, 3, idLista.c_str(), -1, SQLITE_STATIC);
        if (sqlite3_step(cambio) == SQLITE_DONE && sqlite3_changes(archivo.db()) > 0) {
            ++medida.cambios;
        }
        sqlite3_reset(cambio);
    }
    medida.segundos = double(reloj.nsecsElapsed()) / 1e9;
    return medida;
}

// The whole group in one UPDATE: each row of the list or master that the span
// names takes its article's last history price before the span.
Medida conjuntoDirecto(const Grupo& grupo, const QString& servidor, long long filas)
{
    Medida medida;
    Archivo archivo(servidor);
    if (!archivo.ok()) {
        return medida;
    }
    const Sql s = sql(grupo);
    const std::string tabla = s.tabla;
    const std::string mismo =
        s.costo ? "ltrim(rtrim(h.IdArticulo)) COLLATE SQLSERVER = ltrim(rtrim(" + tabla + ".IDARTICULO))"
                : "h.IdArticulo = " + tabla + ".IDARTICULO";
    const std::string span = " FROM V_MV_PreciosHis h WHERE h.FechaHora >= '" + s.inicio + "' AND h.FechaHora < '" +
                             s.limite + "' AND " + s.filtro + ")";
    const std::string cuales =
        s.maestro ? "ltrim(rtrim(IDARTICULO)) COLLATE SQLSERVER IN (SELECT ltrim(rtrim(h.IdArticulo))" + span
                  : "idlista = '" + eleccion(grupo).CodigoLista.toStdString() +
                        "' AND IDARTICULO IN (SELECT h.IdArticulo" + span;
    const std::string sentencia = "UPDATE " + tabla + " SET " + s.columna + " = (SELECT h." + s.columna +
                                  " FROM V_MV_PreciosHis h WHERE " + mismo + " AND " + s.filtro +
                                  " AND h.FechaHora < '" + s.inicio + "' ORDER BY h.FechaHora DESC LIMIT 1), " +
                                  "DESDETRIGGER = 1 WHERE " + cuales;
    QElapsedTimer reloj;
    reloj.start();
    char* mensaje = nullptr;
    if (sqlite3_exec(archivo.db(), sentencia.c_str(), nullptr, nullptr, &mensaje) != SQLITE_OK) {
        std::printf("  set-based UPDATE failed: %s\n", mensaje ? mensaje : "");
        sqlite3_free(mensaje);
        return medida;
    }
    medida.segundos = double(reloj.nsecsElapsed()) / 1e9;
    medida.filas = filas;
    medida.cambios = sqlite3_changes(archivo.db());
    return medida;
}

void imprimir(const char* como, const Medida& m, const Medida* del = nullptr)
{
    std::printf("  %-38s %7lld history rows  %6d changed  %7.2f s  %8.0f rows/s", como, m.filas, m.cambios, m.segundos,
                m.filasPorSegundo());
    if (del && m.segundos > 0) {
        std::printf("   run / this: %.2f", del->segundos / m.segundos);
    }
    std::printf("\n");
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
        {"master, Costo", demo::kKnownChanges[1], ""},
    };
    const QString copia = trabajo.path() + QStringLiteral("/servidor");
    for (const Grupo& grupo : grupos) {
        std::printf("%s\n", grupo.nombre);
        if (!copiar(folder, copia)) {
            std::fprintf(stderr, "cannot copy the demo into %s\n", qPrintable(copia));
            return 1;
        }
        const Medida corrida = porLaClase(grupo, copia);
        imprimir("CorreccionPrecios", corrida);
        if (!copiar(folder, copia)) {
            return 1;
        }
        imprimir("sqlite3: per-row statements, each committed", porFilasDirecto(grupo, copia), &corrida);
        if (!copiar(folder, copia)) {
            return 1;
        }
        imprimir("sqlite3: one set-based UPDATE", conjuntoDirecto(grupo, copia, corrida.filas), &corrida);
    }
    return 0;
}
