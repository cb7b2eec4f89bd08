#pragma once

#include <QString>

namespace app {

// Whether the logged-in user is an administrator of the users table (false
// until a user's password matched). Reset with the program context.
bool& EsAdministrador();

// Whether the user may enter: only a user with a row of this system in
// TA_USUARIOS (SISTEMA "cn000pr" or "ORVO") whose deciphered password equals
// `Clave`, letter case ignored, may; the data base's name is no user. A row
// found sets UsuarioActual to `Nombre`; only a matching password sets
// EsAdministrador and the main instance's gEsAdmin from the row's
// Administrador. A failure to read the table raises platform::db::DbError.
bool UsuarioValido(const QString& Nombre, const QString& Clave);

// How the log-in step of the start-up ended when it returned.
enum class ResultadoIngreso {
    Aceptado,  // the user is logged in on the connection as it is
    Reconectar // the operator chose another data base or server in the
               // dialog (gDBName and gServidor hold them): connect again
};

// The log-in step of the start-up road: UsuarioValido with the password as
// typed, and after a failure the message and up to three tries through the
// connection dialog, each failed one answered by a message and an audit row. Ends the program with status 1 when the dialog
// is cancelled (or none is installed) and after the third failed try.
ResultadoIngreso PasoIngreso();

} // namespace app
