#include "export/V_MA_MANT.h"

#include "export/HojaExcel.h"
#include "export/ModExportarExcel.h"

namespace exportacion {

int AbrirLibroExcel(int& cantHojas)
{
    if (cantHojas == 0) {
        cantHojas = 2;
    }
    CrearLibro(EstadoExportarExcel(), cantHojas);
    return 0;
}

} // namespace exportacion
