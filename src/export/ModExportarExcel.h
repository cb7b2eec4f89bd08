#pragma once

#include "platform/core/DateTime.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace common {
class PictureBox;
}

namespace exportacion {

struct EstadoHoja;

// Writes the rows of the query `sql` (run on gDbPrincipal) into a new
// workbook: an optional title row (`ElTitulo`, with the server's date) and
// subtitle row (`ElTitulo1`), a coloured heading row, one sheet row per
// record with a format per value, banded rows, and sums of the fields named
// in `CamposTotaliza` (comma-separated, matched exactly). Progress goes to
// the busy banner, which also lets the operator cancel, or, when `PicMsg` is
// given, to a percentage bar painted in it. A cancelled export keeps the
// head and the rows written so far. At the end the workbook is opened with
// the desktop's spreadsheet application (`Preview`, or no `ElNombre`) or
// saved under `ElNombre`, which is replaced only by a complete workbook.
// `cantHojas` is not used: the workbook has 2 sheets. An empty result
// produces nothing; a query that cannot be opened is reported by the data
// layer; a workbook that cannot be written, saved or opened is reported
// through the common error dialog, with the cause. A workbook that lacks
// records past the sheet's last row, the totals below them or the end of a
// text longer than a cell holds is followed by a notice that says so.
void ExportarExcelPorRS(const QString& sql, bool Preview, const QString& ElTitulo, const QString& ElTitulo1,
                        const QString& ElNombre, common::PictureBox* PicMsg, int cantHojas,
                        const QString& CamposTotaliza);

// The sheet head of the running export on its active sheet (title texts
// from the export's state, the server's date), for a heading count of
// `count` − 1; leaves the heading row's number in the state's
// FilaEncabezado. A failing step ends it.
void EscribirEncabezadoExcel(int& count, const QStringList& nombres, const std::vector<long>& anchos);

// The export as the grid's "Excel" button knows it.
inline void ExportarExcel(const QString& sql, bool Preview, const QString& ElTitulo, const QString& ElTitulo1,
                          const QString& ElNombre, common::PictureBox* PicMsg, int cantHojas,
                          const QString& CamposTotaliza)
{
    ExportarExcelPorRS(sql, Preview, ElTitulo, ElTitulo1, ElNombre, PicMsg, cantHojas, CamposTotaliza);
}

// The module's state (one export at a time), back to empty when the
// program context is reset.
EstadoHoja& EstadoExportarExcel();

// Installs the source of the server's date for the head's title row; the
// start-up installs the program's. Until then, and after a reset of the
// program context, it is the program's clock.
void DefinirFechaServidor(std::function<platform::DateTime()> fecha);

} // namespace exportacion
