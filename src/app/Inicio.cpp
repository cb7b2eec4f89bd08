#include "app/Inicio.h"

#include "app/ConexionBk.h"
#include "app/Consultas.h"
#include "app/ContextoApp.h"
#include "app/Login.h"
#include "app/MasUsadas.h"
#include "app/Registros.h"
#include "common/Dll_Display.h"
#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_ArchivoIni.h"
#include "platform/util/Dll_Utilidades.h"

#include <QCoreApplication>
#include <QStringList>

#include <exception>
#include <memory>
#include <utility>

namespace app {

namespace db = platform::db;
namespace text = platform::text;

namespace {

constexpr int kSalidaFallida = 1;
// Read uncommitted.
constexpr int kAislamientoSinBloqueo = 256;
// "Invalid procedure call or argument".
constexpr int32_t kErrorLlamadaInvalida = 5;

const QString kArchivoIni = QStringLiteral("CN000pr.INI");

const QString kFaltaBaseDeDatos =
    QStringLiteral("Falta el nombre de la base de datos.\r\nIndiquelo en @DbName o en el dialogo de conexion.");

QString TextoBooleano(bool valor)
{
    return valor ? QStringLiteral("True") : QStringLiteral("False");
}

// The steps of the road, in their order.
enum class Paso {
    Inicio,
    Cartel,
    Carpeta,
    ArchivoErrores,
    Colores,
    Texto,
    ArchivoIni,
    ConexionAbierta,
    Parametros,
    Oracle,
    // The connection steps; a log-in on another data base or server comes
    // back here.
    Conexion,
    Credenciales,
    Servidor,
    Abrir,
    ComprobarApertura,
    Estadisticas,
    Preparar,
    Ingreso,
    Fin,
    Hecho
};

// What the road works with during one call.
struct Camino
{
    Camino(bool usarArchivoIni, const QString& textoParametros, QString& cadenaConexionInicial, int tipoCursor)
        : UsarArchivoIni(usarArchivoIni), TextoParametros(textoParametros),
          CadenaConexionInicial(cadenaConexionInicial), TipoCursor(tipoCursor)
    {
    }

    bool UsarArchivoIni;
    const QString& TextoParametros;
    QString& CadenaConexionInicial;
    int TipoCursor;

    float inicioTotal = 0;
    float inicioPaso = 0;
    QString carpeta;
    QString texto;
    QString servidor;
    QString baseDeDatos;
    QString usuario;
    QString password;

