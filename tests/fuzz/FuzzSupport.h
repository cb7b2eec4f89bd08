#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

// The fuzzer's bytes as the program would read a typed or stored text.
inline QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Stops the run as a crash, so the fuzzer keeps the input: a check that a
// result has the form its caller relies on failed.
[[noreturn]] inline void fault(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "fuzz fault: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

} // namespace fuzz_support
