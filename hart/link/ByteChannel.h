#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/tls/PresharedKey.h"

#include <cstddef>
#include <memory>
#include <string>

namespace orvx::hart {

// The bytes of a HART-IP connection over its connected, non-blocking socket: as they are, or
// through TLS. The transport keeps the socket and the messages; a channel only moves bytes.
class IByteChannel {
public:
    enum class Status { Data, Timeout, Closed, Failed };
    struct Received {
        Status status = Status::Timeout;
        std::size_t size = 0;
        std::string error;  // for Failed
    };

    virtual ~IByteChannel() = default;

    // Takes up the socket (for TLS: the handshake, within timeoutMs); false with the reason.
    virtual bool start(int fd, int timeoutMs, std::string& error) = 0;
    // Every byte or false with the reason, within timeoutMs.
    virtual bool send(ByteView bytes, int timeoutMs, std::string& error) = 0;
    // What arrives within timeoutMs, at most `size` bytes.
    virtual Received receive(std::uint8_t* buffer, std::size_t size, int timeoutMs) = 0;
    // Before the socket closes; the channel may be started again on another.
    virtual void stop() = 0;
};

// The socket's bytes as they are.
std::unique_ptr<IByteChannel> makePlainChannel();
// TLS 1.2 or 1.3 with the pre-shared key, no certificates.
std::unique_ptr<IByteChannel> makeTlsChannel(PresharedKey key);

// True when the socket is ready for `events` within timeoutMs.
bool waitForSocket(int fd, short events, int timeoutMs);

}  // namespace orvx::hart
