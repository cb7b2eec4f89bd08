#pragma once

#include "platform/db/Connection.h"

#include <QString>

#include <memory>

namespace testing_support {

// An embedded server folder inside the current test's folder, holding data
// bases that a test builds from SQLite scripts (the script runs as written,
// not through the translator). Raises DbError when a script fails.
class EmbeddedFixture
{
public:
    explicit EmbeddedFixture(const QString& folderName = QStringLiteral("server"));

    QString folder() const { return m_folder; }
    // Builds <folder>/<name>.sqlite; returns its path.
    QString createDatabase(const QString& name, const QString& script) const;
    // The connection string the program builds for a SQL Server data base.
    QString connectionString(const QString& database) const;
    // An open connection to `database`.
    std::unique_ptr<platform::db::Connection> open(const QString& database) const;

private:
    QString m_folder;
};

} // namespace testing_support
