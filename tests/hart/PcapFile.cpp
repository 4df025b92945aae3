#include "PcapFile.h"

#include "hart/protocol/HartIpMessage.h"

#include <cstdio>

namespace orvx::hart::test {

namespace {

constexpr std::uint16_t kClientPort = 50123;
constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::uint32_t kRawIpLinkType = 101;

void littleEndian(Bytes& out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint16_t ipChecksum(const Bytes& header)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < header.size(); i += 2)
        sum += static_cast<std::uint32_t>(header[i] << 8 | header[i + 1]);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

}  // namespace

PcapFile::PcapFile(const std::string& path, Transport transport) : m_transport(transport)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        return;
    Bytes header;
    littleEndian(header, 0xA1B2C3D4, 4);
    littleEndian(header, 2, 2);
    littleEndian(header, 4, 2);
    littleEndian(header, 0, 4);
    littleEndian(header, 0, 4);
    littleEndian(header, 65535, 4);
    littleEndian(header, kRawIpLinkType, 4);
    std::fwrite(header.data(), 1, header.size(), m_file);
    if (m_transport == Transport::Tcp) {
        packet(true, {}, kSyn);
        ++m_clientSequence;
        packet(false, {}, kSyn | kAck);
        ++m_serverSequence;
        packet(true, {}, kAck);
    }
}

PcapFile::~PcapFile()
{
    if (m_file)
        std::fclose(m_file);
}

void PcapFile::packet(bool fromClient, const Bytes& payload, std::uint8_t tcpFlags)
{
    Bytes transport;
    ByteWriter out(transport);
    out.u16(fromClient ? kClientPort : kHartIpPort);
    out.u16(fromClient ? kHartIpPort : kClientPort);
    if (m_transport == Transport::Udp) {
        out.u16(static_cast<std::uint16_t>(8 + payload.size()));
        out.u16(0);  // no checksum, as IPv4 allows
    } else {
        std::uint32_t& own = fromClient ? m_clientSequence : m_serverSequence;
        out.u32(own);
        out.u32((tcpFlags & kAck) ? (fromClient ? m_serverSequence : m_clientSequence) : 0);
        out.u8(5 << 4);  // twenty header bytes
        out.u8(tcpFlags);
        out.u16(65535);
        out.u16(0);
        out.u16(0);
        own += static_cast<std::uint32_t>(payload.size());
    }
    out.bytes(payload);

    Bytes ip;
    ByteWriter ipOut(ip);
    ipOut.u8(0x45);
    ipOut.u8(0);
    ipOut.u16(static_cast<std::uint16_t>(20 + transport.size()));
    ipOut.u16(0);
    ipOut.u16(0x4000);  // don't fragment
    ipOut.u8(64);
    ipOut.u8(m_transport == Transport::Udp ? 17 : 6);
    ipOut.u16(0);
    ipOut.u32(kLoopback);
    ipOut.u32(kLoopback);
    const std::uint16_t checksum = ipChecksum(ip);
    ip[10] = static_cast<std::uint8_t>(checksum >> 8);
    ip[11] = static_cast<std::uint8_t>(checksum);
    ipOut.bytes(transport);
    record(ip);
}

void PcapFile::record(const Bytes& ipPacket)
{
    if (!m_file)
        return;
    Bytes header;
    littleEndian(header, ++m_seconds, 4);
    littleEndian(header, 0, 4);
    littleEndian(header, static_cast<std::uint32_t>(ipPacket.size()), 4);
    littleEndian(header, static_cast<std::uint32_t>(ipPacket.size()), 4);
    std::fwrite(header.data(), 1, header.size(), m_file);
    std::fwrite(ipPacket.data(), 1, ipPacket.size(), m_file);
}

}  // namespace orvx::hart::test
