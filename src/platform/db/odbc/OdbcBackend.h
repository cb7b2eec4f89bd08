#pragma once

#include "platform/db/Backend.h"

#include <memory>

namespace platform::db::odbc {

// A backend that reaches its data base through unixODBC: SQL Server through
// FreeTDS, Oracle through an installed Oracle data source, any other ODBC
// driver named by the string itself. Every failing call appends the driver's
// diagnostic records to `errors` and raises DbError with the first of them.
std::unique_ptr<Backend> createOdbcBackend(const ConnectionString& parsed);

} // namespace platform::db::odbc
