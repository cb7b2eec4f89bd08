// The class's state, its instances, opening a connection, SQL literals,
// field-type predicates and object-name texts.
#include "data/DB_Dll.h"

#include "common/AplicarEstilo.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DialogoConexion.h"
#include "data/DialogoReconexion.h"
#include "platform/core/Operator.h"
#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Backend.h"

namespace data {

using common::Accion;
using platform::Variant;
using platform::db::DbError;
namespace text = platform::text;
namespace msgbox = platform::msgbox;

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

platform::ProgramWide<DB_Dll> g_principal;
platform::ProgramWide<DB_Dll> g_estadisticas;
platform::ProgramWide<DB_Dll> g_consultaR;
platform::ProgramWide<DialogoConexion> g_dialogoConexion;
platform::ProgramWide<DialogoReconexion> g_dialogoReconexion;

// The value of a bit or number column as the administrator flag: a Boolean
// text ("True") or a number equal to 1.
bool esAdministrador(const Variant& valor)
{
    const QString t = text::Trim(valor.toText());
    if (text::EqualsNoCase(t, u"True")) {
        return true;
    }
    const auto numero = Variant(t).toDouble();
    return numero && *numero == 1.0;
}

bool esCodigo(const Variant& Qtype, std::initializer_list<int> codigos)
{
    const auto numero = Qtype.toDouble();
    if (!numero) {
        return false;
    }
    for (int codigo : codigos) {
        if (*numero == double(codigo)) {
            return true;
        }
    }
    return false;
}

// The second hint of the failed open: the embedded engine's server is a
// folder, which has no instance to add.
QString ConsejoServidor(const QString& servidor, const QString& cadenaConexion)
{
    if (platform::db::usesEmbeddedEngine(platform::db::ConnectionString::parse(cadenaConexion))) {
        return QStringLiteral("2. Verifique la carpeta del servidor: ") + servidor;
    }
    return QStringLiteral("2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la instancia, "
                          "por ejemplo : ") +
           servidor + QStringLiteral("\\TORVANE");
}

} // namespace

DB_Dll& gDbPrincipal()
{
    return g_principal.get();
}

DB_Dll& gDbEstadisticas()
{
    return g_estadisticas.get();
}

DB_Dll& gDbConsultaR()
{
    return g_consultaR.get();
}

void LiberarDbPrincipal()
{
    g_principal.drop();
}

void InstalarDialogoConexion(std::unique_ptr<DialogoConexion> dialogo)
{
    g_dialogoConexion.set(std::move(dialogo));
}

DialogoConexion* DialogoConexionInstalado()
{
    return g_dialogoConexion.find();
}

void InstalarDialogoReconexion(std::unique_ptr<DialogoReconexion> dialogo)
{
    g_dialogoReconexion.set(std::move(dialogo));
}

DialogoReconexion* DialogoReconexionInstalado()
{
    return g_dialogoReconexion.find();
}

