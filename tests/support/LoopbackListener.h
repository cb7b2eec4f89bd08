#pragma once

#include <QString>

#include <atomic>
#include <thread>
#include <vector>

namespace testing_support {

// Listens on 127.0.0.1 on a free port. In Close mode every connection it
// accepts is closed at once, which a SQL Server client sees as a link broken
// during the login; in Hold mode it is kept open without an answer, as a
// silent server does.
class LoopbackListener
{
public:
    enum class Mode { Close, Hold };
    explicit LoopbackListener(Mode mode);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // 0 when the listener could not be set up.
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

// A port on 127.0.0.1 where nothing listens (0 when none could be found).
int refusingLoopbackPort();

// Whether the FreeTDS ODBC driver the SQL Server provider loads is installed.
bool freeTdsInstalled();

} // namespace testing_support
