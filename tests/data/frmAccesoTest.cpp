// The connection dialog, driven as an operator drives it.
#include "data/frmAcceso.h"

#include "AyudasPrueba.h"

#include "common/ValoresCorrida.h"
#include "data/ConexionesRegistradas.h"
#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/util/Dll_Utilidades.h"
#include "support/EmbeddedFixture.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using data::frmAcceso;
using data_tests::Entorno;
using data_tests::leerBytes;
using testing_support::scriptedOperator;
namespace msgbox = platform::msgbox;

namespace {

QString rutaBases()
{
    return QDir(testing_support::testFolder()).filePath(QStringLiteral("BASES.TXT"));
}

void crearBasesVacio()
{
    QFile archivo(rutaBases());
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
}

// An embedded server folder with two small data bases.
testing_support::EmbeddedFixture servidorDePrueba()
{
    testing_support::EmbeddedFixture servidor;
    servidor.createDatabase(QStringLiteral("VENTAS"), QStringLiteral("CREATE TABLE T (A INTEGER);"));
    servidor.createDatabase(QStringLiteral("COMPRAS"), QStringLiteral("CREATE TABLE T (A INTEGER);"));
    return servidor;
}

void escribir(QLineEdit* box, const QString& texto)
{
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, texto);
}

// Runs `accion` on the connection dialog as soon as it is shown modally, then
// closes it with Cancelar if the action left it open. Nothing is asserted
// here; the test checks what the action recorded once the dialog returned.
void alMostrarse(std::function<void(frmAcceso&)> accion)
{
    auto* timer = new QTimer();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, accion] {
        auto* form = dynamic_cast<frmAcceso*>(QApplication::activeModalWidget());
        if (!form) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        accion(*form);
        if (form->isVisible()) {
            form->bcCancelar->click();
        }
    });
    timer->start();
}

} // namespace

