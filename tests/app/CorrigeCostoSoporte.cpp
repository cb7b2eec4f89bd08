#include "CorrigeCostoSoporte.h"

#include "app/Configuracion.h"
#include "common/FhOcx.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/db/Types.h"
#include "platform/ui/ListView.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
    static const QString servidor = [] {
        demo::BuildOptions opciones;
        opciones.folder = testing_support::runFolder() + QStringLiteral("/servidor");
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

void Ejecutar(const QString& servidor, const QString& sql)
{
    Conectar(servidor)->Execute(sql);
}

void SembrarGrupo(const QString& servidor)
{
    const QString historia =
        QStringLiteral("INSERT INTO V_MV_PreciosHis (FechaHora, IdArticulo, idLista, Costo, Precio1, Precio2) VALUES ");
    const char* filas[] = {
        "('2024-03-31 18:00:01', '   1001', '', 600, 900, 1)",
        "('2024-03-31 18:00:02', '1002', '', 450, 700, 1)",
        "('2024-03-31 18:00:03', '1003', '', 320, 500.004, 1)",
        "('2024-03-31 18:00:04', '1004', '', 210, 300.01, 1)",
        "('2024-03-31 18:00:05', '1007', '', 100, NULL, 1)",
        "('2024-03-31 18:00:06', '9999', '', 50, 60, 1)",
        "('2024-03-31 18:00:07', '1002', '0002', 451, 1, 777.77)",
        "('2024-03-31 18:00:08', '1004', '0002', 211, 1, 333.33)",
        "('2024-04-01 10:00:05', '   1001', '', 1, 1, 1)",
        "('2024-04-01 10:00:10', '1002', '', 1, 1, 1)",
        "('2024-04-01 10:00:12', '1002', '0002  ', 1, 1, 1)",
        "('2024-04-01 10:00:15', '1003', '', 1, 1, 1)",
        "('2024-04-01 10:00:20', '1004', '', 1, 1, 1)",
        "('2024-04-01 10:00:22', '1004', '0002  ', 1, 1, 1)",
        "('2024-04-01 10:00:25', '8888', '', 1, 1, 1)",
        "('2024-04-01 10:00:30', '1007', '', 1, 1, 1)",
        "('2024-04-01 10:00:35', '9999', '', 1, 1, 1)",
        "('2024-04-01 10:00:40.500', '   1001', '', 1, 1, 1)",
    };
    for (const char* fila : filas) {
        Ejecutar(servidor, historia + QString::fromLatin1(fila));
    }
    const char* actuales[] = {
        "UPDATE V_MA_ARTICULOS SET Costo = 650, Precio1 = 850 WHERE IDARTICULO = '   1001'",
        "UPDATE V_MA_ARTICULOS SET Costo = 450, Precio1 = 750 WHERE IDARTICULO = '1002'",
        "UPDATE V_MA_ARTICULOS SET Costo = 330, Precio1 = 500 WHERE IDARTICULO = '1003'",
        "UPDATE V_MA_ARTICULOS SET Costo = 200, Precio1 = 300 WHERE IDARTICULO = '1004'",
        "UPDATE V_MA_ARTICULOS SET Costo = 120, Precio1 = 120 WHERE IDARTICULO = '1007'",
        "UPDATE V_MA_PRECIOS SET Costo = 451, Precio2 = 700 WHERE IDARTICULO = '1002' AND idlista = '0002'",
        "UPDATE V_MA_PRECIOS SET Costo = 200, Precio2 = 333.33 WHERE IDARTICULO = '1004' AND idlista = '0002'",
    };
    for (const char* actual : actuales) {
        Ejecutar(servidor, QString::fromLatin1(actual));
    }
}

platform::DateTime PrimeraDelGrupo()
{
    return platform::DateTime(QDate(2024, 4, 1), QTime(10, 0, 5));
}

platform::DateTime UltimaDelGrupo()
{
    return platform::DateTime(QDate(2024, 4, 1), QTime(10, 0, 40));
}

FormularioDemo::FormularioDemo(const QString& carpeta) : servidor(carpeta)
{
    platform::Runtime::instance().setClock([] { return AhoraFijo(); });
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

void MostrarUnGrupo(app::frmCorrigeCosto& form)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.FhOcx1->Fh_Desde = QStringLiteral("18/03/2024");
    form.FhOcx1->Fh_Hasta = QStringLiteral("18/03/2024");
    form.FhOcx1->txtFechas[0]->setText(QStringLiteral("18/03/2024"));
    form.FhOcx1->txtFechas[1]->setText(QStringLiteral("18/03/2024"));
    form.txtfields[0]->setText(QStringLiteral("08:00"));
    form.txtfields[1]->setText(QStringLiteral("09:00"));
    form.cmdRecargar->click();
    ASSERT_GT(form.lstListado->ItemCount(), 0);
    platform::ui::ListItem* item = &form.lstListado->Item(1);
    QTest::mouseClick(form.lstListado->viewport(), Qt::LeftButton, {}, form.lstListado->visualItemRect(item).center());
    ASSERT_EQ(form.lstListado->SelectedItem(), item);
}

} // namespace corrige_tests
