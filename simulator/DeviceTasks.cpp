#include "DeviceTasks.h"

namespace orvx::simulator {

DeviceTasks::~DeviceTasks()
{
    for (const auto& [key, id] : m_pending)
        m_scheduler.Cancel(id);
}

DeviceTasks::Key DeviceTasks::Post(std::int64_t delayMs, std::function<void()> work)
{
    const Key key = ++m_lastKey;
    m_pending[key] = m_scheduler.Post(delayMs, [this, key, work = std::move(work)] {
        m_pending.erase(key);
        const com::ComPtr<com::IUnknown> keepAlive(&m_owner);
        work();
    });
    return key;
}

void DeviceTasks::Cancel(Key key)
{
    if (const auto it = m_pending.find(key); it != m_pending.end()) {
        m_scheduler.Cancel(it->second);
        m_pending.erase(it);
    }
}

}  // namespace orvx::simulator
