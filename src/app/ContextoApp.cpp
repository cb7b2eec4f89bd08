#include "app/ContextoApp.h"

#include "platform/core/ProgramWide.h"

namespace app {

namespace {

platform::ProgramWide<ContextoApp> g_contexto;

} // namespace

ContextoApp& contexto()
{
    return g_contexto.get();
}

} // namespace app
