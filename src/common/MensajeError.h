#pragma once

#include "platform/core/DateTime.h"
#include "platform/util/ErrObject.h"

#include <QString>

#include <optional>

namespace common {

// The common error dialog: shows "Ha ocurrido el Siguiente Error (n) ..."
// with the given message-box style (18 when omitted: Abort, Retry and Ignore
// with the critical icon), appends one line to BKERR.LOG and returns the
// operator's answer (4 retry, 5 ignore, 3 abort, ...). An error number 0
// shows nothing, writes nothing and returns 0. A log that cannot be written
// is skipped; the answer is still returned.
int MensajeError(const platform::ErrObject& error, std::optional<int> botones = std::nullopt,
                 const std::optional<QString>& rutina = std::nullopt);

// The text of the error dialogs: "Ha ocurrido el Siguiente Error (" + the
// number + ") " + the description, trimmed.
QString TextoError(const platform::ErrObject& error);

// BKERR.LOG's path: in the TMP folder when TEMP is set (TEMP is only
// tested), else in the fall-back folder of Dll_ApiWindows.
QString ArchivoBkErr();

// The word that BKERR.LOG writes for a message-box answer ("Reintentar",
// "Ignorar", ...; empty for OK and unknown answers).
QString PalabraRespuesta(int answer);

// One BKERR.LOG line, without its CR LF: "mm-dd-yyyy hh:mm:ss Rutina: <part>
// Mensaje <message> Respondio : <word>". The routine part and the message are
// trimmed, and their line breaks become blanks so that each report stays one line.
QString LineaBkErr(const platform::DateTime& when, const QString& rutinaParte, const QString& mensaje, int answer);

} // namespace common
