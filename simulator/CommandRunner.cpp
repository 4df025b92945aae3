#include "CommandRunner.h"

#include "FaultSet.h"

#include <algorithm>
#include <string>

namespace orvx::simulator {

namespace code = device::code;
namespace method = device::method;
namespace parameter = device::parameter;

namespace {

// A refusal comes back after a turn, like an answer from the device: never inside the call
// that asked, before the caller has recorded its operation.
constexpr std::int64_t kReplyDelayMs = 50;
// How often a running PST moves the live values.
constexpr std::int64_t kProgressMs = 250;

constexpr int kSetup = 0;
constexpr int kNormal = 3;

const std::string kNoFaults = FaultSet().Hex();

// How long a method that does not move the valve takes; none for one that does (a PST, a
// calibration or a drive takes as long as its strokes) or that the device does not know.
std::optional<std::int64_t> durationOf(int number)
{
    switch (number) {
    case method::ModeChange:
    case method::FixAnalogOutput:
    case method::ReleaseAnalogOutput:
    case method::ClearCurrentFaults:
    case method::ClearAllFaults:
    case method::LoadPstData:
    case method::LoadEsdEvents:
    case method::WritePollingAddress: return 300;
    case method::ManualStopsAcceptLow:
    case method::TuningWrite:
    case method::TuningRead:
    case method::WritePstSchedule:
    case method::ApplyPstSettings: return 500;
    case method::Reset:
    case method::ManualStopsAcceptHigh:
    case method::TerminalBoardTest: return 1000;
    case method::WriteParameters: return 1500;
    default: return std::nullopt;
    }
}

// Methods that stroke or calibrate the valve: the device runs them in setup mode only.
bool calibrates(int number)
{
    switch (number) {
    case method::FindStops:
    case method::ManualStopsDriveLow:
    case method::ManualStopsDriveHigh:
    case method::ManualStopsAcceptLow:
    case method::Autotune:
    case method::ManualStopsAcceptHigh: return true;
    default: return false;
    }
}

// Methods in which the device drives the valve along a path of its own.
bool drives(int number)
{
    switch (number) {
    case method::FindStops:
    case method::ManualStopsDriveLow:
    case method::ManualStopsDriveHigh:
    case method::Autotune:
    case method::FullOpen:
    case method::FullClose:
    case method::ToManualSetpoint: return true;
    default: return false;
    }
}

// Methods that store settings in the device.
bool storesSettings(int number)
{
    return number == method::TuningWrite || number == method::WritePstSchedule || number == method::ApplyPstSettings ||
           number == method::WriteParameters || number == method::WritePollingAddress;
}

bool cancellable(int number)
{
    const device::Method* known = device::findMethod(number);
    return known && known->cancellable;
}

}  // namespace

CommandRunner::CommandRunner(DeviceState& device, DeviceTasks& tasks, orvx::device::INotificationSink& sink)
    : m_device(device), m_tasks(tasks), m_sink(sink)
{
}

std::optional<CommandRunner::Running> CommandRunner::Current() const
{
    if (!m_running)
        return std::nullopt;
    return Running{m_running->method, m_running->startMs};
}

void CommandRunner::Start(int number)
{
    if (m_device.faults.Has(SimulatedFault::DeviceBusy)) {
        notifyLater(code::Busy, std::to_string(number));
        return;
    }
    if (number == method::Cancel) {
        cancel();
        return;
    }
    if (m_running) {
        notifyLater(code::Busy, std::to_string(number));
        return;
    }
    if (!device::findMethod(number)) {
        notifyLater(code::NotSupported, std::to_string(number));
        return;
    }
    if (number == method::PartialStrokeTest) {
        startPst();
        return;
    }
    if (calibrates(number) && m_device.parameters.Number(parameter::Mode, -1) != kSetup) {
        failLater(number);
        return;
    }
    if (drives(number))
        startMotion(number);
    else
        startTimed(number);
}

void CommandRunner::cancel()
{
    if (m_running && !cancellable(m_running->method))
        return;  // it runs to its end and answers for itself
    if (m_running)
        notifyLater(code::FailedInDevice, std::to_string(stop()));
    notifyLater(code::resultOf(method::Cancel));
}

void CommandRunner::startTimed(int number)
{
    const std::int64_t now = m_tasks.Now();
    const DeviceTasks::Key key = m_tasks.Post(durationOf(number).value_or(0), [this, number, now] {
        m_running.reset();
        finish(number, now);
    });
    m_running = Task{number, key, now};
}

void CommandRunner::FailRunning()
{
    if (m_running)
        m_sink.Notify(code::FailedInDevice, std::to_string(stop()));
}

// Ends the method under way where it stands; answers its number.
int CommandRunner::stop()
{
    const int number = m_running->method;
    m_tasks.Cancel(m_running->key);
    m_running.reset();
    const std::int64_t now = m_tasks.Now();
    if (m_motion) {
        m_device.EndStroke(now);  // the valve stays where the run left it
        m_motion.reset();
    }
    m_motions.Stop(number);
    if (m_pst) {
        // The positioner gives the valve back to its setpoint from where the test left it.
        m_device.EndStroke(now);
        m_pst.reset();
        FaultSet cancelled;
        cancelled.Raise(FaultSet::kPstCancelled);
        m_device.RaiseFaults(cancelled);
    }
    return number;
}

// Methods that store settings in the device fail while it refuses writes.
bool CommandRunner::refusedAsWrite(int number)
{
    if (!m_device.faults.Has(SimulatedFault::RefusesWrites) || !storesSettings(number))
        return false;
    if (number == method::WritePstSchedule)
        m_sink.Notify(code::PstScheduleNotDownloaded, {});
    fail(number);
    return true;
}

void CommandRunner::finish(int number, std::int64_t requestedMs)
{
    if (refusedAsWrite(number))
        return;
    if (!settle(number, requestedMs)) {
        fail(number);
        return;
    }
    m_sink.Notify(code::resultOf(number), {});
}

// What a timed method leaves behind when its time is up; false when it fails.
bool CommandRunner::settle(int number, std::int64_t requestedMs)
{
    ParameterTable& table = m_device.parameters;
    const std::int64_t now = m_tasks.Now();
    switch (number) {
    case method::ModeChange: return changeMode();
    case method::TerminalBoardTest: return !m_device.valve.IsTripped();  // an open ESD circuit fails the test
    case method::WriteParameters:
        if (!writeParameters())
            return false;
        m_sink.Notify(code::IdentityChanged, {});
        return true;
    case method::ManualStopsAcceptLow: return m_motions.AcceptLow();
    case method::ManualStopsAcceptHigh: {
        const ValveMotions::Outcome outcome = m_motions.FinishManualStops(
            m_device, m_device.faults.Has(SimulatedFault::RefusesWrites));
        if (!outcome.succeeded) {
            m_device.RaiseFaults(outcome.raised);
            return false;
        }
        m_device.WriteMeasurements(now);
        return true;
    }
    case method::Reset:
        m_motions.Reset();
        table.RestoreSettings();
        m_device.StoreTuning();
        m_device.WriteMeasurements(now);
        return true;
    case method::TuningWrite: m_device.StoreTuning(); return true;
    case method::TuningRead:
        for (const auto& [tuning, value] : m_device.storedTuning)
            table.Set(*tuning, value);
        return true;
    case method::FixAnalogOutput: return fixOutput();
    case method::ReleaseAnalogOutput:
        m_device.fixedOutput.reset();
        table.SetText(parameter::AnalogOutput, "0");
        return true;
    case method::ClearAllFaults: table.SetText(parameter::HistoricalFaults, kNoFaults); [[fallthrough]];
    case method::ClearCurrentFaults: table.SetText(parameter::CurrentFaults, kNoFaults); return true;
    case method::WritePstSchedule:
        // The writer's clock stood where it said when it asked, not when the write completes.
        if (!m_device.schedule.StartFrom(table, requestedMs)) {
            m_sink.Notify(code::PstScheduleNotDownloaded, {});
            return false;
        }
        m_device.schedule.Show(table, now);
        return true;
    case method::LoadPstData: m_device.records.LoadPst(table); return true;
    case method::LoadEsdEvents: return m_device.records.LoadEsdEvent(table);  // none before the first trip
    default: return true;
    }
}

bool CommandRunner::changeMode()
{
    ParameterTable& table = m_device.parameters;
    if (!device::problemWith(parameter::ModeToSet, table.Text(parameter::ModeToSet)).empty())
        return false;
    m_device.AdvanceValve(m_tasks.Now());  // the valve moved so far in the old mode
    table.SetNumber(parameter::Mode, table.Number(parameter::ModeToSet));
    m_device.manualTarget = m_device.valve.Position();  // manual mode starts where the valve stands
    return true;
}

// Sends the configured tag, descriptor and message, as long as HART carries them, and the air
// action.
bool CommandRunner::writeParameters()
{
    ParameterTable& table = m_device.parameters;
    for (const device::Parameter* sent :
         {&parameter::ConfiguredTag, &parameter::ConfiguredDescriptor, &parameter::Message, &parameter::AirAction})
        if (!device::problemWith(*sent, table.Text(*sent)).empty())
            return false;
    m_device.AdvanceValve(m_tasks.Now());  // the valve moved so far under the old air action
    table.Set(parameter::DeviceTag, table.Value(parameter::ConfiguredTag));
    table.Set(parameter::Descriptor, table.Value(parameter::ConfiguredDescriptor));
    return true;
}

// Fixes the output at AnalogOutput, or gives it back to the position for "0"; false for a
// current no loop carries.
bool CommandRunner::fixOutput()
{
    const ParameterTable& table = m_device.parameters;
    if (!device::problemWith(parameter::AnalogOutput, table.Text(parameter::AnalogOutput)).empty())
        return false;
    const double output = table.Number(parameter::AnalogOutput);
    if (output == 0)
        m_device.fixedOutput.reset();
    else
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
    if (m_device.parameters.Number(parameter::Mode, -1) != kNormal || valve.IsTripped() ||
        valve.CompressionOf(valve.Position()) < settings.travel - 0.05) {
        failLater(method::PartialStrokeTest);
        return;
    }
    m_pst = Pst{StrokeSignature::PartialStroke(valve, settings), settings, m_device.Counter(now)};
    m_device.BeginStroke(m_pst->signature.Samples(), now);
    m_running = Task{method::PartialStrokeTest, m_tasks.Post(kProgressMs, [this] { stepPst(); }), now};
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
    m_sink.Notify(code::NewValues, {});
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
    m_device.parameters.SetNumber(parameter::PstCounterHigh, pst.counter >> 16);
    m_device.parameters.SetNumber(parameter::PstCounterLow, pst.counter & 0xFFFFu);
    m_device.EndStroke(now, pst.signature.Samples().back().position);
    m_device.WriteMeasurements(now);
    m_sink.Notify(code::resultOf(method::PartialStrokeTest), {});
}

void CommandRunner::startMotion(int number)
{
    const std::int64_t now = m_tasks.Now();
    m_device.AdvanceValve(now);
    std::optional<ValveRun> run = m_motions.Plan(number, m_device);
    if (!run) {
        failLater(number);
        return;
    }
    m_motion = std::move(run);
    m_device.BeginStroke(m_motion->Samples(), now);
    m_running = Task{number, m_tasks.Post(m_motion->DurationMs(), [this, number] { finishMotion(number); }), now};
}

void CommandRunner::finishMotion(int number)
{
    const ValveRun run = std::move(*m_motion);
    m_motion.reset();
    m_running.reset();
    const std::int64_t now = m_tasks.Now();
    m_device.EndStroke(now, run.EndPosition());
    m_device.WriteMeasurements(now);
    const ValveMotions::Outcome outcome = m_motions.Finish(number, run, m_device,
                                                           m_device.faults.Has(SimulatedFault::RefusesWrites));
    if (!outcome.succeeded) {
        m_device.RaiseFaults(outcome.raised);
        fail(number);
        return;
    }
    m_device.WriteMeasurements(now);
    m_sink.Notify(code::resultOf(number), {});
}

void CommandRunner::fail(int number)
{
    m_sink.Notify(code::FailedInDevice, std::to_string(number));
}

void CommandRunner::failLater(int number)
{
    notifyLater(code::FailedInDevice, std::to_string(number));
}

void CommandRunner::notifyLater(std::int32_t code, std::string value)
{
    m_tasks.Post(kReplyDelayMs, [this, code, value = std::move(value)] { m_sink.Notify(code, value); });
}

}  // namespace orvx::simulator
