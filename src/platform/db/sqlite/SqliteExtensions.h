#pragma once

struct sqlite3;

namespace platform::db::sqlite {

// The collation that text columns of embedded data bases declare: texts
// compare in dictionary order without regard to letter case, accents kept
// apart, and trailing blanks are not counted, as in SQL Server's default
// collation.
inline constexpr const char* kTextCollation = "SQLSERVER";

// The order of the collation has changed over the engine's life; a file
// records in its user_version the order its indexes were built with.
inline constexpr int kCollationVersion = 1;

// Records in a new file that its indexes follow the current order.
void stampCollationVersion(sqlite3* db);

// Rebuilds the indexes of a file built with an earlier order, so that look-ups
// through them find what the collation says; a file that cannot be written is
// left as it is.
void refreshCollationIndexes(sqlite3* db);

// Registers on a new SQLite connection the collation above and the functions
// that translated statements call (date parts, conversions, LEN, CHARINDEX,
// a LIKE that understands [...] sets, ...). Returns SQLITE_OK or an error code.
int registerSqlServerExtensions(sqlite3* db);

} // namespace platform::db::sqlite
