#include "AddressSpaceLimit.h"

#include <QFile>

#include <algorithm>

#include <unistd.h>

namespace json_tests {

namespace {

// Bytes of address space the process has mapped, from /proc/self/statm.
qint64 mappedBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace

bool AddressSpaceLimit::available()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

AddressSpaceLimit::AddressSpaceLimit(qint64 headroom)
{
    const qint64 mapped = mappedBytes();
    if (!available() || mapped < 0 || getrlimit(RLIMIT_AS, &m_previous) != 0) {
        return;
    }
    rlimit limit = m_previous;
    limit.rlim_cur = std::min(limit.rlim_cur, rlim_t(mapped + headroom));
    m_set = setrlimit(RLIMIT_AS, &limit) == 0;
}

AddressSpaceLimit::~AddressSpaceLimit()
{
    if (m_set) {
        setrlimit(RLIMIT_AS, &m_previous);
    }
}

} // namespace json_tests
