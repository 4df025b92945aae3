#pragma once

#include <cstdint>

namespace orvx::ui {

// A steady millisecond clock; tests replace it with one they move by hand.
class ISteadyClock {
public:
    virtual ~ISteadyClock() = default;
    virtual std::int64_t milliseconds() const = 0;
};

ISteadyClock& steadyClock();
// Replaces the clock; null restores the system's steady clock. Returns the previous one.
ISteadyClock* setSteadyClock(ISteadyClock* clock);

}  // namespace orvx::ui
