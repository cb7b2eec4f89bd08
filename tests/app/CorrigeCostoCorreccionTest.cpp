// The correction run as "&Corregir precios" starts it, on the test group of
// CorrigeCostoSoporte.h: the choices it takes from the form, its progress in
// lblMensaje, its final message and its log.
#include "CorrigeCostoSoporte.h"

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/ui/ListView.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/ParamName.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using app::frmCorrigeCosto;
using corrige_tests::Filas;
using corrige_tests::FormularioDemo;

namespace {

QByteArray Archivo(const QString& ruta)
{
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
    return f.readAll();
}

// The form on a demo copy that holds the test group.
struct FormularioConGrupo
{
    FormularioConGrupo() { corrige_tests::SembrarGrupo(demo.servidor); }
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
};

// Lists 01/04/2024 10:00 with the form's choices and selects the group whose
// first time is `primera`.
platform::ui::ListItem* ListarGrupo(frmCorrigeCosto& form, const QString& clase, const QString& lista, int regla,
                                    const QString& primera)
{
    corrige_tests::ElegirClase(form, clase);
    corrige_tests::ElegirLista(form, lista);
    if (regla >= 0) {
        form.OptSolosi[regla]->setChecked(true);
    }
    form.FhOcx1->Fh_Desde = QStringLiteral("01/04/2024");
    form.FhOcx1->Fh_Hasta = QStringLiteral("01/04/2024");
    form.txtfields[0]->setText(QStringLiteral("10:00"));
    form.txtfields[1]->setText(QStringLiteral("10:00"));
    form.cmdRecargar->click();
    for (int i = 1; i <= form.lstListado->ItemCount(); ++i) {
        platform::ui::ListItem* item = &form.lstListado->Item(i);
        if (item->SubItems(2) == primera) {
            form.lstListado->setSelectedItem(item);
            return item;
        }
    }
    ADD_FAILURE() << "no group starting at " << primera.toStdString();
    return nullptr;
}

const QString kMaestro = QStringLiteral("01/04/2024 10:00:05");
const QString kLista = QStringLiteral("01/04/2024 10:00:12");

// Presses "&Corregir precios" and answers the final message; returns it.
std::shared_ptr<corrige_tests::MensajeVisto> Corregir(frmCorrigeCosto& form)
{
    corrige_tests::AceptarMensajeTemporal();
    form.cmdCorregir->click();
    return std::make_shared<corrige_tests::MensajeVisto>(corrige_tests::MensajeTemporalVisto());
}

struct Caso
{
    const char* clase;
    const char* lista;
    const char* primera;
    const char* mensaje;
    const char* log;
    const char* filas; // the changed rows afterwards, "|" between values
    const char* consulta;
};

const Caso kCasos[] = {
    {"Precio 1", "", "01/04/2024 10:00:05",
     "Corrección finalizada con artículos omitidos.\r\nFilas del historial: 8. Precios modificados: 3. Sin cambios: "
     "2. Omitidos: 3. No se pudieron modificar: 0.\r\nLos artículos omitidos y los que no se pudieron modificar "
     "figuran, con el motivo, en <carpeta>/BKERR.LOG.",
     "== Log de correcciones de precio ==\r\n"
     "Fecha de ejecución: 2024-04-02 10:20:30\r\n"
     "Clase de precio: Precio 1\r\n"
     "Rango analizado: 01-04-2024 10:00:05.000 a 01-04-2024 10:00:40.999\r\n"
     "------------------------------------\r\n"
     "IdArticulo\tPrecio maestro\tPrecio nuevo\tFecha hist.\r\n"
     "1001\t850\t900.00\t2024-03-31 18:00:01\r\n"
     "1002\t750\t700.00\t2024-03-31 18:00:02\r\n"
     "1004\t300\t300.01\t2024-03-31 18:00:04\r\n",
     "   1001|900|True 1002|700|True 1004|300.01|True",
     "SELECT IDARTICULO, Precio1, DESDETRIGGER FROM V_MA_ARTICULOS WHERE DESDETRIGGER = 1 ORDER BY IDARTICULO"},
    {"Precio 2", "0002", "01/04/2024 10:00:12",
     "Corrección finalizada con éxito.\r\nFilas del historial: 2. Precios modificados: 1. Sin cambios: 1. Omitidos: "
     "0. No se pudieron modificar: 0.",
     "== Log de correcciones de precio ==\r\n"
     "Fecha de ejecución: 2024-04-02 10:20:30\r\n"
     "Clase de precio: Precio 2\r\n"
     "Rango analizado: 01-04-2024 10:00:12.000 a 01-04-2024 10:00:22.999\r\n"
     "------------------------------------\r\n"
     "IdArticulo\tPrecio maestro\tPrecio nuevo\tFecha hist.\r\n"
     "1002\t700\t777.77\t2024-03-31 18:00:07\r\n",
     "1002|0002|777.77|True",
     "SELECT IDARTICULO, idlista, Precio2, DESDETRIGGER FROM V_MA_PRECIOS WHERE DESDETRIGGER = 1 ORDER BY IDARTICULO"},
};

QString Unidas(const QList<QStringList>& filas)
{
    QStringList unidas;
    for (const QStringList& fila : filas) {
        unidas.append(fila.join(u'|'));
    }
    return unidas.join(u' ');
}

} // namespace

