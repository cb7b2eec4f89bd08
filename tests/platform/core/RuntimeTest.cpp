// The program context: its operator and its reset.
#include "platform/core/Runtime.h"

#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

TEST(RuntimeDeathTest, AQuestionWithNoOperatorInstalledEndsTheProcessInsteadOfOpeningAWindow)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            platform::Runtime::instance().setOperator(nullptr);
            platform::op().MsgBox(QStringLiteral("¿Continuar?"), platform::msgbox::YesNo);
        },
        "No operator is installed");
}

TEST(Runtime, AResetContextHasNoOperatorUntilOneIsInstalled)
{
    platform::Runtime& rt = platform::Runtime::instance();
    ASSERT_NE(rt.installedOperator(), nullptr);
    rt.reset();
    EXPECT_EQ(rt.installedOperator(), nullptr);
    testing_support::ScriptedOperator& op = testing_support::installScriptedOperator();
    EXPECT_EQ(rt.installedOperator(), &op);
    EXPECT_EQ(&platform::op(), &op);
}
