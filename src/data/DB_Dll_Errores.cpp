// The class's error dialog and log, and the lost-connection rule.
#include "data/DB_Dll.h"

#include "common/MensajeError.h"
#include "data/frmReconectar.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/ui/Operator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <cmath>
#include <mutex>

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

std::function<void(int)>& pausa()
{
    static std::function<void(int)> actual;
    static std::once_flag registrado;
    std::call_once(registrado, [] { platform::Runtime::instance().onReset([] { actual = nullptr; }); });
    return actual;
}

void pausar(int milisegundos)
{
    if (pausa()) {
        pausa()(milisegundos);
    } else {
        pausaConVentanaViva(milisegundos);
    }
}

} // namespace

void DB_Dll::EstablecerPausaReconexion(std::function<void(int)> funcion)
{
    pausa() = std::move(funcion);
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
            const int decision = EvaluaErrorConexion(e.number(), IntentosAsegurar, QStringLiteral("AsegurarConexion"));
            if (decision == 1) {
                continue;
            }
            if (decision == 2) {
                platform::Runtime::instance().exitProgram(0);
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

int DB_Dll::EvaluaErrorConexion(int32_t CodErr, int& Intentos, const QString& Rutina)
{
    if (CodErr != db::adErr::ObjectClosed && CodErr != db::adErr::ConnectionUnusable && CodErr != db::adErr::Generic) {
        return 0;
    }
    if (Intentos < 2) {
        ++Intentos;
        if (ReintentaConectar()) {
            Intentos = 0;
            return 1;
        }
    }
    if (SinMensajes || PreguntaEnCurso) {
        return 0;
    }
    PreguntaEnCurso = true;
    const QString mensaje = QStringLiteral("SE PERDIO LA CONEXION CON EL SERVIDOR. (") + gDbPrincipal().gServidor +
                            QStringLiteral(") ") + CRLF + CRLF +
                            QStringLiteral("Queres que intentemos reconectar (Si) ") + CRLF +
                            QStringLiteral("o cerrar la aplicacion (No)?");
    const int respuesta =
        platform::op().MsgBox(mensaje, msgbox::YesNo | msgbox::Critical, QStringLiteral("Conexion a la base de datos"));
    PreguntaEnCurso = false;
    if (respuesta == msgbox::Yes) {
        if (ReconectarConAviso(10, Rutina)) {
            Intentos = 0;
            return 1;
        }
        return 2;
    }
    return 2;
}

bool DB_Dll::ReconectarConAviso(int Intentos, const QString& Rutina)
{
    bool resultado = false;
    frmReconectar forma;
    for (;;) {
        forma.Cancelar = false;
        forma.Reintentar = false;
        forma.lblMensaje->setText(QStringLiteral("Intentando reconectar con el servidor...") + CRLF + Rutina);
        forma.prgIntentos->setValue(0);
        forma.repaint();
        forma.show();
        forma.repaint();
        QCoreApplication::processEvents();
        for (int i = 1; i <= Intentos; ++i) {
            if (forma.Cancelar || forma.Reintentar) {
                break;
            }
            forma.prgIntentos->setValue(int(std::lround(i * 100.0 / Intentos)));
            forma.CmdReintentar->setEnabled(i == Intentos);
            QCoreApplication::processEvents();
            if (ReintentaConectar()) {
                resultado = true;
                break;
            }
            pausar(500);
            QCoreApplication::processEvents();
        }
        if (forma.Cancelar || gOpenFlag) {
            forma.close();
            return resultado;
        }
        Intentos = 10;
        forma.prgIntentos->setValue(0);
    }
}

} // namespace data
