#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orvx::hart {

// The HART-IP sessions a server holds, each with the inactivity timer its client asked for.
// Bounded, so that a client opening sessions without end cannot use the server up; a session
// that hears nothing for its timer is closed. Times are milliseconds of a steady clock the
// caller reads, so tests set them.
class SessionTable {
public:
    explicit SessionTable(std::size_t maxSessions) : m_maxSessions(maxSessions) {}

    // Shortest and longest inactivity timers granted; a request outside is set to the nearest.
    static constexpr std::uint32_t kMinTimerMs = 1000;
    static constexpr std::uint32_t kMaxTimerMs = 600000;

    enum class Opened { Yes, AlreadyOpen, Full };
    // The timer granted is written back to `timerMs`.
    Opened open(const std::string& peer, std::uint64_t nowMs, std::uint32_t& timerMs);
    // True when the peer has a session; its timer starts again.
    bool touch(const std::string& peer, std::uint64_t nowMs);
    bool has(const std::string& peer) const { return m_sessions.count(peer) != 0; }
    void close(const std::string& peer) { m_sessions.erase(peer); }
    // The peers whose timers ran out by now; their sessions are gone.
    std::vector<std::string> expire(std::uint64_t nowMs);
    std::size_t size() const { return m_sessions.size(); }

private:
    struct Session {
        std::uint64_t lastHeardMs;
        std::uint32_t timerMs;
    };
    std::size_t m_maxSessions;
    std::map<std::string, Session> m_sessions;
};

}  // namespace orvx::hart
