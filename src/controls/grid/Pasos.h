#pragma once

#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "platform/db/Types.h"
#include "platform/ui/ControlError.h"
#include "platform/util/ErrObject.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

namespace controls::pasos {

inline platform::ErrObject errorDe(const platform::ui::ControlError& e)
{
    return platform::ErrObject(e.number(), e.description(), QStringLiteral("BkDbGrid"));
}

inline platform::ErrObject errorDe(const platform::db::DbError& e)
{
    return platform::ErrObject(e);
}

// Runs the steps of a procedure in order with the loading routines' handler:
// a step that raises (a data-access or a control error) is reported through
// the common error dialog; Retry runs it again, Ignore goes on with the next
// step, any other answer leaves. A step returns false to leave the procedure
// on its own. Returns true when every step ran.
inline bool ConManejo(const std::optional<QString>& rutina, std::initializer_list<std::function<bool()>> pasos)
{
    const int cantidad = int(pasos.size());
    bool dejado = false;
    const bool completo = common::EjecutarPasos<platform::db::DbError, platform::ui::ControlError>(
        cantidad,
        [&](int i) {
            if (!pasos.begin()[i]()) {
                dejado = true;
                return cantidad;
            }
            return i + 1;
        },
        [&](const auto& e) {
            return common::AccionDeRespuesta(common::MensajeError(errorDe(e), std::nullopt, rutina));
        });
    return completo && !dejado;
}

// Runs one step of a dressing routine: a failure is skipped.
template <typename F> void Omitir(F&& paso)
{
    common::EjecutarPasosSinErrores<platform::db::DbError, platform::ui::ControlError>(1, [&](int) {
        paso();
        return 1;
    });
}

} // namespace controls::pasos
