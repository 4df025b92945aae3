#pragma once

#include "hart/link/FrameTransport.h"
#include "hart/protocol/Pdu.h"
#include "hart/protocol/SerialFrameReader.h"
#include "hart/serial/SerialLine.h"

namespace orvx::hart {

// Frames through a HART modem on a serial line. The answer must begin within the time-out; once
// it has begun it may take as long as the longest frame needs at 1200 baud. Frames on the loop
// that are not a device's response (another master's request, a device's burst) are passed over.
class SerialTransport : public IFrameTransport {
public:
    // The longest frame with its preambles, at 1200 baud.
    static constexpr int kLongestFrameMs = static_cast<int>((kMaxPreambles + 9 + 255 + 1) * SerialLine::kCharacterMs) +
                                           1;

    explicit SerialTransport(std::string path) : m_path(std::move(path)) {}

    bool open(std::string& error) override;
    Decoded<Bytes> exchange(const Bytes& frame, int timeoutMs) override;
    bool isOpen() const override { return m_line.isOpen(); }
    void close() override { m_line.close(); }

private:
    Refusal fail(std::string reason);

    std::string m_path;
    SerialLine m_line;
    SerialFrameReader m_reader;
};

}  // namespace orvx::hart
