#pragma once

#include <cstdint>
#include <string>

namespace orvx::hart {

// The first status byte of a response. With its top bit set it reports a communication error
// the device saw in the request (the other bits say which); otherwise it is the command's
// response code.
namespace response {
constexpr std::uint8_t Success = 0;
constexpr std::uint8_t InvalidSelection = 2;
constexpr std::uint8_t TooLarge = 3;
constexpr std::uint8_t TooSmall = 4;
constexpr std::uint8_t TooFewDataBytes = 5;
constexpr std::uint8_t DeviceSpecificError = 6;
constexpr std::uint8_t WriteProtected = 7;
constexpr std::uint8_t AccessRestricted = 16;
constexpr std::uint8_t Busy = 32;
constexpr std::uint8_t DelayedInitiated = 33;
constexpr std::uint8_t DelayedRunning = 34;
constexpr std::uint8_t DelayedDead = 35;
constexpr std::uint8_t DelayedConflict = 36;
constexpr std::uint8_t NotImplemented = 64;
constexpr std::uint8_t CommunicationErrorBit = 0x80;
// Two that mean something for one command only: 9 to command 38, 12 to command 6.
constexpr std::uint8_t CounterMismatch = 9;
constexpr std::uint8_t InvalidModeSelection = 12;
}  // namespace response

enum class ResponseClass {
    Success,
    Warning,        // done, with something to say (an update failure, a value set nearest)
    Error,          // not done
    Busy,           // not done now; a master asks again
    Delayed,        // a delayed response: started, running, or its result is gone
    Communication,  // the device could not read the request
};

ResponseClass responseClass(std::uint8_t code);

// "busy (32)", "command not implemented (64)", "communication error: check byte (0x88)".
std::string responseText(std::uint8_t code);

// The field device status, the second status byte of every response.
namespace device_status {
constexpr std::uint8_t Malfunction = 0x80;
constexpr std::uint8_t ConfigurationChanged = 0x40;
constexpr std::uint8_t ColdStart = 0x20;
constexpr std::uint8_t MoreStatusAvailable = 0x10;
constexpr std::uint8_t LoopCurrentFixed = 0x08;
constexpr std::uint8_t LoopCurrentSaturated = 0x04;
constexpr std::uint8_t NonPrimaryOutOfLimits = 0x02;
constexpr std::uint8_t PrimaryOutOfLimits = 0x01;
}  // namespace device_status

}  // namespace orvx::hart
