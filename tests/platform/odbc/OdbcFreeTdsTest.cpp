// A real FreeTDS connection to a local port whose listener accepts the
// connection and closes it at once: the lost link the system recognises.
#include "platform/db/odbc/OdbcBackend.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace platform::db;

namespace {

// Listens on 127.0.0.1 on a free port; closes every connection it accepts
// at once, or holds it open without ever answering.
class Listener
{
public:
    enum class Mode { Close, Hold };
    explicit Listener(Mode mode)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(m_socket, 8) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, mode] {
            while (!m_stop) {
                pollfd p{m_socket, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0) {
                    const int client = ::accept(m_socket, nullptr, nullptr);
                    if (client >= 0) {
                        ++m_accepted;
                        if (mode == Mode::Close) {
                            ::close(client);
                        } else {
                            m_held.push_back(client);
                        }
                    }
                }
            }
        });
    }
    ~Listener()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        for (const int client : m_held) {
            ::close(client);
        }
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }
    int port() const { return m_port; }
    int accepted() const { return m_accepted; }

private:
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
    std::vector<int> m_held; // only the listening thread touches it until the join
    std::thread m_thread;
};

// A port on 127.0.0.1 where nothing listens.
int refusingPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

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

bool freeTdsInstalled()
{
    return QFileInfo::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"));
}

TEST(OdbcFreeTds, AConnectionClosedByTheServerIsALostLink)
{
    if (!freeTdsInstalled()) {
        GTEST_SKIP() << "the FreeTDS ODBC driver is not installed";
    }
    Listener listener(Listener::Mode::Close);
    ASSERT_NE(listener.port(), 0);
    // Both ways the system writes a port. FreeTDS reports a link closed
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
    const int port = refusingPort();
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
    Listener listener(Listener::Mode::Hold);
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
