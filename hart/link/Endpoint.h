#pragma once

#include "hart/protocol/Decoded.h"

#include <cstdint>
#include <string>

namespace orvx::hart {

// Where a HART device is reached: "hart-ip://HOST[:PORT][/POLL]" over TCP, "hart-ip+udp://..."
// over UDP, "hart-ip+tls://..." over TLS with a pre-shared key, on TCP, or "serial://PATH[/POLL]"
// through a modem on a serial line. HOST is an IPv4 address or a name; PORT 5094 unless given;
// POLL the device's poll address behind the server or on the loop, 0 unless given. PATH is
// absolute; its last part is read as the poll address only when it is a number and what comes
// before it is not a folder, so that "serial:///dev/pts/3" is the third pseudo-terminal and
// "serial:///dev/ttyUSB0/3" the device at poll address 3 on the first USB modem.
struct Endpoint {
    enum class Transport { Tcp, Udp, Serial, Tls };
    Transport transport = Transport::Tcp;
    std::string host;  // the serial line's path for Serial
    std::uint16_t port = 5094;
    std::uint8_t pollAddress = 0;

    std::string text() const;
};

// Refused, with the reason, for any other form: another scheme, no host, a port outside 1 to
// 65535, a poll address over 63, or anything after the poll address.
Decoded<Endpoint> parseEndpoint(const std::string& text);

}  // namespace orvx::hart
