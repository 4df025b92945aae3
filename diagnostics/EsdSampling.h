#pragma once

#include "DiagRecord.h"

#include <QString>

#include <cstdint>

namespace orvx::diagnostics {

// A data file keeps no sampling interval for an ESD event (its record holds only PresUnits),
// so the interval its device sampled it at is remembered whenever an ESD event is loaded from
// a device: "16039", which describes the event loaded. It is kept per device (tag, blanks
// around it ignored, and device id) in this process's memory only.
void rememberEsdInterval(const QString& tag, std::int32_t deviceId, int intervalMs);

// The milliseconds between a record's samples: its Interval value when that is positive; for
// an ESD event without one, the interval its device reported in this process; else 0, which
// means unknown.
int samplingIntervalOf(const DiagRecord& record);

}  // namespace orvx::diagnostics
