#pragma once

#include "simulator/Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>

class QTimer;

namespace orvx::frame {

// The simulated device's clock in the program: Qt timers on the GUI thread. With a pace above
// 1 the device's time runs that many times faster than the wall clock.
class QtScheduler : public QObject, public simulator::IScheduler {
public:
    explicit QtScheduler(double pace = 1.0);
    ~QtScheduler() override;

    TaskId Post(std::int64_t delayMs, std::function<void()> task) override;
    void Cancel(TaskId id) override;
    std::int64_t Now() const override
    {
        return static_cast<std::int64_t>(static_cast<double>(m_clock.elapsed()) * m_pace);
    }

    // Runs 'shown' after each task (none: nothing), so that what shows the device's state follows
    // it at once: a command that ended in a task is seen ended before anything else happens.
    void SetAfterEachTask(std::function<void()> shown) { m_afterEachTask = std::move(shown); }

private:
    QElapsedTimer m_clock;
    double m_pace;
    TaskId m_next = 1;
    std::map<TaskId, QTimer*> m_timers;
    std::function<void()> m_afterEachTask;
};

}  // namespace orvx::frame
