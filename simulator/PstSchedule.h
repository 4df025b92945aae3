#pragma once

#include <cstdint>

namespace orvx::simulator {

class ParameterTable;

// The device's PST schedule on the scheduler's clock: a test every interval, at a fixed place in
// the interval's cycle.
//
// What a schedule write carries is two places in that cycle, each as days and minutes: where the
// test starts (PstStartDay, PstStartMinute) and where the writer's clock stood when it wrote
// (PstElapsedDays, PstElapsedMinutes). The device has no calendar of its own, so it takes the
// difference of the two, modulo the interval (PstInterval), as the wait from the moment the
// write was asked for.
class PstSchedule {
public:
    struct Left {
        std::int64_t days;
        std::int64_t minutes;  // beyond the whole days
    };

    // The next PST falls due 'days' and 'minutes' after 'nowMs'.
    void Start(std::int64_t days, std::int64_t minutes, std::int64_t nowMs);
    // What is left at 'nowMs', rounded up to whole minutes. Once due, the next one falls due
    // 'intervalDays' later (at least one day).
    Left Remaining(std::int64_t nowMs, std::int64_t intervalDays);

    // Starts over from the schedule the table holds, as written at 'writtenMs'. Answers false,
    // changing nothing, unless the interval is a whole number of days from 1 to 365 and each place
    // in the cycle is a whole day index below the interval and a whole minute below 1440.
    bool StartFrom(const ParameterTable& table, std::int64_t writtenMs);
    // What is left into PstDaysToNext and PstMinutesToNext, over the interval.
    void Show(ParameterTable& table, std::int64_t nowMs);

private:
    std::int64_t m_dueMs = 0;
};

}  // namespace orvx::simulator
