#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <string>
#include <string_view>

namespace orvx::hart {

// The key a HART-IP client and server share for TLS, and the name the client gives for it.
struct PresharedKey {
    static constexpr std::size_t kMaxIdentity = 128;
    static constexpr std::size_t kMinKey = 16;
    static constexpr std::size_t kMaxKey = 64;

    std::string identity;  // printable ASCII, 1 to kMaxIdentity characters
    Bytes key;             // kMinKey to kMaxKey bytes
};

// Reads "IDENTITY:HEXKEY", one line, a line end after it allowed. Refused, with the reason and
// the offset it failed at, for anything else.
Decoded<PresharedKey> parsePresharedKey(std::string_view line);

// The key in the file at `path`; refused when the file cannot be read or its line is refused.
Decoded<PresharedKey> readPresharedKey(const std::string& path);

}  // namespace orvx::hart
