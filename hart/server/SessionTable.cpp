#include "hart/server/SessionTable.h"

#include <algorithm>

namespace orvx::hart {

SessionTable::Opened SessionTable::open(const std::string& peer, std::uint64_t nowMs, std::uint32_t& timerMs)
{
    timerMs = std::clamp(timerMs, kMinTimerMs, kMaxTimerMs);
    if (auto it = m_sessions.find(peer); it != m_sessions.end()) {
        it->second = Session{nowMs, timerMs};
        return Opened::AlreadyOpen;
    }
    if (m_sessions.size() >= m_maxSessions)
        return Opened::Full;
    m_sessions.emplace(peer, Session{nowMs, timerMs});
    return Opened::Yes;
}

bool SessionTable::touch(const std::string& peer, std::uint64_t nowMs)
{
    const auto it = m_sessions.find(peer);
    if (it == m_sessions.end())
        return false;
    it->second.lastHeardMs = nowMs;
    return true;
}

std::vector<std::string> SessionTable::expire(std::uint64_t nowMs)
{
    std::vector<std::string> expired;
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if (nowMs - it->second.lastHeardMs >= it->second.timerMs) {
            expired.push_back(it->first);
            it = m_sessions.erase(it);
        } else {
            ++it;
        }
    }
    return expired;
}

}  // namespace orvx::hart
