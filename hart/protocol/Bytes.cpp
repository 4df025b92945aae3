#include "hart/protocol/Bytes.h"

#include <bit>
#include <limits>

namespace orvx::hart {

void ByteWriter::u16(std::uint16_t value)
{
    u8(static_cast<std::uint8_t>(value >> 8));
    u8(static_cast<std::uint8_t>(value));
}

void ByteWriter::u24(std::uint32_t value)
{
    u8(static_cast<std::uint8_t>(value >> 16));
    u16(static_cast<std::uint16_t>(value));
}

void ByteWriter::u32(std::uint32_t value)
{
    u16(static_cast<std::uint16_t>(value >> 16));
    u16(static_cast<std::uint16_t>(value));
}

void ByteWriter::f32(float value)
{
    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    u32(std::bit_cast<std::uint32_t>(value));
}

bool ByteReader::take(std::size_t count)
{
    if (m_failed || count > remaining()) {
        m_failed = true;
        return false;
    }
    return true;
}

std::uint8_t ByteReader::u8()
{
    if (!take(1))
        return 0;
    return m_data[m_offset++];
}

std::uint16_t ByteReader::u16()
{
    if (!take(2))
        return 0;
    const auto value = static_cast<std::uint16_t>(m_data[m_offset] << 8 | m_data[m_offset + 1]);
    m_offset += 2;
    return value;
}

std::uint32_t ByteReader::u24()
{
    if (!take(3))
        return 0;
    const std::uint32_t high = u8();
    return high << 16 | u16();
}

std::uint32_t ByteReader::u32()
{
    if (!take(4))
        return 0;
    const std::uint32_t high = u16();
    return high << 16 | u16();
}

float ByteReader::f32()
{
    return std::bit_cast<float>(u32());
}

ByteView ByteReader::bytes(std::size_t count)
{
    if (!take(count))
        return {};
    const ByteView part = m_data.subspan(m_offset, count);
    m_offset += count;
    return part;
}

std::string hexByte(std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    return std::string{'0', 'x', kDigits[value >> 4], kDigits[value & 0xF]};
}

}  // namespace orvx::hart
