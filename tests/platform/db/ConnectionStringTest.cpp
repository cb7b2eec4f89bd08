#include "platform/db/Backend.h"

#include "support/TestEnvironment.h"
#include "support/ParamName.h"

#include <QDir>

#include <gtest/gtest.h>

using platform::db::ConnectionString;

namespace {

struct Case
{
    const char* text;
    const char* key;
    const char* expected;
};

class ConnectionStringCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(ConnectionStringCases, ReadsTheValue)
{
    const Case& c = GetParam();
    const ConnectionString parsed = ConnectionString::parse(QString::fromUtf8(c.text));
    EXPECT_EQ(parsed.value(QString::fromUtf8(c.key)), QString::fromUtf8(c.expected)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Parse, ConnectionStringCases,
    ::testing::Values(Case{"PROVIDER=SQLOLEDB;Server=srv;Database =Ventas;UId=sa;Pwd=x;", "database", "Ventas"},
                      Case{"PROVIDER=SQLOLEDB;Server=srv;Database =Ventas;", "Provider", "SQLOLEDB"},
                      Case{"  server  =  host\\inst  ; database=d", "SERVER", "host\\inst"},
                      Case{"Pwd={a;b=c}};d};UId=u", "pwd", "a;b=c};d"}, Case{"Pwd={a;b=c}};d};UId=u", "uid", "u"},
                      Case{"Password=\"say \"\"hi\"\"; now\";User=x", "password", "say \"hi\"; now"},
                      Case{"Database=first;database=second", "database", "first"},
                      Case{"junk;Server=s;;", "server", "s"}, Case{"Server=a=b;", "server", "a=b"},
                      Case{"Server=", "server", ""}),
    testing_support::NombrePorTexto<Case>([](const Case& c) { return c.key; }));

TEST(ConnectionString, MissingKeysAndSynonyms)
{
    const ConnectionString parsed = ConnectionString::parse(QStringLiteral("Data Source=orcl;User Id=u;"));
    EXPECT_FALSE(parsed.has(QStringLiteral("server")));
    EXPECT_TRUE(parsed.has(QStringLiteral(" Data Source ")));
    EXPECT_EQ(parsed.value(QStringLiteral("server"), QStringLiteral("none")), QStringLiteral("none"));
    EXPECT_EQ(parsed.first({"server", "data source"}), QStringLiteral("orcl"));
}

TEST(ConnectionString, OnlySqlOleDbWithAServerFolderOpensTheEmbeddedEngine)
{
    const auto embedded = [](const char* text) {
        return platform::db::usesEmbeddedEngine(ConnectionString::parse(QString::fromUtf8(text)));
    };
    QDir(testing_support::testFolder()).mkpath(QStringLiteral("demo-server"));
    QDir(testing_support::testFolder()).mkpath(QStringLiteral("datos/server"));
    struct ServerCase
    {
        const char* text;
        bool embedded;
    };
    const ServerCase cases[] = {
        {"PROVIDER=SQLOLEDB;Server=/srv/demo;Database=BKDEMO;", true},
        {"Provider=sqloledb.1;Data Source=./demo;", true},
        {"PROVIDER=SQLOLEDB;Server=../demo;", true},
        {"PROVIDER=SQLOLEDB;Server=~/demo;", true},
        {"PROVIDER=SQLOLEDB;Server={  /srv/demo };", true},
        // Folders of the program folder, named without a path.
        {"PROVIDER=SQLOLEDB;Server=demo-server;", true},
        {"PROVIDER=SQLOLEDB;Server=datos/server;", true},
        // Servers reached through ODBC.
        {"PROVIDER=SQLOLEDB;Server=otros/server;", false},
        {"PROVIDER=SQLOLEDB;Server=prefijo/10.0.0.5:1433;", false},
        {"PROVIDER=SQLOLEDB;Server=host\\inst;Database=BKDEMO;", false},
        {"PROVIDER=SQLOLEDB;Server=host:1433;", false},
        {"PROVIDER=SQLOLEDB;Server=;", false},
        {"PROVIDER=OraOLEDB.Oracle.1;Data Source=/orcl;", false},
    };
    for (const ServerCase& c : cases) {
        EXPECT_EQ(embedded(c.text), c.embedded) << c.text;
    }
}

} // namespace
