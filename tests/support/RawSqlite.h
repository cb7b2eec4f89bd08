#pragma once

#include <QString>
#include <QStringList>

namespace testing_support {

// Runs SQLite's own SQL on an embedded data base file as another program
// would, without the translator of the program's connections (for rows the
// program itself could not write as they are).
void runRawSql(const QString& path, const QString& sql);

// The rows of a query of SQLite's own SQL on an embedded data base file, read
// as another program would (each row its values' texts joined by tabs; write
// `quote(x)` in the query to see a value's storage class).
QStringList rawRows(const QString& path, const QString& sql);

} // namespace testing_support
