#include "hart/protocol/SerialFrameReader.h"

#include "hart/protocol/Pdu.h"

#include <algorithm>

namespace orvx::hart {

namespace {

constexpr std::uint8_t kPreamble = 0xFF;

}  // namespace

void SerialFrameReader::append(ByteView bytes, std::uint64_t nowMs)
{
    if (!m_buffer.empty() && nowMs - m_lastMs > kGapMs)
        drop(m_buffer.size());
    if (m_buffer.empty())
        m_frameStartMs = nowMs;
    m_lastMs = nowMs;
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void SerialFrameReader::clear()
{
    m_buffer.clear();
}

void SerialFrameReader::drop(std::size_t count)
{
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
    m_discarded += count;
}

std::optional<Bytes> SerialFrameReader::next()
{
    for (;;) {
        drop(static_cast<std::size_t>(std::ranges::find(m_buffer, kPreamble) - m_buffer.begin()));
        std::size_t preambles = 0;
        while (preambles < m_buffer.size() && m_buffer[preambles] == kPreamble)
            ++preambles;
        // An idle line may send preambles without end; a frame needs only the last few.
        if (preambles > kMaxPreambles) {
            drop(preambles - kMaxPreambles);
            preambles = kMaxPreambles;
        }
        if (preambles == m_buffer.size())
            return std::nullopt;
        if (preambles < kMinPreambles || !isDelimiter(m_buffer[preambles])) {
            drop(preambles + 1);
            continue;
        }
        const std::size_t length = pduLength(m_buffer);
        if (length == 0 || length > m_buffer.size())
            return std::nullopt;
        Bytes frame(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(length));
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(length));
        m_frameStartMs = m_lastMs;
        return frame;
    }
}

}  // namespace orvx::hart
