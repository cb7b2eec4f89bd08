// Runs any text through the embedded engine's connection on a copy of a data
// base built from the statement corpus' fixtures, and reads every value of
// its results, so that the SQL functions and the collation registered for
// translated statements get any arguments. A failure must be a DbError; a
// statement that runs long ends at the command time-out. Plain statements
// run in a transaction that is rolled back after them; a batch that changes
// the schema, the transaction or the session runs on a fresh copy.
#include "FuzzSupport.h"

#include "platform/core/DateTime.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqlTranslator.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using platform::db::DbError;

namespace {

// Every fixture of the corpus but bounds.sql, whose table prices.sql also has.
constexpr const char* kFixtures[] = {"constructs", "dates", "grid", "money", "phones", "prices", "settings", "texts"};

struct Server
{
    QTemporaryDir folder;
    QString pristine;
    QString database;
    QString connectionString;
    std::unique_ptr<platform::db::Connection> connection;
};

Server& server()
{
    static Server s = [] {
        Server made;
        QString script;
        for (const char* name : kFixtures) {
            QFile file(QStringLiteral(CP_CORPUS_FIXTURES "/%1.sql").arg(QLatin1String(name)));
            if (!file.open(QIODevice::ReadOnly))
                fuzz_support::fault("a fixture cannot be read", file.fileName());
            script += QString::fromUtf8(file.readAll()) + QStringLiteral(";\n");
        }
        made.pristine = made.folder.filePath(QStringLiteral("pristine.sqlite"));
        platform::db::sqlite::createDatabase(made.pristine, script);
        QDir().mkpath(made.folder.filePath(QStringLiteral("server")));
        made.database = made.folder.filePath(QStringLiteral("server/CORPUS.sqlite"));
        made.connectionString = QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database=CORPUS;UId=sa;Pwd=x;")
                                    .arg(made.folder.filePath(QStringLiteral("server")));
        platform::Runtime::instance().setClock(
            [] { return platform::DateTime(QDate(2024, 3, 11), QTime(12, 30, 10, 500)); });
        return made;
    }();
    return s;
}

// A connection to a fresh copy of the fixtures: what an earlier input wrote
// or dropped is not there.
platform::db::Connection& freshConnection(Server& s)
{
    s.connection.reset();
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(s.database + QLatin1String(suffix));
    if (!QFile::copy(s.pristine, s.database))
        fuzz_support::fault("the data base cannot be copied");
    s.connection = std::make_unique<platform::db::Connection>();
    s.connection->setCommandTimeout(1);
    s.connection->Open(s.connectionString);
    return *s.connection;
}

// Statements that a rollback undoes: no definition, transaction, USE or SET.
bool plain(const std::vector<platform::db::sqlite::TranslatedStep>& steps)
{
    using Kind = platform::db::sqlite::TranslatedStep::Kind;
    for (const auto& step : steps)
        if ((step.kind != Kind::Statement && step.kind != Kind::IfExists) || step.changesSchema || !plain(step.body))
            return false;
    return true;
}

void run(platform::db::Connection& connection, const QString& sql)
{
    try {
        const auto rs = connection.Execute(sql);
        if (rs->State() == platform::db::adStateOpen)
            for (; !rs->Eof(); rs->MoveNext())
                for (int i = 0; i < rs->FieldCount(); ++i)
                    (void)rs->value(i).toText();
    } catch (const DbError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Server& s = server();
    const QString sql = fuzz_support::text(data, size);
    bool undoable = true;
    try {
        undoable = plain(platform::db::sqlite::SqlTranslator::translateUncached(sql));
    } catch (const DbError&) {
    }
    if (!undoable) {
        run(freshConnection(s), sql);
        s.connection.reset();
        return 0;
    }
    platform::db::Connection& connection = s.connection ? *s.connection : freshConnection(s);
    connection.BeginTrans();
    run(connection, sql);
    try {
        connection.RollbackTrans();
    } catch (const DbError&) {
        s.connection.reset();
    }
    return 0;
}
