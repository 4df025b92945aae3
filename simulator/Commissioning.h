#pragma once

#include "ValveRun.h"

namespace orvx::simulator {

// The valve driven by hand in manual mode to 'position' (percent), at the relay's speed, as
// far as the spring and the supply let it go; then held there. It never fails.
ValveRun manualDrive(const ValveModel& valve, double position);

// The position retransmitter's loop current for a valve position: 4 mA at the range's low end,
// 20 mA at its high end (both in percent of travel), within the 3.8 to 20.5 mA a loop carries.
// A range that is no range gives 4 mA.
double retransmittedCurrent(double position, double rangeLow, double rangeHigh);

}  // namespace orvx::simulator
