#include "hart/link/HartIpTransport.h"

#include "hart/protocol/SteadyClock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvx::hart {

namespace {

using Clock = std::chrono::steady_clock;

// A socket connected to the first IPv4 address of the host, within the timeout.
int connectTo(const Endpoint& endpoint, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = endpoint.transport == Endpoint::Transport::Udp ? SOCK_DGRAM : SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int status = ::getaddrinfo(endpoint.host.c_str(), std::to_string(endpoint.port).c_str(), &hints, &found);
        status != 0) {
        error = "cannot find " + endpoint.host + ": " + ::gai_strerror(status);
        return -1;
    }
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    int result = fd < 0 ? -1 : ::connect(fd, found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
    if (result != 0 && fd >= 0 && errno == EINPROGRESS &&
        waitForSocket(fd, POLLOUT, HartIpTransport::kConnectTimeoutMs)) {
        int soError = 0;
        socklen_t size = sizeof soError;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &size);
        errno = soError;
        result = soError == 0 ? 0 : -1;
    } else if (result != 0 && errno == EINPROGRESS) {
        errno = ETIMEDOUT;
    }
    if (result != 0) {
        error = "cannot reach " + endpoint.text() + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool HartIpTransport::connect(std::string& error)
{
    if (m_endpoint.transport == Endpoint::Transport::Tls && !m_key) {
        error = m_endpoint.text() + " needs a pre-shared key";
        return false;
    }
    m_fd = connectTo(m_endpoint, error);
    if (m_fd < 0)
        return false;
    m_channel = m_endpoint.transport == Endpoint::Transport::Tls ? makeTlsChannel(*m_key) : makePlainChannel();
    if (!m_channel->start(m_fd, kConnectTimeoutMs, error)) {
        error = "cannot reach " + m_endpoint.text() + ": " + error;
        drop();
        return false;
    }
    return true;
}

bool HartIpTransport::open(std::string& error)
{
    close();
    if (!connect(error))
        return false;
    const Decoded<HartIpMessage> opened = ask(MessageId::SessionInitiate, encodeSessionInitiate({true, kInactivityMs}),
                                              kConnectTimeoutMs);
    if (!opened || opened->header.type != MessageType::Response) {
        error = "the server at " + m_endpoint.text() + " opened no session" +
                (opened ? std::string(" (it is busy or refuses)") : ": " + opened.refusal().reason);
        close();
        return false;
    }
    return true;
}

void HartIpTransport::close()
{
    if (m_fd < 0)
        return;
    HartIpHeader header;
    header.id = MessageId::SessionClose;
    header.sequence = ++m_sequence;
    std::string ignored;
    m_channel->send(encodeMessage(header, {}).value(), kConnectTimeoutMs, ignored);
    drop();
}

void HartIpTransport::drop()
{
    if (m_channel)
        m_channel->stop();
    m_channel.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_stream = MessageStream();
}

Refusal HartIpTransport::fail(std::string reason)
{
    drop();
    return refuse(0, std::move(reason));
}

Decoded<Bytes> HartIpTransport::exchange(const Bytes& frame, int timeoutMs)
{
    if (m_fd < 0)
        return refuse(0, "not connected");
    const Decoded<HartIpMessage> reply = ask(MessageId::TokenPassingPdu, frame, timeoutMs);
    if (!reply)
        return reply.refusal();
    if (reply->header.type != MessageType::Response)
        return fail("the server ended the session");
    return reply->body;
}

Decoded<HartIpMessage> HartIpTransport::ask(MessageId id, const Bytes& body, int timeoutMs)
{
    HartIpHeader header;
    header.id = id;
    header.sequence = ++m_sequence;
    const Decoded<Bytes> message = encodeMessage(header, body);
    if (!message)
        return message.refusal();
    if (std::string error; !m_channel->send(message.value(), kConnectTimeoutMs, error))
        return fail("cannot send: " + error);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Decoded<HartIpMessage> reply = receive(remainingMs(deadline));
        if (!reply || reply->header.sequence == header.sequence)
            return reply;
    }
}

Decoded<HartIpMessage> HartIpTransport::receive(int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (auto next = m_stream.next()) {
            if (m_stream.broken())
                return fail("the server's stream cannot be read: " + next->refusal().reason);
            return *next;
        }
        std::uint8_t buffer[kMaxHartIpMessage * 2];
        const IByteChannel::Received received = m_channel->receive(buffer, sizeof buffer, remainingMs(deadline));
        if (received.status == IByteChannel::Status::Timeout)
            return refuse(0, "no answer within " + std::to_string(timeoutMs) + " ms");
        if (received.status != IByteChannel::Status::Data)
            return fail(received.status == IByteChannel::Status::Closed ? "the server closed the connection"
                                                                        : received.error);
        const ByteView bytes(buffer, received.size);
        if (m_endpoint.transport == Endpoint::Transport::Udp)
            return decodeMessage(bytes);
        m_stream.append(bytes);
    }
}

}  // namespace orvx::hart
