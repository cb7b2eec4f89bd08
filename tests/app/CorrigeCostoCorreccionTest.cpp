// The correction run end to end on the demo data base, its rule and its log.
#include "CorrigeCostoSoporte.h"

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "platform/core/Currency.h"
#include "platform/core/Runtime.h"
#include "platform/ui/ListView.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
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
using corrige_tests::LeerTabla;
using corrige_tests::Tabla;
using platform::Currency;

namespace {

struct Grupo
{
    const char* dia;     // dd/mm/yyyy
    const char* minuto;  // hh:mm
    const char* lista;   // "" the article master
    const char* clase;   // the item of cmbPrecio
    const char* columna; // the column the run writes
    const char* desde;   // the span as the log shows it
    const char* hasta;
};

const Grupo kPrecio1Maestro{
    "05/02/2024", "09:15", "", "Precio 1", "Precio1", "05-02-2024 09:15:02.000", "05-02-2024 09:15:51.999"};
const Grupo kCostoMaestro{
    "19/02/2024", "18:40", "", "Costo", "Costo", "19-02-2024 18:40:00.000", "19-02-2024 18:40:58.999"};
const Grupo kPrecio2Lista{
    "04/03/2024", "10:02", "0002", "Precio 2", "Precio2", "04-03-2024 10:02:05.000", "04-03-2024 10:02:44.999"};
const Grupo kCostoLista{
    "22/03/2024", "17:45", "0003", "Costo", "Costo", "22-03-2024 17:45:03.000", "22-03-2024 17:45:33.999"};

QString Texto(const char* s)
{
    return QString::fromUtf8(s);
}

bool EsMaestro(const Grupo& g)
{
    return Texto(g.lista).isEmpty();
}

QString Filtro(const Grupo& g)
{
    return EsMaestro(g) ? QStringLiteral(" and (idlista = '' or idlista is null) ")
                        : QStringLiteral(" and idlista = '") + Texto(g.lista) + QStringLiteral("' ");
}

// What the run is expected to write, worked out from the tables as they
// stand: for each history row of the group, the article's last history
// price before the group against the current value, by the rule.
struct Esperado
{
    QStringList lineas;              // the change lines of the log
    QHash<QString, QString> cambios; // row key -> new value text (Currency::toString)
};

QString Clave(const QString& id, const QString& lista, bool maestro)
{
    return maestro ? id.trimmed() : id.trimmed() + u'|' + lista.trimmed();
}

Esperado Calcular(const QString& servidor, const Grupo& g, int regla)
{
    const bool maestro = EsMaestro(g);
    const QString columna = Texto(g.columna);
    const QString inicio = Texto(g.desde);
    QHash<QString, QStringList> previos; // trimmed id -> id, list, time, price
    for (const QStringList& f :
         Filas(servidor, QStringLiteral("SELECT IdArticulo, idLista, FechaHora, ") + columna +
                             QStringLiteral(" FROM V_MV_PreciosHis WHERE FechaHora < '") + inicio +
                             QStringLiteral("'") + Filtro(g) + QStringLiteral(" ORDER BY FechaHora, ID"))) {
        previos.insert(f[0].trimmed(), f);
    }
    QHash<QString, QString> actuales;
    const QString tabla =
        maestro ? QStringLiteral("SELECT IDARTICULO, '', ") + columna + QStringLiteral(" FROM V_MA_ARTICULOS")
                : QStringLiteral("SELECT IDARTICULO, idlista, ") + columna + QStringLiteral(" FROM V_MA_PRECIOS");
    for (const QStringList& f : Filas(servidor, tabla)) {
        actuales.insert(Clave(f[0], f[1], maestro), f[2]);
    }

    Esperado esperado;
    const QList<QStringList> grupo =
        Filas(servidor, QStringLiteral("SELECT IdArticulo FROM V_MV_PreciosHis WHERE FechaHora >= '") + inicio +
                            QStringLiteral("' AND FechaHora <= '") + Texto(g.hasta) + QStringLiteral("' ") + Filtro(g) +
                            QStringLiteral("ORDER BY FechaHora"));
    for (const QStringList& fila : grupo) {
        const auto previo = previos.constFind(fila[0].trimmed());
        if (previo == previos.cend() || (*previo)[3] == u"<NULL>") {
            continue;
        }
        const QString clave = Clave((*previo)[0], (*previo)[1], maestro);
        if (!actuales.contains(clave) || actuales[clave] == u"<NULL>") {
            continue;
        }
        const Currency a = *Currency::parse(actuales[clave]);
        const Currency b = *Currency::parse((*previo)[3]);
        const Currency d = b - a;
        const bool cambia = (d >= Currency::fromUnits(100) || -d >= Currency::fromUnits(100)) &&
                            (regla == 2 || (regla == 0 && d > Currency()) || (regla == 1 && d < Currency()));
        if (!cambia) {
            continue;
        }
        const QString nuevo = b.rounded(2).toFixed(2);
        esperado.lineas.append((*previo)[0].trimmed() + u'\t' + actuales[clave] + u'\t' + nuevo + u'\t' +
                               (*previo)[2].left(19));
        actuales[clave] = Currency::parse(nuevo)->toString();
        esperado.cambios.insert(clave, actuales[clave]);
    }
    return esperado;
}

Tabla Maestro(const QString& servidor)
{
    return LeerTabla(servidor, QStringLiteral("SELECT * FROM V_MA_ARTICULOS ORDER BY IDARTICULO"));
}

Tabla Listas(const QString& servidor)
{
    return LeerTabla(servidor, QStringLiteral("SELECT * FROM V_MA_PRECIOS ORDER BY IDARTICULO, idlista"));
}

// The table as it was with the expected changes applied.
Tabla Aplicar(Tabla tabla, const Esperado& esperado, const QString& columna, bool maestro)
{
    const int id = int(tabla.columnas.indexOf(QStringLiteral("IDARTICULO")));
    const int lista = int(tabla.columnas.indexOf(QStringLiteral("idlista")));
    const int precio = int(tabla.columnas.indexOf(columna));
    const int marca = int(tabla.columnas.indexOf(QStringLiteral("DESDETRIGGER")));
    EXPECT_GE(precio, 0);
    EXPECT_GE(marca, 0);
    for (QStringList& fila : tabla.filas) {
        const QString clave = Clave(fila[id], lista >= 0 ? fila[lista] : QString(), maestro);
        if (esperado.cambios.contains(clave)) {
            fila[precio] = esperado.cambios[clave];
            fila[marca] = QStringLiteral("True");
        }
    }
    return tabla;
}

// The first row where two tables differ, readable; empty when they are equal.
std::string Diferencia(const QList<QStringList>& a, const QList<QStringList>& b)
{
    if (a.size() != b.size()) {
        return "row counts " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return (a[i].join(u'|') + QStringLiteral("  <>  ") + b[i].join(u'|')).toStdString();
        }
    }
    return {};
}

