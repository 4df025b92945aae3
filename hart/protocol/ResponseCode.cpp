#include "hart/protocol/ResponseCode.h"

#include "hart/protocol/Bytes.h"

#include <array>
#include <string_view>

namespace orvx::hart {

namespace {

struct KnownCode {
    std::uint8_t code;
    ResponseClass kind;
    std::string_view text;
};

// The codes that mean the same for every command. The rest (1 to 127) belong to each command;
// HART reserves 8, 14, 24 to 27, 30, 31 and 96 to 111 for warnings.
constexpr std::array<KnownCode, 14> kKnownCodes{{
    {response::Success, ResponseClass::Success, "success"},
    {response::InvalidSelection, ResponseClass::Error, "invalid selection"},
    {response::TooLarge, ResponseClass::Error, "passed parameter too large"},
    {response::TooSmall, ResponseClass::Error, "passed parameter too small"},
    {response::TooFewDataBytes, ResponseClass::Error, "too few data bytes received"},
    {response::DeviceSpecificError, ResponseClass::Error, "device-specific command error"},
    {response::WriteProtected, ResponseClass::Error, "in write protect mode"},
    {response::AccessRestricted, ResponseClass::Error, "access restricted"},
    {response::Busy, ResponseClass::Busy, "busy"},
    {response::DelayedInitiated, ResponseClass::Delayed, "delayed response initiated"},
    {response::DelayedRunning, ResponseClass::Delayed, "delayed response running"},
    {response::DelayedDead, ResponseClass::Delayed, "delayed response dead"},
    {response::DelayedConflict, ResponseClass::Error, "delayed response conflict"},
    {response::NotImplemented, ResponseClass::Error, "command not implemented"},
}};

const KnownCode* known(std::uint8_t code)
{
    for (const KnownCode& k : kKnownCodes) {
        if (k.code == code)
            return &k;
    }
    return nullptr;
}

bool warningCode(std::uint8_t code)
{
    return code == 8 || code == 14 || (code >= 24 && code <= 27) || code == 30 || code == 31 ||
           (code >= 96 && code <= 111);
}

// The bits of a communication error, from the most significant down.
constexpr std::array<std::string_view, 7> kCommunicationErrors{
    "vertical parity", "overrun", "framing", "check byte", "reserved", "receive buffer overflow", "reserved"};

}  // namespace

ResponseClass responseClass(std::uint8_t code)
{
    if (code & response::CommunicationErrorBit)
        return ResponseClass::Communication;
    if (const KnownCode* k = known(code))
        return k->kind;
    return warningCode(code) ? ResponseClass::Warning : ResponseClass::Error;
}

std::string responseText(std::uint8_t code)
{
    if (code & response::CommunicationErrorBit) {
        // Appended piece by piece: GCC 12 at -O3 warns of an overlap in "text" + string.
        std::string text = "communication error:";
        for (std::size_t bit = 0; bit < kCommunicationErrors.size(); ++bit) {
            if (code & (0x40 >> bit)) {
                text += ' ';
                text += kCommunicationErrors[bit];
            }
        }
        text += " (";
        text += hexByte(code);
        text += ')';
        return text;
    }
    const KnownCode* k = known(code);
    std::string text(k ? k->text : (warningCode(code) ? "warning" : "command-specific error"));
    text += " (";
    text += std::to_string(code);
    text += ')';
    return text;
}

}  // namespace orvx::hart
