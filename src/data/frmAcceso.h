#pragma once

#include "data/DialogoConexion.h"
#include "platform/core/Variant.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace data {

// The connection dialog "Control de Acceso": the application log-in (user
// and password), the data base, the server and the platform, the list of
// connections registered in BASES.TXT, "Registrar" (test the typed
// connection on a connection of its own and register it) and "Crear Acceso
// Directo" (a desktop entry that starts the program on the typed
// connection). "Conectar" copies the user and password into the run's
// current values, sets Aceptar and hides the dialog; "Cancelar", Escape and
// closing the window clear Aceptar and hide it. Hints are shown as
// placeholders, so an untouched box reads as empty.
class frmAcceso : public QDialog
{
public:
    explicit frmAcceso(QWidget* parent = nullptr);

    bool Aceptar = false;

    QFrame* framAcceso;
    QLineEdit* TxtUserId;
    QLineEdit* TxtUserPassword;
    QLineEdit* TxtDbName;
    QLineEdit* TxtServidor;
    QComboBox* CboPlataformaDB;
    QPushButton* bcAceptar;
    QPushButton* bcCancelar;
    QListWidget* lstBases;
    QPushButton* CmdRegistrar;
    QLineEdit* TxtPuerto;
    QPushButton* CmdLineaComando;
    // The labels beside the boxes: "Usuario", "Contrasena", "Base de datos",
    // "Servidor", "Plataforma".
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    // Headings "AUTENTICACION", "Conexiones registradas", "Control de Acceso".
    std::array<QLabel*, 3> Label1;
    QLabel* Label7;
    QLabel* Label8;
    QFrame* Line1;

    // Registers the typed connection when BASES.TXT does not exist yet.
    void RegistrarBases();
    // Starts the command line `Archivo` (no shell) and waits for it, keeping
    // the window live; false with `ErrDevuelto` set when it cannot start.
    bool EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto);
    // Reloads lstBases from BASES.TXT and selects its first row.
    void llenarlist();
    // Looks the key up in BASES.TXT and fills the selected connection; leaves
    // it as it was when no record matches.
    void DatosBase(const QString& Nombre);
    // Whether a connection opens with these values, on a connection of its
    // own (the program's connections are not touched). Each value is quoted
    // so that it cannot add attributes to the connection string.
    bool ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname, const QString& Usuario,
                           const QString& Password, const QString& Proveedor);
    // Copies the selected row's connection into the boxes.
    void AsignarDatosBase();
    // Shows the box's hint as its placeholder and drops a text that is blank
    // or equal to the hint.
    void MensajeInicial(QLineEdit* ObjTxt);

    // The selected registered connection (the password deciphered) and the port.
    QString BaseServidor;
    QString BaseNombre;
    QString BaseUsuario;
    QString BasePassword;
    platform::Variant Puerto;

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void bcAceptar_Click();
    void bcCancelar_Click();
    void CmdRegistrar_Click();
    void CmdLineaComando_Click();
    void lstBases_Click();
    void lstBases_DblClick();
    void Label8_Click();
    QString ClaveTecleada() const;
    // Tests and writes the typed connection, starts the registering program
    // and reloads the list; true when the connection was written. A refusal
    // stops it with its message; an error it does not pass over is shown and
    // the registering program and the list still follow.
    bool Registrar();
};

// The errors that a registration passes over, going on with its next step:
// 3704, 1056, 440, 20480 and &H80070420, which starting a server raises.
bool ErrorPasadoPorAlto(int32_t numero);

// The program's connection dialog for the data-access class: each showing
// loads a fresh frmAcceso, fills it, shows it modally and reads it back.
class DialogoAcceso : public DialogoConexion
{
public:
    void MostrarModal() override;
    void Ocultar() override;

private:
    // The form while it is shown, else nullptr.
    frmAcceso* m_form = nullptr;
};

// Installs DialogoAcceso as the program's connection dialog.
void InstalarDialogoAcceso();

} // namespace data
