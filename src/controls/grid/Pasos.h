#pragma once

#include "common/MensajeError.h"
#include "platform/db/Types.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/Operator.h"
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

// Runs the steps of a procedure in order with the loading routines' handler:
// a step that raises is reported through the common error dialog; Retry runs
// it again, Ignore goes on with the next step, any other answer leaves. A
// step returns false to leave the procedure on its own. Returns true when
// every step ran.
inline bool ConManejo(const std::optional<QString>& rutina, std::initializer_list<std::function<bool()>> pasos)
{
    for (const auto& paso : pasos) {
        for (;;) {
            int respuesta = 0;
            try {
                if (!paso()) {
                    return false;
                }
                break;
            } catch (const platform::db::DbError& e) {
                respuesta = common::MensajeError(platform::ErrObject(e), std::nullopt, rutina);
            } catch (const platform::ui::ControlError& e) {
                respuesta = common::MensajeError(errorDe(e), std::nullopt, rutina);
            }
            if (respuesta == platform::msgbox::Retry) {
                continue;
            }
            if (respuesta == platform::msgbox::Ignore) {
                break;
            }
            return false;
        }
    }
    return true;
}

// Runs one step of a dressing routine: a failure is skipped.
template <typename F> void Omitir(F&& paso)
{
    try {
        paso();
    } catch (const platform::db::DbError&) {
    } catch (const platform::ui::ControlError&) {
    }
}

} // namespace controls::pasos
