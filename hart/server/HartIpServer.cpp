#include "hart/server/HartIpServer.h"

#include "hart/protocol/SteadyClock.h"
#include "hart/tls/PskTls.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace orvx::hart {

namespace {

std::string peerName(const char* transport, const sockaddr_in& address)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(transport) + ":" + text + ":" + std::to_string(ntohs(address.sin_port));
}

void logRefusal(const std::string& peer, const Refusal& refusal)
{
    std::fprintf(stderr, "orvx-hart-device: refused from %s at byte %zu: %s\n", peer.c_str(), refusal.offset,
                 refusal.reason.c_str());
}

int boundSocket(int type, const sockaddr_in& address, std::string& error)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int yes = 1;
    if (fd >= 0)
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 8) != 0)) {
        error = std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

HartIpServer::HartIpServer(ServerOptions options, DeviceResponder& responder)
    : m_options(std::move(options)),
      m_sessions(m_options.maxSessions),
      m_responder(responder),
      m_handler(m_sessions, responder)
{
}

HartIpServer::~HartIpServer()
{
    for (Connection& connection : m_connections)
        drop(connection);
    if (m_tcp >= 0)
        ::close(m_tcp);
    if (m_udp >= 0)
        ::close(m_udp);
}

bool HartIpServer::start(std::string& error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_options.port);
    if (::inet_pton(AF_INET, m_options.address.c_str(), &address.sin_addr) != 1) {
        error = "not an IPv4 address: " + m_options.address;
        return false;
    }
    if (m_options.presharedKey) {
        m_tls = PskContext::make(PskContext::Role::Server, *m_options.presharedKey, error);
        if (!m_tls)
            return false;
    }
    m_tcp = boundSocket(SOCK_STREAM, address, error);
    if (m_tcp < 0)
        return false;
    socklen_t size = sizeof address;
    ::getsockname(m_tcp, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    if (m_tls)
        return true;  // the UDP socket stays -1, which poll passes over
    m_udp = boundSocket(SOCK_DGRAM, address, error);
    return m_udp >= 0;
}

void HartIpServer::serveOnce(int timeoutMs, int alsoWaitFor)
{
    std::vector<pollfd> polled{{m_tcp, POLLIN, 0}, {m_udp, POLLIN, 0}, {alsoWaitFor, POLLIN, 0}};
    for (const Connection& connection : m_connections)
        polled.push_back({connection.fd, static_cast<short>(connection.wantWrite ? POLLOUT : POLLIN), 0});
    if (::poll(polled.data(), polled.size(), timeoutMs) < 0)
        return;
    const std::uint64_t now = steadyNowMs();
    m_responder.advance(now);
    if (polled[0].revents & POLLIN)
        accept(now);
    if (polled[1].revents & POLLIN)
        readDatagram(now);
    std::size_t index = 3;
    for (Connection& connection : m_connections) {
        if (index < polled.size() && polled[index].fd == connection.fd && polled[index].revents)
            readConnection(connection, now);
        ++index;
    }
    closeIdle(now);
}

void HartIpServer::accept(std::uint64_t now)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const int fd = ::accept4(m_tcp, reinterpret_cast<sockaddr*>(&address), &size, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    // Connections beyond what the sessions allow, plus a few that are about to close, are shut
    // at once: a flood of connections costs the server nothing it keeps.
    if (m_connections.size() >= m_options.maxSessions + 2) {
        ::close(fd);
        return;
    }
    Connection connection{fd, peerName(m_tls ? "tls" : "tcp", address), now, {}, false, nullptr};
    if (m_tls) {
        std::string error;
        connection.tls = TlsStream::make(*m_tls, fd, error);
        if (!connection.tls) {
            std::fprintf(stderr, "orvx-hart-device: %s: %s\n", connection.peer.c_str(), error.c_str());
            ::close(fd);
            return;
        }
    }
    m_connections.push_back(std::move(connection));
}

void HartIpServer::readDatagram(std::uint64_t now)
{
    std::uint8_t buffer[kMaxHartIpMessage + 1];
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const ssize_t received = ::recvfrom(m_udp, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&address), &size);
    if (received <= 0)
        return;
    const std::string peer = peerName("udp", address);
    const Decoded<HartIpMessage> message = decodeMessage(ByteView(buffer, static_cast<std::size_t>(received)));
    if (!message) {
        logRefusal(peer, message.refusal());
        return;
    }
    const Reply reply = m_handler.handle(peer, message.value(), now);
    if (reply.bytes)
        ::sendto(m_udp, reply.bytes->data(), reply.bytes->size(), 0, reinterpret_cast<sockaddr*>(&address), size);
}

