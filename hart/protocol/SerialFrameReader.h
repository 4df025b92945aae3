#pragma once

#include "hart/protocol/Bytes.h"

#include <cstdint>
#include <optional>

namespace orvx::hart {

// Finds token-passing frames in what a modem hears on the loop: at least two preambles, a
// delimiter, and as many bytes as its byte count says. Noise between frames is passed over, and a
// frame that stops for longer than kGapMs is dropped, so that a frame garbled in its byte count
// does not swallow the next one. The frames it hands on are whole but not yet checked: decodePdu
// does that.
class SerialFrameReader {
public:
    static constexpr std::size_t kMinPreambles = 2;
    // Far longer than a character at 1200 baud (9.2 ms), far shorter than a master's time-out.
    static constexpr std::uint64_t kGapMs = 250;

    void append(ByteView bytes, std::uint64_t nowMs);
    // The next whole frame, its preambles included, or nothing while none is complete.
    std::optional<Bytes> next();
    // Whether part of a frame has come, and since when.
    bool inFrame() const { return !m_buffer.empty(); }
    std::size_t buffered() const { return m_buffer.size(); }
    std::uint64_t frameStartMs() const { return m_frameStartMs; }
    // Bytes passed over as noise, gaps and frames begun without enough preambles.
    std::size_t discarded() const { return m_discarded; }
    void clear();

private:
    void drop(std::size_t count);

    Bytes m_buffer;
    std::uint64_t m_lastMs = 0;
    std::uint64_t m_frameStartMs = 0;
    std::size_t m_discarded = 0;
};

}  // namespace orvx::hart
