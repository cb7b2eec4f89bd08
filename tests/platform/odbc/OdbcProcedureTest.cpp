// Stored-procedure calls through ODBC: the call text and the values bound to
// its markers. A call reaching a real driver is in OdbcSqliteTest.cpp.
#include "platform/db/odbc/OdbcProcedures.h"

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

} // namespace