    Paso Ejecutar(Paso paso);
};

Paso Camino::Ejecutar(Paso paso)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    common::ValoresCorrida& valores = common::valoresCorrida();
    platform::Runtime& runtime = platform::Runtime::instance();
    switch (paso) {
    case Paso::Inicio:
        inicioTotal = Temporizador();
        RegistraTiempoInicio(QStringLiteral("VerificaConexion inicio"), inicioTotal,
                             QStringLiteral("UltimoValor=") + TextoBooleano(UsarArchivoIni));
        break;
    case Paso::Cartel: {
        common::CartelEspera().CartelInicio(QStringLiteral("Conectando Base de Datos"), false);
        bool cancelado = false;
        common::CartelEspera().CartelMostrar(cancelado, platform::Variant(QStringLiteral("Iniciando Aplicacion")),
                                             platform::Variant(runtime.programName()),
                                             platform::Variant(QStringLiteral("Espere por favor")));
        break;
    }
    case Paso::Carpeta:
        carpeta = platform::Dll_Utilidades::shared().CarpetaConBarra(runtime.programFolder());
        break;
    case Paso::ArchivoErrores:
        DefineArchivoErrores();
        break;
    case Paso::Colores:
        contexto().masUsadas.ColorLetra = 0;
        contexto().masUsadas.ColorFondo = 0xFFFFFF;
        break;
    case Paso::Texto:
        texto = TextoParametros.isEmpty() ? LineaDeComandos() : TextoParametros;
        break;
    case Paso::ArchivoIni:
        if (text::Trim(texto).isEmpty() && UsarArchivoIni) {
            texto = ParametrosDesdeArchivoIni();
        }
        break;
    case Paso::ConexionAbierta:
        if (principal.gOpenFlag) {
            return Paso::Preparar;
        }
        break;
    case Paso::Parametros: {
        const ParametrosInicio p = LeerParametros(texto);
        valores.ValorParametroAdicional = p.ParametroAdicional;
        servidor = p.Server;
        baseDeDatos = p.DbName;
        usuario = p.Usuario;
        password = p.Password.value_or(QString());
        valores.UsuarioActual =
            (p.UsuarioLogeado && !text::Trim(*p.UsuarioLogeado).isEmpty()) ? *p.UsuarioLogeado : text::Trim(p.Usuario);
        // The password is the one typed, also when it equals the data base's
        // name: nothing stands for the user's stored password.
        if (p.Password) {
            valores.ClaveActual = *p.Password;
        }
        valores.CajaActual = p.Caja.value_or(QStringLiteral("1"));
        break;
    }
    case Paso::Oracle:
        if (!text::Trim(servidor).isEmpty() && servidor.startsWith(u'#')) {
            servidor.remove(0, 1);
            if (CadenaConexionInicial.isEmpty()) {
                CadenaConexionInicial = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") +
                                        data::ValorCadenaConexion(baseDeDatos) + QStringLiteral(";User Id=") +
                                        data::ValorCadenaConexion(usuario) + QStringLiteral(";Password=") +
                                        data::ValorCadenaConexion(password) + QStringLiteral(";");
            }
        }
        break;
    case Paso::Conexion:
        RegistraTiempoInicio(QStringLiteral("VerificaConexion parametros"), inicioTotal,
                             QStringLiteral("Server=") + servidor + QStringLiteral(" Db=") + baseDeDatos +
                                 QStringLiteral(" Usuario=") + usuario + QStringLiteral(" UsuarioLogeado=") +
                                 valores.UsuarioActual);
        break;
    case Paso::Credenciales:
        principal.gUsuario = baseDeDatos;
        principal.gDBName = baseDeDatos;
        principal.gUserPassWord = baseDeDatos;
        break;
    case Paso::Servidor:
        inicioPaso = Temporizador();
        principal.gServidor = ObtieneIP(servidor);
        RegistraTiempoInicio(QStringLiteral("VerificaConexion ObtieneIP"), inicioPaso,
                             QStringLiteral("Servidor=") + servidor + QStringLiteral(" IP=") + principal.gServidor);
        break;
    case Paso::Abrir:
        inicioPaso = Temporizador();
        principal.OpenServerADODB(text::Trim(servidor).isEmpty() || text::Trim(usuario).isEmpty(), TipoCursor,
                                  CadenaConexionInicial, true, true);
        RegistraTiempoInicio(QStringLiteral("VerificaConexion OpenServerADODB"), inicioPaso,
                             QStringLiteral("OpenFlag=") + TextoBooleano(principal.gOpenFlag));
        break;
    case Paso::ComprobarApertura:
        if (!principal.gOpenFlag) {
            runtime.exitProgram(kSalidaFallida);
        }
        // Without a data base the login lands in the server's default one,
        // which holds none of the system's tables.
        if (text::Trim(principal.gDBName).isEmpty()) {
            platform::op().MsgBox(kFaltaBaseDeDatos, platform::msgbox::Critical, QStringLiteral("Atencion!"));
            runtime.exitProgram(kSalidaFallida);
        }
        break;
    case Paso::Estadisticas:
        inicioPaso = Temporizador();
        VerificaConexionBk();
        RegistraTiempoInicio(QStringLiteral("VerificaConexion VerificaConexionBk"), inicioPaso);
        principal.gCnn->setCommandTimeout(valores.TiempoEsperaComandos);
        principal.gCnn->setIsolationLevel(kAislamientoSinBloqueo);
        break;
    case Paso::Preparar:
        if (!principal.gDBName.isEmpty()) {
            ImpresionPrograma().CarpetaPrograma = carpeta;
            principal.gCnn->setDefaultDatabase(principal.gDBName);
            Dll_Consultas& consultas = ConsultasPrograma();
            consultas.CadenaConexion = principal.gConnString;
            consultas.Habilitado = true;
            consultas.ArchivoConsultas = platform::Dll_Utilidades::shared().CarpetaConBarra(runtime.programFolder()) +
                                         QStringLiteral("consultas.bkd");
            AseguraDefinicionesBusqueda();
            principal.gCnn->setDefaultDatabase(principal.gDBName);
            inicioPaso = Temporizador();
            CfgMasUsadas(carpeta);
            RegistraTiempoInicio(QStringLiteral("VerificaConexion CfgMasUsadas"), inicioPaso);
        }
        break;
    case Paso::Ingreso:
        inicioPaso = Temporizador();
        if (PasoIngreso() == ResultadoIngreso::Reconectar) {
            // The dialog's data base and server stand for the parsed ones;
            // the user is the one who just logged in there.
            servidor = principal.gServidor;
            baseDeDatos = principal.gDBName;
            usuario = valores.UsuarioActual;
            return Paso::Conexion;
        }
        break;
    case Paso::Fin:
        RegistraTiempoInicio(QStringLiteral("VerificaConexion UsuarioValido ok"), inicioPaso,
                             QStringLiteral("Usuario=") + valores.UsuarioActual);
        inicioPaso = Temporizador();
        RegistraIngresoTarea(QString());
        RegistraTiempoInicio(QStringLiteral("VerificaConexion RegistraIngresoTarea"), inicioPaso);
        common::CartelEspera().CartelCerrar();
        RegistraTiempoInicio(QStringLiteral("VerificaConexion fin"), inicioTotal);
        break;
    case Paso::Hecho:
        break;
    }
    return common::Siguiente(paso);
}

// An error that stopped a step: the banner closes. An "invalid procedure
// call" of the banner lets the road go on without it; any other error is
// shown, logged and ends the program (a failure must never count as a
// connection made or a user logged in).
Paso TratarFallo(Paso paso, const platform::ErrObject& error)
{
    try {
        common::CartelEspera().CartelCerrar();
    } catch (const std::exception&) {
        // The banner is gone with the failure; the road does not need it.
    }
    if (error.Number == kErrorLlamadaInvalida && paso == Paso::Cartel) {
        return common::Siguiente(paso);
    }
    common::MensajeError(error, platform::msgbox::Critical, QStringLiteral("VerificaConexion"));
    platform::Runtime::instance().exitProgram(kSalidaFallida);
}

// The operator during the start-up road: every question goes to the
// program's operator, and an Abort answered to any of them ends the program,
// since nothing the road does can go on once the operator asked to stop.
class OperadorDelArranque final : public platform::Operator
{
public:
    explicit OperadorDelArranque(std::unique_ptr<platform::Operator> operador) : m_operador(std::move(operador)) {}