void HartIpServer::readConnection(Connection& connection, std::uint64_t now)
{
    if (connection.tls) {
        readSecured(connection, now);
        return;
    }
    std::uint8_t buffer[4096];
    const ssize_t received = ::recv(connection.fd, buffer, sizeof buffer, 0);
    if (received <= 0) {
        connection.closing = true;
        return;
    }
    handleBytes(connection, ByteView(buffer, static_cast<std::size_t>(received)), now);
}

// Takes the handshake or the records one step further, as far as the bytes that came allow.
void HartIpServer::readSecured(Connection& connection, std::uint64_t now)
{
    TlsStream::Step step = TlsStream::Step::Done;
    if (!connection.secured) {
        step = connection.tls->handshake();
        connection.secured = step == TlsStream::Step::Done;
    }
    std::uint8_t buffer[4096];
    while (step == TlsStream::Step::Done && !connection.closing) {
        std::size_t received = 0;
        step = connection.tls->read(buffer, sizeof buffer, received);
        if (step == TlsStream::Step::Done)
            handleBytes(connection, ByteView(buffer, received), now);
    }
    connection.wantWrite = step == TlsStream::Step::WantWrite;
    if (step == TlsStream::Step::Failed)
        std::fprintf(stderr, "orvx-hart-device: refused from %s: %s\n", connection.peer.c_str(),
                     connection.tls->error().c_str());
    if (step == TlsStream::Step::Closed || step == TlsStream::Step::Failed)
        connection.closing = true;
}

void HartIpServer::handleBytes(Connection& connection, ByteView bytes, std::uint64_t now)
{
    connection.stream.append(bytes);
    while (auto message = connection.stream.next()) {
        if (!*message) {
            logRefusal(connection.peer, message->refusal());
            continue;
        }
        const Reply reply = m_handler.handle(connection.peer, message->value(), now);
        if (reply.bytes)
            sendTo(connection, *reply.bytes);
        connection.closing = connection.closing || reply.closeSession;
    }
    connection.closing = connection.closing || connection.stream.broken();
}

// A reply is a few hundred bytes at most: the socket takes it whole. A TLS connection whose
// socket does not is closed rather than waited for.
void HartIpServer::sendTo(Connection& connection, const Bytes& bytes)
{
    if (!connection.tls) {
        ::send(connection.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        return;
    }
    if (connection.tls->write(bytes) != TlsStream::Step::Done)
        connection.closing = true;
}

void HartIpServer::drop(Connection& connection)
{
    if (connection.tls) {
        connection.tls->shutdown();
        connection.tls.reset();
    }
    ::close(connection.fd);
}

void HartIpServer::closeIdle(std::uint64_t now)
{
    for (const std::string& peer : m_sessions.expire(now)) {
        for (Connection& connection : m_connections)
            connection.closing = connection.closing || connection.peer == peer;
    }
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        const bool neverOpened = !m_sessions.has(it->peer) && now - it->acceptedMs >= kOpenSessionWithinMs;
        if (it->closing || neverOpened) {
            m_sessions.close(it->peer);
            drop(*it);
            it = m_connections.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace orvx::hart
