// The data-access class against the embedded demo data base.
#include "data/DB_Dll.h"

#include "common/AplicarEstilo.h"
#include "common/ValoresCorrida.h"
#include "data/DialogoConexion.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_ApiWindows.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

using data::DB_Dll;
using platform::Variant;

namespace {

QString construirDemo()
{
    demo::BuildOptions options;
    options.folder = QDir(testing_support::testFolder()).filePath(QStringLiteral("servidor"));
    const demo::BuildResult result = demo::buildDemoServer(options);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    return options.folder;
}

// The main instance opened as the start-up opens it, for the application user `usuario`.
DB_Dll& abrirComoInicio(const QString& carpeta, const QString& usuario, bool muestraError = true)
{
    common::valoresCorrida().UsuarioActual = usuario;
    DB_Dll& db = data::gDbPrincipal();
    db.gServidor = carpeta;
    db.gDBName = QStringLiteral("bkdemo"); // the file is found without regard to case
    db.gUsuario = QStringLiteral("sa");
    db.gUserPassWord = QStringLiteral("x;y");
    db.OpenServerADODB(false, 3, QString(), true, muestraError);
    return db;
}

QString leer(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(Demo, OpeningTheMainConnectionNamesTheStylingsSettingsSections)
{
    const QString prefijo =
        platform::Dll_ApiWindows::shared().NombreUsuarioWindows().toUpper() + QStringLiteral("_BKDEMO");
    QFile ini(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        QStringLiteral("[%1Font]\r\nFont=DejaVu Sans\r\n[%1FontSize]\r\nFontSize=11\r\n[%1Styles]\r\nStyles=2\r\n")
            .arg(prefijo)
            .toUtf8());
    ini.close();
    ASSERT_TRUE(abrirComoInicio(construirDemo(), QStringLiteral("demo")).gOpenFlag);

    QWidget form;
    auto* etiqueta = new QLabel(QStringLiteral("Texto"), &form);
    common::AplicarEstilo(&form, true, -1);
    EXPECT_EQ(etiqueta->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(etiqueta->font().pointSizeF(), 11.0);
    EXPECT_EQ(common::EstiloActual(), 2);
}

TEST(Demo, ValidaAdminReadsTheAdministratorFlagOfTheUsersTable)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    ASSERT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gEsAdmin);
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral(" ta_usuarios ")));

    data::LiberarDbPrincipal();
    DB_Dll& otro = abrirComoInicio(carpeta, QStringLiteral("vendedor"));
    ASSERT_TRUE(otro.gOpenFlag);
    EXPECT_FALSE(otro.gEsAdmin);
}

TEST(Demo, WithoutMessagesAnyExistingUsersTableMakesAnAdministrator)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("vendedor"), false);
    ASSERT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gEsAdmin);
}

TEST(Demo, ReleasingTheMainInstanceGivesAFreshUnconnectedOne)
{
    const QString carpeta = construirDemo();
    DB_Dll* primero = &abrirComoInicio(carpeta, QStringLiteral("demo"));
    ASSERT_TRUE(primero->gOpenFlag);
    data::LiberarDbPrincipal();
    DB_Dll& nuevo = data::gDbPrincipal();
    EXPECT_FALSE(nuevo.gOpenFlag);
    EXPECT_EQ(nuevo.gCnn->State(), platform::db::adStateClosed);
    EXPECT_TRUE(nuevo.gConnString.isEmpty());
}

TEST(Demo, OpeningAnOpenInstanceClosesItOnceAndOpensAgain)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    ASSERT_TRUE(db.gOpenFlag);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gCnn->State(), platform::db::adStateOpen);
}

TEST(Demo, ReopeningAfterAFailedStatementShowsNoStaleError)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    QString sql = QStringLiteral("UPDATE NO_EXISTE SET X = 1");
    ASSERT_FALSE(db.EjecutaConsultaSQL(sql));
    ASSERT_GT(db.gCnn->errors().Count(), 0);
    db.OpenServerADODB(false, 3, QString(), true, true); // the scripted operator fails on any question
    EXPECT_TRUE(db.gOpenFlag);
}

