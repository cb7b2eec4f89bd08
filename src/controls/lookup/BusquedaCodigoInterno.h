#pragma once

#include "platform/db/Types.h"

namespace controls::busqueda {

// Runs an event handler of the look-up box: its handlers skip their own
// failures (the search and the direct addition report theirs), so a
// data-platform error that still reaches the handler ends only it.
template <typename Manejador> void Resguardar(Manejador&& manejador)
{
    try {
        manejador();
    } catch (const platform::db::DbError&) {
    }
}

} // namespace controls::busqueda
