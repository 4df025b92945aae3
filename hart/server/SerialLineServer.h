#pragma once

#include "hart/protocol/SerialFrameReader.h"
#include "hart/serial/SerialLine.h"
#include "hart/server/DeviceResponder.h"

#include <string>

namespace orvx::hart {

// Serves the devices on a serial line, as devices on a HART loop behind a modem answer: each
// request addressed to one of them is answered, every other frame is heard and passed over. A
// line that fails is opened again every kReopenMs.
class SerialLineServer {
public:
    static constexpr std::uint64_t kReopenMs = 1000;

    SerialLineServer(std::string path, DeviceResponder& responder) : m_path(std::move(path)), m_responder(responder) {}

    // Opens the line; false with the reason.
    bool start(std::string& error);
    // Waits up to timeoutMs for bytes (0: takes what is there) and answers the requests that arrived.
    void serveOnce(int timeoutMs);
    // What a poll loop waits on to call serveOnce; -1 while the line is closed.
    int descriptor() const { return m_line.descriptor(); }
    // Frames heard that could not be read: garbled, or cut short.
    std::size_t refused() const { return m_refused; }

private:
    void answer(const Bytes& frame);

    std::string m_path;
    DeviceResponder& m_responder;
    SerialLine m_line;
    SerialFrameReader m_reader;
    std::uint64_t m_failedAtMs = 0;
    std::size_t m_refused = 0;
};

}  // namespace orvx::hart
