#pragma once

#include <cstdint>

namespace orvx::hart {

// The universal commands the link and the device server use, by their HART numbers.
namespace universal_command {
constexpr std::uint8_t ReadUniqueIdentifier = 0;
constexpr std::uint8_t ReadPrimaryVariable = 1;
constexpr std::uint8_t ReadLoopCurrentAndPercent = 2;
constexpr std::uint8_t ReadDynamicVariables = 3;
constexpr std::uint8_t WritePollingAddress = 6;
constexpr std::uint8_t ReadLoopConfiguration = 7;
constexpr std::uint8_t ReadUniqueIdentifierByTag = 11;
constexpr std::uint8_t ReadMessage = 12;
constexpr std::uint8_t ReadTagDescriptorDate = 13;
constexpr std::uint8_t ReadFinalAssemblyNumber = 16;
constexpr std::uint8_t WriteMessage = 17;
constexpr std::uint8_t WriteTagDescriptorDate = 18;
constexpr std::uint8_t WriteFinalAssemblyNumber = 19;
constexpr std::uint8_t ReadLongTag = 20;
constexpr std::uint8_t WriteLongTag = 22;
constexpr std::uint8_t ResetConfigurationChanged = 38;
constexpr std::uint8_t ReadAdditionalStatus = 48;
}  // namespace universal_command

// The HART unit codes the device and the link use.
namespace unit_code {
constexpr std::uint8_t Psi = 6;
constexpr std::uint8_t Bar = 7;
constexpr std::uint8_t KiloPascal = 12;
constexpr std::uint8_t MilliAmpere = 39;
constexpr std::uint8_t Percent = 57;
constexpr std::uint8_t NotUsed = 250;
}  // namespace unit_code

}  // namespace orvx::hart
