#pragma once

#include "platform/db/Backend.h"

#include <QString>

#include <vector>

namespace platform::db::odbc {

// A stored-procedure call as the ODBC driver receives it.
struct ProcedureCall
{
    QString text;                // "{call name(?,?)}"
    std::vector<Variant> values; // one per marker, in order
};

// The ODBC call escape for a stored procedure: one marker per parameter, an
// empty position for an Empty value (the procedure's default applies), the
// Empty ones at the end left out, "{call name}" when none is left. Raises
// 0x80040E14 for a name that is not a procedure name (words or bracketed
// names joined by dots), adErr::NotSupported for a parameter that is not an
// input one.
ProcedureCall procedureCall(const QString& name, const std::vector<ProcedureParameter>& parameters);

} // namespace platform::db::odbc