QByteArray Archivo(const QString& ruta)
{
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
    return f.readAll();
}

QByteArray LogEsperado(const Grupo& g, const QString& clase, const QStringList& lineas)
{
    QStringList todo{QStringLiteral("== Log de correcciones de precio =="),
                     QStringLiteral("Fecha de ejecución: 2024-04-02 10:20:30"),
                     QStringLiteral("Clase de precio: Precio ") + clase,
                     QStringLiteral("Rango analizado: ") + Texto(g.desde) + QStringLiteral(" a ") + Texto(g.hasta),
                     QStringLiteral("------------------------------------"),
                     QStringLiteral("IdArticulo\tPrecio maestro\tPrecio nuevo\tFecha hist.")};
    todo.append(lineas);
    QByteArray bytes;
    for (const QString& linea : todo) {
        bytes += linea.toUtf8() + "\r\n";
    }
    return bytes;
}

// Lists the group's minute with the form's choices and selects its one row.
platform::ui::ListItem* ListarGrupo(frmCorrigeCosto& form, const Grupo& g, int regla)
{
    corrige_tests::ElegirClase(form, Texto(g.clase));
    corrige_tests::ElegirLista(form, Texto(g.lista));
    if (regla >= 0) {
        form.OptSolosi[regla]->setChecked(true);
    }
    form.FhOcx1->Fh_Desde = Texto(g.dia);
    form.FhOcx1->Fh_Hasta = Texto(g.dia);
    form.txtfields[0]->setText(Texto(g.minuto));
    form.txtfields[1]->setText(Texto(g.minuto));
    form.cmdRecargar->click();
    EXPECT_EQ(form.lstListado->ItemCount(), 1);
    if (form.lstListado->ItemCount() != 1) {
        return nullptr;
    }
    platform::ui::ListItem* item = &form.lstListado->Item(1);
    form.lstListado->setSelectedItem(item);
    return item;
}

