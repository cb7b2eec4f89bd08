#include "app/Login.h"

#include "app/ConexionBk.h"
#include "app/ContextoApp.h"
#include "app/Registros.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "data/DialogoConexion.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

namespace app {

namespace db = platform::db;
namespace text = platform::text;
namespace msgbox = platform::msgbox;

namespace {

constexpr int kSalidaFallida = 1;
constexpr int kIntentos = 3;

// The first row of a read-only query on the main connection, or nullptr
// when it gave none. A query that could not be run raises DbError.
data::RecordsetPtr PrimeraFila(const QString& sql)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    data::RecordsetPtr rs;
    principal.AbrirRecordset(sql, rs, principal.gCnn.get(), db::adOpenForwardOnly, db::adLockReadOnly,
                             db::adCmdUnspecified, true);
    if (rs->State() != db::adStateOpen) {
        throw db::DbError(db::adErr::ObjectClosed, QStringLiteral("No se pudo leer la tabla de usuarios."),
                          QStringLiteral("UsuarioValido"));
    }
    if (rs->Eof()) {
        principal.CierraRecordset(rs);
        return nullptr;
    }
    rs->MoveFirst();
    return rs;
}

// The failed try: the message and the audit row.
void RegistrarIntentoFallido()
{
    platform::op().MsgBox(QStringLiteral("Usuario o Clave incorrecta"), msgbox::Information,
                          QStringLiteral("Atencion"));
    RegistraAccionCpte(QString(), QString(), QStringLiteral("0"), true, false, false,
                       QStringLiteral("Intento de inicio de sesion fallido"), QString(), false);
}

[[noreturn]] void Terminar()
{
    platform::Runtime::instance().exitProgram(kSalidaFallida);
}

} // namespace

bool& EsAdministrador()
{
    return contexto().EsAdministrador;
}

bool UsuarioValido(const QString& Nombre, const QString& Clave)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    common::ValoresCorrida& valores = common::valoresCorrida();
    const QString nombre = Nombre;
    // No name passes without its row: the data base's own name is no user.
    data::RecordsetPtr rs = PrimeraFila(QStringLiteral("SELECT * FROM TA_USUARIOS WHERE NOMBRE = '") +
                                        text::SqlQuoteInner(text::Trim(nombre)) +
                                        QStringLiteral("' AND (SISTEMA = 'cn000pr' OR SISTEMA = 'ORVO')"));
    if (!rs) {
        return false;
    }
    const auto& util = platform::Dll_Utilidades::shared();
    valores.UsuarioActual = nombre;
    const QString guardada = util.Desencriptar(util.ValorCampo(rs->value(QStringLiteral("Password"))).toText());
    const bool valido = text::EqualsNoCase(guardada, Clave);
    if (valido) {
        const bool administrador =
            util.ValorCampo(rs->value(QStringLiteral("Administrador"))).toBoolean().value_or(false);
        EsAdministrador() = administrador;
        principal.gEsAdmin = administrador;
    }
    principal.CierraRecordset(rs);
    return valido;
}

ResultadoIngreso PasoIngreso()
{
    common::ValoresCorrida& valores = common::valoresCorrida();
    data::DB_Dll& principal = data::gDbPrincipal();
    const float inicio = Temporizador();
    if (UsuarioValido(valores.UsuarioActual, valores.ClaveActual)) {
        return ResultadoIngreso::Aceptado;
    }
    RegistraTiempoInicio(QStringLiteral("VerificaConexion UsuarioValido fallo"), inicio,
                         QStringLiteral("Usuario=") + valores.UsuarioActual);
    platform::op().MsgBox(
        QStringLiteral("El usuario o clave en la base de datos es incorrecto!\r\nIntentelo nuevamente"),
        msgbox::Critical, QStringLiteral("Atencion!"));
    for (int intento = 1; intento <= kIntentos; ++intento) {
        data::DialogoConexion* dialogo = data::DialogoConexionInstalado();
        if (!dialogo) {
            Terminar();
        }
        dialogo->TxtDbName = principal.gDBName;
        dialogo->TxtServidor = principal.gServidor;
        dialogo->TxtUserId = valores.UsuarioActual;
        dialogo->TxtUserPassword = valores.ClaveActual;
        dialogo->CboPlataformaDB = 0;
        dialogo->Aceptar = false;
        dialogo->MostrarModal();
        if (!dialogo->Aceptar) {
            Terminar();
        }
        // The dialog's accept copies the user and password boxes into the run.
        valores.UsuarioActual = dialogo->TxtUserId;
        valores.ClaveActual = dialogo->TxtUserPassword;
        if (UsuarioValido(valores.UsuarioActual, valores.ClaveActual)) {
            if (text::EqualsNoCase(dialogo->TxtDbName, principal.gDBName) &&
                text::EqualsNoCase(dialogo->TxtServidor, principal.gServidor)) {
                return ResultadoIngreso::Aceptado;
            }
            principal.gDBName = dialogo->TxtDbName;
            principal.gServidor = dialogo->TxtServidor;
            return ResultadoIngreso::Reconectar;
        }
        RegistrarIntentoFallido();
    }
    platform::op().MsgBox(
        QStringLiteral("Demasiados intentos para iniciar sesion!\r\nComuniquese con el administrador de sistemas"),
        msgbox::Critical, QStringLiteral("Atencion!"));
    Terminar();
}

} // namespace app
