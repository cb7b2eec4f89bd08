#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace platform {

// What an error carries: the number and description that the error dialogs
// show, the source that raised it, and the provider's SQLSTATE and native
// error where a data-base provider raised it (empty and 0 otherwise). Also one
// entry of a connection's Errors collection.
struct ErrorInfo
{
    int32_t Number = 0;
    QString Description;
    QString Source;
    QString SQLState;
    int32_t NativeError = 0;
};

// The one error type the platform raises. The data platform's DbError and the
// controls' ControlError derive from it, so that a procedure's handler catches
// this type and shows or logs it through ErrObject.
class Error : public std::exception
{
public:
    explicit Error(ErrorInfo info) : m_info(std::move(info)), m_what(m_info.Description.toStdString()) {}
    Error(int32_t number, const QString& description, const QString& source = {})
        : Error(ErrorInfo{number, description, source, {}, 0})
    {
    }

    const ErrorInfo& info() const { return m_info; }
    int32_t number() const { return m_info.Number; }
    const QString& description() const { return m_info.Description; }
    const QString& source() const { return m_info.Source; }
    const QString& sqlState() const { return m_info.SQLState; }
    int32_t nativeError() const { return m_info.NativeError; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    ErrorInfo m_info;
    std::string m_what;
};

} // namespace platform
