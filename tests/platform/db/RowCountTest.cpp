// RecordsAffected as ADO gives it: the rows a statement changed, or -1 when
// the server does not report them.
#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <gtest/gtest.h>

using namespace platform::db;

namespace {

class RowCountTest : public dbtest::CatalogueTest
{
protected:
    int64_t affected(const QString& sql)
    {
        int64_t n = -2;
        cn->Execute(sql, &n);
        return n;
    }
};

TEST_F(RowCountTest, NoCountOnLeavesTheCountUnknownForTheRestOfTheSession)
{
    EXPECT_EQ(affected(QStringLiteral("update Articulos set Stock = 1 where IdArticulo = 'Z9'")), 0);
    EXPECT_EQ(affected(QStringLiteral("SET NOCOUNT ON\r\nupdate Articulos set Stock = 1")), -1);
    EXPECT_EQ(affected(QStringLiteral("update Articulos set Stock = 2")), -1);
    EXPECT_EQ(affected(QStringLiteral("SET NOCOUNT OFF")), -1);
    EXPECT_EQ(affected(QStringLiteral("update Articulos set Stock = 3")), 3);
    // A new session starts with counts on.
    cn->Execute(QStringLiteral("SET NOCOUNT ON"));
    cn->Close();
    cn->Open(server.connectionString(QStringLiteral("Ventas")));
    EXPECT_EQ(affected(QStringLiteral("update Articulos set Stock = 4")), 3);
}

TEST_F(RowCountTest, AWriteToAViewThroughItsTriggerHasAnUnknownCount)
{
    server.createDatabase(QStringLiteral("Vistas"), dbtest::catalogueScript() + QStringLiteral(R"(
CREATE TRIGGER V_Activos_Update INSTEAD OF UPDATE ON V_Activos
BEGIN
  UPDATE Articulos SET Descripcion = NEW.Descripcion WHERE IdArticulo = OLD.IdArticulo;
END;
)"));
    cn = server.open(QStringLiteral("Vistas"));
    EXPECT_EQ(affected(QStringLiteral("update V_Activos set Descripcion = 'Mate' where IdArticulo = 'A1'")), -1);
    EXPECT_EQ(cn->Execute(QStringLiteral("select Descripcion from Articulos where IdArticulo = 'A1'"))->value(0),
              platform::Variant(u"Mate"));
    // The table itself counts its rows.
    EXPECT_EQ(affected(QStringLiteral("update Articulos set Descripcion = 'Yerba' where IdArticulo = 'A1'")), 1);
}

} // namespace
