#pragma once

#include "data/DialogoConexion.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace arranque_tests {

// One answer of the scripted connection dialog.
struct RespuestaDialogo
{
    bool aceptar = false;
    QString usuario;
    QString clave;
    // The data base and server boxes; nullopt leaves what the dialog was filled with.
    std::optional<QString> base;
    std::optional<QString> servidor;
    // Set to make the showing fail with this error number instead.
    std::optional<int> falla;
};

// What the dialog showed in its boxes when it was opened.
struct Apertura
{
    QString TxtDbName;
    QString TxtServidor;
    QString TxtUserId;
    QString TxtUserPassword;
};

// The connection dialog answered from a queue. Accepting copies the user
// and password boxes into the run's current values, as the dialog's accept
// button does. A showing that the queue does not expect fails the test and
// cancels.
class DialogoGuionado final : public data::DialogoConexion
{
public:
    void MostrarModal() override;
    void Ocultar() override {}

    std::deque<RespuestaDialogo> respuestas;
    QList<Apertura> aperturas;
};

// Installs a fresh scripted dialog as the program's connection dialog.
DialogoGuionado& InstalarDialogoGuionado();

// Builds the demo server folder (BKDEMO and BK_ESTADISTICAS) inside the
// test's folder and returns its path.
QString ConstruirServidorDemo();

// Opens the main instance on the demo data base as the start-up does,
// without the log-in; the administrator flag is left clear.
void AbrirPrincipal(const QString& servidor);

// The parameter text that starts the program on the demo data base.
QString TextoDemo(const QString& servidor, const QString& clave = QStringLiteral("demo"));

// Rows of a query run on a connection of its own, each value as text.
QList<QStringList> Filas(const QString& servidor, const QString& sql, const QString& base = QStringLiteral("BKDEMO"));
// Runs statements on a connection of its own.
void Ejecutar(const QString& servidor, const QString& sql, const QString& base = QStringLiteral("BKDEMO"));

// The prompts of the message boxes asked so far.
QStringList MensajesPreguntados();

} // namespace arranque_tests
