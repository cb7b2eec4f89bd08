#pragma once

struct sqlite3;

namespace platform::db::sqlite {

// The collation that text columns of embedded data bases declare: letters
// compare without regard to case, and trailing blanks are not counted, as
// in SQL Server's default collation.
inline constexpr const char* kTextCollation = "SQLSERVER";

// Registers on a new SQLite connection the collation above and the functions
// that translated statements call (date parts, conversions, LEN, CHARINDEX,
// a LIKE that understands [...] sets, ...). Returns SQLITE_OK or an error code.
int registerSqlServerExtensions(sqlite3* db);

} // namespace platform::db::sqlite
