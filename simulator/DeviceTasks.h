#pragma once

#include "Scheduler.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"

#include <cstdint>
#include <functional>
#include <map>

namespace orvx::simulator {

// The device's pending work on the scheduler. Each task keeps the object that owns it alive
// while it runs, since a control told from inside a task may drop the last reference to it;
// whatever is still pending when this goes is cancelled.
class DeviceTasks {
public:
    using Key = std::uint64_t;

    // 'scheduler' must outlive this; 'owner' is what a running task keeps alive.
    DeviceTasks(IScheduler& scheduler, com::IUnknown& owner) : m_scheduler(scheduler), m_owner(owner) {}
    ~DeviceTasks();
    DeviceTasks(const DeviceTasks&) = delete;
    DeviceTasks& operator=(const DeviceTasks&) = delete;

    // Runs 'work' once, 'delayMs' from now; the key is never 0.
    Key Post(std::int64_t delayMs, std::function<void()> work);
    // Drops a task that has not run; an unknown or finished key is ignored.
    void Cancel(Key key);
    std::int64_t Now() const { return m_scheduler.Now(); }

private:
    IScheduler& m_scheduler;
    com::IUnknown& m_owner;
    std::map<Key, IScheduler::TaskId> m_pending;
    Key m_lastKey = 0;
};

}  // namespace orvx::simulator
