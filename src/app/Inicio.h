#pragma once

#include "app/ContextoApp.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace app {

// The value of one key of the start-up parameter text, or nullopt when the
// key is absent. The text is a line of entries "@Key=value" separated by
// ";". An entry's key is what stands before its first "=", without the
// blanks around it, and it must equal `clave` whole, ignoring letter case
// (so "@Usuario" never reads the entry of "@UsuarioLogeado"); the value is
// the rest of the entry after that first "=" (an "=" inside a password is
// kept), without blanks around it. The first entry of a key wins; entries
// without "=" and entries of other keys are ignored.
std::optional<QString> ValorParametro(QStringView texto, QStringView clave);

// The values that the parameter text gives, each as ValorParametro reads it.
struct ParametrosInicio
{
    QString ParametroAdicional; // "@ParametroAdicional"
    QString Server;             // "@Server"; a first "#" marks an Oracle server
    QString DbName;             // "@DbName"
    QString Usuario;            // "@Usuario"
    std::optional<QString> UsuarioLogeado;
    std::optional<QString> Password;
    std::optional<QString> Caja;
};
ParametrosInicio LeerParametros(QStringView texto);

// The parameter text built from the settings file's connection section
// (computer and Windows user in upper case, "|", "BaseDeDatos"), with the
// stored user and password deciphered. A value holding ";" or a NUL, which
// would splice or cut the text, is refused: the operator is told and the
// result is empty.
QString ParametrosDesdeArchivoIni();

// The program's command line after the executable, its arguments joined by
// blanks; a desktop entry passes the whole parameter text as one argument.
QString LineaDeComandos();
// Replaces the command line that LineaDeComandos gives (tests start the
// road as the program would be started); nullopt gives the process's own
// back. Reset with the program context.
void EstablecerLineaDeComandos(std::optional<QString> linea);

// The program's printing library (in the application context).
Dll_Impresion& ImpresionPrograma();

// The start-up road: the busy banner, the error log, the parameter text
// (`TextoParametros`, or the command line when it is empty, or with
// `UsarArchivoIni` the settings file's connection when both are blank), the
// main connection (the connection dialog when the text names no server or
// no user), the statistics connection, the stored-queries object, the
// most-used settings, the log-in with its retries and the access row. It
// returns with the user logged in or ends the program: with status 1 when
// the main connection is not opened, the dialog is cancelled, the log-in
// fails three more times, or an unexpected error stops the road (shown
// through the common error dialog and logged in BKERR.LOG first). A second
// call with the main connection open skips the parsing and connecting.
// `CadenaConexionInicial` is handed to the connection; for an Oracle server
// ("#name") and an empty value it is filled with the Oracle provider text.
// `TipoCursor` is the connection's cursor location.
void VerificaConexion(bool UsarArchivoIni, const QString& TextoParametros, QString& CadenaConexionInicial,
                      int TipoCursor);

} // namespace app