    std::unique_ptr<platform::Operator> Devolver() { return std::move(m_operador); }

    int MsgBox(const QString& prompt, int style, const QString& title) override
    {
        const int respuesta = m_operador->MsgBox(prompt, style, title);
        if (respuesta == platform::msgbox::Abort) {
            platform::Runtime::instance().exitProgram(kSalidaFallida);
        }
        return respuesta;
    }
    void TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds) override
    {
        m_operador->TimedMsgBox(prompt, style, title, waitSeconds);
    }
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        return m_operador->InputBox(prompt, title, defaultText);
    }
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& folder) override
    {
        return m_operador->OpenFile(title, filter, folder);
    }
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& suggestedName) override
    {
        return m_operador->SaveFile(title, filter, suggestedName);
    }

private:
    std::unique_ptr<platform::Operator> m_operador;
};

// Puts OperadorDelArranque in front of the program's operator for its own
// life, and the program's operator back when it ends (also when the road
// ends the program under a test).
class AbortarTerminaArranque
{
public:
    AbortarTerminaArranque()
    {
        platform::Runtime& runtime = platform::Runtime::instance();
        if (std::unique_ptr<platform::Operator> operador = runtime.takeOperator()) {
            auto delante = std::make_unique<OperadorDelArranque>(std::move(operador));
            m_delante = delante.get();
            runtime.setOperator(std::move(delante));
        }
    }
    ~AbortarTerminaArranque()
    {
        platform::Runtime& runtime = platform::Runtime::instance();
        if (m_delante && runtime.installedOperator() == m_delante) {
            runtime.setOperator(m_delante->Devolver());
        }
    }
    AbortarTerminaArranque(const AbortarTerminaArranque&) = delete;
    AbortarTerminaArranque& operator=(const AbortarTerminaArranque&) = delete;

private:
    OperadorDelArranque* m_delante = nullptr;
};

} // namespace

std::optional<QString> ValorParametro(QStringView texto, QStringView clave)
{
    for (QStringView entrada : texto.tokenize(u';')) {
        const qsizetype igual = entrada.indexOf(u'=');
        if (igual < 0) {
            continue;
        }
        if (text::EqualsNoCase(text::Trim(entrada.left(igual)), clave)) {
            return text::Trim(entrada.mid(igual + 1));
        }
    }
    return std::nullopt;
}

