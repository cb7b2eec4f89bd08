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
// Runs an action statement on a connection of its own.
void Ejecutar(const QString& servidor, const QString& sql);

// The test group of the correction run, added to a demo copy: history rows
// on 1 April 2024 between 10:00:05 and 10:00:40.500 (after every row of the
// demo), the rows before it that hold the previous prices (31 March 2024,
// 18:00:01 to 18:00:08, the latest of their articles), and the current values
// of its articles, all written out here:
//
//   article master (idLista '')   Costo            Precio1
//   article     in the group      before    now    before    now
//   '   1001'   10:00:05, :40.5   600.00    650.00  900.00   850.00
//   1002        10:00:10          450.00    450.00  700.00   750.00
//   1003        10:00:15          320.00    330.00  500.004  500.00
//   1004        10:00:20          210.00    200.00  300.01   300.00
//   8888        10:00:25          no history before, not in the master
//   1007        10:00:30          100.00    120.00  NULL     120.00
//   9999        10:00:35          50.00     -       60.00    -   (not in the master)
//
//   list 0002 ('0002' before, '0002  ' in the group)
//   article     in the group      Costo before / now   Precio2 before / now
//   1002        10:00:12          451.00 / 451.00      777.77 / 700.00
//   1004        10:00:22          211.00 / 200.00      333.33 / 333.33
void SembrarGrupo(const QString& servidor);
// The group's first and last second.
platform::DateTime PrimeraDelGrupo();
platform::DateTime UltimaDelGrupo();

// The price-correction form on a demo copy, loaded with the clock fixed at AhoraFijo().
struct FormularioDemo
{
    // On a fresh demo copy, or on the given server folder.
    explicit FormularioDemo(const QString& carpeta = ServidorDemo());
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

// Shows the form, lists the changes of 18 March 2024 between 08:00 and 09:00
// and clicks the first group, so that its history rows fill the grid.
void MostrarUnGrupo(app::frmCorrigeCosto& form);

} // namespace corrige_tests
