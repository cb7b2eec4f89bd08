#pragma once

#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTokenizer.h"
#include "platform/db/sqlite/SqlTranslator.h"

#include <vector>

namespace platform::db::sqlite::translation {

// Translates one statement (its nodes nested) and appends its steps:
// transactions, USE, IF [NOT] EXISTS, SET NOCOUNT, ALTER TABLE ... ADD and
// the statements SQLite runs after the emitter rewrote them, with the kinds of
// the catalogue's columns. With `parameters`, the literals of SELECT, INSERT,
// UPDATE and DELETE that meet columns become parameters (see Emitter),
// numbered across the batch. Raises the translator's errors for what the
// embedded engine cannot run.
void translateStatement(std::vector<Node> nodes, const SqlCatalog& catalog, std::vector<TranslatedStep>& steps,
                        std::vector<Parameter>* parameters = nullptr);

} // namespace platform::db::sqlite::translation
