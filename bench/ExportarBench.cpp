// ExportarBench [server folder]
// Times the spreadsheet export of the million-row demo's price history
// (25,000, 50,000 and 100,000 rows, saved under a name), beside the same
// rows written straight with libxlsxwriter, and prints the peak resident
// memory of each: the record set is fetched whole, the workbook is written
// row by row, so what the writing adds above the record set stays the same
// as the rows grow. Without a folder it builds the million-row demo server
// first (see MillionRowDemo.h).
#include "Medidas.h"
#include "MillionRowDemo.h"
#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/xlsx/Palette.h"
#include "platform/xlsx/Workbook.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <memory>

namespace {

namespace db = platform::db;

struct Medida
{
    double segundos = 0;
    long picoKb = 0;
};

// Runs `trabajo` from a trimmed heap and the peak reset, so that each figure
// is its own.
template <typename F> Medida medir(F&& trabajo)
{
    malloc_trim(0);
    bench::resetPeakKb();
    QElapsedTimer reloj;
    reloj.start();
    trabajo();
    Medida m{double(reloj.nsecsElapsed()) / 1e9, bench::peakKb()};
    malloc_trim(0);
    return m;
}

data::RecordsetPtr abrir(const QString& sql)
{
    data::RecordsetPtr rs;
    data::gDbPrincipal().AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly,
                                        db::adCmdUnspecified, true);
    return rs;
}

// The same cells the export writes (heading row, amounts, date-times, texts,
// integers, banded rows), straight with libxlsxwriter in its constant-memory mode.
void escribirDirecto(const QString& sql, const QString& path)
{
    data::RecordsetPtr rs = abrir(sql);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Hoja1");
    workbook_add_worksheet(wb, "Hoja2");
    auto formato = [&](const char* numero, bool gris) {
        lxw_format* f = workbook_add_format(wb);
        if (numero[0]) {
            format_set_num_format(f, numero);
        }
        if (gris) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, 0xC0C0C0);
        }
        return f;
    };
    lxw_format* encabezado = workbook_add_format(wb);
    format_set_bold(encabezado);
    format_set_font_color(encabezado, 0xFFFFFF);
    format_set_pattern(encabezado, LXW_PATTERN_SOLID);
    format_set_bg_color(encabezado, 0x0000FF);
    format_set_border(encabezado, LXW_BORDER_THIN);
    lxw_format* general[2] = {nullptr, formato("", true)};
    lxw_format* importe[2] = {formato("#,##0.00", false), formato("#,##0.00", true)};
    lxw_format* fechaHora[2] = {formato("dd/mm/yyyy hh:mm:ss", false), formato("dd/mm/yyyy hh:mm:ss", true)};
    lxw_col_t c = 0;
    for (int k = 0; k < rs->FieldCount(); ++k) {
        if (rs->column(k).name != u"ID") {
            worksheet_write_string(ws, 0, c++, rs->column(k).name.toUtf8().constData(), encabezado);
        }
    }
    for (lxw_row_t r = 1; !rs->Eof(); rs->MoveNext(), ++r) {
        const int banda = (r + 1) % 2 == 0 ? 1 : 0;
        c = 0;
        for (int k = 0; k < rs->FieldCount(); ++k) {
            const db::ColumnInfo& campo = rs->column(k);
            if (campo.name == u"ID") {
                continue;
            }
            const platform::Variant v = rs->value(k);
            if (v.isNull()) {
                worksheet_write_blank(ws, r, c, general[banda]);
            } else if (campo.type == db::adCurrency || campo.type == db::adNumeric) {
                worksheet_write_number(ws, r, c, v.toDouble().value_or(0), importe[banda]);
            } else if (const auto fecha = campo.type == db::adDBTimeStamp ? v.toDate() : std::nullopt) {
                lxw_datetime dt{fecha->date().year(), fecha->date().month(),  fecha->date().day(),
                                fecha->time().hour(), fecha->time().minute(), double(fecha->time().second())};
                worksheet_write_datetime(ws, r, c, &dt, fechaHora[banda]);
            } else if (campo.type == db::adInteger) {
                worksheet_write_number(ws, r, c, v.toDouble().value_or(0), general[banda]);
            } else {
                worksheet_write_string(ws, r, c, v.toText().toUtf8().constData(), general[banda]);
            }
            ++c;
        }
    }
    workbook_close(wb);
    data::gDbPrincipal().CierraRecordset(rs);
}

// `filas` rows of 13 cells (text, date-time, amounts, banding) through the
// program's workbook API, and the same straight with libxlsxwriter: the
// memory of the writing alone, with no record set.
void libroSintetico(int filas, const QString& path)
{
    auto wb = platform::xlsx::Workbook::create(2);
    platform::xlsx::Sheet& hoja = wb->activeSheet();
    const platform::DateTime momento(QDate(2024, 3, 18), QTime(8, 5, 30));
    for (int r = 2; r < filas + 2; ++r) {
        const auto gris = platform::xlsx::paletteColor(r % 2 == 0 ? 0 : 15);
        hoja.cells(r, 1).setDateTime(momento);
        hoja.cells(r, 1).setNumberFormat(QStringLiteral("dd/mm/yyyy hh:mm:ss"));
        hoja.cells(r, 2).setText(QStringLiteral("ART%1").arg(r));
        for (int c = 3; c <= 13; ++c) {
            hoja.cells(r, c).setNumberFormat(QStringLiteral("#,##0.00"));
            hoja.cells(r, c).setNumber(r * 0.25 + c);
        }
        hoja.range(r, 1, 13).setFill(gris);
    }
    wb->saveAs(path);
}

