#include "app/FechaServidor.h"

#include "app/Configuracion.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Variant.h"

#include <optional>

namespace app {

namespace db = platform::db;

namespace {

platform::DateTime AlSegundo(const platform::DateTime& momento)
{
    const QTime t = momento.time();
    return platform::DateTime(momento.date(), QTime(t.hour(), t.minute(), t.second()));
}

} // namespace

platform::DateTime FechaServidor()
{
    data::DB_Dll& principal = data::gDbPrincipal();
    data::RecordsetPtr rs;
    std::optional<platform::DateTime> delServidor;
    enum class Paso { Abrir, Leer, Cerrar, Fin };
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Abrir:
            principal.AbrirRecordset(QStringLiteral("select  getDate() as fecha"), rs, nullptr, db::adOpenForwardOnly,
                                     db::adLockReadOnly, db::adCmdUnspecified, true);
            break;
        case Paso::Leer:
            if (!rs->Bof()) {
                if (const auto fecha = rs->value(QStringLiteral("fecha")).toDate()) {
                    delServidor = AlSegundo(*fecha);
                }
            }
            break;
        case Paso::Cerrar:
            principal.CierraRecordset(rs);
            break;
        case Paso::Fin:
            break;
        }
        return common::Siguiente(paso);
    });
    if (delServidor) {
        return *delServidor;
    }
    // No row, or the server could not be asked: the operating date, or the clock.
    if (common::valoresCorrida().UsaFechaDia) {
        if (const auto operativa = platform::Variant(Cfg(QStringLiteral("FECHAOPERHASTA"))).toDate()) {
            return *operativa;
        }
    }
    return AlSegundo(platform::now());
}

} // namespace app