ParametrosInicio LeerParametros(QStringView texto)
{
    ParametrosInicio p;
    p.ParametroAdicional = ValorParametro(texto, u"@ParametroAdicional").value_or(QString());
    p.Server = ValorParametro(texto, u"@Server").value_or(QString());
    p.DbName = ValorParametro(texto, u"@DbName").value_or(QString());
    p.Usuario = ValorParametro(texto, u"@Usuario").value_or(QString());
    p.UsuarioLogeado = ValorParametro(texto, u"@UsuarioLogeado");
    p.Password = ValorParametro(texto, u"@Password");
    p.Caja = ValorParametro(texto, u"@Caja");
    return p;
}

QString ParametrosDesdeArchivoIni()
{
    const auto& api = platform::Dll_ApiWindows::shared();
    const auto& ini = platform::Dll_ArchivoIni::shared();
    const auto& util = platform::Dll_Utilidades::shared();
    const QString seccion =
        api.NombreEquipo().toUpper() + u'|' + api.NombreUsuarioWindows().toUpper() + QStringLiteral("BaseDeDatos");
    auto sinBarras = [](QString valor) { return valor.remove(u'|'); };
    const QString s = sinBarras(ini.LeerValor(kArchivoIni, seccion, QStringLiteral("Servidor"), QString()));
    const QString d = sinBarras(ini.LeerValor(kArchivoIni, seccion, QStringLiteral("DbName"), QString()));
    const QString u = sinBarras(util.Desencriptar(
        ini.LeerValor(kArchivoIni, seccion, QStringLiteral("Usuario"), util.Encriptar(QStringLiteral("Brenvik")))));
    const QString w = sinBarras(util.Desencriptar(ini.LeerValor(kArchivoIni, seccion, QStringLiteral("UserPassWord"),
                                                                util.Encriptar(QStringLiteral("marbelo")))));
    // A ";" would end the value inside the parameter text and start another
    // entry with the rest; a NUL would cut the text.
    const std::pair<const QString&, const char*> valores[] = {
        {s, "El servidor"}, {d, "La base de datos"}, {u, "El usuario"}, {w, "La clave"}};
    for (const auto& [valor, nombre] : valores) {
        if (valor.contains(u';') || valor.contains(QChar(u'\0'))) {
            platform::op().MsgBox(QString::fromUtf8(nombre) +
                                      QStringLiteral(" de la conexion guardada en CN000pr.INI contiene \";\" o un "
                                                     "caracter nulo: esa conexion no se usa."),
                                  platform::msgbox::Exclamation, QStringLiteral("Atencion"));
            return QString();
        }
    }
    return QStringLiteral("@server=") + s + QStringLiteral("; @dbname= ") + d + QStringLiteral("; @usuario= ") + u +
           QStringLiteral("; @Password= ") + w + QStringLiteral("; @ParametroAdicional=; @Caja=1;orvo@");
}

QString LineaDeComandos()
{
    if (const std::optional<QString>& linea = contexto().LineaDeComandos) {
        return *linea;
    }
    return QCoreApplication::arguments().mid(1).join(u' ');
}

void EstablecerLineaDeComandos(std::optional<QString> linea)
{
    contexto().LineaDeComandos = std::move(linea);
}

Dll_Impresion& ImpresionPrograma()
{
    return contexto().impresion;
}

void VerificaConexion(bool UsarArchivoIni, const QString& TextoParametros, QString& CadenaConexionInicial,
                      int TipoCursor)
{
    const AbortarTerminaArranque abortar;
    Camino camino(UsarArchivoIni, TextoParametros, CadenaConexionInicial, TipoCursor);
    Paso paso = Paso::Inicio;
    while (paso != Paso::Hecho) {
        try {
            paso = camino.Ejecutar(paso);
        } catch (const platform::Error& e) {
            paso = TratarFallo(paso, platform::ErrObject(e, QStringLiteral("VerificaConexion")));
        } catch (const std::exception& e) {
            paso = TratarFallo(paso, platform::ErrObject(db::adErr::Generic, QString::fromUtf8(e.what()),
                                                         QStringLiteral("VerificaConexion")));
        }
    }
}

} // namespace app
