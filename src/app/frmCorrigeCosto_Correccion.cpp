// The form's side of the correction run: it takes the choices of the form,
// runs CorreccionPrecios with its progress in lblMensaje, and shows the result.

#include "app/frmCorrigeCosto.h"

#include "common/Dll_Display.h"
#include "common/MsgBoxTemporal.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/ui/ListView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace app {

Regla frmCorrigeCosto::ReglaElegida() const
{
    if (OptSolosi[0]->isChecked()) {
        return Regla::Mayor;
    }
    if (OptSolosi[1]->isChecked()) {
        return Regla::Menor;
    }
    if (OptSolosi[2]->isChecked()) {
        return Regla::Todos;
    }
    return Regla::Ninguna;
}

bool frmCorrigeCosto::Modificar(const QString& anterior, const QString& actual) const
{
    return CorreccionPrecios::Modificar(anterior, actual, ReglaElegida());
}

void frmCorrigeCosto::BloquearControles(bool bloquear)
{
    if (bloquear) {
        m_bloqueados.clear();
        for (QWidget* control :
             std::initializer_list<QWidget*>{cmdCorregir, cmdRecargar, Frame1, cmbPrecio, CmbLista, lstListado}) {
            m_bloqueados.push_back({control, control->isEnabled()});
            control->setEnabled(false);
        }
        return;
    }
    for (const EstadoControl& estado : m_bloqueados) {
        estado.control->setEnabled(estado.habilitado);
    }
    m_bloqueados.clear();
}

void frmCorrigeCosto::EjecutarCorreccion(platform::ui::ListItem& item)
{
    if (m_corrida) {
        return;
    }
    // Everything the run depends on is taken once, here.
    CorreccionPrecios::Eleccion eleccion;
    eleccion.ClasePrecio = ClaseValida(ClasePrecio);
    eleccion.CodigoLista = CodigoLista();
    eleccion.regla = ReglaElegida();

    lblMensaje->setText(QStringLiteral(" Iniciando "));

    if (!RangoDelItem(item, eleccion.primera, eleccion.ultima)) {
        platform::op().MsgBox(QStringLiteral("El ítem no posee rango válido."), platform::msgbox::Exclamation);
        lblMensaje->clear();
        return;
    }
    if (eleccion.regla == Regla::Ninguna) {
        platform::op().MsgBox(QStringLiteral("No hay una regla seleccionada: elija cuándo se corrige el precio."),
                              platform::msgbox::Exclamation);
        lblMensaje->clear();
        return;
    }

    BloquearControles(true);
    CorreccionPrecios corrida(data::gDbPrincipal(), [] { return platform::now(); });
    m_corrida = &corrida;
    m_salirPedido = false;
    m_ultimaCorrida = corrida.EjecutarCorreccion(eleccion, [this](const QString& texto) {
        lblMensaje->setText(texto);
        QCoreApplication::processEvents();
    });
    m_corrida = nullptr;
    common::CartelEspera().CartelCerrar();
    lblMensaje->clear();
    BloquearControles(false);
    if (m_salirPedido) {
        // The log is closed and what was written stays written.
        platform::Runtime::instance().exitProgram(0);
    }

    if (m_ultimaCorrida.fin == CorreccionPrecios::Fin::SinRegistro) {
        platform::op().MsgBox(QStringLiteral("No se pudo crear el registro de correcciones ") +
                                  m_ultimaCorrida.archivo + QStringLiteral(". No se corrigió ningún precio."),
                              platform::msgbox::Critical);
        return;
    }
    const CorreccionPrecios::Aviso aviso = CorreccionPrecios::AvisoFinal(m_ultimaCorrida);
    common::MostrarMensajeTemporal(aviso.texto, aviso.estilo, QStringLiteral("ATENCION"), 0);
}

} // namespace app
