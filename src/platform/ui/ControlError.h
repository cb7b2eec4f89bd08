#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace platform::ui {

// Raised by the standard controls where the platform's controls raise a
// run-time error (an invalid row or column, a missing panel or item), with
// the platform's error number.
class ControlError : public std::exception
{
public:
    ControlError(int32_t number, const QString& description)
        : m_number(number), m_description(description), m_what(description.toStdString())
    {
    }
    int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int32_t m_number;
    QString m_description;
    std::string m_what;
};

namespace controlErr {
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t InvalidRow = 30009;
constexpr int32_t InvalidCol = 30010;
constexpr int32_t IndexOutOfBounds = 35600;
constexpr int32_t ElementNotFound = 35601;
constexpr int32_t KeyNotUnique = 35602;
} // namespace controlErr

} // namespace platform::ui