void libroSinteticoDirecto(int filas, const QString& path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Hoja1");
    workbook_add_worksheet(wb, "Hoja2");
    lxw_format* fecha[2];
    lxw_format* importe[2];
    lxw_format* texto[2];
    for (int g = 0; g < 2; ++g) {
        fecha[g] = workbook_add_format(wb);
        format_set_num_format(fecha[g], "dd/mm/yyyy hh:mm:ss");
        importe[g] = workbook_add_format(wb);
        format_set_num_format(importe[g], "#,##0.00");
        texto[g] = workbook_add_format(wb);
        if (g) {
            for (lxw_format* f : {fecha[g], importe[g], texto[g]}) {
                format_set_pattern(f, LXW_PATTERN_SOLID);
                format_set_bg_color(f, 0xC0C0C0);
            }
        }
    }
    lxw_datetime momento{2024, 3, 18, 8, 5, 30};
    for (int r = 2; r < filas + 2; ++r) {
        const int g = r % 2;
        worksheet_write_datetime(ws, lxw_row_t(r - 1), 0, &momento, fecha[g]);
        worksheet_write_string(ws, lxw_row_t(r - 1), 1, QStringLiteral("ART%1").arg(r).toUtf8().constData(), texto[g]);
        for (int c = 3; c <= 13; ++c) {
            worksheet_write_number(ws, lxw_row_t(r - 1), lxw_col_t(c - 1), r * 0.25 + c, importe[g]);
        }
    }
    workbook_close(wb);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::Runtime::instance().setOperator(std::make_unique<bench::AbortingOperator>());

    const QString connection = bench::millionRowConnection(argc, argv);
    if (connection.isEmpty()) {
        return 1;
    }
    data::gDbPrincipal().OpenServerADODB(false, 3, connection, false, false);
    if (!data::gDbPrincipal().gOpenFlag) {
        std::printf("the connection did not open\n");
        return 1;
    }
    QTemporaryDir salida;

    std::printf("%8s | %-22s | %-30s | %-30s | %s\n", "rows", "record set alone", "libxlsxwriter directly",
                "ExportarExcelPorRS", "time ratio");
    for (const int filas : {25000, 50000, 100000}) {
        const QString sql = QStringLiteral("SELECT TOP %1 * FROM V_MV_PreciosHis ORDER BY ID").arg(filas);
        const Medida registros = medir([&] {
            data::RecordsetPtr rs = abrir(sql);
            data::gDbPrincipal().CierraRecordset(rs);
        });
        const QString directo = salida.filePath(QStringLiteral("directo.xlsx"));
        const Medida libreria = medir([&] { escribirDirecto(sql, directo); });
        const QString exportado = salida.filePath(QStringLiteral("exportado.xlsx"));
        const Medida exportacion = medir([&] {
            exportacion::ExportarExcelPorRS(sql, false, QString(), QString(), exportado, nullptr, 0,
                                            QStringLiteral("Costo"));
        });
        std::printf("%8d | %5.2f s, peak %6.1f MB | %5.2f s, %7.0f rows/s, %6.1f MB | %5.2f s, %7.0f rows/s, "
                    "%6.1f MB | %.2f\n",
                    filas, registros.segundos, registros.picoKb / 1024.0, libreria.segundos, filas / libreria.segundos,
                    libreria.picoKb / 1024.0, exportacion.segundos, filas / exportacion.segundos,
                    exportacion.picoKb / 1024.0, exportacion.segundos / libreria.segundos);
        std::printf("%8s   workbook sizes: direct %lld kB, export %lld kB; peak above the record set: direct "
                    "%.1f MB, export %.1f MB\n",
                    "", QFileInfo(directo).size() / 1024, QFileInfo(exportado).size() / 1024,
                    std::max(0L, libreria.picoKb - registros.picoKb) / 1024.0,
                    std::max(0L, exportacion.picoKb - registros.picoKb) / 1024.0);
    }

    std::printf("\nthe writing alone, 13 cells a row, no record set (peak above the start):\n");
    std::printf("%8s | %-28s | %-28s | %s\n", "rows", "libxlsxwriter directly", "platform::xlsx::Workbook",
                "time ratio");
    for (const int filas : {25000, 100000, 400000}) {
        const QString directo = salida.filePath(QStringLiteral("sintetico-directo.xlsx"));
        const QString propio = salida.filePath(QStringLiteral("sintetico.xlsx"));
        malloc_trim(0);
        const long inicio = bench::residentKb();
        const Medida libreria = medir([&] { libroSinteticoDirecto(filas, directo); });
        const Medida api = medir([&] { libroSintetico(filas, propio); });
        std::printf("%8d | %5.2f s, %7.0f rows/s, %5.1f MB | %5.2f s, %7.0f rows/s, %5.1f MB | %.2f\n", filas,
                    libreria.segundos, filas / libreria.segundos, (libreria.picoKb - inicio) / 1024.0, api.segundos,
                    filas / api.segundos, (api.picoKb - inicio) / 1024.0, api.segundos / libreria.segundos);
    }
    return 0;
}
