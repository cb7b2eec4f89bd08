#include "support/EmbeddedFixture.h"

#include "platform/db/sqlite/SqliteBackend.h"
#include "support/TestEnvironment.h"

#include <QDir>

namespace testing_support {

EmbeddedFixture::EmbeddedFixture(const QString& folderName) : m_folder(QDir(testFolder()).filePath(folderName))
{
    QDir().mkpath(m_folder);
}

QString EmbeddedFixture::createDatabase(const QString& name, const QString& script) const
{
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".sqlite"));
    platform::db::sqlite::createDatabase(path, script);
    return path;
}

QString EmbeddedFixture::connectionString(const QString& database) const
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=sa;Pwd=secret;Connect Timeout=5;")
        .arg(m_folder, database);
}

std::unique_ptr<platform::db::Connection> EmbeddedFixture::open(const QString& database) const
{
    auto connection = std::make_unique<platform::db::Connection>();
    connection->Open(connectionString(database));
    return connection;
}

} // namespace testing_support
