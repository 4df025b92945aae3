#pragma once

#include <cstdint>

class QDate;
class QDateTime;

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

// The time of day: milliseconds since 1970-01-01 00:00 UTC. Everything that shows, stores or
// computes with the date asks this clock, so that tests can set it to any moment.
class IWallClock {
public:
    virtual ~IWallClock() = default;
    virtual std::int64_t msecsSinceEpoch() const = 0;
};

IWallClock& wallClock();
// Replaces the clock; null restores the system's clock. Returns the previous one.
IWallClock* setWallClock(IWallClock* clock);

// Now on the wall clock, in the user's local time (its time zone as the system has it).
QDateTime currentDateTime();
// Today on the wall clock, in local time.
QDate currentDate();

}  // namespace orvx::ui
