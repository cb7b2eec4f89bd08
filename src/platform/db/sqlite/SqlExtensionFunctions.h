#pragma once

#include <span>

struct sqlite3_context;
struct sqlite3_value;

namespace platform::db::sqlite::extensions {

// One SQL function that registerSqlServerExtensions declares on a connection:
// a scalar one (`fn`) or an aggregate (`step` and `final`).
struct FunctionDef
{
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
    void (*step)(sqlite3_context*, int, sqlite3_value**) = nullptr;
    void (*final)(sqlite3_context*) = nullptr;
};

// The SQLSERVER collation: dictionary order without regard to letter case,
// accents kept apart, trailing blanks not counted (sqlite3_create_collation_v2's
// comparison).
int compareText(void*, int lengthA, const void* a, int lengthB, const void* b);

// The functions of each group, to register on a connection.
std::span<const FunctionDef> likeFunctions();   // SqlCollation.cpp
std::span<const FunctionDef> dateFunctions();   // SqlDateFunctions.cpp
std::span<const FunctionDef> numberFunctions(); // SqlNumberFunctions.cpp
std::span<const FunctionDef> textFunctions();   // SqlTextFunctions.cpp
std::span<const FunctionDef> moneyFunctions();  // SqlMoneyFunctions.cpp

} // namespace platform::db::sqlite::extensions
