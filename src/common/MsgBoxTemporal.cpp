#include "common/MsgBoxTemporal.h"

#include "platform/core/Runtime.h"

namespace common {

void MostrarMensajeTemporal(const QString& mensaje, int estilo, const QString& Titulo, int Espera)
{
    platform::op().TimedMsgBox(mensaje, estilo, Titulo, Espera);
}

} // namespace common
