#pragma once

#include <QString>

namespace common {

// Shows `mensaje` in a fresh FrmMsgBox captioned `Titulo`, modally, with the
// icon of `estilo` (16, 64, 32 or 48; any other value the default icon; the
// box always has the one button). With `Espera` above 0 the box closes itself
// after that many seconds. Returns when the box is closed.
void MostrarMensajeTemporal(const QString& mensaje, int estilo, const QString& Titulo, int Espera);

} // namespace common
