// The class's error dialog and log, and the lost-connection rule.
#include "data/DB_Dll.h"

#include "common/MensajeError.h"
#include "data/DialogoReconexion.h"
#include "platform/core/LogFile.h"
#include "platform/core/Operator.h"
#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cmath>
#include <functional>
#include <memory>

namespace data {

using platform::db::DbError;
namespace db = platform::db;
namespace text = platform::text;
namespace msgbox = platform::msgbox;

namespace {

const QString CRLF = QStringLiteral("\r\n");

// Waits the given time while the windows stay live.
void pausaConVentanaViva(int milisegundos)
{
    QDeadlineTimer fin(milisegundos);
    while (!fin.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
}

// The pause a test set; none in a fresh program.
platform::ProgramWide<std::function<void(int)>> g_pausa;

void pausar(int milisegundos)
{
    if (const auto* pausa = g_pausa.find(); pausa && *pausa) {
        (*pausa)(milisegundos);
    } else {
        pausaConVentanaViva(milisegundos);
    }
}

} // namespace

void DB_Dll::EstablecerPausaReconexion(std::function<void(int)> funcion)
{
    g_pausa.set(std::make_unique<std::function<void(int)>>(std::move(funcion)));
}

QString DB_Dll::ArchivoLogClase() const
{
    if (!gLogErr.isEmpty()) {
        return gLogErr;
    }
    QString carpeta = platform::Runtime::instance().writableFolder();
    if (!carpeta.endsWith(u'/')) {
        carpeta += u'/';
    }
    return carpeta + QStringLiteral("BKERR.LOG");
}

int DB_Dll::TratamientoErrores(const platform::ErrObject& error, std::optional<int> Botones,
                               const std::optional<QString>& Rutina)
{
    if (SinMensajes || error.Number == 0) {
        return 0;
    }
    const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(error.Number) +
                            QStringLiteral(") ") + text::Trim(error.Description);
    const QString rutinaParte = Rutina ? QStringLiteral(" - ") + *Rutina : QString();
    const QString titulo = error.Source + rutinaParte + QStringLiteral(" Aviso al operador!!! - 5 ");
    const int respuesta =
        platform::op().MsgBox(mensaje, Botones.value_or(msgbox::AbortRetryIgnore | msgbox::Critical), titulo);
    // A log that cannot be written is skipped.
    platform::LogFile::appendLine(ArchivoLogClase(),
                                  common::LineaBkErr(platform::now(), rutinaParte, mensaje, respuesta));
    return respuesta;
}

void DB_Dll::RegistraFallo(const QString& rutina, const platform::ErrObject& error, const QString& sentencia)
{
    UltimoFallo = FalloAtendido{error, 0};
    const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(error.Number) +
                            QStringLiteral(") ") + text::Trim(error.Description) + QStringLiteral(" Sentencia: ") +
                            sentencia;
    platform::LogFile::appendLine(ArchivoLogClase(),
                                  common::LineaBkErr(platform::now(), QStringLiteral(" - ") + rutina, mensaje, 0));
}

bool DB_Dll::AsegurarConexion()
{
    for (;;) {
        try {
            if (!gCnn) {
                gCnn = std::make_shared<db::Connection>();
            }
            if (gCnn->State() != db::adStateOpen) {
                gCnn->Open(gConnString, QString(), QString(), db::adCmdUnspecified);
            }
            gOpenFlag = gCnn->State() == db::adStateOpen;
            return gOpenFlag;
        } catch (const DbError& e) {
            switch (EvaluaErrorConexion(e.number(), IntentosAsegurar, QStringLiteral("AsegurarConexion"))) {
            case DecisionConexion::Reintentar:
                continue;
            case DecisionConexion::TerminarPrograma:
                platform::Runtime::instance().exitProgram(0);
            case DecisionConexion::ManejoComun:
                break;
            }
            if (SinMensajes) {
                return false;
            }
            if (util().MostrarError(platform::ErrObject(e), std::nullopt, QStringLiteral("AsegurarConexion")) !=
                msgbox::Retry) {
                return false;
            }
        }
    }
}

bool DB_Dll::ReintentaConectar()
{
    gOpenFlag = false;
    try {
        QString cadena;
        if (gCnn) {
            cadena = gConnString;
            try {
                if (gCnn->State() != db::adStateClosed) {
                    gCnn->Close();
                }
            } catch (const DbError&) {
            }
        }
        if (cadena.isEmpty()) {
            cadena = cnn().ConnectionString();
        }
        if (cadena.isEmpty()) {
            return false;
        }
        if (!text::Contains(cadena, u"Connect Timeout=")) {
            cadena += QStringLiteral(";Connect Timeout=5");
        }
        cnn().setConnectionTimeout(5);
        cnn().setCommandTimeout(10);
        cnn().Open(cadena, QString(), QString(), db::adCmdUnspecified);
        gOpenFlag = cnn().State() == db::adStateOpen;
        return gOpenFlag;
    } catch (const DbError&) {
        gOpenFlag = false;
        return false;
    }
}

DecisionConexion DB_Dll::EvaluaErrorConexion(int32_t CodErr, int& Intentos, const QString& Rutina)
{
    if (CodErr != db::adErr::ObjectClosed && CodErr != db::adErr::ConnectionUnusable && CodErr != db::adErr::Generic) {
        return DecisionConexion::ManejoComun;
    }
    if (Intentos < 2) {
        ++Intentos;
        if (ReintentaConectar()) {
            Intentos = 0;
            return DecisionConexion::Reintentar;
        }
    }
    if (SinMensajes || PreguntaEnCurso) {
        return DecisionConexion::ManejoComun;
    }
    PreguntaEnCurso = true;
    const QString mensaje = QStringLiteral("SE PERDIO LA CONEXION CON EL SERVIDOR. (") + gDbPrincipal().gServidor +
                            QStringLiteral(") ") + CRLF + CRLF +
                            QStringLiteral("Queres que intentemos reconectar (Si) ") + CRLF +
                            QStringLiteral("o cerrar la aplicacion (No)?");
    const int respuesta =
        platform::op().MsgBox(mensaje, msgbox::YesNo | msgbox::Critical, QStringLiteral("Conexion a la base de datos"));
    PreguntaEnCurso = false;
    if (respuesta == msgbox::Yes && ReconectarConAviso(10, Rutina)) {
        Intentos = 0;
        return DecisionConexion::Reintentar;
    }
    return DecisionConexion::TerminarPrograma;
}

bool DB_Dll::ReconectarConAviso(int Intentos, const QString& Rutina)
{
    DialogoReconexion* dialogo = DialogoReconexionInstalado();
    if (!dialogo) {
        return false;
    }
    bool resultado = false;
    for (;;) {
        dialogo->Mostrar(QStringLiteral("Intentando reconectar con el servidor...") + CRLF + Rutina);
        QCoreApplication::processEvents();
        for (int i = 1; i <= Intentos; ++i) {
            if (dialogo->Cancelar() || dialogo->Reintentar()) {
                break;
            }
            dialogo->Avance(int(std::lround(i * 100.0 / Intentos)), i == Intentos);
            QCoreApplication::processEvents();
            if (ReintentaConectar()) {
                resultado = true;
                break;
            }
            pausar(500);
            QCoreApplication::processEvents();
        }
        if (dialogo->Cancelar() || gOpenFlag) {
            dialogo->Cerrar();
            return resultado;
        }
        Intentos = 10;
    }
}

} // namespace data
