#pragma once

#include "hart/protocol/Decoded.h"

#include <cstdint>
#include <string>

namespace orvx::hart {

// Where a HART device is reached: "hart-ip://HOST[:PORT][/POLL]" over TCP, "hart-ip+udp://..."
// over UDP, or "hart-ip+tls://..." over TLS with a pre-shared key, on TCP. HOST is an IPv4 address or a name; PORT 5094
// unless given; POLL the device's poll address behind the server, 0 unless given.
struct Endpoint {
    enum class Transport { Tcp, Udp, Tls };
    Transport transport = Transport::Tcp;
    std::string host;
    std::uint16_t port = 5094;
    std::uint8_t pollAddress = 0;

    std::string text() const;
};

// Refused, with the reason, for any other form: another scheme, no host, a port outside 1 to
// 65535, a poll address over 63, or anything after the poll address.
Decoded<Endpoint> parseEndpoint(const std::string& text);

}  // namespace orvx::hart
