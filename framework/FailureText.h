#pragma once

#include "device/DeviceNames.h"

#include <QString>

#include <cstdint>

namespace orvx::framework {

// What every page shows when the device answers an operation with a failure code that means
// the same whatever the operation: "Device is busy, please wait a moment!" for busy (-2). Null
// for a code whose text is the operation's own (cancelled or failed in the device, or a
// page's own failure text).
inline QString failureText(std::int32_t code)
{
    if (code == device::code::Busy)
        return QStringLiteral("Device is busy, please wait a moment!");
    return {};
}

}  // namespace orvx::framework
