#pragma once

#include "Calibration.h"
#include "DeviceState.h"
#include "FaultSet.h"
#include "ValveRun.h"

#include <optional>
#include <string>

namespace orvx::simulator {

// The commands in which the device drives the valve along a path of its own: find stops, the
// steps of a manual find stops and autotune in setup mode, the drives by hand in manual mode.
// It plans each run from where the valve stands and settles what a finished run leaves behind:
// stops or tuning stored, or a failure latched.
class ValveMotions {
public:
    struct Outcome {
        bool succeeded = true;
        FaultSet raised;  // on failure
    };

    // The run 'method' makes, from where the valve stands; none when the device will not make it:
    // the valve tripped, the device is not in the command's mode, or a manual step comes out of
    // order. A manual find stops keeps the trips unlatched (LatchTrips) until it completes.
    std::optional<ValveRun> Plan(int method, DeviceState& device);
    // The run that 'method' planned reached its end, the valve standing at its end. A run that
    // stores something fails, and latches an NVM write fault, while the device refuses writes.
    Outcome Finish(int method, const ValveRun& run, DeviceState& device, bool refusesWrites);
    // The run under way for 'method' was stopped where it stood.
    void Stop(int method);

    // Takes the low stop the valve was driven to; false, ending the procedure, when it was not.
    bool AcceptLow() { return m_manualStops.AcceptLow(); }
    // Accepts the high stop and stores both stops; a step out of order ends the procedure with
    // nothing raised, a stroke too short or a refused write latches Find Stops Failed.
    Outcome FinishManualStops(DeviceState& device, bool refusesWrites);
    // The device's reset ends a manual find stops.
    void Reset();

private:
    Mounting m_mounting;
    ManualStops m_manualStops;
    std::optional<std::string> m_latchTripsBefore;  // LatchTrips while a manual find stops has it off
};

}  // namespace orvx::simulator
