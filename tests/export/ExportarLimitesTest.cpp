// Where the data meet the sheet's limits: text columns wider than a column
// can be, records past the last row, texts longer than a cell holds,
// characters the file stores escaped, and an empty list of totals. Every
// record and character is written, or the operator is told what was not.
#include "ExportarPrueba.h"

#include "export/ModExportarExcel.h"
#include "platform/core/Operator.h"
#include "platform/xlsx/Workbook.h"
#include "support/RawSqlite.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

namespace {

using exportacion::ExportarExcelPorRS;
using exportar_tests::Exportar;
using exportar_tests::kArticulos;
using exportar_tests::texto;
using testing_support::XlsxSheet;

// A width of 255 characters as the file stores it, with the application's
// 5-pixel margin, in 1/256 of a character: (255 × 7 + 5) ÷ 7.
constexpr double kAnchoMaximo = 65462 / 256.0;

// Runs SQLite's own SQL on the fixture's data base, beside the program's
// connection. SQLite keeps a bracketed type name ("[varchar(max)]") as the
// declared type, without the brackets.
void sqlite(const QString& sql)
{
    testing_support::runRawSql(testing_support::testFolder() + QStringLiteral("/server/EXPORTA.sqlite"), sql);
}

// The one message box the export asked, or an empty text.
QString aviso()
{
    const auto& preguntas = testing_support::scriptedOperator().asked();
    return preguntas.size() == 1 ? preguntas.front().prompt : QString();
}

struct Limite
{
    const char* nombre;
    int filas;           // the sheet's last row
    const char* titulo;  // the head's title, or ""
    const char* totales; // the fields to total
    int ultimaFila;      // the sheet's last row written
    const char* mensaje; // the notice, or "" for none
};

const Limite kLimites[] = {
    // Heading row 1 and the three records: nothing left out, no notice.
    {"exact_fit", 4, "", "", 4, ""},
    {"one_short", 3, "", "", 3,
     "La hoja de Excel tiene 3 filas: se exportaron 2 registros y el registro restante no cabe en ella, no se "
     "exportó."},
    {"under_a_title", 3, "Lista", "", 3,
     "La hoja de Excel tiene 3 filas: se exportó 1 registro y los 2 restantes no caben en ella, no se exportaron."},
    {"only_the_head", 1, "", "", 1,
     "La hoja de Excel tiene 1 filas: se exportaron 0 registros y los 3 restantes no caben en ella, no se "
     "exportaron."},
    // Every record fits, the totals below them do not.
    {"no_room_for_totals", 4, "", "Cantidad", 4,
     "Los totales no caben debajo de la última fila de la hoja y no se escribieron."},
    {"neither", 2, "", "Cantidad,Costo", 2,
     "La hoja de Excel tiene 2 filas: se exportó 1 registro y los 2 restantes no caben en ella, no se "
     "exportaron.\nLos totales no caben debajo de la última fila de la hoja y no se escribieron."},
    {"room_for_totals", 5, "", "Cantidad", 5, ""},
};

class FilasDeLaHoja : public Exportar, public ::testing::WithParamInterface<Limite>
{
};

} // namespace

