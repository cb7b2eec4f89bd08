#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace data_tests {

// The reconnect dialog while it is on screen, or null.
QWidget* ventanaReconectar();

// What the reconnect dialog showed at one pause between two attempts.
struct Pausa
{
    int progreso = -1;
    bool reintentarHabilitado = false;
    QString mensaje;
    int milisegundos = 0;
};

// Installs the program's reconnect dialog and replaces the pause between two
// reconnect attempts with one that records the dialog and then runs `accion`
// with the pause's number (1-based) and the dialog (null when it is not on screen).
std::shared_ptr<std::vector<Pausa>> registrarPausas(std::function<void(int, QWidget*)> accion);

// Presses the dialog's button with that object name ("CmdReintentar", "cmdCancelar").
void pulsar(QWidget* ventana, const QString& boton);

// The text of the lost-connection question for the main instance's server.
QString preguntaConexion(const QString& servidor);

} // namespace data_tests
