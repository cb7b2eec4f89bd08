#pragma once

#include "platform/db/sqlite/SqlTokenizer.h"

#include <vector>

namespace platform::db::sqlite::translation {

// Splits a batch at ";" and before each statement keyword that begins a new
// statement, on the same line or not (SET NOCOUNT ON UPDATE ... SELECT ...
// is three statements), keeping together what belongs to one statement.
std::vector<std::vector<Node>> splitBatch(const std::vector<Node>& tokens);

} // namespace platform::db::sqlite::translation
