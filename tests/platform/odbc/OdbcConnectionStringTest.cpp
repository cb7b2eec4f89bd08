// The ODBC strings built from the OLE DB strings the program builds.
#include "platform/db/odbc/OdbcInternal.h"

#include <gtest/gtest.h>

using namespace platform::db;
using namespace platform::db::odbc;

namespace {

const InstalledDrivers kFreeTdsOnly{QStringLiteral("/usr/lib/odbc/libtdsodbc.so"), false, {}};

ConnectPlan plan(const QString& text, const InstalledDrivers& drivers = kFreeTdsOnly)
{
    return planConnection(ConnectionString::parse(text), text, drivers);
}

TEST(OdbcConnectionString, SqlOleDbBecomesAFreeTdsString)
{
    struct Case
    {
        const char* oleDb;
        const char* odbc;
        int loginTimeout;
    };
    const Case cases[] = {
        {"PROVIDER=SQLOLEDB;Server=srv01;Database =Precios;UId=demo;Pwd=demo;Connect Timeout=5;",
         "Driver={/usr/lib/odbc/libtdsodbc.so};Server={srv01};Database={Precios};UID={demo};PWD={demo};"
         "ClientCharset=UTF-8;TDS_Version=7.4;",
         5},
        {"PROVIDER=SQLOLEDB;Server=srv01\\TORVANE;Database =Precios;UId=demo;Pwd=demo;",
         "Driver={/usr/lib/odbc/libtdsodbc.so};Server={srv01\\TORVANE};Database={Precios};UID={demo};PWD={demo};"
         "ClientCharset=UTF-8;TDS_Version=7.4;",
         -1},
        {"PROVIDER=SQLOLEDB;Server=10.0.0.5:1500;Database =Precios;UId=demo;Pwd=demo;Connect Timeout=30;",
         "Driver={/usr/lib/odbc/libtdsodbc.so};Server={10.0.0.5};Port=1500;Database={Precios};UID={demo};"
         "PWD={demo};ClientCharset=UTF-8;TDS_Version=7.4;",
         30},
        {"Provider=SQLOLEDB.1;Data Source=srv02,1433;Initial Catalog=BK_ESTADISTICAS;User ID=sa;Password=;",
         "Driver={/usr/lib/odbc/libtdsodbc.so};Server={srv02};Port=1433;Database={BK_ESTADISTICAS};UID={sa};"
         "PWD={};ClientCharset=UTF-8;TDS_Version=7.4;",
         -1},
        {"PROVIDER=SQLOLEDB;Server=srv03\\INST,2000;Database =;UId=u;Pwd=p;Connect Timeout=abc;",
         "Driver={/usr/lib/odbc/libtdsodbc.so};Server={srv03};Port=2000;UID={u};PWD={p};"
         "ClientCharset=UTF-8;TDS_Version=7.4;",
         -1},
    };
    for (const Case& c : cases) {
        const ConnectPlan p = plan(QString::fromUtf8(c.oleDb));
        EXPECT_EQ(p.target, Target::SqlServer) << c.oleDb;
        EXPECT_EQ(p.odbcString, QString::fromUtf8(c.odbc)) << c.oleDb;
        EXPECT_EQ(p.loginTimeout, c.loginTimeout) << c.oleDb;
        EXPECT_EQ(p.source, u"Microsoft OLE DB Provider for SQL Server");
    }
}

TEST(OdbcConnectionString, APasswordCannotAddAttributes)
{
    // The program places the password between "Pwd=" and ";" as typed; a
    // quoted one may hold ";", "}" and "=".
    struct Case
    {
        const char* oleDb;
        const char* password;
    };
    const Case cases[] = {
        {"PROVIDER=SQLOLEDB;Server=srv01;Database =P;UId=demo;Pwd={a;Server=evil;b}}c};", "a;Server=evil;b}c"},
        {"PROVIDER=SQLOLEDB;Server=srv01;Database =P;UId=demo;Pwd=\"x};Port=1;UID=sa\";", "x};Port=1;UID=sa"},
        {"PROVIDER=SQLOLEDB;Server=srv01;Database =P;UId=demo;Pwd=}};", "}}"},
    };
    for (const Case& c : cases) {
        const ConnectPlan p = plan(QString::fromUtf8(c.oleDb));
        const QString password = QString::fromUtf8(c.password);
        EXPECT_TRUE(p.odbcString.contains(QStringLiteral(";PWD=") + braceQuoted(password) + u';')) << c.oleDb;
        // Read back with the ODBC rules, the string has exactly its own attributes.
        const ConnectionString back = ConnectionString::parse(p.odbcString);
        EXPECT_EQ(back.value(QStringLiteral("pwd")), password) << c.oleDb;
        EXPECT_EQ(back.value(QStringLiteral("server")), u"srv01") << c.oleDb;
        EXPECT_EQ(back.value(QStringLiteral("uid")), u"demo") << c.oleDb;
        EXPECT_FALSE(back.has(QStringLiteral("port"))) << c.oleDb;
    }
    EXPECT_EQ(braceQuoted(QStringLiteral("a}b}")), u"{a}}b}}}");
}

TEST(OdbcConnectionString, OracleNeedsAnOracleDriver)
{
    const QString text = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=VENTAS;User Id=scott;Password=ti;ger;");
    try {
        plan(text);
        FAIL() << "planned an Oracle connection without an Oracle driver";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), 3706);
        EXPECT_TRUE(e.info().Description.contains(u"Oracle")) << e.what();
        EXPECT_TRUE(e.info().Description.contains(u"VENTAS")) << e.what();
    }
    const ConnectPlan p = plan(text, InstalledDrivers{{}, true, {}});
    EXPECT_EQ(p.target, Target::Oracle);
    EXPECT_EQ(p.odbcString, u"DSN={VENTAS};UID={scott};PWD={ti};");
    EXPECT_EQ(p.loginTimeout, -1);
}

