#include "ManualScheduler.h"

#include <algorithm>

namespace orvx::simulator {

IScheduler::TaskId ManualScheduler::Post(std::int64_t delayMs, std::function<void()> task)
{
    const TaskId id = ++m_lastId;
    m_tasks.emplace(std::make_pair(m_now + std::max<std::int64_t>(delayMs, 0), id), std::move(task));
    return id;
}

void ManualScheduler::Cancel(TaskId id)
{
    std::erase_if(m_tasks, [id](const auto& entry) { return entry.first.second == id; });
}

void ManualScheduler::Advance(std::int64_t ms)
{
    const std::int64_t end = m_now + std::max<std::int64_t>(ms, 0);
    while (!m_tasks.empty() && m_tasks.begin()->first.first <= end) {
        // Out of the queue before it runs, so that it may post and cancel freely.
        auto node = m_tasks.extract(m_tasks.begin());
        m_now = node.key().first;
        node.mapped()();
    }
    m_now = end;
}

}  // namespace orvx::simulator
