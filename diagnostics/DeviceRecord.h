#pragma once

#include "DiagRecord.h"

#include <QLatin1StringView>

#include <functional>
#include <optional>

namespace orvx::diagnostics {

// A whole number the device holds under a tag; a refused read or a text that is no number throws.
using DeviceInteger = std::function<std::int32_t(QLatin1StringView tag)>;
// A parameter's text under a tag; a refused read throws.
using DeviceText = std::function<QString(QLatin1StringView tag)>;

// The fifteen values of a record of the device's last test, from where the device keeps each:
// a PST's from its record parameters (the samples up being the stroke's total less the samples
// down), an ESD event's only its sample interval; both carry the pressure unit `unit`.
std::array<std::int32_t, kRecordValueCount> deviceRecordValues(DiagKind kind, const DeviceInteger& integer,
                                                               std::int32_t interval, std::int32_t unit);

// The device's last PST or ESD event as a data file would keep it, read parameter by parameter:
// both curves, the values, tag and device id. None, with the reason in `why`, when the device has
// no such test, a curve text does not read, or a read fails.
std::optional<DiagRecord> readDeviceRecord(DiagKind kind, const DeviceText& text, QString* why);

}  // namespace orvx::diagnostics
