#pragma once

#include <QString>

namespace platform::ui {
class StatusBar;
}

namespace app {

// Fills the main window's status bar (panels "VERSION", "SERVER",
// "BASEDEDATOS", "USUARIO", "CAJA", a date panel and "MENSAJE", in that
// order): the message always; the first time (while "SERVER" is empty) also
// the panel widths, the server, user, data base, cash box with its
// description and the program version, with their tool tips. The cash box
// of the run (CajaActual, "1" when empty) is added to V_TA_Cajas when no row
// has its code, neither as given nor widened to four digits. Each failing
// step is skipped; nothing is reported.
void CargarBarraEstado(platform::ui::StatusBar& barra, const QString& mensaje);

} // namespace app
