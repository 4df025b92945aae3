#pragma once

#include "hart/server/PositionerDevice.h"

namespace orvx::hart {

// A HART device of another make: the same valve behind it, but another manufacturer and device
// type in command 0, and the universal commands only: every command of the positioner's own
// set is answered "command not implemented". It shows what the link and the pages make of a
// device that is not ours.
class OtherMakeDevice : public PositionerDevice {
public:
    static constexpr std::uint16_t kExpandedDeviceType = 0xE0F1;
    static constexpr std::uint16_t kManufacturerId = 0x60F1;

    using PositionerDevice::PositionerDevice;

    DeviceIdentity identity() override;
    bool answer(const Pdu& request, Pdu& response) override;
};

}  // namespace orvx::hart
