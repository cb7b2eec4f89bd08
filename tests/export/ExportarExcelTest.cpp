// The workbook a query's export writes: head, headings, value rules,
// banding and totals, read back with openpyxl.
#include "ExportarPrueba.h"

#include "export/ModExportarExcel.h"
#include "export/Stuff10.h"

#include <QJsonValue>

namespace {

using exportacion::ExportarExcelPorRS;
using exportar_tests::Exportar;
using exportar_tests::texto;
using testing_support::XlsxCell;
using testing_support::XlsxSheet;

const QString kTodo = QStringLiteral("SELECT * FROM ARTICULOS ORDER BY ID");
const QString kDos = QStringLiteral("SELECT Codigo, Nota FROM ARTICULOS ORDER BY ID");
const QString kRojo = QStringLiteral("FFFF0000");
const QString kAzul = QStringLiteral("FF0000FF");
const QString kGris = QStringLiteral("FFC0C0C0");

struct Cabeza
{
    const char* titulo;
    const char* subtitulo;
    int filaEncabezado;
};

// The layouts of the head: title row, subtitle row, heading row, then data.
const Cabeza kCabezas[] = {
    {"Lista de artículos", "Sucursal centro", 3},
    {"Lista de artículos", "", 2},
    {"", "Sucursal centro", 2},
    {"", "", 1},
};

} // namespace

TEST_F(Exportar, HeadLayoutForEachTitleAndSubtitle)
{
    for (const Cabeza& c : kCabezas) {
        SCOPED_TRACE(std::string(c.titulo) + " / " + c.subtitulo);
        const QString titulo = QString::fromUtf8(c.titulo);
        const QString subtitulo = QString::fromUtf8(c.subtitulo);
        ExportarExcelPorRS(kTodo, true, titulo, subtitulo, QString(), nullptr, 0, QString());
        const XlsxSheet h = abierto();
        const int e = c.filaEncabezado;
        auto ref = [](const char* col, int row) { return QString::fromLatin1(col) + QString::number(row); };
        if (!titulo.isEmpty()) {
            // Nine headings: the date stands in the last heading column.
            for (const char* col : {"B", "I"}) {
                const XlsxCell cell = h.at(ref(col, 1));
                EXPECT_EQ(cell.fontColor, kRojo) << col;
                EXPECT_TRUE(cell.bold) << col;
            }
            EXPECT_EQ(h.at(ref("B", 1)).value.toString(), titulo);
            EXPECT_EQ(h.at(ref("I", 1)).value.toString(), QStringLiteral("18/03"));
        }
        if (!subtitulo.isEmpty()) {
            const XlsxCell cell = h.at(ref("A", titulo.isEmpty() ? 1 : 2));
            EXPECT_EQ(cell.value.toString(), subtitulo);
            EXPECT_EQ(cell.fontColor, kRojo);
            EXPECT_TRUE(cell.bold);
        }
        EXPECT_EQ(h.at(ref("A", e)).value.toString(), QStringLiteral("Codigo"));
        EXPECT_EQ(h.at(ref("I", e)).value.toString(), QStringLiteral("Nota"));
        for (const char* col : {"A", "E", "I"}) {
            const XlsxCell cell = h.at(ref(col, e));
            EXPECT_EQ(cell.fill, kAzul) << col;
            EXPECT_TRUE(cell.borders) << col;
            EXPECT_TRUE(cell.bold) << col;
            EXPECT_EQ(cell.fontColor, QStringLiteral("FFFFFFFF")) << col;
        }
        EXPECT_FALSE(h.cells.contains(ref("J", e)));
        EXPECT_EQ(h.at(ref("A", e + 1)).value.toString(), QStringLiteral("A01"));
        EXPECT_EQ(h.at(ref("A", e + 3)).value.toString(), QStringLiteral("C03"));
        EXPECT_EQ(h.maxRow, e + 3);
    }
}

