#pragma once

// The catalogue tables that the code look-up box searches and adds rows to,
// the templates of the sale and purchase reasons, and the stored procedure
// of its settings. Each table holds a few rows that show its rule: codes
// right-aligned in four characters, rows that a condition leaves out, names
// with and without telephones.

#include "demo/DemoSchema.h"

#include <sqlite3.h>

#include <vector>

namespace demo::detail {

// The catalogue tables of the main data base.
std::vector<Table> catalogueTables();
// Their rows; throws BuildError when the engine refuses one.
void writeCatalogue(sqlite3* db);
// The views over the catalogue: VT_MA_ARTICULOS over the article master.
inline const char* const kCatalogueViews[] = {
    "CREATE VIEW VT_MA_ARTICULOS AS SELECT * FROM V_MA_ARTICULOS",
};
// The stored procedures of the main data base (sp1_getCfg over the
// configuration table); throws BuildError when the engine refuses one.
void writeProcedures(sqlite3* db);

} // namespace demo::detail
