#pragma once

#include "simulator/Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>

class QTimer;

namespace orvx::frame {

// The simulated device's clock in the program: Qt timers on the GUI thread.
class QtScheduler : public QObject, public simulator::IScheduler {
public:
    QtScheduler();
    ~QtScheduler() override;

    TaskId Post(std::int64_t delayMs, std::function<void()> task) override;
    void Cancel(TaskId id) override;
    std::int64_t Now() const override { return m_clock.elapsed(); }

private:
    QElapsedTimer m_clock;
    TaskId m_next = 1;
    std::map<TaskId, QTimer*> m_timers;
};

}  // namespace orvx::frame
