#include "hart/protocol/PackedAscii.h"

namespace orvx::hart {

namespace {

bool packable(char c)
{
    return c >= 0x20 && c <= 0x5F;
}

}  // namespace

Decoded<Bytes> packAscii(std::string_view text, std::size_t size)
{
    if (size % 3 != 0)
        return refuse(0, "a packed field is a whole number of three-byte groups, not " + std::to_string(size));
    const std::size_t capacity = size / 3 * 4;
    if (text.size() > capacity)
        return refuse(capacity, "longer than the " + std::to_string(capacity) + " characters the field holds");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!packable(text[i]))
            return refuse(i, "character " + hexByte(static_cast<std::uint8_t>(text[i])) +
                                 " is not in the packed set (space to underscore, capitals only)");
    }
    Bytes packed;
    packed.reserve(size);
    for (std::size_t group = 0; group < capacity; group += 4) {
        std::uint32_t bits = 0;
        for (std::size_t i = group; i < group + 4; ++i)
            bits = bits << 6 | ((i < text.size() ? text[i] : ' ') & 0x3F);
        ByteWriter(packed).u24(bits);
    }
    return packed;
}

std::string unpackAscii(ByteView packed)
{
    std::string text;
    text.reserve(packed.size() / 3 * 4);
    ByteReader reader(packed);
    while (reader.remaining() >= 3) {
        const std::uint32_t bits = reader.u24();
        for (int shift = 18; shift >= 0; shift -= 6) {
            const auto six = static_cast<char>(bits >> shift & 0x3F);
            text.push_back(static_cast<char>(six | ((~six & 0x20) << 1)));
        }
    }
    return text;
}

}  // namespace orvx::hart
