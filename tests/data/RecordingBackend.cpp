#include "RecordingBackend.h"

namespace data_tests {

using platform::Variant;
using namespace platform::db;

RecordingBackend::RecordingBackend(std::unique_ptr<Backend> inner, std::shared_ptr<Registro> registro)
    : ForwardingBackend(std::move(inner)), m_registro(std::move(registro))
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
    inner().open(params, errors);
}

ResultSet RecordingBackend::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(sql);
    fallaSiToca(m_registro->fallarSentencias, errors);
    return inner().execute(sql, errors);
}

ResultSet RecordingBackend::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(sql);
    fallaSiToca(m_registro->fallarSentencias, errors);
    return inner().executeUpdatable(sql, errors);
}

void RecordingBackend::beginTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("begin"));
    inner().beginTransaction(errors);
}

void RecordingBackend::commitTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("commit"));
    inner().commitTransaction(errors);
}

void RecordingBackend::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    m_registro->llamadas.push_back(QStringLiteral("rollback"));
    inner().rollbackTransaction(errors);
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