TEST(frmAcceso, ShowsItsControlsWithTheirTextsAndHintsAsPlaceholders)
{
    frmAcceso form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Control de Acceso"));
    EXPECT_EQ(form.size(), QSize(579, 313));

    struct Caja
    {
        const char* nombre;
        const char* tooltip;
        const char* placeholder;
    };
    const Caja cajas[] = {
        {"TxtUserId", "Ingrese el nombre de usuario", "Ingrese el usuario"},
        {"TxtUserPassword", "Ingrese la contrasena", ""},
        {"TxtDbName", "ingrese el nombre de la base de datos", "ingrese el nombre de la base de datos"},
        {"TxtServidor", "ingrese el nombre del servidor e instancia", "ingrese el nombre del servidor e instancia"},
    };
    for (const Caja& c : cajas) {
        auto* box = form.findChild<QLineEdit*>(QString::fromUtf8(c.nombre));
        ASSERT_NE(box, nullptr) << c.nombre;
        EXPECT_EQ(box->parentWidget(), form.framAcceso) << c.nombre;
        EXPECT_EQ(box->toolTip(), QString::fromUtf8(c.tooltip)) << c.nombre;
        EXPECT_EQ(box->placeholderText(), QString::fromUtf8(c.placeholder)) << c.nombre;
        EXPECT_EQ(box->text(), QString()) << c.nombre;
    }
    EXPECT_EQ(form.TxtUserPassword->echoMode(), QLineEdit::Password);
    auto* puerto = form.findChild<QLineEdit*>(QStringLiteral("TxtPuerto"));
    ASSERT_NE(puerto, nullptr);
    EXPECT_EQ(puerto->text(), QStringLiteral("1433"));
    EXPECT_EQ(puerto->toolTip(), QStringLiteral("Ingrese el Puerto "));

    auto* plataforma = form.findChild<QComboBox*>(QStringLiteral("CboPlataformaDB"));
    ASSERT_NE(plataforma, nullptr);
    ASSERT_EQ(plataforma->count(), 2);
    EXPECT_EQ(plataforma->itemText(0), QStringLiteral("SQL Server"));
    EXPECT_EQ(plataforma->itemText(1), QStringLiteral("ORACLE"));

    const std::pair<const char*, const char*> botones[] = {{"bcAceptar", "Conectar"},
                                                           {"bcCancelar", "Cancelar"},
                                                           {"CmdRegistrar", "Registrar"},
                                                           {"CmdLineaComando", "Crear Acceso Directo"}};
    for (const auto& [nombre, texto] : botones) {
        auto* boton = form.findChild<QPushButton*>(QString::fromUtf8(nombre));
        ASSERT_NE(boton, nullptr) << nombre;
        EXPECT_EQ(boton->text(), QString::fromUtf8(texto));
    }
    auto* lista = form.findChild<QListWidget*>(QStringLiteral("lstBases"));
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(lista->font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(lista->count(), 0);

    const std::pair<const char*, const char*> etiquetas[] = {
        {"Label2", "Usuario"},
        {"Label3", "Contrasena"},
        {"Label4", "Base de datos"},
        {"Label5", "Servidor"},
        {"Label6", "Plataforma"},
        {"Label1_0", "AUTENTICACION"},
        {"Label1_1", "Conexiones registradas"},
        {"Label1_2", "Control de Acceso"},
        {"Label7", "TORVANE"},
    };
    for (const auto& [nombre, texto] : etiquetas) {
        auto* label = form.findChild<QLabel*>(QString::fromUtf8(nombre));
        ASSERT_NE(label, nullptr) << nombre;
        EXPECT_EQ(label->text(), QString::fromUtf8(texto));
    }
    EXPECT_EQ(form.Label7->font().family(), QStringLiteral("Tahoma"));
    EXPECT_FALSE(form.Aceptar);
}

TEST(frmAcceso, AHintIsNeverAValue)
{
    crearBasesVacio();
    frmAcceso form;
    form.TxtUserId->setText(QStringLiteral("Ingrese el usuario"));
    form.TxtDbName->setText(QStringLiteral("ingrese el nombre de la base de datos"));
    form.TxtServidor->setText(QStringLiteral("   "));
    form.show();
    form.TxtUserId->setFocus();
    QFocusEvent foco(QEvent::FocusIn);
    QApplication::sendEvent(form.TxtUserId, &foco);
    EXPECT_EQ(form.TxtDbName->text(), QString());
    EXPECT_EQ(form.TxtServidor->text(), QString());
    EXPECT_EQ(form.TxtUserId->text(), QString());

    QTest::mouseClick(form.bcAceptar, Qt::LeftButton);
    EXPECT_TRUE(form.Aceptar);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QString());
    EXPECT_EQ(common::valoresCorrida().ClaveActual, QString());
}

TEST(frmAcceso, RegistrarAddsALineThatTheListOffersAndSelectingItFillsTheBoxes)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    frmAcceso form;
    form.show();
    const QString pares[][2] = {{QStringLiteral("ventas"), QStringLiteral(" ventas ")},
                                {QStringLiteral("compras"), QStringLiteral("compras")}};
    for (const auto& par : pares) {
        escribir(form.TxtDbName, par[1]);
        escribir(form.TxtServidor, servidor.folder());
        escribir(form.TxtUserId, QStringLiteral("ana"));
        escribir(form.TxtUserPassword, QStringLiteral("clave"));
        QTest::mouseClick(form.CmdRegistrar, Qt::LeftButton);
    }
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());

    const QString claveServidor = servidor.folder().toUpper();
    const QString linea1 = data::LineaConexion(
        QStringLiteral("VENTAS / ") + claveServidor, QStringLiteral("ventas"), QStringLiteral("ventas"),
        platform::Dll_Utilidades::shared().Encriptar(QStringLiteral("ventas")), servidor.folder());
    const QString linea2 = data::LineaConexion(
        QStringLiteral("COMPRAS / ") + claveServidor, QStringLiteral("compras"), QStringLiteral("compras"),
        platform::Dll_Utilidades::shared().Encriptar(QStringLiteral("compras")), servidor.folder());
    EXPECT_EQ(leerBytes(rutaBases()), (linea1 + linea2).toUtf8());

    ASSERT_EQ(form.lstBases->count(), 2);
    EXPECT_EQ(form.lstBases->item(0)->text(), QStringLiteral("VENTAS / ") + claveServidor);
    EXPECT_EQ(form.lstBases->item(1)->text(), QStringLiteral("COMPRAS / ") + claveServidor);

    escribir(form.TxtUserId, QStringLiteral("ana"));
    const QRect fila = form.lstBases->visualItemRect(form.lstBases->item(1));
    QTest::mouseClick(form.lstBases->viewport(), Qt::LeftButton, {}, fila.center());
    EXPECT_EQ(form.lstBases->currentRow(), 1);
    EXPECT_EQ(form.TxtDbName->text(), QStringLiteral("compras"));
    EXPECT_EQ(form.TxtServidor->text(), servidor.folder());
    EXPECT_EQ(form.TxtUserId->text(), QString());
    EXPECT_EQ(form.TxtUserPassword->text(), QString());

    // A fresh load offers the file's first connection.
    frmAcceso otro;
    EXPECT_EQ(otro.lstBases->currentRow(), 0);
    EXPECT_EQ(otro.TxtDbName->text(), QStringLiteral("ventas"));
    EXPECT_EQ(otro.TxtServidor->text(), servidor.folder());
}

