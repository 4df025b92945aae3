#pragma once

#include "ValveRun.h"

namespace orvx::simulator {

// The position controller's tuning, as TuningP to TuningAggressiveness hold it.
struct Tuning {
    int p = 1200;            // proportional gain, 0 to 5000
    int i = 100;             // integral, 0 to 1000
    int d = 20;              // derivative, 0 to 200
    int pAdjust = 0;         // gain on filling against exhausting, -3000 to 3000
    double deadZone = 0.5;   // percent, 0 to 5
    int beta = 0;            // -9 to 9
    int compensation = 10;   // position compensation, 2 to 20
    int boost = 5;           // 0 to 20
    int aggressiveness = 0;  // -9 (no overshoot) to 9 (fast)
};

// What autotune settles on for a valve: the gain follows the spring rate and the supply
// (a stiffer spring needs more pressure per percent, a higher supply fills faster), integral,
// dead zone and boost grow with friction and breakaway, and a higher aggressiveness trades
// damping for speed.
Tuning tuningFor(const ValveModel& valve, int aggressiveness);

// Autotune (the method Autotune) from where the valve stands: a move to mid travel, then setpoint steps
// of 10 and 5 percent either way whose responses the device measures, then back. It fails at
// the first step the valve cannot reach (the supply cannot load the spring that far) and then
// raises "Autotune Failed"; a run that succeeds stores the tuning.
ValveRun autotune(const ValveModel& valve, int aggressiveness);

}  // namespace orvx::simulator
