#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// `scaled` divided by 10^decimals, written with all those fraction digits
// (none and no point for 0) and a minus sign when `negative`: amounts are
// written digit by digit into one text.
inline QString scaledText(bool negative, uint64_t scaled, int decimals)
{
    char16_t text[32];
    int at = 32;
    for (int k = 0; k < decimals; ++k, scaled /= 10)
        text[--at] = char16_t(u'0' + scaled % 10);
    if (decimals > 0)
        text[--at] = u'.';
    do {
        text[--at] = char16_t(u'0' + scaled % 10);
        scaled /= 10;
    } while (scaled > 0);
    if (negative)
        text[--at] = u'-';
    return QString(reinterpret_cast<const QChar*>(text + at), 32 - at);
}

} // namespace platform
