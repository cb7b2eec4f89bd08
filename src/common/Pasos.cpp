#include "common/Pasos.h"

#include "platform/ui/Operator.h"

namespace common {

Accion AccionDeRespuesta(int respuesta)
{
    if (respuesta == platform::msgbox::Retry) {
        return Accion::Reintentar;
    }
    if (respuesta == platform::msgbox::Ignore) {
        return Accion::Siguiente;
    }
    return Accion::Salir;
}

} // namespace common
