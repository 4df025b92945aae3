#pragma once

#include "ValveRun.h"

#include <optional>
#include <utility>

namespace orvx::simulator {

// The travel sensor as the valve's linkage turns it: its raw counts at the ends of the travel.
struct Mounting {
    double closedCounts = 468.0;  // position 0
    double openCounts = 3655.0;   // position 100
    double CountsAt(double position) const { return closedCounts + (openCounts - closedCounts) * position / 100.0; }
};

// Find stops (FindStops) from where the valve stands: vent the actuator and wait at the stop,
// fill it from the supply and wait at the other stop, vent once more, then go back. It fails,
// after the first two strokes, when the valve did not seat at a stop but stalled short of it:
// friction holds it against a spring that can no longer push (a sticking valve, a weak spring),
// or the supply cannot load the spring to the end (low supply). A run that succeeds stores the
// raw lower and upper stops (LowerStop, UpperStop); it raises "Find Stops Failed" when it fails.
ValveRun findStops(const ValveModel& valve, const Mounting& mounting);

// The manual find stops procedure: drive to the low stop (ManualStopsDriveLow), accept it
// (ManualStopsAcceptLow), drive to the high stop (ManualStopsDriveHigh), accept it and finish
// (ManualStopsAcceptHigh). A step out of this order fails and ends the procedure,
// as does any failure or cancel; driving to the low stop starts it over.
class ManualStops {
public:
    enum class End { Low, High };

    // The drive to a stop: the actuator vented or loaded until the valve stops moving. None
    // when the procedure is not at that point.
    std::optional<ValveRun> Drive(End end, const ValveModel& valve, const Mounting& mounting);
    // The drive under way came to its end.
    void Arrived();
    // Takes the low stop the valve was driven to; false when it was not.
    bool AcceptLow();
    // Whether the low stop was accepted and the high one reached.
    bool ReadyToFinish() const { return m_lowAccepted && m_highReached; }
    // The lower and upper stops in raw counts, when the procedure was ready to finish and they
    // lie far enough apart to be a stroke; the procedure ends either way.
    std::optional<std::pair<double, double>> Finish();
    void Clear() { *this = ManualStops(); }

private:
    std::optional<End> m_driving;
    double m_drivingCounts = 0.0;
    std::optional<double> m_lowReached;
    std::optional<double> m_lowAccepted;
    std::optional<double> m_highReached;
};

}  // namespace orvx::simulator
