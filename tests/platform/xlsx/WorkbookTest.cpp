// The workbook API, read back with an independent reader.
#include "platform/xlsx/Palette.h"
#include "platform/xlsx/Workbook.h"

#include "support/TestEnvironment.h"
#include "support/XlsxReader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using platform::DateTime;
using platform::xlsx::Workbook;
using testing_support::readXlsx;
using testing_support::XlsxBook;

QString enCarpeta(const QString& name)
{
    return testing_support::testFolder() + u'/' + name;
}

QByteArray contenido(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

XlsxBook leer(const QString& path)
{
    XlsxBook book = readXlsx(path);
    EXPECT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    return book;
}

// A width as the file stores it: the application adds its 5-pixel margin
// to the width it shows, in 1/256 of a character (7 pixels).
double anchoEnArchivo(double width)
{
    const int pixels = int(width * 7 + 0.5) + 5;
    return int(pixels / 7.0 * 256) / 256.0;
}

} // namespace

TEST(Workbook, WritesValuesStylesFormulasAndWidths)
{
    auto wb = Workbook::create(2);
    ASSERT_TRUE(wb);
    auto& s = wb->activeSheet();
    EXPECT_TRUE(s.cells(1, 2).setText(QStringLiteral("Lista de precios")));
    EXPECT_TRUE(s.cells(1, 2).setFontColor(255));
    EXPECT_TRUE(s.cells(1, 2).setBold(true));
    EXPECT_TRUE(s.range(2, 1, 3).setBorders());
    EXPECT_TRUE(s.range(2, 1, 3).setFill(platform::xlsx::paletteColor(5)));
    EXPECT_TRUE(s.cells(2, 1).setText(QStringLiteral("Artículo")));
    EXPECT_TRUE(s.cells(3, 1).setNumberFormat(QStringLiteral("#,##0.00")));
    EXPECT_TRUE(s.cells(3, 1).setNumber(1234.5));
    EXPECT_TRUE(s.cells(3, 2).setDateTime(DateTime(QDate(2024, 3, 18), QTime(8, 5, 30))));
    EXPECT_TRUE(s.cells(3, 2).setNumberFormat(QStringLiteral("dd/mm/yyyy hh:mm:ss")));
    EXPECT_TRUE(s.cells(3, 3).setNumberFormat(QStringLiteral("@")));
    EXPECT_TRUE(s.cells(3, 3).setText(QStringLiteral("00012")));
    EXPECT_TRUE(s.cells(4, 1).setFormula(QStringLiteral("=SUM(A3:A3)"), 1234.5));
    EXPECT_TRUE(s.setColumnWidth(1, 12.5));
    EXPECT_TRUE(s.setColumnNumberFormat(2, QStringLiteral("dd/mm/yyyy")));
    const QString path = enCarpeta(QStringLiteral("libro.xlsx"));
    QString error;
    ASSERT_TRUE(wb->saveAs(path, &error)) << error.toStdString();

    const XlsxBook book = leer(path);
    ASSERT_EQ(book.sheets.size(), 2);
    EXPECT_EQ(book.sheets[0].title, QStringLiteral("Hoja1"));
    EXPECT_EQ(book.sheets[1].title, QStringLiteral("Hoja2"));
    const auto& h = book.sheets[0];
    EXPECT_EQ(h.at("B1").value.toString(), QStringLiteral("Lista de precios"));
    EXPECT_EQ(h.at("B1").fontColor, QStringLiteral("FFFF0000"));
    EXPECT_TRUE(h.at("B1").bold);
    for (const char* ref : {"A2", "B2", "C2"}) {
        EXPECT_TRUE(h.at(ref).borders) << ref;
        EXPECT_EQ(h.at(ref).fill, QStringLiteral("FF0000FF")) << ref;
    }
    EXPECT_EQ(h.at("A2").value.toString(), QStringLiteral("Artículo"));
    EXPECT_EQ(h.at("A3").value.toDouble(), 1234.5);
    EXPECT_EQ(h.at("A3").numberFormat, QStringLiteral("#,##0.00"));
    EXPECT_EQ(h.at("B3").value.toString(), QStringLiteral("2024-03-18T08:05:30"));
    EXPECT_EQ(h.at("B3").numberFormat, QStringLiteral("dd/mm/yyyy hh:mm:ss"));
    EXPECT_EQ(h.at("C3").type, QStringLiteral("s"));
    EXPECT_EQ(h.at("C3").value.toString(), QStringLiteral("00012"));
    EXPECT_EQ(h.at("C3").numberFormat, QStringLiteral("@"));
    EXPECT_EQ(h.at("A4").value.toString(), QStringLiteral("=SUM(A3:A3)"));
    EXPECT_EQ(h.at("A4").cached.toDouble(), 1234.5);
    EXPECT_EQ(h.widths.value(QStringLiteral("A")), anchoEnArchivo(12.5));
}

