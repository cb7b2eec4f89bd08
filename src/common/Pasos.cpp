#include "common/Pasos.h"

#include "common/MensajeError.h"
#include "platform/core/Operator.h"
#include "platform/util/ErrObject.h"

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

bool ConManejo(const QString& fuente, const std::optional<QString>& rutina,
               std::initializer_list<std::function<bool()>> pasos)
{
    const int cantidad = int(pasos.size());
    bool dejado = false;
    const bool completo = EjecutarPasos(
        0, cantidad,
        [&](int i) {
            if (!pasos.begin()[i]()) {
                dejado = true;
                return cantidad;
            }
            return i + 1;
        },
        [&](const platform::Error& e) {
            return AccionDeRespuesta(MensajeError(platform::ErrObject(e, fuente), std::nullopt, rutina));
        });
    return completo && !dejado;
}

} // namespace common
