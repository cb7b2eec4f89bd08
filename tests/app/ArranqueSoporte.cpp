#include "ArranqueSoporte.h"

#include "SoporteApp.h"

#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "platform/db/Connection.h"
#include "platform/db/Types.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace arranque_tests {

namespace {

std::unique_ptr<platform::db::Connection> Conectar(const QString& servidor, const QString& base)
{
    auto conexion = std::make_unique<platform::db::Connection>();
    conexion->Open(QStringLiteral("Provider=SQLOLEDB;Server=") + servidor + QStringLiteral(";Database=") + base +
                   QStringLiteral(";UId=") + base + QStringLiteral(";Pwd=") + base + QStringLiteral(";"));
    return conexion;
}

} // namespace

void DialogoGuionado::MostrarModal()
{
    aperturas.append({TxtDbName, TxtServidor, TxtUserId, TxtUserPassword});
    if (respuestas.empty()) {
        ADD_FAILURE() << "the connection dialog was opened unexpectedly";
        Aceptar = false;
        return;
    }
    const RespuestaDialogo respuesta = respuestas.front();
    respuestas.pop_front();
    if (respuesta.falla) {
        throw platform::db::DbError(*respuesta.falla, QStringLiteral("Fallo del dialogo de conexion"));
    }
    Aceptar = respuesta.aceptar;
    if (!Aceptar) {
        return;
    }
    TxtUserId = respuesta.usuario;
    TxtUserPassword = respuesta.clave;
    TxtDbName = respuesta.base.value_or(TxtDbName);
    TxtServidor = respuesta.servidor.value_or(TxtServidor);
    common::valoresCorrida().UsuarioActual = TxtUserId;
    common::valoresCorrida().ClaveActual = TxtUserPassword;
}

DialogoGuionado& InstalarDialogoGuionado()
{
    auto dialogo = std::make_unique<DialogoGuionado>();
    DialogoGuionado& referencia = *dialogo;
    data::InstalarDialogoConexion(std::move(dialogo));
    return referencia;
}

QString ConstruirServidorDemo()
{
    demo::BuildOptions opciones;
    opciones.folder = testing_support::testFolder() + QStringLiteral("/servidor");
    const demo::BuildResult resultado = demo::buildDemoServer(opciones);
    EXPECT_TRUE(resultado.ok) << resultado.error.toStdString();
    return opciones.folder;
}

void AbrirPrincipal(const QString& servidor)
{
    ASSERT_TRUE(app_tests::AbrirPrincipalEnDemo(servidor));
    data::gDbPrincipal().gEsAdmin = false;
}

QString TextoDemo(const QString& servidor, const QString& clave)
{
    return QStringLiteral("@Server=") + servidor + QStringLiteral(";@DbName=BKDEMO;@Usuario=demo;@Password=") + clave +
           QStringLiteral(";@Caja=1");
}

QList<QStringList> Filas(const QString& servidor, const QString& sql, const QString& base)
{
    auto conexion = Conectar(servidor, base);
    auto rs = conexion->Execute(sql);
    QList<QStringList> filas;
    if (rs->State() != platform::db::adStateOpen) {
        return filas;
    }
    while (!rs->Eof()) {
        QStringList fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const platform::Variant valor = rs->value(i);
            fila.append(valor.isNull() ? QStringLiteral("<NULL>") : valor.toText());
        }
        filas.append(fila);
        rs->MoveNext();
    }
    return filas;
}

void Ejecutar(const QString& servidor, const QString& sql, const QString& base)
{
    auto conexion = Conectar(servidor, base);
    conexion->Execute(sql);
}

QStringList MensajesPreguntados()
{
    QStringList mensajes;
    for (const auto& pregunta : testing_support::scriptedOperator().asked()) {
        if (pregunta.kind == testing_support::ScriptedOperator::Kind::MsgBox) {
            mensajes.append(pregunta.prompt);
        }
    }
    return mensajes;
}

} // namespace arranque_tests
