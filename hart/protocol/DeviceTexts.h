#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <cstdint>
#include <string>

namespace orvx::hart {

// A date as HART sends it: day, month, and the year less 1900 in one byte.
struct HartDate {
    std::uint8_t day = 1;
    std::uint8_t month = 1;
    int year = 1900;  // 1900 to 2155

    // A day of the calendar. Devices that never had a date set send what they were made with,
    // often zeros, so a decoded date is kept as it came and asked here.
    bool valid() const;
};

// Command 13 (read) and 18 (write): tag, descriptor and date.
struct TagDescriptorDate {
    std::string tag;         // up to 8 packed characters
    std::string descriptor;  // up to 16
    HartDate date;
};

// Refused with the field and the reason when a text cannot be packed or the date is outside
// the calendar or the years one byte holds.
Decoded<Bytes> encodeTagDescriptorDate(const TagDescriptorDate& value);
// Trailing spaces of the texts are dropped. Refused when fewer than 21 bytes arrived.
Decoded<TagDescriptorDate> decodeTagDescriptorDate(ByteView data);

// Commands 12 and 17: the message, 32 packed characters in 24 bytes.
Decoded<Bytes> encodeMessageText(const std::string& message);
Decoded<std::string> decodeMessageText(ByteView data);

// Commands 20 and 22: the long tag, 32 ISO Latin-1 bytes padded with NULs.
Decoded<Bytes> encodeLongTag(const std::string& latin1);
Decoded<std::string> decodeLongTag(ByteView data);

}  // namespace orvx::hart
