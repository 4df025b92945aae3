#pragma once

#include "ControlLinks.h"
#include "DeviceState.h"
#include "DeviceTasks.h"
#include "StrokeSignature.h"
#include "ValveMotions.h"
#include "ValveRun.h"

#include <cstdint>
#include <optional>

namespace orvx::simulator {

// Runs the device's commands, one at a time, in scheduler time, and answers each through the
// controls: 500 plus its method number when it succeeds, -6 with the method number when the
// device cannot run it or it fails, -2 when another command is under way, -1 for a command the
// device does not know. An answer never comes inside the call that asked for the command.
class CommandRunner {
public:
    struct Running {
        int method;
        std::int64_t startMs;
    };

    // All three must outlive the runner.
    CommandRunner(DeviceState& device, ControlLinks& controls, DeviceTasks& tasks);

    // Starts the command 'method' on a connected device that is not busy. Cancel (23) ends the
    // command under way with -6 and its number, then answers 523.
    void Start(int method);
    // Ends the command under way, if any, where it stands and answers -6 with its number.
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

    void startTimed(int method);
    void finish(int method, std::int64_t requestedMs);
    int stop();
    bool refusedAsWrite(int method);
    bool writeParameters();
    bool fixOutput();

    void startPst();
    void stepPst();
    void finishPst();
    void startMotion(int method);
    void finishMotion(int method);

    void fail(int method);
    void failLater(int method);
    void notifyLater(std::int32_t code, com::Variant value = {});

    DeviceState& m_device;
    ControlLinks& m_controls;
    DeviceTasks& m_tasks;
    ValveMotions m_motions;
    std::optional<Task> m_running;
    std::optional<Pst> m_pst;
    std::optional<ValveRun> m_motion;
};

}  // namespace orvx::simulator
