// A connection prepares each statement once and binds the values of its
// literals: the values stored, the statements prepared before a change of the
// schema and the errors reported are those of the statements written out.
#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"
#include "support/RawSqlite.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace platform::db;
using platform::Variant;

namespace {

class PreparedStatements : public dbtest::CatalogueTest
{
protected:
    QString file() const { return QDir(server.folder()).filePath(QStringLiteral("Ventas.sqlite")); }
};

TEST_F(PreparedStatements, StoreWhatTheirLiteralsWrittenOutStore)
{
    struct Write
    {
        const char* set;
        const char* stored; // quote() of Costo, Stock, Alta, Descripcion
    };
    const Write writes[] = {
        {"Costo = 5, Stock = 2, Alta = '05/03/2024', Descripcion = 7", "5\t2\t'2024-03-05 00:00:00'\t'7'"},
        {"Costo = 5.5, Stock = '3', Alta = '2024-03-05 10:30', Descripcion = 'x'",
         "5.5\t3\t'2024-03-05 10:30:00'\t'x'"},
        {"Costo = '7', Stock = 4.9, Alta = '31/12/99', Descripcion = 0.50", "7\t4\t'1999-12-31 00:00:00'\t'0.50'"},
        {"Costo = 1e2, Stock = 0, Alta = NULL, Descripcion = ''", "100\t0\tNULL\t''"},
        {"Costo = 12.34567, Stock = 1, Alta = '2024-03-05', Descripcion = 'y'",
         "12.3457\t1\t'2024-03-05 00:00:00'\t'y'"},
    };
    for (const Write& w : writes) {
        int64_t affected = 0;
        cn->Execute(QStringLiteral("UPDATE Articulos SET ") + QLatin1String(w.set) +
                        QStringLiteral(" WHERE IdArticulo = 'a1'"),
                    &affected);
        EXPECT_EQ(affected, 1) << w.set;
        EXPECT_EQ(testing_support::rawRows(file(), QStringLiteral("SELECT quote(Costo), quote(Stock), quote(Alta), "
                                                                  "quote(Descripcion) FROM Articulos WHERE "
                                                                  "IdArticulo = 'A1'")),
                  QStringList{QLatin1String(w.stored)})
            << w.set;
        EXPECT_EQ(cn->Execute(QStringLiteral("SELECT COUNT(*) FROM Articulos WHERE Costo = ") +
                              QString::fromLatin1(w.stored).section(u'\t', 0, 0))
                      ->value(0),
                  Variant(int64_t(1)))
            << w.set;
    }
}

TEST_F(PreparedStatements, AStatementPreparedBeforeAChangeOfTheSchemaReadsTheNewOne)
{
    const QString sql = QStringLiteral("SELECT * FROM Listas WHERE IdLista = 'L1'");
    EXPECT_EQ(cn->Execute(sql)->FieldCount(), 3);
    cn->Execute(QStringLiteral("ALTER TABLE Listas ADD Nota varchar(10) NULL"));
    EXPECT_EQ(cn->Execute(sql)->FieldCount(), 4);

    // Another connection's change shows at the next statement.
    auto other = server.open(QStringLiteral("Ventas"));
    other->Execute(QStringLiteral("DROP TABLE Listas"));
    other->Execute(QStringLiteral("CREATE TABLE Listas (IdLista varchar(4), Alta datetime)"));
    other->Execute(QStringLiteral("INSERT INTO Listas (IdLista, Alta) VALUES ('L1', '05/03/2024')"));
    auto rs = cn->Execute(sql);
    EXPECT_EQ(rs->FieldCount(), 2);
    EXPECT_EQ(rs->value(1), Variant(platform::DateTime(QDate(2024, 3, 5), QTime(0, 0))));
    EXPECT_EQ(cn->Execute(QStringLiteral("SELECT COUNT(*) FROM Listas WHERE Alta = '2024-03-05'"))->value(0),
              Variant(int64_t(1)));
}

TEST_F(PreparedStatements, AFaultNearALiteralNamesTheLiteralAsWritten)
{
    for (const char* literal : {"'x'", "'y'"}) {
        const ErrorInfo e = dbtest::raised([&] {
            cn->Execute(QStringLiteral("select * from Articulos where Stock %1 = Notas").arg(QLatin1String(literal)));
        });
        EXPECT_EQ(e.NativeError, 102);
        EXPECT_EQ(e.Description, QStringLiteral("Incorrect syntax near '%1'.").arg(QLatin1String(literal)));
    }
}

TEST_F(PreparedStatements, TextsOfAnyLengthAndAlphabetAreBoundAsWritten)
{
    cn->Execute(QStringLiteral("UPDATE Articulos SET Descripcion = 'ñandú' WHERE IdArticulo = 'a1'"));
    const QString longText(300, u'z');
    const struct
    {
        QString where;
        int64_t count;
    } reads[] = {
        {QStringLiteral("Descripcion = 'ñandú'"), 1},
        {QStringLiteral("Descripcion = 'ñandu'"), 0},
        // The texts after one that overflows the binder's own room.
        {QStringLiteral("Descripcion = '") + longText + QStringLiteral("' OR Descripcion = 'ñandú'"), 1},
        {QStringLiteral("Descripcion = '' OR Descripcion = 'ñandú'"), 1},
    };
    for (const auto& read : reads) {
        EXPECT_EQ(cn->Execute(QStringLiteral("SELECT COUNT(*) FROM Articulos WHERE ") + read.where)->value(0),
                  Variant(read.count))
            << read.where.left(60).toStdString();
    }
    // A record set that can write back reads its rows with the same binding.
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT * FROM Articulos WHERE Descripcion = 'ñandú'"), cn.get(), adOpenForwardOnly,
             adLockOptimistic);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->value(QStringLiteral("IdArticulo")), Variant(QStringLiteral("A1")));
}

} // namespace
