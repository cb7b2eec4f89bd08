// ADO's numbers and type codes for what ODBC drivers report.
#include "platform/db/odbc/OdbcInternal.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::db;
using namespace platform::db::odbc;

namespace {

TEST(OdbcMapping, DiagnosticsGetTheProvidersNumbers)
{
    struct Case
    {
        const char* state;
        bool fromStatement;
        int32_t nativeIn;
        int32_t number;
        int32_t nativeOut;
    };
    const Case cases[] = {
        {"08S01", true, 20004, adErr::Generic, native::LostLink},
        {"08001", false, 0, adErr::Generic, native::LostLink},
        {"HYT00", true, 0, adErr::Timeout, 0},
        {"HYT01", false, 0, adErr::Timeout, 0},
        {"42S02", true, 208, adErr::NoSuchObject, 208},
        {"42S22", true, 207, adErr::Syntax, 207},
        {"42000", true, 102, adErr::Syntax, 102},
        {"37000", true, 170, adErr::Syntax, 170},
        {"22007", true, 241, adErr::TypeMismatch, 241},
        {"22012", true, 8134, adErr::TypeMismatch, 8134},
        {"23000", true, 2627, adErr::Constraint, 2627},
        {"28000", false, 18456, adErr::AuthenticationFailed, 18456},
        {"40001", true, 1205, adErr::Syntax, 1205},
        {"HY000", true, 1, adErr::Syntax, 1},
        {"HY000", false, 0, adErr::Generic, 0},
        {"IM002", false, 0, adErr::Generic, 0},
    };
    for (const Case& c : cases) {
        const auto entry = diagnosticEntry(QString::fromLatin1(c.state), c.nativeIn, QStringLiteral("texto"),
                                           QStringLiteral("origen"), false, c.fromStatement);
        ASSERT_TRUE(entry.has_value()) << c.state;
        EXPECT_EQ(entry->Number, c.number) << c.state;
        EXPECT_EQ(entry->NativeError, c.nativeOut) << c.state;
        EXPECT_EQ(entry->SQLState, QString::fromLatin1(c.state));
        EXPECT_EQ(entry->Source, u"origen");
    }
}

TEST(OdbcMapping, InformationalRecordsStayOut)
{
    EXPECT_FALSE(diagnosticEntry(QStringLiteral("01000"), 5701,
                                 QStringLiteral("[FreeTDS][SQL Server]Changed database context to 'Precios'."), {},
                                 true, true));
    EXPECT_FALSE(
        diagnosticEntry(QStringLiteral("01004"), 0, QStringLiteral("String data, right truncated"), {}, true, true));
    EXPECT_FALSE(diagnosticEntry(QStringLiteral("HY000"), 5701, QStringLiteral("Changed database context to 'x'."), {},
                                 true, true));
}

TEST(OdbcMapping, VendorPrefixesAreStrippedWhenAsked)
{
    const QString text = QStringLiteral("[FreeTDS][SQL Server]Invalid object name 'V_MA_ARTICULOS'.");
    EXPECT_EQ(diagnosticEntry(QStringLiteral("42S02"), 208, text, {}, true, true)->Description,
              u"Invalid object name 'V_MA_ARTICULOS'.");
    EXPECT_EQ(diagnosticEntry(QStringLiteral("42S02"), 208, text, {}, false, true)->Description, text);
}

TEST(OdbcMapping, SqlTypesGetAdoTypeCodes)
{
    struct Case
    {
        SqlColumn column;
        DataTypeEnum ado;
    };
    const Case cases[] = {
        {{SQL_INTEGER, 10, 0, {}}, adInteger},
        {{SQL_SMALLINT, 5, 0, {}}, adSmallInt},
        {{SQL_TINYINT, 3, 0, {}}, adTinyInt},
        {{SQL_BIGINT, 19, 0, {}}, adBigInt},
        {{SQL_DOUBLE, 15, 0, {}}, adDouble},
        {{SQL_FLOAT, 15, 0, {}}, adDouble},
        {{SQL_REAL, 7, 0, {}}, adDouble},
        {{SQL_DECIMAL, 19, 4, QStringLiteral("money")}, adCurrency},
        {{SQL_DECIMAL, 10, 4, QStringLiteral("smallmoney")}, adCurrency},
        {{SQL_DECIMAL, 19, 4, QStringLiteral("decimal")}, adNumeric},
        {{SQL_DECIMAL, 19, 4, {}}, adCurrency},
        {{SQL_NUMERIC, 18, 2, QStringLiteral("numeric")}, adNumeric},
        {{SQL_BIT, 1, 0, {}}, adBoolean},
        {{SQL_TYPE_TIMESTAMP, 23, 3, {}}, adDBTimeStamp},
        {{SQL_VARCHAR, 50, 0, {}}, adVarChar},
        {{SQL_WVARCHAR, 50, 0, {}}, adVarWChar},
        {{SQL_CHAR, 4, 0, {}}, adChar},
        {{SQL_WCHAR, 4, 0, {}}, adWChar},
        {{SQL_LONGVARCHAR, 0, 0, {}}, adLongVarChar},
        {{SQL_WLONGVARCHAR, 0, 0, {}}, adLongVarWChar},
        {{SQL_VARBINARY, 10, 0, {}}, adVarBinary},
        {{SQL_LONGVARBINARY, 0, 0, {}}, adLongVarBinary},
        {{-152, 0, 0, QStringLiteral("xml")}, adVarWChar},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(adoTypeOf(c.column), c.ado) << c.column.sqlType << " " << c.column.typeName.toStdString();
    }
}

TEST(OdbcMapping, ExactNumbersNeverPassThroughADouble)
{
    struct Case
    {
        const char* text;
        DataTypeEnum type;
        int scale;
        Variant value;
    };
    const Case cases[] = {
        {"1234.5678", adCurrency, 4, Variant(Currency::fromUnits(12345678))},
        {"-0.0001", adCurrency, 4, Variant(Currency::fromUnits(-1))},
        {"922337203685477.5807", adCurrency, 4, Variant(Currency::fromUnits(INT64_MAX))},
        {"12", adCurrency, 4, Variant(Currency::fromInt(12))},
        {"10.25", adNumeric, 2, Variant(Currency::fromUnits(102500))},
        {"123456789012345678", adNumeric, 0, Variant(int64_t(123456789012345678))},
        {"0.125", adNumeric, 6, Variant(0.125)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exactNumber(QString::fromLatin1(c.text), c.type, c.scale), c.value) << c.text;
    }
}

} // namespace
