// A statement of the embedded engine that waits for a lock held by another
// connection keeps the window live, within the command time-out.
#include "DbTestSupport.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedFixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

using namespace platform::db;
using dbtest::raised;
using platform::Variant;

namespace {

class LockWait : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.createDatabase(QStringLiteral("Ventas"), dbtest::catalogueScript());
        cn = server.open(QStringLiteral("Ventas"));
        other = server.open(QStringLiteral("Ventas"));
        other->Execute(QStringLiteral("BEGIN TRANSACTION"));
        other->Execute(QStringLiteral("update Articulos set Stock = 7 where IdArticulo = 'A2'"));
    }

    testing_support::EmbeddedFixture server;
    std::unique_ptr<Connection> cn;
    std::unique_ptr<Connection> other;
};

TEST_F(LockWait, WindowEventsRunWhileTheStatementWaitsAndItGoesOnWhenTheLockIsReleased)
{
    cn->setCommandTimeout(10);
    QObject context;
    bool fired = false;
    QTimer::singleShot(300, &context, [&] {
        fired = true;
        other->Execute(QStringLiteral("COMMIT TRANSACTION"));
    });
    QElapsedTimer clock;
    clock.start();
    int64_t affected = 0;
    cn->Execute(QStringLiteral("update Articulos set Stock = 1 where IdArticulo = 'A1'"), &affected);
    EXPECT_TRUE(fired);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(affected, 1);
    EXPECT_EQ(cn->Execute(QStringLiteral("select Stock from Articulos where IdArticulo = 'A2'"))->value(0),
              Variant(int64_t(7)));
}

TEST_F(LockWait, TheWaitEndsAtTheCommandTimeoutWithTheWindowLive)
{
    cn->setCommandTimeout(1);
    QObject context;
    int ticks = 0;
    QTimer timer(&context);
    QObject::connect(&timer, &QTimer::timeout, &context, [&] { ++ticks; });
    timer.start(100);
    QElapsedTimer clock;
    clock.start();
    const ErrorInfo e = raised([&] { cn->Execute(QStringLiteral("update Articulos set Stock = 1")); });
    EXPECT_EQ(e.Number, adErr::Timeout);
    EXPECT_EQ(e.Description, QStringLiteral("Lock request time out period exceeded."));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_GE(ticks, 5);
    other->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
}

TEST_F(LockWait, AStatementSentOnTheWaitingConnectionFromAWindowEventIsRefused)
{
    cn->setCommandTimeout(10);
    QObject context;
    ErrorInfo refused;
    QTimer::singleShot(200, &context, [&] {
        refused = raised([&] { cn->Execute(QStringLiteral("select count(*) from Articulos")); });
        other->Execute(QStringLiteral("COMMIT TRANSACTION"));
    });
    int64_t affected = 0;
    cn->Execute(QStringLiteral("update Articulos set Stock = 1 where IdArticulo = 'A1'"), &affected);
    EXPECT_EQ(refused.Number, adErr::OperationNotAllowed);
    EXPECT_EQ(refused.Description, QStringLiteral("Connection is busy with results for another command"));
    EXPECT_EQ(affected, 1);
}

} // namespace
