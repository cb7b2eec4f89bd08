#include "ExportarPrueba.h"

#include "data/DB_Dll.h"
#include "export/HojaExcel.h"
#include "export/ModExportarExcel.h"
#include "support/EmbeddedFixture.h"
#include "support/TestEnvironment.h"

namespace exportar_tests {

void Exportar::SetUp()
{
    testing_support::EmbeddedFixture servidor;
    servidor.createDatabase(
        QStringLiteral("EXPORTA"),
        QStringLiteral(
            "CREATE TABLE ARTICULOS (Codigo varchar(15), ID integer PRIMARY KEY, Cantidad integer, Costo money,"
            " Importe decimal(14,2), Factor float, Alta datetime, Movido datetime, FhUltimoCosto datetime,"
            " Nota varchar(30));"
            "INSERT INTO ARTICULOS VALUES ('A01', 7, 12, 1234.5, 99.9, 2.5, '2024-03-15 00:00:00',"
            " '2024-03-18 08:05:30', '2024-02-01 10:20:30', 'primera');"
            "INSERT INTO ARTICULOS VALUES ('00012', 8, 0, 0, 0, 0, '2024-03-16 00:00:00',"
            " '2024-03-18 23:59:59.500', '2024-02-02 00:00:00', '  con blancos  ');"
            "INSERT INTO ARTICULOS VALUES ('C03', 9, -3, NULL, 10.25, 1.75, NULL, '2024-03-19 00:00:01', NULL,"
            " NULL);"));
    data::gDbPrincipal().OpenServerADODB(false, 3, servidor.connectionString(QStringLiteral("EXPORTA")), false, false);
    ASSERT_TRUE(data::gDbPrincipal().gOpenFlag);
    exportacion::DefinirFechaServidor([] { return platform::DateTime(QDate(2024, 3, 18), QTime(9, 30)); });
    exportacion::DefinirIntervaloAvance(0);
    escritorio = std::make_unique<testing_support::DesktopCatcher>();
}

testing_support::XlsxSheet Exportar::abierto()
{
    if (escritorio->opened.isEmpty()) {
        ADD_FAILURE() << "no workbook was opened";
        return {};
    }
    return leer(escritorio->opened.last().toLocalFile());
}

testing_support::XlsxSheet Exportar::leer(const QString& path)
{
    const testing_support::XlsxBook book = testing_support::readXlsx(path);
    EXPECT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    EXPECT_EQ(book.sheets.size(), 2);
    return book.sheets.value(0);
}

QString Exportar::enCarpeta(const QString& name)
{
    return testing_support::testFolder() + u'/' + name;
}

} // namespace exportar_tests
