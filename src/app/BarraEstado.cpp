#include "app/BarraEstado.h"

#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Text.h"
#include "platform/ui/StatusBar.h"
#include "platform/util/Dll_Utilidades.h"

#include <QCoreApplication>
#include <QVersionNumber>

#include <array>
#include <exception>

namespace app {

namespace text = platform::text;
using platform::Variant;

namespace {

// Shares of the bar's width, panels 1 to 7.
constexpr std::array<double, 7> kProporciones{0.05, 0.15, 0.15, 0.15, 0.10, 0.10, 0.30};

// Runs one step of the bar; a step that fails is skipped.
template <class Accion> void SinFallar(Accion accion)
{
    try {
        accion();
    } catch (const std::exception&) {
        // Nothing is reported: the next step runs.
    }
}

// The cash box's description, looked up by its code as given and, when no
// row has it, by the code widened to four digits as the insert writes it.
QString DescripcionCaja(const QString& tabla, const QString& caja, const QString& codigo)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    auto buscar = [&](const QString& valor) {
        return principal
            .DatosTabla(tabla, valor, QStringLiteral("Descripcion"), QStringLiteral("IdCajas"), Variant(8), QString(),
                        true, true)
            .toText();
    };
    QString descripcion = buscar(caja);
    if (text::Trim(descripcion).isEmpty() && codigo != text::Trim(caja)) {
        descripcion = buscar(codigo);
    }
    return descripcion;
}

QString TextoVersion()
{
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return QStringLiteral("V.") + QString::number(version.majorVersion()) + u'.' +
           QString::number(version.minorVersion()) + u'.' + QString::number(version.microVersion());
}

} // namespace

void CargarBarraEstado(platform::ui::StatusBar& barra, const QString& mensaje)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    common::ValoresCorrida& valores = common::valoresCorrida();

    int ancho = 0;
    SinFallar([&] { ancho = barra.Width(); });
    SinFallar([&] { barra.Panels(QStringLiteral("MENSAJE")).setText(mensaje); });
    bool yaCargada = false;
    SinFallar([&] { yaCargada = !barra.Panels(QStringLiteral("SERVER")).Text().isEmpty(); });
    if (yaCargada) {
        return;
    }
    for (int i = 0; i < int(kProporciones.size()); ++i) {
        SinFallar([&] { barra.Panels(i + 1).setWidth(qRound(ancho * kProporciones[std::size_t(i)])); });
    }
    SinFallar([&] { barra.Panels(QStringLiteral("SERVER")).setText(QStringLiteral("Srv: ") + principal.gServidor); });
    SinFallar([&] {
        const QString usuario = valores.UsuarioActual.isEmpty() ? principal.gUsuario : valores.UsuarioActual;
        barra.Panels(QStringLiteral("USUARIO")).setText(QStringLiteral("Uid: ") + usuario);
    });
    SinFallar([&] {
        platform::ui::Panel& base = barra.Panels(QStringLiteral("BASEDEDATOS"));
        base.setText(QStringLiteral("Db: ") + principal.gDBName);
        base.setToolTipText(base.Text());
    });

    if (valores.CajaActual.isEmpty()) {
        valores.CajaActual = QStringLiteral("1");
    }
    const QString caja = valores.CajaActual;
    const QString codigo = platform::Dll_Utilidades::shared().CodigoConCeros(Variant(text::Trim(caja)), Variant(4));
    SinFallar([&] {
        if (text::Trim(DescripcionCaja(QStringLiteral("@Admin_V_TA_Cajas"), caja, codigo)).isEmpty()) {
            QString alta = QStringLiteral("INSERT INTO @Admin_V_TA_Cajas (IDCAJAS,DESCRIPCION) VALUES('") +
                           text::SqlQuoteInner(codigo) + QStringLiteral("','CAJA ") + text::SqlQuoteInner(caja) +
                           QStringLiteral("')");
            principal.EjecutaConsultaSQL(alta);
        }
    });
    SinFallar([&] {
        barra.Panels(QStringLiteral("CAJA"))
            .setText(caja + u' ' + DescripcionCaja(QStringLiteral("V_TA_Cajas"), caja, codigo));
    });
    SinFallar([&] { barra.Panels(QStringLiteral("VERSION")).setText(TextoVersion()); });
    for (const QString& clave :
         {QStringLiteral("SERVER"), QStringLiteral("USUARIO"), QStringLiteral("BASEDEDATOS"), QStringLiteral("CAJA")}) {
        SinFallar([&] {
            platform::ui::Panel& panel = barra.Panels(clave);
            panel.setToolTipText(panel.Text());
        });
    }
}

} // namespace app
