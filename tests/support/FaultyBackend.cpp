#include "support/FaultyBackend.h"

namespace testing_support {

using platform::Variant;
using namespace platform::db;

FaultyBackend::FaultyBackend(std::unique_ptr<Backend> inner, std::shared_ptr<FaultSwitch> faults)
    : ForwardingBackend(std::move(inner)), m_faults(std::move(faults))
{
}

void FaultyBackend::check(std::vector<ErrorInfo>& errors) const
{
    if (m_faults->lockTimeouts > 0) {
        --m_faults->lockTimeouts;
        ErrorInfo info{adErr::Timeout, QStringLiteral("Lock request time out period exceeded."),
                       QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("HYT00"), 1222};
        errors.push_back(info);
        throw DbError(info);
    }
    if (!m_faults->broken)
        return;
    ErrorInfo info{adErr::Generic,
                   QStringLiteral("[DBNETLIB][ConnectionWrite (send()).]General network error. Check your network "
                                  "documentation."),
                   QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("08S01"),
                   m_faults->nativeError};
    errors.push_back(info);
    throw DbError(info);
}

void FaultyBackend::afterSuccess(std::vector<ErrorInfo>& errors) const
{
    if (m_faults->informational)
        errors.push_back(ErrorInfo{0, QStringLiteral("Changed database context to 'x'."),
                                   QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("01000"),
                                   5701});
}

void FaultyBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().open(params, errors);
    afterSuccess(errors);
}

void FaultyBackend::setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().setDefaultDatabase(name, errors);
    afterSuccess(errors);
}

ResultSet FaultyBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    check(errors);
    ResultSet r = inner().execute(sql, errors);
    if (m_faults->unknownRowCount && !r.hasRows)
        r.recordsAffected = -1;
    afterSuccess(errors);
    return r;
}

ResultSet FaultyBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    check(errors);
    ResultSet r = inner().executeUpdatable(sql, errors);
    afterSuccess(errors);
    return r;
}

ResultSet FaultyBackend::executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                                          std::vector<ErrorInfo>& errors)
{
    check(errors);
    ResultSet r = inner().executeProcedure(name, parameters, errors);
    afterSuccess(errors);
    return r;
}

void FaultyBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().beginTransaction(errors);
}

void FaultyBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().commitTransaction(errors);
}

void FaultyBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().rollbackTransaction(errors);
}

ResultSet FaultyBackend::openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                    std::vector<ErrorInfo>& errors)
{
    check(errors);
    return inner().openSchema(schema, criteria, errors);
}

Variant FaultyBackend::insertRow(const QString& table, const std::vector<QString>& columns,
                                 const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    check(errors);
    return inner().insertRow(table, columns, values, errors);
}

void FaultyBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                              const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().updateRow(table, key, columns, values, errors);
}

void FaultyBackend::deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors)
{
    check(errors);
    inner().deleteRow(table, key, errors);
}

std::vector<Variant> FaultyBackend::readRow(const QString& table, const Variant& key,
                                            const std::vector<ColumnInfo>& columns, std::vector<ErrorInfo>& errors)
{
    check(errors);
    return inner().readRow(table, key, columns, errors);
}

std::shared_ptr<FaultSwitch> installFaultyBackends()
{
    auto faults = std::make_shared<FaultSwitch>();
    setBackendWrapper([faults](std::unique_ptr<Backend> inner) -> std::unique_ptr<Backend> {
        return std::make_unique<FaultyBackend>(std::move(inner), faults);
    });
    return faults;
}

} // namespace testing_support
