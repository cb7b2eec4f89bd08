#include "platform/db/sqlite/SqlTranslator.h"

#include "platform/db/Types.h"

#include "platform/db/sqlite/SqlBatchSplitter.h"
#include "platform/db/sqlite/SqlStatementTranslator.h"
#include "platform/db/sqlite/SqlTokenizer.h"

namespace platform::db::sqlite {

void SqlTranslator::setCatalog(SqlCatalog catalog)
{
    m_catalog = std::move(catalog);
    m_cache.clear();
}

std::vector<TranslatedStep> SqlTranslator::translateUncached(const QString& tsql, const SqlCatalog& catalog)
{
    std::vector<TranslatedStep> steps;
    for (const auto& statement : translation::splitBatch(translation::tokenize(tsql)))
        translation::translateStatement(translation::nest(statement), catalog, steps);
    // Only blanks, comments or separators: there is nothing to run.
    if (steps.empty())
        throw DbError(adErr::NoCommand, QStringLiteral("Command text was not set for the command object."),
                      QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
    return steps;
}

std::vector<TranslatedStep> SqlTranslator::translate(const QString& tsql, bool* fromCache)
{
    const auto hit = m_cache.constFind(tsql);
    if (fromCache)
        *fromCache = hit != m_cache.constEnd();
    if (hit != m_cache.constEnd())
        return hit.value();
    std::vector<TranslatedStep> steps = translateUncached(tsql, m_catalog);
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    m_cache.insert(tsql, steps);
    return steps;
}

} // namespace platform::db::sqlite
