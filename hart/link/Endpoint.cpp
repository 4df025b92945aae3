#include "hart/link/Endpoint.h"

#include <charconv>
#include <filesystem>

namespace orvx::hart {

namespace {

constexpr std::string_view kTcpScheme = "hart-ip://";
constexpr std::string_view kUdpScheme = "hart-ip+udp://";
constexpr std::string_view kTlsScheme = "hart-ip+tls://";
constexpr std::string_view kSerialScheme = "serial://";
constexpr std::string_view kForms = "a device is hart-ip://HOST[:PORT][/POLL], hart-ip+udp://HOST[:PORT][/POLL], "
                                    "hart-ip+tls://HOST[:PORT][/POLL] or serial:///DEVICE[/POLL]";

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

Decoded<Endpoint> parseSerial(std::string_view path)
{
    Endpoint endpoint;
    endpoint.transport = Endpoint::Transport::Serial;
    if (!path.starts_with('/') || path.size() < 2)
        return refuse(kSerialScheme.size(), "a serial line is named by its absolute path, as serial:///dev/ttyUSB0");
    const std::size_t slash = path.rfind('/');
    const std::string_view folder = path.substr(0, slash);
    const std::string_view last = path.substr(slash + 1);
    const bool numbered = !last.empty() && last.find_first_not_of("0123456789") == std::string_view::npos;
    if (numbered && !folder.empty() && !std::filesystem::is_directory(std::string(folder))) {
        if (!whole(last, endpoint.pollAddress, 63))
            return refuse(kSerialScheme.size() + slash + 1, "the poll address is a number from 0 to 63");
        path = folder;
    }
    endpoint.host = std::string(path);
    return endpoint;
}

std::string_view scheme(Endpoint::Transport transport)
{
    switch (transport) {
    case Endpoint::Transport::Tcp: return kTcpScheme;
    case Endpoint::Transport::Udp: return kUdpScheme;
    case Endpoint::Transport::Serial: return kSerialScheme;
    case Endpoint::Transport::Tls: return kTlsScheme;
    }
    return kTcpScheme;
}

}  // namespace

std::string Endpoint::text() const
{
    const std::string where = transport == Transport::Serial ? host : host + ":" + std::to_string(port);
    return std::string(scheme(transport)) + where + "/" + std::to_string(pollAddress);
}

Decoded<Endpoint> parseEndpoint(const std::string& text)
{
    Endpoint endpoint;
    std::string_view rest = text;
    if (rest.starts_with(kSerialScheme))
        return parseSerial(rest.substr(kSerialScheme.size()));
    if (rest.starts_with(kTcpScheme)) {
        rest.remove_prefix(kTcpScheme.size());
    } else if (rest.starts_with(kUdpScheme)) {
        endpoint.transport = Endpoint::Transport::Udp;
        rest.remove_prefix(kUdpScheme.size());
    } else if (rest.starts_with(kTlsScheme)) {
        endpoint.transport = Endpoint::Transport::Tls;
        rest.remove_prefix(kTlsScheme.size());
    } else {
        return refuse(0, std::string(kForms));
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
