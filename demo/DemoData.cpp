#include "demo/DemoData.h"

#include "demo/DemoCalendar.h"
#include "demo/DemoChanges.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace demo::detail {

namespace {

const char* const kBrands[] = {"La Espiga", "Don Aurelio", "Río Claro", "Sierra Alta",
                               "Los Andes", "Santa Clara", "El Molino", "Puerto Sur"};

// Mark-ups of the eight sale prices over the cost, in percent.
constexpr std::array<int, 8> kMarkups = {135, 125, 145, 130, 120, 150, 115, 160};

// How history rows of the article master write their list code: empty, NULL or blanks.
const char* const kMasterCodes[] = {"", nullptr, "    "};

int priceColumnOf(const char* priceClass)
{
    return std::strcmp(priceClass, "Costo") == 0 ? 0 : std::atoi(priceClass);
}

int listIndexOf(const char* storedCode)
{
    std::string code(storedCode ? storedCode : "");
    while (!code.empty() && code.back() == ' ')
        code.pop_back();
    for (int i = 0; i < kListCount; ++i)
        if (code == kLists[i].code)
            return i;
    throw std::logic_error("unknown list code " + code);
}

} // namespace

const std::vector<Family>& families()
{
    static const std::vector<Family> list = {
        {"0001",
         "Almacén",
         {"Arroz largo fino", "Fideos tirabuzón", "Aceite de girasol", "Azúcar común", "Harina 000", "Yerba mate",
          "Café molido", "Té en saquitos", "Lentejas secas", "Puré de tomate"},
         {"500 g", "1 kg", "250 g"}},
        {"0002",
         "Bebidas",
         {"Agua mineral sin gas", "Gaseosa cola", "Jugo de naranja", "Cerveza rubia", "Vino tinto malbec",
          "Soda en sifón", "Agua saborizada pomelo"},
         {"500 ml", "1,5 L", "2,25 L", "750 ml"}},
        {"0003",
         "Lácteos",
         {"Leche entera", "Leche descremada", "Yogur bebible frutilla", "Queso cremoso", "Manteca", "Dulce de leche",
          "Crema de leche"},
         {"1 L", "200 g", "500 g"}},
        {"0004",
         "Limpieza",
         {"Detergente lavavajillas", "Lavandina", "Jabón en polvo", "Suavizante para ropa", "Limpiador de pisos",
          "Esponja multiuso"},
         {"750 ml", "1 L", "3 L"}},
        {"0005",
         "Perfumería",
         {"Shampoo", "Acondicionador", "Jabón de tocador", "Pasta dental", "Desodorante aerosol", "Papel higiénico"},
         {"400 ml", "90 g", "x 4 u."}},
        {"0006",
         "Frescos",
         {"Tomate perita", "Papa negra", "Banana", "Manzana roja", "Pechuga de pollo", "Carne picada especial"},
         {"x kg", "x 500 g"}},
        {"0007",
         "Panadería",
         {"Pan francés", "Medialunas de manteca", "Galletitas de agua", "Bizcochos de grasa", "Pan lactal"},
         {"x kg", "x 12 u.", "200 g"}},
        {"0008",
         "Congelados",
         {"Helado de crema", "Hamburguesas de carne", "Papas prefritas", "Arvejas congeladas", "Pizza muzzarella"},
         {"1 kg", "x 4 u.", "500 g"}},
    };
    return list;
}

int64_t applyPercent(int64_t cents, int percent)
{
    return (cents * (100 + percent) + 50) / 100;
}

int64_t massRowTotal(int articles)
{
    int64_t total = 0;
    for (const KnownChange& change : kKnownChanges)
        total += changeRows(change, articles);
    return total;
}

