// Money kept in an embedded file: written by a statement's literal, by a
// procedure's bound value and by a record set's field, and read back by a
// record set and by a conversion to text.
#include "DbTestSupport.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace platform::db;
using platform::Currency;
using platform::Variant;

namespace {

struct MoneyCase
{
    const char* name;
    int64_t units;    // the amount in ten-thousandths
    const char* text; // as written in a statement
};

// Exact to the ten-thousandth up to 2^39 (about 5.5 x 10^11); the ends of
// money's range, whose nearest doubles lie just beyond it, read back as the ends.
const MoneyCase kCases[] = {
    {"Highest", std::numeric_limits<int64_t>::max(), "922337203685477.5807"},
    {"Lowest", std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
    {"NineHundredThousandMillions", 9000000000000001, "900000000000.0001"},
    {"TwelveDigits", 1234567890123456, "123456789012.3456"},
};

class MoneyStorage : public ::testing::TestWithParam<MoneyCase>
{
protected:
    void SetUp() override
    {
        server.createDatabase(QStringLiteral("Ventas"), dbtest::catalogueScript() + QStringLiteral(R"(
CREATE TABLE TSQL_PROCEDURES (NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, DEFINITION text NOT NULL);
INSERT INTO TSQL_PROCEDURES VALUES ('sp_costo', 'CREATE PROCEDURE sp_costo @Costo money AS
UPDATE Articulos SET Costo = @Costo WHERE IdArticulo = ''A2''');
)"));
        cn = server.open(QStringLiteral("Ventas"));
    }

    // The cost of A2 as a record set reads it, and as its text with four decimals.
    void expectStored(const Currency& amount, const QString& text)
    {
        auto rs = cn->Execute(
            QStringLiteral("SELECT Costo, CONVERT(varchar(30), Costo, 2) FROM Articulos WHERE IdArticulo = 'A2'"));
        EXPECT_EQ(rs->value(0), Variant(amount));
        EXPECT_EQ(rs->value(1).toText(), text);
    }

    testing_support::EmbeddedFixture server;
    std::unique_ptr<Connection> cn;
};

TEST_P(MoneyStorage, ALiteralIsKept)
{
    const MoneyCase& c = GetParam();
    cn->Execute(QStringLiteral("UPDATE Articulos SET Costo = %1 WHERE IdArticulo = 'A2'").arg(QLatin1String(c.text)));
    expectStored(Currency::fromUnits(c.units), QLatin1String(c.text));
}

TEST_P(MoneyStorage, ABoundValueIsKept)
{
    const MoneyCase& c = GetParam();
    Command cmd;
    cmd.setActiveConnection(cn.get());
    cmd.setCommandType(adCmdStoredProc);
    cmd.setCommandText(QStringLiteral("sp_costo"));
    cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@Costo"), adCurrency, adParamInput, 8,
                                                Variant(Currency::fromUnits(c.units))));
    cmd.Execute();
    expectStored(Currency::fromUnits(c.units), QLatin1String(c.text));
}

TEST_P(MoneyStorage, AFieldIsKept)
{
    const MoneyCase& c = GetParam();
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("select IdArticulo, Costo from Articulos where IdArticulo = 'A2'"), cn.get(), adOpenDynamic,
             adLockOptimistic, -1);
    rs->Fields(QStringLiteral("Costo")).setValue(Currency::fromUnits(c.units));
    rs->Update();
    rs->Close();
    expectStored(Currency::fromUnits(c.units), QLatin1String(c.text));
}

INSTANTIATE_TEST_SUITE_P(Amounts, MoneyStorage, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<MoneyCase>& p) { return std::string(p.param.name); });

} // namespace
