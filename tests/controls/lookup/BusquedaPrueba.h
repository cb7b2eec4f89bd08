#pragma once

#include "controls/lookup/BusquedaCodigo.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace platform::db {
class Connection;
}

namespace controls {

// The tests' window on the look-up box's private state.
struct BusquedaCodigoAcceso
{
    static busqueda::Catalogo& catalogo(BusquedaCodigo& b) { return b.m_catalogo; }
    static bool conexionAbierta(const BusquedaCodigo& b) { return b.ConexionAbierta; }
    static int largoAlta(const BusquedaCodigo& b) { return b.LargoAlta; }
    static bool calendarioListo(const BusquedaCodigo& b) { return b.CalendarioListo; }
    static platform::db::Connection& conexion(BusquedaCodigo& b) { return b.cnBusqueda(); }
    static void imgMas_Click(BusquedaCodigo& b) { b.imgMas_Click(); }
};

} // namespace controls

namespace busqueda_tests {

// The rows of a query on a data base, each row's fields joined by "|".
QStringList filas(const QString& conexion, const QString& sql);
// Runs a statement on a data base.
void ejecutar(const QString& conexion, const QString& sql);

// A shown look-up box on the demo, opened for `tabla` by BusquedaDisponible,
// that counts the codes it hands over.
struct Caja
{
    std::unique_ptr<controls::BusquedaCodigo> b;
    std::shared_ptr<QStringList> elegidos = std::make_shared<QStringList>(); // `codigo` at each CodigoElegido
    bool disponible = false;
};
Caja abrirCaja(const QString& conexion, const QString& tabla, const QString& usuario = QStringLiteral("demo"));

// The list's lines: their text, and the code each hands over.
QStringList lineas(controls::BusquedaCodigo& b);
QStringList codigos(controls::BusquedaCodigo& b);

// Records the statements (and "call <name>" for each procedure) of every
// backend created from now on, until the test ends. While `fallar` is above
// 0, each recorded call fails as a lost link does and counts it down.
// With `insertSinFilas`, an INSERT is not run and reports no row written.
struct Grabacion
{
    QStringList sentencias;
    int fallar = 0;
    bool insertSinFilas = false;
};
std::shared_ptr<Grabacion> grabar();

// Types the text into the box's text box, key by key.
void teclear(controls::BusquedaCodigo& b, const QString& texto);

} // namespace busqueda_tests
