#pragma once

#include <QFile>
#include <QString>

namespace platform {

// A text file opened for appending and kept open while the owner writes to
// it. Each line is written as UTF-8, ended by CR LF, and flushed at once; the
// program's exit routine closes it if the owner has not.
class LogFile
{
public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens `path` for appending (creating it); false when it cannot.
    bool open(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    // False when the line could not be written whole.
    bool writeLine(const QString& line);
    void close();

    // Appends one line to `path` and closes it again; false on failure.
    static bool appendLine(const QString& path, const QString& line);

private:
    QFile m_file;
};

} // namespace platform
