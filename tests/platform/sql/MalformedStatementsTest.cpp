// Texts that are not statements SQL Server runs, found by fuzzing the
// translator: each fails with a syntax error, never translates to nothing or
// to another statement.
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
