#pragma once

#include <optional>
#include <utility>
#include <variant>

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

namespace detalle {

// Runs `cuerpo`; an error of one of the types (unrelated to each other) that it
// raises is returned as a copy, so that the handler runs outside every catch
// and whatever it raises goes to the caller.
template <class Variante, class Error, class... Resto, class Cuerpo> std::optional<Variante> Atrapar(Cuerpo& cuerpo)
{
    try {
        if constexpr (sizeof...(Resto) == 0) {
            cuerpo();
            return std::nullopt;
        } else {
            return Atrapar<Variante, Resto...>(cuerpo);
        }
    } catch (const Error& e) {
        return Variante(std::in_place_type<Error>, e);
    }
}

} // namespace detalle

// Runs steps 0 .. cantidad - 1 in order. `paso(i)` runs step i and returns
// the next step to run (normally i + 1; a larger number skips ahead, one of
// cantidad or more ends the run). A step that raises one of `Errores` is
// handed to `alFallar(error)`, whose Accion runs it again, goes on with the
// next step, or stops; other errors go to the caller. Returns false when stopped.
template <class... Errores, class Paso, class Fallo> bool EjecutarPasos(int cantidad, Paso paso, Fallo alFallar)
{
    static_assert(sizeof...(Errores) > 0, "name the errors the handler takes");
    using Variante = std::variant<Errores...>;
    int i = 0;
    while (i < cantidad) {
        int siguiente = i;
        auto cuerpo = [&] { siguiente = paso(i); };
        const std::optional<Variante> error = detalle::Atrapar<Variante, Errores...>(cuerpo);
        if (!error) {
            i = siguiente;
            continue;
        }
        switch (std::visit(alFallar, *error)) {
        case Accion::Reintentar:
            break;
        case Accion::Siguiente:
            ++i;
            break;
        case Accion::Salir:
            return false;
        }
    }
    return true;
}

// Runs the steps with every failure of `Errores` skipped: the next step runs.
template <class... Errores, class Paso> void EjecutarPasosSinErrores(int cantidad, Paso paso)
{
    EjecutarPasos<Errores...>(cantidad, std::move(paso), [](const auto&) { return Accion::Siguiente; });
}

} // namespace common