// Presses "&Corregir precios" and answers the final message; returns it.
std::shared_ptr<corrige_tests::MensajeVisto> Corregir(frmCorrigeCosto& form)
{
    corrige_tests::AceptarMensajeTemporal();
    form.cmdCorregir->click();
    return std::make_shared<corrige_tests::MensajeVisto>(corrige_tests::MensajeTemporalVisto());
}

QString MensajeFinal(int modificados)
{
    return QStringLiteral("Corrección finalizada con éxito.\r\nPrecios modificados: ") + QString::number(modificados) +
           QStringLiteral(". Precios que no se pudieron modificar: 0.");
}

const QString kArchivo = QStringLiteral("CorreccionesPrecio_20240402_102030");

struct Caso
{
    Grupo grupo;
    int regla;
};

class CorreccionDeGrupo : public ::testing::TestWithParam<Caso>
{
};

} // namespace

TEST_P(CorreccionDeGrupo, WritesTheRuleChangesLogsThemAndASecondRunWritesNothing)
{
    const Grupo& g = GetParam().grupo;
    const int regla = GetParam().regla;
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    platform::ui::ListItem* item = ListarGrupo(form, g, regla);
    ASSERT_NE(item, nullptr);

    const bool maestro = EsMaestro(g);
    const Tabla maestroAntes = Maestro(demo.servidor);
    const Tabla listasAntes = Listas(demo.servidor);
    const Esperado esperado = Calcular(demo.servidor, g, regla);
    if (regla == 2) {
        EXPECT_GT(esperado.lineas.size(), 0);
    }

    const auto visto = Corregir(form);
    ASSERT_TRUE(visto->visto);
    EXPECT_EQ(visto->titulo, QStringLiteral("ATENCION"));
    EXPECT_EQ(visto->texto, MensajeFinal(int(esperado.lineas.size())));
    EXPECT_EQ(form.UltimaCorrida().modificados, esperado.lineas.size());
    EXPECT_EQ(form.UltimaCorrida().fallidos, 0);
    EXPECT_TRUE(form.lblMensaje->text().isEmpty());

    const QString clase = form.ClasePrecio;
    const QString carpeta = testing_support::testFolder() + u'/';
    EXPECT_EQ(form.UltimaCorrida().archivo, carpeta + kArchivo + QStringLiteral(".txt"));
    EXPECT_EQ(Archivo(carpeta + kArchivo + QStringLiteral(".txt")), LogEsperado(g, clase, esperado.lineas));

    // Only the price of the changed rows and their mark changed, in the one table written.
    const Tabla maestroDespues = Maestro(demo.servidor);
    const Tabla listasDespues = Listas(demo.servidor);
    EXPECT_EQ(Diferencia(maestroDespues.filas,
                         maestro ? Aplicar(maestroAntes, esperado, Texto(g.columna), true).filas : maestroAntes.filas),
              "");
    EXPECT_EQ(Diferencia(listasDespues.filas,
                         maestro ? listasAntes.filas : Aplicar(listasAntes, esperado, Texto(g.columna), false).filas),
              "");

    // The same group again, in the same second: its own file, no change line.
    const auto segunda = Corregir(form);
    ASSERT_TRUE(segunda->visto);
    EXPECT_EQ(segunda->texto, MensajeFinal(0));
    EXPECT_EQ(form.UltimaCorrida().archivo, carpeta + kArchivo + QStringLiteral("_2.txt"));
    EXPECT_EQ(Archivo(carpeta + kArchivo + QStringLiteral("_2.txt")), LogEsperado(g, clase, {}));
    EXPECT_EQ(Diferencia(Maestro(demo.servidor).filas, maestroDespues.filas), "");
    EXPECT_EQ(Diferencia(Listas(demo.servidor).filas, listasDespues.filas), "");
}

INSTANTIATE_TEST_SUITE_P(Grupos, CorreccionDeGrupo,
                         ::testing::Values(Caso{kPrecio1Maestro, 0}, Caso{kPrecio1Maestro, 1}, Caso{kPrecio1Maestro, 2},
                                           Caso{kCostoMaestro, 0}, Caso{kCostoMaestro, 1}, Caso{kCostoMaestro, 2},
                                           Caso{kPrecio2Lista, 0}, Caso{kPrecio2Lista, 1}, Caso{kPrecio2Lista, 2},
                                           Caso{kCostoLista, 0}, Caso{kCostoLista, 1}, Caso{kCostoLista, 2}));

