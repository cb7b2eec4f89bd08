#pragma once

#include "platform/db/sqlite/SqlTokenizer.h"

#include <QSet>
#include <QString>

namespace platform::db::sqlite::translation {

// The words that begin a statement (upper case); a line break before one of
// them may end the statement before it.
const QSet<QString>& statementKeywords();

// The reserved words the emitter writes as keywords (upper case).
const QSet<QString>& keywords();

// A group that holds only table hints: (nolock), (rowlock, updlock).
bool isHintGroup(const Node& n);

} // namespace platform::db::sqlite::translation
