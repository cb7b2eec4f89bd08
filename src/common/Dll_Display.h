#pragma once

#include "platform/core/Variant.h"

#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QObject;
class QWidget;

namespace common {

class Lbf_CtrlDisplay;

// The busy banner: the only way in to its window. The window is loaded fresh
// whenever a member touches the banner while it has none, and discarded by
// CartelCerrar. A running task polls the banner through CartelMostrar, which
// also tells it whether the operator has pressed cancel.
//
// While a banner runs (CartelInicio to CartelCerrar), the host's controls and
// actions registered with BloquearMientrasCorre are disabled, so that the
// operator cannot start a second long run underneath the first; CartelCerrar
// gives each one back the enabled state it had before.
class Dll_Display
{
public:
    Dll_Display();
    ~Dll_Display();
    Dll_Display(const Dll_Display&) = delete;
    Dll_Display& operator=(const Dll_Display&) = delete;

    // Starts the animation, captions the window `Titulo`, shows the cancel
    // button only when `PermiteCancelar`, and shows the banner modeless.
    void CartelInicio(const QString& Titulo, bool PermiteCancelar);
    // Replaces each progress line that is given (a Null becomes an empty
    // text), repaints, sets `Cancelado` to whether cancel was pressed, and
    // processes pending window events once so that a click is seen.
    void CartelMostrar(bool& Cancelado, const std::optional<platform::Variant>& L1 = std::nullopt,
                       const std::optional<platform::Variant>& l2 = std::nullopt,
                       const std::optional<platform::Variant>& l3 = std::nullopt);
    // Stops the animation, hides and discards the window; the next member
    // call loads a fresh one.
    void CartelCerrar();
    // Keeps the banner above other windows (true) or not (false), leaving its
    // position and size as they are.
    void Siempre_Visible(bool Posicion);

    // Registers a control or action of the host that starts a long run; it is
    // disabled while a banner runs. Objects destroyed meanwhile are skipped.
    void BloquearMientrasCorre(QWidget* control);
    void BloquearMientrasCorre(QAction* accion);

    // The window as it is now, or nullptr when none is loaded.
    Lbf_CtrlDisplay* ventana() const { return m_form.get(); }

private:
    Lbf_CtrlDisplay& form();
    void bloquear(QObject* objeto);
    void bloquearRegistrados();
    void restaurarBloqueados();

    struct Bloqueado
    {
        QPointer<QObject> objeto;
        bool estabaHabilitado;
    };

    std::unique_ptr<Lbf_CtrlDisplay> m_form;
    std::vector<QPointer<QObject>> m_registrados;
    std::vector<Bloqueado> m_bloqueados;
    bool m_corriendo = false;
};

// The program-wide banner, created on first use and dropped when the
// program's context is reset.
Dll_Display& CartelEspera();

} // namespace common
