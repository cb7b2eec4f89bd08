#include "app/MasUsadas.h"

#include "app/Configuracion.h"
#include "app/ContextoApp.h"
#include "app/Conversiones.h"
#include "app/Empresa.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace app {

namespace db = platform::db;
namespace text = platform::text;
using platform::Variant;

namespace {

constexpr int32_t kFondoPorDefecto = 16774118;     // red 230, green 243, blue 255
constexpr int32_t kFondoCian = 16776960;           // red 0, green 255, blue 255
constexpr int32_t kFondoEnLugarDeNegro = 15072511; // red 255, green 252, blue 229

// "SI" as written: neither blanks nor other words.
bool EsSi(const QString& valor)
{
    return text::EqualsNoCase(valor, u"SI");
}

// "SI" once the blanks around it are removed.
bool EsSiRecortado(const QString& valor)
{
    return text::EqualsNoCase(text::Trim(valor), u"SI");
}

// Set to anything but "NO" (the key is read twice, as the setting's two tests).
bool EstaActivo(const QString& clave)
{
    return !text::Trim(Cfg(clave)).isEmpty() && !text::EqualsNoCase(Cfg(clave), u"NO");
}

QString Recortado(const QString& clave)
{
    return text::Trim(Cfg(clave));
}

// A colour setting as a 32-bit number; a text that is not an amount reads 0,
// and a number out of range leaves the colour unchanged.
std::optional<int32_t> Color(const QString& clave)
{
    const platform::Currency importe =
        platform::Dll_Utilidades::shared().TextoAMoneda(Cfg(clave)).value_or(platform::Currency());
    const int64_t entero = importe.toWhole();
    if (entero < INT32_MIN || entero > INT32_MAX) {
        return std::nullopt;
    }
    return int32_t(entero);
}

bool EsProgramaLadoVentas()
{
    const QString nombre = platform::Runtime::instance().programName();
    for (const QString& programa : contexto().ProgramasLadoVentas) {
        if (text::EqualsNoCase(nombre, programa)) {
            return true;
        }
    }
    return false;
}

// The logged-in user's business unit, price classes and proforma permission.
void LeerUsuario(MasUsadas& m)
{
    auto& utilidades = platform::Dll_Utilidades::shared();
    data::DB_Dll& principal = data::gDbPrincipal();
    const QString sql = QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                        text::SqlQuoteInner(common::valoresCorrida().UsuarioActual) + u'\'';
    data::RecordsetPtr rs;
    bool hayFila = false;
    enum class Paso { Abrir, Leer, UnidadNegocio, Proforma, ClasesPrecio, UnidadPorDefecto, Fin };
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Abrir:
            principal.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified,
                                     true);
            break;
        case Paso::Leer:
            hayFila = !rs->Bof();
            break;
        case Paso::UnidadNegocio:
            if (hayFila) {
                m.UnidadNegocioUsuario = utilidades.ValorCampo(rs->value(QStringLiteral("UNegocio"))).toText();
            }
            break;
        case Paso::Proforma:
            if (hayFila && m.FacturaProformaActiva) {
                // A Null permission leaves the setting's value.
                if (const auto permitido = rs->value(QStringLiteral("verproforma")).toBoolean()) {
                    m.FacturaProformaActiva = *permitido;
                }
            }
            break;
        case Paso::ClasesPrecio:
            if (hayFila) {
                m.ClasesPrecioUsuario = utilidades.QuitarCaracteres(
                    text::Trim(utilidades.ValorCampo(rs->value(QStringLiteral("CLASEPUSA"))).toText()),
                    QStringLiteral(","));
            }
            break;
        case Paso::UnidadPorDefecto:
            if (m.UnidadNegocioUsuario.isEmpty()) {
                m.UnidadNegocioUsuario = QStringLiteral("   1");
            }
            break;
        case Paso::Fin:
            break;
        }
        return common::Siguiente(paso);
    });
    principal.CierraRecordset(rs);
}

} // namespace

void EstablecerProgramasLadoVentas(const QStringList& nombres)
{
    contexto().ProgramasLadoVentas = nombres;
}

