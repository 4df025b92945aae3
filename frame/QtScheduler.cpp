#include "QtScheduler.h"

#include <QDebug>
#include <QTimer>

namespace orvx::frame {

QtScheduler::QtScheduler(double pace) : m_pace(pace > 0 ? pace : 1.0)
{
    m_clock.start();
}

QtScheduler::~QtScheduler() = default;  // the timers are children of this object

QtScheduler::TaskId QtScheduler::Post(std::int64_t delayMs, std::function<void()> task)
{
    const TaskId id = m_next++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    m_timers[id] = timer;
    connect(timer, &QTimer::timeout, this, [this, id, task = std::move(task)] {
        if (auto it = m_timers.find(id); it != m_timers.end()) {
            it->second->deleteLater();
            m_timers.erase(it);
        }
        // The simulated device's work must not throw into the event loop.
        try {
            task();
            if (m_afterEachTask)
                m_afterEachTask();
        } catch (const std::exception& error) {
            qWarning("simulated device: %s", error.what());
        }
    });
    timer->start(static_cast<int>(static_cast<double>(std::max<std::int64_t>(0, delayMs)) / m_pace));
    return id;
}

void QtScheduler::Cancel(TaskId id)
{
    if (auto it = m_timers.find(id); it != m_timers.end()) {
        it->second->stop();
        it->second->deleteLater();
        m_timers.erase(it);
    }
}

}  // namespace orvx::frame
