#pragma once

#include "hart/protocol/MessageStream.h"
#include "hart/server/MessageHandler.h"
#include "hart/server/SessionTable.h"
#include "hart/tls/PresharedKey.h"

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

namespace orvx::hart {

struct ServerOptions {
    std::string address = "127.0.0.1";  // loopback unless told otherwise
    std::uint16_t port = kHartIpPort;   // 0: a free port, the same for TCP and UDP
    std::size_t maxSessions = 8;
    // With a key, TCP only and every connection over TLS with it; no UDP (there is no DTLS).
    std::optional<PresharedKey> presharedKey;
};

class PskContext;
class TlsStream;

// Serves HART-IP over TCP and UDP on one port, on the calling thread, or with a pre-shared key
// over TLS on TCP alone. Every message is decoded and checked before it is handled; a TCP stream
// that loses its framing, a TLS handshake that fails, a connection that opens no session in time
// (its handshake included) and a session whose inactivity timer runs out are closed. No client
// holds up another: a handshake goes on a step at a time, as its bytes arrive.
class HartIpServer {
public:
    HartIpServer(ServerOptions options, DeviceResponder& responder);
    ~HartIpServer();
    HartIpServer(const HartIpServer&) = delete;
    HartIpServer& operator=(const HartIpServer&) = delete;

    // Binds both sockets (with a key, the TCP one); false with the reason when either cannot be
    // bound or the key cannot be used.
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
        std::unique_ptr<TlsStream> tls;  // null for plain HART-IP
        bool secured = false;            // the TLS handshake is done
        bool wantWrite = false;          // TLS waits until the socket takes bytes
    };

    void accept(std::uint64_t nowMs);
    void readDatagram(std::uint64_t nowMs);
    void readConnection(Connection& connection, std::uint64_t nowMs);
    void readSecured(Connection& connection, std::uint64_t nowMs);
    void handleBytes(Connection& connection, ByteView bytes, std::uint64_t nowMs);
    void sendTo(Connection& connection, const Bytes& bytes);
    void drop(Connection& connection);
    void closeIdle(std::uint64_t nowMs);

    ServerOptions m_options;
    SessionTable m_sessions;
    DeviceResponder& m_responder;
    MessageHandler m_handler;
    std::unique_ptr<PskContext> m_tls;
    int m_tcp = -1;
    int m_udp = -1;
    std::uint16_t m_port = 0;
    std::list<Connection> m_connections;
};

}  // namespace orvx::hart
