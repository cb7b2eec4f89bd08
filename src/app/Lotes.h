#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace app {

// Sends the non-blank statements as one batch that opens a transaction on
// the main connection, then commits it, or rolls it back when any statement
// of the batch failed. A failure writes an AUX_ERR row and, with
// `MostrarMensaje`, shows the errors to the operator ("Aviso al Operador!").
// `HayError`, `NroError` (native number of the first error), `SQLEjecutado`
// (the batch as sent) and `TextoError` are outputs; a first error 2627 or
// 547 with its ignore flag set is a quiet failure (no message, `TextoError`
// the bare description). A list of blank statements sends nothing.
void GActualizarDatoScript(const QStringList& Sentencias, bool& HayError, int32_t& NroError, bool IgnorarError2627,
                           bool IgnorarError547, QString& SQLEjecutado, QString& TextoError, bool MostrarMensaje);

} // namespace app