class CorreccionPorElBoton : public ::testing::TestWithParam<Caso>
{
};

TEST_P(CorreccionPorElBoton, RunsTheSelectedGroupWithTheFormsChoices)
{
    const Caso& caso = GetParam();
    FormularioConGrupo f;
    ASSERT_NE(ListarGrupo(f.form, QString::fromUtf8(caso.clase), QString::fromUtf8(caso.lista), 2,
                          QString::fromUtf8(caso.primera)),
              nullptr);
    const auto visto = Corregir(f.form);
    ASSERT_TRUE(visto->visto);
    EXPECT_EQ(visto->titulo, QStringLiteral("ATENCION"));
    EXPECT_EQ(visto->texto,
              QString::fromUtf8(caso.mensaje).replace(QStringLiteral("<carpeta>"), testing_support::testFolder()))
        << visto->texto.toStdString();
    EXPECT_TRUE(f.form.lblMensaje->text().isEmpty());
    const QString archivo = testing_support::testFolder() + QStringLiteral("/CorreccionesPrecio_20240402_102030.txt");
    EXPECT_EQ(f.form.UltimaCorrida().archivo, archivo);
    EXPECT_EQ(Archivo(archivo), QByteArray(caso.log));
    EXPECT_EQ(Unidas(Filas(f.demo.servidor, QString::fromUtf8(caso.consulta))), QString::fromUtf8(caso.filas));
}

INSTANTIATE_TEST_SUITE_P(MaestroYLista, CorreccionPorElBoton, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& caso) {
                             const char* lista = caso.param.lista;
                             return testing_support::ParamName(caso.param.clase) +
                                    (*lista ? "Lista" + testing_support::ParamName(lista) : std::string("Maestro"));
                         });

TEST(CorrigeCostoCorreccion, ModificarFollowsTheSelectedOption)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    const bool esperados[3] = {true, false, true}; // 10.00 before, 8.00 now
    for (int regla = 0; regla < 3; ++regla) {
        form.OptSolosi[regla]->setChecked(true);
        EXPECT_EQ(form.Modificar(QStringLiteral("10.00"), QStringLiteral("8.00")), esperados[regla]) << regla;
    }
    // No option selected.
    form.OptSolosi[2]->setAutoExclusive(false);
    form.OptSolosi[2]->setChecked(false);
    EXPECT_FALSE(form.Modificar(QStringLiteral("10.00"), QStringLiteral("8.00")));
}

TEST(CorrigeCostoCorreccion, WithoutARuleTheRunDoesNotStartAndSaysWhy)
{
    FormularioConGrupo f;
    ASSERT_NE(ListarGrupo(f.form, QStringLiteral("Precio 1"), QString(), -1, kMaestro), nullptr);
    const QList<QStringList> antes = Filas(f.demo.servidor, QStringLiteral("SELECT * FROM V_MA_ARTICULOS"));
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("regla"));
    f.form.cmdCorregir->click();
    EXPECT_EQ(corrige_tests::MensajesPreguntados(),
              QStringList{QStringLiteral("No hay una regla seleccionada: elija cuándo se corrige el precio.")});
    EXPECT_TRUE(QDir(testing_support::testFolder()).entryList({QStringLiteral("CorreccionesPrecio_*")}).isEmpty());
    EXPECT_EQ(Filas(f.demo.servidor, QStringLiteral("SELECT * FROM V_MA_ARTICULOS")), antes);
    EXPECT_TRUE(f.form.lblMensaje->text().isEmpty());
}

