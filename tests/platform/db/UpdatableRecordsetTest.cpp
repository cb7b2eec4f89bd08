#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

using namespace platform::db;
using dbtest::raised;
using platform::Currency;
using platform::DateTime;
using platform::Variant;

namespace {

class UpdatableRecordset : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.createDatabase(QStringLiteral("Ventas"), dbtest::catalogueScript() + QStringLiteral(R"(
CREATE TABLE AUX_ERR (ID INTEGER PRIMARY KEY, Proceso varchar(50) COLLATE SQLSERVER, fecha datetime,
  Error int, Descripcion varchar(250) COLLATE SQLSERVER, sql text COLLATE SQLSERVER);
)"));
        cn = server.open(QStringLiteral("Ventas"));
    }
    std::shared_ptr<Recordset> open(const QString& sql, int lockType = adLockOptimistic)
    {
        auto rs = std::make_shared<Recordset>();
        rs->Open(sql, cn.get(), adOpenDynamic, lockType, -1);
        return rs;
    }
    Variant scalar(const QString& sql) { return cn->Execute(sql)->value(0); }

    testing_support::EmbeddedFixture server;
    std::unique_ptr<Connection> cn;
};

TEST_F(UpdatableRecordset, AddNewWritesTheRowAndReadsBackDefaultsAndKey)
{
    auto rs = open(QStringLiteral("select * from AUX_ERR"));
    ASSERT_EQ(rs->LockType(), adLockOptimistic);
    rs->AddNew();
    EXPECT_EQ(rs->EditMode(), adEditAdd);
    rs->Fields(QStringLiteral("Proceso")).setValue(QStringLiteral("CorrigePrecios"));
    rs->Fields(QStringLiteral("fecha")).setValue(QStringLiteral("10/12/26 08:56")); // as the program writes it
    rs->Fields(QStringLiteral("Error")).setValue(2627);
    rs->Fields(QStringLiteral("sql")).setValue(QStringLiteral("BEGIN TRANSACTION \r\r\rinsert ..."));
    rs->Update();
    EXPECT_EQ(rs->EditMode(), adEditNone);
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->value(QStringLiteral("ID")), Variant(int64_t(1)));
    EXPECT_EQ(rs->value(QStringLiteral("fecha")), Variant(DateTime(QDate(2026, 12, 10), QTime(8, 56))));
    rs->Close();

    EXPECT_EQ(scalar(QStringLiteral("select fecha from AUX_ERR")),
              Variant(DateTime(QDate(2026, 12, 10), QTime(8, 56))));
    EXPECT_TRUE(scalar(QStringLiteral("select Descripcion from AUX_ERR")).isNull());
}

TEST_F(UpdatableRecordset, TheErrorRowStatementOpensUpdatable)
{
    auto rs = open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "));
    ASSERT_EQ(rs->LockType(), adLockOptimistic);
    EXPECT_TRUE(rs->Eof());
    rs->AddNew();
    rs->Fields(QStringLiteral("Descripcion")).setValue(QStringLiteral("Violation of PRIMARY KEY"));
    rs->Update();
    rs->Close();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from AUX_ERR")), Variant(int64_t(1)));
}

TEST_F(UpdatableRecordset, AddNewWithNoAssignedFieldTakesTheDefaults)
{
    auto rs = open(QStringLiteral("select * from Articulos where IdArticulo = 'none'"));
    rs->AddNew();
    rs->Fields(QStringLiteral("IdArticulo")).setValue(QStringLiteral("B7"));
    rs->Fields(QStringLiteral("Costo")).setValue(Currency::fromUnits(123456789));
    rs->Update();
    EXPECT_EQ(rs->value(QStringLiteral("Activo")), Variant(true));
    EXPECT_EQ(rs->value(QStringLiteral("Notas")).toText(), QStringLiteral("sin notas"));
    EXPECT_EQ(scalar(QStringLiteral("select Costo from Articulos where IdArticulo = 'B7'")),
              Variant(Currency::fromUnits(123456789)));
}

TEST_F(UpdatableRecordset, FieldAssignmentAndUpdateChangeTheRow)
{
    auto rs = open(QStringLiteral("select IdArticulo, Costo, Stock, Alta from Articulos where IdArticulo = 'A2'"));
    rs->Fields(QStringLiteral("Costo")).setValue(Currency::fromUnits(99999));
    EXPECT_EQ(rs->EditMode(), adEditInProgress);
    EXPECT_EQ(rs->value(QStringLiteral("Costo")), Variant(Currency::fromUnits(99999)));
    // The fields not assigned keep their types during the edit.
    EXPECT_EQ(rs->value(QStringLiteral("Alta")), Variant(DateTime(QDate(2024, 3, 2), QTime(0, 0))));
    rs->Update();
    EXPECT_EQ(scalar(QStringLiteral("select Costo from Articulos where IdArticulo = 'A2'")),
              Variant(Currency::fromUnits(99999)));

    rs->Fields(QStringLiteral("Stock")).setValue(40);
    rs->CancelUpdate();
    EXPECT_EQ(rs->value(QStringLiteral("Stock")), Variant(int64_t(0)));
    EXPECT_EQ(scalar(QStringLiteral("select Stock from Articulos where IdArticulo = 'A2'")), Variant(int64_t(0)));
}

