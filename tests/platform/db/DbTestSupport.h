#pragma once

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace dbtest {

// Runs `call`, which must raise DbError, and returns what it carried.
inline platform::db::ErrorInfo raised(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::db::DbError& e) {
        return e.info();
    }
    ADD_FAILURE() << "no DbError was raised";
    return {};
}

// A small catalogue of articles and price lists, written in SQLite's own SQL
// with the conventions of the embedded schemas (text collation, maxlen_ checks).
inline QString catalogueScript()
{
    return QStringLiteral(R"(
CREATE TABLE Articulos (
  IdArticulo varchar(20) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
  Descripcion varchar(10) COLLATE SQLSERVER,
  Costo money,
  Margen decimal(18,6),
  Activo bit NOT NULL DEFAULT 1,
  Alta datetime,
  Stock int,
  Notas nvarchar(50) COLLATE SQLSERVER DEFAULT 'sin notas',
  CONSTRAINT maxlen_Descripcion CHECK (length(Descripcion) <= 10),
  CONSTRAINT ck_stock CHECK (Stock IS NULL OR Stock >= 0)
);
INSERT INTO Articulos VALUES ('A1', 'Yerba', 1234.5678, 0.123456, 1, '2024-03-01 10:15:30.250', 5, 'uno');
INSERT INTO Articulos VALUES ('A2', 'Azucar', 0.1, NULL, 0, '2024-03-02 00:00:00', 0, NULL);
INSERT INTO Articulos VALUES ('A3', NULL, NULL, NULL, 1, NULL, NULL, 'tres');
CREATE TABLE Listas (
  IdLista varchar(4) COLLATE SQLSERVER NOT NULL,
  IdArticulo varchar(20) COLLATE SQLSERVER NOT NULL REFERENCES Articulos(IdArticulo),
  Precio money,
  PRIMARY KEY (IdLista, IdArticulo)
);
INSERT INTO Listas VALUES ('L1', 'A1', 1500.25);
CREATE VIEW V_Activos AS SELECT IdArticulo, Descripcion FROM Articulos WHERE Activo = 1;
)");
}

// A test on the catalogue built as the data base "Ventas", with a connection to it.
class CatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.createDatabase(QStringLiteral("Ventas"), catalogueScript());
        cn = server.open(QStringLiteral("Ventas"));
    }

    testing_support::EmbeddedFixture server;
    std::unique_ptr<platform::db::Connection> cn;
};

} // namespace dbtest
