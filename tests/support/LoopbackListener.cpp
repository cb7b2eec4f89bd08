#include "support/LoopbackListener.h"

#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

LoopbackListener::LoopbackListener(Mode mode)
{
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(m_socket, 8) != 0 || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
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

LoopbackListener::~LoopbackListener()
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

int refusingLoopbackPort()
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

bool freeTdsInstalled()
{
    return QFileInfo::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"));
}

} // namespace testing_support
