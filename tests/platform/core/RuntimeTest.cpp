// The program context: its operator, its reset and the program-wide
// instances it drops.
#include "platform/core/Runtime.h"

#include "platform/core/ProgramWide.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Cuenta
{
    int valor = 0;
};

platform::ProgramWide<Cuenta> g_cuenta;
platform::ProgramWide<Cuenta> g_otra;

// While it is dropped, it uses another program-wide instance for the first time.
struct UsaOtraAlIrse
{
    ~UsaOtraAlIrse() { g_otra.get().valor = 7; }
};
platform::ProgramWide<UsaOtraAlIrse> g_usaOtra;

} // namespace

TEST(ProgramWide, IsCreatedOnFirstUseKeptUntilTheResetAndFreshAfterIt)
{
    EXPECT_EQ(g_cuenta.find(), nullptr);
    Cuenta& primera = g_cuenta.get();
    EXPECT_EQ(primera.valor, 0);
    primera.valor = 3;
    EXPECT_EQ(&g_cuenta.get(), &primera);
    EXPECT_EQ(g_cuenta.find(), &primera);

    platform::Runtime::instance().reset();
    EXPECT_EQ(g_cuenta.find(), nullptr);
    EXPECT_EQ(g_cuenta.get().valor, 0);
}

TEST(ProgramWide, AnInstanceSetByItsOwnerIsDroppedAtTheResetToo)
{
    auto puesta = std::make_unique<Cuenta>();
    puesta->valor = 5;
    g_cuenta.set(std::move(puesta));
    EXPECT_EQ(g_cuenta.get().valor, 5);
    g_cuenta.drop();
    EXPECT_EQ(g_cuenta.find(), nullptr);

    g_cuenta.set(std::make_unique<Cuenta>(Cuenta{9}));
    platform::Runtime::instance().reset();
    EXPECT_EQ(g_cuenta.find(), nullptr);
}

TEST(ProgramWide, AnInstanceFirstUsedWhileTheContextResetsBelongsToTheFreshProgram)
{
    g_usaOtra.get();
    platform::Runtime::instance().reset();
    EXPECT_EQ(g_usaOtra.find(), nullptr);
    ASSERT_NE(g_otra.find(), nullptr);
    EXPECT_EQ(g_otra.find()->valor, 7);
    platform::Runtime::instance().reset();
    EXPECT_EQ(g_otra.find(), nullptr);
}

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

TEST(Runtime, TheCommandLineIsTheProgramsArgumentsUntilATestSetsAnother)
{
    platform::Runtime& runtime = platform::Runtime::instance();
    const QString propia = runtime.commandLine();
    runtime.setCommandLine(QStringLiteral("@Usuario=sa; @Password=x"));
    EXPECT_EQ(runtime.commandLine(), QStringLiteral("@Usuario=sa; @Password=x"));
    runtime.reset();
    EXPECT_EQ(runtime.commandLine(), propia);
}
