#pragma once

#include "RecordingBackend.h"
#include "data/DB_Dll.h"
#include "support/EmbeddedFixture.h"

#include <QString>
#include <QStringList>

namespace data_tests {

// A small embedded data base PRUEBA with recording backends, and the main
// instance opened on it.
class BaseDePrueba
{
public:
    BaseDePrueba();

    // Opens gDbPrincipal on PRUEBA (no administrator check) and forgets what was recorded.
    data::DB_Dll& abrirPrincipal();
    QString cadena() const { return m_fixture.connectionString(QStringLiteral("PRUEBA")); }
    QString carpeta() const { return m_fixture.folder(); }
    // The statements and transaction calls recorded since the last call.
    QStringList tomarLlamadas();
    Registro& registro() { return *m_instalado.registro; }
    testing_support::FaultSwitch& servidor() { return *m_instalado.servidor; }

private:
    testing_support::EmbeddedFixture m_fixture;
    Instalado m_instalado;
};

} // namespace data_tests
