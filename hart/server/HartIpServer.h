#pragma once

#include "hart/protocol/MessageStream.h"
#include "hart/server/MessageHandler.h"
#include "hart/server/SessionTable.h"

#include <cstdint>
#include <list>
#include <string>

namespace orvx::hart {

struct ServerOptions {
    std::string address = "127.0.0.1";  // loopback unless told otherwise
    std::uint16_t port = kHartIpPort;   // 0: a free port, the same for TCP and UDP
    std::size_t maxSessions = 8;
};

// Serves HART-IP over TCP and UDP on one port, on the calling thread. Every message is decoded
// and checked before it is handled; a TCP stream that loses its framing, a connection that opens
// no session in time and a session whose inactivity timer runs out are closed.
class HartIpServer {
public:
    HartIpServer(ServerOptions options, DeviceResponder& responder);
    ~HartIpServer();
    HartIpServer(const HartIpServer&) = delete;
    HartIpServer& operator=(const HartIpServer&) = delete;

    // Binds both sockets; false with the reason when either cannot be bound.
    bool start(std::string& error);
    std::uint16_t port() const { return m_port; }
    // Waits up to timeoutMs for traffic and handles what arrived; returns early, too, once
    // `alsoWaitFor` (another line the caller serves) is readable.
    void serveOnce(int timeoutMs, int alsoWaitFor = -1);

    // A TCP connection that has not opened a session by then is closed.
    static constexpr std::uint64_t kOpenSessionWithinMs = 5000;

private:
    struct Connection {
        int fd;
        std::string peer;
        std::uint64_t acceptedMs;
        MessageStream stream;
        bool closing = false;
    };

    void accept(std::uint64_t nowMs);
    void readDatagram(std::uint64_t nowMs);
    void readConnection(Connection& connection, std::uint64_t nowMs);
    void closeIdle(std::uint64_t nowMs);

    ServerOptions m_options;
    SessionTable m_sessions;
    DeviceResponder& m_responder;
    MessageHandler m_handler;
    int m_tcp = -1;
    int m_udp = -1;
    std::uint16_t m_port = 0;
    std::list<Connection> m_connections;
};

}  // namespace orvx::hart
