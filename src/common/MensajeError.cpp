#include "common/MensajeError.h"

#include "platform/core/LogFile.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"

namespace common {

QString ArchivoBkErr()
{
    QString folder;
    if (!qEnvironmentVariable("TEMP").isEmpty()) {
        folder = qEnvironmentVariable("TMP");
    }
    folder = platform::text::Trim(folder);
    if (folder.isEmpty()) {
        folder = platform::Dll_ApiWindows::shared().CarpetaAlternativa();
    }
    folder = platform::Dll_Utilidades::shared().CarpetaConBarra(folder);
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    return folder + QStringLiteral("BKERR.LOG");
}

QString PalabraRespuesta(int answer)
{
    using namespace platform::msgbox;
    switch (answer) {
    case Retry:
        return QStringLiteral("Reintentar");
    case Ignore:
        return QStringLiteral("Ignorar");
    case Abort:
        return QStringLiteral("Abortar");
    case Cancel:
        return QStringLiteral("Cancelar");
    case Yes:
        return QStringLiteral("Si");
    case No:
        return QStringLiteral("No");
    default:
        return {};
    }
}

QString LineaBkErr(const platform::DateTime& when, const QString& rutinaParte, const QString& mensaje, int answer)
{
    using platform::text::Trim;
    return when.date().toString(QStringLiteral("MM-dd-yyyy")) + u' ' +
           when.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") +
           Trim(platform::text::FoldLineBreaks(rutinaParte)) + QStringLiteral(" Mensaje ") +
           Trim(platform::text::FoldLineBreaks(mensaje)) + QStringLiteral(" Respondio : ") + PalabraRespuesta(answer);
}

QString TextoError(const platform::ErrObject& error)
{
    return QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(error.Number) + QStringLiteral(") ") +
           platform::text::Trim(error.Description);
}

int MensajeError(const platform::ErrObject& error, std::optional<int> botones, const std::optional<QString>& rutina)
{
    if (error.Number == 0) {
        return 0;
    }
    const QString mensaje = TextoError(error);
    const QString rutinaParte = rutina ? QStringLiteral(" - ") + *rutina : QString();
    const QString titulo = error.Source + rutinaParte + QStringLiteral(" Aviso al operador!!! - 2 ");
    const int respuesta = platform::op().MsgBox(
        mensaje, botones.value_or(platform::msgbox::AbortRetryIgnore | platform::msgbox::Critical), titulo);
    platform::LogFile::appendLine(ArchivoBkErr(), LineaBkErr(platform::now(), rutinaParte, mensaje, respuesta));
    return respuesta;
}

} // namespace common
