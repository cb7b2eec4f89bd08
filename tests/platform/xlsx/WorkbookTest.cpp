// The workbook API, read back with an independent reader.
#include "platform/xlsx/CellText.h"
#include "platform/xlsx/Palette.h"
#include "platform/xlsx/Workbook.h"

#include "support/TestEnvironment.h"
#include "support/XlsxReader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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
    platform::xlsx::Failure error;
    ASSERT_TRUE(wb->saveAs(path, &error)) << error.detail.toStdString();

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
    platform::xlsx::Failure error;
    EXPECT_FALSE(wb->saveAs(enCarpeta(QStringLiteral("no/existe/informe.xlsx")), &error));
    EXPECT_FALSE(error.detail.isEmpty());
    ASSERT_TRUE(wb->saveAs(path, &error)) << error.detail.toStdString();
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

TEST(Workbook, TextsKeepEveryCharacterInTheFormatsOwnEscapes)
{
    // What the reader hands back is the text as the file stores it.
    const std::pair<QString, QString> casos[] = {
        {QStringLiteral("antes") + QChar(0) + QStringLiteral("despues"), QStringLiteral("antes_x0000_despues")},
        {QStringLiteral("a\x01") + QStringLiteral("b\x1F"), QStringLiteral("a_x0001_b_x001F_")},
        {QStringLiteral("línea\r\nsiguiente\tfin"), QStringLiteral("línea_x000D_\nsiguiente\tfin")},
        {QString(QChar(0xFFFE)) + QChar(0xFFFF), QStringLiteral("_xFFFE__xFFFF_")},
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xDC00), QStringLiteral("a_xD800_b_xDC00_")},
        {QStringLiteral("cara \U0001F600 ñandú"), QStringLiteral("cara \U0001F600 ñandú")},
        // A text that reads as an escape has its underscore escaped.
        {QStringLiteral("_x0041_ y _xbeef_"), QStringLiteral("_x005F_x0041_ y _x005F_xbeef_")},
        {QStringLiteral("_x00G1_ _x0041 _X0041_"), QStringLiteral("_x00G1_ _x0041 _X0041_")},
    };
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    int fila = 0;
    for (const auto& [escrito, leido] : casos) {
        EXPECT_TRUE(wb->activeSheet().cells(++fila, 1).setText(escrito)) << fila;
    }
    const QString path = enCarpeta(QStringLiteral("caracteres.xlsx"));
    ASSERT_TRUE(wb->saveAs(path));
    const auto h = leer(path).sheets.value(0);
    fila = 0;
    for (const auto& [escrito, leido] : casos) {
        EXPECT_EQ(h.at(QStringLiteral("A%1").arg(++fila)).value.toString(), leido) << fila;
    }
}

TEST(Workbook, FittingTextIsTheLongestBeginningACellHolds)
{
    const QString x(40000, u'x');
    const QString pair = QStringLiteral("\U0001F600");
    const QString nul(1, QChar(0));
    const std::pair<QString, qsizetype> casos[] = {
        {QString(), 0},
        {x.left(32767), 32767},
        {x, 32767},
        // A surrogate pair stays whole: it ends at 32,768 or at 32,767.
        {x.left(32766) + pair, 32766},
        {x.left(32765) + pair, 32767},
        // An escaped character takes the room of its escape.
        {x.left(100) + nul + x, 32761},
        {QString(4681, QChar(0)), 4681},
        {QString(4682, QChar(0)), 4681},
    };
    for (const auto& [texto, largo] : casos) {
        const QString cabe = platform::xlsx::fittingText(texto);
        EXPECT_EQ(cabe.size(), largo) << texto.size();
        EXPECT_EQ(cabe, texto.left(largo)) << texto.size();
    }
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    EXPECT_FALSE(wb->activeSheet().cells(1, 1).setText(QString(4682, QChar(0))));
    EXPECT_TRUE(wb->activeSheet().cells(1, 1).setText(QString(4681, QChar(0))));
}

TEST(Workbook, ASheetTakesRowsUpToItsLimit)
{
    auto grande = Workbook::create(1);
    ASSERT_TRUE(grande);
    EXPECT_EQ(grande->activeSheet().rowLimit(), 1048576);

    platform::xlsx::workbookSettings().rowsPerSheet = 3;
    auto wb = Workbook::create(2);
    ASSERT_TRUE(wb);
    for (int hoja = 0; hoja < 2; ++hoja) {
        auto& s = wb->sheet(hoja);
        EXPECT_EQ(s.rowLimit(), 3);
        EXPECT_TRUE(s.cells(3, 1).setNumber(3));
        EXPECT_FALSE(s.cells(4, 1).setNumber(4));
        EXPECT_EQ(s.lastRow(), 3);
    }
}

TEST(Workbook, AFailureTellsItsCause)
{
    using Cause = platform::xlsx::Failure::Cause;
    const std::pair<int, Cause> casos[] = {
        {ENOSPC, Cause::NoSpace},     {EDQUOT, Cause::NoSpace},     {EACCES, Cause::NoPermission},
        {EPERM, Cause::NoPermission}, {EROFS, Cause::NoPermission}, {ENOENT, Cause::NoFolder},
        {ENOTDIR, Cause::NoFolder},   {EIO, Cause::Other},
    };
    const QString path = enCarpeta(QStringLiteral("libro.xlsx"));
    for (const auto& [error, causa] : casos) {
        platform::xlsx::workbookSettings().simulatedWriteError = error;
        auto wb = Workbook::create(1);
        ASSERT_TRUE(wb);
        wb->activeSheet().cells(1, 1).setNumber(1);
        platform::xlsx::Failure failure;
        EXPECT_FALSE(wb->saveAs(path, &failure)) << error;
        EXPECT_EQ(failure.cause, causa) << error;
        EXPECT_EQ(failure.detail, QString::fromLocal8Bit(std::strerror(error))) << error;
        EXPECT_FALSE(QFile::exists(path)) << error;
    }
    platform::xlsx::workbookSettings().simulatedWriteError = 0;

    // A missing folder, as the system reports it.
    auto wb = Workbook::create(1);
    ASSERT_TRUE(wb);
    platform::xlsx::Failure failure;
    EXPECT_FALSE(wb->saveAs(enCarpeta(QStringLiteral("no/existe/libro.xlsx")), &failure));
    EXPECT_EQ(failure.cause, Cause::NoFolder);

    // No private folder can be made where the cache folder is a file.
    QFile archivo(enCarpeta(QStringLiteral("archivo")));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(archivo.fileName()));
    failure = {};
    EXPECT_FALSE(Workbook::create(1, &failure));
    EXPECT_EQ(failure.cause, Cause::NoFolder);
}
