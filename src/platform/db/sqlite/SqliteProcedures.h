#pragma once

namespace platform::db::sqlite {

// Stored procedures of an embedded data base are rows of this table: the
// procedure's name and its definition as SQL Server keeps it, "CREATE
// PROCEDURE name @p type [= default], ... AS body" in T-SQL. A call binds its
// values to the named parameters of the translated body; they are never
// pasted into the text.
inline constexpr const char* kProcedureTable = "TSQL_PROCEDURES";

// The SQLite statement that creates the table (run where the SQL Server
// collation is registered).
inline constexpr const char* kProcedureTableSql =
    "CREATE TABLE TSQL_PROCEDURES (NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, "
    "DEFINITION text NOT NULL)";

} // namespace platform::db::sqlite
