#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <string>

namespace orvx::hart {

// Carries token-passing frames to a device and back: HART-IP, or a modem on a serial line. Used
// from the link's own thread only.
class IFrameTransport {
public:
    virtual ~IFrameTransport() = default;

    // Reaches the device (for HART-IP: connects and opens a session); false with the reason.
    virtual bool open(std::string& error) = 0;
    // Sends one frame and waits up to timeoutMs for the one that answers it. Refused with the
    // reason when nothing came in time, the link closed or what came cannot be read; the
    // transport is then closed unless the fault was only the frame's.
    virtual Decoded<Bytes> exchange(const Bytes& frame, int timeoutMs) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
};

}  // namespace orvx::hart
