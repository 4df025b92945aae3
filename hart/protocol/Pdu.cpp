#include "hart/protocol/Pdu.h"

namespace orvx::hart {

namespace {

constexpr std::uint8_t kLongAddressBit = 0x80;
constexpr std::uint8_t kExpansionMask = 0x60;
constexpr std::uint8_t kPhysicalLayerMask = 0x18;
constexpr std::uint8_t kFrameTypeMask = 0x07;
constexpr std::uint8_t kPrimaryMasterBit = 0x80;
constexpr std::uint8_t kBurstBit = 0x40;
constexpr std::uint8_t kAddressMask = 0x3F;
constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::size_t kLongAddressSize = 5;

std::uint8_t checkByte(ByteView bytes)
{
    std::uint8_t check = 0;
    for (const std::uint8_t b : bytes)
        check ^= b;
    return check;
}

bool knownFrameType(std::uint8_t type)
{
    return type == static_cast<std::uint8_t>(FrameType::Burst) ||
           type == static_cast<std::uint8_t>(FrameType::Request) ||
           type == static_cast<std::uint8_t>(FrameType::Response);
}

std::size_t countPreambles(ByteView bytes)
{
    std::size_t count = 0;
    while (count < bytes.size() && bytes[count] == kPreamble)
        ++count;
    return count;
}

// Delimiter to byte count inclusive: the part of a frame before its data.
std::size_t headerSize(std::uint8_t delimiter)
{
    const std::size_t address = (delimiter & kLongAddressBit) ? kLongAddressSize : 1;
    return 1 + address + ((delimiter & kExpansionMask) >> 5) + 2;
}

void writeAddress(ByteWriter& out, const Address& address)
{
    const auto flags = static_cast<std::uint8_t>((address.primaryMaster ? kPrimaryMasterBit : 0) |
                                                 (address.burstMode ? kBurstBit : 0));
    if (!address.isLong) {
        out.u8(flags | address.pollAddress);
        return;
    }
    out.u8(flags | (address.unique[0] & kAddressMask));
    out.bytes(ByteView(address.unique).subspan(1));
}

Address readAddress(ByteReader& in, bool isLong)
{
    Address address;
    address.isLong = isLong;
    const std::uint8_t first = in.u8();
    address.primaryMaster = first & kPrimaryMasterBit;
    address.burstMode = first & kBurstBit;
    if (!isLong) {
        address.pollAddress = first & kAddressMask;
        return address;
    }
    address.unique[0] = first & kAddressMask;
    const ByteView rest = in.bytes(kLongAddressSize - 1);
    std::copy(rest.begin(), rest.end(), address.unique.begin() + 1);
    return address;
}

}  // namespace

Address Address::poll(std::uint8_t pollAddress)
{
    Address address;
    address.pollAddress = pollAddress;
    return address;
}

Address Address::unique5(const std::array<std::uint8_t, 5>& unique)
{
    Address address;
    address.isLong = true;
    address.unique = unique;
    address.unique[0] &= kAddressMask;
    return address;
}

bool Address::sameDevice(const Address& other) const
{
    if (isLong != other.isLong)
        return false;
    return isLong ? unique == other.unique : pollAddress == other.pollAddress;
}

Decoded<Bytes> encodePdu(const Pdu& pdu, std::size_t preambles)
{
    const std::size_t maxData = pdu.hasStatus() ? kMaxResponseData : kMaxRequestData;
    if (pdu.data.size() > maxData)
        return refuse(0, std::to_string(pdu.data.size()) + " data bytes, more than the frame holds (" +
                             std::to_string(maxData) + ")");
    if (pdu.expansion.size() > kMaxExpansionBytes)
        return refuse(0, "more than three expansion bytes");
    if (!pdu.address.isLong && pdu.address.pollAddress > kAddressMask)
        return refuse(0, "poll address " + std::to_string(pdu.address.pollAddress) + " is over 63");
    if (preambles > kMaxPreambles)
        return refuse(0, "more than " + std::to_string(kMaxPreambles) + " preambles");

    Bytes frame(preambles, kPreamble);
    frame.reserve(preambles + 12 + pdu.data.size());
    ByteWriter out(frame);
    out.u8(static_cast<std::uint8_t>((pdu.address.isLong ? kLongAddressBit : 0) | pdu.expansion.size() << 5 |
                                     static_cast<std::uint8_t>(pdu.type)));
    writeAddress(out, pdu.address);
    out.bytes(pdu.expansion);
    out.u8(pdu.command);
    out.u8(static_cast<std::uint8_t>(pdu.data.size() + (pdu.hasStatus() ? 2 : 0)));
    if (pdu.hasStatus()) {
        out.u8(pdu.responseCode);
        out.u8(pdu.deviceStatus);
    }
    out.bytes(pdu.data);
    out.u8(checkByte(ByteView(frame).subspan(preambles)));
    return frame;
}

bool isDelimiter(std::uint8_t byte)
{
    return knownFrameType(byte & kFrameTypeMask) && !(byte & kPhysicalLayerMask);
}

std::size_t pduLength(ByteView partial)
{
    const std::size_t start = countPreambles(partial);
    if (start >= partial.size())
        return 0;
    const std::size_t header = headerSize(partial[start]);
    if (partial.size() < start + header)
        return 0;
    return start + header + partial[start + header - 1] + 1;
}

Decoded<Pdu> decodePdu(ByteView frame)
{
    const std::size_t start = countPreambles(frame);
    if (start > kMaxPreambles)
        return refuse(kMaxPreambles, "more than " + std::to_string(kMaxPreambles) + " preambles");
    if (start == frame.size())
        return refuse(start, "no delimiter");
    const std::uint8_t delimiter = frame[start];
    if (!knownFrameType(delimiter & kFrameTypeMask))
        return refuse(start, "delimiter " + hexByte(delimiter) + " names no known frame type");
    if (delimiter & kPhysicalLayerMask)
        return refuse(start, "delimiter " + hexByte(delimiter) + " names a physical layer other than FSK");

    const std::size_t header = headerSize(delimiter);
    if (frame.size() < start + header)
        return refuse(frame.size(), "truncated before the byte count");
    const std::size_t byteCount = frame[start + header - 1];
    const std::size_t total = start + header + byteCount + 1;
    if (frame.size() < total)
        return refuse(frame.size(), "truncated: the byte count says " + std::to_string(byteCount) +
                                        " bytes and a check byte follow, " +
                                        std::to_string(frame.size() - start - header) + " arrived");
    if (frame.size() > total)
        return refuse(total, std::to_string(frame.size() - total) + " bytes after the check byte");
    const std::uint8_t expected = checkByte(frame.subspan(start, total - start - 1));
    if (frame[total - 1] != expected)
        return refuse(total - 1, "check byte " + hexByte(frame[total - 1]) + ", expected " + hexByte(expected));

    Pdu pdu;
    pdu.type = static_cast<FrameType>(delimiter & kFrameTypeMask);
    ByteReader in(frame.subspan(start + 1, total - start - 2));
    pdu.address = readAddress(in, delimiter & kLongAddressBit);
    const ByteView expansion = in.bytes((delimiter & kExpansionMask) >> 5);
    pdu.expansion.assign(expansion.begin(), expansion.end());
    pdu.command = in.u8();
    in.u8();  // the byte count, checked above
    if (pdu.hasStatus()) {
        if (byteCount < 2)
            return refuse(start + header - 1, "a response without its response code and device status");
        pdu.responseCode = in.u8();
        pdu.deviceStatus = in.u8();
    }
    const ByteView data = in.bytes(in.remaining());
    pdu.data.assign(data.begin(), data.end());
    return pdu;
}

}  // namespace orvx::hart
