#include "CommandRunner.h"

#include "DeviceCommands.h"
#include "FaultSet.h"

#include <algorithm>
#include <string>

namespace orvx::simulator {

namespace {

// A refusal comes back after a turn, like an answer from the device: never inside the call
// that asked, before the caller has recorded its operation.
constexpr std::int64_t kReplyDelayMs = 50;
// How often a running PST moves the live values.
constexpr std::int64_t kProgressMs = 250;

const std::string kNoFaults = FaultSet().Hex();

com::Variant methodText(int method)
{
    return com::Variant::text(com::BStr::fromUtf8(std::to_string(method)));
}

}  // namespace

CommandRunner::CommandRunner(DeviceState& device, ControlLinks& controls, DeviceTasks& tasks)
    : m_device(device), m_controls(controls), m_tasks(tasks)
{
}

std::optional<CommandRunner::Running> CommandRunner::Current() const
{
    if (!m_running)
        return std::nullopt;
    return Running{m_running->method, m_running->startMs};
}

void CommandRunner::Start(int method)
{
    if (method == Cancel) {
        if (m_running)
            notifyLater(kFailedInDevice, methodText(stop()));
        notifyLater(kSucceeded + Cancel);
        return;
    }
    if (m_running) {
        notifyLater(kBusy, methodText(method));
        return;
    }
    if (method == PartialStrokeTest) {
        startPst();
        return;
    }
    if (isCalibration(method) && m_device.parameters.Number("1000", -1) != 0) {
        failLater(method);
        return;
    }
    if (method == FindStops || method == Autotune || method == DriveToLowStop || method == DriveToHighStop ||
        isManualDrive(method)) {
        startMotion(method);
        return;
    }
    if (!durationOf(method)) {
        notifyLater(kNotSupported, methodText(method));
        return;
    }
    startTimed(method);
}

void CommandRunner::startTimed(int method)
{
    const std::int64_t now = m_tasks.Now();
    const DeviceTasks::Key key = m_tasks.Post(*durationOf(method), [this, method, now] {
        m_running.reset();
        finish(method, now);
    });
    m_running = Task{method, key, now};
}

void CommandRunner::FailRunning()
{
    if (m_running)
        m_controls.NotifyAll(kFailedInDevice, methodText(stop()));
}

// Ends the command under way where it stands; answers its method number.
int CommandRunner::stop()
{
    const int method = m_running->method;
    m_tasks.Cancel(m_running->key);
    m_running.reset();
    const std::int64_t now = m_tasks.Now();
    if (m_motion) {
        m_device.EndStroke(now);  // the valve stays where the run left it
        m_motion.reset();
    }
    m_motions.Stop(method);
    if (m_pst) {
        // The positioner gives the valve back to its setpoint from where the test left it.
        m_device.EndStroke(now);
        m_pst.reset();
        FaultSet cancelled;
        cancelled.Raise(FaultSet::kPstCancelled);
        m_device.RaiseFaults(cancelled);
    }
    return method;
}

// Commands that store settings in the device fail while it refuses writes.
bool CommandRunner::refusedAsWrite(int method)
{
    if (!m_device.faults.Has(SimulatedFault::RefusesWrites) ||
        (method != TuningWrite && method != WriteSchedule && method != ApplyPstSettings && method != WriteParameters))
        return false;
    if (method == WriteSchedule)
        m_controls.NotifyAll(kScheduleNotDownloaded, {});
    fail(method);
    return true;
}

void CommandRunner::finish(int method, std::int64_t requestedMs)
{
    if (refusedAsWrite(method))
        return;
    ParameterTable& table = m_device.parameters;
    const std::int64_t now = m_tasks.Now();
    switch (method) {
    case ModeChange: {
        const double mode = table.Number("1005", -1);
        if (mode != 0 && mode != 1 && mode != 3) {
            fail(method);
            return;
        }
        m_device.AdvanceValve(now);  // the valve moved so far in the old mode
        table.SetNumber("1000", mode);
        m_device.manualTarget = m_device.valve.Position();  // manual mode starts where the valve stands
        break;
    }
    case TerminalBoardTest:
        if (m_device.valve.IsTripped()) {  // the ESD circuit is open: the test cannot pass
            fail(method);
            return;
        }
        break;
    case WriteParameters:
        if (!writeParameters()) {
            fail(method);
            return;
        }
        m_controls.NotifyAll(kIdentityChanged, {});
        break;
    case AcceptLowStop:
        if (!m_motions.AcceptLow()) {
            fail(method);
            return;
        }
        break;
    case AcceptHighStop: {
        const ValveMotions::Outcome outcome = m_motions.FinishManualStops(
            m_device, m_device.faults.Has(SimulatedFault::RefusesWrites));
        if (!outcome.succeeded) {
            m_device.RaiseFaults(outcome.raised);
            fail(method);
            return;
        }
        m_device.WriteMeasurements(now);
        break;
    }
    case Reset:
        m_motions.Reset();
        table.RestoreSettings();
        for (auto& [tag, value] : m_device.storedTuning)
            value = *table.Find(tag);
        m_device.WriteMeasurements(now);
        break;
    case TuningWrite:
        for (auto& [tag, value] : m_device.storedTuning)
            value = *table.Find(tag);
        break;
    case TuningRead:
        for (const auto& [tag, value] : m_device.storedTuning)
            table.Set(tag, value);
        break;
    case FixAnalogOutput:
        if (!fixOutput()) {
            fail(method);
            return;
        }
        break;
    case ReleaseAnalogOutput:
        m_device.fixedOutput.reset();
        table.SetText("10002", "0");
        break;
    case ClearAllFaults: table.SetText("12001", kNoFaults); [[fallthrough]];
    case ClearCurrentFaults: table.SetText("12000", kNoFaults); break;
    case WriteSchedule:
        // The writer's clock stood where it said when it asked, not when the write completes.
        if (!m_device.schedule.StartFrom(table, requestedMs)) {
            m_controls.NotifyAll(kScheduleNotDownloaded, {});
            fail(method);
            return;
        }
        m_device.schedule.Show(table, now);
        break;
    case LoadPstData: m_device.records.LoadPst(table); break;
    case LoadEsdEvents:
        if (!m_device.records.LoadEsdEvent(table)) {  // the valve never tripped: no event to load
            fail(method);
            return;
        }
        break;
    }
    m_controls.NotifyAll(kSucceeded + method, {});
}

// Sends the configured tag, descriptor and message, as HART packs them, and the air action.
bool CommandRunner::writeParameters()
{
    ParameterTable& table = m_device.parameters;
    const std::pair<const char*, std::size_t> kLengths[] = {{"1006", 8}, {"1007", 16}, {"3001", 32}};
    for (const auto& [tag, length] : kLengths)
        if (table.Text(tag).size() > length)
            return false;
    const double airAction = table.Number("3000", -1);
    if (airAction != 0 && airAction != 1)
        return false;
    m_device.AdvanceValve(m_tasks.Now());  // the valve moved so far under the old air action
    table.Set("1001", *table.Find("1006"));
    table.Set("1002", *table.Find("1007"));
    return true;
}

// Fixes the output at "10002", or gives it back to the position for "0"; false for a current
// no loop carries.
bool CommandRunner::fixOutput()
{
    const double output = m_device.parameters.Number("10002", -1);
    if (output == 0) {
        m_device.fixedOutput.reset();
        return true;
    }
    if (output < 3.2 || output > 22)
        return false;
    m_device.fixedOutput = output;
    return true;
}

void CommandRunner::startPst()
{
    const std::int64_t now = m_tasks.Now();
    m_device.AdvanceValve(now);
    const PstSettings settings = m_device.records.SettingsOf(m_device.parameters);
    const ValveModel& valve = m_device.valve;
    // The test is the loop's: in setup or manual mode the valve is not the process's to stroke.
    // Nor is a tripped valve, or one without room for the travel before its fail position.
    if (m_device.parameters.Number("1000", -1) != 3 || valve.IsTripped() ||
        valve.CompressionOf(valve.Position()) < settings.travel - 0.05) {
        failLater(PartialStrokeTest);
        return;
    }
    m_pst = Pst{StrokeSignature::PartialStroke(valve, settings), settings, m_device.Counter(now)};
    m_device.BeginStroke(m_pst->signature.Samples(), now);
    m_running = Task{PartialStrokeTest, m_tasks.Post(kProgressMs, [this] { stepPst(); }), now};
}

void CommandRunner::stepPst()
{
    const std::int64_t now = m_tasks.Now();
    const std::int64_t elapsed = now - m_running->startMs;
    const std::int64_t duration = m_pst->signature.DurationMs();
    if (elapsed >= duration) {
        finishPst();
        return;
    }
    m_device.WriteMeasurements(now);
    m_controls.NotifyAll(kNewValues, {});
    if (m_running && m_pst)  // a control may have cancelled it when told
        m_running->key = m_tasks.Post(std::min(kProgressMs, duration - elapsed), [this] { stepPst(); });
}

void CommandRunner::finishPst()
{
    const Pst pst = std::move(*m_pst);
    m_pst.reset();
    m_running.reset();
    const std::int64_t now = m_tasks.Now();
    m_device.RaiseFaults(m_device.records.StorePst(pst.signature, pst.settings, m_device.parameters).Faults());
    m_device.parameters.SetNumber("16033", pst.counter >> 16);
    m_device.parameters.SetNumber("16034", pst.counter & 0xFFFFu);
    m_device.EndStroke(now, pst.signature.Samples().back().position);
    m_device.WriteMeasurements(now);
    m_controls.NotifyAll(kSucceeded + PartialStrokeTest, {});
}

void CommandRunner::startMotion(int method)
{
    const std::int64_t now = m_tasks.Now();
    m_device.AdvanceValve(now);
    std::optional<ValveRun> run = m_motions.Plan(method, m_device);
    if (!run) {
        failLater(method);
        return;
    }
    m_motion = std::move(run);
    m_device.BeginStroke(m_motion->Samples(), now);
    m_running = Task{method, m_tasks.Post(m_motion->DurationMs(), [this, method] { finishMotion(method); }), now};
}

void CommandRunner::finishMotion(int method)
{
    const ValveRun run = std::move(*m_motion);
    m_motion.reset();
    m_running.reset();
    const std::int64_t now = m_tasks.Now();
    m_device.EndStroke(now, run.EndPosition());
    m_device.WriteMeasurements(now);
    const ValveMotions::Outcome outcome = m_motions.Finish(method, run, m_device,
                                                           m_device.faults.Has(SimulatedFault::RefusesWrites));
    if (!outcome.succeeded) {
        m_device.RaiseFaults(outcome.raised);
        fail(method);
        return;
    }
    m_device.WriteMeasurements(now);
    m_controls.NotifyAll(kSucceeded + method, {});
}

void CommandRunner::fail(int method)
{
    m_controls.NotifyAll(kFailedInDevice, methodText(method));
}

void CommandRunner::failLater(int method)
{
    notifyLater(kFailedInDevice, methodText(method));
}

void CommandRunner::notifyLater(std::int32_t code, com::Variant value)
{
    m_tasks.Post(kReplyDelayMs, [this, code, value = std::move(value)] { m_controls.NotifyAll(code, value); });
}

}  // namespace orvx::simulator
