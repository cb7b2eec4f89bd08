// Per-user table synonyms and the Oracle dialect, on the class's own examples.
#include "BaseDePrueba.h"

#include "common/ValoresCorrida.h"

#include <gtest/gtest.h>

using data::DB_Dll;

namespace {

struct Caso
{
    const char* nombre;
    const char* entrada;
    const char* salida;
};

const Caso kSinonimos[] = {
    {"tabla_y_where", "SELECT * FROM MA_CUENTAS WHERE X = 1", "SELECT * FROM SS_MA_CUENTAS WHERE X = 1"},
    {"al_final", "SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS"},
    {"seguida_de_coma", "SELECT * FROM MA_CUENTAS, T", "SELECT * FROM MA_CUENTAS, T"},
    {"seguida_de_parentesis", "SELECT * FROM (SELECT * FROM MA_CUENTAS) X",
     "SELECT * FROM (SELECT * FROM MA_CUENTAS) X"},
    {"seguida_de_salto", "SELECT * FROM MA_CUENTAS\r\nWHERE 1 = 1", "SELECT * FROM MA_CUENTAS\r\nWHERE 1 = 1"},
    {"minusculas", "select * from ma_cuentas where x = 1", "select * from SS_MA_CUENTAS where x = 1"},
    {"contextos_de_cuentas", "SELECT MA_CUENTAS.A,(MA_CUENTAS.B),MA_CUENTAS.C,{MA_CUENTAS.D} FROM (MA_CUENTAS )",
     "SELECT SS_MA_CUENTAS.A,(SS_MA_CUENTAS.B),SS_MA_CUENTAS.C,{SS_MA_CUENTAS.D} FROM (SS_MA_CUENTAS )"},
    {"llave_solo_en_cuentas", "SELECT {V_TA_CAJAS.A} FROM V_TA_CAJAS WHERE 1 = 1",
     "SELECT {V_TA_CAJAS.A} FROM SS_V_TA_CAJAS WHERE 1 = 1"},
    {"otras_tablas", "SELECT * FROM V_TA_DEPOSITO D, V_TA_FAMILIAS F, V_TA_CAJAS C WHERE (V_TA_DEPOSITO.A = 1)",
     "SELECT * FROM SS_V_TA_DEPOSITO D, SS_V_TA_FAMILIAS F, SS_V_TA_CAJAS C WHERE (SS_V_TA_DEPOSITO.A = 1)"},
    {"diario_y_centro_de_costo", "SELECT * FROM AC_CUENTASDIARIO A JOIN AC_CUENTASDIARIO_CCOSTO B ON 1 = 1",
     "SELECT * FROM SS_AC_CUENTASDIARIO A JOIN SS_AC_CUENTAS_DIARIO_CCOSTO B ON 1 = 1"},
    {"asientos_sin_confidencialidad", "SELECT * FROM MV_ASIENTOS A JOIN MA_CUENTAS C ON A.X = C.X",
     "SELECT * FROM MV_ASIENTOS A JOIN MA_CUENTAS C ON A.X = C.X"},
    {"marcador_restaura_cuentas", "SELECT * FROM MA_CUENTAS A, @Admin_MA_CUENTAS B WHERE MA_CUENTAS.X = 1",
     "SELECT * FROM MA_CUENTAS A, MA_CUENTAS B WHERE MA_CUENTAS.X = 1"},
    {"marcador_de_otra_tabla", "SELECT * FROM @Admin_V_TA_CAJAS WHERE 1 = 1", "SELECT * FROM V_TA_CAJAS WHERE 1 = 1"},
};

class SinonimoTest : public ::testing::TestWithParam<Caso>
{
};

TEST_P(SinonimoTest, ForAUserWhoIsNotAnAdministrator)
{
    DB_Dll db;
    db.gEsAdmin = false;
    EXPECT_EQ(db.SS_TSinonimos(QString::fromUtf8(GetParam().entrada)), QString::fromUtf8(GetParam().salida));
}

INSTANTIATE_TEST_SUITE_P(Textos, SinonimoTest, ::testing::ValuesIn(kSinonimos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Sinonimos, AdministratorsOnlyLoseTheMarkers)
{
    DB_Dll db;
    db.gEsAdmin = true;
    EXPECT_EQ(db.SS_TSinonimos(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE X = 1")),
              QStringLiteral("SELECT * FROM MA_CUENTAS WHERE X = 1"));
    EXPECT_EQ(db.SS_TSinonimos(QStringLiteral("SELECT * FROM @admin_MA_CUENTAS ")),
              QStringLiteral("SELECT * FROM MA_CUENTAS "));
}

TEST(Sinonimos, WithConfidentialityBothTablesOfAJoinBecomeViews)
{
    common::valoresCorrida().ConfidencialidadActiva = true;
    DB_Dll db;
    EXPECT_EQ(db.SS_TSinonimos(QStringLiteral("SELECT * FROM MV_ASIENTOS A JOIN MA_CUENTAS C ON MV_ASIENTOS.X = C.X")),
              QStringLiteral("SELECT * FROM SS_MV_ASIENTOS A JOIN SS_MA_CUENTAS C ON SS_MV_ASIENTOS.X = C.X"));
}

const Caso kOracle[] = {
    {"top_con_orden", "SELECT TOP 10 A FROM T WHERE X = 1 ORDER BY A",
     "SELECT  A FROM T WHERE X = 1    AND ROWNUM <= 10  ORDER BY A"},
    {"top_simple", "SELECT TOP 5 * FROM T", "SELECT  * FROM T  WHERE ROWNUM <= 5  "},
    {"top_con_grupo", "SELECT TOP 3 A, COUNT(*) FROM T GROUP BY A",
     "SELECT  A, COUNT(*) FROM T    WHERE ROWNUM <= 3  GROUP BY A "},
    {"fecha", "SELECT * FROM T WHERE F = '31/12/2024'", "SELECT * FROM T WHERE F = TO_DATE('31/12/2024','DD/MM/YYYY')"},
    {"fecha_repetida", "SELECT * FROM T WHERE A = '01/02/2024' OR B = '01/02/2024'",
     "SELECT * FROM T WHERE A = TO_DATE('01/02/2024','DD/MM/YYYY') OR B = TO_DATE('01/02/2024','DD/MM/YYYY')"},
    {"texto_que_no_es_fecha", "SELECT * FROM T WHERE N = 'ABC'", "SELECT * FROM T WHERE N = 'ABC'"},
    {"isnull", "SELECT ISNULL(x,0), isnull(y,1) FROM T", "SELECT NVL(x,0), NVL(y,1) FROM T"},
    {"corchetes", "SELECT [Nombre] FROM T", "SELECT \"Nombre\" FROM T"},
    {"len", "SELECT LEN (A), LEN(B) FROM T", "SELECT LENGTH(A), LENGTH(B) FROM T"},
    {"len_solo", "len", "LENGTH"},
    {"una_palabra", "SUBSTRING(", "SUBSTRING("},
    {"charindex", "SELECT CHARINDEX('a', B) FROM T", "SELECT InStr('a', B) FROM T"},
    {"convert_103", "SELECT CONVERT(NVARCHAR,F,103), CONVERT(INT,X) FROM T",
     "SELECT TO_CHAR(F,'DD/MM/YYYY'), TO_NUMBER(X) FROM T"},
    {"vacios", "SELECT '' AS E FROM T WHERE A = '' AND B=''", "SELECT '' AS E FROM T WHERE A  IS NULL  AND B IS NULL "},
    {"substring", "SELECT SUBSTRING(A,1,2) FROM T", "SELECT SUBSTR(A,1,2) FROM T"},
};

class OracleTest : public ::testing::TestWithParam<Caso>
{
};

TEST_P(OracleTest, RewritesOneStatement)
{
    DB_Dll db;
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;");
    EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(GetParam().entrada)), QString::fromUtf8(GetParam().salida));
}

INSTANTIATE_TEST_SUITE_P(Textos, OracleTest, ::testing::ValuesIn(kOracle),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(Oracle, OnlyTheProviderMakesAnOracleConnection)
{
    DB_Dll db;
    const QString sql = QStringLiteral("SELECT TOP 5 ISNULL(A,0) FROM T");
    db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=srv;Database =ORACLE_VENTAS;UId=u;Pwd=p;");
    EXPECT_EQ(db.ORACLE_Dicc(sql), sql);
    db.gConnString.clear();
    EXPECT_EQ(db.ORACLE_Dicc(sql), sql);
}

TEST(Oracle, MalformedTextsRaise)
{
    DB_Dll db;
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;");
    EXPECT_THROW(db.ORACLE_Dicc(QStringLiteral("SELECT TOP 5")), platform::db::DbError);
    EXPECT_THROW(db.ORACLE_Dicc(QStringLiteral("SELECT * FROM T WHERE A = 'x")), platform::db::DbError);
}

// The batch runner works on a real connection whose statements are recorded.
class DB_DllExpuesto : public DB_Dll
{
public:
    using DB_Dll::DescartaSentenciaOracle;
    using DB_Dll::EjecutaScriptOracle;
};

TEST(Oracle, ABatchRunsStatementByStatementInItsTransaction)
{
    data_tests::BaseDePrueba base;
    DB_DllExpuesto db;
    db.OpenServerADODB(false, 3, base.cadena(), false, false);
    ASSERT_TRUE(db.gOpenFlag);
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;");
    base.tomarLlamadas();

    QString lote = QStringLiteral("BEGIN TRANSACTION\rINSERT INTO VACIA VALUES (1)\rCOMMIT TRANSACTION");
    int64_t afectados = 0;
    db.EjecutaScriptOracle(lote, afectados);
    EXPECT_EQ(base.tomarLlamadas(),
              (QStringList{QStringLiteral("begin"), QStringLiteral("INSERT INTO VACIA VALUES (1)"),
                           QStringLiteral("commit")}));
    EXPECT_EQ(afectados, 1);
    EXPECT_TRUE(lote.isEmpty());
}

TEST(Oracle, AWriteWhoseRowsAreNotCountedLeavesTheTotalUnknown)
{
    data_tests::BaseDePrueba base;
    DB_DllExpuesto db;
    db.OpenServerADODB(false, 3, base.cadena(), false, false);
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;");
    db.gCnn->Execute(QStringLiteral("SET NOCOUNT ON"));

    QString lote = QStringLiteral("INSERT INTO VACIA VALUES (1)\rINSERT INTO VACIA VALUES (2)");
    int64_t afectados = 0;
    db.EjecutaScriptOracle(lote, afectados);
    EXPECT_EQ(afectados, -1);
}

TEST(Oracle, ServerOnlyStatementsAndSeparatorsAreDropped)
{
    data_tests::BaseDePrueba base;
    DB_DllExpuesto db;
    db.OpenServerADODB(false, 3, base.cadena(), false, false);
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;");
    base.tomarLlamadas();

    QString lote = QStringLiteral("SET NOCOUNT ON\r\nGO\r\nIF NOT EXISTS (SELECT * FROM VACIA) INSERT INTO VACIA "
                                  "VALUES (2)\r\nGO\r\nUPDATE VACIA SET N = 3 WHERE N = 2");
    int64_t afectados = 0;
    db.EjecutaScriptOracle(lote, afectados);
    EXPECT_EQ(base.tomarLlamadas(), (QStringList{QStringLiteral("INSERT INTO VACIA VALUES (2)"),
                                                 QStringLiteral("UPDATE VACIA SET N = 3 WHERE N = 2")}));
    EXPECT_EQ(afectados, 2);

    QString sinClave = QStringLiteral("SELECT 1\r\nGO\r\n");
    db.EjecutaScriptOracle(sinClave, afectados);
    EXPECT_EQ(sinClave, QStringLiteral("SELECT 1 "));
    EXPECT_TRUE(base.tomarLlamadas().isEmpty());

    QString descartada = QStringLiteral("set nocount off");
    EXPECT_EQ(db.DescartaSentenciaOracle(descartada), QString());
    EXPECT_TRUE(descartada.isEmpty());
}

} // namespace
