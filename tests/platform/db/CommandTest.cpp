// Commands: statements and stored procedures of the embedded engine, with
// their parameters bound by position.
#include "DbTestSupport.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform::db;
using dbtest::raised;
using platform::Variant;
using testing_support::EmbeddedFixture;

namespace {

const QString kScript = QStringLiteral(R"(
CREATE TABLE TA_CONFIGURACION (CLAVE varchar(50) COLLATE SQLSERVER NOT NULL, VALOR text COLLATE SQLSERVER,
  VALORAUX text COLLATE SQLSERVER);
INSERT INTO TA_CONFIGURACION VALUES ('Clave1', 'uno', 'aux uno');
INSERT INTO TA_CONFIGURACION VALUES ('O''Brien', 'irlandes', NULL);
INSERT INTO TA_CONFIGURACION VALUES ('Otra', 'dos', '');
CREATE TABLE TSQL_PROCEDURES (NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, DEFINITION text NOT NULL);
INSERT INTO TSQL_PROCEDURES VALUES ('sp1_getCfg', 'CREATE PROCEDURE [dbo].[sp1_getCfg]
  @Campo varchar(50)
AS
SELECT VALOR AS Valor, VALORAUX AS ValorAux FROM TA_CONFIGURACION WHERE CLAVE = @campo');
INSERT INTO TSQL_PROCEDURES VALUES ('sp_defecto', 'create proc sp_defecto (@a int = 5, @b char(4) = ''x'', @c varchar(3) = NULL)
as select @a + 1 AS Siguiente, @b + ''|'' AS Relleno, ISNULL(@c, ''nulo'') AS C');
INSERT INTO TSQL_PROCEDURES VALUES ('sp_marcar', 'CREATE PROCEDURE sp_marcar @Clave varchar(50) AS
SET NOCOUNT ON
UPDATE TA_CONFIGURACION SET VALORAUX = ''visto'' WHERE CLAVE = @Clave OR CLAVE = ''Otra''
SELECT COUNT(*) AS Vistos FROM TA_CONFIGURACION WHERE VALORAUX = ''visto''');
INSERT INTO TSQL_PROCEDURES VALUES ('sp_variable', 'CREATE PROCEDURE sp_variable @a int AS SELECT @b AS b');
INSERT INTO TSQL_PROCEDURES VALUES ('sp_use', 'CREATE PROCEDURE sp_use AS USE Otra');
)");

class CommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_server.createDatabase(QStringLiteral("PRUEBA"), kScript);
        m_cn = m_server.open(QStringLiteral("PRUEBA"));
    }

    Command procedure(const QString& name)
    {
        Command cmd;
        cmd.setActiveConnection(m_cn.get());
        cmd.setCommandType(adCmdStoredProc);
        cmd.setCommandText(name);
        return cmd;
    }

    // The rows of a record set, each field's text joined by "|".
    static QStringList rows(Recordset& rs)
    {
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.FieldCount(); ++i)
                fields << rs.value(i).toText();
            out << fields.join(u'|');
        }
        return out;
    }

    QStringList getCfg(const QString& name, const Variant& campo)
    {
        Command cmd = procedure(name);
        cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@Campo"), adChar, adParamInput, 50, campo));
        const auto rs = cmd.Execute();
        return rows(*rs);
    }

    EmbeddedFixture m_server;
    std::unique_ptr<Connection> m_cn;
};

TEST_F(CommandTest, AStoredProcedureRunsWithItsParameterBound)
{
    EXPECT_EQ(getCfg(QStringLiteral("sp1_getCfg"), QStringLiteral("Clave1")),
              QStringList{QStringLiteral("uno|aux uno")});
    // Names and keys without regard to case, with or without the owner.
    EXPECT_EQ(getCfg(QStringLiteral("SP1_GETCFG"), QStringLiteral("CLAVE1")),
              QStringList{QStringLiteral("uno|aux uno")});
    EXPECT_EQ(getCfg(QStringLiteral("[dbo].[sp1_getCfg]"), QStringLiteral("otra")),
              QStringList{QStringLiteral("dos|")});
    EXPECT_EQ(m_cn->errors().Count(), 0);
}

TEST_F(CommandTest, AValueIsBoundNeverPastedIntoTheStatement)
{
    EXPECT_EQ(getCfg(QStringLiteral("sp1_getCfg"), QStringLiteral("O'Brien")),
              QStringList{QStringLiteral("irlandes|")});
    EXPECT_TRUE(getCfg(QStringLiteral("sp1_getCfg"), QStringLiteral("x' OR '1' = '1")).isEmpty());
}

TEST_F(CommandTest, AKeyWithoutRowGivesAnOpenRecordSetAtItsStartAndEnd)
{
    Command cmd = procedure(QStringLiteral("sp1_getCfg"));
    cmd.Parameters().Append(
        cmd.CreateParameter(QStringLiteral("@Campo"), adChar, adParamInput, 50, QStringLiteral("NoExiste")));
    const auto rs = cmd.Execute();
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_TRUE(rs->Bof());
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->Fields(QStringLiteral("ValorAux")).Name(), QStringLiteral("ValorAux"));
}

TEST_F(CommandTest, MissingParametersTakeTheirDefaultsAndTextsTakeTheirDeclaredWidth)
{
    Command defaults = procedure(QStringLiteral("sp_defecto"));
    EXPECT_EQ(rows(*defaults.Execute()), QStringList{QStringLiteral("6|x   ||nulo")});

    Command given = procedure(QStringLiteral("sp_defecto"));
    given.Parameters().Append(given.CreateParameter(QStringLiteral("@a"), adInteger, adParamInput, 0, 41));
    given.Parameters().Append(
        given.CreateParameter(QStringLiteral("@b"), adVarChar, adParamInput, 10, QStringLiteral("abcdef")));
    given.Parameters().Append(
        given.CreateParameter(QStringLiteral("@c"), adVarChar, adParamInput, 10, QStringLiteral("largo")));
    EXPECT_EQ(rows(*given.Execute()), QStringList{QStringLiteral("42|abcd||lar")});

    // An Empty value is a parameter not given.
    Command empty = procedure(QStringLiteral("sp_defecto"));
    empty.Parameters().Append(empty.CreateParameter(QStringLiteral("@a"), adInteger, adParamInput, 0, Variant()));
    empty.Parameters().Append(
        empty.CreateParameter(QStringLiteral("@b"), adChar, adParamInput, 4, QStringLiteral("z")));
    EXPECT_EQ(rows(*empty.Execute()), QStringList{QStringLiteral("6|z   ||nulo")});
}

TEST_F(CommandTest, AProcedureOfSeveralStatementsReturnsItsRowsAndItsNoCountEndsWithIt)
{
    Command cmd = procedure(QStringLiteral("sp_marcar"));
    cmd.Parameters().Append(
        cmd.CreateParameter(QStringLiteral("@Clave"), adVarChar, adParamInput, 50, QStringLiteral("Clave1")));
    int64_t affected = 0;
    const auto rs = cmd.Execute(&affected);
    EXPECT_EQ(rows(*rs), QStringList{QStringLiteral("2")});
    // SET NOCOUNT ON inside the procedure: its count is not reported.
    EXPECT_EQ(affected, -1);
    // After the procedure the session reports counts again.
    m_cn->Execute(QStringLiteral("UPDATE TA_CONFIGURACION SET VALORAUX = 'x' WHERE CLAVE = 'Otra'"), &affected);
    EXPECT_EQ(affected, 1);
}

TEST_F(CommandTest, FaultsOfACallAreSqlServersErrors)
{
    struct Case
    {
        const char* name;
        QString procedure;
        std::vector<Variant> values;
        int32_t number;
        int32_t nativeError;
        const char* descriptionPart;
    };
    const Case cases[] = {
        {"unknown procedure",
         QStringLiteral("sp_nada"),
         {},
         adErr::Syntax,
         2812,
         "Could not find stored procedure 'sp_nada'."},
        {"parameter not given",
         QStringLiteral("sp1_getCfg"),
         {},
         adErr::Syntax,
         201,
         "expects parameter '@Campo', which was not supplied."},
        {"too many",
         QStringLiteral("sp1_getCfg"),
         {Variant("a"), Variant("b")},
         adErr::Syntax,
         8144,
         "has too many arguments specified."},
        {"not a number", QStringLiteral("sp_defecto"), {Variant("abc")}, adErr::TypeMismatch, 8114, "@a"},
        {"undeclared variable", QStringLiteral("sp_variable"), {Variant("1")}, adErr::Syntax, 0, "@b"},
        {"USE", QStringLiteral("sp_use"), {}, adErr::Syntax, 154, "USE database statement is not allowed"},
    };
    for (const Case& c : cases) {
        Command cmd = procedure(c.procedure);
        for (const Variant& v : c.values)
            cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@p"), adVarChar, adParamInput, 10, v));
        const ErrorInfo e = raised([&] { cmd.Execute(); });
        EXPECT_EQ(e.Number, c.number) << c.name;
        EXPECT_EQ(e.NativeError, c.nativeError) << c.name;
        EXPECT_TRUE(e.Description.contains(QString::fromUtf8(c.descriptionPart)))
            << c.name << ": " << e.Description.toStdString();
        ASSERT_EQ(m_cn->errors().Count(), 1) << c.name;
        EXPECT_EQ(m_cn->errors().Item(0).NativeError, c.nativeError) << c.name;
    }
}

TEST_F(CommandTest, ADataBaseWithoutProceduresHasNone)
{
    m_server.createDatabase(QStringLiteral("VACIA"), QStringLiteral("CREATE TABLE T (a int);"));
    const auto cn = m_server.open(QStringLiteral("VACIA"));
    Command cmd;
    cmd.setActiveConnection(cn.get());
    cmd.setCommandType(adCmdStoredProc);
    cmd.setCommandText(QStringLiteral("sp1_getCfg"));
    EXPECT_EQ(raised([&] { cmd.Execute(); }).NativeError, 2812);
}

TEST_F(CommandTest, TheCommandChecksWhatItIsGiven)
{
    Command cmd = procedure(QStringLiteral("sp1_getCfg"));
    EXPECT_EQ(raised([&] { cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@Campo"), adChar)); }).Number,
              3708);
    cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@Campo"), adInteger, adParamInput, 0, "abc"));
    EXPECT_EQ(raised([&] { cmd.Execute(); }).Number, 3421);
    cmd.Parameters().Item(QStringLiteral("@campo")).setDirection(adParamOutput);
    cmd.Parameters().Item(0).setValue(1);
    EXPECT_EQ(raised([&] { cmd.Execute(); }).Number, adErr::NotSupported);
    EXPECT_EQ(raised([&] { cmd.Parameters().Item(1); }).Number, adErr::ItemNotFound);

    Command closed;
    closed.setCommandType(adCmdStoredProc);
    closed.setCommandText(QStringLiteral("sp1_getCfg"));
    EXPECT_EQ(raised([&] { closed.Execute(); }).Number, adErr::ConnectionUnusable);
    Command noText = procedure(QString());
    EXPECT_EQ(raised([&] { noText.Execute(); }).Number, int32_t(0x80040E0C));
}

TEST_F(CommandTest, AStatementCommandRunsOnItsConnection)
{
    Command cmd;
    cmd.setActiveConnection(m_cn.get());
    cmd.setCommandText(QStringLiteral("select top 1 VALOR from TA_CONFIGURACION where CLAVE like '%ave%'"));
    EXPECT_EQ(rows(*cmd.Execute()), QStringList{QStringLiteral("uno")});
    cmd.setCommandType(adCmdText);
    cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@x"), adInteger, adParamInput, 0, 1));
    EXPECT_EQ(raised([&] { cmd.Execute(); }).Number, adErr::NotSupported);
}

} // namespace
