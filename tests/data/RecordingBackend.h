#pragma once

#include "platform/db/Backend.h"
#include "support/FaultyBackend.h"

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
class RecordingBackend : public platform::db::Backend
{
public:
    RecordingBackend(std::unique_ptr<platform::db::Backend> inner, std::shared_ptr<Registro> registro);

    void open(const platform::db::OpenParams& params, std::vector<platform::db::ErrorInfo>& errors) override;
    void close() override;
    QString defaultDatabase() const override;
    void setDefaultDatabase(const QString& name, std::vector<platform::db::ErrorInfo>& errors) override;
    void setCommandTimeout(int seconds) override;
    platform::db::ResultSet execute(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet executeUpdatable(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    void beginTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void commitTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void rollbackTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet openSchema(platform::db::SchemaEnum schema, const std::vector<platform::Variant>& criteria,
                                       std::vector<platform::db::ErrorInfo>& errors) override;
    platform::Variant insertRow(const QString& table, const std::vector<QString>& columns,
                                const std::vector<platform::Variant>& values,
                                std::vector<platform::db::ErrorInfo>& errors) override;
    void updateRow(const QString& table, const platform::Variant& key, const std::vector<QString>& columns,
                   const std::vector<platform::Variant>& values, std::vector<platform::db::ErrorInfo>& errors) override;
    void deleteRow(const QString& table, const platform::Variant& key,
                   std::vector<platform::db::ErrorInfo>& errors) override;
    std::vector<platform::Variant> readRow(const QString& table, const platform::Variant& key,
                                           const std::vector<platform::db::ColumnInfo>& columns,
                                           std::vector<platform::db::ErrorInfo>& errors) override;

private:
    void fallaSiToca(int& contador, std::vector<platform::db::ErrorInfo>& errors);

    std::unique_ptr<platform::db::Backend> m_inner;
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