TEST(OdbcConnectionString, OdbcStringsPassAsGiven)
{
    struct Case
    {
        const char* text;
        const char* odbc;
        int loginTimeout;
    };
    const Case cases[] = {
        {"Provider=MSDASQL;Driver={SQLite3};Database=/tmp/a b.db;Connect Timeout=7",
         "Driver={SQLite3};Database=/tmp/a b.db", 7},
        {"Driver=/usr/lib/libx.so;Database=/tmp/a.db", "Driver=/usr/lib/libx.so;Database=/tmp/a.db", -1},
        {"DSN=Ventas;UID=u;PWD={p;Provider=x};", "DSN=Ventas;UID=u;PWD={p;Provider=x}", -1},
    };
    for (const Case& c : cases) {
        const ConnectPlan p = plan(QString::fromUtf8(c.text));
        EXPECT_EQ(p.target, Target::Odbc) << c.text;
        EXPECT_EQ(p.odbcString, QString::fromUtf8(c.odbc)) << c.text;
        EXPECT_EQ(p.loginTimeout, c.loginTimeout) << c.text;
    }
}

TEST(OdbcConnectionString, JetProvidersNameTheMdbToolsDriverAndTheFile)
{
    const InstalledDrivers drivers{{}, false, QStringLiteral("/usr/lib/odbc/libmdbodbc.so")};
    struct Case
    {
        const char* oleDb;
        const char* file;
        const char* password;
    };
    const Case cases[] = {
        {"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =/datos/Ventas 2024.mdb;User ID=Admin;Password=x;",
         "/datos/Ventas 2024.mdb", ""},
        {"PROVIDER=Microsoft.Jet.OLEDB.3.51;Data Source =/datos/../datos/v.mdb;User ID=;Password=; Jet "
         "OLEDB:Database Password=abc;",
         "/datos/v.mdb", "abc"},
        {"Provider=microsoft.jet.oledb.4.0;Data Source=bases/v.mdb;Jet OLEDB:Database Password={a;b};",
         "/programa/bases/v.mdb", "a;b"},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.oleDb);
        const ConnectPlan p = planConnection(ConnectionString::parse(text), text, drivers, QStringLiteral("/programa"));
        EXPECT_EQ(p.target, Target::Jet) << c.oleDb;
        EXPECT_EQ(p.jetFile, QString::fromUtf8(c.file)) << c.oleDb;
        EXPECT_EQ(p.jetPassword, QString::fromUtf8(c.password)) << c.oleDb;
        EXPECT_EQ(p.odbcString,
                  QStringLiteral("Driver={/usr/lib/odbc/libmdbodbc.so};DBQ=%1;").arg(QString::fromUtf8(c.file)));
        EXPECT_EQ(p.source, u"Microsoft JET Database Engine");
    }
}

TEST(OdbcConnectionString, UnusableStringsFailClearly)
{
    struct Case
    {
        const char* text;
        InstalledDrivers drivers;
        const char* part; // of the description
    };
    const Case cases[] = {
        {"PROVIDER=SQLOLEDB;Server=srv01;Database =P;", InstalledDrivers{}, "FreeTDS"},
        {"PROVIDER=SQLOLEDB;Server=srv01:14x3;Database =P;", kFreeTdsOnly, "14x3"},
        {"PROVIDER=SQLOLEDB;Server=srv01,70000;Database =P;", kFreeTdsOnly, "70000"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb", kFreeTdsOnly, "odbc-mdbtools"},
    };
    for (const Case& c : cases) {
        try {
            plan(QString::fromUtf8(c.text), c.drivers);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const DbError& e) {
            EXPECT_TRUE(e.info().Description.contains(QString::fromUtf8(c.part))) << e.what();
        }
    }
}

} // namespace