TEST(frmAcceso, ARegisteredServerWithAPortShowsThePortApart)
{
    ASSERT_TRUE(data::GrabarConexionEnBases(QStringLiteral("VENTAS / SRV01"), QStringLiteral("ventas"),
                                            QStringLiteral("ventas"), QStringLiteral("ventas"),
                                            QStringLiteral("srv01:2433")));
    frmAcceso form;
    EXPECT_EQ(form.TxtServidor->text(), QStringLiteral("SRV01"));
    EXPECT_EQ(form.TxtPuerto->text(), QStringLiteral("2433"));
    EXPECT_EQ(form.TxtDbName->text(), QStringLiteral("ventas"));
    EXPECT_EQ(form.BasePassword, QStringLiteral("ventas"));
}

TEST(frmAcceso, RegistrarOfAnotherDataBaseLeavesTheMainConnectionAlone)
{
    demo::BuildOptions opciones;
    opciones.folder = QDir(testing_support::testFolder()).filePath(QStringLiteral("servidor"));
    const demo::BuildResult construido = demo::buildDemoServer(opciones);
    ASSERT_TRUE(construido.ok) << construido.error.toStdString();

    common::valoresCorrida().UsuarioActual = QString::fromUtf8(demo::kDemoUser);
    data::DB_Dll& principal = data::gDbPrincipal();
    principal.gServidor = opciones.folder;
    principal.gDBName = QString::fromUtf8(demo::kMainDatabase);
    principal.gUsuario = QStringLiteral("sa");
    principal.gUserPassWord = QStringLiteral("secreto");
    principal.OpenServerADODB(false, 3, QString(), true, true);
    ASSERT_TRUE(principal.gOpenFlag);
    ASSERT_TRUE(principal.gEsAdmin);
    const QString cadena = principal.gConnString;
    const auto conexion = principal.gCnn;

    frmAcceso form;
    form.TxtDbName->setText(QString::fromUtf8(demo::kStatisticsDatabase));
    form.TxtServidor->setText(opciones.folder);
    form.TxtUserId->setText(QStringLiteral("otro"));
    form.TxtUserPassword->setText(QStringLiteral("otra"));
    form.CmdRegistrar->click();
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
    ASSERT_EQ(form.lstBases->count(), 1);
    EXPECT_EQ(form.lstBases->item(0)->text(),
              QString::fromUtf8(demo::kStatisticsDatabase) + QStringLiteral(" / ") + opciones.folder.toUpper());

    EXPECT_TRUE(principal.gOpenFlag);
    EXPECT_TRUE(principal.gEsAdmin);
    EXPECT_EQ(principal.gCnn, conexion);
    EXPECT_EQ(principal.gCnn->State(), platform::db::adStateOpen);
    EXPECT_EQ(principal.gConnString, cadena);
    EXPECT_EQ(principal.gServidor, opciones.folder);
    EXPECT_EQ(principal.gDBName, QString::fromUtf8(demo::kMainDatabase));
    EXPECT_EQ(principal.gUsuario, QStringLiteral("sa"));
    EXPECT_EQ(principal.gUserPassWord, QStringLiteral("secreto"));
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QString::fromUtf8(demo::kDemoUser));
    const auto filas = principal.gCnn->Execute(QStringLiteral("select count(*) from TA_USUARIOS"));
    ASSERT_TRUE(filas);
    EXPECT_GT(filas->Fields(0).Value().toDouble().value_or(0), 0);
}

