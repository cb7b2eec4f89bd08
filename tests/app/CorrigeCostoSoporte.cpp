#include "CorrigeCostoSoporte.h"

#include "app/Configuracion.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/db/Types.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corrige_tests {

namespace {

std::unique_ptr<platform::db::Connection> Conectar(const QString& servidor)
{
    auto conexion = std::make_unique<platform::db::Connection>();
    conexion->Open(QStringLiteral("Provider=SQLOLEDB;Server=") + servidor +
                   QStringLiteral(";Database=BKDEMO;UId=BKDEMO;Pwd=BKDEMO;"));
    return conexion;
}

// The demo built once for the whole run, outside every test's own folder.
const QString& ServidorOriginal()
{
    static QTemporaryDir carpeta;
    static const QString servidor = [] {
        demo::BuildOptions opciones;
        opciones.folder = carpeta.path() + QStringLiteral("/servidor");
        const demo::BuildResult resultado = demo::buildDemoServer(opciones);
        EXPECT_TRUE(resultado.ok) << resultado.error.toStdString();
        return opciones.folder;
    }();
    return servidor;
}

} // namespace

platform::DateTime AhoraFijo()
{
    return platform::DateTime(QDate(2024, 4, 2), QTime(10, 20, 30));
}

QString ServidorDemo()
{
    const QString origen = ServidorOriginal();
    // A test may build several forms: each one gets a folder of its own.
    static int copias = 0;
    const QString destino = testing_support::testFolder() + QStringLiteral("/servidor_%1").arg(++copias);
    QDir().mkpath(destino);
    for (const QString& nombre : QDir(origen).entryList(QDir::Files)) {
        EXPECT_TRUE(QFile::copy(origen + u'/' + nombre, destino + u'/' + nombre));
    }
    return destino;
}

void AbrirPrincipalDemo(const QString& servidor)
{
    ASSERT_TRUE(app_tests::AbrirPrincipalEnDemo(servidor));
    common::valoresCorrida().DecimalesMoneda = app::Cfg(QStringLiteral("CantidadDecimales"));
}

QList<QStringList> Filas(const QString& servidor, const QString& sql)
{
    auto conexion = Conectar(servidor);
    auto rs = conexion->Execute(sql);
    QList<QStringList> filas;
    if (rs->State() != platform::db::adStateOpen) {
        return filas;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const platform::Variant valor = rs->value(i);
            fila.append(valor.isNull() ? QStringLiteral("<NULL>") : valor.toText());
        }
        filas.append(fila);
    }
    return filas;
}

Tabla LeerTabla(const QString& servidor, const QString& sql)
{
    auto conexion = Conectar(servidor);
    auto rs = conexion->Execute(sql);
    Tabla tabla;
    for (int i = 0; i < rs->FieldCount(); ++i) {
        tabla.columnas.append(rs->Fields(i).Name());
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const platform::Variant valor = rs->value(i);
            fila.append(valor.isNull() ? QStringLiteral("<NULL>") : valor.toText());
        }
        tabla.filas.append(fila);
    }
    return tabla;
}

void Ejecutar(const QString& servidor, const QString& sql)
{
    Conectar(servidor)->Execute(sql);
}

FormularioDemo::FormularioDemo() : servidor(ServidorDemo())
{
    platform::Runtime::instance().setClock([] { return AhoraFijo(); });
    const QString carpeta = servidor;
    form = std::make_unique<app::frmCorrigeCosto>(nullptr, [carpeta] { AbrirPrincipalDemo(carpeta); });
    form->Form_Load();
}

FormularioDemo::~FormularioDemo() = default;

void AceptarMensajeTemporal()
{
    testing_support::scriptedOperator().answerTimedMsgBox();
}

MensajeVisto MensajeTemporalVisto()
{
    MensajeVisto visto;
    for (const auto& pregunta : testing_support::scriptedOperator().asked()) {
        if (pregunta.kind == testing_support::ScriptedOperator::Kind::TimedMsgBox) {
            visto = {true, pregunta.title, pregunta.prompt};
        }
    }
    return visto;
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

void ElegirLista(app::frmCorrigeCosto& form, const QString& codigo)
{
    for (int i = 0; i < form.CmbLista->count(); ++i) {
        const QString item = form.CmbLista->itemText(i);
        if ((codigo.isEmpty() && i == 0) || (!codigo.isEmpty() && item.startsWith(codigo))) {
            form.CmbLista->setCurrentIndex(i);
            return;
        }
    }
    ADD_FAILURE() << "no list item " << codigo.toStdString();
}

void ElegirClase(app::frmCorrigeCosto& form, const QString& item)
{
    const int indice = form.cmbPrecio->findText(item);
    ASSERT_GE(indice, 0) << item.toStdString();
    form.cmbPrecio->setCurrentIndex(indice);
    emit form.cmbPrecio->activated(indice);
}

} // namespace corrige_tests
