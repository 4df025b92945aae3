#include "Commissioning.h"

#include <algorithm>

namespace orvx::simulator {

namespace {

constexpr std::int64_t kHoldMs = 500;  // the positioner settling the actuator at the end

}  // namespace

ValveRun manualDrive(const ValveModel& valve, double position)
{
    ValveRun run(valve, 0);
    const ValveModel::Reach reach = valve.Reachable();
    const double target = std::clamp(valve.CompressionOf(std::clamp(position, 0.0, 100.0)),
                                     std::min(reach.vented, reach.loaded), std::max(reach.vented, reach.loaded));
    run.Stroke(target, target > run.Compression() ? valve.FillSpeed() : valve.VentSpeed());
    run.Hold(kHoldMs, valve.SpringPressure(target));
    return run;
}

double retransmittedCurrent(double position, double rangeLow, double rangeHigh)
{
    if (rangeHigh <= rangeLow)
        return 4.0;
    return std::clamp(4.0 + 16.0 * (position - rangeLow) / (rangeHigh - rangeLow), 3.8, 20.5);
}

}  // namespace orvx::simulator
