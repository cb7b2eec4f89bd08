#include "app/ContextoApp.h"

#include "platform/core/Runtime.h"

#include <memory>

namespace app {

namespace {

std::unique_ptr<ContextoApp> g_contexto;

} // namespace

ContextoApp& contexto()
{
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        platform::Runtime::instance().onReset([] { g_contexto.reset(); });
    }
    if (!g_contexto) {
        g_contexto = std::make_unique<ContextoApp>();
    }
    return *g_contexto;
}

} // namespace app