// The main instance opened with these values, on a server that refuses the
// open; the question it put ("No" answered, which ends the attempt).
testing_support::ScriptedOperator::Question preguntaAlFallar(const QString& servidor, const QString& base,
                                                             const QString& usuario, const QString& clave = {})
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::No, QStringLiteral(" - Desea Intentarlo Nuevamente??? "));
    DB_Dll& db = data::gDbPrincipal();
    db.gServidor = servidor;
    db.gDBName = base;
    db.gUsuario = usuario;
    db.gUserPassWord = clave;
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(op.asked().size(), 1);
    return op.asked().value(0);
}

TEST(Demo, AMissingDataBaseIsReportedAndNoEndsTheAttempt)
{
    const QString carpeta = construirDemo();
    const auto pregunta = preguntaAlFallar(carpeta, QStringLiteral("NO_EXISTE"), QStringLiteral("sa"));
    EXPECT_EQ(pregunta.title, QStringLiteral(" Error de Conexion a Base de Datos"));
    EXPECT_EQ(pregunta.style, platform::msgbox::YesNo | platform::msgbox::Critical);
    EXPECT_TRUE(pregunta.prompt.startsWith(QStringLiteral(" Estado de Sql: ")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("\rCodigo Nativo: 4060\r\r\n")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("\r\n2. Verifique la carpeta del servidor: ") + carpeta +
                                         QStringLiteral("\r\n")));
    EXPECT_FALSE(pregunta.prompt.contains(QStringLiteral("instancia")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("para el usuario sa existe\r\n\r\n\r\n")));
}

TEST(Demo, ANulInAConnectionValueIsRefusedWithAClearMessage)
{
    const auto pregunta = preguntaAlFallar(construirDemo(), QStringLiteral("BKDEMO"), QStringLiteral("BKDEMO"),
                                           QStringLiteral("BKDEMO") + QChar(u'\0') + QStringLiteral(";Database=otra"));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("Descripcion: A connection value holds a NUL character")))
        << pregunta.prompt.toStdString();
}

TEST(Demo, AMissingServerFolderIsReportedByItsName)
{
    const QString carpeta = construirDemo() + QStringLiteral("/falta");
    const QString prompt = preguntaAlFallar(carpeta, QStringLiteral("BKDEMO"), QStringLiteral("BKDEMO")).prompt;
    EXPECT_TRUE(prompt.contains(QStringLiteral("Descripcion: The server folder \"") + carpeta +
                                QStringLiteral("\" was not found.\r")))
        << prompt.toStdString();
    EXPECT_TRUE(prompt.contains(QStringLiteral("2. Verifique la carpeta del servidor: ") + carpeta));
    EXPECT_FALSE(prompt.contains(QStringLiteral("instancia")));
}

// A connection dialog that accepts with the given data base and server.
class DialogoQueAcepta : public data::DialogoConexion
{
public:
    DialogoQueAcepta(QString base, QString servidor, QStringList& vistos)
        : m_base(std::move(base)), m_servidor(std::move(servidor)), m_vistos(vistos)
    {
    }
    void MostrarModal() override
    {
        m_vistos.push_back(QStringLiteral("mostrado ") + TxtDbName);
        TxtDbName = m_base;
        TxtServidor = m_servidor;
        CboPlataformaDB = 0;
        Aceptar = true;
    }
    void Ocultar() override { m_vistos.push_back(QStringLiteral("oculto")); }

private:
    QString m_base;
    QString m_servidor;
    QStringList& m_vistos;
};

TEST(Demo, YesRunsTheConnectionDialogAgainAndRetriesTheOpen)
{
    const QString carpeta = construirDemo();
    QStringList vistos;
    data::InstalarDialogoConexion(std::make_unique<DialogoQueAcepta>(QStringLiteral("BKDEMO"), carpeta, vistos));
    common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::Yes, QStringLiteral("Codigo Nativo: 4060"));
    DB_Dll& db = data::gDbPrincipal();
    db.gServidor = carpeta;
    db.gDBName = QStringLiteral("NO_EXISTE");
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gEsAdmin);
    EXPECT_EQ(db.gDBName, QStringLiteral("BKDEMO"));
    EXPECT_EQ(vistos, (QStringList{QStringLiteral("oculto"), QStringLiteral("mostrado NO_EXISTE")}));
    EXPECT_EQ(db.gCnn->errors().Count(), 0);
}

