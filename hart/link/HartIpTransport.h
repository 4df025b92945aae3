#pragma once

#include "hart/link/ByteChannel.h"
#include "hart/link/Endpoint.h"
#include "hart/link/FrameTransport.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/MessageStream.h"
#include "hart/tls/PresharedKey.h"

#include <memory>
#include <optional>

namespace orvx::hart {

// Frames over HART-IP, TCP, UDP or TLS, in one session: opened with a session initiate that asks
// for kInactivityMs, closed with a session close. A TLS endpoint needs the pre-shared key; the
// TLS handshake counts against kConnectTimeoutMs like the session initiate.
class HartIpTransport : public IFrameTransport {
public:
    static constexpr std::uint32_t kInactivityMs = 30000;
    static constexpr int kConnectTimeoutMs = 3000;

    explicit HartIpTransport(Endpoint endpoint, std::optional<PresharedKey> key = std::nullopt)
        : m_endpoint(std::move(endpoint)), m_key(std::move(key))
    {
    }
    ~HartIpTransport() override { close(); }

    bool open(std::string& error) override;
    Decoded<Bytes> exchange(const Bytes& frame, int timeoutMs) override;
    bool isOpen() const override { return m_fd >= 0; }
    void close() override;

private:
    // The reply to `request`, messages of other sequence numbers (a late reply, a publish)
    // passed over.
    Decoded<HartIpMessage> ask(MessageId id, const Bytes& body, int timeoutMs);
    Decoded<HartIpMessage> receive(int timeoutMs);
    Refusal fail(std::string reason);
    // Connects the socket and starts the channel over it.
    bool connect(std::string& error);
    void drop();

    Endpoint m_endpoint;
    std::optional<PresharedKey> m_key;
    int m_fd = -1;
    std::unique_ptr<IByteChannel> m_channel;
    std::uint16_t m_sequence = 0;
    MessageStream m_stream;
};

}  // namespace orvx::hart
