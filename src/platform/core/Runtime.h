#pragma once

#include "platform/core/DateTime.h"
#include "platform/core/Operator.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QFile;

namespace platform {

// Thrown by a test's exit handler so that a test can watch the program end.
struct ProgramExit
{
    int status;
};

// The program's context: the operator who answers questions, the clock, the
// program folder, the open log files and the exit routine. One instance for
// the process; tests replace its parts and reset() it between tests, and the
// program-wide instances of every layer (ProgramWide) are dropped on reset.
// A reset context has no operator until one is installed.
class Runtime
{
public:
    static Runtime& instance();

    // The installed operator. Asking with none installed is a fault of the
    // program's set-up: it ends the process with a message instead of
    // putting a window nobody scripted on the screen.
    Operator& op();
    // The installed operator, or nullptr.
    Operator* installedOperator() const { return m_operator.get(); }
    void setOperator(std::unique_ptr<Operator> op);
    // Removes the installed operator and hands it over (nullptr when none is).
    std::unique_ptr<Operator> takeOperator();

    DateTime now() const;
    void setClock(std::function<DateTime()> clock);

    // The executable's folder, unless a test set another.
    QString programFolder() const;
    void setProgramFolder(const QString& folder);
    // The program folder when it can be written, else $XDG_DATA_HOME/<program>/.
    QString writableFolder() const;
    // The executable's base name, without extension.
    QString programName() const;
    // The argument text of the command line: the arguments after the
    // program's name joined by blanks, unless a test set another text.
    QString commandLine() const;
    void setCommandLine(std::optional<QString> text);

    // Files kept open across calls; exitProgram() flushes and closes them.
    void registerOpenFile(QFile* file);
    void unregisterOpenFile(QFile* file);

    // Flushes and closes the open files, then ends the process with `status`
    // through the exit handler (which a test may replace; see ProgramExit).
    // Without a handler, the exit hooks run (newest first) and every
    // program-wide instance is dropped before the process ends, so that no
    // window is left for a static destructor to destroy after the
    // application object is gone.
    [[noreturn]] void exitProgram(int status);
    void setExitHandler(std::function<void(int)> handler);
    // Registers what exitProgram must close before the program-wide
    // instances go (the program's main window). Cleared on reset().
    void onExit(std::function<void()> hook);

    // Called by reset(), newest first. ProgramWide registers its instances here.
    void onReset(std::function<void()> hook);
    // Back to a fresh program: hooks run, parts restored to their defaults.
    void reset();

private:
    Runtime();
    void runResetHooks();

    std::unique_ptr<Operator> m_operator;
    std::function<DateTime()> m_clock;
    QString m_programFolder;
    std::optional<QString> m_commandLine;
    std::vector<QFile*> m_openFiles;
    std::function<void(int)> m_exitHandler;
    std::vector<std::function<void()>> m_resetHooks;
    std::vector<std::function<void()>> m_exitHooks;
};

// Shorthands for Runtime::instance().op() and .now().
inline Operator& op()
{
    return Runtime::instance().op();
}
inline DateTime now()
{
    return Runtime::instance().now();
}

} // namespace platform
