#pragma once

// Calendar of the demo data: milliseconds since 1970-01-01 00:00:00, civil
// dates without time zones.

#include <cstdint>
#include <vector>

namespace demo::detail {

inline constexpr int64_t kMsPerMinute = 60000;
inline constexpr int64_t kMsPerDay = 86400000;

// The day number of a civil date (0 is 1970-01-01).
int64_t daysFromCivil(int y, int m, int d);

// "yyyy-mm-dd hh:mm" of the known changes, as milliseconds; throws
// std::logic_error on a text of another form.
int64_t parseMinute(const char* text);

// The one storage form of date-times: "yyyy-mm-dd hh:mm:ss", ".fff" only when
// the milliseconds are not zero.
void formatDateTime(int64_t ms, char (&out)[64]);

// Monday to Saturday between two dates (inclusive), as day numbers.
std::vector<int64_t> businessDays(int64_t first, int64_t last);

} // namespace demo::detail