TEST(Demo, DatosTablaFindsAnArticleWhoseStoredIdHasLeadingBlanks)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    ASSERT_TRUE(db.gOpenFlag);
    // Codes carried over from the older system are stored right-aligned: "   1001".
    EXPECT_EQ(db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("1001 "), QStringLiteral("IDARTICULO"),
                            QStringLiteral("IDARTICULO"), Variant(8), QString(), true, false),
              Variant(QStringLiteral("   1001")));
    EXPECT_TRUE(db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("1001"), QStringLiteral("IDARTICULO"),
                              QStringLiteral("IDARTICULO"), Variant(8), QString(), false, false)
                    .isEmpty());
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("1001"), QStringLiteral("IDARTICULO"),
                                 nullptr, Variant(8)));
    EXPECT_FALSE(db.ExisteEnTablaST(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("1001"),
                                    QStringLiteral("IDARTICULO"), nullptr, Variant(8)));
}

TEST(Demo, AFailedCommandReturnsFalseKeepsItsEntriesAndIsLogged)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    db.gLogErr = QDir(testing_support::testFolder()).filePath(QStringLiteral("clase.log"));
    QString sql = QStringLiteral("UPDATE NO_EXISTE SET X = 1");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    ASSERT_GT(db.gCnn->errors().Count(), 0);
    EXPECT_EQ(db.gCnn->errors().Item(0).NativeError, platform::db::native::InvalidObject);
    const QString log = leer(db.gLogErr);
    EXPECT_TRUE(log.contains(QStringLiteral(" Rutina: - EjecutaConsultaSQL Mensaje Ha ocurrido el Siguiente Error (")));
    EXPECT_TRUE(log.contains(QStringLiteral("Sentencia: UPDATE NO_EXISTE SET X = 1 Respondio : \r\n")));
}

TEST(Demo, ATruncatedTextIsAFailureWhoseEntriesAreCleared)
{
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    QString sql = QStringLiteral("UPDATE TA_USUARIOS SET UNegocio = '123456789' WHERE NOMBRE = 'demo'");
    EXPECT_FALSE(db.EjecutaConsultaSQL(sql));
    EXPECT_EQ(db.gCnn->errors().Count(), 0);
    EXPECT_TRUE(leer(QDir(platform::Runtime::instance().writableFolder()).filePath(QStringLiteral("BKERR.LOG")))
                    .contains(QStringLiteral("EjecutaConsultaSQL")));
    EXPECT_EQ(db.DatosTabla(QStringLiteral("TA_USUARIOS"), QStringLiteral("demo"), QStringLiteral("UNegocio"),
                            QStringLiteral("NOMBRE"), Variant(8), QString(), true, false),
              Variant(QStringLiteral("   1")));
}

TEST(Demo, PriceCorrectionUpdateWithAnAmountLiteral)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    const QString carpeta = construirDemo();
    DB_Dll& db = abrirComoInicio(carpeta, QStringLiteral("demo"));
    QString sql = QStringLiteral("UPDATE V_MA_ARTICULOS SET Precio1 = ") +
                  db.SQLValue(Variant(QStringLiteral("1.234,5")), QStringLiteral("@")).toText() +
                  QStringLiteral(", DESDETRIGGER = 1 WHERE IDARTICULO = '1002'");
    int64_t afectados = 0;
    ASSERT_TRUE(db.EjecutaConsultaSQL(sql, afectados));
    EXPECT_EQ(afectados, 1);
    EXPECT_EQ(db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("1002"), QStringLiteral("Precio1"),
                            QStringLiteral("IDARTICULO"), Variant(8), QString(), true, false)
                  .toText()
                  .toDouble(),
              1234.5);
}

} // namespace