TEST(CorrigeCostoCorreccion, TheRunDisablesWhatWouldStartAnotherOneAndGivesItBack)
{
    FormularioConGrupo f;
    frmCorrigeCosto& form = f.form;
    ASSERT_NE(ListarGrupo(form, QStringLiteral("Precio 1"), QString(), 2, kMaestro), nullptr);

    // Seen from inside the run (the run yields after each row); the rule
    // changed by then must not change the run.
    struct Estado
    {
        bool visto = false;
        QList<bool> habilitados;
        QString etiqueta;
    };
    auto estado = std::make_shared<Estado>();
    QObject contexto;
    // Looked at once the first row's progress shows.
    std::function<void()> mirar;
    mirar = [&form, estado, &contexto, &mirar] {
        if (!form.lblMensaje->text().startsWith(QStringLiteral("   "))) {
            QTimer::singleShot(0, &contexto, mirar);
            return;
        }
        estado->visto = true;
        for (QWidget* w : std::initializer_list<QWidget*>{form.cmdCorregir, form.cmdRecargar, form.Frame1,
                                                          form.cmbPrecio, form.CmbLista, form.lstListado}) {
            estado->habilitados.append(w->isEnabled());
        }
        estado->etiqueta = form.lblMensaje->text();
        form.OptSolosi[0]->setChecked(true);
    };
    QTimer::singleShot(0, &contexto, mirar);
    const auto visto = Corregir(form);
    ASSERT_TRUE(estado->visto);
    EXPECT_EQ(estado->habilitados, (QList<bool>{false, false, false, false, false, false}));
    EXPECT_EQ(estado->etiqueta, QStringLiteral("   1/8  13% | Por favor, espere\u2026 Verificando articulo 1001"));
    // "Todos" to the end: 1002 (previous price lower) changed too.
    EXPECT_EQ(form.UltimaCorrida().modificados, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{form.cmdCorregir, form.cmdRecargar, form.Frame1, form.cmbPrecio,
                                                      form.CmbLista, form.lstListado}) {
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_FALSE(form.CmdBorrarMarca->isEnabled());
}

TEST(CorrigeCostoCorreccion, ALogThatCannotBeCreatedStopsTheRunBeforeAnyChange)
{
    FormularioConGrupo f;
    ASSERT_NE(ListarGrupo(f.form, QStringLiteral("Precio 1"), QString(), 2, kMaestro), nullptr);
    const QList<QStringList> antes = Filas(f.demo.servidor, QStringLiteral("SELECT * FROM V_MA_ARTICULOS"));

    // Neither the program folder nor the fall-back folder can hold a file.
    const QString bloqueo = testing_support::testFolder() + QStringLiteral("/bloqueo");
    QFile archivo(bloqueo);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    platform::Runtime::instance().setProgramFolder(bloqueo + QStringLiteral("/programa"));
    qputenv("XDG_DATA_HOME", (bloqueo + QStringLiteral("/datos")).toUtf8());

    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("registro de correcciones"));
    f.form.cmdCorregir->click();
    const QStringList mensajes = corrige_tests::MensajesPreguntados();
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes[0].startsWith(QStringLiteral("No se pudo crear el registro de correcciones ")));
    EXPECT_TRUE(mensajes[0].endsWith(QStringLiteral(". No se corrigió ningún precio.")));
    EXPECT_EQ(Filas(f.demo.servidor, QStringLiteral("SELECT * FROM V_MA_ARTICULOS")), antes);
    EXPECT_TRUE(f.form.cmdCorregir->isEnabled());
}

