#include "hart/server/NotificationLog.h"

namespace orvx::hart {

com::Status NotificationLog::Notify(std::int32_t code, const com::Variant& value)
{
    m_kept.push_back(DeviceNotification{m_next++, code, value.isEmpty() ? std::string() : value.toText().toUtf8()});
    if (m_kept.size() > kKept)
        m_kept.pop_front();
    return com::Status::Ok;
}

std::vector<DeviceNotification> NotificationLog::since(std::uint16_t from) const
{
    // Sequence numbers wrap: how far `from` lies behind the next one says how many to give.
    const std::size_t behind = static_cast<std::uint16_t>(m_next - from);
    const std::size_t count = std::min(behind, m_kept.size());
    return std::vector<DeviceNotification>(m_kept.end() - static_cast<std::ptrdiff_t>(count), m_kept.end());
}

}  // namespace orvx::hart
