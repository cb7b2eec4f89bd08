#include "app/Lotes.h"

#include "app/Registros.h"
#include "common/MensajeError.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

namespace app {

namespace db = platform::db;
namespace text = platform::text;

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

QString LineaError(const db::ErrorInfo& error)
{
    return QString::number(error.NativeError) + QStringLiteral(" : ") + error.Description + CRLF;
}

} // namespace

void GActualizarDatoScript(const QStringList& Sentencias, bool& HayError, int32_t& NroError, bool IgnorarError2627,
                           bool IgnorarError547, QString& SQLEjecutado, QString& TextoError, bool MostrarMensaje)
{
    HayError = false;
    QString texto;
    for (const QString& sentencia : Sentencias) {
        if (!text::Trim(sentencia).isEmpty()) {
            texto += CR + sentencia;
        }
    }
    if (texto.isEmpty()) {
        return;
    }
    QString comando = QStringLiteral("BEGIN TRANSACTION ") + CR + CR + texto + CR;
    SQLEjecutado = comando;

    data::DB_Dll& principal = data::gDbPrincipal();
    // A failing statement anywhere in the batch makes the call fail and
    // leaves the provider's entries in Errors; informational messages never
    // enter them, so only real errors roll the batch back.
    const bool enviado = principal.EjecutaConsultaSQL(comando);
    db::Errors& errores = principal.gCnn->errors();

    int32_t numero = 0;
    QString mensaje;
    if (errores.Count() > 0 || !enviado) {
        HayError = true;
        if (errores.Count() == 1) {
            numero = errores.Item(0).NativeError;
            mensaje = LineaError(errores.Item(0));
            TextoError = mensaje;
        } else if (errores.Count() > 1) {
            numero = errores.Item(0).NativeError;
            for (int i = 0; i <= errores.Count() - 2; ++i) {
                mensaje += LineaError(errores.Item(i));
                TextoError = mensaje;
            }
        }
    }
    if (IgnorarError2627 && numero == db::native::DuplicateKey) {
        TextoError = errores.Item(0).Description;
        mensaje.clear();
    }
    if (IgnorarError547 && numero == db::native::ConstraintConflict) {
        TextoError = errores.Item(0).Description;
        mensaje.clear();
    }
    errores.Clear();

    if (HayError) {
        QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
        principal.EjecutaConsultaSQL(rollback);
        RegistraErrorAux(comando, platform::Runtime::instance().programName(), numero, mensaje);
        if (!text::Trim(mensaje).isEmpty() && MostrarMensaje) {
            platform::op().MsgBox(mensaje, platform::msgbox::Critical, QStringLiteral("Aviso al Operador!"));
        }
        NroError = numero;
        return;
    }

    for (;;) {
        QString commit = QStringLiteral("COMMIT TRANSACTION");
        if (principal.EjecutaConsultaSQL(commit)) {
            break;
        }
        const db::Errors& fallo = principal.gCnn->errors();
        const platform::ErrObject error =
            fallo.Count() > 0 ? platform::ErrObject(fallo.Item(0)) : platform::ErrObject(db::adErr::Generic, commit);
        const int32_t nativo = fallo.Count() > 0 ? fallo.Item(0).NativeError : 0;
        if (common::MensajeError(error, std::nullopt, QStringLiteral("GActualizarDatoScript")) ==
            platform::msgbox::Retry) {
            continue;
        }
        // The batch was not committed: it is ended so that no transaction
        // stays open on the connection, and reported as failed.
        QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
        principal.EjecutaConsultaSQL(rollback);
        HayError = true;
        NroError = nativo;
        TextoError = error.Description;
        return;
    }
    NroError = numero;
}

} // namespace app