TEST_F(UpdatableRecordset, AFailedUpdateKeepsTheEditAndCloseRefusesIt)
{
    auto rs = open(QStringLiteral("select * from Articulos where IdArticulo = 'A1'"));
    rs->Fields(QStringLiteral("Descripcion")).setValue(QStringLiteral("demasiado largo"));
    const ErrorInfo e = raised([&] { rs->Update(); });
    EXPECT_EQ(e.NativeError, native::TextTooLong);
    EXPECT_EQ(cn->errors().Count(), 1);
    EXPECT_EQ(rs->EditMode(), adEditInProgress);
    EXPECT_EQ(raised([&] { rs->Close(); }).Number, adErr::OperationNotAllowed);
    rs->CancelUpdate();
    rs->Close();
    EXPECT_EQ(scalar(QStringLiteral("select Descripcion from Articulos where IdArticulo = 'A1'")).toText(),
              QStringLiteral("Yerba"));
}

TEST_F(UpdatableRecordset, DeleteInALoopRemovesEveryRow)
{
    auto rs = open(QStringLiteral("select * from Listas"));
    cn->Execute(QStringLiteral("insert into Listas values ('L2', 'A2', 1); insert into Listas values ('L3', 'A3', 2)"));
    rs->Close();
    rs = open(QStringLiteral("select * from Listas"));
    ASSERT_EQ(rs->RecordCount(), 3);
    while (!rs->Eof()) {
        rs->Delete();
        EXPECT_EQ(raised([&] { rs->value(0); }).Number, adErr::NoCurrentRecord);
        rs->MoveNext();
    }
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Listas")), Variant(int64_t(0)));
}

TEST_F(UpdatableRecordset, ReadOnlySetsRefuseChanges)
{
    struct Case
    {
        const char* sql;
        int lockType;
    };
    const Case cases[] = {
        {"select * from Articulos", adLockReadOnly},
        {"select * from V_Activos", adLockOptimistic},
        {"select a.IdArticulo, l.Precio from Articulos a join Listas l on l.IdArticulo = a.IdArticulo",
         adLockOptimistic},
        {"select Activo, count(*) from Articulos group by Activo", adLockOptimistic},
        {"select distinct Activo from Articulos", adLockOptimistic},
    };
    for (const Case& c : cases) {
        auto rs = open(QString::fromUtf8(c.sql), c.lockType);
        EXPECT_EQ(rs->LockType(), adLockReadOnly) << c.sql;
        EXPECT_EQ(raised([&] { rs->AddNew(); }).Number, adErr::OperationNotAllowed) << c.sql;
        EXPECT_EQ(raised([&] { rs->Fields(0).setValue(1); }).Number, adErr::OperationNotAllowed) << c.sql;
        EXPECT_EQ(raised([&] { rs->Delete(); }).Number, adErr::OperationNotAllowed) << c.sql;
    }
}

TEST_F(UpdatableRecordset, AValueThatDoesNotConvertIsRefusedBeforeWriting)
{
    auto rs = open(QStringLiteral("select * from AUX_ERR"));
    rs->AddNew();
    rs->Fields(QStringLiteral("fecha")).setValue(QStringLiteral("ayer"));
    EXPECT_EQ(raised([&] { rs->Update(); }).Number, adErr::NotSupported);
    rs->CancelUpdate();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from AUX_ERR")), Variant(int64_t(0)));
}

TEST_F(UpdatableRecordset, AWholeNumberBeyondItsColumnsTypeIsRefusedBeforeWriting)
{
    auto rs = open(QStringLiteral("select * from AUX_ERR"));
    rs->AddNew();
    rs->Fields(QStringLiteral("Error")).setValue(int64_t(2147483648));
    EXPECT_EQ(raised([&] { rs->Update(); }).Number, adErr::NotSupported);
    rs->CancelUpdate();
    rs->AddNew();
    rs->Fields(QStringLiteral("Error")).setValue(int64_t(-2147483648));
    rs->Update();
    EXPECT_EQ(scalar(QStringLiteral("select Error from AUX_ERR")), Variant(int64_t(-2147483648)));
}

TEST_F(UpdatableRecordset, WritesNeedTheirConnection)
{
    auto rs = open(QStringLiteral("select * from AUX_ERR"));
    cn->Close();
    rs->AddNew();
    rs->Fields(QStringLiteral("Error")).setValue(1);
    EXPECT_EQ(raised([&] { rs->Update(); }).Number, adErr::ConnectionUnusable);
    rs->CancelUpdate();
    cn.reset();
    rs->AddNew();
    EXPECT_EQ(raised([&] { rs->Update(); }).Number, adErr::ConnectionUnusable);
}

} // namespace
