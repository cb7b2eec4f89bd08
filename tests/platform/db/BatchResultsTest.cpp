// The results of a batch as ADO meets them: each query's rows and, with
// counts on, each write's count, one record set after another.
#include "DbTestSupport.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace platform::db;

namespace {

class BatchResultsTest : public dbtest::CatalogueTest
{
protected:
    // What a record set shows: "closed N" (N the count NextRecordset gave),
    // or its rows, each field's text joined by "|".
    static QString shown(Recordset& rs, int64_t affected)
    {
        if (rs.State() != adStateOpen)
            return QStringLiteral("closed %1").arg(affected);
        QStringList rows;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.FieldCount(); ++i)
                fields << rs.value(i).toText();
            rows << fields.join(u'|');
        }
        return rows.join(u',');
    }

    // Each result of a record set and of those NextRecordset gives after it.
    static QStringList results(std::shared_ptr<Recordset> rs, int64_t firstAffected)
    {
        QStringList out{shown(*rs, firstAffected)};
        int64_t affected = -2;
        while ((rs = rs->NextRecordset(&affected)))
            out << shown(*rs, affected);
        EXPECT_EQ(affected, -1) << "the count given with the end of the results";
        return out;
    }

    QStringList executed(const QString& batch)
    {
        int64_t affected = -2;
        std::shared_ptr<Recordset> rs = cn->Execute(batch, &affected);
        return results(std::move(rs), affected);
    }
};

TEST_F(BatchResultsTest, WithCountsOnAWriteBeforeAQueryIsAClosedResultAndTheRowsComeNext)
{
    struct BatchCase
    {
        const char* batch;
        QStringList results;
    };
    const BatchCase cases[] = {
        {"UPDATE Articulos SET Stock = 7 WHERE IdArticulo = 'A1' SELECT IdArticulo, Stock FROM Articulos WHERE Stock = "
         "7",
         {"closed 1", "A1|7"}},
        // The batch's count is the rows its writes changed; each later result gives its own.
        {"DELETE Listas WHERE IdLista = 'L1'\r\nINSERT INTO Listas VALUES ('L2', 'A2', 10)\r\nSELECT IdLista FROM "
         "Listas\r\nSELECT COUNT(*) FROM Listas WHERE IdLista = 'L1'",
         {"closed 2", "closed 1", "L2", "0"}},
        {"SELECT IdArticulo FROM Articulos WHERE IdArticulo = 'A3'; UPDATE Articulos SET Stock = 1 WHERE Stock IS NULL",
         {"A3", "closed 1"}},
        // A write that matches nothing still reports its count.
        {"UPDATE Articulos SET Stock = 1 WHERE IdArticulo = 'Z9' SELECT COUNT(*) FROM Articulos", {"closed 0", "3"}},
        // Statements that count nothing give no result of their own.
        {"BEGIN TRANSACTION SELECT 1 COMMIT TRANSACTION", {"1"}},
        {"SET NOCOUNT OFF", {"closed -1"}},
    };
    for (const BatchCase& c : cases)
        EXPECT_EQ(executed(QString::fromUtf8(c.batch)), c.results) << c.batch;
}

TEST_F(BatchResultsTest, WithCountsOffTheWritesGiveNoResults)
{
    EXPECT_EQ(executed(QStringLiteral("SET NOCOUNT ON UPDATE Articulos SET Stock = 8 WHERE IdArticulo = 'A2' SELECT "
                                      "IdArticulo, Stock FROM Articulos WHERE Stock = 8")),
              (QStringList{QStringLiteral("A2|8")}));
    EXPECT_EQ(executed(QStringLiteral("DELETE Listas")), QStringList{QStringLiteral("closed -1")});
    EXPECT_EQ(executed(QStringLiteral("SET NOCOUNT OFF DELETE Listas")), QStringList{QStringLiteral("closed 0")});
}

TEST_F(BatchResultsTest, ARecordSetOpenedOnABatchReachesItsLaterResults)
{
    Recordset rs;
    rs.Open(QStringLiteral("UPDATE Articulos SET Stock = 9 WHERE IdArticulo = 'A3' SELECT Stock FROM Articulos WHERE "
                           "IdArticulo = 'A3'"),
            cn.get());
    EXPECT_EQ(rs.State(), adStateClosed);
    int64_t affected = -2;
    const std::shared_ptr<Recordset> rows = rs.NextRecordset(&affected);
    ASSERT_TRUE(rows);
    EXPECT_EQ(shown(*rows, affected), QStringLiteral("9"));
    // The results moved on: the first record set has none left.
    EXPECT_EQ(rs.NextRecordset(), nullptr);
    EXPECT_EQ(rows->NextRecordset(), nullptr);
    EXPECT_EQ(rows->State(), adStateClosed);
}

TEST_F(BatchResultsTest, AProcedureGivesItsResultsAsABatchDoes)
{
    server.createDatabase(QStringLiteral("Procedimientos"), dbtest::catalogueScript() + QStringLiteral(R"(
CREATE TABLE TSQL_PROCEDURES (NAME varchar(128) COLLATE SQLSERVER NOT NULL PRIMARY KEY, DEFINITION text NOT NULL);
INSERT INTO TSQL_PROCEDURES VALUES ('sp_reponer', 'CREATE PROCEDURE sp_reponer @Id varchar(20) AS
UPDATE Articulos SET Stock = 10 WHERE IdArticulo = @Id
SELECT IdArticulo, Stock FROM Articulos WHERE Stock = 10');
)"));
    cn = server.open(QStringLiteral("Procedimientos"));
    Command cmd;
    cmd.setActiveConnection(cn.get());
    cmd.setCommandType(adCmdStoredProc);
    cmd.setCommandText(QStringLiteral("sp_reponer"));
    cmd.Parameters().Append(
        cmd.CreateParameter(QStringLiteral("@Id"), adVarChar, adParamInput, 20, platform::Variant(u"A2")));
    int64_t affected = -2;
    std::shared_ptr<Recordset> rs = cmd.Execute(&affected);
    EXPECT_EQ(results(std::move(rs), affected), (QStringList{QStringLiteral("closed 1"), QStringLiteral("A2|10")}));
}

} // namespace
