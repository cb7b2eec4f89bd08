#pragma once

#include "platform/db/Backend.h"

#include <memory>

namespace testing_support {

// A backend decorator that owns an inner backend and passes every call to it
// unchanged; test decorators derive from it and override only the calls they
// record or break. Errors and results are the inner backend's.
class ForwardingBackend : public platform::db::Backend
{
public:
    explicit ForwardingBackend(std::unique_ptr<platform::db::Backend> inner);

    void open(const platform::db::OpenParams& params, std::vector<platform::db::ErrorInfo>& errors) override;
    void close() override;
    QString defaultDatabase() const override;
    void setDefaultDatabase(const QString& name, std::vector<platform::db::ErrorInfo>& errors) override;
    void setCommandTimeout(int seconds) override;
    platform::db::ResultSet execute(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet executeUpdatable(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet executeProcedure(const QString& name,
                                             const std::vector<platform::db::ProcedureParameter>& parameters,
                                             std::vector<platform::db::ErrorInfo>& errors) override;
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

protected:
    platform::db::Backend& inner() const { return *m_inner; }

private:
    std::unique_ptr<platform::db::Backend> m_inner;
};

} // namespace testing_support
