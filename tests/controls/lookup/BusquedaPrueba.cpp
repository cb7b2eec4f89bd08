#include "BusquedaPrueba.h"

#include "demo/DemoBuilder.h"
#include "platform/db/Connection.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace busqueda_tests {

QString servidorDemo()
{
    const QString carpeta = QDir(testing_support::testFolder()).filePath(QStringLiteral("demo"));
    demo::BuildOptions opciones;
    opciones.folder = carpeta;
    const demo::BuildResult r = demo::buildDemoServer(opciones);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database=%2;UId=x;Pwd=y;Connect Timeout=5")
        .arg(carpeta, QString::fromLatin1(demo::kMainDatabase));
}

QStringList filas(const QString& conexion, const QString& sql)
{
    platform::db::Connection cn;
    cn.Open(conexion);
    QStringList out;
    const auto rs = cn.Execute(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList campos;
        for (int i = 0; i < rs->FieldCount(); ++i)
            campos << rs->value(i).toText();
        out << campos.join(u'|');
    }
    return out;
}

void ejecutar(const QString& conexion, const QString& sql)
{
    platform::db::Connection cn;
    cn.Open(conexion);
    cn.Execute(sql);
}

Caja abrirCaja(const QString& conexion, const QString& tabla, const QString& usuario)
{
    Caja c;
    c.b = std::make_unique<controls::BusquedaCodigo>();
    c.b->show();
    c.b->setConnString(conexion);
    c.b->Usuario = usuario;
    controls::BusquedaCodigo* b = c.b.get();
    QObject::connect(b, &controls::BusquedaCodigo::CodigoElegido, b,
                     [elegidos = c.elegidos, b] { *elegidos << b->codigo; });
    QString tb = tabla;
    c.disponible = b->BusquedaDisponible(tb);
    return c;
}

QStringList lineas(controls::BusquedaCodigo& b)
{
    QStringList out;
    for (int i = 0; i < b.LstBusqueda->count(); ++i)
        out << b.LstBusqueda->item(i)->text();
    return out;
}

QStringList codigos(controls::BusquedaCodigo& b)
{
    QStringList out;
    for (int i = 0; i < b.LstBusqueda->count(); ++i)
        out << b.LstBusqueda->item(i)->data(Qt::UserRole).toString();
    return out;
}

void teclear(controls::BusquedaCodigo& b, const QString& texto)
{
    QTest::keyClicks(b.TxtBusqueda, texto);
}

} // namespace busqueda_tests