QString ValorCadenaConexion(const QString& value)
{
    const bool entreLlaves = value.contains(u';') || value.contains(u'}') || value.startsWith(u'{') ||
                             value.startsWith(u'"') || value.startsWith(u'\'') || value != value.trimmed();
    if (!entreLlaves) {
        return value;
    }
    QString escaped = value;
    escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

bool DialogoComun::ShowOpen()
{
    const auto elegido = platform::op().OpenFile(DialogTitle, Filter);
    if (!elegido) {
        return false;
    }
    FileName = *elegido;
    return true;
}

DB_Dll::DB_Dll() : gCnn(std::make_shared<platform::db::Connection>()) {}

DB_Dll::~DB_Dll() = default;

platform::Dll_Utilidades& DB_Dll::util()
{
    if (!m_util) {
        m_util = std::make_unique<platform::Dll_Utilidades>();
    }
    return *m_util;
}

platform::db::Connection& DB_Dll::cnn()
{
    if (!gCnn) {
        gCnn = std::make_shared<platform::db::Connection>();
    }
    return *gCnn;
}

bool DB_Dll::EsOracle(const QString& connectionString)
{
    // Asked before every statement, nearly always of the same string.
    thread_local QString ultima;
    thread_local bool esOracle = false;
    if (connectionString.isEmpty() || connectionString != ultima) {
        const QString proveedor =
            platform::db::ConnectionString::parse(connectionString).value(QStringLiteral("provider"));
        esOracle = text::Contains(proveedor, u"ORACLE");
        ultima = connectionString;
    }
    return esOracle;
}

void DB_Dll::ArmarCadenaConexion()
{
    if (gServidor.contains(u'#')) {
        gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + ValorCadenaConexion(gDBName) +
                      QStringLiteral(";User Id=") + ValorCadenaConexion(gUsuario) + QStringLiteral(";Password=") +
                      ValorCadenaConexion(gUserPassWord) + QStringLiteral(";");
        return;
    }
    QString cadena = QStringLiteral("PROVIDER=") + pSQLOLEDB() + QStringLiteral(";");
    cadena += QStringLiteral("Server=") + ValorCadenaConexion(gServidor) + QStringLiteral(";");
    cadena += QStringLiteral("Database =") + ValorCadenaConexion(gDBName) + QStringLiteral(";");
    cadena += QStringLiteral("UId=") + ValorCadenaConexion(gUsuario) + QStringLiteral(";");
    cadena += QStringLiteral("Pwd=") + ValorCadenaConexion(gUserPassWord) + QStringLiteral(";");
    if (!text::Contains(cadena, u"Connect Timeout=")) {
        cadena += QStringLiteral("Connect Timeout=5;");
    }
    cadena += gExtended;
    gConnString = cadena;
}

bool DB_Dll::EjecutarDialogoConexion()
{
    DialogoConexion* dialogo = DialogoConexionInstalado();
    if (!dialogo) {
        gOpenFlag = false;
        return false;
    }
    const common::ValoresCorrida& valores = common::valoresCorrida();
    dialogo->TxtDbName = gDBName;
    dialogo->TxtServidor = gServidor;
    dialogo->TxtUserId = valores.UsuarioActual;
    dialogo->TxtUserPassword = valores.ClaveActual;
    dialogo->CboPlataformaDB = 0;
    dialogo->Aceptar = false;
    dialogo->MostrarModal();
    if (dialogo->Aceptar) {
        gOpenFlag = true;
        gDBName = dialogo->TxtDbName;
        gServidor = dialogo->TxtServidor;
        // The data-base login and password are the data-base name; the
        // dialog's user boxes are the application log-in.
        gUsuario = dialogo->TxtDbName;
        gUserPassWord = dialogo->TxtDbName;
        if (dialogo->CboPlataformaDB > 0) {
            gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
            if (!gServidor.contains(u'#')) {
                gServidor += u'#';
            }
        } else {
            gProveedor = gDbPrincipal().pSQLOLEDB();
        }
    } else {
        gOpenFlag = false;
    }
    return gOpenFlag;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, std::optional<int> lCursor, const QString& ConnString,
                             bool ValidaAdmin, bool MuestraError)
{
    gOpenFlag = true;
    if (gProveedor.isEmpty()) {
        gProveedor = QStringLiteral("SQLOLEDB");
    }
    if (text::Trim(ConnString).isEmpty()) {
        ArmarCadenaConexion();
    } else {
        gConnString = ConnString;
    }
    if (PideParametrosSQL) {
        if (!EjecutarDialogoConexion()) {
            return;
        }
        ArmarCadenaConexion();
    }
    OpenServerPasos(lCursor, ValidaAdmin, MuestraError);
    if (gOpenFlag && this == g_principal.find()) {
        // The forms read their settings sections under the main connection's data base.
        common::DefinirNombreBaseEstilo([] {
            const DB_Dll* principal = g_principal.find();
            return principal ? principal->gDBName : QString();
        });
    }
}

namespace {

// The steps of the open that the failure handling may run again.
enum class PasoApertura {
    Tiempos,            // the time-out and the cursor location
    Abrir,              // the connection itself
    SinValidarAdmin,    // without the administrator check the user counts as one
    BaseYAdministrador, // the default data base and the administrator flag of the user
    Fin
};

} // namespace

void DB_Dll::OpenServerPasos(std::optional<int> lCursor, bool ValidaAdmin, bool MuestraError)
{
    bool cerradoYReintentado = false;
    common::EjecutarPasos(
        PasoApertura::Tiempos, PasoApertura::Fin,
        [&](PasoApertura paso) {
            switch (paso) {
            case PasoApertura::Tiempos:
                cnn().setConnectionTimeout(3);
                if (lCursor) {
                    cnn().setCursorLocation(*lCursor);
                }
                break;
            case PasoApertura::Abrir:
                cnn().Open(gConnString, QString(), QString(), platform::db::adCmdUnspecified);
                break;
            case PasoApertura::SinValidarAdmin:
                if (!ValidaAdmin) {
                    gEsAdmin = true;
                    return PasoApertura::Fin;
                }
                break;
            case PasoApertura::BaseYAdministrador:
                if (!text::Trim(gDBName).isEmpty()) {
                    cnn().setDefaultDatabase(gDBName);
                    if (gDbPrincipal().ExisteTablaDB(QStringLiteral("TA_USUARIOS"))) {
                        if (!MuestraError) {
                            gEsAdmin = true;
                        } else {
                            const Variant administrador =
                                DatosTabla(QStringLiteral("ta_usuarios"), common::valoresCorrida().UsuarioActual,
                                           QStringLiteral("Administrador"), QStringLiteral("nombre"), Variant(8),
                                           QString(), true, false);
                            gEsAdmin = esAdministrador(administrador);
                        }
                    }
                }
                break;
            case PasoApertura::Fin:
                break;
            }
            return common::Siguiente(paso);
        },
        [&](const platform::Error& e) {
            // An open connection is closed once and the step run again,
            // whatever stale entries its Errors still holds.
            if (e.number() == platform::db::adErr::ObjectOpen && !cerradoYReintentado) {
                cerradoYReintentado = true;
                try {
                    cnn().Close();
                } catch (const DbError&) {
                }
                return Accion::Reintentar;
            }
            if (!MuestraError) {
                gOpenFlag = false;
                return Accion::Salir;
            }
            if (cnn().errors().Count() > 0) {
                const platform::db::ErrorInfo primero = cnn().errors().Item(0);
                DB_Dll& principal = gDbPrincipal();
                const QString mensaje =
                    QStringLiteral(" Estado de Sql: ") + primero.SQLState + CR + QStringLiteral("Numero de Error: ") +
                    QString::number(primero.Number) + CR + QStringLiteral("Descripcion: ") + primero.Description + CR +
                    QStringLiteral("Codigo Nativo: ") + QString::number(primero.NativeError) + CR + CRLF +
                    QStringLiteral("Nombre de Proceso: ") + platform::Runtime::instance().programName() + CR + CRLF +
                    CRLF + QStringLiteral("1. Verifique el Usuario, contrasena y base de datos") + CRLF +
                    ConsejoServidor(principal.gServidor, gConnString) + CRLF +
                    QStringLiteral("3. Verifique si el inicio de sesion para el usuario ") + principal.gUsuario +
                    QStringLiteral(" existe") + CRLF + CRLF + CRLF +
                    QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
                const int respuesta = platform::op().MsgBox(mensaje, msgbox::YesNo | msgbox::Critical,
                                                            QStringLiteral(" Error de Conexion a Base de Datos"));
                if (respuesta == msgbox::Yes) {
                    cnn().errors().Clear();
                    if (DialogoConexion* dialogo = DialogoConexionInstalado()) {
                        dialogo->Ocultar();
                    }
                    if (!EjecutarDialogoConexion()) {
                        return Accion::Salir;
                    }
                    ArmarCadenaConexion();
                    return Accion::Reintentar;
                }
                gOpenFlag = false;
                return Accion::Salir;
            }
            platform::op().MsgBox(e.info().Description, msgbox::OKOnly);
            gOpenFlag = false;
            return Accion::Salir;
        });
}

void DB_Dll::OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD)
{
    QString clausulaPassword;
    bool passwordGuardado = false;
    auto elegirArchivo = [this] {
        CmdDlg.DialogTitle = QStringLiteral("Buscar Base de Datos");
        CmdDlg.Filter = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
        if (!CmdDlg.ShowOpen()) {
            return false;
        }
        gDBName = CmdDlg.FileName;
        return true;
    };
    for (;;) {
        try {
            if (text::Trim(gDBName).isEmpty() && !elegirArchivo()) {
                return;
            }
            QString cadena = ConnString;
            if (cadena.isEmpty()) {
                cadena = QStringLiteral("PROVIDER=") + gProveedor + QStringLiteral(";") +
                         QStringLiteral("Data Source =") + ValorCadenaConexion(gDBName) + QStringLiteral(";") +
                         CadenaID + QStringLiteral("=") + ValorCadenaConexion(gUsuario) + QStringLiteral(";") +
                         CadenaPWD + QStringLiteral("=") + ValorCadenaConexion(gUserPassWord) + QStringLiteral(";") +
                         gExtended;
            }
            cadena += clausulaPassword;
            cnn().Open(cadena, QString(), QString(), platform::db::adCmdUnspecified);
            gConnString = cadena;
            return;
        } catch (const DbError& e) {
            const QString estado = cnn().errors().Count() > 0 ? cnn().errors().Item(0).SQLState : QString();
            if (estado == u"3024" || estado == u"3051" || estado == u"3044") {
                if (!elegirArchivo()) {
                    return;
                }
                continue;
            }
            // The stored password is tried once: the same text again would be refused again.
            if (estado == u"3031" && !passwordGuardado) {
                if (gIgnoraPassWord.toBoolean().value_or(false)) {
                    passwordGuardado = true;
                    clausulaPassword = QStringLiteral("Jet OLEDB:Database Password=") +
                                       ValorCadenaConexion(gUserPassWord) + QStringLiteral(";");
                    continue;
                }
                const auto respuesta =
                    platform::op().InputBox(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"));
                if (!respuesta) {
                    return;
                }
                clausulaPassword = QStringLiteral(" Jet OLEDB:Database Password=") + ValorCadenaConexion(*respuesta) +
                                   QStringLiteral(";");
                continue;
            }
            platform::op().MsgBox(QString::number(e.number()) + QStringLiteral("  ") + e.info().Description,
                                  msgbox::Critical);
            return;
        }
    }
}

Variant DB_Dll::SQLValue2(const Variant& valor, const QString& Tipo)
{
    return SQLValue(valor, Tipo);
}

Variant DB_Dll::SQLValue(const Variant& valor, const QString& Tipo)
{
    using platform::VariantType;
    if (Tipo == u"@") {
        if (valor.isBlank()) {
            return Variant(QStringLiteral("0"));
        }
        const VariantType tipo = valor.type();
        if (tipo == VariantType::Integer || tipo == VariantType::Double || tipo == VariantType::Currency) {
            // A number goes in as its own value: no trip through the locale's text.
            const auto importe = valor.toCurrency();
            if (!importe) {
                throw DbError(6, QStringLiteral("Overflow"), QStringLiteral("DB_Dll"));
            }
            return Variant(importe->toString());
        }
        const auto importe = util().TextoAMoneda(valor.toText());
        if (!importe) {
            throw DbError(13, QStringLiteral("Type mismatch"), QStringLiteral("DB_Dll"));
        }
        return Variant(importe->toString());
    }
    if (valor.isNull()) {
        return Variant(QStringLiteral("NULL"));
    }
    if (Tipo == u"'") {
        return Variant(text::SqlQuoted(valor.toText()));
    }
    return Variant(valor.toText());
}

bool DB_Dll::adodate(const Variant& Qtype) const
{
    return esCodigo(Qtype, {7, 64, 133, 134, 135, 137});
}

bool DB_Dll::ADOText(const Variant& Qtype) const
{
    return esCodigo(Qtype, {8, 129, 130, 200, 201, 202, 203});
}

bool DB_Dll::ADONumeric(const Variant& Qtype) const
{
    return esCodigo(Qtype, {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131});
}

bool DB_Dll::ADOCurrency(const Variant& Qtype) const
{
    return esCodigo(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const Variant& Qtype) const
{
    return esCodigo(Qtype, {11});
}

QString DB_Dll::ADOComilla(const Variant& Qtype) const
{
    return (adodate(Qtype) || ADOText(Qtype)) ? QStringLiteral("'") : QString();
}

void DB_Dll::QConsulta(const QString&, const Variant&, const QString&, const QString&, const QString&, const Variant&)
{
}

void DB_Dll::QGridConsulta(const QString&, const QString&, const QString&, const QString&, const QString&) {}

QString DB_Dll::stSTF(QString& rsName, int rnPart) const
{
    const qsizetype puntos = rsName.count(u'.');
    if (puntos == 0) {
        return rsName;
    }
    if (puntos == 1) {
        const qsizetype p = rsName.indexOf(u'.');
        return rnPart != 0 ? rsName.mid(p + 1) : rsName.left(p);
    }
    return StripOwner(rsName);
}

QString DB_Dll::AddBrackets(const QString& rObjName) const
{
    if (rObjName.contains(u' ') && !rObjName.startsWith(u'[')) {
        return u'[' + rObjName + u']';
    }
    return rObjName;
}

QString DB_Dll::StripConnect(const QString& rsTblName) const
{
    const qsizetype p = text::InStr(rsTblName, u"->");
    if (p > 0) {
        // Up to two positions before the arrow: the blank before it is dropped.
        return rsTblName.left(std::max<qsizetype>(0, p - 2));
    }
    return rsTblName;
}

QString DB_Dll::StripBrackets(const QString& rsObjName) const
{
    if (rsObjName.startsWith(u'[')) {
        return rsObjName.mid(1, std::max<qsizetype>(0, rsObjName.size() - 2));
    }
    return rsObjName;
}

QString DB_Dll::StripOwner(QString& rsTblName) const
{
    const qsizetype p = rsTblName.indexOf(u'.');
    if (p >= 0) {
        rsTblName = rsTblName.mid(p + 1);
    }
    return rsTblName;
}

QString DB_Dll::StripFileName(const QString& rsFileName) const
{
    // Paths of this platform use "/"; the program's own texts use "\".
    const qsizetype p = std::max(rsFileName.lastIndexOf(u'\\'), rsFileName.lastIndexOf(u'/'));
    return p >= 0 ? rsFileName.left(p) : QString();
}

} // namespace data
