#pragma once

#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"

#include <QString>

#include <functional>

namespace data {
class DB_Dll;
}

namespace platform {
class LogFile;
}

namespace app {

// When the previous price replaces the current value: "Solo si el precio
// anterior es mayor", "Solo si el precio anterior es menor", "Todos"; Ninguna
// when no option is chosen (nothing is ever replaced).
enum class Regla { Ninguna, Mayor, Menor, Todos };

// The correction run of one minute group of the price history, without
// widgets: for every history row of the span, the article's last history price
// before the span is written back into the article master or the price list as
// far as the rule allows, and every change written goes to the correction log
// (CorreccionesPrecio_<yyyymmdd_hhnnss>.txt in the program folder). Every
// history row is counted once: changed, left as it is by the rule, skipped
// (nothing to restore or nothing to compare with) or failed (also when working
// it out raised an error); each skipped or failed article is written to the
// error log BKERR.LOG with the reason. Every statement goes through the given
// data-access instance; the start time comes from the clock. Each update
// commits by itself: a run that stops part-way keeps what it wrote.
class CorreccionPrecios
{
public:
    // What one run works on, taken once at its start.
    struct Eleccion
    {
        // The group's first and last second (the span ends with the last one).
        platform::DateTime primera;
        platform::DateTime ultima;
        // "Costo" or a digit 1 to 8 (the column "precio" followed by it).
        QString ClasePrecio;
        // The price list; empty for the article master.
        QString CodigoLista;
        Regla regla = Regla::Ninguna;
    };

    enum class Fin {
        Completa,   // every history row of the span was examined
        Detenida,   // the run stopped part-way (see motivo)
        SinRegistro // the correction log could not be created: nothing was done
    };

    // What a run did.
    struct Resultado
    {
        Fin fin = Fin::Completa;
        // History rows of the span, and how each examined one ended.
        int filas = 0;
        int modificados = 0;
        int sinCambio = 0;
        int omitidos = 0;
        int fallidos = 0;
        // The correction log, and the error log where skipped and failed articles are listed.
        QString archivo;
        QString archivoErrores;
        // Why the run stopped (Fin::Detenida).
        QString motivo;

        int revisadas() const { return modificados + sinCambio + omitidos + fallidos; }
    };

    // Receives the progress text of the run (the message label's text) once
    // per history row.
    using Progreso = std::function<void(const QString& texto)>;
    using Reloj = std::function<platform::DateTime()>;

    CorreccionPrecios(data::DB_Dll& db, Reloj reloj);

    // Runs the correction of the span. Never raises. A failure that the data
    // class reports to the operator costs the row (Ignore: it counts as
    // failed) or stops the run (any other answer); a history that cannot be
    // read stops it before any change.
    Resultado EjecutarCorreccion(const Eleccion& eleccion, const Progreso& progreso);

    // Asks a run in progress to stop after the statement in flight (the
    // operator is leaving the program); its result is then Fin::Detenida.
    void Detener() { m_detener = true; }

    // The rule: true when the previous price and the current value differ by
    // at least 0.01 and the rule allows the direction of the change.
    static bool Modificar(platform::Currency anterior, platform::Currency actual, Regla regla);
    // The same on the texts of the two amounts; false when either is no amount.
    static bool Modificar(const QString& anterior, const QString& actual, Regla regla);

    // The filter of the history rows of one list, or of the article master
    // (empty code).
    static QString FiltroLista(const QString& codigoLista);
    // The bounds of a span as statements give them: its first second
    // ("dd-mm-yyyy hh:nn:ss.000"), and the second after its last, which the
    // span ends before, so that it is exact on every date-time type.
    static QString InicioDelRango(const platform::DateTime& primera);
    static QString LimiteDelRango(const platform::DateTime& ultima);

    // The final message of a run that ended (Completa or Detenida) and the
    // style of its box.
    struct Aviso
    {
        QString texto;
        int estilo = 0;
    };
    static Aviso AvisoFinal(const Resultado& resultado);

private:
    // How one history row ended; `motivo` says why for a skipped or failed one.
    enum class Desenlace { Modificado, SinCambio, Omitido, Fallido, Detener };
    struct Fila
    {
        Desenlace desenlace;
        QString motivo;
    };
    struct Corrida;

    // The correction log's path, under a name no other run uses.
    QString NombreArchivoCorreccion(const QString& marca) const;
    // One history row: the previous price, the current value, the rule, the update.
    Fila CorregirFila(Corrida& corrida, const QString& idHistoria);
    // The same, with any error but the data base's (an amount that rounds
    // beyond what money holds) costing this row only: it counts as failed,
    // with the error as its reason.
    Fila CorregirFilaAislada(Corrida& corrida, const QString& idHistoria);
    // The failure the data class left behind, as a row that failed (the
    // operator chose Ignore) or as a stop; `que` names what was being read.
    Fila FilaFallida(const QString& que, const QString& idArticulo);
    // Appends a line to the error log.
    void RegistrarError(const QString& mensaje, Resultado& resultado);

    data::DB_Dll& m_db;
    Reloj m_reloj;
    bool m_detener = false;
    QString m_motivoDetencion;
};

} // namespace app
