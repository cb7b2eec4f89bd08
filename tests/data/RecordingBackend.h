#pragma once

#include "support/FaultyBackend.h"
#include "support/ForwardingBackend.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace data_tests {

// What the recording backends of a test share: every statement and
// transaction call that reached a backend, in order ("begin", "commit",
// "rollback", or the statement's text as the data-access class sent it), and
// a number of coming statements that fail as a broken link does.
struct Registro
{
    QStringList llamadas;
    int fallarSentencias = 0;
    int fallarAperturas = 0;
};

// A backend decorator that records and passes every call on.
class RecordingBackend : public testing_support::ForwardingBackend
{
public:
    RecordingBackend(std::unique_ptr<platform::db::Backend> inner, std::shared_ptr<Registro> registro);

    void open(const platform::db::OpenParams& params, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet execute(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet executeUpdatable(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    void beginTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void commitTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void rollbackTransaction(std::vector<platform::db::ErrorInfo>& errors) override;

private:
    void fallaSiToca(int& contador, std::vector<platform::db::ErrorInfo>& errors);

    std::shared_ptr<Registro> m_registro;
};

struct Instalado
{
    std::shared_ptr<Registro> registro;
    // While broken, every call fails as a server that is away does.
    std::shared_ptr<testing_support::FaultSwitch> servidor;
};

// Wraps every backend created from now on (until the test ends) in a
// recording one, itself over the test support's FaultyBackend.
Instalado instalarRegistro();

} // namespace data_tests