TEST_F(Exportar, TextColumnsOfAnySizeKeepTheHeadingRowAndEveryRecord)
{
    sqlite(QStringLiteral(
        "CREATE TABLE LARGOS (Codigo varchar(10), Texto text, Largo [varchar(max)], Ancho [nvarchar(max)], Nota ntext);"
        "INSERT INTO LARGOS VALUES ('L1', 'uno', 'dos', 'tres', 'cuatro');"
        "INSERT INTO LARGOS VALUES ('L2', 'cinco', 'seis', 'siete', 'ocho');"));
    ExportarExcelPorRS(QStringLiteral("SELECT * FROM LARGOS ORDER BY Codigo"), true, QStringLiteral("Lista"),
                       QStringLiteral("Sucursal"), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    EXPECT_EQ(texto(h, "A2"), QStringLiteral("Sucursal"));
    EXPECT_EQ(texto(h, "A3"), QStringLiteral("Codigo"));
    EXPECT_EQ(texto(h, "E3"), QStringLiteral("Nota"));
    EXPECT_EQ(texto(h, "A4"), QStringLiteral("L1"));
    EXPECT_EQ(texto(h, "E4"), QStringLiteral("cuatro"));
    EXPECT_EQ(texto(h, "A5"), QStringLiteral("L2"));
    EXPECT_EQ(texto(h, "E5"), QStringLiteral("ocho"));
    EXPECT_EQ(h.maxRow, 5);
    // The text columns as wide as a column can be; the short one at its 500 ÷ 90.
    for (const char* col : {"B", "C", "D", "E"}) {
        EXPECT_EQ(h.widths.value(QString::fromLatin1(col)), kAnchoMaximo) << col;
    }
    EXPECT_EQ(h.widths.value(QStringLiteral("A")), int((int(500.0 / 90 * 7 + 0.5) + 5) / 7.0 * 256) / 256.0);
}

TEST_P(FilasDeLaHoja, RecordsAndTotalsPastTheLastRowAreReported)
{
    const Limite& c = GetParam();
    platform::xlsx::workbookSettings().rowsPerSheet = c.filas;
    auto& op = testing_support::scriptedOperator();
    const QString mensaje = QString::fromUtf8(c.mensaje);
    if (!mensaje.isEmpty()) {
        op.answerMsgBox(platform::msgbox::OK, mensaje);
    }
    ExportarExcelPorRS(kArticulos, true, QString::fromUtf8(c.titulo), QString(), QString(), nullptr, 0,
                       QString::fromUtf8(c.totales));
    EXPECT_EQ(op.pending(), 0u);
    EXPECT_EQ(aviso(), mensaje);
    const XlsxSheet h = abierto();
    EXPECT_EQ(h.maxRow, c.ultimaFila);
    // The records that fit are the first ones, in order.
    const int primera = c.titulo[0] ? 3 : 2;
    const QStringList codigos{"A01", "00012", "C03"};
    for (int fila = primera; fila <= std::min(c.ultimaFila, primera + 2); ++fila) {
        EXPECT_EQ(texto(h, qPrintable(QStringLiteral("A%1").arg(fila))), codigos.at(fila - primera)) << fila;
    }
}

INSTANTIATE_TEST_SUITE_P(Exportar, FilasDeLaHoja, ::testing::ValuesIn(kLimites),
                         [](const ::testing::TestParamInfo<Limite>& caso) { return std::string(caso.param.nombre); });

TEST_F(Exportar, TextsLongerThanACellHoldsAreCutAndTheirColumnsNamed)
{
    // 40,000 and 32,767 characters, made by SQLite itself.
    sqlite(QStringLiteral(
        "CREATE TABLE LARGOS (Codigo varchar(10), Detalle [varchar(max)], Resumen [varchar(max)], Nota [varchar(max)]);"
        "INSERT INTO LARGOS VALUES ('L1', replace(hex(zeroblob(20000)), '00', 'ab'),"
        " replace(hex(zeroblob(32767)), '00', 'x'), 'corta');"
        "INSERT INTO LARGOS VALUES ('L2', 'corto', 'corto', replace(hex(zeroblob(20000)), '00', 'yz'));"));
    auto& op = testing_support::scriptedOperator();
    const QString mensaje = QStringLiteral(
        "Los textos de más de 32767 caracteres se cortaron a los primeros 32767 en las columnas Detalle, Nota.");
    op.answerMsgBox(platform::msgbox::OK, mensaje);
    ExportarExcelPorRS(QStringLiteral("SELECT * FROM LARGOS ORDER BY Codigo"), true, QString(), QString(), QString(),
                       nullptr, 0, QString());
    EXPECT_EQ(aviso(), mensaje);
    const XlsxSheet h = abierto();
    QString ab;
    for (int i = 0; i < 20000; ++i) {
        ab += QStringLiteral("ab");
    }
    EXPECT_EQ(texto(h, "B2"), ab.left(32767));
    EXPECT_EQ(texto(h, "C2"), QString(32767, u'x'));
    EXPECT_EQ(texto(h, "D2"), QStringLiteral("corta"));
    EXPECT_EQ(texto(h, "D3").size(), 32767);
    EXPECT_TRUE(texto(h, "D3").startsWith(QStringLiteral("yzyz")));

    // One cut column is named alone.
    op.answerMsgBox(platform::msgbox::OK,
                    QStringLiteral("Los textos de más de 32767 caracteres se cortaron a los primeros 32767 en la "
                                   "columna Detalle."));
    ExportarExcelPorRS(QStringLiteral("SELECT Codigo, Detalle FROM LARGOS ORDER BY Codigo"), true, QString(), QString(),
                       QString(), nullptr, 0, QString());
    EXPECT_EQ(op.pending(), 0u);
}

TEST_F(Exportar, ATextKeepsEveryCharacterPastANul)
{
    sqlite(QStringLiteral("UPDATE ARTICULOS SET Nota = 'antes' || char(0) || 'despues' WHERE ID = 7;"
                          "UPDATE ARTICULOS SET Nota = 'uno' || char(1) || 'dos' || char(65535) WHERE ID = 8;"));
    ExportarExcelPorRS(kArticulos, true, QString(), QString(), QString(), nullptr, 0, QString());
    const XlsxSheet h = abierto();
    // In the format's own escapes, which the reader hands back as stored.
    EXPECT_EQ(texto(h, "I2"), QStringLiteral("antes_x0000_despues"));
    EXPECT_EQ(texto(h, "I3"), QStringLiteral("uno_x0001_dos_xFFFF_"));
}

TEST_F(Exportar, AnEmptyTotalsListWritesNoTotals)
{
    // The second field has no name; the grid's button passes no totals.
    const QString sql = QStringLiteral("SELECT Codigo, Cantidad * 2 FROM ARTICULOS ORDER BY ID");
    for (const char* totales : {"", ",", ",,"}) {
        SCOPED_TRACE(totales);
        ExportarExcelPorRS(sql, true, QString(), QString(), QString(), nullptr, 0, QString::fromLatin1(totales));
        const XlsxSheet h = abierto();
        EXPECT_EQ(h.maxRow, 4);
        EXPECT_EQ(h.at("B4").value.toDouble(), -6.0);
        EXPECT_FALSE(h.cells.contains(QStringLiteral("B5")));
    }
}
