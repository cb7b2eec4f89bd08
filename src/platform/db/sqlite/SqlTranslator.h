#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace platform::db::sqlite {

// One step of a translated batch.
struct TranslatedStep
{
    enum class Kind {
        Statement,   // `sql` is one SQLite statement
        Begin,       // BEGIN TRANSACTION
        Commit,      // COMMIT TRANSACTION
        Rollback,    // ROLLBACK TRANSACTION
        IfExists,    // when `sql` (a SELECT) returns a row (no row with `negate`), run `body`
        UseDatabase, // USE <name>: `sql` holds the data-base name
        NoCountOn,   // SET NOCOUNT ON: later statements of the session report no row count
        NoCountOff,  // SET NOCOUNT OFF
    };
    Kind kind = Kind::Statement;
    QString sql;
    bool negate = false;
    std::vector<TranslatedStep> body;
};

// Translates SQL Server's dialect, as the system writes it, into SQLite's.
// A batch (statements split by ";" or by line breaks before a new statement)
// becomes a list of steps. A construct that cannot be translated raises
// DbError with adErr::Syntax and a description that names the construct.
// Results are cached per statement text.
class SqlTranslator
{
public:
    std::vector<TranslatedStep> translate(const QString& tsql);

    // Translates without looking at or filling the cache (for measurements).
    static std::vector<TranslatedStep> translateUncached(const QString& tsql);

private:
    static constexpr int kCacheLimit = 2000; // emptied when full; the system sends few distinct texts
    QHash<QString, std::vector<TranslatedStep>> m_cache;
};

} // namespace platform::db::sqlite
