#pragma once

#include "platform/core/Variant.h"

#include <QString>

namespace json_tests {

// A tree read by the JSON reader in one line: objects as {"key":value,...}
// in their order, arrays as [value,...], texts in double quotes with JSON's
// escapes (control characters and unpaired surrogates as \uXXXX), decimals
// as their shortest text, true, false and null; a value no JSON gives
// (Empty, a date ...) as <type:text>.
QString canonicalLine(const platform::Variant& value);

} // namespace json_tests
