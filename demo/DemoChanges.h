#pragma once

// The moments of mass price changes that the demo data base holds, so that the
// README, the tests and the benchmarks can name them. Each one is one minute
// of the price history in which one price class of many articles was changed
// at once, on the article master or on one price list. No other history row
// falls in these minutes.

#include <algorithm>

namespace demo {

struct KnownChange
{
    const char* minute;     // "yyyy-mm-dd hh:mm"
    const char* listCode;   // idLista exactly as the history stores it; nullptr stores NULL
    bool onMaster;          // the change was made on the article master (V_MA_ARTICULOS)
    const char* priceClass; // "Costo" or the digit of the column Precio1 .. Precio8
    int percent;            // the change applied: +8 raises by 8 %, -100 sets the price to zero
    int stride;             // the articles changed are those whose position i (article i has
    int offset;             //   the code 1001 + i) satisfies i % stride == offset,
    int limit;              //   at most `limit` of them (0: no limit)
    int firstSecond;        // the first row is at second firstSecond.000 of the minute,
    int lastSecond;         //   the last at lastSecond.999 (a lone row at firstSecond.000)
};

inline constexpr KnownChange kKnownChanges[] = {
    {"2024-02-05 09:15", "", true, "1", +8, 1, 0, 0, 2, 51},
    {"2024-02-19 18:40", nullptr, true, "Costo", -5, 2, 0, 0, 0, 58},
    {"2024-03-04 10:02", "0002  ", false, "2", +12, 1, 0, 0, 5, 44},
    {"2024-03-11 12:30", "0001", false, "1", -10, 3, 1, 0, 10, 39},
    {"2024-03-18 08:05", "    ", true, "Costo", +15, 1, 0, 0, 0, 59},
    {"2024-03-22 17:45", "0003", false, "Costo", +6, 4, 2, 0, 3, 33},
    {"2024-03-26 11:20", "", true, "1", -100, 97, 5, 3, 7, 7},
};

// History size of the small demo and the seed of its generator.
inline constexpr int kDefaultHistoryRows = 8000;
inline constexpr unsigned long long kDefaultSeed = 20240205ULL;

// The number of articles grows with the history: at least 400, one per 50 history rows.
inline constexpr int kMinimumArticles = 400;
inline constexpr int articleCount(long long historyRows)
{
    return static_cast<int>(std::max<long long>(kMinimumArticles, historyRows / 50));
}

// The number of history rows of one mass change for a data base of `articles` articles.
inline constexpr int changeRows(const KnownChange& change, int articles)
{
    const int n = articles > change.offset ? (articles - change.offset + change.stride - 1) / change.stride : 0;
    return change.limit > 0 ? std::min(n, change.limit) : n;
}

} // namespace demo
