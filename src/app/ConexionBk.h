#pragma once

#include <QString>

namespace app {

// Opens the statistics data base BK_ESTADISTICAS on gDbEstadisticas (same
// provider and server as the main instance, its own fixed login), closing a
// previous statistics connection first, and sets the run's command time-out
// from its "TimeOut" setting (45 when the data base cannot be reached or the
// setting is 0, blank, missing or out of range; a missing or zero setting is
// written back as 0 in group "BaseDeDatos"). Nothing is shown; failures only
// leave the time-out at 45.
void VerificaConexionBk();

// Chooses the error log of the utility object: BKERR.LOG in the program
// folder when it can be opened for appending there (created when missing),
// else BKERR.LOG in the TEMP folder (the fall-back folder when TEMP
// is not set).
void DefineArchivoErrores();

// The host part of a server text: what follows the first "/", cut before
// its first ":". A server value that names a folder of the embedded engine
// (platform::db::isEmbeddedServer) is returned unchanged, so that the
// reduction can never turn a folder into another folder or a host name.
QString ObtieneIP(const QString& Servidor);

// The platform timer: seconds since midnight of the program's clock.
float Temporizador();
// Seconds since `inicio` (a Temporizador value): 0 within 0.01 s, and a
// clock that passed midnight counted forward.
float SegundosTranscurridos(float inicio);

// One line of the start-up timing log, without its line end: the clock's
// "yyyy-mm-dd hh:nn:ss", " | PERF | ", the step, then " | " and the seconds
// since `inicio` as "0.000" (the locale's decimal sign) and "s" when
// `inicio` is 0 or more, then " | " and the detail when the detail is not
// blank.
QString LineaTiempoInicio(const QString& paso, float inicio, const QString& detalle);

// Appends a timing line to startup_perf.log in the program folder. The log is
// switched off in the program's build (CP_STARTUP_TIMING), so the call does
// nothing there; with it on, failures are ignored.
void RegistraTiempoInicio(const QString& paso, float inicio, const QString& detalle = {});

} // namespace app
