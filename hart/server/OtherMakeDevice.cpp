#include "hart/server/OtherMakeDevice.h"

#include "hart/protocol/ResponseCode.h"

namespace orvx::hart {

namespace {

// Commands from 128 on are each make's own.
constexpr std::uint8_t kFirstDeviceSpecificCommand = 128;

}  // namespace

DeviceIdentity OtherMakeDevice::identity()
{
    DeviceIdentity identity = PositionerDevice::identity();
    identity.expandedDeviceType = kExpandedDeviceType;
    identity.manufacturerId = kManufacturerId;
    identity.privateLabelDistributor = kManufacturerId;
    return identity;
}

bool OtherMakeDevice::answer(const Pdu& request, Pdu& response)
{
    if (request.command < kFirstDeviceSpecificCommand)
        return PositionerDevice::answer(request, response);
    response.responseCode = response::NotImplemented;
    return true;
}

}  // namespace orvx::hart
