#pragma once

#include <QDateTime>

#include <cstdint>

namespace orvx::views {

// What the device is told when the next PST is scheduled: the day within the interval and the
// minute of that day the tests start at, counted from the schedule's anchor (1 January 2006,
// 00:00 local time), and the span left until the chosen time.
struct PstSchedule {
    std::int32_t dayIndex = 0;
    std::int32_t minuteOfDay = 0;
    std::int32_t remainingDays = 0;
    std::int32_t remainingMinutes = 0;  // of the last started day
};

// The schedule for a test at 'chosen' (not earlier than 'now') repeated every 'intervalDays'
// (at least 1) days.
PstSchedule computePstSchedule(const QDateTime& chosen, const QDateTime& now, std::int64_t intervalDays);

}  // namespace orvx::views
