// The exact statement texts of the look-ups, maxima and schema changes, as
// they reach the data base, and what they find on a small embedded data base.
#include "BaseDePrueba.h"

#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using data::DB_Dll;
using data_tests::BaseDePrueba;
using platform::Variant;

namespace {

struct CasoExiste
{
    const char* nombre;
    const char* valor;
    const char* campo;
    Variant tipo;
    const char* condicion;
    const char* sentencia;   // ExisteEnTabla
    const char* sentenciaST; // ExisteEnTablaST
};

const CasoExiste kExiste[] = {
    {"texto", " 0001 ", "CODIGO", Variant(8), "",
     "SELECT TOP 1  * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='0001'",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE CODIGO =' 0001 '"},
    {"apostrofo", "O'Brien", "CODIGO", Variant(8), "",
     "SELECT TOP 1  * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='O''Brien'",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE CODIGO ='O''Brien'"},
    {"fecha", " '01/02/2024' ", "ALTA", Variant(7), "",
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE ALTA = '01/02/2024' ",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE ALTA = '01/02/2024' "},
    {"entero", " 12 ", "N", Variant(3), "", "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE N = 12",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE N = 12"},
    {"doble", "12.0", "N", Variant(5), "", "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE N = 12",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE N = 12"},
    {"numero_no_inyecta", "12; DROP TABLE ARTICULOS", "N", Variant(4), "",
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE N = 12", "SELECT * FROM ARTICULOS with(nolock)   WHERE N = 12"},
    {"otro_tipo", " 12 ", "N", Variant(), "", "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE N =  12 ",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE N =  12 "},
    {"condicion_con_where_pegado", "x", "N", Variant(8), "WHERE N = 12",
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE WHERE N = 12",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE WHERE N = 12"},
    {"condicion", "x", "N", Variant(8), "N = 12", "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE N = 12",
     "SELECT * FROM ARTICULOS with(nolock)   WHERE N = 12"},
    {"condicion_con_where_interior", "x", "N", Variant(8), "N IN (SELECT N FROM ARTICULOS WHERE N = 12)",
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  N IN (SELECT N FROM ARTICULOS WHERE N = 12)",
     "SELECT * FROM ARTICULOS with(nolock)   N IN (SELECT N FROM ARTICULOS WHERE N = 12)"},
};

class ExisteTest : public ::testing::TestWithParam<CasoExiste>
{
};

TEST_P(ExisteTest, SendsTheExactStatement)
{
    const CasoExiste& c = GetParam();
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.SinMensajes = true; // a statement that a condition makes invalid fails silently here
    db.ExisteEnTabla(QStringLiteral("ARTICULOS"), QString::fromUtf8(c.valor), QString::fromUtf8(c.campo), nullptr,
                     c.tipo, QString::fromUtf8(c.condicion));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{QString::fromUtf8(c.sentencia)});
    db.ExisteEnTablaST(QStringLiteral("ARTICULOS"), QString::fromUtf8(c.valor), QString::fromUtf8(c.campo), nullptr,
                       c.tipo, QString::fromUtf8(c.condicion));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{QString::fromUtf8(c.sentenciaST)});
}

INSTANTIATE_TEST_SUITE_P(Tipos, ExisteTest, ::testing::ValuesIn(kExiste),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Existe, TrimmedLookUpFindsAKeyStoredWithBlanksAndTheUntrimmedOneDoesNot)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("ARTICULOS"), QStringLiteral("0002"), QStringLiteral("CODIGO"), nullptr,
                                 Variant(8)));
    EXPECT_FALSE(db.ExisteEnTablaST(QStringLiteral("ARTICULOS"), QStringLiteral("0002"), QStringLiteral("CODIGO"),
                                    nullptr, Variant(8)));
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("ARTICULOS"), QStringLiteral("O'Brien"), QStringLiteral("CODIGO"),
                                 nullptr, Variant(8)));
    EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("ARTICULOS"), QStringLiteral("9999"), QStringLiteral("CODIGO"),
                                  nullptr, Variant(8)));
}

TEST(Existe, AGivenRecordSetStaysOpenOnTheRowFound)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    auto rs = std::make_shared<platform::db::Recordset>();
    ASSERT_TRUE(db.ExisteEnTabla(QStringLiteral("ARTICULOS"), QStringLiteral("12"), QStringLiteral("N"), rs, Variant(3),
                                 QString(), true));
    ASSERT_EQ(rs->State(), platform::db::adStateOpen);
    EXPECT_EQ(rs->value(QStringLiteral("NOMBRE")).toText(), QStringLiteral("Yerba"));
}

TEST(Existe, AFailingLookUpIsReportedWithAbortRetryIgnore)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Abort);
    EXPECT_FALSE(
        db.ExisteEnTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("1"), QStringLiteral("N"), nullptr, Variant(3)));
    const auto& preguntas = testing_support::scriptedOperator().asked();
    ASSERT_EQ(preguntas.size(), 1);
    EXPECT_EQ(preguntas[0].title, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(preguntas[0].style, platform::msgbox::AbortRetryIgnore | platform::msgbox::Critical);
}