TEST(CorrigeCostoCorreccion, ModificarFollowsTheSelectedRule)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    struct Fila
    {
        const char* anterior;
        const char* actual;
        bool mayor;
        bool menor;
        bool todos;
    };
    const Fila filas[] = {
        {"10.00", "8.00", true, false, true},     {"8.00", "10.00", false, true, true},
        {"10.004", "10.00", false, false, false}, {"10.01", "10.00", true, false, true},
        {"10.00", "10.01", false, true, true},    {"10.00", "", false, false, false},
        {"", "10.00", false, false, false},       {"abc", "10.00", false, false, false},
    };
    for (const Fila& f : filas) {
        const bool esperados[3] = {f.mayor, f.menor, f.todos};
        for (int regla = 0; regla < 3; ++regla) {
            form.OptSolosi[regla]->setChecked(true);
            EXPECT_EQ(form.Modificar(Texto(f.anterior), Texto(f.actual)), esperados[regla])
                << f.anterior << " / " << f.actual << " rule " << regla;
        }
    }
    // No option selected.
    form.OptSolosi[2]->setAutoExclusive(false);
    form.OptSolosi[2]->setChecked(false);
    EXPECT_FALSE(form.Modificar(QStringLiteral("10.00"), QStringLiteral("8.00")));
}

TEST(CorrigeCostoCorreccion, WithoutARuleTheRunDoesNotStartAndSaysWhy)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    ASSERT_NE(ListarGrupo(form, kPrecio1Maestro, -1), nullptr);
    const Tabla antes = Maestro(demo.servidor);
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("regla"));
    form.cmdCorregir->click();
    EXPECT_EQ(corrige_tests::MensajesPreguntados(),
              QStringList{QStringLiteral("No hay una regla seleccionada: elija cuándo se corrige el precio.")});
    EXPECT_TRUE(QDir(testing_support::testFolder()).entryList({QStringLiteral("CorreccionesPrecio_*")}).isEmpty());
    EXPECT_EQ(Maestro(demo.servidor).filas, antes.filas);
    EXPECT_TRUE(form.lblMensaje->text().isEmpty());
}

TEST(CorrigeCostoCorreccion, TheRunDisablesWhatWouldStartAnotherOneAndGivesItBack)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    ASSERT_NE(ListarGrupo(form, kPrecio1Maestro, 2), nullptr);
    const Esperado todos = Calcular(demo.servidor, kPrecio1Maestro, 2);

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
    EXPECT_TRUE(
        estado->etiqueta.startsWith(QStringLiteral("   1/400  0% | Por favor, espere\u2026 Verificando articulo ")))
        << estado->etiqueta.toStdString();
    EXPECT_EQ(form.UltimaCorrida().modificados, todos.lineas.size());
    for (QWidget* w : std::initializer_list<QWidget*>{form.cmdCorregir, form.cmdRecargar, form.Frame1, form.cmbPrecio,
                                                      form.CmbLista, form.lstListado}) {
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_FALSE(form.CmdBorrarMarca->isEnabled());
}

