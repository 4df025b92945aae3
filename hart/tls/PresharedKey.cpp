#include "hart/tls/PresharedKey.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace orvx::hart {

namespace {

// Longer than any line we accept: a file that is, is not a key file.
constexpr std::size_t kMaxFileSize = 1024;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

Decoded<PresharedKey> parsePresharedKey(std::string_view line)
{
    if (line.ends_with('\n'))
        line.remove_suffix(1);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return refuse(line.size(), "a key file holds one line IDENTITY:HEXKEY, and this one has no ':'");
    if (colon == 0 || colon > PresharedKey::kMaxIdentity)
        return refuse(0, "the identity is 1 to " + std::to_string(PresharedKey::kMaxIdentity) + " characters");
    PresharedKey result;
    for (std::size_t i = 0; i < colon; ++i) {
        if (line[i] < 0x20 || line[i] > 0x7e)
            return refuse(i, "the identity is printable ASCII");
    }
    result.identity = std::string(line.substr(0, colon));
    const std::string_view hex = line.substr(colon + 1);
    if (hex.size() % 2 != 0)
        return refuse(colon + 1 + hex.size(), "the key has an odd number of hex digits");
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return refuse(colon + 1 + i + (high < 0 ? 0 : 1), "the key is hex digits only");
        result.key.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    if (result.key.size() < PresharedKey::kMinKey || result.key.size() > PresharedKey::kMaxKey)
        return refuse(colon + 1, "the key is " + std::to_string(PresharedKey::kMinKey) + " to " +
                                     std::to_string(PresharedKey::kMaxKey) + " bytes (" +
                                     std::to_string(2 * PresharedKey::kMinKey) + " to " +
                                     std::to_string(2 * PresharedKey::kMaxKey) + " hex digits), this one " +
                                     std::to_string(result.key.size()));
    return result;
}

Decoded<PresharedKey> readPresharedKey(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return refuse(0, "cannot read the key file " + path + ": " + std::strerror(errno));
    std::string text;
    text.resize(kMaxFileSize + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > kMaxFileSize)
        return refuse(kMaxFileSize, "the key file " + path + " is longer than a key line");
    Decoded<PresharedKey> key = parsePresharedKey(text);
    if (!key)
        return refuse(key.refusal().offset, "the key file " + path + ": " + key.refusal().reason);
    return key;
}

}  // namespace orvx::hart
