// Identity columns on the embedded engine: numbered from their seed by their
// increment, whoever inserts the row, with SCOPE_IDENTITY() and @@IDENTITY
// as SQL Server gives them.
#include "DbTestSupport.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"

#include <gtest/gtest.h>

using namespace platform::db;
using dbtest::raised;
using platform::Variant;

namespace {

const QString kScript = QStringLiteral(R"(
CREATE TABLE TSQL_PROCEDURES (NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, DEFINITION text NOT NULL);
INSERT INTO TSQL_PROCEDURES VALUES ('sp_alta', 'CREATE PROCEDURE sp_alta @Detalle varchar(20) AS
INSERT INTO Movimientos (Detalle) VALUES (@Detalle)
SELECT SCOPE_IDENTITY() AS Alcance');
CREATE TABLE Otra (a int);
CREATE TRIGGER TSQL_IDENTITY_Notas AFTER INSERT ON Otra BEGIN SELECT 1; END;
)");

class IdentityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.createDatabase(QStringLiteral("Caja"), kScript);
        cn = server.open(QStringLiteral("Caja"));
        cn->Execute(QStringLiteral("CREATE TABLE Movimientos (Id bigint IDENTITY(-1, -2) PRIMARY KEY, Detalle "
                                   "varchar(20) NOT NULL)"));
    }

    Variant scalar(const QString& sql, Connection* on = nullptr)
    {
        return (on ? on : cn.get())->Execute(sql)->value(0);
    }

    testing_support::EmbeddedFixture server;
    std::unique_ptr<Connection> cn;
};

TEST_F(IdentityTest, ARowAddedThroughARecordSetIsNumberedAndShowsItsNumber)
{
    cn->Execute(QStringLiteral("INSERT INTO Movimientos (Detalle) VALUES ('primero')"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Movimientos"), cn.get(), adOpenDynamic, adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("Detalle")).setValue(QStringLiteral("segundo"));
    rs.Update();
    EXPECT_EQ(rs.value(QStringLiteral("Id")), Variant(int64_t(-3)));
    EXPECT_EQ(scalar(QStringLiteral("SELECT @@IDENTITY")), Variant(int64_t(-3)));

    // The number is the engine's to give, and to keep.
    rs.AddNew();
    rs.Fields(QStringLiteral("Id")).setValue(int64_t(7));
    rs.Fields(QStringLiteral("Detalle")).setValue(QStringLiteral("a mano"));
    EXPECT_EQ(raised([&] { rs.Update(); }).NativeError, 544);
    rs.CancelUpdate();
    rs.MoveFirst();
    rs.Fields(QStringLiteral("Id")).setValue(int64_t(7));
    EXPECT_EQ(raised([&] { rs.Update(); }).NativeError, 8102);
}

TEST_F(IdentityTest, AnotherConnectionNumbersTheRowsOfATableMadeAfterItOpened)
{
    const std::unique_ptr<Connection> other = server.open(QStringLiteral("Caja"));
    scalar(QStringLiteral("SELECT COUNT(*) FROM Movimientos"), other.get());
    cn->Execute(QStringLiteral("CREATE TABLE Cierres (Numero int IDENTITY(1000, 1), Nota varchar(10))"));
    int64_t affected = 0;
    other->Execute(QStringLiteral("INSERT INTO Cierres VALUES ('lunes') INSERT INTO Cierres VALUES ('martes')"),
                   &affected);
    EXPECT_EQ(affected, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MAX(Numero) FROM Cierres")), Variant(int64_t(1001)));
}

TEST_F(IdentityTest, AProcedureAndEachBatchAreScopesOfTheirOwn)
{
    Command cmd;
    cmd.setActiveConnection(cn.get());
    cmd.setCommandType(adCmdStoredProc);
    cmd.setCommandText(QStringLiteral("sp_alta"));
    cmd.Parameters().Append(
        cmd.CreateParameter(QStringLiteral("@Detalle"), adVarChar, adParamInput, 20, Variant(u"alta")));
    std::shared_ptr<Recordset> rs = cmd.Execute();
    rs = rs->NextRecordset();
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->value(0), Variant(int64_t(-1)));
    // The procedure's insert is the session's, not the next batch's.
    rs = cn->Execute(QStringLiteral("SELECT SCOPE_IDENTITY(), @@IDENTITY"));
    EXPECT_TRUE(rs->value(0).isNull());
    EXPECT_EQ(rs->value(1), Variant(int64_t(-1)));
    // A new session has given none.
    cn->Close();
    cn->Open(server.connectionString(QStringLiteral("Caja")));
    EXPECT_TRUE(scalar(QStringLiteral("SELECT @@IDENTITY")).isNull());
}

TEST_F(IdentityTest, ATableThatFailsToBeMadeLeavesNothingHalfMade)
{
    cn->Execute(QStringLiteral("INSERT INTO Movimientos (Detalle) VALUES ('uno')"));
    // The same name again: the table and its numbering stay as they were.
    EXPECT_EQ(raised([&] {
                  cn->Execute(QStringLiteral("CREATE TABLE Movimientos (Id int IDENTITY(1, 1), Otro int)"));
              }).NativeError,
              2714);
    cn->Execute(QStringLiteral("INSERT INTO Movimientos (Detalle) VALUES ('dos')"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT MIN(Id) FROM Movimientos")), Variant(int64_t(-3)));
    // A type that cannot be numbered: no table at all.
    EXPECT_EQ(raised([&] { cn->Execute(QStringLiteral("CREATE TABLE Notas (Id varchar(5) IDENTITY)")); }).NativeError,
              2749);
    EXPECT_EQ(raised([&] { cn->Execute(QStringLiteral("SELECT * FROM Notas")); }).NativeError, 208);
    // Its numbering cannot be made (the name of its trigger is taken): the table is not made either.
    raised([&] { cn->Execute(QStringLiteral("CREATE TABLE Notas (Id int IDENTITY, Texto varchar(5))")); });
    EXPECT_EQ(raised([&] { cn->Execute(QStringLiteral("SELECT * FROM Notas")); }).NativeError, 208);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TSQL_IDENTITY WHERE TABLE_NAME = 'Notas'")),
              Variant(int64_t(0)));
}

} // namespace
