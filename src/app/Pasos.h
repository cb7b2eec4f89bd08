#pragma once

#include "platform/db/Types.h"

namespace app {

// What a procedure's error handler decides for a failed step.
enum class Accion {
    Reintentar, // run the failed step again
    Siguiente,  // go on with the next step
    Salir       // leave the procedure
};

// Runs steps 0 .. cantidad - 1 in order. `paso(i)` runs step i and returns
// the next step to run (normally i + 1; a larger number skips ahead). A step
// that raises DbError is handed to `alFallar(error)`, whose answer runs it
// again, goes on with the next step, or stops. Returns false when stopped.
template <class Paso, class Fallo> bool EjecutarPasos(int cantidad, Paso paso, Fallo alFallar)
{
    int i = 0;
    while (i < cantidad) {
        try {
            i = paso(i);
        } catch (const platform::db::DbError& e) {
            switch (alFallar(e)) {
            case Accion::Reintentar:
                break;
            case Accion::Siguiente:
                ++i;
                break;
            case Accion::Salir:
                return false;
            }
        }
    }
    return true;
}

// Runs the steps with every failure skipped: the next step runs.
template <class Paso> void EjecutarPasosSinErrores(int cantidad, Paso paso)
{
    EjecutarPasos(cantidad, paso, [](const platform::db::DbError&) { return Accion::Siguiente; });
}

} // namespace app
