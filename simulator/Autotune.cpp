#include "Autotune.h"

#include "FaultSet.h"
#include "ParameterTable.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr std::int64_t kMoveMs = 9000;
constexpr std::int64_t kStepMs = 6000;
constexpr double kSteps[] = {60.0, 40.0, 55.0, 45.0, 50.0};  // compressions, after the move to 50
// A step counts as reached within this much of its target.
constexpr double kReachedWithin = 0.5;

// The actuator the factory tuning is made for: a little stiffer and smoother than most.
constexpr double kNominalRate = 0.25;  // psi per percent
constexpr double kNominalSupply = 60.0;
constexpr double kNominalFriction = 2.5;

int rounded(double value, int step, int low, int high)
{
    return std::clamp(static_cast<int>(std::lround(value / step)) * step, low, high);
}

}  // namespace

Tuning tuningFor(const ValveModel& valve, int aggressiveness)
{
    const ValveModel::Mechanics& m = valve.GetMechanics();
    const double rate = std::max((m.springHighPsi - m.springLowPsi) / 100.0, 0.01);
    const double supply = std::max(valve.SupplyPressure(), 1.0);
    const double friction = std::max(m.frictionPsi, 0.0);
    const int a = std::clamp(aggressiveness, -9, 9);
    const double speed = 1.0 + a / 18.0;  // 0.5 to 1.5

    Tuning t;
    t.aggressiveness = a;
    t.p = rounded(1200.0 * rate / kNominalRate * std::sqrt(kNominalSupply / supply) * speed, 10, 0, 5000);
    t.i = rounded(100.0 * std::sqrt(friction / kNominalFriction) * speed, 1, 0, 1000);
    t.d = rounded(20.0 * (2.0 - speed) * std::sqrt(rate / kNominalRate), 1, 0, 200);
    // Filling has the supply less the spring to push with, exhausting the spring alone.
    const double spring = valve.SpringPressure(50.0);
    const double fill = std::max(supply - spring, 0.0);
    t.pAdjust = rounded(1000.0 * (spring - fill) / std::max(spring + fill, 1.0), 10, -3000, 3000);
    t.deadZone = std::clamp(std::round((0.1 + 0.1 * friction) * 10.0) / 10.0, 0.0, 5.0);
    t.beta = std::clamp(static_cast<int>(std::lround(m.breakawayPsi - friction - a / 3.0)), -9, 9);
    t.compensation = rounded(10.0 * (m.springHighPsi - m.springLowPsi) / 20.0, 1, 2, 20);
    t.boost = rounded(1.5 * m.breakawayPsi, 1, 0, 20);
    return t;
}

ValveRun autotune(const ValveModel& valve, int aggressiveness)
{
    ValveRun run(valve, FaultSet::kAutotuneFailed);
    const ValveModel::Reach reach = valve.Reachable();
    const double start = run.Compression();
    const auto step = [&](double target, std::int64_t ms) {
        run.Step(std::clamp(target, std::min(reach.vented, reach.loaded), std::max(reach.vented, reach.loaded)), ms);
        return std::abs(run.Compression() - target) <= kReachedWithin;
    };
    if (!step(50.0, kMoveMs)) {
        run.Fail();
        return run;
    }
    for (double target : kSteps) {
        if (!step(target, kStepMs)) {
            run.Fail();
            return run;
        }
    }
    step(start, kMoveMs);

    const Tuning t = tuningFor(valve, aggressiveness);
    run.Store(parameter::TuningP, std::to_string(t.p));
    run.Store(parameter::TuningI, std::to_string(t.i));
    run.Store(parameter::TuningD, std::to_string(t.d));
    run.Store(parameter::TuningPAdjust, std::to_string(t.pAdjust));
    run.Store(parameter::TuningDeadZone, fixed(t.deadZone, 1));
    run.Store(parameter::TuningBeta, std::to_string(t.beta));
    run.Store(parameter::TuningPositionCompensation, std::to_string(t.compensation));
    run.Store(parameter::TuningBoost, std::to_string(t.boost));
    run.Store(parameter::TuningAggressiveness, std::to_string(t.aggressiveness));
    return run;
}

}  // namespace orvx::simulator
