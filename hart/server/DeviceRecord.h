#pragma once

#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/DeviceTexts.h"

#include <string>

namespace orvx::hart {

// What a served device answers the universal commands from, and keeps of what they write.
struct DeviceRecord {
    std::uint8_t pollAddress = 0;
    DeviceIdentity identity;
    TagDescriptorDate tagDescriptorDate;
    std::string message;
    std::string longTag;
    std::uint8_t deviceStatus = 0;  // the field device status every response carries
};

}  // namespace orvx::hart