struct CasoDatos
{
    const char* nombre;
    const char* valor;
    Variant tipo;
    const char* condicion;
    bool usaTrim;
    const char* sentencia;
};

const CasoDatos kDatos[] = {
    {"texto_recortado", " 0001 ", Variant(8), "", true,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='0001' "},
    {"apostrofo_como_tipo", " 0001 ", Variant("'"), "", true,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='0001' "},
    {"con_condicion", " 0001 ", Variant(8), "N > 0", true,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='0001'  AND N > 0"},
    {"condicion_en_blanco", "0001", Variant(8), "  ", true,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='0001'   "},
    {"texto_sin_recortar", " 0001 ", Variant(8), "", false,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE CODIGO =' 0001 ' "},
    {"apostrofo_doblado", "O'Brien", Variant(8), "", false,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE CODIGO ='O''Brien' "},
    {"fecha", " 01/02/2024 ", Variant(7), "", false,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE CODIGO = #01/02/2024# "},
    {"numero", " 12 ", Variant(3), "N > 0", false,
     "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE CODIGO = 12 AND N > 0"},
    {"otro", "'0001'", Variant(), "", false, "SELECT TOP 1 * FROM ARTICULOS with(nolock)  WHERE CODIGO = '0001'"},
};

class DatosTest : public ::testing::TestWithParam<CasoDatos>
{
};

TEST_P(DatosTest, SendsTheExactStatement)
{
    const CasoDatos& c = GetParam();
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.SinMensajes = true;
    db.DatosTabla(QStringLiteral("ARTICULOS"), QString::fromUtf8(c.valor), QStringLiteral("NOMBRE"),
                  QStringLiteral("CODIGO"), c.tipo, QString::fromUtf8(c.condicion), c.usaTrim, false);
    EXPECT_EQ(base.tomarLlamadas(), QStringList{QString::fromUtf8(c.sentencia)});
}

INSTANTIATE_TEST_SUITE_P(Tipos, DatosTest, ::testing::ValuesIn(kDatos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Datos, GivesTheFieldTextAnEmptyTextForNullAndEmptyWhenNoRowMatches)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    const auto datos = [&](const char* valor) {
        return db.DatosTabla(QStringLiteral("ARTICULOS"), QString::fromUtf8(valor), QStringLiteral("NOMBRE"),
                             QStringLiteral("CODIGO"), Variant(8), QString(), true, false);
    };
    EXPECT_EQ(datos("0002"), Variant(QStringLiteral("Azucar")));
    EXPECT_EQ(datos("O'Brien"), Variant(QString()));
    EXPECT_TRUE(datos("nada").isEmpty());
}

TEST(Maximos, StatementsAndValues)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("ARTICULOS"), QStringLiteral("N")), Variant(12.0));
    QString condicion = QStringLiteral(" N < 10 ");
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("ARTICULOS"), QStringLiteral("N"), Variant(3), condicion), Variant(7.0));
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("ARTICULOS"), QStringLiteral("N")), Variant(5.0));
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("ARTICULOS"), QStringLiteral("N"), {}, QStringLiteral(" N > 5 ")),
              Variant(7.0));
    EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("ARTICULOS"), QStringLiteral("N"), {}, QStringLiteral(" N < 7")),
              Variant(5.0));
    EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("ARTICULOS"), QStringLiteral("N"), {}, QStringLiteral("  ")),
              Variant(12.0));
    EXPECT_EQ(base.tomarLlamadas(), (QStringList{
                                        "SELECT MAX(N) AS MAYOR FROM ARTICULOS",
                                        "SELECT MAX(N) AS MAYOR FROM ARTICULOS WHERE N < 10",
                                        "SELECT MIN(N) AS MENOR FROM ARTICULOS  with(nolock) ",
                                        "SELECT MIN(N) AS MENOR FROM ARTICULOS  with(nolock)  WHERE N > 5",
                                        "SELECT MAX(N) AS MAYOR FROM ARTICULOS WHERE  N < 7",
                                        "SELECT MAX(N) AS MAYOR FROM ARTICULOS",
                                    }));
}

TEST(Maximos, DatesComeBackRawAndNullMinimumIsZero)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    const Variant fecha = db.BuscaMaximo(QStringLiteral("ARTICULOS"), QStringLiteral("ALTA"), Variant(7));
    EXPECT_TRUE(fecha.toDate().has_value());
    // An aggregate over no rows still gives one row, holding Null.
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("VACIA"), QStringLiteral("N")), Variant(0.0));
}

TEST(Maximos, ArticleCodesBeginningWithZeroAreLeftOut)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QString condicion;
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("IDARTICULO"), Variant(8), condicion),
              Variant(0.0));
    EXPECT_EQ(condicion, QStringLiteral(" substring(ltrim(idarticulo),1,1)<>'0'"));
    EXPECT_EQ(base.tomarLlamadas(), (QStringList{"SELECT MAX(IDARTICULO) AS MAYOR FROM V_MA_ARTICULOS",
                                                 "SELECT MAX(IDARTICULO) AS MAYOR FROM V_MA_ARTICULOS WHERE "
                                                 "substring(ltrim(idarticulo),1,1)<>'0'"}));
}

