#include "demo/DemoCalendar.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace demo::detail {

namespace {

void civilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe + era * 400) + (m <= 2 ? 1 : 0);
}

int64_t msAt(int y, int m, int d, int hh, int mm, int ss, int ms)
{
    return daysFromCivil(y, m, d) * kMsPerDay + ((hh * 60 + mm) * 60 + ss) * 1000LL + ms;
}

} // namespace

int64_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<int64_t>(era) * 146097 + doe - 719468;
}

int64_t parseMinute(const char* text)
{
    int y = 0, m = 0, d = 0, hh = 0, mm = 0;
    if (std::sscanf(text, "%d-%d-%d %d:%d", &y, &m, &d, &hh, &mm) != 5)
        throw std::logic_error(std::string("bad minute ") + text);
    return msAt(y, m, d, hh, mm, 0, 0);
}

void formatDateTime(int64_t ms, char (&out)[64])
{
    const int64_t days = ms / kMsPerDay;
    int64_t rest = ms % kMsPerDay;
    int y = 0, m = 0, d = 0;
    civilFromDays(days, y, m, d);
    const int millis = static_cast<int>(rest % 1000);
    rest /= 1000;
    const int ss = static_cast<int>(rest % 60);
    const int mm = static_cast<int>(rest / 60 % 60);
    const int hh = static_cast<int>(rest / 3600);
    if (millis != 0)
        std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, hh, mm, ss, millis);
    else
        std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm, ss);
}

std::vector<int64_t> businessDays(int64_t first, int64_t last)
{
    std::vector<int64_t> days;
    for (int64_t day = first; day <= last; ++day)
        if ((day + 4) % 7 != 0) // 1970-01-01 was a Thursday; 0 is a Sunday
            days.push_back(day);
    return days;
}

} // namespace demo::detail
