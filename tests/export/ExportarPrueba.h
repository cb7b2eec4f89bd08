#pragma once

#include "support/DesktopCatcher.h"
#include "support/XlsxReader.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace exportar_tests {

// Every row of the fixture's table, in key order.
inline const QString kArticulos = QStringLiteral("SELECT * FROM ARTICULOS ORDER BY ID");

// The text of a cell.
inline QString texto(const testing_support::XlsxSheet& h, const char* ref)
{
    return h.at(QString::fromLatin1(ref)).value.toString();
}

// A data base with the table ARTICULOS (Codigo, ID, Cantidad, Costo,
// Importe, Factor, Alta, Movido, FhUltimoCosto, Nota) holding three rows,
// opened as gDbPrincipal; the server's date is 18/03/2024; progress is
// reported at every cell; the desktop's open requests are caught.
class Exportar : public ::testing::Test
{
protected:
    void SetUp() override;

    // The workbook the desktop was asked to open last, read back.
    testing_support::XlsxSheet abierto();
    // A workbook file read back.
    static testing_support::XlsxSheet leer(const QString& path);
    static QString enCarpeta(const QString& name);

    std::unique_ptr<testing_support::DesktopCatcher> escritorio;
};

} // namespace exportar_tests
