#pragma once

#include "platform/core/Error.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <utility>

namespace common {

// What a procedure's error handler decides for a failed step.
enum class Accion {
    Reintentar, // run the failed step again
    Siguiente,  // go on with the next step
    Salir       // leave the procedure
};

// The error dialog's usual answers as an action: Retry runs the step again,
// Ignore goes on with the next, any other answer leaves.
Accion AccionDeRespuesta(int respuesta);

// The step after `paso`: the next number, or the next value of an
// enumeration of a procedure's steps.
template <class Paso> constexpr Paso Siguiente(Paso paso)
{
    if constexpr (std::is_enum_v<Paso>) {
        return Paso(std::underlying_type_t<Paso>(paso) + 1);
    } else {
        return paso + 1;
    }
}

// Runs the steps from `primero` up to `fin` (not run) in order. The steps are
// the values of an enumeration of the procedure's steps that ends with `fin`
// (or plain numbers). `paso(p)` runs step p and returns the step to run next:
// normally Siguiente(p), a later one to skip ahead, `fin` to end the run. A
// step that raises a platform::Error is handed to `alFallar(error)` outside
// every catch, and its Accion runs the step again, goes on with the next one,
// or stops; other exceptions, and whatever the handler raises, go to the
// caller. Returns false when the handler stopped the run.
template <class Paso, class Cuerpo, class Fallo> bool EjecutarPasos(Paso primero, Paso fin, Cuerpo paso, Fallo alFallar)
{
    Paso actual = primero;
    while (actual < fin) {
        Paso proximo = actual;
        std::optional<platform::Error> error;
        try {
            proximo = paso(actual);
        } catch (const platform::Error& e) {
            error = e;
        }
        if (!error) {
            actual = proximo;
            continue;
        }
        switch (alFallar(std::as_const(*error))) {
        case Accion::Reintentar:
            break;
        case Accion::Siguiente:
            actual = Siguiente(actual);
            break;
        case Accion::Salir:
            return false;
        }
    }
    return true;
}

// Runs the steps with every failing one skipped: the next step runs.
template <class Paso, class Cuerpo> void EjecutarPasosSinErrores(Paso primero, Paso fin, Cuerpo paso)
{
    EjecutarPasos(primero, fin, std::move(paso), [](const platform::Error&) { return Accion::Siguiente; });
}

// Runs one step whose failure is skipped.
template <class Cuerpo> void Omitir(Cuerpo&& paso)
{
    EjecutarPasosSinErrores(0, 1, [&](int) {
        paso();
        return 1;
    });
}

// Runs the steps of a routine in order with the common error dialog as the
// handler: a failing step is reported (as raised by `fuente` when the error
// names no source) and Retry runs it again, Ignore goes on with the next
// step, any other answer leaves. A step returns false to leave the routine
// on its own. Returns true when every step ran.
bool ConManejo(const QString& fuente, const std::optional<QString>& rutina,
               std::initializer_list<std::function<bool()>> pasos);

} // namespace common
