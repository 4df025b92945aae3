#pragma once

#include <cstdint>
#include <functional>

namespace orvx::simulator {

// Runs the simulated device's work later, on the thread that talks to its controls. The program
// backs it with a timer; tests drive a ManualScheduler.
class IScheduler {
public:
    using TaskId = std::uint64_t;

    virtual ~IScheduler() = default;

    // Runs 'task' once, 'delayMs' milliseconds from now (a negative delay counts as 0), never
    // inside Post itself. The id is never 0.
    virtual TaskId Post(std::int64_t delayMs, std::function<void()> task) = 0;
    // Drops a task that has not started; an unknown or finished id is ignored.
    virtual void Cancel(TaskId id) = 0;
    // Milliseconds on a clock that never goes back.
    virtual std::int64_t Now() const = 0;
};

}  // namespace orvx::simulator
