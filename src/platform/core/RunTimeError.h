#pragma once

#include "platform/core/Error.h"

#include <QString>

#include <cstdint>

namespace platform {

// Raised where the platform's run time raises one of its numbered errors
// (an overflow, a subscript out of range), with the platform's number and
// description and no source: the handler that catches it names the routine.
class RunTimeError : public Error
{
public:
    RunTimeError(int32_t number, const QString& description) : Error(number, description) {}

    static RunTimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RunTimeError subscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }
};

} // namespace platform
