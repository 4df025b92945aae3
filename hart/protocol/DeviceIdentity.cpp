#include "hart/protocol/DeviceIdentity.h"

namespace orvx::hart {

namespace {

constexpr std::size_t kFullIdentity = 22;  // revision 7 on; 12 before

}  // namespace

Address DeviceIdentity::longAddress() const
{
    return Address::unique5({static_cast<std::uint8_t>(expandedDeviceType >> 8),
                             static_cast<std::uint8_t>(expandedDeviceType), static_cast<std::uint8_t>(deviceId >> 16),
                             static_cast<std::uint8_t>(deviceId >> 8), static_cast<std::uint8_t>(deviceId)});
}

Decoded<Bytes> encodeIdentity(const DeviceIdentity& identity)
{
    if (identity.deviceId > 0xFFFFFF)
        return refuse(0, "a device id has three bytes");
    if (identity.hardwareRevision > 0x1F || identity.physicalSignaling > 0x07)
        return refuse(0, "the hardware revision has five bits and the physical signaling code three");
    Bytes data;
    data.reserve(kFullIdentity);
    ByteWriter out(data);
    out.u8(kIdentityExpansionCode);
    out.u16(identity.expandedDeviceType);
    out.u8(identity.requestPreambles);
    out.u8(identity.universalRevision);
    out.u8(identity.deviceRevision);
    out.u8(identity.softwareRevision);
    out.u8(static_cast<std::uint8_t>(identity.hardwareRevision << 3 | identity.physicalSignaling));
    out.u8(identity.flags);
    out.u24(identity.deviceId);
    if (identity.universalRevision < 7)
        return data;
    out.u8(identity.responsePreambles);
    out.u8(identity.maxDeviceVariables);
    out.u16(identity.configurationChangeCounter);
    out.u8(identity.extendedDeviceStatus);
    out.u16(identity.manufacturerId);
    out.u16(identity.privateLabelDistributor);
    out.u8(identity.deviceProfile);
    return data;
}

Decoded<DeviceIdentity> decodeIdentity(ByteView data)
{
    ByteReader in(data);
    DeviceIdentity identity;
    if (in.u8() != kIdentityExpansionCode)
        return refuse(0, "an identity reply begins with 254");
    identity.expandedDeviceType = in.u16();
    identity.requestPreambles = in.u8();
    identity.universalRevision = in.u8();
    identity.deviceRevision = in.u8();
    identity.softwareRevision = in.u8();
    const std::uint8_t hardware = in.u8();
    identity.hardwareRevision = hardware >> 3;
    identity.physicalSignaling = hardware & 0x07;
    identity.flags = in.u8();
    identity.deviceId = in.u24();
    if (!in.ok())
        return refuse(data.size(),
                      "an identity reply has at least 12 bytes, " + std::to_string(data.size()) + " arrived");
    if (identity.universalRevision < 7)
        return identity;
    identity.responsePreambles = in.u8();
    identity.maxDeviceVariables = in.u8();
    identity.configurationChangeCounter = in.u16();
    identity.extendedDeviceStatus = in.u8();
    identity.manufacturerId = in.u16();
    identity.privateLabelDistributor = in.u16();
    identity.deviceProfile = in.u8();
    if (!in.ok())
        return refuse(data.size(), "a revision " + std::to_string(identity.universalRevision) +
                                       " identity reply has 22 bytes, " + std::to_string(data.size()) + " arrived");
    return identity;
}

}  // namespace orvx::hart
