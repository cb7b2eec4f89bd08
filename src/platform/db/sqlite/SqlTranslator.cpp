#include "platform/db/sqlite/SqlTranslator.h"

#include "platform/db/Types.h"

#include "platform/db/sqlite/SqlBatchSplitter.h"
#include "platform/db/sqlite/SqlStatementTranslator.h"
#include "platform/db/sqlite/SqlTokenizer.h"

#include <algorithm>

namespace platform::db::sqlite {

namespace {

std::vector<TranslatedStep> translated(const QString& tsql, const SqlCatalog& catalog,
                                       std::vector<translation::Parameter>* parameters)
{
    std::vector<TranslatedStep> steps;
    for (const auto& statement : translation::splitBatch(translation::tokenize(tsql)))
        translation::translateStatement(translation::nest(statement), catalog, steps, parameters);
    // Only blanks, comments or separators: there is nothing to run.
    if (steps.empty())
        throw DbError(adErr::NoCommand, QStringLiteral("Command text was not set for the command object."),
                      QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
    return steps;
}

void hashStatements(std::vector<TranslatedStep>& steps)
{
    for (TranslatedStep& step : steps) {
        step.sqlHash = qHash(step.sql);
        hashStatements(step.body);
    }
}

} // namespace

std::vector<Variant> SqlTranslator::parameterValues(const Shape& shape, const std::vector<QString>& literals)
{
    // Converted in the order the translation converted them; a literal that
    // reads as last time (a span's bounds along a run) is not converted again.
    std::vector<Variant> values;
    values.reserve(shape.parameters.size());
    shape.lastValues.resize(shape.parameters.size());
    for (std::size_t i = 0; i < shape.parameters.size(); ++i) {
        const translation::Parameter& p = shape.parameters[i];
        const QString& literal = literals[std::size_t(p.literal)];
        auto& [lastLiteral, lastValue] = shape.lastValues[i];
        if (lastValue.isEmpty() || literal != lastLiteral) {
            lastValue = translation::parameterValue(p, literal);
            lastLiteral = literal;
        }
        values.push_back(lastValue);
    }
    return values;
}

void SqlTranslator::setCatalog(SqlCatalog catalog)
{
    m_catalog = std::move(catalog);
    m_cache.clear();
    m_shapes.clear();
    // Their translations were made for the catalogue replaced.
    m_recent.clear();
}

std::vector<TranslatedStep> SqlTranslator::translateUncached(const QString& tsql, const SqlCatalog& catalog)
{
    return translated(tsql, catalog, nullptr);
}

const translation::LiteralScan& SqlTranslator::scan(const QString& tsql)
{
    // A run sends the same few texts with other values: their literals are
    // found without lexing the whole text again.
    for (auto recent = m_recent.begin(); recent != m_recent.end(); ++recent) {
        if (std::optional<translation::LiteralScan> found =
                translation::matchLiterals((*recent)->pattern, tsql, &(*recent)->last.literals)) {
            (*recent)->last = std::move(*found);
            std::rotate(m_recent.begin(), recent, recent + 1);
            return m_recent.front()->last;
        }
    }
    auto recent = std::make_unique<RecentText>();
    recent->last = translation::scanLiterals(tsql, &recent->pattern);
    if (m_recent.size() >= kPatterns)
        m_recent.pop_back();
    m_recent.push_back(std::move(recent));
    std::rotate(m_recent.begin(), m_recent.end() - 1, m_recent.end());
    return m_recent.front()->last;
}

BoundTranslation SqlTranslator::translateBound(const QString& tsql, bool* fromCache)
{
    const translation::LiteralScan& scan = this->scan(tsql);
    std::shared_ptr<Shapes>& shapes = m_recent.front()->shapes;
    if (!shapes) {
        if (const auto known = m_shapes.constFind(scan.shape); known != m_shapes.constEnd())
            shapes = known.value();
    }
    if (shapes) {
        for (const Shape& shape : *shapes) {
            bool same = true;
            for (const auto& [literal, text] : shape.fixedLiterals)
                same = same && scan.literals[std::size_t(literal)] == text;
            if (!same)
                continue;
            if (fromCache)
                *fromCache = true;
            return BoundTranslation{shape.steps, parameterValues(shape, scan.literals)};
        }
    }
    if (fromCache)
        *fromCache = false;
    Shape shape;
    std::vector<TranslatedStep> steps = translated(tsql, m_catalog, &shape.parameters);
    hashStatements(steps);
    shape.steps = std::make_shared<const std::vector<TranslatedStep>>(std::move(steps));
    std::vector<bool> bound(scan.literals.size(), false);
    for (const translation::Parameter& p : shape.parameters)
        bound[std::size_t(p.literal)] = true;
    for (std::size_t i = 0; i < bound.size(); ++i)
        if (!bound[i])
            shape.fixedLiterals.emplace_back(int(i), scan.literals[i]);
    BoundTranslation result{shape.steps, parameterValues(shape, scan.literals)};
    if (!shapes) {
        if (m_shapes.size() >= kCacheLimit)
            m_shapes.clear();
        shapes = m_shapes.insert(scan.shape, std::make_shared<Shapes>()).value();
    }
    if (shapes->size() >= kShapesPerText)
        shapes->erase(shapes->begin());
    shapes->push_back(std::move(shape));
    return result;
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
