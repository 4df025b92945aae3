#pragma once

#include <cstdint>

namespace orvx::hart {

// The universal commands the link and the device server use, by their HART numbers.
namespace universal_command {
constexpr std::uint8_t ReadUniqueIdentifier = 0;
constexpr std::uint8_t ReadMessage = 12;
constexpr std::uint8_t ReadTagDescriptorDate = 13;
constexpr std::uint8_t ReadFinalAssemblyNumber = 16;
constexpr std::uint8_t WriteMessage = 17;
}  // namespace universal_command

}  // namespace orvx::hart
