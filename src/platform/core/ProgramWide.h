#pragma once

#include "platform/core/Runtime.h"

#include <memory>
#include <utility>

namespace platform {

// One program-wide instance of T: created (value-initialised) on first use,
// or set by its owner, and dropped when the program context is reset, so that
// each test starts from a fresh one. Declared at namespace scope, one per
// instance; like the rest of the program's state it is used from the GUI
// thread only.
template <class T> class ProgramWide
{
public:
    constexpr ProgramWide() = default;
    ProgramWide(const ProgramWide&) = delete;
    ProgramWide& operator=(const ProgramWide&) = delete;

    // The instance, created on first use.
    T& get()
    {
        if (!m_value) {
            set(std::make_unique<T>());
        }
        return *m_value;
    }
    // The instance, or nullptr while none was created or set.
    T* find() const { return m_value.get(); }
    // Replaces the instance; an empty pointer drops it.
    void set(std::unique_ptr<T> value)
    {
        if (!m_dropOnReset) {
            m_dropOnReset = true;
            Runtime::instance().onReset([this] { m_value.reset(); });
        }
        m_value = std::move(value);
    }
    // Drops the instance; the next get() creates a fresh one.
    void drop() { m_value.reset(); }

private:
    std::unique_ptr<T> m_value;
    bool m_dropOnReset = false;
};

} // namespace platform
