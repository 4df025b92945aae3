#pragma once

#include "device/Vocabulary.h"
#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <string>
#include <string_view>

namespace orvx::hart {

// A parameter's value on the wire, by its type in the device vocabulary. The business-object
// boundary speaks text; HART speaks bytes:
//   Decimal      IEEE 754 single, four bytes
//   Integer      four bytes, signed, or unsigned where the range goes past 2^31 - 1
//   Choice       one byte, the code
//   Flag/Boolean one byte, 0 or 1
//   Date         three bytes: day, month, years since 1900
//   FaultBits    nine bytes, as the eighteen hexadecimal digits of the text
//   Text         a length byte and that many bytes of UTF-8, at most 64
// A curve is too long for a frame and travels in segments of its own command.

// The bytes of a value given as text. Refused, with the reason, when the text is no value of the
// parameter (as device::problemWith says; its range is the device's to check) or does not fit.
Decoded<Bytes> encodeValue(const device::Parameter& parameter, std::string_view text);

// The text of a value read from `in`, as the business object hands it over. Refused when too
// few bytes remain or the bytes are no value of the type.
Decoded<std::string> decodeValue(const device::Parameter& parameter, ByteReader& in);

// Whether an integer travels unsigned: its range goes past 2^31 - 1 and not below 0.
bool unsignedInteger(const device::Parameter& parameter);

// Bytes a value takes on the wire; 0 for a text (its length byte says) and for a curve.
std::size_t fixedValueSize(device::ValueType type);

// The longest text a frame carries as one value.
constexpr std::size_t kMaxTextBytes = 64;

// The shortest decimal text that reads back as the same single float: "12.5", "0.1", "-3".
std::string singleText(float value);

}  // namespace orvx::hart
