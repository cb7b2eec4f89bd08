// Shared main of every test executable: an offscreen QApplication, the C
// locale, and for each test a fresh program context whose files go to a new
// temporary folder (also TMPDIR, the system's temporary folder) and whose
// exit routine throws instead of ending the run.
#include "support/TestEnvironment.h"

#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

std::unique_ptr<QTemporaryDir> g_folder;
// A folder for the whole run, outside every test's own.
std::unique_ptr<QTemporaryDir> g_runFolder;
// TMPDIR as the run found it: each test's folder is made under it.
std::optional<QByteArray> g_tmpdir;

class FreshProgram : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override
    {
        QLocale::setDefault(QLocale::c());
        platform::Runtime& rt = platform::Runtime::instance();
        rt.reset();
        g_folder = std::make_unique<QTemporaryDir>();
        rt.setProgramFolder(g_folder->path());
        rt.setExitHandler([](int status) { throw platform::ProgramExit{status}; });
        qputenv("TEMP", g_folder->path().toUtf8());
        qputenv("TMP", g_folder->path().toUtf8());
        qputenv("TMPDIR", g_folder->path().toUtf8());
        qputenv("XDG_DATA_HOME", (g_folder->path() + QStringLiteral("/xdg")).toUtf8());
        qputenv("XDG_CACHE_HOME", (g_folder->path() + QStringLiteral("/cache")).toUtf8());
        testing_support::installScriptedOperator();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        auto* op = dynamic_cast<testing_support::ScriptedOperator*>(platform::Runtime::instance().installedOperator());
        if (op && op->pending() != 0) {
            ADD_FAILURE() << op->pending() << " scripted answer(s) were never asked for";
        }
        platform::Runtime::instance().reset();
        g_folder.reset();
        if (g_tmpdir) {
            qputenv("TMPDIR", *g_tmpdir);
        } else {
            qunsetenv("TMPDIR");
        }
    }
};

} // namespace

namespace testing_support {

QString testFolder()
{
    return g_folder ? g_folder->path() : QString();
}

QString runFolder()
{
    return g_runFolder->path();
}

ScriptedOperator& scriptedOperator()
{
    return dynamic_cast<ScriptedOperator&>(platform::Runtime::instance().op());
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(CP_FIXTURES_DIR) + u'/' + name;
}

} // namespace testing_support

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    if (qEnvironmentVariableIsSet("TMPDIR")) {
        g_tmpdir = qgetenv("TMPDIR");
    }
    g_runFolder = std::make_unique<QTemporaryDir>();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProgram);
    const int status = RUN_ALL_TESTS();
    g_runFolder.reset();
    return status;
}
