// The field types the embedded engine reports for a result column made by an
// expression: SQL Server's type for conversions, arithmetic and the meeting
// of types, and what the values tell for the other expressions the program
// reads.
#include "DbTestSupport.h"

#include "platform/db/Connection.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace platform::db;
using platform::Currency;
using platform::Variant;

namespace {

struct TypeCase
{
    const char* name;
    const char* expression;
    DataTypeEnum type;
    int precision;
    int scale;
    int64_t definedSize;
};

// Row A1: Costo 1234.5678 (money), Margen 0.123456 (decimal(18,6)), Stock 5
// (int), Alta 2024-03-01 10:15:30.250, IdArticulo 'A1' (varchar(20)).
const TypeCase kCases[] = {
    {"ConvertToDecimal", "CONVERT(Decimal(14,2),[Costo])", adNumeric, 14, 2, 19},
    {"CastToNumeric", "CAST(Costo AS numeric(10,4))", adNumeric, 10, 4, 19},
    {"ConvertToDecimalWithoutSize", "CONVERT(decimal, Stock)", adNumeric, 18, 0, 19},
    {"ConvertToMoney", "CONVERT(money, Stock)", adCurrency, 19, 4, 8},
    {"CastToInt", "CAST(Costo AS int)", adInteger, 10, 0, 4},
    {"CastToSmallint", "CAST(Stock AS smallint)", adSmallInt, 5, 0, 2},
    {"CastToTinyint", "CAST(Stock AS tinyint)", adTinyInt, 3, 0, 1},
    {"CastToBigint", "CAST(Stock AS bigint)", adBigInt, 19, 0, 8},
    {"CastToBit", "CAST(Stock AS bit)", adBoolean, 0, 0, 2},
    {"CastToFloat", "CAST(Stock AS float)", adDouble, 15, 0, 8},
    {"ConvertToDatetime", "CONVERT(datetime, '01/02/2024')", adDBTimeStamp, 23, 3, 16},
    {"ConvertToVarchar", "CONVERT(varchar(10), IdArticulo)", adVarChar, 0, 0, 10},
    {"ConvertToNvarchar", "CONVERT(nvarchar(20), Stock)", adVarWChar, 0, 0, 20},
    {"DateAsTheGridShowsIt", "CONVERT(NVARCHAR,[Alta],103)", adVarWChar, 0, 0, 30},
    {"WholeTimesWhole", "Stock * 2", adInteger, 10, 0, 4},
    {"WholeTimesDecimal", "Stock * 1.5", adNumeric, 13, 1, 19},
    {"MoneyTimesWhole", "Costo * 2", adCurrency, 19, 4, 8},
    {"MoneyTimesDecimal", "Costo * 1.5", adNumeric, 22, 5, 19},
    {"MoneyByDecimal", "Costo / 3.0", adNumeric, 23, 7, 19},
    {"DecimalPlusWhole", "Margen + 1", adNumeric, 19, 6, 19},
    {"WholePlusFloat", "Stock + 0.5e0", adDouble, 15, 0, 8},
    {"MoneyOrZero", "CASE WHEN Stock > 0 THEN Costo ELSE 0 END", adCurrency, 19, 4, 8},
    {"DecimalOrZero", "ISNULL(Margen, 0)", adNumeric, 18, 6, 19},
    {"BatchIdentity", "SCOPE_IDENTITY()", adNumeric, 38, 0, 19},
    {"SessionIdentity", "@@IDENTITY", adNumeric, 38, 0, 19},
    // What the program's own statements read keeps the types it had.
    {"Count", "COUNT(*)", adInteger, 10, 0, 4},
    {"LatestDate", "MAX(Alta)", adDBTimeStamp, 23, 3, 16},
    {"SumOfMoney", "SUM(Costo)", adCurrency, 19, 4, 8},
    {"TrimmedText", "LTRIM(RTRIM(IdArticulo))", adVarWChar, 0, 0, 2},
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
    *os << c.expression;
}

class ExpressionTypes : public dbtest::CatalogueTest, public ::testing::WithParamInterface<TypeCase>
{
};

TEST_P(ExpressionTypes, AreTheTypesSqlServerGivesThem)
{
    const TypeCase& c = GetParam();
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT %1 AS x FROM Articulos WHERE IdArticulo = 'A1'").arg(QLatin1String(c.expression)),
             cn.get(), adOpenForwardOnly, adLockReadOnly, adCmdText);
    ASSERT_FALSE(rs->Eof());
    const Field x = rs->Fields(QStringLiteral("x"));
    EXPECT_EQ(x.Type(), c.type);
    EXPECT_EQ(x.Precision(), c.precision);
    EXPECT_EQ(x.NumericScale(), c.scale);
    EXPECT_EQ(x.DefinedSize(), c.definedSize);
}

INSTANTIATE_TEST_SUITE_P(Expressions, ExpressionTypes, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TypeCase>& p) { return std::string(p.param.name); });

class DecimalColumns : public dbtest::CatalogueTest
{
};

TEST_F(DecimalColumns, ReadTheirAmountsExactly)
{
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT CONVERT(Decimal(14,2),[Costo]) AS [Costo], Costo / 3.0 AS Tercio FROM Articulos "
                            "WHERE IdArticulo IN ('A1', 'A2') ORDER BY IdArticulo"),
             cn.get(), adOpenForwardOnly, adLockReadOnly, adCmdText);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->value(QStringLiteral("Costo")), Variant(*Currency::parse(QStringLiteral("1234.57"))));
    EXPECT_EQ(rs->value(QStringLiteral("Tercio")).toDouble(), 411.5226);
    rs->MoveNext();
    EXPECT_EQ(rs->value(QStringLiteral("Costo")), Variant(*Currency::parse(QStringLiteral("0.1"))));
    EXPECT_EQ(rs->value(QStringLiteral("Tercio")).toDouble(), 0.0333333);
}

} // namespace
