#include "common/ValoresCorrida.h"

#include "platform/core/Runtime.h"

#include <memory>

namespace common {

namespace {

std::unique_ptr<ValoresCorrida> g_valores;

} // namespace

ValoresCorrida& valoresCorrida()
{
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        platform::Runtime::instance().onReset([] { g_valores.reset(); });
    }
    if (!g_valores) {
        g_valores = std::make_unique<ValoresCorrida>();
    }
    return *g_valores;
}

} // namespace common
