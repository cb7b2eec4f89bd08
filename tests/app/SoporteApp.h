#pragma once

#include "data/DB_Dll.h"
#include "platform/db/Connection.h"
#include "support/FaultyBackend.h"
#include "support/ForwardingBackend.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& texto, std::ostream* os)
{
    *os << '"' << texto.toStdString() << '"';
}

namespace app_tests {

// What the recording backends of a test saw: each statement the program sent
// ("<data base>: <statement>", the transaction calls as "begin", "commit",
// "rollback"), while `activa`.
struct Grabacion
{
    QStringList llamadas;
    bool activa = true;
};

// A backend decorator that records every statement and passes it on.
class Grabadora final : public testing_support::ForwardingBackend
{
public:
    Grabadora(std::unique_ptr<platform::db::Backend> inner, std::shared_ptr<Grabacion> grabacion);

    platform::db::ResultSet execute(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    platform::db::ResultSet executeUpdatable(const QString& sql, std::vector<platform::db::ErrorInfo>& errors) override;
    void beginTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void commitTransaction(std::vector<platform::db::ErrorInfo>& errors) override;
    void rollbackTransaction(std::vector<platform::db::ErrorInfo>& errors) override;

private:
    void anotar(const QString& llamada);

    std::shared_ptr<Grabacion> m_grabacion;
};

// A copy of the demo server folder (main data base BKDEMO and BK_ESTADISTICAS)
// in the test's folder, built once per run; every backend that the test opens
// records its statements and runs over a FaultyBackend.
class ServidorDemo
{
public:
    ServidorDemo();

    QString carpeta() const { return m_carpeta; }
    // Opens gDbPrincipal on BKDEMO as the start-up does (no log-in check) and
    // forgets what was recorded.
    data::DB_Dll& abrirPrincipal();
    // The statements recorded since the last call, with the data-base prefix.
    QStringList tomarLlamadas();
    // Only the statements sent to `base`, without the prefix.
    QStringList tomarSentencias(const QString& base = QStringLiteral("BKDEMO"));

    // Runs a statement on a connection of its own (not recorded) and returns
    // the rows, each value as text (Null as "<NULL>").
    QList<QStringList> filas(const QString& sql, const QString& base = QStringLiteral("BKDEMO")) const;
    // Runs an action statement on a connection of its own (not recorded).
    void ejecutar(const QString& sql, const QString& base = QStringLiteral("BKDEMO")) const;

    testing_support::FaultSwitch& fallas() { return *m_fallas; }
    Grabacion& grabacion() { return *m_grabacion; }

private:
    QString m_carpeta;
    std::shared_ptr<Grabacion> m_grabacion;
    std::shared_ptr<testing_support::FaultSwitch> m_fallas;
};

// Opens the main connection on the demo data base of a server folder, as the
// start-up would (login and password are the data-base name); true when open.
bool AbrirPrincipalEnDemo(const QString& servidor);

} // namespace app_tests
