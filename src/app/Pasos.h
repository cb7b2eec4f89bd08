#pragma once

#include "common/Pasos.h"
#include "platform/db/Types.h"

namespace app {

using common::Accion;

// The program's procedures hand only data-access errors (DbError) to their
// handlers; any other error goes to the caller. See common::EjecutarPasos.
template <class Paso, class Fallo> bool EjecutarPasos(int cantidad, Paso paso, Fallo alFallar)
{
    return common::EjecutarPasos<platform::db::DbError>(cantidad, std::move(paso), std::move(alFallar));
}

// Runs the steps with every DbError skipped: the next step runs.
template <class Paso> void EjecutarPasosSinErrores(int cantidad, Paso paso)
{
    common::EjecutarPasosSinErrores<platform::db::DbError>(cantidad, std::move(paso));
}

} // namespace app
