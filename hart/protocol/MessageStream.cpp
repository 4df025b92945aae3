#include "hart/protocol/MessageStream.h"

namespace orvx::hart {

void MessageStream::append(ByteView received)
{
    if (m_broken)
        return;
    // What was handed out goes before more arrives, so the buffer holds at most one message
    // and what the reader has not asked for yet.
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start));
    m_start = 0;
    m_buffer.insert(m_buffer.end(), received.begin(), received.end());
}

std::optional<Decoded<HartIpMessage>> MessageStream::next()
{
    if (m_broken)
        return std::nullopt;
    const ByteView pending = ByteView(m_buffer).subspan(m_start);
    if (pending.size() < kHartIpHeaderSize)
        return std::nullopt;
    const Decoded<HartIpHeader> header = decodeHeader(pending);
    if (!header) {
        m_broken = true;
        m_buffer.clear();
        m_start = 0;
        return Decoded<HartIpMessage>(header.refusal());
    }
    if (pending.size() < header->byteCount)
        return std::nullopt;
    m_start += header->byteCount;
    Decoded<HartIpMessage> message = decodeMessage(pending.first(header->byteCount));
    if (m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    }
    return message;
}

}  // namespace orvx::hart
