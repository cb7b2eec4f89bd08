// Literals take the type of the column they meet, from the data base's own
// tables: also after another connection changed them, and where a derived
// table hides the column's type from the statement.
#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

using namespace platform::db;
using platform::Variant;

namespace {

class TypedLiteralsTest : public dbtest::CatalogueTest
{
protected:
    Variant scalar(Connection& c, const QString& sql) { return c.Execute(sql)->value(0); }
};

TEST_F(TypedLiteralsTest, AColumnAnotherConnectionAddedTakesItsTypeAtOnce)
{
    EXPECT_EQ(scalar(*cn, QStringLiteral("select count(*) from Articulos")), Variant(int64_t(3)));
    auto other = server.open(QStringLiteral("Ventas"));
    other->Execute(QStringLiteral("ALTER TABLE Articulos ADD Vence datetime NULL"));
    cn->Execute(QStringLiteral("update Articulos set Vence = '31/12/25' where IdArticulo = 'A1'"));
    EXPECT_EQ(scalar(*cn, QStringLiteral("select Vence from Articulos where IdArticulo = 'A1'")),
              Variant(platform::DateTime(QDate(2025, 12, 31), QTime(0, 0))));
    EXPECT_EQ(scalar(*cn, QStringLiteral("select count(*) from Articulos where Vence = '2025-12-31'")),
              Variant(int64_t(1)));
}

TEST_F(TypedLiteralsTest, ADerivedTablesDateTimeTakesTheLiteralAsADateTime)
{
    // The outer statement cannot see the type of the derived column: the
    // value shows it when the statement runs.
    EXPECT_EQ(scalar(*cn, QStringLiteral("select count(*) from (select Alta as F, Notas from Articulos) X "
                                         "where F >= '01/03/2024 12:00'")),
              Variant(int64_t(1)));
    EXPECT_EQ(scalar(*cn, QStringLiteral("select count(*) from (select Alta as F, Notas from Articulos) X "
                                         "where Notas = '01/03/2024'")),
              Variant(int64_t(0)));
    const ErrorInfo e = dbtest::raised([&] {
        cn->Execute(QStringLiteral("select count(*) from (select Alta as F from Articulos) X where F = '31/02/2024'"));
    });
    EXPECT_EQ(e.NativeError, 242);
    EXPECT_EQ(e.Number, adErr::TypeMismatch);
}

} // namespace
