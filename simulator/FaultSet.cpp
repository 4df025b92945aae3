#include "FaultSet.h"

#include <charconv>

namespace orvx::simulator {

FaultSet FaultSet::FromHex(std::string_view hex)
{
    FaultSet faults;
    for (std::size_t i = 0; i < faults.m_bytes.size() && 2 * i + 2 <= hex.size(); ++i) {
        std::uint8_t byte = 0;
        const auto [end, error] = std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, byte, 16);
        if (error == std::errc() && end == hex.data() + 2 * i + 2)
            faults.m_bytes[i] = byte;
    }
    return faults;
}

std::string FaultSet::Hex() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t byte : m_bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

void FaultSet::Raise(int bitNumber)
{
    if (bitNumber >= 1 && bitNumber <= 8 * static_cast<int>(m_bytes.size()))
        m_bytes[(bitNumber - 1) / 8] |= static_cast<std::uint8_t>(1u << ((bitNumber - 1) % 8));
}

void FaultSet::Clear(int bitNumber)
{
    if (bitNumber >= 1 && bitNumber <= 8 * static_cast<int>(m_bytes.size()))
        m_bytes[(bitNumber - 1) / 8] &= static_cast<std::uint8_t>(~(1u << ((bitNumber - 1) % 8)));
}

bool FaultSet::IsRaised(int bitNumber) const
{
    return bitNumber >= 1 && bitNumber <= 8 * static_cast<int>(m_bytes.size()) &&
           (m_bytes[(bitNumber - 1) / 8] >> ((bitNumber - 1) % 8) & 1u);
}

FaultSet& FaultSet::operator|=(const FaultSet& other)
{
    for (std::size_t i = 0; i < m_bytes.size(); ++i)
        m_bytes[i] |= other.m_bytes[i];
    return *this;
}

}  // namespace orvx::simulator
