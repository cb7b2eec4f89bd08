#include "app/Registros.h"

#include "app/ContextoApp.h"
#include "app/FechaServidor.h"
#include "app/Lotes.h"
#include "common/Pasos.h"
#include "app/TextosSQL.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"

#include <QRegularExpression>

namespace app {

namespace db = platform::db;
namespace text = platform::text;
using platform::Variant;

namespace {

// The main menu's executable: it records its entries itself.
const QString kMenuPrincipal = QStringLiteral("CN000PR");
// The suite's supervisor login, which is given the program's own task.
const QString kSupervisor = QStringLiteral("SUPERVISOR BRENVIK MC");

// Dates go to the server in the unseparated form, which every server
// language reads the same way.
const QString kFormatoFechaHora = QStringLiteral("yyyymmdd hh:nn:ss");
const QString kFormatoFechaMinuto = QStringLiteral("yyyymmdd hh:nn");

platform::DateTime AlMinuto(const platform::DateTime& momento)
{
    const QTime t = momento.time();
    return platform::DateTime(momento.date(), QTime(t.hour(), t.minute()));
}

QString NombrePrograma()
{
    return platform::Runtime::instance().programName();
}

// The user's task for the process: the menu entry of one of the user's
// tasks whose process contains the process name.
QString TareaDelUsuario(const QString& proceso)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    const QString sql =
        QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ") +
        QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ") +
        QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + text::SqlQuoteInner(common::valoresCorrida().UsuarioActual) +
        QStringLiteral("') AND (TA_MENU.Proceso LIKE '%") + text::SqlQuoteInner(proceso) + QStringLiteral("%')");
    data::RecordsetPtr rs;
    QString tarea;
    enum class Paso { Abrir, Leer, Cerrar, Fin };
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Abrir:
            principal.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified,
                                     true);
            break;
        case Paso::Leer:
            if (!rs->Bof()) {
                tarea = platform::Dll_Utilidades::shared().ValorCampo(rs->value(QStringLiteral("Nombre"))).toText();
            } else if (!text::EqualsNoCase(NombrePrograma(), kMenuPrincipal)) {
                if (text::EqualsNoCase(principal.gDBName, principal.gUsuario) ||
                    text::EqualsNoCase(principal.gUsuario, kSupervisor)) {
                    tarea = NombrePrograma();
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
    return tarea;
}

// A whole number as typed (optional sign and digits).
bool EsEntero(const QString& texto)
{
    static const QRegularExpression entero(QStringLiteral("^[+-]?[0-9]+$"));
    return entero.match(texto).hasMatch();
}

} // namespace

void RegistraIngresoTarea(const QString& Programa)
{
    common::ValoresCorrida& valores = common::valoresCorrida();
    data::DB_Dll& principal = data::gDbPrincipal();
    // The suite folds variants of its other programs into their base process;
    // this program's own name is its process name.
    const QString proceso = Programa.isEmpty() ? NombrePrograma() : Programa;
    if (valores.UsuarioActual.isEmpty()) {
        valores.UsuarioActual = principal.gUsuario;
    }
    const QString tarea = TareaDelUsuario(proceso);
    if (text::EqualsNoCase(NombrePrograma(), kMenuPrincipal)) {
        return;
    }
    const QString apostrofo = QStringLiteral("'");
    SQLValorCampo(QStringLiteral("Maquina"), text::Trim(platform::Dll_ApiWindows::shared().NombreEquipo()).toUpper(),
                  apostrofo, true);
    SQLValorCampo(QStringLiteral("Usuario"), text::Trim(valores.UsuarioActual).toUpper(), apostrofo, false);
    SQLValorCampo(QStringLiteral("Formulario"), text::Trim(proceso).toUpper(), apostrofo, false);
    SQLValorCampo(QStringLiteral("Tarea"), text::Trim(tarea).toUpper(), apostrofo, false);
    SQLValorCampo(QStringLiteral("Ingreso"), platform::now().format(kFormatoFechaMinuto), apostrofo, false);
    SQLValorCampo(QStringLiteral("NombreUsuario"), valores.UsuarioActual, apostrofo, false);
    QStringList sentencias{QString()};
    QString condicion;
    ArmaSQLGrabacion(contexto().CamposPendientes, sentencias, QStringLiteral("Control_Acceso"), false, condicion,
                     false);
    bool hayError = false;
    int32_t nroError = 0;
    QString ejecutado;
    QString textoError;
    GActualizarDatoScript(sentencias, hayError, nroError, false, false, ejecutado, textoError, true);
}

void RegistraAccionCpte(const QString& TC, const QString& IdComprobante, const QString& IdComplemento, bool EsAlta,
                        bool EsModificacion, bool Reservado, const QString& Descripcion, const QString& Cuenta,
                        bool EsError)
{
    (void)Reservado;
    const common::ValoresCorrida& valores = common::valoresCorrida();
    auto& utilidades = platform::Dll_Utilidades::shared();
    auto citado = [](const QString& valor) { return text::SqlQuoted(valor); };

    QString complemento = text::Trim(IdComplemento);
    if (complemento.isEmpty()) {
        complemento = QStringLiteral("0");
    }
    // A complement that is not a whole number is sent quoted, never pasted.
    if (!EsEntero(complemento)) {
        complemento = citado(complemento);
    }
    QString tipo;
    if (EsError) {
        tipo = QStringLiteral("'ER'");
    } else if (EsAlta) {
        tipo = QStringLiteral("'A'");
    } else if (EsModificacion) {
        tipo = QStringLiteral("'M'");
    } else {
        tipo = QStringLiteral("'B'");
    }

    std::vector<CampoValor>& campos = contexto().CamposPendientes;
    campos = {
        {QStringLiteral("TC"), citado(utilidades.CodigoConCeros(Variant(text::Trim(TC)), Variant(4)))},
        {QStringLiteral("IdComprobante"), citado(IdComprobante)},
        {QStringLiteral("IdComplemento"), complemento},
        {QStringLiteral("Tipo_accion"), tipo},
        {QStringLiteral("FECHAHORA"), citado(FechaServidor().format(kFormatoFechaHora))},
        {QStringLiteral("Usuario"), citado(valores.UsuarioActual)},
        {QStringLiteral("PC"), citado(platform::Dll_ApiWindows::shared().NombreEquipo())},
        {QStringLiteral("SYSTEMUSER"), citado(text::Trim(utilidades.AjustarLargo(Descripcion, 255)))},
        {QStringLiteral("Proceso"),
         citado(utilidades.AjustarLargo(text::Trim(NombrePrograma()) + u' ' + valores.ValorParametroAdicional, 255))},
        {QStringLiteral("ProcesoLote"), QStringLiteral("''")},
        {QStringLiteral("Cuenta"), citado(text::Trim(utilidades.AjustarLargo(text::Trim(Cuenta), 15)))},
    };
    QString sql = QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES ");
    ArmaSQLValores(sql, campos, true);
    data::gDbPrincipal().EjecutaConsultaSQL(sql);
}

void RegistraErrorAux(const QString& SentenciaSQL, const QString& Proceso, int32_t NroError, const QString& Descripcion)
{
    const QString proceso = Proceso.isEmpty() ? NombrePrograma() : Proceso;
    data::DB_Dll& principal = data::gDbPrincipal();
    auto& utilidades = platform::Dll_Utilidades::shared();
    data::RecordsetPtr rs;
    enum class Paso {
        Abrir,
        Agregar,
        CampoProceso,
        CampoFecha,
        CampoError,
        CampoDescripcion,
        CampoSql,
        CampoPC,
        CampoUsuario,
        Grabar,
        Cerrar,
        Fin
    };
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Abrir:
            principal.AbrirRecordset(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), rs, nullptr,
                                     db::adOpenDynamic, db::adLockOptimistic, db::adCmdUnspecified, true);
            break;
        case Paso::Agregar:
            rs->AddNew();
            break;
        case Paso::CampoProceso:
            rs->Fields(QStringLiteral("Proceso")).setValue(Variant(proceso));
            break;
        case Paso::CampoFecha:
            // A date-time value, so that the column holds the moment itself
            // and not a text in the locale's short form.
            rs->Fields(QStringLiteral("fecha")).setValue(Variant(AlMinuto(platform::now())));
            break;
        case Paso::CampoError:
            rs->Fields(QStringLiteral("Error")).setValue(Variant(int64_t(NroError)));
            break;
        case Paso::CampoDescripcion:
            rs->Fields(QStringLiteral("Descripcion")).setValue(Variant(utilidades.AjustarLargo(Descripcion, 250)));
            break;
        case Paso::CampoSql:
            rs->Fields(QStringLiteral("sql")).setValue(Variant(SentenciaSQL));
            break;
        case Paso::CampoPC:
            rs->Fields(QStringLiteral("PC")).setValue(Variant(platform::Dll_ApiWindows::shared().NombreEquipo()));
            break;
        case Paso::CampoUsuario:
            rs->Fields(QStringLiteral("Usuario")).setValue(Variant(common::valoresCorrida().UsuarioActual));
            break;
        case Paso::Grabar:
            rs->Update();
            break;
        case Paso::Cerrar:
            principal.CierraRecordset(rs);
            break;
        case Paso::Fin:
            break;
        }
        return common::Siguiente(paso);
    });
}

} // namespace app
