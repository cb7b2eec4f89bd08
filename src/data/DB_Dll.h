#pragma once

#include "platform/core/Variant.h"
#include "platform/db/Connection.h"
#include "platform/util/Dll_Utilidades.h"
#include "platform/util/ErrObject.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace data {

using RecordsetPtr = std::shared_ptr<platform::db::Recordset>;

// The file-open dialog the class uses to choose a Jet file: the operator's
// open-file question with a title and a "Description|*.ext" filter.
struct DialogoComun
{
    QString DialogTitle;
    QString Filter;
    QString FileName;
    // Asks for the file; false (FileName unchanged) when the operator cancelled.
    bool ShowOpen();
};

// What the lost-connection rule decided for a failed call.
enum class DecisionConexion {
    ManejoComun,     // not mended (not a lost link, or no question may be asked): handle the error as any other
    Reintentar,      // the link is back: run the failed step again
    TerminarPrograma // the operator gave up: the caller ends the program
};

// The program's data-access class: one connection (gCnn) with the values it
// was built from, keyed look-ups, SQL literals, record sets and commands, the
// per-user table synonyms, the Oracle dialect, its own error dialog and log,
// and the lost-connection rule (silent retries, a question, the reconnect
// dialog, or the end of the program through the exit routine). Members with an
// error handler of their own handle their errors inside; the look-ups
// of maxima raise platform::db::DbError to the caller.
class DB_Dll
{
public:
    DB_Dll();
    virtual ~DB_Dll();
    DB_Dll(const DB_Dll&) = delete;
    DB_Dll& operator=(const DB_Dll&) = delete;

    // Public state.
    DialogoComun CmdDlg;
    bool gOpenFlag = false;
    bool SinMensajes = false;
    platform::Variant gIgnoraPassWord;
    std::shared_ptr<platform::db::Connection> gCnn;
    RecordsetPtr glrcs;
    platform::Variant gCursorLocation;
    QString gProveedor;
    QString gDsn;
    QString gServidor;
    QString gDBName;
    QString gUsuario;
    bool gEsAdmin = false;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    QString gLogErr;
    bool ParametrosSQL = false;

    // A failure that a call handled inside and left behind: the error and
    // the operator's answer to its dialog (msgbox::Ignore, msgbox::Abort, ...;
    // 0 when nobody was asked).
    struct FalloAtendido
    {
        platform::ErrObject error;
        int respuesta = 0;
    };
    // Set by AbrirRecordset, DatosTabla and the command runners when they end
    // after a failure (not after a failed step that Retry ran again with
    // success); cleared at the start of each of those calls.
    std::optional<FalloAtendido> UltimoFallo;

