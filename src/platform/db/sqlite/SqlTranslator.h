#pragma once

#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlCatalog.h"
#include "platform/db/sqlite/SqlLiterals.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <QHash>
#include <QString>

#include <memory>
#include <utility>
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
        Truncate,    // TRUNCATE TABLE: `sql` holds the table's name
    };
    Kind kind = Kind::Statement;
    QString sql;
    bool negate = false;
    std::vector<TranslatedStep> body;
    // Statement: the declared types ("money", "decimal(14,2)") of the result
    // columns whose type SQL Server gives by their expression; empty where
    // the values (or the column's own declared type) tell.
    std::vector<QString> resultTypes = {};
    // Statement: it writes a view, whose triggers change the rows; SQLite
    // does not count them, so the count is unknown.
    bool countUnknown = false;
    // Statement: it names a table, or writes a column, that the catalogue
    // does not hold (it may be out of date).
    bool unknownNames = false;
    // Statement: CREATE, ALTER or DROP, which change the catalogue.
    bool changesSchema = false;
    // Statement: several statements that make one of SQL Server's (a table
    // and the numbering of its identity): all of them or none run, and they
    // report no count.
    bool composite = false;
    // Statement: an INSERT into a table; `identitySql` reads the identity
    // given to the last row it inserted, and the table's name when the
    // engine numbers it (empty when the table has none).
    bool insert = false;
    QString identitySql = {};
    // qHash(sql) for a step of translateBound() (0 for others), taken once
    // for the connection's cache of prepared statements.
    std::size_t sqlHash = 0;
};

// A batch translated with the values of its literals left out where they meet
// columns (see translation::Emitter): its steps, shared by every text of the
// same shape, and the values of the parameters ?1, ?2, ... that this text
// gives them.
struct BoundTranslation
{
    std::shared_ptr<const std::vector<TranslatedStep>> steps;
    std::vector<Variant> parameters;
};

// Translates SQL Server's dialect, as the program writes it, into SQLite's.
// A batch (statements split by ";" or by line breaks before a new statement)
// becomes a list of steps. A construct that cannot be translated raises
// DbError with adErr::Syntax and a description that names the construct.
// Results are cached per statement text. With the catalogue of the data base,
// literals take the types of the columns they meet, as SQL Server converts them.
class SqlTranslator
{
public:
    // The tables and views statements are translated for; empties the cache.
    void setCatalog(SqlCatalog catalog);
    const SqlCatalog& catalog() const { return m_catalog; }

    // `fromCache` tells whether the steps were translated before.
    std::vector<TranslatedStep> translate(const QString& tsql, bool* fromCache = nullptr);

    // The same with the literals that meet columns as parameters: a text
    // whose shape (its text but for those literals' values) was translated
    // before is not translated again. Raises what translate() raises for the
    // text, the conversion errors of its literals included.
    BoundTranslation translateBound(const QString& tsql, bool* fromCache = nullptr);

    // Translates without looking at or filling the cache (for measurements).
    static std::vector<TranslatedStep> translateUncached(const QString& tsql, const SqlCatalog& catalog = {});

private:
    static constexpr int kCacheLimit = 2000; // emptied when full; the program sends few distinct texts
    QHash<QString, std::vector<TranslatedStep>> m_cache;
    // One translation of a shape: its parameters, and the literals it holds
    // as written (they must read the same for the translation to serve).
    struct Shape
    {
        std::shared_ptr<const std::vector<TranslatedStep>> steps;
        std::vector<translation::Parameter> parameters;
        std::vector<std::pair<int, QString>> fixedLiterals;
        // Each parameter's last literal and its value.
        mutable std::vector<std::pair<QString, Variant>> lastValues;
    };
    static std::vector<Variant> parameterValues(const Shape& shape, const std::vector<QString>& literals);
    static constexpr int kShapesPerText = 8;
    // The translations of one shape, shared by the shape table and the
    // patterns of the texts of that shape.
    using Shapes = std::vector<Shape>;
    QHash<QString, std::shared_ptr<Shapes>> m_shapes;
    // A recent text's pattern, the literals of the last text it read, and
    // the translations of its shape once they are known (so that a text
    // read against it skips the shape table).
    struct RecentText
    {
        translation::LiteralPattern pattern;
        translation::LiteralScan last;
        std::shared_ptr<Shapes> shapes;
    };
    // The literals of a text, read against the patterns of the last texts
    // (the one that served first), else lexed: the `last` of the text's own
    // pattern, which is first in m_recent afterwards.
    const translation::LiteralScan& scan(const QString& tsql);
    static constexpr std::size_t kPatterns = 16;
    std::vector<std::unique_ptr<RecentText>> m_recent; // held apart: reordered per text
    SqlCatalog m_catalog;
};

} // namespace platform::db::sqlite
