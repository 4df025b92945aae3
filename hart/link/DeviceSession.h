#pragma once

#include "hart/link/FrameTransport.h"
#include "hart/link/HartMaster.h"
#include "hart/link/ParameterCache.h"
#include "hart/link/SessionEvents.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace orvx::hart {

// The link's own thread: it reaches the device, reads every parameter into the cache, then asks
// for the device's notifications every kPollMs and refreshes what they announce before it hands
// them on. Writes and method starts queue up and run in order between the polls. When the device
// stops answering (a command unanswered after the master's tries) the session is lost, and it
// tries to reach the device again every kReconnectMs.
//
// A device of another make (another expanded device type in command 0, or one that answers
// "command not implemented" to the positioner's own commands) is read through the universal
// commands alone: tag, descriptor, date, message, final assembly number, poll address, identity
// and the PV and loop current, which it reads again every kPollMs and announces with NewValues
// when they change. Every other parameter is marked not supported in the cache. A write of
// PollingAddress to it goes by command 6 and of Message by command 17; any other write is
// refused as not implemented. To the positioner every write goes by command 129 (a poll address
// so written waits, as on the device, for the method WritePollingAddress).
class DeviceSession {
public:
    static constexpr int kPollMs = 200;
    static constexpr int kReconnectMs = 2000;

    // The parameters the business object answers itself and never asks the device for.
    static bool answeredByLink(const device::Parameter& parameter);
    // Every other parameter: what the link reads from the device.
    static std::vector<const device::Parameter*> heldByDevice();

    DeviceSession(std::unique_ptr<IFrameTransport> transport, std::uint8_t pollAddress, ParameterCache& cache,
                  ISessionEvents& events);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    void start();
    void stop();
    bool connected() const { return m_connected; }
    // False while connected to a device of another make.
    bool positioner() const { return !m_universalOnly; }

    // What became of a write: the value as the device stored it, or the response code and reason
    // it was refused with (0 when the device was not reached).
    struct Written {
        bool stored = false;
        std::uint8_t responseCode = 0;
        std::string reason;
    };
    // Waits at most timeoutMs for the device's answer.
    Written write(const device::Parameter& parameter, const std::string& text, int timeoutMs);
    void startMethod(int method);

private:
    void run();
    bool connect();
    void lose(const std::string& reason);
    bool refresh(const std::vector<const device::Parameter*>& parameters);
    bool readParameter(const device::Parameter& parameter);
    bool readCurve(const device::Parameter& curve);
    bool pollNotifications();
    Written writeByTag(const device::Parameter& parameter, const Bytes& request);
    // What became of a command that changes something, losing the session when it went
    // unanswered.
    Written outcome(const Decoded<Pdu>& reply);
    void runJobs();

    // UniversalSession.cpp: a device of another make.
    bool connectUniversal(const DeviceIdentity& identity);
    bool readUniversal(const DeviceIdentity& identity, std::set<const device::Parameter*>& read);
    // The PV and the loop current, by command 3, else 1; `announce`: NewValues when they change.
    bool refreshLive(bool announce, std::set<const device::Parameter*>* read = nullptr);
    Written writeUniversal(const device::Parameter& parameter, const std::string& text);
    void post(std::function<void()> job);

    std::unique_ptr<IFrameTransport> m_transport;
    HartMaster m_master;
    std::uint8_t m_pollAddress;
    ParameterCache& m_cache;
    ISessionEvents& m_events;
    std::uint16_t m_nextNotification = 0;
    std::string m_failure;  // why the last command failed, while the session is being lost

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_universalOnly{false};
};

}  // namespace orvx::hart
