#include "platform/core/Collection.h"

#include "platform/core/RunTimeError.h"

namespace platform {

const Variant& Collection::item(qsizetype index) const
{
    if (index < 1 || index > count()) {
        throw RunTimeError::subscriptOutOfRange();
    }
    return m_items[std::size_t(index - 1)];
}

} // namespace platform
