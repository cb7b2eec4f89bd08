#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace data_tests {

// The whole content of a file; empty when it cannot be read.
inline QByteArray leerBytes(const QString& ruta)
{
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

// Sets an environment variable for the rest of the scope and restores it
// (or unsets it, when it was not set) when the scope ends.
class Entorno
{
public:
    Entorno(const char* nombre, const QByteArray& valor)
        : m_nombre(nombre), m_habia(qEnvironmentVariableIsSet(nombre)), m_antes(qgetenv(nombre))
    {
        qputenv(nombre, valor);
    }
    ~Entorno()
    {
        if (m_habia) {
            qputenv(m_nombre, m_antes);
        } else {
            qunsetenv(m_nombre);
        }
    }
    Entorno(const Entorno&) = delete;
    Entorno& operator=(const Entorno&) = delete;

private:
    const char* m_nombre;
    bool m_habia;
    QByteArray m_antes;
};

} // namespace data_tests
