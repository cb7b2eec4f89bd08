#include "platform/core/LogFile.h"

#include "platform/core/Runtime.h"

namespace platform {

LogFile::~LogFile()
{
    close();
}

bool LogFile::open(const QString& path)
{
    close();
    m_file.setFileName(path);
    // Unbuffered: each line goes to the system in one write, with no copy kept here.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return false;
    }
    Runtime::instance().registerOpenFile(&m_file);
    return true;
}

bool LogFile::writeLine(const QString& line)
{
    if (!m_file.isOpen()) {
        return false;
    }
    const QByteArray bytes = line.toUtf8() + "\r\n";
    return m_file.write(bytes) == bytes.size() && m_file.flush();
}

void LogFile::close()
{
    if (m_file.isOpen()) {
        m_file.close();
    }
    Runtime::instance().unregisterOpenFile(&m_file);
}

bool LogFile::appendLine(const QString& path, const QString& line)
{
    LogFile log;
    return log.open(path) && log.writeLine(line);
}

} // namespace platform
