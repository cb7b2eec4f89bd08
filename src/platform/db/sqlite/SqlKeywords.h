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

// A function that SQLite (or the engine itself, for its translations) has and
// SQL Server has not, or has with another meaning (LOG is natural there):
// a statement that calls one fails as on SQL Server instead of running it.
bool isEngineOnlyFunction(const QString& name);

} // namespace platform::db::sqlite::translation
