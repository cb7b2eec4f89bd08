#pragma once

// Writing the rows of the main data base. Each function throws BuildError when
// the engine refuses a row.

#include "demo/DemoData.h"

#include <sqlite3.h>

namespace demo::detail {

// The price history, replaying each event on the prices of `data`, so that
// they hold the current prices afterwards.
void writeHistory(sqlite3* db, Dataset& data);
// The article master, the price lists with their heads, and the families.
void writeArticlesAndLists(sqlite3* db, const Dataset& data);
// The configuration entries of group DATOS.
void writeConfiguration(sqlite3* db);
// The users, the menu and its tasks, the cash desks and the business units.
void writeUsersAndCompany(sqlite3* db);
// Accounts, entries, deposits and journals, with confidential accounts.
void writeAccounting(sqlite3* db);

} // namespace demo::detail
