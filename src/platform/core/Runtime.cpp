#include "platform/core/Runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace platform {

Runtime& Runtime::instance()
{
    static Runtime runtime;
    return runtime;
}

Runtime::Runtime()
{
    reset();
}

Operator& Runtime::op()
{
    if (!m_operator) {
        qFatal("No operator is installed: the program's main() or the test installs one before the first question.");
    }
    return *m_operator;
}

void Runtime::setOperator(std::unique_ptr<Operator> op)
{
    m_operator = std::move(op);
}

std::unique_ptr<Operator> Runtime::takeOperator()
{
    return std::move(m_operator);
}

DateTime Runtime::now() const
{
    return m_clock ? m_clock() : DateTime::fromQDateTime(QDateTime::currentDateTime());
}

void Runtime::setClock(std::function<DateTime()> clock)
{
    m_clock = std::move(clock);
}

QString Runtime::programFolder() const
{
    if (!m_programFolder.isEmpty()) {
        return m_programFolder;
    }
    if (QCoreApplication::instance()) {
        return QCoreApplication::applicationDirPath();
    }
    return QDir::currentPath();
}

void Runtime::setProgramFolder(const QString& folder)
{
    m_programFolder = folder;
}

QString Runtime::writableFolder() const
{
    const QString folder = programFolder();
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    if (probe.open()) {
        return folder;
    }
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    const QString fallback = base + u'/' + programName();
    QDir().mkpath(fallback);
    return fallback;
}

QString Runtime::programName() const
{
    if (QCoreApplication::instance()) {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }
    return QStringLiteral("CorrigePrecios");
}

QString Runtime::commandLine() const
{
    if (m_commandLine) {
        return *m_commandLine;
    }
    return QCoreApplication::instance() ? QCoreApplication::arguments().mid(1).join(u' ') : QString();
}

void Runtime::setCommandLine(std::optional<QString> text)
{
    m_commandLine = std::move(text);
}

void Runtime::registerOpenFile(QFile* file)
{
    if (std::find(m_openFiles.begin(), m_openFiles.end(), file) == m_openFiles.end()) {
        m_openFiles.push_back(file);
    }
}

void Runtime::unregisterOpenFile(QFile* file)
{
    std::erase(m_openFiles, file);
}

void Runtime::exitProgram(int status)
{
    for (QFile* file : std::exchange(m_openFiles, {})) {
        file->flush();
        file->close();
    }
    if (m_exitHandler) {
        m_exitHandler(status);
    }
    // Taken out first: a window closed here cannot end the program twice.
    std::vector<std::function<void()>> hooks = std::exchange(m_exitHooks, {});
    for (std::size_t i = hooks.size(); i-- > 0;) {
        hooks[i]();
    }
    runResetHooks();
    std::exit(status);
}

void Runtime::setExitHandler(std::function<void(int)> handler)
{
    m_exitHandler = std::move(handler);
}

void Runtime::onExit(std::function<void()> hook)
{
    m_exitHooks.push_back(std::move(hook));
}

void Runtime::onReset(std::function<void()> hook)
{
    m_resetHooks.push_back(std::move(hook));
}

void Runtime::runResetHooks()
{
    // By index and on a copy: a hook may register another one while it runs.
    for (std::size_t i = m_resetHooks.size(); i-- > 0;) {
        const std::function<void()> hook = m_resetHooks[i];
        hook();
    }
}

void Runtime::reset()
{
    runResetHooks();
    m_exitHooks.clear();
    m_operator.reset();
    m_clock = nullptr;
    m_programFolder.clear();
    m_commandLine.reset();
    m_openFiles.clear();
    m_exitHandler = nullptr;
}

} // namespace platform