TEST(frmAcceso, AFailingRegistrarSaysSoAndWritesNothing)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    frmAcceso form;
    form.TxtDbName->setText(QStringLiteral("NOEXISTE"));
    form.TxtServidor->setText(servidor.folder());
    scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + servidor.folder() +
                                                    QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD"));
    form.CmdRegistrar->click();
    ASSERT_EQ(scriptedOperator().asked().size(), 1);
    EXPECT_EQ(scriptedOperator().asked().first().title, QStringLiteral("AVISO AL OPERADOR"));
    EXPECT_EQ(scriptedOperator().asked().first().style, msgbox::Information);
    EXPECT_FALSE(QFile::exists(rutaBases()));
    EXPECT_EQ(form.lstBases->count(), 0);
}

TEST(frmAcceso, ThePortIsDigitsOnlyAndIsWrittenBackAsANumber)
{
    struct Caso
    {
        const char* tecleado;
        const char* escrito; // nullptr: refused
    };
    const Caso casos[] = {{"", "1433"},       {"0", "1433"},      {" 01500 ", "1500"},  {"2433", "2433"},
                          {"65535", "65535"}, {"14.33", nullptr}, {"1433abc", nullptr}, {"-5", nullptr},
                          {"70000", nullptr}, {"1e3", nullptr},   {"1 433", nullptr},   {"\xd9\xa3", nullptr}};
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.tecleado);
        QFile::remove(rutaBases());
        frmAcceso form;
        form.TxtDbName->setText(QStringLiteral("ventas"));
        form.TxtServidor->setText(servidor.folder());
        form.TxtPuerto->setText(QString::fromUtf8(caso.tecleado));
        if (!caso.escrito) {
            scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("El puerto debe contener solo digitos"));
        }
        form.CmdRegistrar->click();
        EXPECT_EQ(scriptedOperator().pending(), 0u);
        EXPECT_EQ(QFile::exists(rutaBases()), caso.escrito != nullptr);
        if (caso.escrito) {
            EXPECT_EQ(form.TxtPuerto->text(), QString::fromUtf8(caso.escrito));
            EXPECT_EQ(form.Puerto.toText(), QString::fromUtf8(caso.escrito));
        }
    }
}

TEST(frmAcceso, TheErrorsOfStartingAServerArePassedOver)
{
    for (const int32_t numero : {3704, 1056, 440, 20480, int32_t(0x80070420)}) {
        EXPECT_TRUE(data::ErrorPasadoPorAlto(numero)) << numero;
    }
    for (const int32_t numero : {0, 75, 3705, 3709, int32_t(0x80004005), int32_t(0x80070421)}) {
        EXPECT_FALSE(data::ErrorPasadoPorAlto(numero)) << numero;
    }
}

TEST(frmAcceso, AnErrorOfTheRegistryIsShownAndTheRegisteringProgramAndTheListFollow)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    const QString carpeta = testing_support::testFolder();
    // A folder in the registry file's place: it can be neither read nor written.
    ASSERT_TRUE(QDir().mkpath(rutaBases()));
    const QString marca = carpeta + QStringLiteral("/odbc-iniciado");
    QFile programa(carpeta + QStringLiteral("/ODBC.exe"));
    ASSERT_TRUE(programa.open(QIODevice::WriteOnly));
    programa.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(marca).toUtf8());
    programa.close();
    programa.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    auto& op = scriptedOperator();
    op.answerMsgBox(msgbox::Abort, QStringLiteral("No se puede leer")); // the list of the load
    frmAcceso form;
    form.TxtDbName->setText(QStringLiteral("ventas"));
    form.TxtServidor->setText(servidor.folder());
    op.answerMsgBox(msgbox::OK, QStringLiteral("No se puede leer")); // the look-up of the key
    op.answerMsgBox(msgbox::OK, QStringLiteral("SQL Server start failed.  \rSQL-DMO error:   75 No se puede leer"));
    op.answerMsgBox(msgbox::Abort, QStringLiteral("No se puede leer")); // the list once more
    form.CmdRegistrar->click();
    EXPECT_EQ(op.pending(), 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return leerBytes(marca).startsWith("Server="); }));
    EXPECT_EQ(leerBytes(marca), (QStringLiteral("Server=") + servidor.folder() + QStringLiteral(";DB=;\n")).toUtf8());
}

