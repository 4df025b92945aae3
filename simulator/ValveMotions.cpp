#include "ValveMotions.h"

#include "Autotune.h"
#include "Commissioning.h"

#include <utility>

namespace orvx::simulator {

namespace method = device::method;
namespace parameter = device::parameter;

namespace {

constexpr int kSetup = 0;
constexpr int kManual = 1;

// Where a drive by hand takes the valve; none for a method that is no such drive.
std::optional<double> manualTarget(int method, const DeviceState& device)
{
    switch (method) {
    case method::FullOpen: return 100.0;
    case method::FullClose: return 0.0;
    case method::ToManualSetpoint: return device.parameters.Number(parameter::ManualSetpoint, device.valve.Position());
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<ValveRun> ValveMotions::Plan(int method, DeviceState& device)
{
    const ValveModel& valve = device.valve;
    const double mode = device.parameters.Number(parameter::Mode, -1);
    if (valve.IsTripped())
        return std::nullopt;
    if (const auto target = manualTarget(method, device)) {
        if (mode != kManual)
            return std::nullopt;
        return manualDrive(valve, *target);
    }
    if (mode != kSetup)  // the valve is stroked and the positioner calibrated in setup mode only
        return std::nullopt;
    std::optional<ValveRun> run;
    switch (method) {
    case method::FindStops: run = findStops(valve, m_mounting); break;
    case method::Autotune:
        run = autotune(valve, static_cast<int>(device.parameters.Number(parameter::TuningAggressiveness)));
        break;
    case method::ManualStopsDriveLow: run = m_manualStops.Drive(ManualStops::End::Low, valve, m_mounting); break;
    case method::ManualStopsDriveHigh: run = m_manualStops.Drive(ManualStops::End::High, valve, m_mounting); break;
    }
    if (run && method == method::ManualStopsDriveLow && !m_latchTripsBefore) {
        m_latchTripsBefore = device.parameters.Text(parameter::LatchTrips);
        device.parameters.SetText(parameter::LatchTrips, "0");
    }
    return run;
}

ValveMotions::Outcome ValveMotions::Finish(int method, const ValveRun& run, DeviceState& device, bool refusesWrites)
{
    const bool stores = !run.Results().empty();
    if (run.Failed() || (stores && refusesWrites)) {
        Outcome failed{false, {}};
        failed.raised.Raise(run.FailureBit());
        if (!run.Failed())
            failed.raised.Raise(FaultSet::kNvmWriteFault);
        return failed;
    }
    for (const auto& [stored, value] : run.Results()) {
        device.parameters.SetText(*stored, value);
        if (device.storedTuning.contains(stored))
            device.storedTuning[stored] = device.parameters.Value(*stored);
    }
    if (stores)
        device.ClearFault(run.FailureBit());
    if (method == method::ManualStopsDriveLow || method == method::ManualStopsDriveHigh)
        m_manualStops.Arrived();
    return {};
}

void ValveMotions::Stop(int method)
{
    if (method == method::ManualStopsDriveLow || method == method::ManualStopsDriveHigh ||
        method == method::ManualStopsAcceptLow || method == method::ManualStopsAcceptHigh)
        m_manualStops.Clear();
}

ValveMotions::Outcome ValveMotions::FinishManualStops(DeviceState& device, bool refusesWrites)
{
    if (!m_manualStops.ReadyToFinish()) {
        m_manualStops.Clear();
        return {false, {}};
    }
    const auto stops = m_manualStops.Finish();
    if (!stops || refusesWrites) {
        Outcome failed{false, {}};
        failed.raised.Raise(FaultSet::kFindStopsFailed);
        if (refusesWrites)
            failed.raised.Raise(FaultSet::kNvmWriteFault);
        return failed;
    }
    device.parameters.SetNumber(parameter::LowerStop, stops->first);
    device.parameters.SetNumber(parameter::UpperStop, stops->second);
    if (m_latchTripsBefore)
        device.parameters.SetText(parameter::LatchTrips, *std::exchange(m_latchTripsBefore, std::nullopt));
    device.ClearFault(FaultSet::kFindStopsFailed);
    return {};
}

void ValveMotions::Reset()
{
    m_manualStops.Clear();
    m_latchTripsBefore.reset();
}

}  // namespace orvx::simulator
