#pragma once

#include "Scheduler.h"

#include <map>
#include <utility>

namespace orvx::simulator {

// A scheduler whose clock moves only when told: time starts at 0 and Advance runs what falls due.
class ManualScheduler : public IScheduler {
public:
    TaskId Post(std::int64_t delayMs, std::function<void()> task) override;
    void Cancel(TaskId id) override;
    std::int64_t Now() const override { return m_now; }

    // Moves the clock on by 'ms' and runs every task due by then in time order (equal times in
    // posting order), the clock standing at the task's time while it runs. Tasks posted on the
    // way run as well when they fall due within the span.
    void Advance(std::int64_t ms);
    std::size_t PendingCount() const { return m_tasks.size(); }

private:
    std::map<std::pair<std::int64_t, TaskId>, std::function<void()>> m_tasks;  // by due time, id
    std::int64_t m_now = 0;
    TaskId m_lastId = 0;
};

}  // namespace orvx::simulator
