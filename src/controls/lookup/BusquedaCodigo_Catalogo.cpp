// The look-up box's table set-up, the rights of a direct addition and the
// addition itself.
#include "controls/lookup/BusquedaCodigo.h"

#include "controls/lookup/AltaDirecta.h"
#include "controls/lookup/Ejecutar.h"
#include "controls/lookup/SentenciasBusqueda.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace controls {

using platform::Variant;
using platform::db::DbError;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kErrorAlta = QStringLiteral("ERROR EN EL ALTA DIRECTA, UTILICE LA OPCION DEL MENU CORRESPONDIENTE.");

} // namespace

bool BusquedaCodigo::BusquedaDisponible(QString& TB)
{
    TxtBusqueda->setProperty("Tag", TB);
    if (DeshabilitarBCTodos)
        return false;
    Calendar->hide();
    m_falloBusqueda.reset();
    const busqueda::Decision d = busqueda::AplicarReglas(TB, m_catalogo, DeshabilitarBCArticulos, Cuenta);
    if (d.detenida)
        return false;
    if (d.fecha)
        CargarCalendario();
    if (d.filtroVendedor)
        filtroVendedor();
    if (!ConexionAbierta)
        AbrirConexion();
    bool alta = false;
    try {
        alta = AltaDisponible();
    } catch (const DbError&) {
        // Rights that cannot be read give no addition.
    }
    imgMas->setVisible(alta);
    TxtBusqueda->setMaxLength(50);
    if (!m_catalogo.Tabla.isEmpty() && !Buscar.isEmpty())
        TxtBusqueda->setText(Trim(Buscar));
    return d.disponible;
}

void BusquedaCodigo::filtroVendedor()
{
    if (Trim(utilidades().ValorCampo(Variant(Usuario)).toText()).isEmpty())
        return;
    if (!ConexionAbierta)
        AbrirConexion();
    try {
        const auto rs = busqueda::Ejecutar(cnBusqueda(), busqueda::SentenciaVendedor(Usuario));
        if (rs->Eof())
            return;
        const QString vendedor = FieldVal(rs->value(QStringLiteral("IdVendedor")));
        if (!Trim(vendedor).isEmpty())
            m_catalogo.CondicionExtra += QStringLiteral(" and IDVENDEDOR = '") + SqlQuoteInner(vendedor) + u'\'';
    } catch (const DbError&) {
        // A missing users row or column, or no connection, leaves the filter out.
    }
}

bool BusquedaCodigo::AltaDisponible()
{
    LargoAlta = 4;
    const std::optional<busqueda::PermisoAlta> permiso = busqueda::PermisoDeAlta(m_catalogo.Tabla);
    if (!permiso)
        return false;
    LargoAlta = permiso->largo;
    // Without a user no right can be checked.
    if (Trim(utilidades().ValorCampo(Variant(Usuario)).toText()).isEmpty())
        return false;
    return !busqueda::Ejecutar(cnBusqueda(), busqueda::SentenciaTarea(permiso->tarea, Usuario))->Eof();
}

void BusquedaCodigo::imgMas_Click()
{
    using Fin = busqueda::AltaDirecta::Fin;
    busqueda::AltaDirecta alta(cnBusqueda(), utilidades(), m_catalogo, LargoAlta, Cuenta, platform::now().date());
    const busqueda::AltaDirecta::Resultado r = alta.Agregar(TxtBusqueda->text());
    const int informacion = platform::msgbox::OKOnly | platform::msgbox::Information;
    switch (r.fin) {
    case Fin::Nada:
        return;
    case Fin::Duplicado:
        platform::op().MsgBox(QStringLiteral("El detalle ingresado ya existe, seleccionelo de la lista"), informacion);
        return;
    case Fin::SinFila:
        platform::op().MsgBox(kErrorAlta + kCrLf + m_catalogo.Tabla + kCrLf + r.sentencia, informacion);
        return;
    case Fin::Error:
        platform::op().MsgBox(kErrorAlta + kCrLf + m_catalogo.Tabla + r.sentencia, informacion);
        return;
    case Fin::Hecha:
        TxtBusqueda->setText(r.codigo);
        ObtieneCodigo(true);
        return;
    }
}

} // namespace controls
