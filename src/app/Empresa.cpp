#include "app/Empresa.h"

#include "app/Configuracion.h"
#include "app/ContextoApp.h"
#include "app/Conversiones.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/util/Dll_Utilidades.h"

#include <memory>

namespace app {

namespace text = platform::text;
using platform::Variant;

bool DatosEmpresaUnidadNegocio(const QString& UnidadNegocio, QString& RazonSocial, QString& Cuit,
                               QString& InicioActividades, QString& IngresosBrutos, QString& CondicionIva,
                               QString& PuntoVenta, QString& Domicilio)
{
    auto& utilidades = platform::Dll_Utilidades::shared();
    data::DB_Dll& principal = data::gDbPrincipal();
    if (!UnidadNegocio.isEmpty()) {
        const QString codigo = utilidades.CodigoConCeros(Variant(UnidadNegocio), Variant(4));
        auto rs = std::make_shared<platform::db::Recordset>();
        if (principal.ExisteEnTabla(QStringLiteral("v_ta_unidadNegocio"), codigo, QStringLiteral("codigo"), rs,
                                    Variant(8), QString(), true)) {
            auto campo = [&](const char* nombre) {
                return utilidades.ValorCampo(rs->value(QString::fromLatin1(nombre))).toText();
            };
            RazonSocial = campo("razon_social");
            Cuit = campo("Cuit");
            if (!Cuit.isEmpty()) {
                const QString unidad = text::Trim(UnidadNegocio);
                InicioActividades = text::Trim(Cfg(QStringLiteral("INICIO_ACTIVIDADES_UN_") + unidad));
                IngresosBrutos = text::Trim(Cfg(QStringLiteral("INGRESOS_BRUTOS_UN_") + unidad));
                CondicionIva = text::Trim(Cfg(QStringLiteral("CONDICIONIVA_UN_") + unidad));
                Domicilio = text::Trim(Cfg(QStringLiteral("DOMICILIO_UN_") + unidad));
            } else {
                RazonSocial.clear();
                InicioActividades.clear();
                IngresosBrutos.clear();
                CondicionIva.clear();
                Domicilio.clear();
            }
            PuntoVenta = text::Trim(campo("PDV"));
        }
        principal.CierraRecordset(rs);
    }
    if (RazonSocial.isEmpty()) {
        RazonSocial = Cfg(QStringLiteral("NOMBRE"));
    }
    if (Cuit.isEmpty()) {
        Cuit = Cfg(QStringLiteral("cuit"));
    }
    if (CondicionIva.isEmpty()) {
        CondicionIva = Cfg(QStringLiteral("CONDIVAEMPRESA"));
    }
    if (InicioActividades.isEmpty()) {
        InicioActividades = text::Trim(Cfg(QStringLiteral("INICIOACTIVIDADES")));
    }
    if (IngresosBrutos.isEmpty()) {
        IngresosBrutos = text::Trim(Cfg(QStringLiteral("NROINGRESOSBRUTOS")));
    }
    if (Domicilio.isEmpty()) {
        Domicilio = Cfg(QStringLiteral("CALLE")) + u' ' + Cfg(QStringLiteral("NUMERO")) + QStringLiteral("  ") +
                    Cfg(QStringLiteral("PISO")) + u' ' + Cfg(QStringLiteral("Departamento"));
    }
    contexto().CondicionIvaEmpresaTexto = CondicionIva;
    const auto numero = EnteroDeTexto(CondicionIva);
    if (!numero) {
        return false;
    }
    common::valoresCorrida().CondicionIvaEmpresa = *numero;
    return true;
}

} // namespace app
