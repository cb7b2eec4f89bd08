#pragma once

#include "platform/core/DateTime.h"

namespace app {

// The data-base server's current date and time, to the whole second. When
// the server gives no row (or cannot be asked), the operating date setting
// "FECHAOPERHASTA" when UsaFechaDia is on and it reads as a date, else the
// program's clock. Failures are skipped; nothing is reported.
platform::DateTime FechaServidor();

} // namespace app