TEST(Maximos, FailuresReachTheCaller)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    EXPECT_THROW(db.BuscaMaximo(QStringLiteral("NO_EXISTE"), QStringLiteral("N")), platform::db::DbError);
}

TEST(Esquema, AddFieldStatementsAndTheNewColumn)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.AddField(QStringLiteral("ARTICULOS"), QStringLiteral("STOCK"), QStringLiteral("int"), false,
                QStringLiteral("0"));
    db.AddField(QStringLiteral("ARTICULOS"), QStringLiteral("OBS"), QStringLiteral("varchar(10)"), true);
    EXPECT_EQ(
        base.tomarLlamadas(),
        (QStringList{"ALTER TABLE dbo.ARTICULOS ADD STOCK int Not Null  CONSTRAINT DF_ARTICULOS_STOCK DEFAULT (0)",
                     "ALTER TABLE dbo.ARTICULOS ADD OBS varchar(10) Null "}));
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("ARTICULOS"), QStringLiteral("STOCK")), Variant(0.0));
}

TEST(Esquema, TablesAreFoundWithoutRegardToCaseAndColumnsAreAssumedOnSqlServer)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("  articulos ")));
    EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("ARTICULO")));
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("ARTICULOS"), QStringLiteral("NO_EXISTE")));
    EXPECT_TRUE(
        db.VerCampoDB(QStringLiteral("ARTICULOS"), QStringLiteral("NO_EXISTE"), true, QStringLiteral("int"), true));
    EXPECT_TRUE(base.tomarLlamadas().isEmpty()); // nothing was added
}

TEST(Comandos, MarkerIsRemovedAndTheStatementWrittenBack)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QString sql = QStringLiteral("UPDATE @Admin_ARTICULOS SET N = 1 WHERE CODIGO = '0001'");
    int64_t afectados = -1;
    EXPECT_TRUE(db.EjecutaConsultaSQL(sql, afectados));
    EXPECT_EQ(sql, QStringLiteral("UPDATE ARTICULOS SET N = 1 WHERE CODIGO = '0001'"));
    EXPECT_EQ(afectados, 1);
    EXPECT_EQ(base.tomarLlamadas(), QStringList{sql});
}

struct CasoComando
{
    const char* nombre;
    const char* entrada;
    const char* escrita;
};

// Synonyms only for scripts that hold CREATE and DROP and neither DELETE nor the marker.
const CasoComando kComandos[] = {
    {"update_con_marcador", "UPDATE @Admin_MA_CUENTAS SET X = 1", "UPDATE MA_CUENTAS SET X = 1"},
    {"update_sin_sinonimos", "UPDATE MA_CUENTAS SET X = 1", "UPDATE MA_CUENTAS SET X = 1"},
    {"vista", "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1 = 1",
     "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM SS_MA_CUENTAS WHERE 1 = 1"},
    {"vista_con_delete", "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1 = 1 delete",
     "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1 = 1 delete"},
    {"vista_con_delete_y_marcador", "drop view V1 create view V1 AS SELECT * FROM @Admin_MA_CUENTAS delete",
     "drop view V1 create view V1 AS SELECT * FROM MA_CUENTAS delete"},
    {"vista_con_marcador", "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM @admin_V_TA_CAJAS X",
     "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM V_TA_CAJAS X"},
};

class ComandoTest : public ::testing::TestWithParam<CasoComando>
{
};

TEST_P(ComandoTest, MarkerAndSynonymsGate)
{
    const CasoComando& c = GetParam();
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.gEsAdmin = false;
    QString sql = QString::fromUtf8(c.entrada);
    db.EjecutaConsultaSQL(sql); // the tables do not exist here: only the text is checked
    EXPECT_EQ(sql, QString::fromUtf8(c.escrita));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{QString::fromUtf8(c.escrita)});
}

INSTANTIATE_TEST_SUITE_P(Textos, ComandoTest, ::testing::ValuesIn(kComandos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Comandos, OpenedQueriesGetTheSynonymsAndAreWrittenBack)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.gEsAdmin = false;
    db.SinMensajes = true;
    QString sql = QStringLiteral("SELECT * FROM V_TA_CAJAS WHERE 1 = 1");
    data::RecordsetPtr rs;
    db.AbrirRecordset(sql, rs);
    EXPECT_EQ(sql, QStringLiteral("SELECT * FROM SS_V_TA_CAJAS WHERE 1 = 1"));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{sql});
}

} // namespace

namespace {

TEST(Comandos, TheVariantCommandRunsAndReadsTheUnopenedInstanceErrors)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QString alta = QStringLiteral("INSERT INTO VACIA VALUES (4)");
    int64_t afectados = 0;
    EXPECT_TRUE(db.EjecutaConsultaRSQL(alta, afectados));
    EXPECT_EQ(afectados, 1);
    // The instance whose errors it reads never opens, so a failure is silent.
    QString mala = QStringLiteral("UPDATE NO_EXISTE SET X = 1");
    EXPECT_FALSE(db.EjecutaConsultaRSQL(mala));
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
}

} // namespace
