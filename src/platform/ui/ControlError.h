#pragma once

#include "platform/core/RunTimeError.h"

#include <cstdint>

namespace platform::ui {

// Raised by the standard controls where the platform's controls raise a
// run-time error (an invalid row or column, a missing panel or item), with
// the platform's error number and no source: the handler that catches it
// names the control.
class ControlError : public platform::RunTimeError
{
public:
    using RunTimeError::RunTimeError;
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
