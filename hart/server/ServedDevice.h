#pragma once

#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/Pdu.h"

#include <cstdint>

namespace orvx::hart {

// One device behind the server, as it would answer on its own line.
class IServedDevice {
public:
    virtual ~IServedDevice() = default;

    virtual std::uint8_t pollAddress() const = 0;
    virtual DeviceIdentity identity() = 0;
    // Fills in the response code, the field device status and the data of `response`, the
    // answer to a request addressed to this device. False when the device keeps silent, as it
    // does to command 11 naming another tag.
    virtual bool answer(const Pdu& request, Pdu& response) = 0;
    // The device's own time runs on to `nowMs` of the server's steady clock.
    virtual void advance(std::uint64_t nowMs) = 0;
};

}  // namespace orvx::hart
