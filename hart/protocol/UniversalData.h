#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvx::hart {

// The data of the universal commands beyond identity and texts (DeviceIdentity.h, DeviceTexts.h):
// what comes after the response code and the device status. Every decoder refuses data too
// short for its layout with the reason; bytes after a fixed layout are ignored, as a later
// revision may add some, but a layout whose length says what it holds (3, 48) refuses a length
// that fits none.

// A variable as commands 1 and 3 give it: its unit code and its value.
struct UnitValue {
    std::uint8_t unit = 0;
    float value = 0.0f;
};

// Command 1: the primary variable, unit and value, 5 bytes.
Bytes encodePrimaryVariable(const UnitValue& pv);
Decoded<UnitValue> decodePrimaryVariable(ByteView data);

// Command 2: the loop current in mA and the percent of range, 8 bytes.
struct LoopCurrent {
    float milliamperes = 0.0f;
    float percentOfRange = 0.0f;
};
Bytes encodeLoopCurrent(const LoopCurrent& current);
Decoded<LoopCurrent> decodeLoopCurrent(ByteView data);

// Command 3: the loop current, then one to four dynamic variables (PV, SV, TV, QV), 5 bytes each.
struct DynamicVariables {
    float loopCurrent = 0.0f;
    std::vector<UnitValue> variables;
};
constexpr std::size_t kMaxDynamicVariables = 4;
// Refused without a variable or with more than four.
Decoded<Bytes> encodeDynamicVariables(const DynamicVariables& values);
Decoded<DynamicVariables> decodeDynamicVariables(ByteView data);

// Commands 6 (the request and its echo) and 7: the poll address and whether the loop current
// follows the process (enabled) or stays fixed, as for a device on a multidrop line. A master
// older than the loop current mode sends the address alone; the mode is then enabled at address
// 0 only.
struct LoopConfiguration {
    std::uint8_t pollAddress = 0;
    bool loopCurrentEnabled = true;
};
constexpr std::uint8_t kMaxPollAddress = 63;
Bytes encodeLoopConfiguration(const LoopConfiguration& configuration);
// Refused when empty, with a poll address over 63 or a mode other than 0 and 1; `minimum` is
// the bytes the caller needs (1 for a command 6 request, 2 for the replies).
Decoded<LoopConfiguration> decodeLoopConfiguration(ByteView data, std::size_t minimum = 2);

// Command 11: the request carries the tag, 8 packed characters in 6 bytes.
Decoded<Bytes> encodeTagRequest(const std::string& tag);
// The tag without trailing spaces; refused under 6 bytes.
Decoded<std::string> decodeTagRequest(ByteView data);

// Commands 16 and 19: the final assembly number, 3 bytes.
Decoded<Bytes> encodeFinalAssemblyNumber(std::uint32_t number);
Decoded<std::uint32_t> decodeFinalAssemblyNumber(ByteView data);

// Command 38: from universal revision 7 the request carries the configuration change counter
// the master last read, and the reply repeats it; before, both are empty. Nothing decodes to
// no counter; a single byte is refused.
Bytes encodeConfigurationCounter(std::optional<std::uint16_t> counter);
Decoded<std::optional<std::uint16_t>> decodeConfigurationCounter(ByteView data);

// Command 48: additional device status, 6 to 25 bytes. The first six and the last eleven are
// the device's own; between them the status every device shares. Only the bytes a device sent
// are encoded again (`length`), so an older device's short reply keeps its length.
struct AdditionalStatus {
    std::array<std::uint8_t, 6> deviceSpecific{};
    std::uint8_t extendedDeviceStatus = 0;
    std::uint8_t operatingMode = 0;
    std::uint8_t standardized0 = 0;
    std::uint8_t standardized1 = 0;
    std::uint8_t analogSaturated = 0;
    std::uint8_t standardized2 = 0;
    std::uint8_t standardized3 = 0;
    std::uint8_t analogFixed = 0;
    std::array<std::uint8_t, 11> moreDeviceSpecific{};
    std::uint8_t length = 25;
};
constexpr std::size_t kMinAdditionalStatus = 6;
constexpr std::size_t kMaxAdditionalStatus = 25;
// Refused when `length` is outside 6 to 25.
Decoded<Bytes> encodeAdditionalStatus(const AdditionalStatus& status);
Decoded<AdditionalStatus> decodeAdditionalStatus(ByteView data);

// The extended device status bits (byte 6 of command 48, and of command 0 from revision 7).
namespace extended_status {
constexpr std::uint8_t MaintenanceRequired = 0x01;
constexpr std::uint8_t DeviceVariableAlert = 0x02;
constexpr std::uint8_t CriticalPowerFailure = 0x04;
}  // namespace extended_status

}  // namespace orvx::hart