TEST(frmAcceso, RegistrarOfAKeyAlreadyInTheFileChangesNothing)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    frmAcceso form;
    form.TxtDbName->setText(QStringLiteral("ventas"));
    form.TxtServidor->setText(servidor.folder());
    form.CmdRegistrar->click();
    const QByteArray antes = leerBytes(rutaBases());
    ASSERT_FALSE(antes.isEmpty());

    form.TxtDbName->setText(QStringLiteral("VENTAS "));
    form.TxtServidor->setText(servidor.folder());
    scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("La conexion que intenta registrar ya existe "));
    form.CmdRegistrar->click();
    EXPECT_EQ(scriptedOperator().asked().size(), 1);
    EXPECT_EQ(leerBytes(rutaBases()), antes);
}

TEST(frmAcceso, AKeyWithACommaOrALineBreakIsRefused)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    struct Caso
    {
        QString base;
        QString servidor;
    };
    const Caso casos[] = {
        {QStringLiteral("ven,tas"), servidor.folder()},
        {QStringLiteral("ventas"), servidor.folder() + QStringLiteral(",x")},
        {QStringLiteral("ven\ntas"), servidor.folder()},
        {QStringLiteral("ventas"), servidor.folder() + QStringLiteral("\r")},
    };
    frmAcceso form;
    for (const Caso& c : casos) {
        form.TxtDbName->setText(c.base);
        form.TxtServidor->setText(c.servidor);
        scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("no pueden contener comas ni saltos de linea"));
        form.CmdRegistrar->click();
        EXPECT_FALSE(QFile::exists(rutaBases()));
    }
    EXPECT_EQ(scriptedOperator().asked().size(), 4);
}

TEST(frmAcceso, ConectarWithoutARegistryFileRegistersTheTypedConnection)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    frmAcceso form;
    form.TxtDbName->setText(QStringLiteral("ventas"));
    form.TxtServidor->setText(servidor.folder());
    form.TxtUserId->setText(QStringLiteral("ana"));
    form.TxtUserPassword->setText(QStringLiteral("clave"));
    form.bcAceptar->click();
    EXPECT_TRUE(form.Aceptar);
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("ana"));
    EXPECT_EQ(common::valoresCorrida().ClaveActual, QStringLiteral("clave"));
    const auto registros = data::LeerConexionesRegistradas();
    ASSERT_TRUE(registros);
    ASSERT_EQ(registros->size(), 1);
    EXPECT_EQ(registros->first().Base, QStringLiteral("ventas"));
}

TEST(frmAcceso, EnterMovesThroughTheBoxesToConectar)
{
    crearBasesVacio();
    frmAcceso form;
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.TxtUserId->setFocus();
    QWidget* const orden[] = {form.TxtUserPassword, form.TxtDbName, form.TxtServidor, form.bcAceptar};
    for (QWidget* siguiente : orden) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), siguiente);
        EXPECT_FALSE(form.Aceptar);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(form.Aceptar);
}

TEST(frmAcceso, DoubleClickingARegisteredConnectionAcceptsItWithAnEmptyUser)
{
    ASSERT_TRUE(data::GrabarConexionEnBases(QStringLiteral("VENTAS / SRV01"), QStringLiteral("ventas"),
                                            QStringLiteral("ventas"), QStringLiteral("ventas"),
                                            QStringLiteral("srv01")));
    frmAcceso form;
    form.show();
    form.TxtUserId->setText(QStringLiteral("ana"));
    const QRect fila = form.lstBases->visualItemRect(form.lstBases->item(0));
    QTest::mouseClick(form.lstBases->viewport(), Qt::LeftButton, {}, fila.center());
    QTest::mouseDClick(form.lstBases->viewport(), Qt::LeftButton, {}, fila.center());
    EXPECT_TRUE(form.Aceptar);
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QString());
    EXPECT_EQ(form.TxtServidor->text(), QStringLiteral("srv01"));
}