    // Largest value of a column; a `Condicion` given by reference may gain
    // the text that leaves out article codes beginning with "0". Raises DbError.
    platform::Variant BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const platform::Variant& Tipo = {});
    platform::Variant BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const platform::Variant& Tipo,
                                  QString& Condicion);
    // Smallest value of a column as a number, or Empty. Raises DbError.
    platform::Variant BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const platform::Variant& Tipo = {},
                                  const std::optional<QString>& Condicion = std::nullopt);

    // Opens gCnn on SQL Server or Oracle, from `ConnString` or from the
    // class's values (or the connection dialog); sets gOpenFlag. Never raises.
    void OpenServerADODB(bool PideParametrosSQL = false, std::optional<int> lCursor = std::nullopt,
                         const QString& ConnString = {}, bool ValidaAdmin = false, bool MuestraError = false);
    // Opens gCnn on a Jet file (read-only), chosen in the file dialog when
    // gDBName is empty; a file that cannot be opened is chosen again, a
    // protected one asks for its password (or uses gUserPassWord once when
    // gIgnoraPassWord says so). gConnString keeps the string that opened it.
    // Never raises; a cancelled question ends the call without a connection.
    void OpenLocalADODB(const QString& ConnString = {}, const QString& CadenaID = {}, const QString& CadenaPWD = {});

    // Whether a row with the key exists, on the main instance's connection,
    // without synonyms or Oracle translation. A given `LRCS` stays open on
    // the row for the caller.
    bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo = {},
                         const RecordsetPtr& LRCS = nullptr, const platform::Variant& Tipodato = {},
                         const QString& Condicion = {}, bool SoloLectura = false);
    // Whether a row with the key exists, on this instance's connection.
    bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo = {},
                       const RecordsetPtr& LRCS = nullptr, const platform::Variant& Tipodato = {},
                       const QString& Condicion = {}, bool SoloLectura = false);
    // The text of field `CampoDevuelto` of the first matching row (Null as an
    // empty text), or Empty when no row matches or the look-up failed.
    platform::Variant DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                                 const QString& Campo = {}, platform::Variant Tipodato = {},
                                 const QString& Condicion = {}, bool UsaTrim = false, bool IgnoraError = false);

    // Field-type predicates on ADO type codes (a number or its text).
    bool adodate(const platform::Variant& Qtype) const;
    bool ADOText(const platform::Variant& Qtype) const;
    bool ADONumeric(const platform::Variant& Qtype) const;
    bool ADOCurrency(const platform::Variant& Qtype) const;
    bool ADOBoolean(const platform::Variant& Qtype) const;
    // "'" for date and text codes, else empty.
    QString ADOComilla(const platform::Variant& Qtype) const;

    // Closes the record set when it is open, cancelling a pending edit first.
    void CierraRecordset(RecordsetPtr& LrcsTemp);
    void QConsulta(const QString& TB, const platform::Variant& Rsp, const QString& Cl1, const QString& Cl2,
                   const QString& CmpDisplay = {}, const platform::Variant& SQLWHERE = {});
    void QGridConsulta(const QString& Sentencia, const QString& CampoDevuelto1, const QString& gCnnString,
                       const QString& CampoDevuelto2 = {}, const QString& CampoDevuelto3 = {});

    // Object-name texts.
    QString stSTF(QString& rsName, int rnPart) const;
    QString AddBrackets(const QString& rObjName) const;
    QString StripConnect(const QString& rsTblName) const;
    QString StripBrackets(const QString& rsObjName) const;
    QString StripOwner(QString& rsTblName) const;
    QString StripFileName(const QString& rsFileName) const;

    // Runs an action statement or script. The statement is written back as
    // run (marker removed, synonyms applied). Failures never raise: the
    // result tells whether the statement reached the data base, each failure
    // is written to the class's error log, and the provider's entries stay in
    // gCnn's Errors (except a truncation, whose entries are cleared).
    // `RecordsAffected` receives the rows changed, or -1 when the server does
    // not report them (SET NOCOUNT ON, a write through a view's trigger): an
    // unknown count, not "no row changed".
    bool EjecutaConsultaSQL(QString& SentenciaSQL);
    bool EjecutaConsultaSQL(QString& SentenciaSQL, int64_t& RecordsAffected);
    bool EjecutaConsultaSQL(QString& SentenciaSQL, int64_t& RecordsAffected, RecordsetPtr& LRCS);
    bool EjecutaConsultaRSQL(QString& SentenciaSQL);
    bool EjecutaConsultaRSQL(QString& SentenciaSQL, int64_t& RecordsAffected);
    bool EjecutaConsultaRSQL(QString& SentenciaSQL, int64_t& RecordsAffected, RecordsetPtr& LRCS);

    // Opens a query into `LRCS` (created when empty) after the synonyms and,
    // on Oracle with ConvOracle, the Oracle dialect; the statement is written
    // back with the synonyms applied. Failures are handled inside (lost
    // connection, error dialog); the record set stays closed after a failure.
    void AbrirRecordset(QString& SentenciaSQL, RecordsetPtr& LRCS, platform::db::Connection* Conexionactiva = nullptr,
                        int CursorType = platform::db::adOpenForwardOnly, int LockType = platform::db::adLockReadOnly,
                        int Options = platform::db::adCmdUnspecified, bool ConvOracle = false);
    void AbrirRecordset(const QString& SentenciaSQL, RecordsetPtr& LRCS,
                        platform::db::Connection* Conexionactiva = nullptr,
                        int CursorType = platform::db::adOpenForwardOnly, int LockType = platform::db::adLockReadOnly,
                        int Options = platform::db::adCmdUnspecified, bool ConvOracle = false);

    // One statement in Oracle's dialect, when the instance is connected to Oracle.
    QString ORACLE_Dicc(const QString& valor);

    // Largest value of a column as a number, or Empty. Raises DbError.
    platform::Variant BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                                        const platform::Variant& Tipo = {}, const QString& Condicion = {});

    QString pJETOLEDB40() const { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
    QString pJETOLEDB35() const { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
    QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }

    // The value as the text of an SQL literal for the delimiter `Tipo`: "@"
    // a number (always with "." as decimal sign), "'" a text between
    // apostrophes (inner apostrophes doubled), anything else unchanged; Null
    // gives "NULL" ("0" for "@"). Raises DbError (type mismatch) for a text
    // that is not a number with "@".
    platform::Variant SQLValue2(const platform::Variant& valor, const QString& Tipo = {});
    platform::Variant SQLValue(const platform::Variant& valor, const QString& Tipo = {});

    // Adds a column with its null rule and an optional default (SQL text).
    void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                  const std::optional<QString>& ValorDefault = std::nullopt);
    // Whether the table exists in gCnn's data base (letter case and blanks ignored).
    bool ExisteTablaDB(const QString& Tabla);
    // Whether the column exists; on SQL Server always true.
    bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
    // Adds the column when the table exists without it and `Agregar`; always true.
    bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo, bool PermiteNulos,
                    const std::optional<QString>& ValorDefault = std::nullopt);

    // The statement naming the restricted views instead of the tables, for a
    // user who is not an administrator; "@Admin_" markers removed.
    QString SS_TSinonimos(const QString& sql) const;

    platform::Variant ArchivoErrores() const { return platform::Variant(gLogErr); }
    void setArchivoErrores(const platform::Variant& valor) { gLogErr = valor.toText(); }
    // The class's error dialog: shows the error (style `Botones`, 18 when
    // omitted), appends a line to the class's log and returns the answer; 0
    // without a dialog when SinMensajes is set or the number is 0.
    int TratamientoErrores(const platform::ErrObject& error, std::optional<int> Botones = std::nullopt,
                           const std::optional<QString>& Rutina = std::nullopt);
    // Opens gCnn when it is not open; the lost-connection rule on failure.
    bool AsegurarConexion();
    // Closes and reopens gCnn silently; sets gOpenFlag. Never raises.
    bool ReintentaConectar();

    // The pause between two reconnect attempts (500 ms, the window kept live);
    // tests replace it. An empty function restores the default.
    static void EstablecerPausaReconexion(std::function<void(int milisegundos)> pausa);

