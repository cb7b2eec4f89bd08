#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

using namespace platform::db;
using dbtest::raised;
using platform::Currency;
using platform::DateTime;
using platform::Variant;
using platform::VariantType;

namespace {

class RecordsetTest : public dbtest::CatalogueTest
{
protected:
    std::shared_ptr<Recordset> open(const QString& sql, int lockType = adLockReadOnly)
    {
        auto rs = std::make_shared<Recordset>();
        rs->Open(sql, cn.get(), adOpenForwardOnly, lockType, adCmdUnknown);
        return rs;
    }
};

TEST_F(RecordsetTest, CountsAndWalksTheRowsFetchedWhole)
{
    auto rs = open(QStringLiteral("select IdArticulo from Articulos order by IdArticulo"));
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    QStringList ids;
    for (; !rs->Eof(); rs->MoveNext())
        ids << rs->value(0).toText();
    EXPECT_EQ(ids, (QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")}));
    EXPECT_EQ(rs->AbsolutePosition(), adPosEOF);
    EXPECT_EQ(raised([&] { rs->MoveNext(); }).Number, adErr::NoCurrentRecord);
    EXPECT_EQ(raised([&] { rs->value(0); }).Number, adErr::NoCurrentRecord);

    rs->MoveLast();
    EXPECT_EQ(rs->value(0).toText(), QStringLiteral("A3"));
    rs->MovePrevious();
    rs->MovePrevious();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_EQ(rs->AbsolutePosition(), adPosBOF);
    rs->setAbsolutePosition(2);
    EXPECT_EQ(rs->value(0).toText(), QStringLiteral("A2"));
    rs->Move(5);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(raised([&] { rs->setAbsolutePosition(4); }).Number, adErr::BadArgument);
}

TEST_F(RecordsetTest, AnEmptyResultIsAtBothMarks)
{
    auto rs = open(QStringLiteral("select * from Articulos where IdArticulo = 'zz'"));
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_TRUE(rs->Bof());
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(rs->FieldCount(), 8);
    EXPECT_EQ(raised([&] { rs->MoveFirst(); }).Number, adErr::NoCurrentRecord);
}

TEST_F(RecordsetTest, FieldsByIndexOrByNameWithoutRegardToCase)
{
    auto rs = open(QStringLiteral("select IdArticulo, Descripcion as Nombre from Articulos where IdArticulo = 'A1'"));
    EXPECT_EQ(rs->Fields(QStringLiteral("nombre")).Value().toText(), QStringLiteral("Yerba"));
    EXPECT_EQ(rs->Fields(QStringLiteral("IDARTICULO")).Name(), QStringLiteral("IdArticulo"));
    EXPECT_EQ(rs->fieldIndex(QStringLiteral("NOMBRE")), 1);
    EXPECT_EQ(rs->fieldIndex(QStringLiteral("otro")), -1);
    EXPECT_EQ(raised([&] { rs->Fields(QStringLiteral("otro")); }).Number, adErr::ItemNotFound);
    EXPECT_EQ(raised([&] { rs->Fields(2); }).Number, adErr::ItemNotFound);
    rs->Close();
    EXPECT_EQ(raised([&] { rs->RecordCount(); }).Number, adErr::ObjectClosed);
    EXPECT_EQ(raised([&] { rs->Close(); }).Number, adErr::ObjectClosed);
}

TEST_F(RecordsetTest, NamesBeyondAsciiFoldTheirCaseAndOtherSignsMatchOnlyThemselves)
{
    auto rs = open(QStringLiteral("select 1 as [Año], 2 as [x@y], 3 as Kelvin, 4 as [x_y]"));
    const struct
    {
        const char16_t* name;
        int index;
    } cases[] = {
        {u"AÑO", 0},         {u"año", 0},    {u"Ano", -1}, {u"X@Y", 1},       {u"x`y", -1},
        {u"\u212Aelvin", 2}, {u"KELVIN", 2}, {u"x_Y", 3},  {u"x\u007fy", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rs->fieldIndex(QString::fromUtf16(c.name)), c.index) << QString::fromUtf16(c.name).toStdString();
}

TEST_F(RecordsetTest, ResultsOfOneStatementKeepTheColumnsTheirOwnValuesGive)
{
    // One statement, its literal bound: the expression is typed anew from each result's values.
    const auto longest = [this](const char* id) {
        return open(QStringLiteral("select max(Descripcion) as v from Articulos where IdArticulo = '%1'")
                        .arg(QLatin1String(id)));
    };
    auto sugar = longest("A2");
    auto none = longest("zz");
    auto yerba = longest("A1");
    EXPECT_EQ(sugar->Fields(0).Type(), adVarWChar);
    EXPECT_EQ(sugar->Fields(0).DefinedSize(), 6);
    EXPECT_EQ(none->Fields(0).Type(), adInteger);
    EXPECT_EQ(yerba->Fields(0).Type(), adVarWChar);
    EXPECT_EQ(yerba->Fields(0).DefinedSize(), 5);
    EXPECT_EQ(sugar->Fields(0).DefinedSize(), 6);
}

struct TypeCase
{
    const char* column;
    int type;
    int64_t size;
};

class FieldTypes : public RecordsetTest, public ::testing::WithParamInterface<TypeCase>
{
};

TEST_P(FieldTypes, FollowTheDeclaredTypes)
{
    auto rs = open(QStringLiteral("select * from Articulos"));
    const Field f = rs->Fields(QString::fromUtf8(GetParam().column));
    EXPECT_EQ(f.Type(), GetParam().type) << GetParam().column;
    EXPECT_EQ(f.DefinedSize(), GetParam().size) << GetParam().column;
}

INSTANTIATE_TEST_SUITE_P(Declared, FieldTypes,
                         ::testing::Values(TypeCase{"IdArticulo", adVarChar, 20},
                                           TypeCase{"Descripcion", adVarChar, 10}, TypeCase{"Costo", adCurrency, 8},
                                           TypeCase{"Margen", adNumeric, 19}, TypeCase{"Activo", adBoolean, 2},
                                           TypeCase{"Alta", adDBTimeStamp, 16}, TypeCase{"Stock", adInteger, 4},
                                           TypeCase{"Notas", adVarWChar, 50}),
                         [](const auto& p) { return std::string(p.param.column); });

TEST_F(RecordsetTest, ValuesKeepTheirTypesAndNullStaysNull)
{
    auto rs = open(QStringLiteral("select * from Articulos order by IdArticulo"));
    EXPECT_EQ(rs->value(QStringLiteral("Costo")), Variant(Currency::fromUnits(12345678)));
    EXPECT_EQ(rs->value(QStringLiteral("Margen")).type(), VariantType::Double);
    EXPECT_DOUBLE_EQ(*rs->value(QStringLiteral("Margen")).toDouble(), 0.123456);
    EXPECT_EQ(rs->value(QStringLiteral("Activo")), Variant(true));
    EXPECT_EQ(rs->value(QStringLiteral("Alta")), Variant(DateTime(QDate(2024, 3, 1), QTime(10, 15, 30, 250))));
    EXPECT_EQ(rs->value(QStringLiteral("Stock")), Variant(int64_t(5)));
    rs->MoveNext();
    EXPECT_EQ(rs->value(QStringLiteral("Costo")), Variant(Currency::fromUnits(1000))); // 0.1 exactly
    EXPECT_EQ(rs->value(QStringLiteral("Activo")), Variant(false));
    EXPECT_TRUE(rs->value(QStringLiteral("Margen")).isNull());
    rs->MoveNext();
    EXPECT_TRUE(rs->value(QStringLiteral("Descripcion")).isNull());
    EXPECT_FALSE(rs->value(QStringLiteral("Descripcion")).isEmpty());
    EXPECT_TRUE(rs->value(QStringLiteral("Alta")).isNull());
}

TEST_F(RecordsetTest, ExpressionColumnsAreTypedFromTheirValues)
{
    auto rs = open(QStringLiteral("select count(*) as n, max(Alta) as ultima, sum(Stock) * 1.5 as x, "
                                  "max(IdArticulo) as id from Articulos"));
    EXPECT_EQ(rs->Fields(QStringLiteral("n")).Type(), adInteger);
    EXPECT_EQ(rs->value(QStringLiteral("n")), Variant(int64_t(3)));
    EXPECT_EQ(rs->Fields(QStringLiteral("ultima")).Type(), adDBTimeStamp);
    EXPECT_EQ(rs->value(QStringLiteral("ultima")), Variant(DateTime(QDate(2024, 3, 2))));
    // Arithmetic is typed as SQL Server types it: the sum of an int times 1.5 is a numeric(13,1).
    EXPECT_EQ(rs->Fields(QStringLiteral("x")).Type(), adNumeric);
    EXPECT_EQ(rs->Fields(QStringLiteral("x")).Precision(), 13);
    EXPECT_EQ(rs->Fields(QStringLiteral("x")).NumericScale(), 1);
    EXPECT_EQ(rs->Fields(QStringLiteral("id")).Type(), adVarWChar);
}

TEST_F(RecordsetTest, ExecuteReturnsRowsOrAClosedSetWithTheRecordsAffected)
{
    int64_t affected = 0;
    auto rows = cn->Execute(QStringLiteral("select IdArticulo from Articulos"), &affected);
    EXPECT_EQ(rows->State(), adStateOpen);
    EXPECT_EQ(rows->RecordCount(), 3);
    EXPECT_EQ(affected, -1);
    EXPECT_EQ(rows->LockType(), adLockReadOnly);

    auto none = cn->Execute(QStringLiteral("update Articulos set Stock = 7 where Activo = 1"), &affected);
    EXPECT_EQ(none->State(), adStateClosed);
    EXPECT_EQ(affected, 2);

    cn->Execute(QStringLiteral("delete from Listas; delete from Articulos where IdArticulo <> 'A1'"), &affected);
    EXPECT_EQ(affected, 3);

    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("update Articulos set Stock = 1"), cn.get());
    EXPECT_EQ(rs->State(), adStateClosed);
}

} // namespace