Dataset generate(int articleTotal, long long historyRows, Generator& rng)
{
    Dataset data;
    data.articles.reserve(articleTotal);
    data.master.resize(articleTotal);
    data.lists.resize(static_cast<std::size_t>(articleTotal) * kListCount);

    for (int i = 0; i < articleTotal; ++i) {
        const Family& family = families()[rng.below(static_cast<int>(families().size()))];
        const std::string number = std::to_string(1001 + i);
        // Codes carried over from the older system are right-aligned in seven characters.
        const std::string code =
            i % 9 == 0 ? std::string(7 - std::min<std::size_t>(7, number.size()), ' ') + number : number;
        std::string description = family.products[rng.below(static_cast<int>(family.products.size()))];
        description += " ";
        description += kBrands[rng.below(static_cast<int>(std::size(kBrands)))];
        description += " ";
        description += family.sizes[rng.below(static_cast<int>(family.sizes.size()))];
        data.articles.push_back({code, description, family.code, rng.chance(3)});

        Prices& prices = data.master[i];
        prices[0] = 20000 + rng.below(400000) + (rng.chance(20) ? rng.below(500000) : 0);
        for (int k = 1; k <= 8; ++k)
            prices[k] = applyPercent(prices[0], kMarkups[k - 1] - 100);
        for (int j = 0; j < kListCount; ++j) {
            Prices& listed = data.lists[static_cast<std::size_t>(i) * kListCount + j];
            listed[0] = prices[0];
            for (int k = 1; k <= 8; ++k)
                listed[k] = applyPercent(prices[k], kLists[j].factorPercent - 100);
        }
    }

    const int64_t initialRows = static_cast<int64_t>(articleTotal) * (1 + kListCount);
    const int64_t scattered = historyRows - initialRows - massRowTotal(articleTotal);
    data.events.reserve(static_cast<std::size_t>(historyRows));

    // The first row of every article and list, when the article was created.
    const std::vector<int64_t> altaDays = businessDays(daysFromCivil(2023, 10, 2), daysFromCivil(2023, 12, 29));
    for (int i = 0; i < articleTotal; ++i) {
        const int64_t day = altaDays[rng.below(static_cast<int>(altaDays.size()))];
        const int64_t at = day * kMsPerDay + rng.between(8 * 3600, 19 * 3600) * 1000LL + rng.below(1000);
        data.events.push_back({at, i, -1, -1, 0, kMasterCodes[rng.below(3)], UserAltas});
        for (int j = 0; j < kListCount; ++j)
            data.events.push_back({at + (j + 1) * 1000LL + rng.below(1000), i, static_cast<int8_t>(j), -1, 0,
                                   rng.chance(25) ? kLists[j].padded : kLists[j].code, UserAltas});
    }

    // The mass changes, each inside its minute, in article order.
    std::vector<int64_t> knownMinutes;
    for (const KnownChange& change : kKnownChanges) {
        const int64_t minute = parseMinute(change.minute);
        knownMinutes.push_back(minute / kMsPerMinute);
        const int rows = changeRows(change, articleTotal);
        const int64_t span = (change.lastSecond - change.firstSecond + 1) * 1000LL - 1;
        const int8_t list = change.onMaster ? -1 : static_cast<int8_t>(listIndexOf(change.listCode));
        const int8_t column = static_cast<int8_t>(priceColumnOf(change.priceClass));
        for (int k = 0; k < rows; ++k) {
            const int64_t at = minute + change.firstSecond * 1000LL + (rows > 1 ? k * span / (rows - 1) : 0);
            data.events.push_back({at, change.offset + k * change.stride, list, column,
                                   static_cast<int16_t>(change.percent), change.listCode, UserCompras});
        }
    }

    // Ordinary changes by the staff, scattered over the business hours of the period.
    const std::vector<int64_t> workDays = businessDays(daysFromCivil(2024, 1, 8), daysFromCivil(2024, 3, 29));
    for (int64_t n = 0; n < scattered; ++n) {
        int64_t at = 0;
        do {
            const int64_t day = workDays[rng.below(static_cast<int>(workDays.size()))];
            const int millis = rng.chance(30) ? 0 : rng.between(1, 999);
            at = day * kMsPerDay + rng.between(8 * 3600, 20 * 3600 + 3599) * 1000LL + millis;
        } while (std::find(knownMinutes.begin(), knownMinutes.end(), at / kMsPerMinute) != knownMinutes.end());
        const int article = rng.below(articleTotal);
        const bool onMaster = rng.chance(45);
        const int list = onMaster ? -1 : rng.below(kListCount);
        const char* code =
            onMaster ? kMasterCodes[rng.below(3)] : (rng.chance(25) ? kLists[list].padded : kLists[list].code);
        int column = 0;
        if (!rng.chance(30)) {
            const int pick = rng.below(100);
            column = pick < 30 ? 1 : pick < 50 ? 2 : pick < 65 ? 3 : 4 + rng.below(5);
        }
        const int percent = rng.chance(70) ? rng.between(1, 9) : -rng.between(1, 9);
        data.events.push_back({at, article, static_cast<int8_t>(list), static_cast<int8_t>(column),
                               static_cast<int16_t>(percent), code, static_cast<uint8_t>(FirstClerk + rng.below(4))});
    }

    std::stable_sort(data.events.begin(), data.events.end(),
                     [](const Event& a, const Event& b) { return a.ms < b.ms; });
    return data;
}

} // namespace demo::detail
