#include "export/ModExportarExcel.h"

#include "common/Dll_Display.h"
#include "common/PintaProgreso.h"
#include "export/HojaExcel.h"
#include "export/V_MA_MANT.h"
#include "platform/core/Runtime.h"

#include <QCoreApplication>

#include <memory>

namespace exportacion {

namespace {

struct Modulo
{
    EstadoHoja estado;
    std::function<platform::DateTime()> fechaServidor;
};

Modulo& modulo()
{
    static std::unique_ptr<Modulo> instancia;
    static const bool enganchado = [] {
        platform::Runtime::instance().onReset([] { instancia.reset(); });
        return true;
    }();
    (void)enganchado;
    if (!instancia) {
        instancia = std::make_unique<Modulo>();
    }
    return *instancia;
}

platform::DateTime FechaServidor()
{
    const auto& fecha = modulo().fechaServidor;
    return fecha ? fecha() : platform::now();
}

// The banner's report: the row counter over the record count; the answer
// tells whether the operator cancelled.
bool InformarEnCartel(Momento momento, const Avance& avance)
{
    if (momento == Momento::AntesDeLaCelda) {
        QCoreApplication::processEvents();
    }
    bool cancelado = false;
    common::CartelEspera().CartelMostrar(
        cancelado, platform::Variant(QStringLiteral("Exportando a Excel")),
        platform::Variant(QStringLiteral("Espere Por Favor")),
        platform::Variant(QStringLiteral("%1 de %2").arg(avance.fila).arg(avance.cantidad)));
    return cancelado;
}

} // namespace

EstadoHoja& EstadoExportarExcel()
{
    return modulo().estado;
}

void DefinirFechaServidor(std::function<platform::DateTime()> fecha)
{
    modulo().fechaServidor = std::move(fecha);
}

void EscribirEncabezadoExcel(int& count, const QStringList& nombres, const std::vector<long>& anchos)
{
    EscribirEncabezado(EstadoExportarExcel(), count, nombres, anchos, FechaServidor());
}

void ExportarExcelPorRS(const QString& sql, bool Preview, const QString& ElTitulo, const QString& ElTitulo1,
                        const QString& ElNombre, common::PictureBox* PicMsg, int cantHojas,
                        const QString& CamposTotaliza)
{
    (void)cantHojas;
    EstadoHoja& estado = EstadoExportarExcel();
    const ExportacionEnCurso enCurso(estado);
    if (enCurso.ocupado()) {
        return;
    }
    const Reglas reglas{Qt::CaseSensitive};
    data::RecordsetPtr rs;
    Encabezados encabezados;
    if (!EmpezarExportacion(estado, sql, ElTitulo, ElTitulo1, reglas, rs, encabezados)) {
        return;
    }
    int hojas = 0;
    AbrirLibroExcel(hojas);
    int cantidad = int(encabezados.nombres.size());
    EscribirEncabezadoExcel(cantidad, encabezados.nombres, encabezados.anchos);

    if (!PicMsg) {
        QCoreApplication::processEvents();
        common::CartelEspera().CartelInicio(QStringLiteral("Exportando a Excel"), true);
        QCoreApplication::processEvents();
    }
    const Informe informar = PicMsg ? Informe([&](Momento momento, const Avance& avance) {
        if (momento == Momento::AntesDeLaCelda) {
            QCoreApplication::processEvents();
        }
        common::PintaProgreso(PicMsg, platform::Variant(PorcentajeAvance(avance)), 255,
                              LeyendaAvance(ElTitulo, avance));
        return false;
    })
                                    : Informe(InformarEnCartel);
    Recorrido recorrido = RecorrerRegistros(estado, *rs, encabezados, reglas, informar);
    if (!recorrido.cancelado) {
        EscribirTotales(estado, *rs, encabezados, CamposTotaliza, reglas, recorrido);
    }

    common::CartelEspera().CartelCerrar();
    data::gDbPrincipal().CierraRecordset(rs);
    EntregarLibro(estado, Preview, ElNombre, QStringLiteral("ExportarExcelPorRS"), encabezados, recorrido);
}

} // namespace exportacion
