#include "ValveMotions.h"

#include "Autotune.h"
#include "Commissioning.h"
#include "DeviceCommands.h"

#include <utility>

namespace orvx::simulator {

std::optional<ValveRun> ValveMotions::Plan(int method, DeviceState& device)
{
    const ValveModel& valve = device.valve;
    const double mode = device.parameters.Number("1000", -1);
    if (valve.IsTripped())
        return std::nullopt;
    if (isManualDrive(method)) {
        if (mode != 1)
            return std::nullopt;
        const double target = method == FullOpen    ? 100.0
                              : method == FullClose ? 0.0
                                                    : device.parameters.Number("9000", valve.Position());
        return manualDrive(valve, target);
    }
    if (mode != 0)  // the valve is stroked and the positioner calibrated in setup mode only
        return std::nullopt;
    std::optional<ValveRun> run;
    switch (method) {
    case FindStops: run = findStops(valve, m_mounting); break;
    case Autotune: run = autotune(valve, static_cast<int>(device.parameters.Number("8008"))); break;
    case DriveToLowStop: run = m_manualStops.Drive(ManualStops::End::Low, valve, m_mounting); break;
    case DriveToHighStop: run = m_manualStops.Drive(ManualStops::End::High, valve, m_mounting); break;
    }
    if (run && method == DriveToLowStop && !m_latchTripsBefore) {
        m_latchTripsBefore = device.parameters.Text("4005");
        device.parameters.SetText("4005", "0");
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
    for (const auto& [tag, value] : run.Results()) {
        device.parameters.SetText(tag, value);
        if (device.storedTuning.contains(tag))
            device.storedTuning[tag] = *device.parameters.Find(tag);
    }
    if (stores)
        device.ClearFault(run.FailureBit());
    if (method == DriveToLowStop || method == DriveToHighStop)
        m_manualStops.Arrived();
    return {};
}

void ValveMotions::Stop(int method)
{
    if (method == DriveToLowStop || method == DriveToHighStop || method == AcceptLowStop || method == AcceptHighStop)
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
    device.parameters.SetNumber("13010", stops->first);
    device.parameters.SetNumber("13011", stops->second);
    if (m_latchTripsBefore)
        device.parameters.SetText("4005", *std::exchange(m_latchTripsBefore, std::nullopt));
    device.ClearFault(FaultSet::kFindStopsFailed);
    return {};
}

void ValveMotions::Reset()
{
    m_manualStops.Clear();
    m_latchTripsBefore.reset();
}

}  // namespace orvx::simulator
