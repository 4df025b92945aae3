#pragma once

#include "hart/protocol/Bytes.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvx::hart::test {

// Writes a capture file of a HART-IP session on the loopback interface, as dumpcap would have
// recorded it, so that a decoder written elsewhere can read what our encoders produce. Raw IPv4
// packets; a TCP session opens with its handshake so that its segments are followed as a stream.
class PcapFile {
public:
    enum class Transport { Udp, Tcp };

    PcapFile(const std::string& path, Transport transport);
    ~PcapFile();
    PcapFile(const PcapFile&) = delete;
    PcapFile& operator=(const PcapFile&) = delete;

    void fromClient(const Bytes& payload) { packet(true, payload, kPushAck); }
    void fromServer(const Bytes& payload) { packet(false, payload, kPushAck); }
    bool ok() const { return m_file != nullptr; }

private:
    static constexpr std::uint8_t kSyn = 0x02;
    static constexpr std::uint8_t kAck = 0x10;
    static constexpr std::uint8_t kPushAck = 0x18;

    void packet(bool fromClient, const Bytes& payload, std::uint8_t tcpFlags);
    void record(const Bytes& ipPacket);

    std::FILE* m_file = nullptr;
    Transport m_transport;
    std::uint32_t m_clientSequence = 1000;
    std::uint32_t m_serverSequence = 5000;
    std::uint32_t m_seconds = 0;
};

}  // namespace orvx::hart::test
