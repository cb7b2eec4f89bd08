#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

// Raised where the platform's run time raises one of its numbered errors
// (an overflow, a subscript out of range), with the platform's number and
// description.
class RunTimeError : public std::exception
{
public:
    RunTimeError(int32_t number, const QString& description)
        : m_number(number), m_description(description), m_what(description.toStdString())
    {
    }
    int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    static RunTimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RunTimeError subscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }

private:
    int32_t m_number;
    QString m_description;
    std::string m_what;
};

} // namespace platform
