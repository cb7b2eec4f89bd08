#pragma once

#include "platform/db/Types.h"

#include <QString>

#include <cstdint>

namespace platform::db {

// Raises the DbError that ADO raises for one of its own error numbers
// (adErr::ObjectClosed, ObjectOpen, ItemNotFound, NoCurrentRecord,
// BadArgument, OperationNotAllowed), with ADO's description and `source`
// (a missing field's source is always "ADODB.Fields"); any other number
// raises adErr::ConnectionUnusable.
[[noreturn]] void raiseAdoError(int32_t number, const QString& source);

} // namespace platform::db
