#pragma once

#include "platform/ui/ControlError.h"

#include <cstdint>
#include <functional>

namespace ui_tests {

// The number of the ControlError that `call` raises; 0 when it raises none.
inline int32_t errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::ui::ControlError& e) {
        return e.number();
    }
    return 0;
}

} // namespace ui_tests
