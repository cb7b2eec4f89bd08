#pragma once

// The tables, keys, checks, indexes and views of the demo data bases.

#include <string>
#include <vector>

namespace demo::detail {

// Schema. Declared types are SQL Server's, because the engine's backend reads
// field types from them; every text column compares as SQL Server does, and
// every sized text column carries the length check the backend reports as 8152.
struct Column
{
    std::string name;
    std::string type;
    std::string extra; // NOT NULL, DEFAULT ...
};

struct Table
{
    std::string name;
    std::vector<Column> columns;
    std::string primaryKey; // column list, or empty
    std::string unique;     // column list, or empty
};

// The CREATE TABLE text of `table`: each text column with the SQL Server
// collation, the keys (a key of one "integer" column is an identity that
// never reuses a value), the length check of each sized text column and the
// number check of each money column.
std::string createTableSql(const Table& table);

// TA_CONFIGURACION, which both data bases hold.
Table configurationTable();
// Every table of the main data base.
std::vector<Table> mainTables();

// Restricted views that users who are not administrators read instead of the
// tables. The engine has no per-user rights, so they show what such a user may
// see: everything but the confidential accounts and their entries.
inline const char* const kRestrictedViews[] = {
    "CREATE VIEW SS_MA_CUENTAS AS SELECT * FROM MA_CUENTAS WHERE Confidencial = 0",
    "CREATE VIEW SS_V_TA_DEPOSITO AS SELECT * FROM V_TA_DEPOSITO",
    "CREATE VIEW SS_MV_ASIENTOS AS SELECT * FROM MV_ASIENTOS "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
    "CREATE VIEW SS_V_TA_FAMILIAS AS SELECT * FROM V_TA_FAMILIAS",
    "CREATE VIEW SS_V_TA_CAJAS AS SELECT * FROM V_TA_Cajas",
    "CREATE VIEW SS_AC_CUENTASDIARIO AS SELECT * FROM AC_CUENTASDIARIO "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
    "CREATE VIEW SS_AC_CUENTAS_DIARIO_CCOSTO AS SELECT * FROM AC_CUENTASDIARIO_CCOSTO "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
};

// Indexes of a real installation: the history by article, by list and by time.
inline const char* const kIndexes[] = {
    // The correction run's previous price: one article's latest row of one
    // list before a moment, by the id as stored (a numbered class) or trimmed
    // (the cost class); for the article master, whose rows hold one of two
    // list values, the article's rows back in time, each read for its list.
    "CREATE INDEX IX_PreciosHis_Articulo ON V_MV_PreciosHis (IdArticulo, idLista, FechaHora)",
    "CREATE INDEX IX_PreciosHis_ArticuloTrim ON V_MV_PreciosHis "
    "(ltrim(rtrim(IdArticulo)) COLLATE SQLSERVER, idLista, FechaHora)",
    "CREATE INDEX IX_PreciosHis_ArticuloFecha ON V_MV_PreciosHis (IdArticulo, FechaHora, idLista)",
    "CREATE INDEX IX_PreciosHis_ArticuloTrimFecha ON V_MV_PreciosHis "
    "(ltrim(rtrim(IdArticulo)) COLLATE SQLSERVER, FechaHora, idLista)",
    "CREATE INDEX IX_PreciosHis_Lista ON V_MV_PreciosHis (idLista, FechaHora)",
    "CREATE INDEX IX_PreciosHis_FechaHora ON V_MV_PreciosHis (FechaHora)",
    // The grid counts the history and finds the first key of a page walking
    // the keys in order: their own index holds them on a tenth of the pages
    // the rows take.
    "CREATE INDEX IX_PreciosHis_ID ON V_MV_PreciosHis (ID)",
    // The current value is read by the trimmed id, the master's update finds
    // its row by the id trimmed on the left.
    "CREATE INDEX IX_Articulos_IdTrim ON V_MA_ARTICULOS (ltrim(rtrim(IDARTICULO)) COLLATE SQLSERVER)",
    "CREATE INDEX IX_Articulos_IdLtrim ON V_MA_ARTICULOS (ltrim(IDARTICULO) COLLATE SQLSERVER)",
    "CREATE INDEX IX_Precios_IdTrim ON V_MA_PRECIOS (ltrim(rtrim(IDARTICULO)) COLLATE SQLSERVER, idlista)",
    "CREATE INDEX IX_Articulos_Descripcion ON V_MA_ARTICULOS (DESCRIPCION)",
    "CREATE INDEX IX_Articulos_Familia ON V_MA_ARTICULOS (IdFamilia)",
    "CREATE INDEX IX_Precios_Lista ON V_MA_PRECIOS (idlista)",
    "CREATE INDEX IX_Configuracion_Clave ON TA_CONFIGURACION (CLAVE, GRUPO)",
    "CREATE INDEX IX_Control_Acceso_Usuario ON Control_Acceso (Usuario, Ingreso)",
    "CREATE INDEX IX_CpteAcciones_FechaHora ON V_MV_CPTEACCIONES (FECHAHORA)",
    "CREATE INDEX IX_Asientos_Cuenta ON MV_ASIENTOS (IdCuenta, Fecha)",
};

} // namespace demo::detail
