#pragma once

#include <QString>

#include <memory>

namespace data {

// The reconnect dialog (frmReconectar) as the data-access class uses it during
// the series of reconnect attempts: the class puts it on screen with a
// message, moves its progress before each attempt, reads its two buttons
// after each yield and closes it when the link is back or the operator gave
// up. The form implements it; tests may install a scripted one.
class DialogoReconexion
{
public:
    virtual ~DialogoReconexion() = default;

    // Shows the modeless dialog with `mensaje`, the progress at 0 and neither
    // button pressed.
    virtual void Mostrar(const QString& mensaje) = 0;
    // The progress of the series (0 to 100), and whether "Reintentar" may be pressed.
    virtual void Avance(int porcentaje, bool reintentarHabilitado) = 0;
    // Whether "Cerrar Sistema" was pressed since Mostrar.
    virtual bool Cancelar() const = 0;
    // Whether "Reintentar" was pressed since Mostrar.
    virtual bool Reintentar() const = 0;
    // Takes the dialog off the screen.
    virtual void Cerrar() = 0;
};

// Installs the program's reconnect dialog; an empty pointer removes it. The
// dialog is dropped when the program context is reset.
void InstalarDialogoReconexion(std::unique_ptr<DialogoReconexion> dialogo);
// The installed dialog, or nullptr when none is: the data-access class then
// treats the question to reconnect as if "Cerrar Sistema" were pressed at once.
DialogoReconexion* DialogoReconexionInstalado();

} // namespace data