protected:
    // Empties a statement that only makes sense on SQL Server; returns it.
    QString DescartaSentenciaOracle(QString& Sentencia) const;
    // Runs a SQL Server style batch statement by statement on Oracle, adding
    // the rows each write changed to `RecordsAffected`; a write whose count the
    // server does not report leaves it -1 (unknown).
    void EjecutaScriptOracle(QString& SentenciaSQL, int64_t& RecordsAffected);
    // Series of reconnect attempts in the installed reconnect dialog until the
    // link comes back (true) or the operator closes the program (false, at
    // once when no dialog is installed).
    bool ReconectarConAviso(int Intentos, const QString& Rutina);
    // The lost-connection rule for a failed call's error number.
    DecisionConexion EvaluaErrorConexion(int32_t CodErr, int& Intentos, const QString& Rutina);

private:
    platform::Dll_Utilidades& util();
    platform::db::Connection& cnn();
    // The connection string built from the class's values (step of the open).
    void ArmarCadenaConexion();
    // Runs the connection dialog; false when it was cancelled.
    bool EjecutarDialogoConexion();
    void OpenServerPasos(std::optional<int> lCursor, bool ValidaAdmin, bool MuestraError);
    platform::Variant BuscaMaximoCon(const QString& QueTabla, const QString& QueCampo, const platform::Variant& Tipo,
                                     std::optional<QString>& Condicion);
    bool ExisteEnTablaCon(bool sinonimos, const QString& statement, platform::db::Connection& conexion,
                          const RecordsetPtr& LRCS, bool SoloLectura);
    bool EjecutaConsulta(QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS);
    bool EjecutaConsultaR(QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS);
    // Removes the "@Admin_" markers or applies the synonyms, as the command runner decides.
    QString PreparaComando(const QString& sql) const;
    // The lost-connection question of the look-ups and commands; true for Yes.
    bool PreguntaConexionPerdida();
    // Writes a failed command to the class's error log and keeps it as UltimoFallo.
    void RegistraFallo(const QString& rutina, const platform::ErrObject& error, const QString& sentencia);
    // The command runners' execution on this class's connection: hands back the
    // rows affected and the record set where the caller asks for them.
    void EjecutaEnConexion(const QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS);
    // After a command that ran: a text the server truncated (one or two entries
    // in `errores`, outside a transaction command) is cleared from them and
    // written to the log; true when it was.
    bool RegistraTruncado(platform::db::Errors& errores, const QString& rutina, const QString& SentenciaSQL);
    QString ArchivoLogClase() const;
    // Whether `connectionString` names an Oracle provider.
    static bool EsOracle(const QString& connectionString);

    std::unique_ptr<platform::Dll_Utilidades> m_util;
    int IntentosApertura = 0;
    int IntentosAsegurar = 0;
    bool PreguntaEnCurso = false;
};

// The program-wide instances, created on first use and dropped when the
// program context is reset.
DB_Dll& gDbPrincipal();
DB_Dll& gDbEstadisticas();
DB_Dll& gDbConsultaR();
// Drops the main instance (the grid does at its end); a later use creates a
// fresh, unconnected one.
void LiberarDbPrincipal();

// The connection-string value as written between "=" and ";": brace-quoted
// (inner "}" doubled) when it holds ";" or "}" or begins with "{", so that a
// value can never add attributes.
QString ValorCadenaConexion(const QString& value);

} // namespace data
