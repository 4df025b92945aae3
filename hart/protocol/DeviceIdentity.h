#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"
#include "hart/protocol/Pdu.h"

#include <cstdint>

namespace orvx::hart {

// What a device says of itself in reply to command 0 (read unique identifier), and to 11 and 21
// with the same layout. Universal revision 7 sends all 22 bytes; revisions 5 and 6 the first 12.
struct DeviceIdentity {
    std::uint16_t expandedDeviceType = 0;
    std::uint8_t requestPreambles = 5;
    std::uint8_t universalRevision = 7;
    std::uint8_t deviceRevision = 0;
    std::uint8_t softwareRevision = 0;
    std::uint8_t hardwareRevision = 0;   // five bits
    std::uint8_t physicalSignaling = 0;  // three bits; 0 is Bell 202 FSK
    std::uint8_t flags = 0;
    std::uint32_t deviceId = 0;  // three bytes
    // Revision 7 and later:
    std::uint8_t responsePreambles = 5;
    std::uint8_t maxDeviceVariables = 0;
    std::uint16_t configurationChangeCounter = 0;
    std::uint8_t extendedDeviceStatus = 0;
    std::uint16_t manufacturerId = 0;
    std::uint16_t privateLabelDistributor = 0;
    std::uint8_t deviceProfile = 0;

    // The five bytes every later command is addressed to.
    Address longAddress() const;
};

constexpr std::uint8_t kIdentityExpansionCode = 254;

// Refused when a field does not fit its bytes (a device id over three bytes, a hardware
// revision over five bits, a physical signaling code over three).
Decoded<Bytes> encodeIdentity(const DeviceIdentity& identity);

// Refused when the reply is shorter than its revision needs or does not begin with the
// expansion code 254 that marks this layout. Bytes beyond the layout are ignored, as later
// revisions may add some.
Decoded<DeviceIdentity> decodeIdentity(ByteView data);

}  // namespace orvx::hart
