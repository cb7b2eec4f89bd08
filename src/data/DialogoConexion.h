#pragma once

#include <QString>

#include <memory>

namespace data {

// The connection dialog (frmAcceso) as the data-access class uses it: the
// class fills the boxes, the dialog is shown modally, and the class reads the
// boxes and Aceptar back. The form implements it; tests install a scripted one.
class DialogoConexion
{
public:
    virtual ~DialogoConexion() = default;

    QString TxtDbName;
    QString TxtServidor;
    QString TxtUserId;
    QString TxtUserPassword;
    // Selected entry of the platform list: 0 "SQL Server", greater for Oracle.
    int CboPlataformaDB = 0;
    // True when the operator accepted the dialog.
    bool Aceptar = false;

    // Loads the form with the fields above, shows it modally and, when it
    // closes, writes the boxes and Aceptar back and unloads it.
    virtual void MostrarModal() = 0;
    // Hides the form when it is on screen (the dialog itself may have asked
    // for the connection that failed).
    virtual void Ocultar() = 0;
};

// Installs the program's connection dialog; an empty pointer removes it. The
// dialog is dropped when the program context is reset.
void InstalarDialogoConexion(std::unique_ptr<DialogoConexion> dialogo);
// The installed dialog, or nullptr when none is: the data-access class then
// treats the dialog as cancelled.
DialogoConexion* DialogoConexionInstalado();

} // namespace data
