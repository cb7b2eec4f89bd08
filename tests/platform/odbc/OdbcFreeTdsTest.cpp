// A real FreeTDS connection to a local port whose listener accepts the
// connection and closes it at once: the lost link the program recognises.
#include "platform/db/odbc/OdbcBackend.h"

#include "support/LoopbackListener.h"

#include <gtest/gtest.h>

using namespace platform::db;
using testing_support::freeTdsInstalled;
using testing_support::LoopbackListener;

namespace {

// Opens (and, should the open succeed, runs a statement) through the SQL
// Server provider; returns the number raised.
int32_t openSqlServer(const QString& server, std::vector<ErrorInfo>& errors, int connectTimeout = 3)
{
    // The password holds a ";", as a typed one may; the short login time-out bounds the wait.
    const QString text =
        QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =Precios;UId=demo;Pwd={a;b};Connect Timeout=%2;")
            .arg(server)
            .arg(connectTimeout);
    OpenParams params;
    params.connectionString = text;
    params.parsed = ConnectionString::parse(text);
    auto backend = odbc::createOdbcBackend(params.parsed);
    try {
        backend->open(params, errors);
        backend->execute(QStringLiteral("SELECT 1"), errors);
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

void expectLostLink(const std::vector<ErrorInfo>& errors, const QString& state, const QString& server)
{
    ASSERT_FALSE(errors.empty()) << server.toStdString();
    EXPECT_EQ(errors.front().SQLState, state) << server.toStdString();
    for (const ErrorInfo& e : errors) {
        EXPECT_TRUE(e.SQLState.startsWith(u"08")) << e.SQLState.toStdString();
        EXPECT_EQ(e.NativeError, native::LostLink);
        EXPECT_EQ(e.Number, adErr::Generic);
        EXPECT_EQ(e.Source, u"Microsoft OLE DB Provider for SQL Server");
        EXPECT_FALSE(e.Description.startsWith(u'[')) << e.Description.toStdString();
    }
}

TEST(OdbcFreeTds, AConnectionClosedByTheServerIsALostLink)
{
    if (!freeTdsInstalled()) {
        GTEST_SKIP() << "the FreeTDS ODBC driver is not installed";
    }
    LoopbackListener listener(LoopbackListener::Mode::Close);
    ASSERT_NE(listener.port(), 0);
    // Both ways the program writes a port. FreeTDS reports a link closed
    // during the login as "Unable to connect to data source" (08001).
    for (const QString& form : {QStringLiteral("127.0.0.1,%1"), QStringLiteral("127.0.0.1:%1")}) {
        const QString server = form.arg(listener.port());
        std::vector<ErrorInfo> errors;
        EXPECT_EQ(openSqlServer(server, errors), adErr::Generic) << server.toStdString();
        expectLostLink(errors, QStringLiteral("08001"), server);
    }
    EXPECT_GE(listener.accepted(), 2);
}

TEST(OdbcFreeTds, ARefusedConnectionIsALostLink)
{
    if (!freeTdsInstalled()) {
        GTEST_SKIP() << "the FreeTDS ODBC driver is not installed";
    }
    const int port = testing_support::refusingLoopbackPort();
    ASSERT_NE(port, 0);
    const QString server = QStringLiteral("127.0.0.1,%1").arg(port);
    std::vector<ErrorInfo> errors;
    EXPECT_EQ(openSqlServer(server, errors), adErr::Generic);
    expectLostLink(errors, QStringLiteral("08S01"), server);
}

TEST(OdbcFreeTds, ConnectTimeoutBoundsTheLoginToASilentServer)
{
    if (!freeTdsInstalled()) {
        GTEST_SKIP() << "the FreeTDS ODBC driver is not installed";
    }
    LoopbackListener listener(LoopbackListener::Mode::Hold);
    ASSERT_NE(listener.port(), 0);
    std::vector<ErrorInfo> errors;
    EXPECT_EQ(openSqlServer(QStringLiteral("127.0.0.1:%1").arg(listener.port()), errors, 1), adErr::Timeout);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].SQLState, u"HYT00");
    EXPECT_EQ(errors[0].Number, adErr::Timeout);
    EXPECT_EQ(errors[1].SQLState, u"08001");
    EXPECT_EQ(errors[1].NativeError, native::LostLink);
    EXPECT_EQ(listener.accepted(), 1);
}

} // namespace
