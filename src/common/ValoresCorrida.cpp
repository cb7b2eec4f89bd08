#include "common/ValoresCorrida.h"

#include "platform/core/ProgramWide.h"

namespace common {

namespace {

platform::ProgramWide<ValoresCorrida> g_valores;

} // namespace

ValoresCorrida& valoresCorrida()
{
    return g_valores.get();
}

} // namespace common
