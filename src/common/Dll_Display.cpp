#include "common/Dll_Display.h"

#include "common/Lbf_CtrlDisplay.h"
#include "platform/core/ProgramWide.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace common {

namespace {

bool habilitado(QObject* o)
{
    if (auto* w = qobject_cast<QWidget*>(o)) {
        return w->isEnabled();
    }
    if (auto* a = qobject_cast<QAction*>(o)) {
        return a->isEnabled();
    }
    return false;
}

void habilitar(QObject* o, bool enabled)
{
    if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setEnabled(enabled);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setEnabled(enabled);
    }
}

platform::ProgramWide<Dll_Display> g_cartelEspera;

} // namespace

Dll_Display::Dll_Display() = default;

Dll_Display::~Dll_Display()
{
    // A banner dropped while running must not leave the host locked.
    restaurarBloqueados();
    // Past the application's end no window may be destroyed any more.
    if (!QCoreApplication::instance()) {
        (void)m_form.release();
    }
}

Lbf_CtrlDisplay& Dll_Display::form()
{
    if (!m_form) {
        m_form = std::make_unique<Lbf_CtrlDisplay>();
    }
    return *m_form;
}

void Dll_Display::CartelInicio(const QString& Titulo, bool PermiteCancelar)
{
    Lbf_CtrlDisplay& f = form();
    f.Timer1->setInterval(100);
    f.Timer1->start();
    f.setWindowTitle(Titulo);
    f.CmdDisplayCancelar->setVisible(PermiteCancelar);
    bloquearRegistrados();
    f.show();
}

void Dll_Display::CartelMostrar(bool& Cancelado, const std::optional<platform::Variant>& L1,
                                const std::optional<platform::Variant>& l2, const std::optional<platform::Variant>& l3)
{
    Lbf_CtrlDisplay& f = form();
    const std::optional<platform::Variant>* lineas[3] = {&L1, &l2, &l3};
    for (int i = 0; i < 3; ++i) {
        if (lineas[i]->has_value()) {
            f.LblCtrol[i]->setText((*lineas[i])->toText());
        }
    }
    f.repaint();
    Cancelado = f.CmdDisplayCancelar->text() == QStringLiteral("Abortado");
    QCoreApplication::processEvents();
}

void Dll_Display::CartelCerrar()
{
    Lbf_CtrlDisplay& f = form();
    f.Timer1->setInterval(0);
    f.Timer1->stop();
    f.hide();
    m_form.reset();
    restaurarBloqueados();
}

void Dll_Display::Siempre_Visible(bool Posicion)
{
    Lbf_CtrlDisplay& f = form();
    const bool visible = f.isVisible();
    const QRect geometry = f.geometry();
    f.setWindowFlag(Qt::WindowStaysOnTopHint, Posicion);
    f.setGeometry(geometry);
    if (visible) {
        f.show();
    }
}

void Dll_Display::BloquearMientrasCorre(QWidget* control)
{
    m_registrados.emplace_back(control);
    if (m_corriendo) {
        bloquear(control);
    }
}

void Dll_Display::BloquearMientrasCorre(QAction* accion)
{
    m_registrados.emplace_back(accion);
    if (m_corriendo) {
        bloquear(accion);
    }
}

void Dll_Display::bloquear(QObject* objeto)
{
    if (!objeto) {
        return;
    }
    const bool yaBloqueado = std::any_of(m_bloqueados.begin(), m_bloqueados.end(),
                                         [objeto](const Bloqueado& b) { return b.objeto == objeto; });
    if (yaBloqueado) {
        return;
    }
    m_bloqueados.push_back({objeto, habilitado(objeto)});
    habilitar(objeto, false);
}

void Dll_Display::bloquearRegistrados()
{
    // A second CartelInicio while running keeps the states recorded by the first.
    m_corriendo = true;
    std::erase_if(m_registrados, [](const QPointer<QObject>& p) { return p.isNull(); });
    for (const QPointer<QObject>& p : m_registrados) {
        bloquear(p.data());
    }
}

void Dll_Display::restaurarBloqueados()
{
    m_corriendo = false;
    for (const Bloqueado& b : std::exchange(m_bloqueados, {})) {
        if (b.objeto) {
            habilitar(b.objeto.data(), b.estabaHabilitado);
        }
    }
}

Dll_Display& CartelEspera()
{
    return g_cartelEspera.get();
}

} // namespace common
