#include "RecordingBackend.h"

namespace data_tests {

using platform::Variant;
using namespace platform::db;

RecordingBackend::RecordingBackend(std::unique_ptr<Backend> inner, std::shared_ptr<Registro> registro)
    : m_inner(std::move(inner)), m_registro(std::move(registro))
{
}

void RecordingBackend::fallaSiToca(int& contador, std::vector<ErrorInfo>& errors)
{
    if (contador <= 0)
        return;
    --contador;
    ErrorInfo info{adErr::Generic, QStringLiteral("General network error."),
                   QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("08S01"), 11};
    errors.push_back(info);
    throw DbError(info);
}

void RecordingBackend::open(const OpenParams& params, std::vector<ErrorInfo>& errors)
{
    fallaSiToca(m_registro->fallarAperturas, errors);
    m_inner->open(params, errors);
}

void RecordingBackend::close()
{
    m_inner->close();
}

QString RecordingBackend::defaultDatabase() const
{
    return m_inner->defaultDatabase();
}

void RecordingBackend::setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors)
{
    m_inner->setDefaultDatabase(name, errors);
}

void RecordingBackend::setCommandTimeout(int seconds)
{
    m_inner->setCommandTimeout(seconds);
}

ResultSet RecordingBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(sql);
    fallaSiToca(m_registro->fallarSentencias, errors);
    return m_inner->execute(sql, errors);
}

ResultSet RecordingBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(sql);
    fallaSiToca(m_registro->fallarSentencias, errors);
    return m_inner->executeUpdatable(sql, errors);
}

void RecordingBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("begin"));
    m_inner->beginTransaction(errors);
}

void RecordingBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("commit"));
    m_inner->commitTransaction(errors);
}

void RecordingBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("rollback"));
    m_inner->rollbackTransaction(errors);
}

ResultSet RecordingBackend::openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                                       std::vector<ErrorInfo>& errors)
{
    return m_inner->openSchema(schema, criteria, errors);
}

Variant RecordingBackend::insertRow(const QString& table, const std::vector<QString>& columns,
                                    const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    return m_inner->insertRow(table, columns, values, errors);
}

void RecordingBackend::updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                                 const std::vector<Variant>& values, std::vector<ErrorInfo>& errors)
{
    m_inner->updateRow(table, key, columns, values, errors);
}

void RecordingBackend::deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors)
{
    m_inner->deleteRow(table, key, errors);
}

std::vector<Variant> RecordingBackend::readRow(const QString& table, const Variant& key,
                                               const std::vector<ColumnInfo>& columns, std::vector<ErrorInfo>& errors)
{
    return m_inner->readRow(table, key, columns, errors);
}

Instalado instalarRegistro()
{
    Instalado instalado{std::make_shared<Registro>(), std::make_shared<testing_support::FaultSwitch>()};
    setBackendWrapper([instalado](std::unique_ptr<Backend> inner) -> std::unique_ptr<Backend> {
        auto faulty = std::make_unique<testing_support::FaultyBackend>(std::move(inner), instalado.servidor);
        return std::make_unique<RecordingBackend>(std::move(faulty), instalado.registro);
    });
    return instalado;
}

} // namespace data_tests
