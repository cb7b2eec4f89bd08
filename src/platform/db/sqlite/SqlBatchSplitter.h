#pragma once

#include "platform/db/sqlite/SqlTokenizer.h"

#include <vector>

namespace platform::db::sqlite::translation {

// Splits a batch at ";" and at line breaks before a new statement's first
// word, keeping together what belongs to one statement.
std::vector<std::vector<Node>> splitBatch(const std::vector<Node>& tokens);

} // namespace platform::db::sqlite::translation
