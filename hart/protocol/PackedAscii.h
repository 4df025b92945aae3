#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <string>
#include <string_view>

namespace orvx::hart {

// HART's packed ASCII: four characters of six bits in three bytes, for the tag, the descriptor
// and the message. Only the 64 characters from space to underscore can be sent (capitals,
// digits and punctuation); bit 6 of each comes back as the complement of bit 5.

// The text packed into exactly `size` bytes (a multiple of three), padded with spaces. Refused,
// with the position of the first character that cannot be packed, when the text holds one
// outside the set (a lower-case letter among them: the caller decides whether to raise it) or
// is longer than size * 4 / 3 characters.
Decoded<Bytes> packAscii(std::string_view text, std::size_t size);

// The characters of packed bytes, trailing spaces kept; a partial group at the end is ignored.
std::string unpackAscii(ByteView packed);

}  // namespace orvx::hart
