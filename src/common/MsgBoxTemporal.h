#pragma once

#include <QString>

namespace common {

// Shows `mensaje` captioned `Titulo` with the one button Aceptar and the icon
// of `estilo` (16, 64, 32 or 48; any other value the default icon), asked
// through the operator (the program's operator shows a fresh FrmMsgBox,
// modally). With `Espera` above 0 the box closes itself after that many
// seconds. Returns when the box is closed.
void MostrarMensajeTemporal(const QString& mensaje, int estilo, const QString& Titulo, int Espera);

} // namespace common