TEST_F(Exportar, WithTwoHeadingsTheDateLeavesTheTitleAlone)
{
    ExportarExcelPorRS(kDos, true, QStringLiteral("Notas"), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    EXPECT_EQ(texto(h, "B1"), QStringLiteral("Notas"));
    EXPECT_EQ(texto(h, "C1"), QStringLiteral("18/03"));
    EXPECT_EQ(texto(h, "A2"), QStringLiteral("Codigo"));
    EXPECT_EQ(texto(h, "B2"), QStringLiteral("Nota"));
}

TEST_F(Exportar, HeadingsAndDataLeaveOutTheKeyFieldAndKeepTheirColumns)
{
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    const QStringList encabezados{"Codigo", "Cantidad", "Costo",         "Importe", "Factor",
                                  "Alta",   "Movido",   "FhUltimoCosto", "Nota"};
    const QString columnas = QStringLiteral("ABCDEFGHI");
    for (int i = 0; i < encabezados.size(); ++i) {
        EXPECT_EQ(h.at(columnas[i] + QStringLiteral("1")).value.toString(), encabezados[i]);
    }
    EXPECT_EQ(h.maxColumn, 9);
    EXPECT_EQ(texto(h, "I2"), QStringLiteral("primera"));

    // A field called "id" is no key field here: it keeps its heading and its data.
    ExportarExcelPorRS(QStringLiteral("SELECT ID AS id, Codigo FROM ARTICULOS ORDER BY ID"), true, QString(), QString(),
                       QString(), nullptr, 0, QString());
    const XlsxSheet id = abierto();
    EXPECT_EQ(texto(id, "A1"), QStringLiteral("id"));
    EXPECT_EQ(id.at("A2").value.toDouble(), 7.0);
    EXPECT_EQ(texto(id, "B2"), QStringLiteral("A01"));
}

TEST_F(Exportar, EachValueGetsItsRule)
{
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    struct Esperado
    {
        const char* ref;
        const char* tipo;
        QJsonValue valor;
        const char* formato;
    };
    const QJsonValue nada(QJsonValue::Null);
    const Esperado esperados[] = {
        // Texts; a numeric text of a text field is kept as text.
        {"A2", "s", QStringLiteral("A01"), "General"},
        {"A3", "s", QStringLiteral("00012"), "@"},
        {"I3", "s", QStringLiteral("con blancos"), "General"},
        // Integers as they are; a zero is the number 0 without a format.
        {"B2", "n", 12.0, "General"},
        {"B3", "n", 0.0, "General"},
        {"B4", "n", -3.0, "General"},
        // Money and decimals as amounts; a zero amount has no format.
        {"C2", "n", 1234.5, "#,##0.00"},
        {"C3", "n", 0.0, "General"},
        {"D2", "n", 99.9, "#,##0.00"},
        {"D4", "n", 10.25, "#,##0.00"},
        // A real number of another type is written as text.
        {"E2", "s", QStringLiteral("2.5"), "@"},
        {"E3", "n", 0.0, "General"},
        // Dates; date-times keep date and time; "FhUltimoCosto" only its date.
        {"F2", "d", QStringLiteral("2024-03-15T00:00:00"), "dd/mm/yyyy"},
        {"G2", "d", QStringLiteral("2024-03-18T08:05:30"), "dd/mm/yyyy hh:mm:ss"},
        {"G3", "d", QStringLiteral("2024-03-18T23:59:59.500000"), "dd/mm/yyyy hh:mm:ss"},
        {"G4", "d", QStringLiteral("2024-03-19T00:00:01"), "dd/mm/yyyy hh:mm:ss"},
        {"H2", "d", QStringLiteral("2024-02-01T00:00:00"), "dd/mm/yyyy"},
        {"H3", "d", QStringLiteral("2024-02-02T00:00:00"), "dd/mm/yyyy"},
        // A Null takes its type's format and stays empty.
        {"C4", "n", nada, "#,##0.00"},
        {"F4", "n", nada, "@"},
        {"I4", "n", nada, "@"},
    };
    for (const Esperado& e : esperados) {
        const XlsxCell cell = h.at(QString::fromLatin1(e.ref));
        EXPECT_EQ(cell.type, QString::fromLatin1(e.tipo)) << e.ref;
        EXPECT_EQ(cell.value, e.valor) << e.ref;
        EXPECT_EQ(cell.numberFormat, QString::fromLatin1(e.formato)) << e.ref;
    }
}

TEST_F(Exportar, OddSheetRowsAreBandedAndDateColumnsFitTheirContents)
{
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    for (const char* col : {"A", "C", "E", "I"}) {
        const QString c = QString::fromLatin1(col);
        EXPECT_EQ(h.at(c + u'2').fill, QString()) << col;
        EXPECT_EQ(h.at(c + u'3').fill, kGris) << col;
        EXPECT_EQ(h.at(c + u'4').fill, QString()) << col;
    }
    // The dates fit every column to its contents: the heading, the date-time.
    EXPECT_GT(h.widths.value(QStringLiteral("G")), 17);
    EXPECT_GT(h.widths.value(QStringLiteral("H")), 13);
    EXPECT_LT(h.widths.value(QStringLiteral("A")), 10);
}

TEST_F(Exportar, WithoutDatesTheColumnsKeepTheWidthsOfTheHead)
{
    ExportarExcelPorRS(kDos, true, QString(), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    // 500 ÷ 90 characters, as the file stores it with the application's margin.
    const double ancho = int((int(500.0 / 90 * 7 + 0.5) + 5) / 7.0 * 256) / 256.0;
    EXPECT_EQ(h.widths.value(QStringLiteral("A")), ancho);
    EXPECT_EQ(h.widths.value(QStringLiteral("B")), ancho);
}

TEST_F(Exportar, TotalsSumFromTheFirstToTheLastDataRow)
{
    for (const Cabeza& c : kCabezas) {
        SCOPED_TRACE(std::string(c.titulo) + " / " + c.subtitulo);
        ExportarExcelPorRS(kTodo, true, QString::fromUtf8(c.titulo), QString::fromUtf8(c.subtitulo), QString(), nullptr,
                           0, QStringLiteral("Cantidad,Costo, Importe,ID"));
        const XlsxSheet h = abierto();
        const QString primera = QString::number(c.filaEncabezado + 1);
        const QString ultima = QString::number(c.filaEncabezado + 3);
        const QString fila = QString::number(c.filaEncabezado + 4);
        const XlsxCell cantidad = h.at(u'B' + fila);
        EXPECT_EQ(cantidad.value.toString(), QStringLiteral("=SUM(B%1:B%2)").arg(primera, ultima));
        EXPECT_EQ(cantidad.cached.toDouble(), 9.0);
        EXPECT_TRUE(cantidad.bold);
        const XlsxCell costo = h.at(u'C' + fila);
        EXPECT_EQ(costo.value.toString(), QStringLiteral("=SUM(C%1:C%2)").arg(primera, ultima));
        EXPECT_EQ(costo.cached.toDouble(), 1234.5);
        // " Importe" with its blank names no field; the key field has no column.
        EXPECT_FALSE(h.cells.contains(u'D' + fila));
        EXPECT_EQ(h.maxRow, c.filaEncabezado + 4);
    }
}

TEST_F(Exportar, TotalsPastColumnAZHaveTheirLetters)
{
    QStringList campos;
    for (int i = 1; i <= 53; ++i) {
        campos << QStringLiteral("Codigo AS c%1").arg(i);
    }
    campos << QStringLiteral("Cantidad AS c54");
    ExportarExcelPorRS(QStringLiteral("SELECT ") + campos.join(u',') + QStringLiteral(" FROM ARTICULOS ORDER BY ID"),
                       true, QString(), QString(), QString(), nullptr, 0, QStringLiteral("c54"));
    const XlsxSheet h = abierto();
    EXPECT_EQ(texto(h, "BB1"), QStringLiteral("c54"));
    EXPECT_EQ(texto(h, "BB5"), QStringLiteral("=SUM(BB2:BB4)"));
    EXPECT_EQ(h.at("BB5").cached.toDouble(), 9.0);
}

TEST(LetraColumna, GivesLettersForEveryColumn)
{
    const std::pair<int, const char*> casos[] = {{0, "A"},   {25, "Z"},   {26, "AA"},   {51, "AZ"},     {52, "BA"},
                                                 {53, "BB"}, {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}, {-1, ""}};
    for (auto [indice, letras] : casos) {
        EXPECT_EQ(exportacion::LetraColumna(indice), QString::fromLatin1(letras)) << indice;
    }
}
