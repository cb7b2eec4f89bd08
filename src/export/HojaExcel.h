#pragma once

#include "data/DB_Dll.h"
#include "platform/core/DateTime.h"
#include "platform/xlsx/Workbook.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace platform::db {
class Recordset;
}

namespace exportacion {

// The work both exports share: the program's (ModExportarExcel) and the
// grid's own copy. They differ only in how they report progress and cancel,
// in the date of the head and in whether field names are matched with
// regard to letter case (Reglas).

// The state of one running export: the workbook that stands for the
// spreadsheet application, the title texts and the heading row.
struct EstadoHoja
{
    std::unique_ptr<platform::xlsx::Workbook> AppExcel;
    QString TituloHoja;
    QString SubtituloHoja;
    double FilaEncabezado = 0;
    // Why the workbook could not be created, when it could not.
    platform::xlsx::Failure ErrorLibro;
    // An export is running on this state: one started from its event
    // processing (a second click) does nothing.
    bool EnCurso = false;
};

// Marks the state's export running while it lives; `ocupado` tells that
// another one already ran on it, and then it changes nothing.
class ExportacionEnCurso
{
public:
    explicit ExportacionEnCurso(EstadoHoja& estado);
    ~ExportacionEnCurso();
    ExportacionEnCurso(const ExportacionEnCurso&) = delete;
    ExportacionEnCurso& operator=(const ExportacionEnCurso&) = delete;
    bool ocupado() const { return m_estado == nullptr; }

private:
    EstadoHoja* m_estado;
};

// How field names are matched: the key field "ID", the date field
// "FhUltimoCosto" and the names of the fields to total.
struct Reglas
{
    Qt::CaseSensitivity nombres = Qt::CaseSensitive;
};

// The heading lists built from the record set's fields, indexed from 1
// (entry 0 is empty), and the sheet column of each field (0 for the key
// field "ID", which is not exported).
struct Encabezados
{
    QStringList nombres{QString()};
    std::vector<long> anchos{0};
    std::vector<int> columnas;
};
Encabezados ArmarEncabezados(const platform::db::Recordset& rs, const Reglas& reglas);

// The start of an export: the title texts kept, the query opened on
// gDbPrincipal (false, with the record set closed, when it has no rows or
// could not be opened, which the data layer reports), the heading row set
// to 1 and the heading lists built.
bool EmpezarExportacion(EstadoHoja& estado, const QString& sql, const QString& ElTitulo, const QString& ElTitulo1,
                        const Reglas& reglas, data::RecordsetPtr& rs, Encabezados& encabezados);

// A new workbook of `hojas` sheets in AppExcel; false (the reason in
// ErrorLibro) when there is none.
bool CrearLibro(EstadoHoja& estado, int hojas);

// The sheet head: title row (title in column 2, `fecha` as "dd/mm" in the
// last heading column, at least column 3, both red and bold), subtitle row
// (column 1, red and bold), the heading row (blue, bordered, white bold
// names) and the column widths (widths ÷ 90, at most the application's
// 255). `cantidad` is the lists' size. The heading row's number goes to
// FilaEncabezado first, so that the records always follow it; a failing
// step ends the head and returns false, a complete one returns true.
bool EscribirEncabezado(EstadoHoja& estado, int cantidad, const QStringList& nombres, const std::vector<long>& anchos,
                        const platform::DateTime& fecha);

// Where the walk is, for the progress reports.
struct Avance
{
    int64_t fila = 0;     // the row counter: heading row plus records written
    int64_t posicion = 0; // the current record's position, 1-based
    int64_t cantidad = 0; // the record count
};
enum class Momento { AntesDeLaCelda, DespuesDeLaCelda };
// The percentage of a picture box's report (the record's position over the
// count) and its caption: the title, " Leidos: ", the position, " DE ", the
// count and " Avance: ".
double PorcentajeAvance(const Avance& avance);
QString LeyendaAvance(const QString& titulo, const Avance& avance);

// Reports progress (yielding to window events as the caller does) and
// returns true when the export must stop.
using Informe = std::function<bool(Momento, const Avance&)>;

struct Recorrido
{
    int64_t ultimaFila = 0; // the row counter at the end: the last data row completed
    bool cancelado = false;
    std::vector<double> sumas; // per sheet column, the numbers written in it
    // What did not reach the sheet, for the notice at the end: the records
    // past its last row, the sheet columns whose texts were cut to what a
    // cell holds, and totals that found no row below the data.
    int64_t sinLugar = 0;
    std::set<int> columnasCortadas;
    bool totalesSinLugar = false;
};

// Writes every record, from the current one to the end, one sheet row each
// after the heading row, by the value rules, with the rows banded; a text
// longer than a cell holds is cut to its beginning. The walk ends at the
// sheet's last row, counting the records left. The report is asked before
// and after each cell, but at most once per IntervaloAvance (at every cell
// when it is 0), so that a long export is not spent repainting.
Recorrido RecorrerRegistros(EstadoHoja& estado, platform::db::Recordset& rs, const Encabezados& encabezados,
                            const Reglas& reglas, const Informe& informar);

// The totals row below the last data row: for each name of the
// comma-separated list (an empty name names no field), every exported field
// of that name gets a bold sum of its column from the first to the last data
// row. Totals that would fall below the sheet's last row are not written,
// and `recorrido` says so.
void EscribirTotales(EstadoHoja& estado, const platform::db::Recordset& rs, const Encabezados& encabezados,
                     const QString& CamposTotaliza, const Reglas& reglas, Recorrido& recorrido);

// The end of an export: with `Preview`, or without a name, the workbook is
// completed and opened with the desktop's spreadsheet application; else it
// is saved under `ElNombre`. AppExcel is released. Failures (no workbook,
// not written, not saved, not opened) go to the common error dialog under
// the routine's name, with their cause (no room on the disk, no permission,
// no such folder). A delivered workbook that lacks part of the data
// (`recorrido`) is followed by a notice that says what is missing.
void EntregarLibro(EstadoHoja& estado, bool Preview, const QString& ElNombre, const QString& rutina,
                   const Encabezados& encabezados, const Recorrido& recorrido);

// The least time between two progress reports, in milliseconds (50 unless
// set; back to 50 when the program context is reset).
int IntervaloAvance();
void DefinirIntervaloAvance(int milisegundos);

} // namespace exportacion