TEST(CorrigeCostoCorreccion, UnreadableCurrentValueAndNullPreviousPriceSkipTheRow)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    ASSERT_NE(ListarGrupo(form, kPrecio1Maestro, 2), nullptr);
    const Esperado todos = Calcular(demo.servidor, kPrecio1Maestro, 2);
    ASSERT_GE(todos.lineas.size(), 2);
    const QString sinMaestro = todos.lineas[0].section(u'\t', 0, 0);
    const QString sinPrevio = todos.lineas[1].section(u'\t', 0, 0);
    const QString fechaPrevia = todos.lineas[1].section(u'\t', 3, 3);
    corrige_tests::Ejecutar(demo.servidor, QStringLiteral("DELETE FROM V_MA_ARTICULOS WHERE LTRIM(IDARTICULO) = '") +
                                               sinMaestro + QStringLiteral("'"));
    corrige_tests::Ejecutar(demo.servidor,
                            QStringLiteral("UPDATE V_MV_PreciosHis SET Precio1 = NULL WHERE LTRIM(IdArticulo) = '") +
                                sinPrevio + QStringLiteral("' AND FechaHora >= '") + fechaPrevia +
                                QStringLiteral("' AND FechaHora < '05-02-2024 09:15:02.000'"));
    const QString valorSinPrevio =
        Filas(demo.servidor, QStringLiteral("SELECT Precio1 FROM V_MA_ARTICULOS WHERE LTRIM(IDARTICULO) = '") +
                                 sinPrevio + QStringLiteral("'"))[0][0];

    const auto visto = Corregir(form);
    ASSERT_TRUE(visto->visto);
    EXPECT_EQ(form.UltimaCorrida().modificados, todos.lineas.size() - 2);
    const QByteArray log = Archivo(form.UltimaCorrida().archivo);
    EXPECT_FALSE(log.contains("\r\n" + sinMaestro.toUtf8() + "\t"));
    EXPECT_FALSE(log.contains("\r\n" + sinPrevio.toUtf8() + "\t"));
    // Never taken as 0 and written: the deleted article is not added back, the other keeps its value.
    EXPECT_TRUE(Filas(demo.servidor, QStringLiteral("SELECT 1 FROM V_MA_ARTICULOS WHERE LTRIM(IDARTICULO) = '") +
                                         sinMaestro + QStringLiteral("'"))
                    .isEmpty());
    EXPECT_EQ(Filas(demo.servidor, QStringLiteral("SELECT Precio1 FROM V_MA_ARTICULOS WHERE LTRIM(IDARTICULO) = '") +
                                       sinPrevio + QStringLiteral("'"))[0][0],
              valorSinPrevio);
}

TEST(CorrigeCostoCorreccion, FailedUpdatesAreReportedAndNotLogged)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    ASSERT_NE(ListarGrupo(form, kPrecio1Maestro, 2), nullptr);
    // The master becomes a view (of list 0001's prices): it reads, but every update of it fails.
    corrige_tests::Ejecutar(demo.servidor, QStringLiteral("DROP TABLE V_MA_ARTICULOS"));
    corrige_tests::Ejecutar(demo.servidor, QStringLiteral("CREATE VIEW V_MA_ARTICULOS AS SELECT * FROM V_MA_PRECIOS "
                                                          "WHERE idlista = '0001'"));
    const Esperado todos = Calcular(demo.servidor, kPrecio1Maestro, 2);
    ASSERT_GT(todos.lineas.size(), 0);
    const Tabla antes = Listas(demo.servidor);

    const auto visto = Corregir(form);
    ASSERT_TRUE(visto->visto);
    EXPECT_EQ(form.UltimaCorrida().modificados, 0);
    EXPECT_EQ(form.UltimaCorrida().fallidos, todos.lineas.size());
    EXPECT_EQ(visto->texto, QStringLiteral("Corrección finalizada con errores.\r\nPrecios modificados: 0. Precios "
                                           "que no se pudieron modificar: ") +
                                QString::number(todos.lineas.size()) + u'.');
    EXPECT_EQ(Archivo(form.UltimaCorrida().archivo), LogEsperado(kPrecio1Maestro, QStringLiteral("1"), {}));
    EXPECT_EQ(Diferencia(Listas(demo.servidor).filas, antes.filas), "");
}

TEST(CorrigeCostoCorreccion, ALogThatCannotBeCreatedStopsTheRunBeforeAnyChange)
{
    FormularioDemo demo;
    frmCorrigeCosto& form = *demo.form;
    ASSERT_NE(ListarGrupo(form, kPrecio1Maestro, 2), nullptr);
    const Tabla antes = Maestro(demo.servidor);

    // Neither the program folder nor the fall-back folder can hold a file.
    const QString bloqueo = testing_support::testFolder() + QStringLiteral("/bloqueo");
    QFile archivo(bloqueo);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    platform::Runtime::instance().setProgramFolder(bloqueo + QStringLiteral("/programa"));
    qputenv("XDG_DATA_HOME", (bloqueo + QStringLiteral("/datos")).toUtf8());

    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::OK, QStringLiteral("registro de correcciones"));
    form.cmdCorregir->click();
    const QStringList mensajes = corrige_tests::MensajesPreguntados();
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes[0].startsWith(QStringLiteral("No se pudo crear el registro de correcciones ")));
    EXPECT_TRUE(mensajes[0].endsWith(QStringLiteral(". No se corrigió ningún precio.")));
    EXPECT_EQ(Maestro(demo.servidor).filas, antes.filas);
    EXPECT_TRUE(form.cmdCorregir->isEnabled());
}
