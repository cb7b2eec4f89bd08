#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Reads, once per start, the settings that the forms consult most often into
// the run's values (common::ValoresCorrida) and the module's (MasUsadas of
// the context), the logged-in user's row of the users table, and the
// company's VAT condition; writes the default colours CFondo 16774118 and
// CLetra 0 when the two read the same. `CarpetaPrograma` ends in the folder
// separator. Every failing step is skipped; nothing is reported.
void CfgMasUsadas(const QString& CarpetaPrograma);

// The executable names of the sales-side programs that take their currency
// decimals from "CantidadDecimalesVentas". This program names none; tests
// name their own executable.
void EstablecerProgramasLadoVentas(const QStringList& nombres);

} // namespace app
