#pragma once

#include "hart/protocol/Bytes.h"

#include <string>

namespace orvx::hart {

// A HART modem's serial line: 1200 baud, 8 data bits, odd parity, one stop bit, raw. The sender
// keys the modem's carrier with RTS for as long as it sends. A line without modem control lines
// (a pseudo-terminal) is used as it is. A byte with a parity error is dropped, which leaves its
// frame short: the receiver's gap rule and the check byte then refuse it.
class SerialLine {
public:
    // Preambles sent before each frame: more than the two a receiver needs, as HART masters do.
    static constexpr std::size_t kPreambles = 5;
    // Time to send one character: 11 bits at 1200 baud.
    static constexpr double kCharacterMs = 11 * 1000.0 / 1200;

    SerialLine() = default;
    ~SerialLine() { close(); }
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Opens and sets up the line, dropping whatever waited in it; false with the reason.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }
    // For a poll loop that waits on more than the line; -1 while closed.
    int descriptor() const { return m_fd; }

    // Sends the bytes with the carrier keyed, and returns once they are on the line.
    bool send(ByteView bytes, std::string& error);
    // Waits up to timeoutMs for bytes and appends what came. False with the reason when the line
    // failed; true (and nothing appended) when the time ran out.
    bool receive(Bytes& into, int timeoutMs, std::string& error);

private:
    void keyCarrier(bool on);

    int m_fd = -1;
    std::string m_path;
    bool m_hasModemLines = true;
};

}  // namespace orvx::hart
