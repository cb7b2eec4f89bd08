// Stored-procedure calls through ODBC: the call text and the values bound to
// its markers, and a call reaching a real driver (the SQLite ODBC driver,
// which has no procedures, so only its refusal can be seen).
#include "platform/db/odbc/OdbcBackend.h"
#include "platform/db/odbc/OdbcProcedures.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::db;

namespace {

ProcedureParameter input(const Variant& value)
{
    return ProcedureParameter{QStringLiteral("@p"), adVarChar, 1, 50, value};
}

TEST(OdbcProcedure, TheCallHasOneMarkerPerGivenValue)
{
    struct Case
    {
        QString name;
        std::vector<ProcedureParameter> parameters;
        QString text;
        std::vector<Variant> values;
    };
    const Case cases[] = {
        {QStringLiteral("sp1_getCfg"),
         {input(QStringLiteral("DeshabilitaBusquedaCodigo"))},
         QStringLiteral("{call sp1_getCfg(?)}"),
         {Variant(QStringLiteral("DeshabilitaBusquedaCodigo"))}},
        {QStringLiteral(" dbo.sp_dos "),
         {input(1), input(Variant::null())},
         QStringLiteral("{call dbo.sp_dos(?,?)}"),
         {Variant(1), Variant::null()}},
        {QStringLiteral("[dbo].[sp x]"), {}, QStringLiteral("{call [dbo].[sp x]}"), {}},
        // An Empty value leaves its position to the procedure's default; the last ones are left out.
        {QStringLiteral("sp_tres"),
         {input(Variant()), input(2), input(Variant())},
         QStringLiteral("{call sp_tres(,?)}"),
         {Variant(2)}},
        {QStringLiteral("sp_nada"), {input(Variant())}, QStringLiteral("{call sp_nada}"), {}},
    };
    for (const Case& c : cases) {
        const odbc::ProcedureCall call = odbc::procedureCall(c.name, c.parameters);
        EXPECT_EQ(call.text, c.text);
        EXPECT_EQ(call.values, c.values) << c.text.toStdString();
    }
}

TEST(OdbcProcedure, OnlyAProcedureNameAndInputParametersAreTaken)
{
    for (const char* name : {"sp1_getCfg(?); DROP TABLE x", "sp}", "", "a b", "[a]]b]"}) {
        try {
            odbc::procedureCall(QString::fromUtf8(name), {});
            ADD_FAILURE() << "taken: " << name;
        } catch (const DbError& e) {
            EXPECT_EQ(e.number(), adErr::Syntax) << name;
        }
    }
    ProcedureParameter output = input(1);
    output.direction = 2;
    try {
        odbc::procedureCall(QStringLiteral("sp"), {output});
        ADD_FAILURE() << "an output parameter was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), adErr::NotSupported);
    }
}

TEST(OdbcProcedure, TheCallReachesTheDriverAndItsRefusalComesBack)
{
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFileInfo::exists(driver)) {
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    }
    const QString file = QDir(testing_support::testFolder()).filePath(QStringLiteral("odbc.db"));
    const QString text = QStringLiteral("Driver=%1;Database=%2").arg(driver, file);
    OpenParams params;
    params.connectionString = text;
    params.parsed = ConnectionString::parse(text);
    auto backend = odbc::createOdbcBackend(params.parsed);
    std::vector<ErrorInfo> errors;
    backend->open(params, errors);
    // The driver takes the call escape and the bound value, then refuses the
    // procedure; its own message comes back in Errors.
    try {
        backend->executeProcedure(QStringLiteral("sp1_getCfg"), {input(QStringLiteral("x"))}, errors);
        ADD_FAILURE() << "the driver ran a procedure";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.info().Description.contains(QStringLiteral("sp1_getCfg"))) << e.info().Description.toStdString();
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].Description.contains(QStringLiteral("sp1_getCfg")));
}

} // namespace
