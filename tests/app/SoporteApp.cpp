#include "SoporteApp.h"

#include "demo/DemoBuilder.h"
#include "platform/db/Types.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace app_tests {

using platform::Variant;
using namespace platform::db;

Grabadora::Grabadora(std::unique_ptr<Backend> inner, std::shared_ptr<Grabacion> grabacion)
    : ForwardingBackend(std::move(inner)), m_grabacion(std::move(grabacion))
{
}

void Grabadora::anotar(const QString& llamada)
{
    if (m_grabacion->activa) {
        m_grabacion->llamadas.push_back(inner().defaultDatabase() + QStringLiteral(": ") + llamada);
    }
}

ResultSet Grabadora::execute(const QString& sql, std::vector<ErrorInfo>& errors)
{
    anotar(sql);
    return inner().execute(sql, errors);
}

ResultSet Grabadora::executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors)
{
    anotar(sql);
    return inner().executeUpdatable(sql, errors);
}

void Grabadora::beginTransaction(std::vector<ErrorInfo>& errors)
{
    anotar(QStringLiteral("begin"));
    inner().beginTransaction(errors);
}

void Grabadora::commitTransaction(std::vector<ErrorInfo>& errors)
{
    anotar(QStringLiteral("commit"));
    inner().commitTransaction(errors);
}

void Grabadora::rollbackTransaction(std::vector<ErrorInfo>& errors)
{
    anotar(QStringLiteral("rollback"));
    inner().rollbackTransaction(errors);
}

namespace {

// The demo server, built once for the whole run; tests work on copies.
QString servidorConstruido()
{
    static const QString servidor = [] {
        demo::BuildOptions opciones;
        opciones.folder = testing_support::runFolder() + QStringLiteral("/server");
        opciones.historyRows = demo::minimumHistoryRows(0);
        const demo::BuildResult resultado = demo::buildDemoServer(opciones);
        EXPECT_TRUE(resultado.ok) << resultado.error.toStdString();
        return opciones.folder;
    }();
    return servidor;
}

QString cadena(const QString& carpeta, const QString& base)
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=x;Pwd=y;Connect Timeout=5;").arg(carpeta, base);
}

} // namespace

ServidorDemo::ServidorDemo()
    : m_carpeta(QDir(testing_support::testFolder()).filePath(QStringLiteral("server"))),
      m_grabacion(std::make_shared<Grabacion>()), m_fallas(std::make_shared<testing_support::FaultSwitch>())
{
    const QString origen = servidorConstruido();
    QDir().mkpath(m_carpeta);
    for (const QString& nombre : QDir(origen).entryList(QDir::Files)) {
        QFile::copy(origen + u'/' + nombre, m_carpeta + u'/' + nombre);
    }
    auto grabacion = m_grabacion;
    auto fallas = m_fallas;
    setBackendWrapper([grabacion, fallas](std::unique_ptr<Backend> inner) -> std::unique_ptr<Backend> {
        auto conFallas = std::make_unique<testing_support::FaultyBackend>(std::move(inner), fallas);
        return std::make_unique<Grabadora>(std::move(conFallas), grabacion);
    });
}

data::DB_Dll& ServidorDemo::abrirPrincipal()
{
    data::DB_Dll& db = data::gDbPrincipal();
    db.gServidor = m_carpeta;
    db.gDBName = QStringLiteral("BKDEMO");
    db.gUsuario = QStringLiteral("BKDEMO");
    db.gUserPassWord = QStringLiteral("BKDEMO");
    db.OpenServerADODB(false, adUseClient, QString(), false, false);
    EXPECT_TRUE(db.gOpenFlag);
    m_grabacion->llamadas.clear();
    return db;
}

QStringList ServidorDemo::tomarLlamadas()
{
    QStringList llamadas = m_grabacion->llamadas;
    m_grabacion->llamadas.clear();
    return llamadas;
}

QStringList ServidorDemo::tomarSentencias(const QString& base)
{
    QStringList sentencias;
    const QString prefijo = base + QStringLiteral(": ");
    for (const QString& llamada : tomarLlamadas()) {
        if (llamada.startsWith(prefijo, Qt::CaseInsensitive)) {
            sentencias << llamada.mid(prefijo.size());
        }
    }
    return sentencias;
}

QList<QStringList> ServidorDemo::filas(const QString& sql, const QString& base) const
{
    const bool activa = m_grabacion->activa;
    m_grabacion->activa = false;
    Connection conexion;
    conexion.Open(cadena(m_carpeta, base));
    std::shared_ptr<Recordset> rs = conexion.Execute(sql);
    QList<QStringList> resultado;
    while (rs->State() == adStateOpen && !rs->Eof()) {
        QStringList fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const Variant v = rs->value(i);
            fila << (v.isNull() ? QStringLiteral("<NULL>") : v.toText());
        }
        resultado << fila;
        rs->MoveNext();
    }
    conexion.Close();
    m_grabacion->activa = activa;
    return resultado;
}

void ServidorDemo::ejecutar(const QString& sql, const QString& base) const
{
    const bool activa = m_grabacion->activa;
    m_grabacion->activa = false;
    Connection conexion;
    conexion.Open(cadena(m_carpeta, base));
    conexion.Execute(sql);
    conexion.Close();
    m_grabacion->activa = activa;
}

bool AbrirPrincipalEnDemo(const QString& servidor)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    principal.gServidor = servidor;
    principal.gDBName = QStringLiteral("BKDEMO");
    principal.gUsuario = QStringLiteral("BKDEMO");
    principal.gUserPassWord = QStringLiteral("BKDEMO");
    principal.OpenServerADODB(false, platform::db::adUseClient, QString(), false, false);
    return principal.gOpenFlag;
}

} // namespace app_tests
