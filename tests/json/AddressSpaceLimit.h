#pragma once

#include <QtGlobal>

#include <sys/resource.h>

namespace json_tests {

// Holds the process to the address space it has mapped now plus `headroom`
// bytes while it lives, so that a large allocation fails as it does on a
// machine out of memory. The address sanitizer maps its shadow and its heap
// up front and stops the process when an allocation fails, so under it
// there is no such limit: available() says whether there is.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(qint64 headroom);
    ~AddressSpaceLimit();
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    static bool available();
    // Whether the limit is in force.
    bool isSet() const { return m_set; }

private:
    rlimit m_previous{};
    bool m_set = false;
};

} // namespace json_tests
