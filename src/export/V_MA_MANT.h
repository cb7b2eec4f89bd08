#pragma once

namespace exportacion {

// A new workbook for the export (always a new one): `cantHojas` sheets, a
// count of 0 becoming 2, also in the caller's variable. Always returns 0;
// without a workbook the export's state holds none and says why.
int AbrirLibroExcel(int& cantHojas);

} // namespace exportacion
