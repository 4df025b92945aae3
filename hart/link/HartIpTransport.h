#pragma once

#include "hart/link/Endpoint.h"
#include "hart/link/FrameTransport.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/MessageStream.h"

namespace orvx::hart {

// Frames over HART-IP, TCP or UDP, in one session: opened with a session initiate that asks for
// kInactivityMs, closed with a session close.
class HartIpTransport : public IFrameTransport {
public:
    static constexpr std::uint32_t kInactivityMs = 30000;
    static constexpr int kConnectTimeoutMs = 3000;

    explicit HartIpTransport(Endpoint endpoint) : m_endpoint(std::move(endpoint)) {}
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

    Endpoint m_endpoint;
    int m_fd = -1;
    std::uint16_t m_sequence = 0;
    MessageStream m_stream;
};

}  // namespace orvx::hart
