#pragma once

#include "SoporteApp.h" // readable QString texts in failure messages
#include "app/frmCorrigeCosto.h"
#include "platform/core/DateTime.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace corrige_tests {

// The moment the tests' clock stands at: 2 April 2024, 10:20:30.
platform::DateTime AhoraFijo();

// A fresh copy of the demo server folder (BKDEMO and BK_ESTADISTICAS) in the
// test's folder; the demo is built once per test run and copied.
QString ServidorDemo();

// Opens the main instance on the demo data base as the start-up does, without
// the log-in, and reads the number of decimals of the run as the start-up does.
void AbrirPrincipalDemo(const QString& servidor);

// Rows of a query run on a connection of its own, each value as text (Null as "<NULL>").
QList<QStringList> Filas(const QString& servidor, const QString& sql);
// A whole query result with its column names.
struct Tabla
{
    QStringList columnas;
    QList<QStringList> filas;
};
Tabla LeerTabla(const QString& servidor, const QString& sql);
// Runs an action statement on a connection of its own.
void Ejecutar(const QString& servidor, const QString& sql);

// The price-correction form on a demo copy, loaded with the clock fixed at AhoraFijo().
struct FormularioDemo
{
    FormularioDemo();
    ~FormularioDemo();

    QString servidor;
    std::unique_ptr<app::frmCorrigeCosto> form;
};

// The timed message box as it was asked: its caption and text.
struct MensajeVisto
{
    bool visto = false;
    QString titulo;
    QString texto;
};
// Scripts the answer (Aceptar) to the next timed message box.
void AceptarMensajeTemporal();
// The last timed message box asked so far; `visto` false when none was.
MensajeVisto MensajeTemporalVisto();

// The prompts of the operator's message boxes asked so far.
QStringList MensajesPreguntados();

// Selects the list item of CmbLista whose code is `codigo` ("" for the master).
void ElegirLista(app::frmCorrigeCosto& form, const QString& codigo);
// Picks the price class item ("Costo" or "Precio n") as the user does.
void ElegirClase(app::frmCorrigeCosto& form, const QString& item);

} // namespace corrige_tests
