#pragma once

#include "DeviceState.h"
#include "DeviceTasks.h"
#include "StrokeSignature.h"
#include "ValveMotions.h"
#include "ValveRun.h"
#include "device/NotificationSink.h"

#include <cstdint>
#include <optional>

namespace orvx::simulator {

// Runs the device's methods, one at a time, in scheduler time, and answers each through the
// notification sink: the method's result code when it succeeds, FailedInDevice with the method
// number when the device cannot run it or it fails, Busy when the device is busy (another method
// under way, or the simulated busy fault), NotSupported for a method the device does not know. An answer never
// comes inside the call that asked for the method. Who asked, and how the answers travel, is
// the sink's business: the runner is the same behind an in-process link and behind a server.
class CommandRunner {
public:
    struct Running {
        int method;
        std::int64_t startMs;
    };

    // All three must outlive the runner.
    CommandRunner(DeviceState& device, DeviceTasks& tasks, orvx::device::INotificationSink& sink);

    // Starts method 'method'. Cancel stops a method that can be cancelled where it stands and
    // answers FailedInDevice with its number, then the cancel's own result code; one that cannot
    // be cancelled runs on and answers for itself; with nothing under way, the cancel succeeds.
    void Start(int method);
    // Ends the method under way, if any, where it stands and answers FailedInDevice with its number.
    void FailRunning();
    std::optional<Running> Current() const;
    // Whether the device is driving the valve itself (a PST or a run of its own).
    bool DrivesValve() const { return m_pst || m_motion; }

private:
    struct Pst {
        StrokeSignature signature;
        PstSettings settings;
        std::uint32_t counter;  // the device's time counter when it started
    };
    struct Task {
        int method;
        DeviceTasks::Key key;
        std::int64_t startMs;
    };

    void cancel();
    void startTimed(int method);
    void finish(int method, std::int64_t requestedMs);
    bool settle(int method, std::int64_t requestedMs);
    int stop();
    bool refusedAsWrite(int method);
    bool changeMode();
    bool writeParameters();
    bool fixOutput();

    void startPst();
    void stepPst();
    void finishPst();
    void startMotion(int method);
    void finishMotion(int method);

    void fail(int method);
    void failLater(int method);
    void notifyLater(std::int32_t code, std::string value = {});

    DeviceState& m_device;
    DeviceTasks& m_tasks;
    orvx::device::INotificationSink& m_sink;
    ValveMotions m_motions;
    std::optional<Task> m_running;
    std::optional<Pst> m_pst;
    std::optional<ValveRun> m_motion;
};

}  // namespace orvx::simulator
