#include "support/ForwardingBackend.h"

namespace testing_support {

using platform::Variant;
using namespace platform::db;

ForwardingBackend::ForwardingBackend(std::unique_ptr<Backend> inner) : m_inner(std::move(inner)) {}

void ForwardingBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    m_inner->open(params, errors);
}

void ForwardingBackend::close()
{
    m_inner->close();
}

QString ForwardingBackend::defaultDatabase() const
{
    return m_inner->defaultDatabase();
}

void ForwardingBackend::setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors)
{
    m_inner->setDefaultDatabase(name, errors);
}

void ForwardingBackend::setCommandTimeout(int seconds)
{
    m_inner->setCommandTimeout(seconds);
}

ResultSet ForwardingBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    return m_inner->execute(sql, errors);
}

ResultSet ForwardingBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    return m_inner->executeUpdatable(sql, errors);
}

ResultSet ForwardingBackend::executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                                              std::vector<ErrorInfo>& errors)
{
    return m_inner->executeProcedure(name, parameters, errors);
}

void ForwardingBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    m_inner->beginTransaction(errors);
}

void ForwardingBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    m_inner->commitTransaction(errors);
}

void ForwardingBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    m_inner->rollbackTransaction(errors);
}

ResultSet ForwardingBackend::openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                        std::vector<ErrorInfo>& errors)
{
    return m_inner->openSchema(schema, criteria, errors);
}

Variant ForwardingBackend::insertRow(const QString& table, const std::vector<QString>& columns,
                                     const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    return m_inner->insertRow(table, columns, values, errors);
}

void ForwardingBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                                  const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    m_inner->updateRow(table, key, columns, values, errors);
}

void ForwardingBackend::deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors)
{
    m_inner->deleteRow(table, key, errors);
}

std::vector<Variant> ForwardingBackend::readRow(const QString& table, const Variant& key,
                                                const std::vector<ColumnInfo>& columns, std::vector<ErrorInfo>& errors)
{
    return m_inner->readRow(table, key, columns, errors);
}

} // namespace testing_support
