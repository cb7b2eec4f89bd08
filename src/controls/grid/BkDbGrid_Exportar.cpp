// The grid's own spreadsheet export: progress in its picture box, cancel
// through "Cancelar carga...".
#include "controls/grid/BkDbGrid.h"

#include "common/PictureBox.h"
#include "common/PintaProgreso.h"
#include "platform/core/Runtime.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

namespace controls {

using namespace exportacion;

void BkDbGrid::ExportarExcelPorRsOSCX(const QString& sql, bool Preview, const QString& ElTitulo,
                                      const QString& ElTitulo1, const QString& ElNombre, common::PictureBox* picMsg,
                                      int cantHojas, const QString& CamposTotaliza)
{
    (void)cantHojas;
    const ExportacionEnCurso enCurso(m_exportacion);
    if (enCurso.ocupado()) {
        return;
    }
    // A cancel of an earlier load or export must not stop this one at its first field.
    CargaCancelada = false;
    const Reglas reglas{Qt::CaseInsensitive};
    data::RecordsetPtr rs;
    Encabezados encabezados;
    if (!EmpezarExportacion(m_exportacion, sql, ElTitulo, ElTitulo1, reglas, rs, encabezados)) {
        return;
    }
    int hojas = 2;
    AbrirLibroExcel(hojas);
    int cantidad = int(encabezados.nombres.size());
    EscribirEncabezadoExcel(cantidad, encabezados.nombres, encabezados.anchos);
    CmdCancel->show();
    Pbar->hide();
    if (picMsg) {
        picMsg->show();
    }

    Recorrido recorrido =
        RecorrerRegistros(m_exportacion, *rs, encabezados, reglas, [&](Momento momento, const Avance& avance) {
            const platform::Variant porcentaje(PorcentajeAvance(avance));
            if (momento == Momento::DespuesDeLaCelda) {
                ProgressBar(picMsg, porcentaje, 255, LeyendaAvance(ElTitulo, avance));
                return false;
            }
            QCoreApplication::processEvents();
            ProgressBar(picMsg, porcentaje, 255, LeyendaAvance(ElTitulo, avance));
            if (CargaCancelada) {
                ProgressBar(picMsg, porcentaje, 255, ElTitulo + QStringLiteral(" *** CANCELADO *** "));
                return true;
            }
            return false;
        });
    if (!recorrido.cancelado) {
        EscribirTotales(m_exportacion, *rs, encabezados, CamposTotaliza, reglas, recorrido);
        if (picMsg) {
            picMsg->hide();
        }
    }
    data::gDbPrincipal().CierraRecordset(rs);
    EntregarLibro(m_exportacion, Preview, ElNombre, QStringLiteral("ExportarExcelPorRsOSCX"), encabezados, recorrido);
    CmdCancel->hide();
}

void BkDbGrid::ProgressBar(common::PictureBox* picture, const platform::Variant& Percent, long Color,
                           const QString& mensaje)
{
    common::PintaProgreso(picture, Percent, Color, mensaje);
}

bool BkDbGrid::AbrirLibroExcel(int& cantHojas)
{
    return m_exportacion.AppExcel ? true : CrearLibro(m_exportacion, cantHojas);
}

bool BkDbGrid::EscribirEncabezadoExcel(int& count, const QStringList& nombres, const std::vector<long>& anchos)
{
    // The machine's own date, not the server's.
    return EscribirEncabezado(m_exportacion, count, nombres, anchos, platform::now());
}

} // namespace controls
