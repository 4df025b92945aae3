#pragma once

#include "hart/protocol/HartIpMessage.h"

#include <optional>

namespace orvx::hart {

// Cuts HART-IP messages out of a TCP byte stream, which arrives in pieces of any size. A header
// that cannot be read leaves the stream broken for good: nothing after it can be framed, so the
// connection must be closed. A message whose body is refused is handed out as a refusal, and
// the stream goes on after it.
class MessageStream {
public:
    void append(ByteView received);

    // The next whole message or its refusal; nothing while a message is still incomplete.
    std::optional<Decoded<HartIpMessage>> next();

    bool broken() const { return m_broken; }
    std::size_t buffered() const { return m_buffer.size() - m_start; }

private:
    Bytes m_buffer;
    std::size_t m_start = 0;
    bool m_broken = false;
};

}  // namespace orvx::hart
