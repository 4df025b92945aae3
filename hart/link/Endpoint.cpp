#include "hart/link/Endpoint.h"

#include <charconv>

namespace orvx::hart {

namespace {

constexpr std::string_view kTcpScheme = "hart-ip://";
constexpr std::string_view kUdpScheme = "hart-ip+udp://";
constexpr std::string_view kTlsScheme = "hart-ip+tls://";

std::string_view schemeOf(Endpoint::Transport transport)
{
    switch (transport) {
    case Endpoint::Transport::Udp: return kUdpScheme;
    case Endpoint::Transport::Tls: return kTlsScheme;
    case Endpoint::Transport::Tcp: break;
    }
    return kTcpScheme;
}

template <class T>
bool whole(std::string_view text, T& value, unsigned long max)
{
    unsigned long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number > max)
        return false;
    value = static_cast<T>(number);
    return true;
}

}  // namespace

std::string Endpoint::text() const
{
    return std::string(schemeOf(transport)) + host + ":" + std::to_string(port) + "/" + std::to_string(pollAddress);
}

Decoded<Endpoint> parseEndpoint(const std::string& text)
{
    Endpoint endpoint;
    std::string_view rest = text;
    if (rest.starts_with(kTcpScheme)) {
        rest.remove_prefix(kTcpScheme.size());
    } else if (rest.starts_with(kUdpScheme)) {
        endpoint.transport = Endpoint::Transport::Udp;
        rest.remove_prefix(kUdpScheme.size());
    } else if (rest.starts_with(kTlsScheme)) {
        endpoint.transport = Endpoint::Transport::Tls;
        rest.remove_prefix(kTlsScheme.size());
    } else {
        return refuse(0, "a device is hart-ip://HOST[:PORT][/POLL], hart-ip+udp://HOST[:PORT][/POLL] or "
                         "hart-ip+tls://HOST[:PORT][/POLL]");
    }
    const std::size_t schemeSize = text.size() - rest.size();
    const std::size_t slash = rest.find('/');
    std::string_view hostPort = rest.substr(0, slash);
    if (slash != std::string_view::npos && !whole(rest.substr(slash + 1), endpoint.pollAddress, 63))
        return refuse(schemeSize + slash + 1, "the poll address is a number from 0 to 63");
    const std::size_t colon = hostPort.find(':');
    if (colon != std::string_view::npos) {
        if (!whole(hostPort.substr(colon + 1), endpoint.port, 65535) || endpoint.port == 0)
            return refuse(schemeSize + colon + 1, "the port is a number from 1 to 65535");
        hostPort = hostPort.substr(0, colon);
    }
    if (hostPort.empty())
        return refuse(schemeSize, "no host");
    endpoint.host = std::string(hostPort);
    return endpoint;
}

}  // namespace orvx::hart