namespace {

// Calls `accion` once the run's label shows `progreso` (looked at in each of the run's yields).
void AlMostrar(frmCorrigeCosto& form, QObject* contexto, const QString& progreso, std::function<void()> accion)
{
    QTimer::singleShot(0, contexto, [&form, contexto, progreso, accion] {
        if (form.lblMensaje->text().startsWith(progreso)) {
            accion();
        } else {
            AlMostrar(form, contexto, progreso, accion);
        }
    });
}

} // namespace

TEST(CorrigeCostoCorreccion, ClosingTheWindowDuringARunEndsTheProgramAfterTheRowInHand)
{
    FormularioConGrupo f;
    platform::ui::ListItem* item = ListarGrupo(f.form, QStringLiteral("Precio 1"), QString(), 2, kMaestro);
    ASSERT_NE(item, nullptr);
    f.form.show();
    QObject contexto;
    AlMostrar(f.form, &contexto, QStringLiteral("   3/8 "), [&f] { f.form.close(); });
    int estado = -1;
    try {
        f.form.EjecutarCorreccion(*item);
    } catch (const platform::ProgramExit& salida) {
        estado = salida.status;
    }
    EXPECT_EQ(estado, 0);
    // Shown only if the run went on to its end.
    EXPECT_FALSE(corrige_tests::MensajeTemporalVisto().visto);
    EXPECT_EQ(Unidas(Filas(f.demo.servidor, QStringLiteral("SELECT IDARTICULO, Precio1 FROM V_MA_ARTICULOS WHERE "
                                                           "DESDETRIGGER = 1 ORDER BY IDARTICULO"))),
              QStringLiteral("   1001|900 1002|700"));
    EXPECT_TRUE(Archivo(f.form.UltimaCorrida().archivo)
                    .endsWith("1001\t850\t900.00\t2024-03-31 18:00:01\r\n1002\t750\t700.00\t2024-03-31 18:00:02\r\n"));
}

TEST(CorrigeCostoCorreccion, SalirWhileAnUpdateWaitsForALockEndsTheProgramOnceTheUpdateIsDone)
{
    FormularioConGrupo f;
    platform::ui::ListItem* item = ListarGrupo(f.form, QStringLiteral("Precio 1"), QString(), 2, kMaestro);
    ASSERT_NE(item, nullptr);
    f.form.show();
    data::gDbPrincipal().gCnn->setCommandTimeout(10);
    // Another program holds the master's write lock until it commits.
    platform::db::Connection otro;
    otro.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =BKDEMO;UId=x;Pwd=y;").arg(f.demo.servidor));
    otro.Execute(QStringLiteral("BEGIN TRANSACTION"));
    otro.Execute(QStringLiteral("UPDATE V_MA_ARTICULOS SET DESCRIPCION = DESCRIPCION WHERE IDARTICULO = '1100'"));

    QObject contexto;
    bool salir = false;
    AlMostrar(f.form, &contexto, QStringLiteral("   1/8 "), [&] {
        // By then the first update waits for the lock.
        QTimer::singleShot(400, &contexto, [&] {
            salir = true;
            f.form.cmdSalir->click();
        });
        QTimer::singleShot(800, &contexto, [&] { otro.Execute(QStringLiteral("COMMIT TRANSACTION")); });
    });
    QElapsedTimer reloj;
    reloj.start();
    int estado = -1;
    try {
        f.form.EjecutarCorreccion(*item);
    } catch (const platform::ProgramExit& salida) {
        estado = salida.status;
    }
    EXPECT_TRUE(salir);
    EXPECT_EQ(estado, 0);
    EXPECT_LT(reloj.elapsed(), 5000);
    // Shown only if the run went on to its end.
    EXPECT_FALSE(corrige_tests::MensajeTemporalVisto().visto);
    // The update in flight was done and logged; nothing after it.
    EXPECT_EQ(Unidas(Filas(f.demo.servidor, QStringLiteral("SELECT IDARTICULO, Precio1 FROM V_MA_ARTICULOS WHERE "
                                                           "DESDETRIGGER = 1 ORDER BY IDARTICULO"))),
              QStringLiteral("   1001|900"));
    EXPECT_TRUE(Archivo(f.form.UltimaCorrida().archivo).endsWith("1001\t850\t900.00\t2024-03-31 18:00:01\r\n"));
}