TEST(frmAcceso, CrearAccesoDirectoWritesADesktopEntryWithTheParameterText)
{
    const QString carpeta = testing_support::testFolder();
    Entorno config("XDG_CONFIG_HOME", (carpeta + QStringLiteral("/config")).toUtf8());
    Entorno home("HOME", (carpeta + QStringLiteral("/home")).toUtf8());
    Entorno escritorio("XDG_DESKTOP_DIR", (carpeta + QStringLiteral("/Escritorio")).toUtf8());

    frmAcceso form;
    form.TxtServidor->setText(QStringLiteral("srv01\\inst"));
    form.TxtDbName->setText(QStringLiteral("ventas"));
    form.TxtUserId->setText(QStringLiteral("ana"));
    form.TxtUserPassword->setText(QStringLiteral("secreta"));
    scriptedOperator().answerMsgBox(msgbox::OK,
                                    QStringLiteral("Acceso directo creado correctamente en el escritorio."));
    form.CmdLineaComando->click();

    const QString ruta = carpeta + QStringLiteral("/Escritorio/") + QGuiApplication::applicationDisplayName() +
                         QStringLiteral(".desktop");
    const QString contenido = QString::fromUtf8(leerBytes(ruta));
    const QString programa = carpeta + u'/' + platform::Runtime::instance().programName();
    EXPECT_EQ(contenido, data::ContenidoAccesoDirecto(QGuiApplication::applicationDisplayName(), programa,
                                                      QStringLiteral(" ; @server=srv01\\inst; @dbname=ventas; "
                                                                     "@usuario=ana; @Password=; @ParametroAdicional=; "
                                                                     "orvo@ ; @UsuarioLogeado = ; @Caja=;")));
    EXPECT_TRUE(contenido.contains(QStringLiteral("@dbname=ventas; @usuario=ana; @Password=;")));
    EXPECT_FALSE(contenido.contains(QStringLiteral("secreta")));
    EXPECT_TRUE(QFileInfo(ruta).isExecutable());

    form.TxtDbName->setText(QStringLiteral("compras"));
    scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("El acceso directo ya existe."));
    form.CmdLineaComando->click();
    EXPECT_EQ(QString::fromUtf8(leerBytes(ruta)), contenido);
    EXPECT_EQ(scriptedOperator().asked().size(), 2);
}

TEST(frmAcceso, CrearAccesoDirectoRefusesAValueThatWouldSplitTheParameterText)
{
    const QString carpeta = testing_support::testFolder();
    Entorno config("XDG_CONFIG_HOME", (carpeta + QStringLiteral("/config")).toUtf8());
    Entorno escritorio("XDG_DESKTOP_DIR", (carpeta + QStringLiteral("/Escritorio")).toUtf8());
    for (const QString& servidor : {QStringLiteral("srv01; @UsuarioLogeado=admin"),
                                    QStringLiteral("srv01") + QChar(u'\0') + QStringLiteral("x")}) {
        frmAcceso form;
        form.TxtServidor->setText(servidor);
        scriptedOperator().answerMsgBox(msgbox::OK, QStringLiteral("no pueden contener \";\""));
        form.CmdLineaComando->click();
        EXPECT_FALSE(QDir(carpeta + QStringLiteral("/Escritorio")).exists());
    }
}

TEST(frmAcceso, CancelGivesAceptarFalseAndKeepsTheTypedBoxes)
{
    crearBasesVacio();
    data::DialogoAcceso dialogo;
    dialogo.TxtDbName = QStringLiteral("ventas");
    dialogo.TxtServidor = QStringLiteral("srv01");
    dialogo.Aceptar = true;
    alMostrarse([](frmAcceso& form) {
        form.TxtServidor->setText(QStringLiteral("srv02"));
        form.bcCancelar->click();
    });
    dialogo.MostrarModal();
    EXPECT_FALSE(dialogo.Aceptar);
    EXPECT_EQ(dialogo.TxtServidor, QStringLiteral("srv02"));
    EXPECT_EQ(dialogo.TxtDbName, QStringLiteral("ventas"));

    alMostrarse([](frmAcceso& form) { QTest::keyClick(&form, Qt::Key_Escape); });
    dialogo.MostrarModal();
    EXPECT_FALSE(dialogo.Aceptar);
}

