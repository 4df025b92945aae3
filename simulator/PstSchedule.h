#pragma once

#include <cstdint>

namespace orvx::simulator {

class ParameterTable;

// The countdown to the next scheduled PST, on the scheduler's clock.
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

    // Starts over from the span the table holds in "16030" (days) and "16031" (minutes);
    // answers false, changing nothing, when that is not a span.
    bool StartFrom(const ParameterTable& table, std::int64_t nowMs);
    // What is left into "16013" and "16014", over the interval "16012".
    void Show(ParameterTable& table, std::int64_t nowMs);

private:
    std::int64_t m_dueMs = 0;
};

}  // namespace orvx::simulator
