#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvx::simulator {

// The device's 72 fault bits, as its fault parameters hold them: 9 bytes in hexadecimal text,
// bit number n (1 to 72) being bit (n - 1) % 8 of byte (n - 1) / 8.
class FaultSet {
public:
    static constexpr int kLowSupply = 4;
    static constexpr int kFindStopsFailed = 10;
    static constexpr int kAutotuneFailed = 11;
    static constexpr int kHighSupply = 15;
    static constexpr int kNvmWriteFault = 44;
    static constexpr int kEsdTripped = 49;
    static constexpr int kNewEsdData = 50;
    static constexpr int kPstFailed = 52;
    static constexpr int kNewPstData = 53;
    static constexpr int kFrictionBelowNormal = 59;
    static constexpr int kFrictionAboveNormal = 60;
    static constexpr int kBreakoutExceeded = 61;
    static constexpr int kDroopAbnormal = 62;
    static constexpr int kPstCancelled = 63;
    static constexpr int kValveStuckClosed = 69;
    static constexpr int kValveStuckOpened = 70;

    // Pairs that are missing or not hexadecimal count as no faults.
    static FaultSet FromHex(std::string_view hex);
    // 18 upper-case hexadecimal digits.
    std::string Hex() const;

    void Raise(int bitNumber);
    void Clear(int bitNumber);
    bool IsRaised(int bitNumber) const;
    FaultSet& operator|=(const FaultSet& other);

private:
    std::array<std::uint8_t, 9> m_bytes{};
};

}  // namespace orvx::simulator
