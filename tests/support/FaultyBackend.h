#pragma once

#include "support/ForwardingBackend.h"

#include <memory>

namespace testing_support {

// What a FaultyBackend does: while `broken`, every call fails as a broken
// link to the server does (number 0x80004005, SQLSTATE 08S01, `nativeError`);
// with `informational`, every successful call also reports an informational
// message, as a server does on a change of data-base context; with
// `unknownRowCount`, an action statement reports no row count (-1), as a
// server does under SET NOCOUNT ON or for a view with a trigger; the next
// `lockTimeouts` calls fail as a statement does that waited for a lock until
// its time-out (0x80040E31, SQLSTATE HYT00, native 1222), as a server's
// reader does while another program holds the rows (on the embedded engine,
// which logs ahead, readers never wait).
struct FaultSwitch
{
    bool broken = false;
    int32_t nativeError = 11;
    bool informational = false;
    bool unknownRowCount = false;
    int lockTimeouts = 0;
};

// A decorator that passes every call to the real backend until told to break.
class FaultyBackend : public ForwardingBackend
{
public:
    FaultyBackend(std::unique_ptr<platform::db::Backend> inner, std::shared_ptr<FaultSwitch> faults);

    void open(const platform::db::OpenParams& params, std::vector<platform::db::ErrorInfo>& errors) override;
    void setDefaultDatabase(const QString& name, std::vector<platform::db::ErrorInfo>& errors) override;
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

private:
    // Fails when broken or while lock time-outs are due; otherwise lets the call through.
    void check(std::vector<platform::db::ErrorInfo>& errors) const;
    void afterSuccess(std::vector<platform::db::ErrorInfo>& errors) const;

    std::shared_ptr<FaultSwitch> m_faults;
};

// Wraps every backend created from now on (until the test ends) and returns
// the switch that breaks them.
std::shared_ptr<FaultSwitch> installFaultyBackends();

} // namespace testing_support