void CfgMasUsadas(const QString& CarpetaPrograma)
{
    common::ValoresCorrida& valores = common::valoresCorrida();
    MasUsadas& m = contexto().masUsadas;
    auto& utilidades = platform::Dll_Utilidades::shared();

    std::srand(unsigned(platform::now().time().msecsSinceStartOfDay()));

    valores.TablaConfiguracion = QStringLiteral("ta_configuracion");
    CfgCachePrecargarConfiguracion(true);

    m.MostrarStockConsultas =
        EsSi(utilidades.ValorCampo(Variant(Cfg(QStringLiteral("MostrarStockenConsultas")))).toText());
    m.TituloParaClientes = Recortado(QStringLiteral("TituloClientes"));
    m.TituloParaProveedores = Recortado(QStringLiteral("TituloProveedores"));
    m.ArchivoTareasDocumentos = CarpetaPrograma + QStringLiteral("BKDOCTareas.bkd");
    m.ExigeClaveConsultaLike = EsSi(Cfg(QStringLiteral("EXIGECLAVECONSULTALIKEARTICULOS")));
    m.ConsultaLikeActiva = EsSi(Cfg(QStringLiteral("UsaConsultaLike")));
    valores.DecimalesMoneda = Cfg(QStringLiteral("CantidadDecimales"));
    valores.ConfidencialidadActiva = EsSi(Cfg(QStringLiteral("SS_CONFIDENCIALIDAD")));

    if (EsProgramaLadoVentas() && ValorNumerico(Cfg(QStringLiteral("CantidadDecimalesVentas"))) > 0) {
        valores.DecimalesMoneda = Cfg(QStringLiteral("CantidadDecimalesVentas"));
    }

    m.MultiplesMonedasActivas = EsSi(Cfg(QStringLiteral("UsaMultilesMonedas")));
    m.FacturaProformaActiva = EsSi(Cfg(QStringLiteral("UsaFacturaProforma")));
    m.CCostoActivo = EsSi(Cfg(QStringLiteral("USACCOSTO")));
    m.StockUdKgActivo = EsSi(Cfg(QStringLiteral("USA_STK_STOCK_UDKG")));
    LeerUsuario(m);

    m.UnidadMedidaM3 = Recortado(QStringLiteral("UNIDADDEMEDIDA_M3"));
    m.UnidadMedidaBL = Recortado(QStringLiteral("UNIDADDEMEDIDA_BL"));
    m.UnidadMedidaKG = Recortado(QStringLiteral("UNIDADDEMEDIDA_KG"));
    if (const auto periodo = EnteroCercano(ValorNumerico(Cfg(QStringLiteral("PERIODO"))), INT16_MIN, INT16_MAX)) {
        m.PeriodoActual = int16_t(*periodo);
    }
    m.RazonSocialPorUnidad = EsSiRecortado(Cfg(QStringLiteral("RazonSocialPorUneg")));
    m.ValidaCodigoBarra = EsSiRecortado(Cfg(QStringLiteral("VALIDACODIGOBARRA")));
    m.MarcaColores = true;
    if (const auto fondo = Color(QStringLiteral("CFondo"))) {
        m.ColorFondo = *fondo;
    }
    if (const auto letra = Color(QStringLiteral("CLetra"))) {
        m.ColorLetra = *letra;
    }
    if (m.ColorFondo == m.ColorLetra) {
        GrabaDfg(QStringLiteral("CFondo"), Variant(int64_t(kFondoPorDefecto)), QString(), false,
                 QStringLiteral("DATOS"), true, false);
        GrabaDfg(QStringLiteral("CLetra"), Variant(int64_t(0)), QString(), false, QStringLiteral("DATOS"), true, false);
        m.ColorFondo = kFondoPorDefecto;
    }
    if (m.ColorFondo == kFondoCian) {
        m.ColorFondo = kFondoPorDefecto;
    }
    if (m.ColorFondo == 0) {
        m.ColorFondo = kFondoEnLugarDeNegro;
    }

    m.ModuloOrdenTrabajoActivo = !text::EqualsNoCase(Recortado(QStringLiteral("ModuloOrdenDeTrabajo")), u"NO");
    m.ModificaCPrecioV = EstaActivo(QStringLiteral("V_ModificaCPrecio"));
    m.ModificaCPrecioC = EstaActivo(QStringLiteral("C_ModificaCPrecio"));
    m.ModoMaderera = EstaActivo(QStringLiteral("MADERERA"));
    m.MadTiras = Recortado(QStringLiteral("MAD_TIRAS"));
    m.MadP2 = Recortado(QStringLiteral("MAD_P2"));
    m.MadML = Recortado(QStringLiteral("MAD_ML"));
    m.MadM2 = Recortado(QStringLiteral("MAD_M2"));
    m.MadHojas = Recortado(QStringLiteral("MAD_HOJAS"));
    m.MadMLP2 = Recortado(QStringLiteral("MAD_ML_P2"));
    m.MadM2P2 = Recortado(QStringLiteral("MAD_M2_P2"));
    m.MadMLM2 = Recortado(QStringLiteral("MAD_ML_M2"));
    m.CuentaCentroDistribucion = Recortado(QStringLiteral("CuentaCtroDist"));
    if (const auto maximo = utilidades.TextoAMoneda(Recortado(QStringLiteral("MaxDto")))) {
        m.DescuentoMaximo = *maximo;
    }
    if (const auto maximo = utilidades.TextoAMoneda(Recortado(QStringLiteral("MaxDtoProforma")))) {
        m.DescuentoMaximoProforma = *maximo;
    }
    m.PideClaveStockNegativo = EstaActivo(QStringLiteral("PideClave_StockNeg"));
    m.PideClaveMarkUpBase = EstaActivo(QStringLiteral("PideClave_MarkUpBase"));
    m.PideClaveLimiteCredito = EstaActivo(QStringLiteral("PideClave_LimiteCredito"));
    m.BloqueoActivo = EsSi(Cfg(QStringLiteral("SS_BloqueoActivo")));
    valores.UsaFechaDia = EsSi(Cfg(QStringLiteral("UTILIZARFECHADIA")));
    m.AsignaLoteIngreso = EsSi(Cfg(QStringLiteral("AsignacionAutomaticaDeLoteING")));
    m.AsignaLoteIngresoOP = EsSi(Cfg(QStringLiteral("AsignacionAutomaticaDeLoteINGOP")));

    if (const auto condicion =
            EnteroCercano(ValorNumerico(Cfg(QStringLiteral("CONDIVAEMPRESA"))), INT16_MIN, INT16_MAX)) {
        valores.CondicionIvaEmpresa = int16_t(*condicion);
    }
    {
        QString razonSocial;
        QString cuit;
        QString inicioActividades;
        QString ingresosBrutos;
        QString condicionIva;
        QString puntoVenta;
        QString domicilio;
        DatosEmpresaUnidadNegocio(m.UnidadNegocioUsuario, razonSocial, cuit, inicioActividades, ingresosBrutos,
                                  condicionIva, puntoVenta, domicilio);
    }
    if (valores.CondicionIvaEmpresa == 0) {
        valores.CondicionIvaEmpresa = 1;
    }

    m.TopPorDefecto = Cfg(QStringLiteral("Top_Default"));
    if (text::Trim(m.TopPorDefecto).isEmpty()) {
        m.TopPorDefecto = QStringLiteral("1000");
    }
}

} // namespace app
