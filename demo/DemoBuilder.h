#pragma once

#include "demo/DemoChanges.h"

#include <QString>

namespace demo {

// Names of the two data bases of the embedded server folder (files <name>.sqlite).
inline constexpr const char* kMainDatabase = "BKDEMO";
inline constexpr const char* kStatisticsDatabase = "BK_ESTADISTICAS";

// The demo log-in: user and password of the users table.
inline constexpr const char* kDemoUser = "demo";
inline constexpr const char* kDemoPassword = "demo";

struct BuildOptions
{
    QString folder; // the embedded server folder; created when missing
    long long historyRows = kDefaultHistoryRows;
    unsigned long long seed = kDefaultSeed;
};

struct BuildResult
{
    bool ok = false;
    QString error; // what failed, when !ok
    int articles = 0;
    long long historyRows = 0;
    double seconds = 0;
};

// The password as the users table stores it (enciphered by the utility object).
QString storedPassword(const QString& plain);
// The stored password of the demo user.
QString demoPasswordStored();

// The smallest history that holds the initial row of every article and list and
// every known mass change, for `historyRows` asked.
long long minimumHistoryRows(long long historyRows);

// Builds <folder>/BKDEMO.sqlite and <folder>/BK_ESTADISTICAS.sqlite from scratch,
// replacing files of those names. The same options give the same data bases.
// Returns ok false with the reason when an option is out of range or the engine
// fails; a failed build leaves no half-written data base under the final names.
BuildResult buildDemoServer(const BuildOptions& options);

} // namespace demo
