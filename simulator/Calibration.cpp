#include "Calibration.h"

#include "FaultSet.h"
#include "ParameterTable.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr std::int64_t kSettleMs = 4000;  // the device waits this long for the readings at a stop
constexpr std::int64_t kManualSettleMs = 2000;
// The force left to hold the valve against a stop: less, and it only stalled there.
constexpr double kSeatMarginPsi = 1.0;
// Two stops closer than this are one end of the stroke taken twice.
constexpr double kMinSpanCounts = 1000.0;

}  // namespace

ValveRun findStops(const ValveModel& valve, const Mounting& mounting)
{
    ValveRun run(valve, FaultSet::kFindStopsFailed);
    const ValveModel::Mechanics& m = valve.GetMechanics();
    const ValveModel::Reach reach = valve.Reachable();
    const double start = run.Compression();

    const double low = std::min(start, reach.vented);
    const double high = std::max(low, reach.loaded);
    run.Stroke(low, valve.VentSpeed());
    run.Hold(kSettleMs, 0.0);
    run.Stroke(high, valve.FillSpeed());
    run.Hold(kSettleMs, valve.SupplyPressure());
    // Friction and the spring line come from the two strokes; they tell whether each end was a stop.
    const double ventedMargin = valve.SpringPressure(low) - m.frictionPsi;
    const double loadedMargin = valve.SupplyPressure() - m.frictionPsi - valve.SpringPressure(high);
    if (ventedMargin < kSeatMarginPsi || loadedMargin < kSeatMarginPsi) {
        run.Fail();
        return run;
    }
    run.Stroke(low, valve.VentSpeed());
    run.Hold(kSettleMs, 0.0);
    run.Stroke(start, valve.FillSpeed());
    run.Hold(1000, valve.SpringPressure(start));

    const double vented = mounting.CountsAt(valve.PositionOf(low));
    const double loaded = mounting.CountsAt(valve.PositionOf(high));
    run.Store(parameter::LowerStop, fixed(std::min(vented, loaded), 0));
    run.Store(parameter::UpperStop, fixed(std::max(vented, loaded), 0));
    return run;
}

std::optional<ValveRun> ManualStops::Drive(End end, const ValveModel& valve, const Mounting& mounting)
{
    if (end == End::High && !m_lowAccepted) {
        Clear();
        return std::nullopt;
    }
    if (end == End::Low)
        Clear();
    // The low stop is the closed end: vented for air to open, loaded for air to close.
    const bool vent = (end == End::Low) == valve.AirToOpen();
    const ValveModel::Reach reach = valve.Reachable();
    ValveRun run(valve, FaultSet::kFindStopsFailed);
    // Friction holds the valve where it is when neither spring nor supply can move it.
    const double from = run.Compression();
    run.Stroke(vent ? std::min(from, reach.vented) : std::max(from, reach.loaded),
               vent ? valve.VentSpeed() : valve.FillSpeed());
    run.Hold(kManualSettleMs, vent ? 0.0 : valve.SupplyPressure());
    m_driving = end;
    m_drivingCounts = mounting.CountsAt(run.EndPosition());
    return run;
}

void ManualStops::Arrived()
{
    if (!m_driving)
        return;
    (*m_driving == End::Low ? m_lowReached : m_highReached) = m_drivingCounts;
    m_driving.reset();
}

bool ManualStops::AcceptLow()
{
    if (!m_lowReached || m_highReached) {
        Clear();
        return false;
    }
    m_lowAccepted = m_lowReached;
    return true;
}

std::optional<std::pair<double, double>> ManualStops::Finish()
{
    const ManualStops done = std::exchange(*this, ManualStops());
    if (!done.m_lowAccepted || !done.m_highReached)
        return std::nullopt;
    const double lower = std::min(*done.m_lowAccepted, *done.m_highReached);
    const double upper = std::max(*done.m_lowAccepted, *done.m_highReached);
    if (upper - lower < kMinSpanCounts)
        return std::nullopt;
    return std::pair{lower, upper};
}

}  // namespace orvx::simulator
