#pragma once

// The demo data, generated from one seed: the articles, the price lists and
// the price history with its known mass changes.

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace demo::detail {

// A small generator of our own (SplitMix64), so that a seed gives the same data
// on every platform and library.
class Generator
{
public:
    explicit Generator(uint64_t seed) : m_state(seed) {}

    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t m_state;
};

// Articles and price lists.
struct Family
{
    const char* code;
    const char* name;
    std::vector<const char*> products;
    std::vector<const char*> sizes;
};

// The families of articles, each with the products and sizes its articles
// are named from.
const std::vector<Family>& families();

struct PriceList
{
    const char* code;
    const char* padded; // the same code as some history rows store it, with trailing blanks
    const char* name;
    const char* type;  // tipolista: V sale list, C purchase list
    int factorPercent; // its prices against the master's
};

inline const PriceList kLists[] = {
    {"0001", "0001  ", "Lista Mayorista", "V", 90},           {"0002", "0002  ", "Lista Sucursales", "V", 100},
    {"0003", "0003  ", "Lista Tarjeta de Crédito", "V", 110}, {"0004", "0004  ", "Compras Distribuidora Sur", "C", 100},
    {"0005", "0005  ", "Lista Promociones", "v", 85},
};
inline constexpr int kListCount = static_cast<int>(std::size(kLists));

inline const char* const kHistoryUsers[] = {"ALTAS", "COMPRAS", "MGARCIA", "JLOPEZ", "RFERNANDEZ", "DEMO"};
enum HistoryUser : uint8_t { UserAltas = 0, UserCompras = 1, FirstClerk = 2 };

struct Article
{
    std::string code;
    std::string description;
    const char* family;
    bool suspended;
};

using Prices = std::array<int64_t, 9>; // cents: 0 the cost, 1..8 the sale prices

struct Event
{
    int64_t ms;
    int32_t article;
    int8_t list;      // -1 the article master, else an index of kLists
    int8_t column;    // -1 no change (the article's first row), 0 the cost, 1..8 a sale price
    int16_t percent;  // change applied to that column
    const char* code; // idLista as stored; nullptr for NULL
    uint8_t user;
};

// `cents` changed by `percent`, rounded to the nearest cent.
int64_t applyPercent(int64_t cents, int percent);

struct Dataset
{
    std::vector<Article> articles;
    std::vector<Prices> master;
    std::vector<Prices> lists; // article * kListCount + list
    std::vector<Event> events; // in time order
};

// The history rows of all known mass changes for `articles` articles.
int64_t massRowTotal(int articles);

// The articles and lists with their first prices, and the history events in
// time order: the first row of every article and list, the known mass
// changes, and scattered changes up to `historyRows` rows in all.
Dataset generate(int articleTotal, long long historyRows, Generator& rng);

} // namespace demo::detail
