#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"
#include "support/FaultyBackend.h"

#include <gtest/gtest.h>

using namespace platform::db;
using dbtest::raised;
using platform::Variant;

namespace {

class ErrorsTest : public dbtest::CatalogueTest
{
protected:
    int64_t count(const QString& table)
    {
        return *cn->Execute(QStringLiteral("select count(*) from ") + table)->value(0).toInteger();
    }
};

struct NativeCase
{
    const char* name;
    const char* sql;
    int32_t number;
    int32_t nativeError;
    const char* sqlState;
};

class NativeNumbers : public ErrorsTest, public ::testing::WithParamInterface<NativeCase>
{
};

TEST_P(NativeNumbers, CarrySqlServersNumbers)
{
    const NativeCase& c = GetParam();
    const ErrorInfo e = raised([&] { cn->Execute(QString::fromUtf8(c.sql)); });
    EXPECT_EQ(e.Number, c.number) << e.Description.toStdString();
    EXPECT_EQ(e.NativeError, c.nativeError) << e.Description.toStdString();
    EXPECT_EQ(e.SQLState, QString::fromUtf8(c.sqlState));
    ASSERT_EQ(cn->errors().Count(), 1);
    EXPECT_EQ(cn->errors().Item(0).NativeError, c.nativeError);
    EXPECT_EQ(cn->errors().Item(0).Source, QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
}

INSTANTIATE_TEST_SUITE_P(
    Execute, NativeNumbers,
    ::testing::Values(
        NativeCase{"InvalidColumn", "select Nada from Articulos", adErr::Syntax, 207, "42S22"},
        NativeCase{"InvalidObject", "select * from NoExiste", adErr::NoSuchObject, 208, "42S02"},
        NativeCase{"DuplicateKey", "insert into Articulos (IdArticulo) values ('A1')", adErr::Constraint, 2627,
                   "23000"},
        NativeCase{"TextTooLong", "update Articulos set Descripcion = 'mas de diez letras' where IdArticulo = 'A1'",
                   adErr::DataOverflow, 8152, "22001"},
        NativeCase{"CheckConflict", "update Articulos set Stock = -1", adErr::Constraint, 547, "23000"},
        NativeCase{"ForeignKeyConflict", "delete from Articulos where IdArticulo = 'A1'", adErr::Constraint, 547,
                   "23000"},
        NativeCase{"NullNotAllowed", "insert into Listas (IdLista, IdArticulo) values ('L9', NULL)", adErr::Constraint,
                   515, "23000"},
        NativeCase{"UnclosedQuote", "select * from Articulos where IdArticulo = 'A1", adErr::Syntax, 105, "42000"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ErrorsTest, NestingBeyondTheLimitFailsAtOnceWith191)
{
    auto nested = [](const QString& open, int depth) {
        return QStringLiteral("select ") + open.repeated(depth) + QStringLiteral("1") +
               QStringLiteral(")").repeated(depth);
    };
    // Far beyond the translator's limit (refused before it is walked), and
    // within it but beyond what SQLite's parser takes.
    // A chain of 20,000 additions nests as deep in SQLite's expression tree.
    const QString chain = QStringLiteral("select 1") + QStringLiteral(" + 1").repeated(20000);
    for (const QString& sql : {nested(QStringLiteral("("), 20000), nested(QStringLiteral("abs("), 4000),
                               nested(QStringLiteral("abs("), 40), chain}) {
        const ErrorInfo e = raised([&] { cn->Execute(sql); });
        EXPECT_EQ(e.Number, adErr::Syntax);
        EXPECT_EQ(e.NativeError, native::NestedTooDeeply) << e.Description.toStdString();
        EXPECT_EQ(e.SQLState, QStringLiteral("42000"));
    }
    EXPECT_EQ(cn->Execute(nested(QStringLiteral("abs("), 10))->value(0), Variant(int64_t(1)));
}

TEST_F(ErrorsTest, AnEmptyOrCommentOnlyStatementIsAnError)
{
    for (const char* sql : {"", "   \r\n", "-- nada", "/* nada */ ;", "GO"}) {
        const ErrorInfo e = raised([&] { cn->Execute(QString::fromUtf8(sql)); });
        EXPECT_EQ(e.Number, adErr::NoCommand) << sql;
        EXPECT_EQ(e.Description, QStringLiteral("Command text was not set for the command object."));
    }
}

TEST_F(ErrorsTest, ErrorsAreClearedAtEachExecuteAndOpen)
{
    raised([&] { cn->Execute(QStringLiteral("select * from NoExiste")); });
    EXPECT_EQ(cn->errors().Count(), 1);
    cn->Execute(QStringLiteral("select 1"));
    EXPECT_EQ(cn->errors().Count(), 0);

    raised([&] { cn->Execute(QStringLiteral("select * from NoExiste")); });
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("select * from Articulos"), cn.get());
    EXPECT_EQ(cn->errors().Count(), 0);

    raised([&] { cn->Execute(QStringLiteral("select * from NoExiste")); });
    cn->Close();
    cn->Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(cn->errors().Count(), 0);
}

TEST_F(ErrorsTest, AFailedBatchStopsAtTheFailingStatement)
{
    const ErrorInfo e = raised([&] {
        cn->Execute(QStringLiteral("insert into Listas values ('L5', 'A2', 3)\r"
                                   "insert into Listas values ('L1', 'A1', 4)\r"
                                   "insert into Listas values ('L6', 'A3', 5)"));
    });
    EXPECT_EQ(e.NativeError, native::DuplicateKey);
    EXPECT_EQ(count(QStringLiteral("Listas where IdLista = 'L6'")), 0);
}

TEST_F(ErrorsTest, ATransactionSpansSeparateExecuteCallsAndRollsBackToNothing)
{
    // The batch runner's flow: the batch opens the transaction, a later call ends it.
    raised([&] {
        cn->Execute(QStringLiteral("BEGIN TRANSACTION \r\r\r"
                                   "insert into Listas values ('L7', 'A2', 3)\r"
                                   "insert into Listas values ('L1', 'A1', 4)\r"));
    });
    EXPECT_EQ(cn->errors().Count(), 1);
    EXPECT_EQ(cn->errors().Item(0).NativeError, native::DuplicateKey);
    cn->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(count(QStringLiteral("Listas")), 1);

    cn->Execute(QStringLiteral("BEGIN TRANSACTION \r\r\rinsert into Listas values ('L7', 'A2', 3)\r"));
    cn->Execute(QStringLiteral("insert into Listas values ('L8', 'A2', 3)"));
    cn->Execute(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_EQ(count(QStringLiteral("Listas")), 3);

    EXPECT_EQ(raised([&] { cn->Execute(QStringLiteral("COMMIT TRANSACTION")); }).NativeError, native::NoBeginForCommit);
}

TEST_F(ErrorsTest, BeginTransNestsAndRollbackTransUndoes)
{
    EXPECT_EQ(cn->BeginTrans(), 1);
    cn->Execute(QStringLiteral("delete from Listas"));
    EXPECT_EQ(cn->BeginTrans(), 2);
    cn->Execute(QStringLiteral("update Articulos set Stock = 99"));
    cn->CommitTrans();
    cn->RollbackTrans();
    EXPECT_EQ(count(QStringLiteral("Listas")), 1);
    EXPECT_EQ(count(QStringLiteral("Articulos where Stock = 99")), 0);

    cn->BeginTrans();
    cn->Execute(QStringLiteral("delete from Listas"));
    cn->CommitTrans();
    EXPECT_EQ(count(QStringLiteral("Listas")), 0);
    EXPECT_EQ(raised([&] { cn->CommitTrans(); }).NativeError, native::NoBeginForCommit);
}

TEST_F(ErrorsTest, ClosingWithAnOpenTransactionRollsItBack)
{
    cn->Execute(QStringLiteral("BEGIN TRANSACTION"));
    cn->Execute(QStringLiteral("delete from Listas"));
    cn->Close();
    cn->Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(count(QStringLiteral("Listas")), 1);
}

TEST_F(ErrorsTest, ABrokenLinkFromTheWrapperSeamCarriesNativeEleven)
{
    auto faults = testing_support::installFaultyBackends();
    Connection wrapped;
    wrapped.Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(wrapped.Execute(QStringLiteral("select count(*) from Articulos"))->value(0), Variant(int64_t(3)));

    faults->broken = true;
    const ErrorInfo e = raised([&] { wrapped.Execute(QStringLiteral("select 1")); });
    EXPECT_EQ(e.Number, adErr::Generic);
    EXPECT_EQ(e.SQLState, QStringLiteral("08S01"));
    EXPECT_EQ(e.NativeError, native::LostLink);
    ASSERT_EQ(wrapped.errors().Count(), 1);
    EXPECT_EQ(wrapped.errors().Item(0).NativeError, native::LostLink);
    EXPECT_EQ(wrapped.State(), adStateOpen); // as ADO: the object stays open until closed

    // Any class 08 state is a lost link, whatever native number the driver gave.
    faults->nativeError = 0;
    EXPECT_EQ(raised([&] { wrapped.BeginTrans(); }).NativeError, native::LostLink);
    EXPECT_EQ(wrapped.errors().Item(0).NativeError, native::LostLink);

    wrapped.Close();
    EXPECT_EQ(raised([&] { wrapped.Open(server.connectionString(QStringLiteral("Ventas"))); }).NativeError,
              native::LostLink);
    faults->broken = false;
    wrapped.Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(wrapped.State(), adStateOpen);
}

TEST_F(ErrorsTest, InformationalMessagesNeverEnterErrors)
{
    auto faults = testing_support::installFaultyBackends();
    faults->informational = true;
    Connection wrapped;
    wrapped.Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(wrapped.errors().Count(), 0);
    wrapped.Execute(QStringLiteral("select 1"));
    EXPECT_EQ(wrapped.errors().Count(), 0);
    wrapped.setDefaultDatabase(QStringLiteral("Ventas"));
    EXPECT_EQ(wrapped.errors().Count(), 0);
}

TEST_F(ErrorsTest, NoWrapperOutlivesItsTest)
{
    // The previous tests installed wrappers; a fresh program has none.
    Connection plain;
    plain.Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(dynamic_cast<testing_support::FaultyBackend*>(&plain.backend()), nullptr);
}

} // namespace

namespace {

TEST_F(ErrorsTest, AWriteLockHeldElsewhereEndsInATimeOut)
{
    auto other = server.open(QStringLiteral("Ventas"));
    other->Execute(QStringLiteral("BEGIN TRANSACTION"));
    other->Execute(QStringLiteral("delete from Listas"));
    cn->setCommandTimeout(1);
    const ErrorInfo e = raised([&] { cn->Execute(QStringLiteral("update Articulos set Stock = 1")); });
    EXPECT_EQ(e.Number, adErr::Timeout);
    EXPECT_EQ(e.SQLState, QStringLiteral("HYT00"));
    other->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
    cn->Execute(QStringLiteral("update Articulos set Stock = 1"));
}

TEST_F(ErrorsTest, AStatementThatRunsPastTheCommandTimeoutIsStopped)
{
    cn->setCommandTimeout(1);
    const ErrorInfo e = raised([&] {
        cn->Execute(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                                   "SELECT count(*) FROM c"));
    });
    EXPECT_EQ(e.Number, adErr::Timeout) << e.Description.toStdString();
    EXPECT_EQ(cn->Execute(QStringLiteral("select count(*) from Articulos"))->value(0), Variant(int64_t(3)));
}

} // namespace
