#include "hart/link/ByteChannel.h"
#include "hart/protocol/SteadyClock.h"
#include "hart/tls/PskTls.h"

#include <chrono>
#include <poll.h>

namespace orvx::hart {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point after(int ms)
{
    return Clock::now() + std::chrono::milliseconds(ms);
}

class TlsChannel : public IByteChannel {
public:
    explicit TlsChannel(PresharedKey key) : m_key(std::move(key)) {}

    bool start(int fd, int timeoutMs, std::string& error) override;
    bool send(ByteView bytes, int timeoutMs, std::string& error) override;
    Received receive(std::uint8_t* buffer, std::size_t size, int timeoutMs) override;
    void stop() override;

private:
    // Waits for what the step asks of the socket; false when the deadline passes first.
    bool await(TlsStream::Step step, Clock::time_point deadline) const
    {
        return waitForSocket(m_fd, step == TlsStream::Step::WantWrite ? POLLOUT : POLLIN, remainingMs(deadline));
    }
    std::string handshakeFailure(TlsStream::Step step) const;

    PresharedKey m_key;
    int m_fd = -1;
    std::unique_ptr<PskContext> m_context;
    std::unique_ptr<TlsStream> m_stream;
};

bool waiting(TlsStream::Step step)
{
    return step == TlsStream::Step::WantRead || step == TlsStream::Step::WantWrite;
}

bool TlsChannel::start(int fd, int timeoutMs, std::string& error)
{
    stop();
    m_fd = fd;
    m_context = PskContext::make(PskContext::Role::Client, m_key, error);
    if (m_context)
        m_stream = TlsStream::make(*m_context, fd, error);
    if (!m_stream)
        return false;
    const Clock::time_point deadline = after(timeoutMs);
    for (;;) {
        const TlsStream::Step step = m_stream->handshake();
        if (step == TlsStream::Step::Done)
            return true;
        if (!waiting(step)) {
            error = handshakeFailure(step);
            return false;
        }
        if (!await(step, deadline)) {
            error = "no TLS handshake within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
    }
}

std::string TlsChannel::handshakeFailure(TlsStream::Step step) const
{
    if (m_stream->peerAlerted())
        return "the server refused the pre-shared key (identity '" + m_key.identity + "'): its identity or key differ";
    if (step == TlsStream::Step::Closed)
        return "the server closed the connection in the TLS handshake: does it serve HART-IP without TLS?";
    return "the TLS handshake failed: " + m_stream->error();
}

bool TlsChannel::send(ByteView bytes, int timeoutMs, std::string& error)
{
    const Clock::time_point deadline = after(timeoutMs);
    for (;;) {
        const TlsStream::Step step = m_stream->write(bytes);
        if (step == TlsStream::Step::Done)
            return true;
        if (!waiting(step)) {
            error = step == TlsStream::Step::Closed ? "the server closed the connection" : m_stream->error();
            return false;
        }
        if (!await(step, deadline)) {
            error = "cannot send within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
    }
}

IByteChannel::Received TlsChannel::receive(std::uint8_t* buffer, std::size_t size, int timeoutMs)
{
    const Clock::time_point deadline = after(timeoutMs);
    for (;;) {
        std::size_t received = 0;
        const TlsStream::Step step = m_stream->read(buffer, size, received);
        if (step == TlsStream::Step::Done)
            return {Status::Data, received, {}};
        if (step == TlsStream::Step::Closed)
            return {Status::Closed, 0, {}};
        if (step == TlsStream::Step::Failed)
            return {Status::Failed, 0, m_stream->error()};
        if (!await(step, deadline))
            return {};
    }
}

void TlsChannel::stop()
{
    if (m_stream)
        m_stream->shutdown();
    m_stream.reset();
    m_context.reset();
    m_fd = -1;
}

}  // namespace

std::unique_ptr<IByteChannel> makeTlsChannel(PresharedKey key)
{
    return std::make_unique<TlsChannel>(std::move(key));
}

}  // namespace orvx::hart