TEST(Workbook, ARowCanNoLongerChangeOnceALaterRowIsWritten)
{
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    auto& s = wb->activeSheet();
    EXPECT_TRUE(s.cells(1, 3).setText(QStringLiteral("c")));
    EXPECT_TRUE(s.cells(1, 1).setText(QStringLiteral("a")));
    EXPECT_TRUE(s.cells(2, 1).setNumber(2));
    EXPECT_FALSE(s.cells(1, 2).setText(QStringLiteral("late")));
    EXPECT_FALSE(s.cells(0, 1).setNumber(1));
    EXPECT_FALSE(s.cells(1048577, 1).setNumber(1));
    EXPECT_FALSE(s.cells(2, 16385).setNumber(1));
    EXPECT_FALSE(s.cells(2, 2).setText(QString(32768, u'x')));
    EXPECT_EQ(s.lastRow(), 2);
    const QString path = enCarpeta(QStringLiteral("filas.xlsx"));
    ASSERT_TRUE(wb->saveAs(path));
    const auto h = leer(path).sheets.value(0);
    EXPECT_EQ(h.at("A1").value.toString(), QStringLiteral("a"));
    EXPECT_EQ(h.at("C1").value.toString(), QStringLiteral("c"));
    EXPECT_TRUE(h.at("B1").value.isNull());
    EXPECT_EQ(h.at("A2").value.toDouble(), 2.0);
}

TEST(Workbook, AnExistingFileIsReplacedOnlyByTheCompleteWorkbook)
{
    const QString path = enCarpeta(QStringLiteral("informe.xlsx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("el informe de ayer");
    }
    {
        // Dropped before it was saved: no file of it is left anywhere.
        auto wb = Workbook::create(1);
        ASSERT_TRUE(wb);
        wb->activeSheet().cells(1, 1).setText(QStringLiteral("nuevo"));
    }
    EXPECT_EQ(contenido(path), QByteArray("el informe de ayer"));
    EXPECT_EQ(QDir(testing_support::testFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("informe.xlsx")});

    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    wb->activeSheet().cells(1, 1).setText(QStringLiteral("nuevo"));
    QString error;
    EXPECT_FALSE(wb->saveAs(enCarpeta(QStringLiteral("no/existe/informe.xlsx")), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(wb->saveAs(path, &error)) << error.toStdString();
    EXPECT_EQ(leer(path).sheets.value(0).at("A1").value.toString(), QStringLiteral("nuevo"));
    EXPECT_EQ(QDir(testing_support::testFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("informe.xlsx")});
}

TEST(Workbook, KeptWorkbookStaysInTheTemporaryFolder)
{
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    wb->activeSheet().cells(1, 1).setNumber(7);
    const auto path = wb->keep();
    ASSERT_TRUE(path);
    wb.reset();
    EXPECT_TRUE(path->startsWith(QDir::tempPath()));
    EXPECT_TRUE(path->endsWith(QStringLiteral(".xlsx")));
    EXPECT_EQ(leer(*path).sheets.value(0).at("A1").value.toDouble(), 7.0);
    EXPECT_FALSE(Workbook::create(0));
}

TEST(Workbook, AutoFitWidensColumnsToTheirWidestContentSoFar)
{
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    auto& s = wb->activeSheet();
    s.setColumnWidth(1, 5);
    s.setColumnWidth(2, 5);
    s.setColumnWidth(4, 30);
    s.cells(1, 1).setText(QStringLiteral("Una descripción bastante larga"));
    s.cells(2, 2).setNumber(1234567.25);
    s.cells(2, 2).setNumberFormat(QStringLiteral("#,##0.00"));
    s.cells(2, 3).setDateTime(DateTime(QDate(2024, 3, 18)));
    s.cells(2, 3).setNumberFormat(QStringLiteral("dd/mm/yyyy"));
    s.autoFitColumns();
    // Written after the fit: no effect on the widths.
    s.cells(3, 2).setText(QString(80, u'x'));
    const QString path = enCarpeta(QStringLiteral("ancho.xlsx"));
    ASSERT_TRUE(wb->saveAs(path));
    const auto w = leer(path).sheets.value(0).widths;
    EXPECT_GT(w.value(QStringLiteral("A")), 25);
    EXPECT_LT(w.value(QStringLiteral("A")), 35);
    EXPECT_GT(w.value(QStringLiteral("B")), 10);
    EXPECT_LT(w.value(QStringLiteral("B")), 14);
    EXPECT_GT(w.value(QStringLiteral("C")), 9);
    EXPECT_LT(w.value(QStringLiteral("C")), 13);
    EXPECT_EQ(w.value(QStringLiteral("D")), anchoEnArchivo(30));
}

TEST(Workbook, PaletteGivesTheApplicationsColours)
{
    EXPECT_EQ(platform::xlsx::paletteColor(5), platform::ui::rgb(0, 0, 255));
    EXPECT_EQ(platform::xlsx::paletteColor(15), platform::ui::rgb(192, 192, 192));
    EXPECT_EQ(platform::xlsx::paletteColor(1), platform::ui::rgb(0, 0, 0));
    EXPECT_EQ(platform::xlsx::paletteColor(56), platform::ui::rgb(0x33, 0x33, 0x33));
    EXPECT_FALSE(platform::xlsx::paletteColor(0));
    EXPECT_FALSE(platform::xlsx::paletteColor(57));
}
