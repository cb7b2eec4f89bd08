// Texts that are not statements SQL Server runs, found by fuzzing the
// translator and the engine: each fails with a syntax error, never
// translates to nothing, to another statement or to a conversion that
// SQL Server has not.
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTranslator.h"

#include <gtest/gtest.h>

using platform::db::DbError;
using platform::db::sqlite::SqlTranslator;

namespace {

struct MalformedCase
{
    const char* name;
    const char* tsql;
};

const MalformedCase kMalformed[] = {
    {"HintAlone", "with(nolock)"},
    {"HintAloneAfterAStatement", "SELECT * FROM T ;with(nolock) "},
    {"PrecisionAbove38", "SELECT CONVERT(decimal(39,2), 1)"},
    {"PrecisionOfBillions", "SELECT CONVERT(decimal(2000000000,1999999999), 1)"},
    {"ScaleAbovePrecision", "SELECT CONVERT(decimal(10,11), 1)"},
    {"PrecisionMax", "SELECT CAST(1 AS numeric(MAX))"},
    {"PrecisionWithDecimals", "SELECT CONVERT(decimal(1.5), 1)"},
    {"EnginesOwnFunction", "SELECT tsql_int(1, 0)"},
    {"EnginesOwnFunctionQuoted", "SELECT [TSQL_Decimal](1, 2000000000, 1999999999)"},
    // SQLite's own functions: SQL Server has none of them, or LOG with another base.
    {"NaturalLog", "SELECT LOG(100)"},
    {"Length", "SELECT length(Nombre) FROM T"},
    {"EngineVersion", "SELECT sqlite_version()"},
    {"RandomBytes", "SELECT randomblob(8)"},
    {"JsonPath", "SELECT json_extract('{}', '$.a')"},
    {"DateFormat", "SELECT strftime('%Y', GETDATE())"},
};

class MalformedTest : public ::testing::TestWithParam<MalformedCase>
{
};

TEST_P(MalformedTest, FailsWithASyntaxError)
{
    try {
        const auto steps = SqlTranslator::translateUncached(QString::fromUtf8(GetParam().tsql));
        FAIL() << "translated into " << steps.size() << " step(s), the last: " << steps.back().sql.toStdString();
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::db::adErr::Syntax) << e.description().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Found, MalformedTest, ::testing::ValuesIn(kMalformed),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