TEST(frmAcceso, ConectarGivesAceptarTrueWithTheTypedValues)
{
    crearBasesVacio();
    common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    data::DialogoAcceso dialogo;
    dialogo.TxtDbName = QStringLiteral("ventas");
    dialogo.TxtServidor = QStringLiteral("srv01");
    dialogo.TxtUserId = QStringLiteral("demo");
    dialogo.TxtUserPassword = QStringLiteral("* *");
    dialogo.CboPlataformaDB = 0;
    QString recibido;
    alMostrarse([&recibido](frmAcceso& form) {
        recibido = form.TxtDbName->text() + u'|' + form.TxtServidor->text() + u'|' + form.TxtUserId->text() + u'|' +
                   form.TxtUserPassword->text() + u'|' + form.CboPlataformaDB->currentText();
        form.TxtDbName->setText(QStringLiteral("compras"));
        form.TxtServidor->setText(QStringLiteral("srv02\\inst"));
        form.TxtUserId->setText(QStringLiteral("ana"));
        form.TxtUserPassword->setText(QStringLiteral("clave"));
        form.CboPlataformaDB->setCurrentIndex(1);
        form.bcAceptar->click();
    });
    dialogo.MostrarModal();
    EXPECT_EQ(recibido, QStringLiteral("ventas|srv01|demo|* *|SQL Server"));
    EXPECT_TRUE(dialogo.Aceptar);
    EXPECT_EQ(dialogo.TxtDbName, QStringLiteral("compras"));
    EXPECT_EQ(dialogo.TxtServidor, QStringLiteral("srv02\\inst"));
    EXPECT_EQ(dialogo.CboPlataformaDB, 1);
    EXPECT_EQ(common::valoresCorrida().UsuarioActual, QStringLiteral("ana"));
    EXPECT_EQ(common::valoresCorrida().ClaveActual, QStringLiteral("clave"));
}

TEST(frmAcceso, OpenServerADODBAsksTheInstalledDialogForTheConnection)
{
    crearBasesVacio();
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    data::InstalarDialogoAcceso();
    const QString carpeta = servidor.folder();
    alMostrarse([carpeta](frmAcceso& form) {
        form.TxtDbName->setText(QStringLiteral("ventas"));
        form.TxtServidor->setText(carpeta);
        form.bcAceptar->click();
    });
    data::DB_Dll& principal = data::gDbPrincipal();
    principal.OpenServerADODB(true, 3, QString(), false, true);
    EXPECT_TRUE(principal.gOpenFlag);
    EXPECT_EQ(principal.gDBName, QStringLiteral("ventas"));
    EXPECT_EQ(principal.gServidor, carpeta);
    EXPECT_EQ(principal.gCnn->State(), platform::db::adStateOpen);
}

TEST(frmAcceso, ATypedValueCannotAddAttributesToTheTestConnection)
{
    const testing_support::EmbeddedFixture servidor = servidorDePrueba();
    frmAcceso form;
    const QString sql = QStringLiteral("SQLOLEDB");
    EXPECT_TRUE(form.ExisteBaseDeDatos(servidor.folder(), QStringLiteral("VENTAS"), QStringLiteral("a"),
                                       QStringLiteral("b"), sql));
    EXPECT_FALSE(form.ExisteBaseDeDatos(servidor.folder() + QStringLiteral(";Database =VENTAS"),
                                        QStringLiteral("NOEXISTE"), QStringLiteral("a"), QStringLiteral("b"), sql));
    EXPECT_FALSE(form.ExisteBaseDeDatos(servidor.folder(), QStringLiteral("NOEXISTE"), QStringLiteral("a"),
                                        QStringLiteral("b;Database =VENTAS"), sql));
}
