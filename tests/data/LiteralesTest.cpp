// SQL literals, field-type predicates, object-name texts and the connection
// strings the class builds.
#include "data/DB_Dll.h"

#include "common/ValoresCorrida.h"
#include "data/DialogoConexion.h"
#include "platform/db/Backend.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

using data::DB_Dll;
using platform::Currency;
using platform::Variant;

namespace {

struct CasoLiteral
{
    const char* nombre;
    Variant valor;
    const char* tipo;
    const char* literal;
};

const CasoLiteral kLiterales[] = {
    {"doble", Variant(12.5), "@", "12.5"},
    {"moneda", Variant(Currency::fromUnits(12345000)), "@", "1234.5"},
    {"entero", Variant(7), "@", "7"},
    {"texto_numerico", Variant("12.5"), "@", "12.5"},
    {"nulo_numero", Variant::null(), "@", "0"},
    {"nulo_texto", Variant::null(), "'", "NULL"},
    {"nulo_sin_tipo", Variant::null(), "", "NULL"},
    {"texto", Variant("abc"), "'", "'abc'"},
    {"apostrofo_doblado", Variant("a'b"), "'", "'a''b'"},
    {"sin_delimitador", Variant("abc"), "", "abc"},
    {"vacio_sin_delimitador", Variant(""), "", ""},
    {"otro_delimitador", Variant("x"), "#", "x"},
};

class LiteralTest : public ::testing::TestWithParam<CasoLiteral>
{
};

TEST_P(LiteralTest, SQLValueAndItsTwin)
{
    const CasoLiteral& c = GetParam();
    DB_Dll db;
    EXPECT_EQ(db.SQLValue(c.valor, QString::fromUtf8(c.tipo)), Variant(QString::fromUtf8(c.literal)));
    EXPECT_EQ(db.SQLValue2(c.valor, QString::fromUtf8(c.tipo)), Variant(QString::fromUtf8(c.literal)));
}

INSTANTIATE_TEST_SUITE_P(Valores, LiteralTest, ::testing::ValuesIn(kLiterales),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Literal, NumbersAlwaysUseAPointWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    DB_Dll db;
    EXPECT_EQ(db.SQLValue(Variant("1.234,56"), QStringLiteral("@")), Variant(QStringLiteral("1234.56")));
    EXPECT_EQ(db.SQLValue(Variant("12,5"), QStringLiteral("@")), Variant(QStringLiteral("12.5")));
    EXPECT_EQ(db.SQLValue(Variant(12.5), QStringLiteral("@")), Variant(QStringLiteral("12.5")));
    EXPECT_EQ(db.SQLValue(Variant(Currency::fromUnits(-5)), QStringLiteral("@")), Variant(QStringLiteral("-0.0005")));
}

TEST(Literal, ATextThatIsNoNumberIsAnErrorNotZero)
{
    DB_Dll db;
    try {
        db.SQLValue(Variant("doce"), QStringLiteral("@"));
        FAIL() << "no error raised";
    } catch (const platform::db::DbError& e) {
        EXPECT_EQ(e.number(), 13);
    }
    EXPECT_THROW(db.SQLValue(Variant(""), QStringLiteral("@")), platform::db::DbError);
}

TEST(Predicados, TypeCodesAsNumbersOrTexts)
{
    DB_Dll db;
    for (int codigo : {7, 64, 133, 134, 135, 137}) {
        EXPECT_TRUE(db.adodate(Variant(codigo))) << codigo;
    }
    for (int codigo : {8, 129, 130, 200, 201, 202, 203}) {
        EXPECT_TRUE(db.ADOText(Variant(codigo))) << codigo;
    }
    for (int codigo : {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131}) {
        EXPECT_TRUE(db.ADONumeric(Variant(codigo))) << codigo;
    }
    EXPECT_TRUE(db.adodate(Variant("135")));
    EXPECT_FALSE(db.adodate(Variant(200)));
    EXPECT_FALSE(db.ADONumeric(Variant(6)));
    EXPECT_TRUE(db.ADOCurrency(Variant(6)));
    EXPECT_TRUE(db.ADOBoolean(Variant("11")));
    EXPECT_FALSE(db.ADOText(Variant("texto")));
    EXPECT_EQ(db.ADOComilla(Variant(11)), QString());
    EXPECT_EQ(db.ADOComilla(Variant(6)), QString());
    EXPECT_EQ(db.ADOComilla(Variant(135)), QStringLiteral("'"));
    EXPECT_EQ(db.ADOComilla(Variant("202")), QStringLiteral("'"));
}

TEST(Nombres, ObjectNameTexts)
{
    DB_Dll db;
    QString nombre = QStringLiteral("dbo.TABLA");
    EXPECT_EQ(db.stSTF(nombre, 0), QStringLiteral("dbo"));
    EXPECT_EQ(db.stSTF(nombre, 1), QStringLiteral("TABLA"));
    EXPECT_EQ(nombre, QStringLiteral("dbo.TABLA"));
    QString dosPuntos = QStringLiteral("base.dbo.TABLA");
    EXPECT_EQ(db.stSTF(dosPuntos, 1), QStringLiteral("dbo.TABLA"));
    EXPECT_EQ(dosPuntos, QStringLiteral("dbo.TABLA"));
    QString sinPunto = QStringLiteral("TABLA");
    EXPECT_EQ(db.stSTF(sinPunto, 0), QStringLiteral("TABLA"));

    EXPECT_EQ(db.AddBrackets(QStringLiteral("mi tabla")), QStringLiteral("[mi tabla]"));
    EXPECT_EQ(db.AddBrackets(QStringLiteral("[mi tabla]")), QStringLiteral("[mi tabla]"));
    EXPECT_EQ(db.AddBrackets(QStringLiteral("TABLA")), QStringLiteral("TABLA"));

    EXPECT_EQ(db.StripConnect(QStringLiteral("TABLA ->conexion")), QStringLiteral("TABLA"));
    EXPECT_EQ(db.StripConnect(QStringLiteral("->conexion")), QString());
    EXPECT_EQ(db.StripConnect(QStringLiteral("TABLA")), QStringLiteral("TABLA"));

    EXPECT_EQ(db.StripBrackets(QStringLiteral("[mi tabla]")), QStringLiteral("mi tabla"));
    EXPECT_EQ(db.StripBrackets(QStringLiteral("[")), QString());
    EXPECT_EQ(db.StripBrackets(QStringLiteral("TABLA")), QStringLiteral("TABLA"));

    QString conDueno = QStringLiteral("dbo.TABLA");
    EXPECT_EQ(db.StripOwner(conDueno), QStringLiteral("TABLA"));
    EXPECT_EQ(conDueno, QStringLiteral("TABLA"));

    EXPECT_EQ(db.StripFileName(QStringLiteral("C:\\datos\\base.mdb")), QStringLiteral("C:\\datos"));
    EXPECT_EQ(db.StripFileName(QStringLiteral("/home/ana/base.mdb")), QStringLiteral("/home/ana"));
    EXPECT_EQ(db.StripFileName(QStringLiteral("base.mdb")), QString());
}

TEST(Nombres, ProvidersAndTheErrorLogProperty)
{
    DB_Dll db;
    EXPECT_EQ(db.pSQLOLEDB(), QStringLiteral("SQLOLEDB"));
    EXPECT_EQ(db.pJETOLEDB40(), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(db.pJETOLEDB35(), QStringLiteral("Microsoft.Jet.OLEDB.3.51"));
    db.setArchivoErrores(Variant(12));
    EXPECT_EQ(db.ArchivoErrores(), Variant(QStringLiteral("12")));
    EXPECT_EQ(db.gLogErr, QStringLiteral("12"));
}

TEST(Nombres, ValuesOfAConnectionStringCannotAddAttributes)
{
    EXPECT_EQ(data::ValorCadenaConexion(QStringLiteral("clave")), QStringLiteral("clave"));
    EXPECT_EQ(data::ValorCadenaConexion(QStringLiteral("a;Database=otra")), QStringLiteral("{a;Database=otra}"));
    EXPECT_EQ(data::ValorCadenaConexion(QStringLiteral("x}y")), QStringLiteral("{x}}y}"));
    EXPECT_EQ(data::ValorCadenaConexion(QStringLiteral("{x")), QStringLiteral("{{x}"));
    EXPECT_EQ(data::ValorCadenaConexion(QStringLiteral(" x")), QStringLiteral("{ x}"));
}

// The server here cannot be reached, so only the built text is looked at.
struct CasoCadena
{
    const char* nombre;
    const char* servidor;
    const char* base;
    const char* clave;
    const char* extendido;
    const char* cadena;
};

const CasoCadena kCadenas[] = {
    {"sql_server", "/nada/srv", "BKDEMO", "p", "",
     "PROVIDER=SQLOLEDB;Server=/nada/srv;Database =BKDEMO;UId=u;Pwd=p;Connect Timeout=5;"},
    {"extendido", "/nada/srv", "BKDEMO", "p", "App=Corrige;",
     "PROVIDER=SQLOLEDB;Server=/nada/srv;Database =BKDEMO;UId=u;Pwd=p;Connect Timeout=5;App=Corrige;"},
    {"tiempo_propio", "/nada/srv", "XConnect timeout=30", "p", "",
     "PROVIDER=SQLOLEDB;Server=/nada/srv;Database =XConnect timeout=30;UId=u;Pwd=p;"},
    {"clave_con_punto_y_coma", "/nada/srv", "BKDEMO", "a;Database=otra", "",
     "PROVIDER=SQLOLEDB;Server=/nada/srv;Database =BKDEMO;UId=u;Pwd={a;Database=otra};Connect Timeout=5;"},
    {"oracle", "ora#", "ORCL", "p", "App=x;", "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;"},
};

class CadenaTest : public ::testing::TestWithParam<CasoCadena>
{
};

TEST_P(CadenaTest, BuiltFromTheClassValues)
{
    const CasoCadena& c = GetParam();
    DB_Dll db;
    db.gServidor = QString::fromUtf8(c.servidor);
    db.gDBName = QString::fromUtf8(c.base);
    db.gUsuario = QStringLiteral("u");
    db.gUserPassWord = QString::fromUtf8(c.clave);
    db.gExtended = QString::fromUtf8(c.extendido);
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_EQ(db.gConnString, QString::fromUtf8(c.cadena));
    EXPECT_FALSE(db.gOpenFlag);
    const auto partes = platform::db::ConnectionString::parse(db.gConnString);
    EXPECT_EQ(partes.first({"pwd", "password"}), QString::fromUtf8(c.clave));
}

INSTANTIATE_TEST_SUITE_P(Valores, CadenaTest, ::testing::ValuesIn(kCadenas),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Apertura, AGivenStringIsOpenedAsItIsAndTheValuesStayUntouched)
{
    DB_Dll db;
    db.gServidor = QStringLiteral("s");
    db.gDBName = QStringLiteral("d");
    db.gUsuario = QStringLiteral("u");
    db.gUserPassWord = QStringLiteral("p");
    const QString dada = QStringLiteral("PROVIDER=SQLOLEDB;Server=/nada/otro;Database=x;");
    db.OpenServerADODB(false, 3, dada, true, false);
    EXPECT_EQ(db.gConnString, dada);
    EXPECT_EQ(db.gProveedor, QStringLiteral("SQLOLEDB"));
    EXPECT_EQ(db.gServidor + db.gDBName + db.gUsuario + db.gUserPassWord, QStringLiteral("sdup"));
}

// A connection dialog that answers from what the test set.
class DialogoGuionado : public data::DialogoConexion
{
public:
    struct Respuesta
    {
        bool aceptar = true;
        QString base, servidor;
        int plataforma = 0;
    };
    explicit DialogoGuionado(Respuesta r, QStringList* vistos) : m_r(std::move(r)), m_vistos(vistos) {}
    void MostrarModal() override
    {
        m_vistos->push_back(TxtDbName + u'|' + TxtServidor + u'|' + TxtUserId + u'|' + TxtUserPassword + u'|' +
                            QString::number(CboPlataformaDB));
        Aceptar = m_r.aceptar;
        TxtDbName = m_r.base;
        TxtServidor = m_r.servidor;
        CboPlataformaDB = m_r.plataforma;
    }
    void Ocultar() override { m_vistos->push_back(QStringLiteral("oculto")); }

private:
    Respuesta m_r;
    QStringList* m_vistos;
};

TEST(Apertura, TheDialogReplacesAGivenStringAndItsDataBaseNameIsTheLogin)
{
    QStringList vistos;
    common::valoresCorrida().UsuarioActual = QStringLiteral("ana");
    common::valoresCorrida().ClaveActual = QStringLiteral("* *");
    data::InstalarDialogoConexion(
        std::make_unique<DialogoGuionado>(DialogoGuionado::Respuesta{true, "BKDEMO", "/nada/srv", 0}, &vistos));
    DB_Dll db;
    db.gDBName = QStringLiteral("ANTES");
    db.OpenServerADODB(true, 3, QStringLiteral("PROVIDER=SQLOLEDB;Server=/nada/dada;"), true, false);
    EXPECT_EQ(vistos, QStringList{QStringLiteral("ANTES||ana|* *|0")});
    EXPECT_EQ(
        db.gConnString,
        QStringLiteral("PROVIDER=SQLOLEDB;Server=/nada/srv;Database =BKDEMO;UId=BKDEMO;Pwd=BKDEMO;Connect Timeout=5;"));
}

TEST(Apertura, ChoosingOracleMarksTheServer)
{
    QStringList vistos;
    data::InstalarDialogoConexion(
        std::make_unique<DialogoGuionado>(DialogoGuionado::Respuesta{true, "ORCL", "oraserver", 1}, &vistos));
    DB_Dll db;
    db.OpenServerADODB(true, 3, QString(), true, false);
    EXPECT_EQ(db.gServidor, QStringLiteral("oraserver#"));
    EXPECT_EQ(db.gProveedor, QStringLiteral("OraOLEDB.Oracle.1"));
    EXPECT_EQ(db.gConnString,
              QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ORCL;Password=ORCL;"));
}

TEST(Apertura, CancellingTheDialogOpensNothing)
{
    QStringList vistos;
    data::InstalarDialogoConexion(
        std::make_unique<DialogoGuionado>(DialogoGuionado::Respuesta{false, {}, {}, 0}, &vistos));
    DB_Dll db;
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(db.gCnn->State(), platform::db::adStateClosed);
    EXPECT_EQ(vistos.size(), 1);
}

TEST(Apertura, WithoutADialogInstalledTheDialogCountsAsCancelled)
{
    DB_Dll db;
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
}

TEST(Apertura, ValidaAdminFalseAlwaysMakesAnAdministratorAfterOpening)
{
    DB_Dll db;
    db.OpenServerADODB(false, 3, QStringLiteral("PROVIDER=SQLOLEDB;Server=/nada/x;"), false, false);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_FALSE(db.gEsAdmin); // the open failed before
}

TEST(Apertura, JetFailsClearlyThroughTheOwnErrorPath)
{
    // A file that is not a Jet data base: neither chosen again nor asked a password for.
    const QString archivo = QDir(testing_support::testFolder()).filePath(QStringLiteral("base.mdb"));
    QFile texto(archivo);
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.write("no es una base de datos\n");
    texto.close();
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("Unrecognized database format"));
    DB_Dll db;
    db.gProveedor = db.pJETOLEDB40();
    db.gDBName = archivo;
    db.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt, QStringLiteral("-2147467259  Unrecognized database format '%1'.").arg(archivo));
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::Critical);
    EXPECT_TRUE(db.gConnString.isEmpty());
}

TEST(Apertura, JetWithoutAFileAsksForOneAndACancelEndsTheCall)
{
    auto& op = testing_support::scriptedOperator();
    op.answerOpenFile(std::nullopt);
    DB_Dll db;
    db.gProveedor = db.pJETOLEDB40();
    db.OpenLocalADODB();
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Buscar Base de Datos"));
    EXPECT_TRUE(db.gDBName.isEmpty());
}

} // namespace
