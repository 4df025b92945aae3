#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <array>
#include <cstdint>

namespace orvx::hart {

// Who sends a frame, from the delimiter's low bits.
enum class FrameType : std::uint8_t {
    Burst = 1,     // a device publishing without being asked
    Request = 2,   // master to device
    Response = 6,  // device to master
};

// The address of a frame. A short address is the poll address (0 to 63) that command 0 is sent
// to; every other command goes to the long address, the five bytes of the device's unique
// identifier (expanded device type and device id) that command 0 answers with.
struct Address {
    bool isLong = false;
    std::uint8_t pollAddress = 0;
    std::array<std::uint8_t, 5> unique{};  // the top two bits of the first byte are not part of it
    bool primaryMaster = true;             // false: the secondary master (a hand-held)
    bool burstMode = false;                // set by a device in burst mode

    static Address poll(std::uint8_t pollAddress);
    static Address unique5(const std::array<std::uint8_t, 5>& unique);
    bool sameDevice(const Address& other) const;
};

// A token-passing frame as HART-IP carries it and as a modem sends it after its preambles:
// delimiter, address, expansion bytes, command, byte count, (response code and field device
// status in a response or burst), data and the check byte, the exclusive or of all before it.
struct Pdu {
    FrameType type = FrameType::Request;
    Address address;
    Bytes expansion;  // at most three bytes
    std::uint8_t command = 0;
    std::uint8_t responseCode = 0;  // response and burst frames only
    std::uint8_t deviceStatus = 0;  // response and burst frames only
    Bytes data;

    bool hasStatus() const { return type != FrameType::Request; }
};

// Longest data a frame can hold: the byte count is one byte and, in a response, counts the
// response code and the device status too.
constexpr std::size_t kMaxRequestData = 255;
constexpr std::size_t kMaxResponseData = 253;
constexpr std::size_t kMaxExpansionBytes = 3;
// Preambles a sender may put before the delimiter on a serial line, and a receiver accepts.
constexpr std::size_t kMaxPreambles = 20;

// The frame's bytes after `preambles` bytes of 0xFF. Refused when the data or the expansion is
// too long for the frame, a poll address is over 63, or the preambles are more than kMaxPreambles.
Decoded<Bytes> encodePdu(const Pdu& pdu, std::size_t preambles = 0);

// One whole frame, preambles allowed, nothing after the check byte. Refused with the offset of
// the fault: no delimiter, an unknown frame type or physical layer, a frame shorter or longer than
// its byte count says, a response without its two status bytes, or a wrong check byte.
Decoded<Pdu> decodePdu(ByteView frame);

// The bytes a frame needs in all, read from the front of a partial one (preambles included), or
// zero while its byte count has not arrived; a serial receiver uses it to know where a frame ends.
std::size_t pduLength(ByteView partial);

// Whether a byte can begin a frame: a known frame type on the FSK physical layer.
bool isDelimiter(std::uint8_t byte);

}  // namespace orvx::hart
